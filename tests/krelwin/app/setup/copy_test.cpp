// The installer window and its copy loop, run in this process: ticks are called one by
// one, so the window's own timer never runs (no messages are handled meanwhile).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "krelwin/app/setup/setup.h"
#include "tests/kelto/system/win32/gui_support.h"
#include "tests/krelwin/app/setup/setup_support.h"
#include "tests/support/testdir.h"

namespace {

using setuptest::Messages;
using setuptest::ToAnsi;

const wchar_t kDone[] = L"情報|インストールが完了しました";
const wchar_t kError[] = L"error|インストールエラー";
const wchar_t kAborted[] = L"error|インストールは中止されました";
const wchar_t kNotHere[] = L"error|そのフォルダにはインストールできません";

std::string Pattern(size_t size, char seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(seed + i * 7 + i / 251);
    return s;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[300] = {};
    GetWindowTextW(hwnd, buf, 300);
    return buf;
}

// One window for the whole program: a class is registered once, and destroying a shown
// window is slow under Wine.
class SetupCopy : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(1, InitSetupWindow(GetModuleHandleW(nullptr)));
    }

    void SetUp() override {
        ASSERT_TRUE(m_dir.MakeDir(L"src"));
        ASSERT_TRUE(m_dir.MakeDir(L"desk"));
        setuptest::DesktopFolder() = ToAnsi(m_dir.Path() + L"\\desk");
        m_src = ToAnsi(m_dir.Path() + L"\\src\\");
        m_target = m_dir.Path() + L"\\inst\\krelwin";
        lstrcpyA(s_stSetup.m_szSetupDir, m_src.c_str());
        s_stSetup.m_iInstallState = SETUP_IDLE;
        SETUP_SetStartText("開始");
        EnableWindow(s_stSetup.m_hEdit, TRUE);
        EnableWindow(s_stSetup.m_hBrowse, TRUE);
        Messages().clear();
    }
    void TearDown() override {
        CloseCopyFiles();
        s_stSetup.m_iInstallState = SETUP_IDLE;
        setuptest::DesktopFolder().clear();
    }

    HWND Window() const { return s_stSetup.m_cWinfo.m_hWnd; }

    void Sources(const std::string& exe, const std::string& ini) {
        ASSERT_TRUE(m_dir.Write(L"src\\krelwin.exe", exe));
        ASSERT_TRUE(m_dir.Write(L"src\\krelwin.ini", ini));
        // The progress range is set from the blocks when the window opens.
        s_stSetup.m_iTotalBlocks = CountCopyBlocks();
        SendMessageW(s_stSetup.m_hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, s_stSetup.m_iTotalBlocks));
    }

    // Types the folder and presses Start.
    void Start(const std::wstring& folder) {
        SetWindowTextW(s_stSetup.m_hEdit, folder.c_str());
        OnSetupCommand(SETUP_ID_START, Window());
    }

    // Ticks until the run leaves the copying state; the number of ticks (bounded).
    int RunTicks(int limit = 100) {
        int ticks = 0;
        while (s_stSetup.m_iInstallState == SETUP_COPYING && ticks < limit) {
            CopyStep(Window());
            ++ticks;
        }
        return ticks;
    }

    int Position() const { return static_cast<int>(SendMessageW(s_stSetup.m_hProgress, PBM_GETPOS, 0, 0)); }

    setuptest::TestRoot m_root;
    testdir::TestDir m_dir;
    std::string m_src;
    std::wstring m_target;
};

TEST_F(SetupCopy, WindowHasItsControlsAndTheDefaultFolder) {
    wchar_t cls[32] = {};
    GetClassNameW(Window(), cls, 32);
    EXPECT_EQ(std::wstring(L"PROC"), cls);
    EXPECT_EQ(L"setup", WindowText(Window()));
    RECT client = {};
    GetClientRect(Window(), &client);
    EXPECT_EQ(320, client.right);
    EXPECT_EQ(110, client.bottom);
    EXPECT_EQ(GetDlgItem(Window(), SETUP_ID_START), s_stSetup.m_hStart);
    EXPECT_EQ(L"参照", WindowText(GetDlgItem(Window(), SETUP_ID_BROWSE)));
    EXPECT_EQ(std::string("C:\\Program Files\\krelwin"), s_stSetup.m_szInstallDir);
}

TEST_F(SetupCopy, BlocksAndNeedOfTheCopyList) {
    struct Row {
        const char* name;
        size_t exe, ini;
        int blocks;
    } rows[] = {
        {"two empty files", 0, 0, 0},
        {"exactly one block", 65536, 0, 1},
        {"one byte over", 65537, 1, 3},
    };
    for (const Row& row : rows) {
        Sources(Pattern(row.exe, 'a'), Pattern(row.ini, 'b'));
        EXPECT_EQ(row.blocks, CountCopyBlocks()) << "case " << row.name;
    }
    ASSERT_TRUE(DeleteFileW((m_dir.Path() + L"\\src\\krelwin.exe").c_str()));
    EXPECT_EQ(1, CountCopyBlocks()) << "a missing file counts no block";

    EXPECT_EQ(0, SETUP_NeedMB(0));
    EXPECT_EQ(1, SETUP_NeedMB(1));
    EXPECT_EQ(1, SETUP_NeedMB(16));
    EXPECT_EQ(2, SETUP_NeedMB(17));
    EXPECT_EQ(63, SETUP_NeedMB(1000));
}

TEST_F(SetupCopy, CopiesOneBlockPerTickAndFinishes) {
    struct Row {
        const char* name;
        size_t exe, ini;
        int ticks, blocks;
    } rows[] = {
        {"empty program, two-block settings", 0, 65537, 3, 2},
        {"one block each", 65536, 1, 2, 2},
    };
    for (const Row& row : rows) {
        Messages().clear();
        s_stSetup.m_iInstallState = SETUP_IDLE;
        const std::string exe = Pattern(row.exe, 'x'), ini = "[MAIN]\r\n" + Pattern(row.ini, 'y');
        Sources(exe, ini);
        Start(m_target);
        ASSERT_EQ(SETUP_COPYING, s_stSetup.m_iInstallState) << row.name;
        EXPECT_EQ(L"中止", WindowText(s_stSetup.m_hStart)) << row.name;
        EXPECT_FALSE(IsWindowEnabled(s_stSetup.m_hEdit)) << row.name;
        EXPECT_FALSE(IsWindowEnabled(s_stSetup.m_hBrowse)) << row.name;

        EXPECT_EQ(row.ticks, RunTicks()) << row.name;
        EXPECT_EQ(SETUP_DONE, s_stSetup.m_iInstallState) << row.name;
        EXPECT_EQ(row.blocks, Position()) << "the bar ends at its range: " << row.name;
        EXPECT_EQ(L"終了", WindowText(s_stSetup.m_hStart)) << row.name;
        ASSERT_EQ(1u, Messages().size()) << row.name;
        EXPECT_EQ(kDone, Messages()[0]) << row.name;

        std::string got;
        ASSERT_TRUE(testdir::ReadBytes(m_target + L"\\krelwin.exe", &got));
        EXPECT_TRUE(got == exe) << row.name;
        // The settings file is the copy with the backup folder added.
        ASSERT_TRUE(testdir::ReadBytes(m_target + L"\\krelwin.ini", &got));
        EXPECT_EQ(0u, got.find("[MAIN]\r\n")) << row.name;
        EXPECT_NE(std::string::npos, got.find("BACKUPPATH=" + ToAnsi(m_target) + "\\backfile")) << row.name;
        EXPECT_EQ(L"kvl_auto_file", m_root.Value(L".kvl")) << row.name;
        EXPECT_TRUE(m_dir.IsFile(L"desk\\DravikVO.lnk")) << row.name;
    }
}

TEST_F(SetupCopy, AbortRemovesThePartFileAndAStartCopiesEverythingAgain) {
    const std::string exe = Pattern(3 * 65536, 'p');
    Sources(exe, "[MAIN]\r\n");
    Start(m_target);
    CopyStep(Window());
    ASSERT_TRUE(testdir::IsFile(m_target + L"\\krelwin.exe"));

    OnSetupCommand(SETUP_ID_START, Window());
    EXPECT_EQ(SETUP_IDLE, s_stSetup.m_iInstallState);
    EXPECT_EQ(L"開始", WindowText(s_stSetup.m_hStart));
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ(kAborted, Messages()[0]);
    // One block of three was written: that file must not pass for the program.
    EXPECT_FALSE(testdir::IsFile(m_target + L"\\krelwin.exe"));
    // The folder stays chosen.
    EXPECT_FALSE(IsWindowEnabled(s_stSetup.m_hEdit));
    EXPECT_FALSE(IsWindowEnabled(s_stSetup.m_hBrowse));

    Messages().clear();
    OnSetupCommand(SETUP_ID_START, Window());
    EXPECT_EQ(4, RunTicks());
    EXPECT_EQ(SETUP_DONE, s_stSetup.m_iInstallState);
    EXPECT_EQ(4, Position()) << "the bar starts again from 0";
    std::string got;
    ASSERT_TRUE(testdir::ReadBytes(m_target + L"\\krelwin.exe", &got));
    EXPECT_TRUE(got == exe);
}

TEST_F(SetupCopy, FailuresShowTheErrorAndGiveTheFolderBack) {
    Sources(Pattern(65537, 'e'), "[MAIN]\r\n");

    // A missing settings file: the program is copied, then the run stops.
    ASSERT_TRUE(DeleteFileW((m_dir.Path() + L"\\src\\krelwin.ini").c_str()));
    Start(m_target);
    EXPECT_EQ(3, RunTicks());
    EXPECT_EQ(SETUP_IDLE, s_stSetup.m_iInstallState);
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ(kError, Messages()[0]);
    EXPECT_EQ(L"開始", WindowText(s_stSetup.m_hStart));
    EXPECT_TRUE(IsWindowEnabled(s_stSetup.m_hEdit));
    EXPECT_TRUE(IsWindowEnabled(s_stSetup.m_hBrowse));
    EXPECT_TRUE(testdir::IsFile(m_target + L"\\krelwin.exe"));
    EXPECT_FALSE(testdir::IsFile(m_target + L"\\krelwin.ini"));
    EXPECT_EQ(L"<none>", m_root.Value(L".kvl")) << "nothing is registered after a failure";

    // A folder that cannot be made (a file stands where a folder should be).
    ASSERT_TRUE(m_dir.Write(L"src\\krelwin.ini", "[MAIN]\r\n"));
    ASSERT_TRUE(m_dir.Write(L"afile", "x"));
    Messages().clear();
    Start(m_dir.Path() + L"\\afile\\krelwin");
    EXPECT_EQ(1, RunTicks());
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ(kError, Messages()[0]);
    EXPECT_EQ(SETUP_IDLE, s_stSetup.m_iInstallState);
}

TEST_F(SetupCopy, FolderOffAFixedDriveIsRefusedWithAMessage) {
    Sources("MZ", "[MAIN]\r\n");
    struct Row {
        const char* name;
        const wchar_t* folder;
    } rows[] = {
        {"no such drive", L"Q:\\krelwin"},
        {"relative folder", L"krelwin"},
        {"network path", L"\\\\server\\share\\krelwin"},
    };
    for (const Row& row : rows) {
        Messages().clear();
        Start(row.folder);
        EXPECT_EQ(SETUP_IDLE, s_stSetup.m_iInstallState) << row.name;
        ASSERT_EQ(1u, Messages().size()) << row.name;
        EXPECT_EQ(kNotHere, Messages()[0]) << row.name;
        EXPECT_TRUE(IsWindowEnabled(s_stSetup.m_hEdit)) << row.name;
    }
    lstrcpyA(s_stSetup.m_szInstallDir, ToAnsi(m_dir.Path()).c_str());
    EXPECT_GE(GetFreeDiskMB(), 1) << "the fixture's drive is fixed and has room";
}

// Presses a button of the folder dialog from its own thread once the dialog shows the
// folder that the installer preselected (the selection arrives after the dialog does).
// Wine's folder dialog now and then drops the preselection (its tree then has no
// selection at all): after a bound the driver cancels such a dialog, and `Selected()` is false.
class FolderDialogDriver {
public:
    FolderDialogDriver(int button, const std::wstring& preselected) : m_names(FolderNames(preselected)) {
        m_thread = std::thread([this, button] {
            const DWORD start = GetTickCount();
            while (!m_stop && GetTickCount() - start < 20000) {
                HWND dialog = FindDialog();
                if (!dialog) {
                    Sleep(20);
                    continue;
                }
                const DWORD shown = GetTickCount();
                while (!m_stop && GetTickCount() - shown < 15000 && !ShowsFolder(dialog)) Sleep(20);
                m_selected = ShowsFolder(dialog);
                const int id = m_selected ? button : IDCANCEL;
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
                m_pressed = true;
                return;
            }
        });
    }
    ~FolderDialogDriver() {
        m_stop = true;
        m_thread.join();
    }
    bool Pressed() const { return m_pressed; }
    bool Selected() const { return m_selected; }
    // What the dialog's tree last showed: its item count and the selected folder's names.
    std::string Seen() const { return m_seen; }

private:
    // The folder names after the drive, last first: "C:\a\b" gives b, a.
    static std::vector<std::wstring> FolderNames(const std::wstring& path) {
        std::vector<std::wstring> names;
        size_t pos = path.find(L'\\');
        while (pos != std::wstring::npos) {
            const size_t next = path.find(L'\\', pos + 1);
            const std::wstring name = path.substr(pos + 1, next == std::wstring::npos ? next : next - pos - 1);
            if (!name.empty()) names.insert(names.begin(), name);
            pos = next;
        }
        return names;
    }
    // The tree's selection is the folder: its item and parents carry the folder names,
    // under the drive's item and the desktop's.
    bool ShowsFolder(HWND dialog) {
        HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
        if (!tree) return false;
        std::vector<std::wstring> chain;
        std::wstring seen;
        for (HTREEITEM item = TreeView_GetSelection(tree); item; item = TreeView_GetParent(tree, item)) {
            wchar_t text[MAX_PATH] = {};
            TVITEMW tv = {};
            tv.mask = TVIF_TEXT;
            tv.hItem = item;
            tv.pszText = text;
            tv.cchTextMax = MAX_PATH;
            if (!TreeView_GetItem(tree, &tv)) return false;
            chain.push_back(text);
            seen = L"\\" + chain.back() + seen;
        }
        m_seen = std::to_string(TreeView_GetCount(tree)) + " items, selection " + setuptest::ToAnsi(seen);
        if (chain.size() < m_names.size() + 2) return false;
        for (size_t i = 0; i < m_names.size(); ++i)
            if (lstrcmpiW(chain[i].c_str(), m_names[i].c_str()) != 0) return false;
        return true;
    }
    static BOOL CALLBACK Find(HWND hwnd, LPARAM lparam) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[16] = {};
        GetClassNameW(hwnd, cls, 16);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0) {
            *reinterpret_cast<HWND*>(lparam) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static HWND FindDialog() {
        HWND found = nullptr;
        EnumWindows(Find, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    const std::vector<std::wstring> m_names;
    std::string m_seen;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_pressed{false};
    std::atomic<bool> m_selected{false};
};

TEST_F(SetupCopy, BrowseAddsTheProgramFolderToTheChosenOne) {
    gui::Deadline deadline(180);
    Sources("MZ", "[MAIN]\r\n");
    // The dialog finds the preselected folder by reading its tree level by level, and Wine's
    // tree misses it when another program adds or removes a folder in one of those levels
    // meanwhile, as every test program does in the temp folder: this folder lies beside the
    // drive's top folders instead.
    const testdir::TestDir top(L"C:\\");
    ASSERT_TRUE(top.Ok());
    struct Row {
        const char* name;
        std::string start;
        int button;
        std::string expected;
    } rows[] = {
        {"cancelled", ToAnsi(top.Path()), IDCANCEL, ToAnsi(top.Path())},
        {"folder chosen", ToAnsi(top.Path()), IDOK, ToAnsi(top.Path()) + "\\krelwin"},
        {"drive root", "C:\\", IDOK, "C:\\krelwin"},
    };
    for (const Row& row : rows) {
        bool bSelected = false;
        for (int iTry = 0; iTry < 3 && !bSelected; ++iTry) {
            lstrcpyA(s_stSetup.m_szInstallDir, row.start.c_str());
            SETUP_ShowInstallDir();
            FolderDialogDriver driver(row.button, setuptest::FromAnsi(row.start));
            OnSetupCommand(SETUP_ID_BROWSE, Window());
            ASSERT_TRUE(driver.Pressed()) << row.name << ": no folder dialog";
            bSelected = driver.Selected();
            if (!bSelected) std::fprintf(stderr, "%s: the folder dialog showed %s\n", row.name, driver.Seen().c_str());
        }
        ASSERT_TRUE(bSelected) << row.name << ": the dialog never showed the preselected folder";
        EXPECT_EQ(row.expected, std::string(s_stSetup.m_szInstallDir)) << row.name;
        EXPECT_EQ(setuptest::FromAnsi(row.expected), WindowText(s_stSetup.m_hEdit)) << row.name;
    }
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
