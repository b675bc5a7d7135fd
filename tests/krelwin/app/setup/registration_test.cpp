// The steps after the copy: file-type keys, the desktop shortcut and the backup folder key.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "krelwin/app/setup/setup.h"
#include "tests/krelwin/app/setup/setup_support.h"
#include "tests/support/testdir.h"

namespace {

using setuptest::FromAnsi;
using setuptest::ToAnsi;

const std::wstring kType = L"kvl_auto_file";

void ExpectKeysFor(const setuptest::TestRoot& root, const std::wstring& program, const char* name) {
    EXPECT_EQ(kType, root.Value(L".kvl")) << name;
    EXPECT_EQ(L"Dravikバッチファイル", root.Value(kType)) << name;
    EXPECT_EQ(program + L",0", root.Value(kType + L"\\DefaultIcon")) << name;
    EXPECT_EQ(L"open", root.Value(kType + L"\\shell")) << name;
    // The program path stays unquoted, blanks and all; only the file argument is quoted.
    EXPECT_EQ(program + L" \"%1\"", root.Value(kType + L"\\shell\\open\\command")) << name;
}

TEST(SetupRegistration, WritesEveryKeyOfTheBatchFileTypeAndAgainTheSame) {
    setuptest::TestRoot root;
    const std::wstring program = L"C:\\Program Files\\krelwin\\krelwin.exe";
    EXPECT_EQ(1, RegisterBatchFileType(ToAnsi(program).c_str()));
    ExpectKeysFor(root, program, "first run");
    // A second run opens the keys and replaces the values.
    const std::wstring other = L"D:\\表\\krelwin.exe";
    EXPECT_EQ(1, RegisterBatchFileType(ToAnsi(other).c_str()));
    ExpectKeysFor(root, other, "second run");
}

TEST(SetupRegistration, RootThatCannotBeOpenedWritesNothing) {
    setuptest::TestRoot root;
    HKEY closed = nullptr;
    RegCreateKeyExA(root.Key(), "gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &closed, nullptr);
    RegCloseKey(closed);
    g_stSetupHooks.m_hClassesRoot = closed;
    EXPECT_EQ(0, RegisterBatchFileType("C:\\k\\krelwin.exe"));
    EXPECT_EQ(0, RegisterBatchFileType(nullptr));
    g_stSetupHooks.m_hClassesRoot = root.Key();
    EXPECT_EQ(L"<none>", root.Value(L".kvl"));
}

// Target and working folder of a link file, read back through the shell.
bool ReadLink(const std::wstring& file, std::wstring* target, std::wstring* work) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    bool ok = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
                wchar_t buf[MAX_PATH] = {};
                link->GetPath(buf, MAX_PATH, nullptr, 0);
                *target = buf;
                buf[0] = 0;
                link->GetWorkingDirectory(buf, MAX_PATH);
                *work = buf;
                ok = true;
            }
            persist->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return ok;
}

class SetupFinish : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.MakeDir(L"desk"));
        setuptest::DesktopFolder() = ToAnsi(m_dir.Path() + L"\\desk");
    }
    void TearDown() override { setuptest::DesktopFolder().clear(); }

    // Makes an installed folder below the fixture: the program and a settings file.
    std::wstring Installed(const std::wstring& rel) {
        m_dir.MakeDir(rel);
        m_dir.Write(rel + L"\\krelwin.exe", "MZ");
        m_dir.Write(rel + L"\\krelwin.ini", "[MAIN]\r\nAUTOEXEC=1\r\n[EXTRA]\r\nLOCK=0\r\n");
        return m_dir.Path() + L"\\" + rel;
    }

    setuptest::TestRoot m_root;
    testdir::TestDir m_dir;
};

TEST_F(SetupFinish, FolderWithOrWithoutSeparatorGivesTheSamePaths) {
    struct Row {
        const char* name;
        std::wstring rel;
        std::wstring suffix;
    } rows[] = {
        {"without separator", L"inst", L""},
        {"with separator", L"inst2", L"\\"},
        // "表" ends in the byte 0x5C, which is no separator.
        {"double-byte folder", L"表", L""},
    };
    for (const Row& row : rows) {
        const std::wstring folder = Installed(row.rel);
        const std::wstring program = folder + L"\\krelwin.exe";
        FinishInstall(ToAnsi(folder + row.suffix).c_str());
        ExpectKeysFor(m_root, program, row.name);

        const std::string ini = m_dir.Read(row.rel + L"\\krelwin.ini");
        EXPECT_NE(std::string::npos, ini.find("BACKUPPATH=" + ToAnsi(folder) + "\\backfile\r\n"))
            << row.name << "\n" << ini;
        EXPECT_NE(std::string::npos, ini.find("AUTOEXEC=1")) << row.name;
        EXPECT_NE(std::string::npos, ini.find("LOCK=0")) << row.name;
        EXPECT_TRUE(m_dir.IsDir(row.rel + L"\\backfile")) << row.name;

        std::wstring target, work;
        ASSERT_TRUE(ReadLink(m_dir.Path() + L"\\desk\\DravikVO.lnk", &target, &work)) << row.name;
        EXPECT_EQ(program, target) << row.name;
        EXPECT_EQ(folder, work) << row.name;
    }
    EXPECT_TRUE(setuptest::Messages().empty());
}

TEST_F(SetupFinish, ShortcutReplacesAnOldOneAndNeedsNoDesktop) {
    const std::wstring program = Installed(L"p") + L"\\krelwin.exe";
    ASSERT_TRUE(m_dir.Write(L"desk\\DravikVO.lnk", "old bytes, no link"));
    EXPECT_EQ(1, CreateDesktopShortcut(ToAnsi(program).c_str()));
    std::wstring target, work;
    ASSERT_TRUE(ReadLink(m_dir.Path() + L"\\desk\\DravikVO.lnk", &target, &work));
    EXPECT_EQ(program, target);

    // Without a desktop folder the link is still made (in the temporary folder).
    setuptest::DesktopFolder().clear();
    ASSERT_TRUE(DeleteFileW((m_dir.Path() + L"\\desk\\DravikVO.lnk").c_str()));
    EXPECT_EQ(1, CreateDesktopShortcut(ToAnsi(program).c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"desk\\DravikVO.lnk"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    EXPECT_TRUE(testdir::IsFile(std::wstring(temp) + L"DravikVO.lnk"));
    EXPECT_EQ(0, CreateDesktopShortcut(nullptr));
}

TEST_F(SetupFinish, ProgramAtADriveRootKeepsTheRootAsWorkingFolder) {
    // Without its '\\' the root would be "C:", the current folder of drive C.
    EXPECT_EQ(1, CreateDesktopShortcut("C:\\krelwin.exe"));
    std::wstring target, work;
    ASSERT_TRUE(ReadLink(m_dir.Path() + L"\\desk\\DravikVO.lnk", &target, &work));
    EXPECT_EQ(L"C:\\", work);
    EXPECT_EQ(0, CreateShellLink("C:\\krelwin.exe", "C:\\", nullptr));
}

}  // namespace
