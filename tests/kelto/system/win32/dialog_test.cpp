// Open and save dialogs driven from a second thread, and the system queries.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>

#include <cstdlib>
#include <string>

#include "gui_support.h"
#include "kelto/system/win32/dialog.h"
#include "tests/support/testdir.h"

namespace {

const wchar_t kFilter[] = L"Bitmap(*.bmp)\0*.bmp\0All Files(*.*)\0*.*\0";

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM lparam) {
    wchar_t name[16] = {0};
    GetClassNameW(hwnd, name, 16);
    if (lstrcmpiW(name, L"Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lparam) = hwnd;
    return FALSE;
}

// The edit control of the file-name box (in the explorer form a combo box that holds it).
HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    if (!box) box = GetDlgItem(dialog, edt1);
    HWND edit = nullptr;
    if (box) EnumChildWindows(box, FindEdit, reinterpret_cast<LPARAM>(&edit));
    return edit ? edit : box;
}

// Types the name into the dialog and presses OK.
std::function<void(HWND)> TypeAndAccept(std::wstring name) {
    return [name](HWND dialog) {
        SetWindowTextW(FileNameBox(dialog), name.c_str());
        gui::PressButton(dialog, IDOK);
    };
}

std::function<void(HWND)> Cancel() {
    return [](HWND dialog) { gui::PressButton(dialog, IDCANCEL); };
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.Ok());
        for (wchar_t& c : m_out) c = L'#';
        m_out[259] = L'\0';
    }
    FILE_SELECT Select(const wchar_t* title, const wchar_t* initial = nullptr) {
        return FILE_SELECT{nullptr, title, m_out, initial, kFilter};
    }

    testdir::TestDir m_dir;
    wchar_t m_out[260];
    gui::Deadline m_deadline{90};
};

// Wine's dialog tests a typed name for existence before it adds the default extension,
// so the name is typed whole here.
TEST_F(DialogTest, OpenReturnsTheFullPathOfTheChosenFile) {
    ASSERT_TRUE(m_dir.Write(L"絵.bmp", "BM"));
    gui::WindowDriver driver(L"画像を開く", TypeAndAccept(m_dir.Path(L"絵.bmp")));
    EXPECT_EQ(1, FILE_SelectOpen(Select(L"画像を開く")));
    driver.Join();
    ASSERT_TRUE(driver.Done());
    EXPECT_STREQ(m_dir.Path(L"絵.bmp").c_str(), m_out);
}

TEST_F(DialogTest, OpenRefusesAFileThatDoesNotExist) {
    const std::wstring before = m_out;
    gui::WindowDriver driver(L"無い画像", TypeAndAccept(m_dir.Path(L"無い.bmp")), 20);
    EXPECT_EQ(0, FILE_SelectOpen(Select(L"無い画像")));
    driver.Join();
    EXPECT_FALSE(driver.Done()) << "the dialog stays open on a missing file";
    EXPECT_EQ(before, std::wstring(m_out));
}

TEST_F(DialogTest, OpenStartsFromTheInitialName) {
    ASSERT_TRUE(m_dir.Write(L"a.txt", "x"));
    std::wstring seen;
    gui::WindowDriver driver(L"初期名", [&seen](HWND dialog) {
        wchar_t text[260] = {0};
        GetWindowTextW(FileNameBox(dialog), text, 260);
        seen = text;
        gui::PressButton(dialog, IDOK);
    }, 20, [](HWND dialog) { return GetWindowTextLengthW(FileNameBox(dialog)) > 0; });
    const std::wstring initial = m_dir.Path(L"a.txt");
    EXPECT_EQ(1, FILE_SelectOpen(Select(L"初期名", initial.c_str())));
    driver.Join();
    ASSERT_TRUE(driver.Done());
    EXPECT_NE(std::wstring::npos, seen.find(L"a.txt"));
    EXPECT_STREQ(initial.c_str(), m_out);
}

TEST_F(DialogTest, CancelledDialogsLeaveTheOutPathAsItWas) {
    const std::wstring before = m_out;
    {
        gui::WindowDriver driver(L"開いて取り消す", Cancel());
        EXPECT_EQ(0, FILE_SelectOpen(Select(L"開いて取り消す")));
        driver.Join();
        EXPECT_TRUE(driver.Done());
    }
    {
        gui::WindowDriver driver(L"保存して取り消す", Cancel());
        EXPECT_EQ(0, FILE_SelectSave(Select(L"保存して取り消す")));
        driver.Join();
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_EQ(before, std::wstring(m_out));
}

TEST_F(DialogTest, SaveAcceptsANameThatDoesNotExistYet) {
    gui::WindowDriver driver(L"名前を付けて保存", TypeAndAccept(m_dir.Path(L"新規.txt")));
    EXPECT_EQ(1, FILE_SelectSave(Select(L"名前を付けて保存")));
    driver.Join();
    ASSERT_TRUE(driver.Done());
    EXPECT_STREQ(m_dir.Path(L"新規.txt").c_str(), m_out);
    EXPECT_FALSE(m_dir.IsFile(L"新規.txt")) << "the dialog only names the file";
}

TEST_F(DialogTest, AllFilesFormsUseTheirTitles) {
    ASSERT_TRUE(m_dir.Write(L"data.bin", "1"));
    {
        gui::WindowDriver driver(L"Open File", TypeAndAccept(m_dir.Path(L"data.bin")));
        EXPECT_EQ(1, FILE_SelectOpenFile(nullptr, m_out));
        driver.Join();
        ASSERT_TRUE(driver.Done());
        EXPECT_STREQ(m_dir.Path(L"data.bin").c_str(), m_out);
    }
    {
        gui::WindowDriver driver(L"Save File", TypeAndAccept(m_dir.Path(L"out.bin")));
        EXPECT_EQ(1, FILE_SelectSaveFile(nullptr, m_out));
        driver.Join();
        ASSERT_TRUE(driver.Done());
        EXPECT_STREQ(m_dir.Path(L"out.bin").c_str(), m_out);
    }
}

TEST_F(DialogTest, BadArgumentsShowNoDialog) {
    EXPECT_EQ(0, FILE_SelectOpenFile(nullptr, nullptr));
    FILE_SELECT select = Select(L"x");
    select.m_pPath = nullptr;
    EXPECT_EQ(0, FILE_SelectSave(select));
    const std::wstring tooLong(260, L'a');
    const std::wstring before = m_out;
    EXPECT_EQ(0, FILE_SelectOpen(Select(L"x", tooLong.c_str())));
    EXPECT_EQ(before, std::wstring(m_out));
}

TEST(SystemEnv, ValuesUnsetVariablesAndRoom) {
    ASSERT_EQ(0, _wputenv(L"KELTO_ENV_FIVE=abcde"));
    _wputenv(L"KELTO_ENV_UNSET=");
    struct Row {
        const char* name;
        const wchar_t* var;
        unsigned room;
        int required;
        int result;
        const wchar_t* out;  // null: the buffer is unchanged
    } rows[] = {
        {"fits with its terminator", L"KELTO_ENV_FIVE", 6, 1, 1, L"abcde"},
        {"no room for the terminator", L"KELTO_ENV_FIVE", 5, 0, 0, nullptr},
        {"unset, not required", L"KELTO_ENV_UNSET", 8, 0, 1, L""},
        {"unset, required", L"KELTO_ENV_UNSET", 8, 1, 0, nullptr},
        {"unset, no room at all", L"KELTO_ENV_UNSET", 0, 0, 0, nullptr},
        {"Japanese value", L"KELTO_ENV_JA", 8, 1, 1, L"日本語"},
    };
    ASSERT_EQ(0, _wputenv(L"KELTO_ENV_JA=日本語"));
    for (const Row& row : rows) {
        wchar_t out[8] = {L'#', L'#', L'#', L'#', L'#', L'#', L'#', L'\0'};
        EXPECT_EQ(row.result, SYSTEM_GetEnv(out, row.room, row.var, row.required)) << row.name;
        EXPECT_STREQ(row.out ? row.out : L"#######", out) << row.name;
    }
    wchar_t out[8];
    EXPECT_EQ(0, SYSTEM_GetEnv(nullptr, 8, L"KELTO_ENV_FIVE", 0));
    EXPECT_EQ(0, SYSTEM_GetEnv(out, 8, nullptr, 0));
}

TEST(SystemWeek, NamesInBothLanguages) {
    EXPECT_STREQ("Sun", SYSTEM_GetWeekName(0, 1));
    EXPECT_STREQ("Sat", SYSTEM_GetWeekName(6, 1));
    EXPECT_STREQ("\x93\x79", SYSTEM_GetWeekName(6, 0));  // 土
    const wchar_t* kanji[7] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
    const char* english[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int day = 0; day < 7; ++day) {
        const char* name = SYSTEM_GetWeekName(static_cast<uint8_t>(day), 0);
        ASSERT_NE(nullptr, name);
        EXPECT_EQ(2u, strlen(name)) << "day " << day;
        wchar_t wide[4] = {0};
        MultiByteToWideChar(932, 0, name, -1, wide, 4);
        EXPECT_STREQ(kanji[day], wide) << "day " << day;
        EXPECT_STREQ(english[day], SYSTEM_GetWeekName(static_cast<uint8_t>(day), 1)) << "day " << day;
    }
}

TEST(SystemWeek, OutOfRangeGivesNull) {
    EXPECT_EQ(nullptr, SYSTEM_GetWeekName(7, 0));
    EXPECT_EQ(nullptr, SYSTEM_GetWeekName(255, 1));
    EXPECT_EQ(nullptr, SYSTEM_GetWeekName(0, 2));
    EXPECT_EQ(nullptr, SYSTEM_GetWeekName(0, -1));
}

TEST(SystemTime, LocalTimeIsThePlatformsWithoutMilliseconds) {
    // Read between two platform reads of the same second, so a tick cannot split them.
    for (int attempt = 0; attempt < 20; ++attempt) {
        SYSTEMTIME before = {}, after = {};
        GetLocalTime(&before);
        const TIME_INFO info = SYSTEM_GetLocalTime();
        GetLocalTime(&after);
        if (before.wSecond != after.wSecond || before.wMinute != after.wMinute) continue;
        EXPECT_EQ(before.wYear, info.wYear);
        EXPECT_EQ(before.wMonth, info.byMonth);
        EXPECT_EQ(before.wDayOfWeek, info.byWeek);
        EXPECT_EQ(before.wDay, info.byDay);
        EXPECT_EQ(before.wHour, info.byHour);
        EXPECT_EQ(before.wMinute, info.byMinute);
        EXPECT_EQ(before.wSecond, info.bySecond);
        return;
    }
    FAIL() << "the clock never held still for a read";
}

TEST(SystemMemory, PhysicalFiguresAreThePlatforms) {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_EQ(status.ullTotalPhys, SYSTEM_GetTotalPhys());
    const uint64_t avail = SYSTEM_GetAvailPhys();
    EXPECT_GT(avail, 0u);
    EXPECT_LE(avail, SYSTEM_GetTotalPhys());
}

}  // namespace
