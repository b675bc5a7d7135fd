// The main window in-process: its controls, dropped files, list commands, one-touch
// commands, sizes, and the run loop on its timer with a recording module.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "kelto/string/string.h"
#include "kelto/system/win32/window.h"
#include "krelwin/main/batch.h"
#include "krelwin/main/global.h"
#include "krelwin/main/mainwnd.h"
#include "krelwin/main/message.h"
#include "krelwin/main/resource.h"
#include "krelwin/main/runloop.h"
#include "krelwin/main/setting.h"
#include "krelwin/module/function_base.h"
#include "krelwin/module/module.h"
#include "tests/krelwin/main/edit_reference.h"
#include "tests/krelwin/main/edit_watch.h"
#include "tests/support/bmpfile.h"
#include "tests/support/testdir.h"

namespace {

// A module that records what the dispatcher hands it ("func <line>", "quit <final>");
// it can ask for an abort.
std::vector<std::wstring> g_calls;
int g_abortAt = -1;  // the Func call (0-based) that sets m_iAbort
int g_logLines = 0;  // lines each Func logs

std::wstring EditText() {
    const int n = (int)SendMessageW(s_stGl.m_hMessage, WM_GETTEXTLENGTH, 0, 0);
    std::wstring s((size_t)n + 1, L'\0');
    GetWindowTextW(s_stGl.m_hMessage, &s[0], n + 1);
    s.resize((size_t)n);
    return s;
}

class RecordingModule : public CModule {
public:
    int Func(const wchar_t* param) override {
        const int iCall = CountFuncs();
        for (int i = 0; i < g_logLines; ++i) {
            // Lines of many lengths; the third call's middle line is longer than half the edit.
            const size_t uPad = iCall == 2 && i == g_logLines / 2 ? 16000 : (size_t)((i * 7 + iCall * 13) % 200);
            Message_info(L"call %d line %d %s", iCall, i, std::wstring(uPad, L'-').c_str());
        }
        if (CountFuncs() == g_abortAt) s_stGl.m_iAbort = 1;
        g_calls.push_back(std::wstring(L"func ") + param);
        return 1;
    }
    void Quit(int final) override { g_calls.push_back(L"quit " + std::to_wstring(final)); }
    static int CountFuncs() {
        int n = 0;
        for (const auto& c : g_calls) n += c.compare(0, 5, L"func ") == 0;
        return n;
    }
};
CModule* NewRecordingModule() { return new RecordingModule; }

class MainWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.Ok());
        GetCurrentDirectoryW(MAX_PATH, savedCwd);
        ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
        Setting_useFile(dir.Path(L"krelwin.ini").c_str());
        Batch_reset();
        std::memset(&s_stGl.m_stIniSetting, 0, sizeof(SETTING_INFO));
        std::memset(&s_stGl.m_stBatchSetting, 0, sizeof(SETTING_INFO));
        s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
        s_stGl.m_szBatchPath[0] = 0;
        s_stGl.m_szBatchDir[0] = 0;
        s_stGl.m_iLock = s_stGl.m_iRunning = s_stGl.m_iStop = s_stGl.m_iAbort = s_stGl.m_iAutoExec = 0;
        s_stGl.m_hInst = GetModuleHandleW(nullptr);
        s_iWindowW = 480;
        s_iWindowH = 360;
        g_calls.clear();
        g_abortAt = -1;
        g_logLines = 0;
        Module_releaseAll();
        oldCreator = Module_setCreator(MODULE_FUNCTION_BASE, NewRecordingModule);
        Init_MainWnd();
        ASSERT_NE(s_stMainWnd.m_hWnd, nullptr);
        Init_Controls();
    }
    void TearDown() override {
        Timer_stop(s_stMainWnd.m_hWnd, &s_stGl.TimerID);
        if (s_stMainWnd.m_hWnd) DestroyWindow(s_stMainWnd.m_hWnd);
        s_stMainWnd.m_hWnd = nullptr;
        UnregisterClassW(L"PROC", GetModuleHandleW(nullptr));
        s_stGl.m_hStart = s_stGl.m_hBatchEdit = s_stGl.m_hList = s_stGl.m_hEntry = s_stGl.m_hMessage = nullptr;
        Pump(0);  // the quit message of WM_DESTROY
        Module_setCreator(MODULE_FUNCTION_BASE, oldCreator);
        Module_releaseAll();
        Batch_reset();
        s_stGl.m_iRunning = s_stGl.m_iStop = 0;
        Setting_useFile(nullptr);
        SetCurrentDirectoryW(savedCwd);
    }

    // Handles the thread's messages for about ms milliseconds (0: what is queued).
    static void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (ms) Sleep(5);
        } while (GetTickCount() - start < ms);
    }
    // Handles messages until the run has ended, within a bound.
    static bool PumpUntilIdle(DWORD ms = 20000) {
        const DWORD start = GetTickCount();
        while (s_stGl.m_iRunning || s_stGl.TimerID != 0) {
            if (GetTickCount() - start > ms) return false;
            Pump(10);
        }
        return true;
    }

    static std::wstring Text(HWND w) {
        wchar_t buf[512] = {0};
        GetWindowTextW(w, buf, 512);
        return buf;
    }
    static std::vector<std::wstring> ListItems() {
        std::vector<std::wstring> v;
        const int n = (int)SendMessageW(s_stGl.m_hList, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            wchar_t buf[300] = {0};
            SendMessageW(s_stGl.m_hList, LB_GETTEXT, i, (LPARAM)buf);
            v.push_back(buf);
        }
        return v;
    }
    static std::wstring Log() { return s_stGl.m_memMsg ? s_stGl.m_memMsg : L""; }

    // Drops the paths at the client point, as the shell does.
    static void Drop(int x, int y, const std::vector<std::wstring>& paths) {
        size_t chars = 1;
        for (const auto& p : paths) chars += p.size() + 1;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        DROPFILES* df = static_cast<DROPFILES*>(GlobalLock(h));
        df->pFiles = sizeof(DROPFILES);
        df->pt.x = x;
        df->pt.y = y;
        df->fNC = FALSE;
        df->fWide = TRUE;
        wchar_t* out = reinterpret_cast<wchar_t*>(df + 1);
        for (const auto& p : paths) {
            std::memcpy(out, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
            out += p.size() + 1;
        }
        GlobalUnlock(h);
        SendMessageW(s_stMainWnd.m_hWnd, WM_DROPFILES, (WPARAM)h, 0);
    }
    void Files(const std::vector<std::wstring>& names) {
        for (const auto& n : names) {
            ASSERT_TRUE(dir.Write(n, "x"));
            s_stGl.m_cFileList.Add(dir.Path(n).c_str());
        }
        List_refresh();
    }
    static void Menu(int id) { SendMessageW(s_stMainWnd.m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    testdir::TestDir dir;
    wchar_t savedCwd[MAX_PATH] = {0};
    MODULE_CREATOR oldCreator = nullptr;
};

TEST_F(MainWndTest, ControlsShowTheBatchAndTheFiles) {
    EXPECT_EQ(Text(s_stMainWnd.m_hWnd), L"Dravik VELD-Orx");
    EXPECT_EQ(Text(s_stGl.m_hStart), L"開始");
    EXPECT_EQ(Text(s_stGl.m_hEntry), L"Entry :   0");
    Files({L"a.txt", L"longer_name_here.txt"});
    EXPECT_EQ(ListItems(), (std::vector<std::wstring>{L"a.txt        ", L"longer_name_here.txt"}));
    EXPECT_EQ(SendMessageW(s_stGl.m_hList, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(s_stGl.m_hEntry), L"Entry :   2");
}

TEST_F(MainWndTest, FilesDroppedOnTheListJoinItAndAFolderAddsItsFiles) {
    ASSERT_TRUE(dir.MakeDir(L"sub"));
    ASSERT_TRUE(dir.Write(L"sub\\c.txt", "c"));
    for (const wchar_t* n : {L"a.txt", L"b.txt", L"日本.txt"}) ASSERT_TRUE(dir.Write(n, "x"));
    Drop(50, 100, {dir.Path(L"a.txt"), dir.Path(L"b.txt"), dir.Path(L"日本.txt")});
    EXPECT_EQ(s_stGl.m_cFileList.GetCount(), 3);
    EXPECT_EQ(Text(s_stGl.m_hEntry), L"Entry :   3");
    EXPECT_EQ(ListItems().size(), 3u);
    Drop(50, 100, {dir.Path(L"sub")});
    EXPECT_EQ(s_stGl.m_cFileList.GetCount(), 4);
    EXPECT_EQ(s_stGl.m_cFileList.GetName(3), L"c.txt");
    // Outside the client area nothing happens.
    Drop(50, 2000, {dir.Path(L"sub\\c.txt")});
    EXPECT_EQ(s_stGl.m_cFileList.GetCount(), 4);
}

TEST_F(MainWndTest, ABatchDroppedOnTheButtonBandReplacesTheListAndScript) {
    std::vector<std::wstring> ten;
    for (int i = 0; i < 10; ++i) ten.push_back(L"old" + std::to_wstring(i) + L".txt");
    Files(ten);
    ASSERT_TRUE(dir.MakeDir(L"b"));
    for (const char* n : {"b\\x.txt", "b\\y.txt", "b\\z.txt"}) ASSERT_TRUE(dir.Write(std::wstring(n, n + strlen(n)), "x"));
    ASSERT_TRUE(dir.Write(L"b\\job.kvl", "[SCRIPT]\r\ndump\r\n[FILES]\r\nx.txt\r\ny.txt\r\nz.txt\r\n"));
    s_stGl.m_iErrorCount = 2;
    SetCurrentDirectoryW(L"C:\\");
    Drop(100, 20, {dir.Path(L"b\\job.kvl")});
    // Relative names of the dropped batch are taken in its own folder.
    EXPECT_EQ(ListItems(), (std::vector<std::wstring>{L"x.txt        ", L"y.txt        ", L"z.txt        "}));
    EXPECT_EQ(Text(s_stGl.m_hBatchEdit), dir.Path(L"b\\job.kvl"));
    ASSERT_EQ(s_stGl.m_lstScript.size(), 1u);
    EXPECT_EQ(s_stGl.m_lstScript.front().m_strCommand, L"DUMP");
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(MainWndTest, DeletingByExtensionFollowsTheSelectedEntry) {
    struct Row {
        const char* name;
        int command;
        int select;  // -1: no selection
        std::vector<std::wstring> left;
    } rows[] = {
        {"other extensions", IDM_DELETEOTHEREXT, 1, {L"b.txt", L"d.txt"}},
        {"this extension", IDM_DELETEEXT, 1, {L"a.bin", L"c.TXT", L"e"}},
        {"no selection", IDM_DELETEEXT, -1, {L"a.bin", L"b.txt", L"c.TXT", L"d.txt", L"e"}},
        {"one entry", IDM_DELETE, 2, {L"a.bin", L"b.txt", L"d.txt", L"e"}},
    };
    for (const Row& row : rows) {
        List_clear();
        Files({L"a.bin", L"b.txt", L"c.TXT", L"d.txt", L"e"});
        SendMessageW(s_stGl.m_hList, LB_SETCURSEL, row.select, 0);
        Menu(row.command);
        std::vector<std::wstring> names;
        for (int i = 0; i < s_stGl.m_cFileList.GetCount(); ++i) names.push_back(s_stGl.m_cFileList.GetName(i));
        EXPECT_EQ(names, row.left) << "case " << row.name;
        EXPECT_EQ(ListItems().size(), row.left.size()) << "case " << row.name;
        EXPECT_EQ(Text(s_stGl.m_hEntry), L"Entry :   " + std::to_wstring(row.left.size())) << "case " << row.name;
    }
    // Deleting the last entry selects the one before it.
    List_clear();
    Files({L"a.txt", L"b.txt"});
    SendMessageW(s_stGl.m_hList, LB_SETCURSEL, 1, 0);
    Menu(IDM_DELETE);
    EXPECT_EQ(SendMessageW(s_stGl.m_hList, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(MainWndTest, ClearAllEmptiesListLogAndBatchLineButKeepsScriptAndErrors) {
    Files({L"a.txt"});
    SetWindowTextW(s_stGl.m_hBatchEdit, L"C:\\job.kvl");
    SCRIPT_STAT line;
    line.m_strCommand = L"DUMP";
    s_stGl.m_lstScript.push_back(line);
    s_stGl.m_iErrorCount = 3;
    Message_win(L"old line");
    Menu(IDM_CLEARALL);
    EXPECT_EQ(s_stGl.m_cFileList.GetCount(), 0);
    EXPECT_TRUE(ListItems().empty());
    EXPECT_EQ(Text(s_stGl.m_hEntry), L"Entry :   0");
    EXPECT_EQ(Text(s_stGl.m_hBatchEdit), L"");
    EXPECT_STREQ(s_stGl.m_szBatchPath, L"");
    EXPECT_EQ(Log(), L"");
    EXPECT_EQ(s_stGl.m_lstScript.size(), 1u);
    EXPECT_EQ(s_stGl.m_iErrorCount, 3);
}

TEST_F(MainWndTest, OneTouchSetsTheScriptAndRunsOnlyWithFiles) {
    Menu(IDM_OT_LISTSORT);
    ASSERT_EQ(s_stGl.m_lstScript.size(), 1u);
    EXPECT_EQ(s_stGl.m_lstScript.front().m_strCommand, L"LISTSORT");
    EXPECT_EQ(s_stGl.m_lstScript.front().m_strParam, L"-op");
    EXPECT_EQ(Text(s_stGl.m_hBatchEdit), L"LISTSORT -op");
    EXPECT_STREQ(s_stGl.m_szBatchPath, L"LISTSORT -op");
    EXPECT_EQ(s_stGl.m_iRunning, 0);
    // With files the one-touch command starts at once; during the run the menu is ignored.
    Files({L"a.txt"});
    Menu(IDM_OT_DUMP);
    EXPECT_EQ(s_stGl.m_iRunning, 1);
    EXPECT_EQ(Text(s_stGl.m_hStart), L"中止");
    Menu(IDM_OT_KANJICHECK);
    EXPECT_EQ(s_stGl.m_lstScript.front().m_strCommand, L"DUMP");
    Menu(IDC_START);  // stops
    EXPECT_EQ(s_stGl.m_iRunning, 0);
    EXPECT_TRUE(PumpUntilIdle());
}

TEST_F(MainWndTest, OnlyARestoredSizeMovesTheControls) {
    Pump(0);
    s_iWindowW = 480;
    s_iWindowH = 360;
    SendMessageW(s_stMainWnd.m_hWnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1000, 800));
    EXPECT_EQ(s_iWindowW, 480);
    EXPECT_EQ(s_iWindowH, 360);
    SendMessageW(s_stMainWnd.m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    EXPECT_EQ(s_iWindowW, 600);
    EXPECT_EQ(s_iWindowH, 400);
    RECT r;
    GetWindowRect(s_stGl.m_hMessage, &r);
    EXPECT_EQ(r.right - r.left, 600 - 180);
    EXPECT_EQ(r.bottom - r.top, 400 - 56);
    GetWindowRect(s_stGl.m_hStart, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(s_stMainWnd.m_hWnd, &p);
    EXPECT_EQ(p.x, 600 - 90);
}

TEST_F(MainWndTest, QueryEndSessionSavesTheSettingsAndKeepsTheWindowUsable) {
    s_stGl.m_stIniSetting.OUTINFO = 1;
    EXPECT_EQ(SendMessageW(s_stMainWnd.m_hWnd, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_NE(dir.Read(L"krelwin.ini").find("OUTINFO=1"), std::string::npos);
    ASSERT_NE(s_stGl.m_memMsg, nullptr);
    ASSERT_NE(s_stGl.m_hFont, nullptr);
    Message_win(L"still logging");
    EXPECT_EQ(Log(), L"still logging\r\n");
}

TEST_F(MainWndTest, RunGoesLineByLineOverEveryFileAndTellsTheModules) {
    Files({L"1.txt", L"2.txt", L"3.txt"});
    for (const wchar_t* p : {L"A", L"B"}) {
        SCRIPT_STAT line;
        line.m_strCommand = L"FUNCTION_BASE";
        line.m_strParam = p;
        s_stGl.m_lstScript.push_back(line);
    }
    s_stGl.m_iErrorCount = 0;
    STRING_cpy(s_stGl.m_szBatchPath, dir.Path(L"job.kvl").c_str());
    Batch_start(1);
    ASSERT_TRUE(PumpUntilIdle());
    std::vector<std::wstring> expected;
    for (const wchar_t* p : {L"A", L"B"}) {
        for (const wchar_t* f : {L"1.txt", L"2.txt", L"3.txt"})
            expected.push_back(L"func \"" + dir.Path(f) + L"\" " + p);
        expected.push_back(std::wstring(L"quit ") + (p[0] == L'A' ? L"0" : L"1"));
    }
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(Log(), L"Completed...\r\n");
    EXPECT_EQ(Text(s_stGl.m_hStart), L"開始");
    EXPECT_EQ(s_stGl.TimerID, 0u);
}

TEST_F(MainWndTest, EveryStepEndsWithTheLogEditShowingItsLines) {
    Files({L"1.txt", L"2.txt", L"3.txt", L"4.txt"});
    for (int i = 0; i < 2; ++i) {
        SCRIPT_STAT line;
        line.m_strCommand = L"FUNCTION_BASE";
        s_stGl.m_lstScript.push_back(line);
    }
    STRING_cpy(s_stGl.m_szBatchPath, L"job");
    s_stGl.m_iErrorCount = 0;
    g_logLines = 300;
    Batch_start(1);
    // Ticks by hand and no message loop between them: only the step itself can bring the edit
    // up to date. (A tick needs a live timer id; the run's own is stopped.)
    Timer_stop(s_stMainWnd.m_hWnd, &s_stGl.TimerID);
    s_stGl.TimerID = 1;
    int iSteps = 0;
    while (s_stGl.m_iRunning && iSteps < 20) {
        SendMessageW(s_stMainWnd.m_hWnd, WM_USER, 0, 0);
        ++iSteps;
        // Every line of the log so far, trimmed as if each had gone to the edit on its own.
        ASSERT_EQ(TrimmedEdit(L"", LogLines(Log())), EditText()) << "after step " << iSteps;
    }
    EXPECT_EQ(iSteps, 8);
    EXPECT_EQ(s_stGl.TimerID, 0u);
    EXPECT_EQ(Log().substr(Log().size() - 14), L"Completed...\r\n");
}

TEST_F(MainWndTest, LinesBeforeALongSearchAreInTheWindowWhileItRuns) {
    // Two parts of a base, the second of another size (no quick check at the first's place).
    ASSERT_TRUE(dir.MakeDir(L"img"));
    ASSERT_TRUE(dir.MakeDir(L"out"));
    using bmpfile::Noise;
    const bmpfile::PixelFn part1 = [](int x, int y) { return Noise(x + 20, y + 30); };
    const bmpfile::PixelFn part2 = [](int x, int y) { return Noise(x + 130, y + 100); };
    ASSERT_TRUE(dir.Write(L"img\\base.bmp", bmpfile::Picture(160, 120, 24, Noise)));
    ASSERT_TRUE(dir.Write(L"img\\p1.bmp", bmpfile::Picture(10, 10, 24, part1)));
    ASSERT_TRUE(dir.Write(L"img\\p2.bmp", bmpfile::Picture(12, 12, 24, part2)));
    ASSERT_TRUE(dir.Write(L"list.txt", "base.bmp\r\n\tp1.bmp\r\n\tp2.bmp\r\n"));
    s_stGl.m_cFileList.Add(dir.Path(L"list.txt").c_str());
    List_refresh();
    SCRIPT_STAT line;
    line.m_strCommand = L"FITPARTS";
    line.m_strParam = L"img out";
    s_stGl.m_lstScript.push_back(line);
    STRING_cpy(s_stGl.m_szBatchPath, dir.Path(L"job.kvl").c_str());
    STRING_cpy(s_stGl.m_szBatchDir, (dir.Path() + L"\\").c_str());
    s_stGl.m_iErrorCount = 0;
    Message_setClock(edit_watch::TickingClock);
    edit_watch::Start(s_stGl.m_hMessage, {L"fiting", L"p1.bmp 20,30  (100:100)100%"});

    Batch_start(1);
    // The step by hand, with no message loop around it: the edit's timer cannot help.
    Timer_stop(s_stMainWnd.m_hWnd, &s_stGl.TimerID);
    s_stGl.TimerID = 1;
    SendMessageW(s_stMainWnd.m_hWnd, WM_USER, 0, 0);
    edit_watch::Stop();
    Message_setClock(nullptr);

    EXPECT_EQ(Log(), L"searching...\r\nfiting\r\np1.bmp 20,30  (100:100)100%\r\np2.bmp 130,100  (144:144)100%\r\n"
                     L"outing\r\nCompleted...\r\n");
    // Each was shown while the search after it still ran.
    EXPECT_TRUE(edit_watch::ShownWhileLast(0));
    EXPECT_TRUE(edit_watch::ShownWhileLast(1));
    EXPECT_EQ(EditText(), Log());
    EXPECT_FALSE(s_stGl.m_iRunning);
}

TEST_F(MainWndTest, AnAbortEndsTheRunAfterTheCurrentFile) {
    Files({L"1.txt", L"2.txt", L"3.txt"});
    for (int i = 0; i < 2; ++i) {
        SCRIPT_STAT line;
        line.m_strCommand = L"FUNCTION_BASE";
        s_stGl.m_lstScript.push_back(line);
    }
    STRING_cpy(s_stGl.m_szBatchPath, L"job");
    g_abortAt = 1;
    s_stGl.m_iErrorCount = 2;  // errors of an earlier run still count
    Batch_start(1);
    ASSERT_TRUE(PumpUntilIdle());
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[2], L"quit 1");
    EXPECT_EQ(Log(), L"error(s).2\r\n");
}

TEST_F(MainWndTest, StopEndsAtTheNextTickAndARestartNeverLeavesTheOldTimer) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 20; ++i) names.push_back(L"f" + std::to_wstring(i) + L".txt");
    Files(names);
    SCRIPT_STAT line;
    line.m_strCommand = L"FUNCTION_BASE";
    s_stGl.m_lstScript.push_back(line);
    STRING_cpy(s_stGl.m_szBatchPath, L"job");
    Batch_start(1);
    const unsigned int first = s_stGl.TimerID;
    ASSERT_NE(first, 0u);
    Batch_start(1);  // stop: logged at once, the timer still live
    EXPECT_EQ(Log(), L"Stoped...\r\n");
    EXPECT_EQ(EditText(), L"Stoped...\r\n");
    EXPECT_EQ(s_stGl.TimerID, first);
    Batch_start(1);  // started again before the stop's tick
    const unsigned int second = s_stGl.TimerID;
    EXPECT_NE(second, 0u);
    if (second != first) {
        EXPECT_NE(timeKillEvent(first), (MMRESULT)TIMERR_NOERROR) << "the stopped run's timer was killed";
    }
    ASSERT_TRUE(PumpUntilIdle());
    EXPECT_EQ(RecordingModule::CountFuncs(), 20);
    EXPECT_EQ(g_calls.back(), L"quit 1");

    // A stopped run ends at its next tick without telling the modules.
    g_calls.clear();
    Batch_start(1);
    Batch_start(1);
    ASSERT_TRUE(PumpUntilIdle());
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(Log(), L"Stoped...\r\n");
}

TEST_F(MainWndTest, TicksWithoutARunDoNothing) {
    Files({L"a.txt"});
    SCRIPT_STAT line;
    line.m_strCommand = L"FUNCTION_BASE";
    s_stGl.m_lstScript.push_back(line);
    s_stGl.m_itScript = s_stGl.m_lstScript.end();
    EXPECT_EQ(Batch_step(s_stMainWnd.m_hWnd), 0);
    s_stGl.m_iTickPending = 1;
    SendMessageW(s_stMainWnd.m_hWnd, WM_USER, 0, 0);
    EXPECT_EQ(s_stGl.m_iTickPending, 0);
    EXPECT_TRUE(g_calls.empty());
    // A tick of a timer that is no longer the live one is dropped by the timer thread too.
    s_stGl.TimerID = 0;
    TimerFunc_conv(1234, 0, (DWORD_PTR)s_stMainWnd.m_hWnd, 0, 0);
    EXPECT_EQ(s_stGl.m_iTickPending, 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, s_stMainWnd.m_hWnd, WM_USER, WM_USER, PM_NOREMOVE));
}

// Benchmark, not a test: loading 20,000 target files into the shown window, from reading the
// batch to the entry count, as a folder line and as one line per file. The second also times
// the file-system queries a listed line needs (attributes, a search that finds the file, its
// end and close), which no list can save, on the same names just before.
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(MainWndTest, DISABLED_BenchmarkLoadingManyTargetFiles) {
    const int iFiles = 20000;
    ASSERT_TRUE(dir.MakeDir(L"many"));
    std::string strListed = "[SCRIPT]\r\ndump\r\n[FILES]\r\n";
    std::vector<std::wstring> vPaths;
    for (int i = 0; i < iFiles; ++i) {
        const std::wstring strName = L"many\\f" + std::to_wstring(i) + L".txt";
        ASSERT_TRUE(dir.Write(strName, "x"));
        vPaths.push_back(strName);  // as the batch lists it, from the current folder
        strListed += "many\\f" + std::to_string(i) + ".txt\r\n";
    }
    ASSERT_TRUE(dir.Write(L"folder.kvl", "[SCRIPT]\r\ndump\r\n[FILES]\r\nmany\r\n"));
    ASSERT_TRUE(dir.Write(L"listed.kvl", strListed));
    auto seconds = [](std::chrono::steady_clock::time_point t0) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };

    double dQueries = 0;
    for (const wchar_t* szBatch : {L"folder.kvl", L"listed.kvl"}) {
        if (std::wcscmp(szBatch, L"listed.kvl") == 0) {
            const auto tQueries = std::chrono::steady_clock::now();
            for (const std::wstring& p : vPaths) {
                GetFileAttributesW(p.c_str());
                WIN32_FIND_DATAW stData;
                HANDLE h = FindFirstFileW(p.c_str(), &stData);
                ASSERT_NE(h, INVALID_HANDLE_VALUE);
                FindNextFileW(h, &stData);
                FindClose(h);
            }
            dQueries = seconds(tQueries);
            CFileList cList;
            const auto tAdd = std::chrono::steady_clock::now();
            for (const std::wstring& p : vPaths) cList.Add(p.c_str());
            std::printf("the same names added to a list of its own: %.3f s\n", seconds(tAdd));
        }
        Batch_reset();
        List_refresh();
        const auto t0 = std::chrono::steady_clock::now();
        ASSERT_EQ(1, Read_KrelwinBatch(dir.Path(szBatch).c_str()));
        const double dRead = seconds(t0);
        List_refresh();
        const double dAll = seconds(t0);
        EXPECT_EQ(Text(s_stGl.m_hEntry), L"Entry : " + std::to_wstring(iFiles));
        EXPECT_EQ(SendMessageW(s_stGl.m_hList, LB_GETCOUNT, 0, 0), iFiles);
        EXPECT_EQ(SendMessageW(s_stGl.m_hList, LB_GETCURSEL, 0, 0), 0);
        std::printf("%d files, %s: %.3f s to the entry count (reading %.3f s, list box %.3f s)\n", iFiles,
                    std::wcscmp(szBatch, L"folder.kvl") == 0 ? "one folder line" : "one line per file", dAll,
                    dRead, dAll - dRead);
    }
    std::printf("file-system queries of %d listed lines alone: %.3f s\n", iFiles, dQueries);
}

// Benchmark, not a test: lines logged in one step into the shown window's log edit, each its own
// Message_win as a listing prints them, until the step's end has shown them all; from an empty
// edit and from a full one. Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(MainWndTest, DISABLED_BenchmarkLogLinesInTheWindow) {
    const int iSizes[] = {1, 1000, 5000};
    for (int iFull = 0; iFull < 2; ++iFull) {
        for (int iLines : iSizes) {
            double dBest = 1e9;
            int iRuns = 0;
            // Best of three, unless one run takes long already.
            for (; iRuns < 3 && (iRuns == 0 || dBest < 5.0); ++iRuns) {
                Message_clear();
                if (iFull) {
                    for (int i = 0; i < 1400; ++i) Message_info(L"earlier line %d", i);
                    Message_flush();
                }
                Pump(0);
                const auto t0 = std::chrono::steady_clock::now();
                for (int i = 0; i < iLines; ++i) Message_info(L"\t%s%05d,", L"FLAG_", i);
                Message_flush();
                const double d = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                if (d < dBest) dBest = d;
                Pump(0);
            }
            std::printf("%d log lines into %s log edit: %.3f s (best of %d; %.2f ms a line)\n", iLines,
                        iFull ? "a full" : "an empty", dBest, iRuns, dBest * 1000.0 / iLines);
            std::fflush(stdout);
        }
    }
}

}  // namespace
