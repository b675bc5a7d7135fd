// krelwin.exe end to end: batch files and command-line options run under Wine; the
// files, temp.kvl, the log file and krelwin.ini it leaves are checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::KrelwinRun;
using e2e::RunJob;

const std::string kNotBuiltIn = Ansi(L" この機能は組み込まれていません");
// True when the settings file holds the key with exactly that value.
bool IniHas(const std::string& ini, const std::string& keyValue) {
    return ("\n" + ini).find("\n" + keyValue + "\r\n") != std::string::npos;
}

const std::string kIniLogged = "[MAIN]\r\nOUTINFO=1\r\nOUTINFONAME=log.txt\r\n";

TEST(KrelwinE2E, BatchOnTheCommandLineRunsEveryLineOverEveryFileAndCloses) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"in"));
    ASSERT_TRUE(d.Write(L"in\\a.txt", "alpha\r\n"));
    ASSERT_TRUE(d.Write(L"in\\\x65e5\x672c.txt", "\x93\xfa\x96\x7b\r\n"));  // 日本.txt, Shift-JIS text
    std::string log;
    ASSERT_TRUE(RunJob(run,
                       "// two lines over two files\r\n"
                       "[SCRIPT]\r\nkinsoku\r\nCMD /c copy \"%1\" \"%1.bak\"\r\n"
                       "[FILES]\r\nin\\a.txt\r\nin\\\x93\xfa\x96\x7b.txt\r\n",
                       0, &log));
    // The log is cleared when the run starts; the modules' lines and the end remain.
    EXPECT_EQ(log, "KINSOKU" + kNotBuiltIn + "\r\nKINSOKU" + kNotBuiltIn +
                       "\r\nProcess. CMD\r\nProcess. CMD\r\nCompleted...\r\n");
    EXPECT_EQ(d.Read(L"in\\a.txt.bak"), "alpha\r\n");
    EXPECT_EQ(d.Read(L"in\\\x65e5\x672c.txt.bak"), "\x93\xfa\x96\x7b\r\n");
    // The settings file is written back in full at the end.
    const std::string ini = d.Read(L"krelwin.ini");
    for (const char* kv : {"AUTOEXEC=1", "ATEXIT=1", "OUTINFO=1", "OUTINFONAME=log.txt", "WINDOW_W=480", "WINDOW_H=360"})
        EXPECT_TRUE(IniHas(ini, kv)) << kv << "\n" << ini;
}

TEST(KrelwinE2E, OptionsBecomeTempKvlThatRunsAtOnceAndLeaveAutoexecInTheIni) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"krelwin.ini", "[MAIN]\r\n"));
    ASSERT_TRUE(d.Write(L"a.txt", "a\r\n"));
    ASSERT_TRUE(d.Write(L"b.txt", "b\r\n"));
    ASSERT_TRUE(run.Start(L"-s\"KINSOKU;CMD /c copy %1 %1.bak\" -f\"a.txt;b.txt\" -o\"OUTINFO=1;OUTINFONAME=log.txt\"")) << run.LastError();
    DWORD code = 99;
    ASSERT_TRUE(run.WaitExit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(d.Read(L"temp.kvl"),
              "[script]\r\nKINSOKU\r\nCMD /c copy %1 %1.bak\r\n"
              "[files]\r\na.txt\r\nb.txt\r\n"
              "[setting]\r\nOUTINFO=1\r\nOUTINFONAME=log.txt\r\n");
    EXPECT_EQ(d.Read(L"log.txt"), "KINSOKU" + kNotBuiltIn + "\r\nKINSOKU" + kNotBuiltIn +
                                      "\r\nProcess. CMD\r\nProcess. CMD\r\nCompleted...\r\n");
    EXPECT_EQ(d.Read(L"a.txt.bak"), "a\r\n");
    EXPECT_EQ(d.Read(L"b.txt.bak"), "b\r\n");
    // The batch's [SETTING] stays with the batch; the armed options reach the ini.
    const std::string ini = d.Read(L"krelwin.ini");
    for (const char* kv : {"AUTOEXEC=1", "ATEXIT=1", "OUTINFO=0", "OUTINFONAME=MSG.TXT"})
        EXPECT_TRUE(IniHas(ini, kv)) << kv << "\n" << ini;
}

TEST(KrelwinE2E, RunWithErrorsReportsTheCountAndStaysOpen) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"krelwin.ini", kIniLogged + "AUTOEXEC=1\r\nATEXIT=1\r\n"));
    ASSERT_TRUE(d.Write(L"a.txt", "a\r\n"));
    // A parameter line that does not fit the dispatcher is refused with an error.
    ASSERT_TRUE(d.Write(L"job.kvl", "[SCRIPT]\r\nKINSOKU " + std::string(1100, 'x') + "\r\n[FILES]\r\na.txt\r\n"));
    ASSERT_TRUE(run.Start(L"job.kvl")) << run.LastError();
    ASSERT_TRUE(run.WaitLogFileHas(L"log.txt", "error(s).1\r\n"));
    DWORD code = 0;
    EXPECT_FALSE(run.WaitExit(&code, 1500)) << "a run with errors keeps the program open";
    ASSERT_TRUE(run.CloseAndWait());
}

TEST(KrelwinE2E, StartButtonStartsAndStopsTheRun) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"krelwin.ini", kIniLogged + "ATEXIT=1\r\n"));
    std::string files;
    for (int i = 0; i < 40; ++i) {
        std::wstring name = L"f" + std::to_wstring(i) + L".txt";
        ASSERT_TRUE(d.Write(name, "x"));
        files += Ansi(name) + "\r\n";
    }
    ASSERT_TRUE(d.Write(L"job.kvl", "[SCRIPT]\r\nKINSOKU\r\n[FILES]\r\n" + files));
    ASSERT_TRUE(run.Start(L"job.kvl")) << run.LastError();
    ASSERT_NE(run.Main(), nullptr);
    ASSERT_TRUE(run.WaitLogHas(L"KINSOKU"));  // the script is printed when the batch is read
    run.Command(100);
    ASSERT_TRUE(run.WaitLogHas(L"組み込まれていません"));
    run.Command(100);
    ASSERT_TRUE(run.WaitLogFileHas(L"log.txt", "Stoped...\r\n"));
    const std::string log = d.Read(L"log.txt");
    EXPECT_EQ(log.find("Completed"), std::string::npos) << log;
    EXPECT_LT(log.size(), 40 * ("KINSOKU" + kNotBuiltIn + "\r\n").size());
    // A stopped run is no automatic run: the program stays open.
    DWORD code = 0;
    EXPECT_FALSE(run.WaitExit(&code, 1000));
    // Started again, it runs to its end.
    run.Command(100);
    ASSERT_TRUE(run.WaitLogFileHas(L"log.txt", "Completed...\r\n"));
    ASSERT_TRUE(run.CloseAndWait());
}

TEST(KrelwinE2E, OneQuotedPathIsABatchPathEvenWithOptionLetters) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"krelwin.ini", kIniLogged + "AUTOEXEC=1\r\nATEXIT=1\r\n"));
    ASSERT_TRUE(d.MakeDir(L"my-scripts -o"));
    ASSERT_TRUE(d.Write(L"my-scripts -o\\a.txt", "a"));
    ASSERT_TRUE(d.Write(L"my-scripts -o\\job.kvl", "[SCRIPT]\r\nKINSOKU\r\n[FILES]\r\na.txt\r\n"));
    // The current folder is the batch's folder, so the log lands there.
    ASSERT_TRUE(run.Start(L"\"" + d.Path(L"my-scripts -o\\job.kvl") + L"\"", d.Path(L"my-scripts -o"))) << run.LastError();
    DWORD code = 99;
    ASSERT_TRUE(run.WaitExit(&code));
    EXPECT_EQ(d.Read(L"my-scripts -o\\log.txt"), "KINSOKU" + kNotBuiltIn + "\r\nCompleted...\r\n");
    EXPECT_FALSE(d.IsFile(L"temp.kvl"));
    EXPECT_FALSE(d.IsFile(L"my-scripts -o\\temp.kvl"));
}

TEST(KrelwinE2E, CommandLineFaultsAreCountedErrorsAndNothingRuns) {
    struct Row {
        const char* name;
        std::wstring args;
        std::string log;  // the log saved from the menu afterwards
    } rows[] = {
        {"missing batch", L"nothere.kvl", ""},
        {"command line too long", L"-s\"KINSOKU\" -f\"" + std::wstring(300, L'a') + L"\"",
         "command line too long (259 characters at most). not run.\r\n"},
    };
    for (Row& row : rows) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        ASSERT_TRUE(d.Write(L"krelwin.ini", "[MAIN]\r\nOUTINFONAME=saved.txt\r\n"));
        if (row.log.empty()) row.log = "not found. " + Ansi(d.Path(L"nothere.kvl")) + "\r\n";
        ASSERT_TRUE(run.Start(row.args)) << row.name;
        ASSERT_NE(run.Main(), nullptr) << row.name;
        ASSERT_TRUE(run.WaitLogHas(L"."));
        ASSERT_TRUE(run.SendCommand(40006)) << row.name;  // "Message出力"
        EXPECT_EQ(d.Read(L"saved.txt"), row.log) << row.name;
        EXPECT_FALSE(d.IsFile(L"temp.kvl")) << row.name;
        EXPECT_TRUE(run.IsRunning()) << row.name;
        ASSERT_TRUE(run.CloseAndWait()) << row.name;
        // A refused option line arms nothing.
        const std::string ini = d.Read(L"krelwin.ini");
        EXPECT_TRUE(IniHas(ini, "AUTOEXEC=0") && IniHas(ini, "ATEXIT=0")) << row.name << "\n" << ini;
    }
}

// The properties dialog of a running program, found within the bound.
HWND OpenProperties(KrelwinRun& run) {
    run.Command(40003);
    return run.FindWindowOf(L"#32770");
}

TEST(KrelwinE2E, PropertiesOkStoresTheOptionsAndTheCloseBoxStoresNothing) {
    struct Row {
        const char* name;
        bool ok;
        const char* outinfo;  // the two options clicked, as written at exit
        const char* backup;
    } rows[] = {
        {"OK", true, "OUTINFO=1", "BACKUP=1"},
        {"close box", false, "OUTINFO=0", "BACKUP=0"},
    };
    for (const Row& row : rows) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        // RANGE 5 leaves the combo box without a selection: OK keeps the value.
        ASSERT_TRUE(d.Write(L"krelwin.ini", "[MAIN]\r\nRANGE=5\r\n"));
        ASSERT_TRUE(run.Start(L"")) << run.LastError();
        ASSERT_NE(run.Main(), nullptr);
        HWND dlg = OpenProperties(run);
        ASSERT_NE(dlg, nullptr) << row.name;
        wchar_t caption[32] = {0};
        GetWindowTextW(dlg, caption, 32);
        EXPECT_STREQ(caption, L"プロパティ");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 1009))) << "backup folder follows its check box";
        SendMessageW(GetDlgItem(dlg, 1023), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(dlg, 1026), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, 1009)));
        EXPECT_EQ(SendMessageW(GetDlgItem(dlg, 1031), CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendMessageW(GetDlgItem(dlg, 1031), CB_GETCURSEL, 0, 0), CB_ERR);
        if (row.ok) PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
        else PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        const DWORD start = GetTickCount();
        while (IsWindow(dlg) && GetTickCount() - start < e2e::kWaitMs) Sleep(20);
        ASSERT_FALSE(IsWindow(dlg)) << row.name;
        ASSERT_TRUE(run.CloseAndWait()) << row.name;
        const std::string ini = d.Read(L"krelwin.ini");
        for (const char* kv : {row.outinfo, row.backup, "RANGE=5", "AUTOEXEC=0", "OUTINFONAME=MSG.TXT"})
            EXPECT_TRUE(IniHas(ini, kv)) << row.name << ": " << kv << "\n" << ini;
    }
}

TEST(KrelwinE2E, AboutBoxShowsTheVersion) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    ASSERT_TRUE(run.Dir().Write(L"krelwin.ini", "[MAIN]\r\n"));
    ASSERT_TRUE(run.Start(L"")) << run.LastError();
    ASSERT_NE(run.Main(), nullptr);
    run.Command(40007);
    HWND dlg = run.FindWindowOf(L"#32770");
    ASSERT_NE(dlg, nullptr);
    wchar_t text[64] = {0};
    GetDlgItemTextW(dlg, 1025, text, 64);
    EXPECT_STREQ(text, L"Dravik VELD-Orx Ver 1.01");
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
    const DWORD start = GetTickCount();
    while (IsWindow(dlg) && GetTickCount() - start < e2e::kWaitMs) Sleep(20);
    EXPECT_FALSE(IsWindow(dlg));
    ASSERT_TRUE(run.CloseAndWait());
}

// A child window of the class with exactly the text, or null.
HWND ChildWithText(HWND parent, const wchar_t* cls, const wchar_t* text) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[32] = {0};
        wchar_t got[128] = {0};
        GetClassNameW(c, name, 32);
        GetWindowTextW(c, got, 128);
        if (lstrcmpiW(name, cls) == 0 && (!text || lstrcmpW(got, text) == 0)) return c;
    }
    return nullptr;
}

bool WaitUntil(bool (*test)(HWND), HWND hwnd, DWORD ms = e2e::kWaitMs) {
    const DWORD start = GetTickCount();
    while (!test(hwnd)) {
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
    return true;
}

TEST(KrelwinE2E, AutomaticStartWithFilesButNoScriptShowsOneBoxAndStaysIdle) {
    struct Row {
        const char* name;
        std::wstring args;
        std::string batch;
    } rows[] = {
        {"files option", L"-fa.txt", ""},
        {"batch of files and settings", L"job.kvl", "[FILES]\r\na.txt\r\n[SETTING]\r\nAUTOEXEC=1\r\nATEXIT=1\r\n"},
    };
    for (const Row& row : rows) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        ASSERT_TRUE(d.Write(L"krelwin.ini", "[MAIN]\r\n"));
        ASSERT_TRUE(d.Write(L"a.txt", "a\r\n"));
        if (!row.batch.empty()) {
            ASSERT_TRUE(d.Write(L"job.kvl", row.batch));
        }
        ASSERT_TRUE(run.Start(row.args)) << run.LastError();
        HWND box = run.FindWindowOf(L"#32770");
        ASSERT_NE(box, nullptr) << row.name;
        // The box is complete: its text and its OK button.
        EXPECT_TRUE(WaitUntil([](HWND b) {
            return ChildWithText(b, L"Static", L"コマンドが指定されていません") && ChildWithText(b, L"Button", nullptr);
        }, box)) << row.name;
        wchar_t caption[32] = {0};
        GetWindowTextW(box, caption, 32);
        EXPECT_STREQ(caption, L"情報") << row.name;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(WaitUntil([](HWND b) { return !IsWindow(b); }, box)) << row.name;
        // Idle: no further box, and the program stays open.
        EXPECT_EQ(run.FindWindowOf(L"#32770", 0), nullptr) << row.name;
        EXPECT_TRUE(run.IsRunning()) << row.name;
        ASSERT_TRUE(run.CloseAndWait()) << row.name;
    }
}

TEST(KrelwinE2E, RelativeFilesOfABatchStartedFromAnotherFolderAreListedWhereTheyAreProcessed) {
    struct Row {
        const char* name;
        std::string ini;          // after [MAIN] and the run options
        std::string setting;      // the batch's [SETTING] lines
        bool parentFile, subFile; // where an a.txt lies
        const wchar_t* changed;   // the a.txt that gets its copy, relative to the start folder
    } rows[] = {
        {"a.txt only beside the batch", "", "", false, true, L"sub\\a.txt"},
        {"a.txt in both folders", "", "", true, true, L"sub\\a.txt"},
        {"the batch keeps the start folder", "", "DEFAULTCURRENT=1\r\n", true, true, L"a.txt"},
        {"the batch overrides a kept start folder", "DEFAULTCURRENT=1\r\n", "DEFAULTCURRENT=0\r\n", false, true,
         L"sub\\a.txt"},
    };
    for (const Row& row : rows) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        ASSERT_TRUE(d.Write(L"krelwin.ini", kIniLogged + "AUTOEXEC=1\r\nATEXIT=1\r\n" + row.ini));
        ASSERT_TRUE(d.MakeDir(L"sub"));
        if (row.parentFile) {
            ASSERT_TRUE(d.Write(L"a.txt", "parent\r\n"));
        }
        if (row.subFile) {
            ASSERT_TRUE(d.Write(L"sub\\a.txt", "sub\r\n"));
        }
        std::string batch = "[SCRIPT]\r\nCMD /c copy \"%1\" \"%1.bak\"\r\n[FILES]\r\na.txt\r\n";
        if (!row.setting.empty()) batch += "[SETTING]\r\n" + row.setting;
        ASSERT_TRUE(d.Write(L"sub\\job.kvl", batch));
        // Started from the parent folder with a relative batch path.
        ASSERT_TRUE(run.Start(L"sub\\job.kvl", d.Path())) << run.LastError();
        DWORD code = 99;
        ASSERT_TRUE(run.WaitExit(&code)) << row.name << ": the run did not end (an empty list?)";
        EXPECT_EQ(code, 0u) << row.name;
        const std::wstring changed = row.changed;
        EXPECT_EQ(d.Read(changed + L".bak"), d.Read(changed)) << row.name;
        // A relative log name is taken against the batch's folder.
        EXPECT_EQ(d.Read(L"sub\\log.txt"), "Process. CMD\r\nCompleted...\r\n") << row.name;
        for (const wchar_t* other : {L"a.txt.bak", L"sub\\a.txt.bak"})
            if (changed + L".bak" != other) {
                EXPECT_FALSE(d.IsFile(other)) << row.name << ": " << other;
            }
    }
}

}  // namespace
