// XLS2CSV and CHECKEXCEL through krelwin.exe against the test spreadsheet in a process of
// its own (kt_xlserver.exe); the CSV files and the message log are compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/krelwin_run.h"
#include "tests/support/xlserver.h"

namespace {

using e2e::Files;
using e2e::KrelwinRun;
using e2e::RunJob;
using xlserver::Book;

std::string Sjis(const std::wstring& _str)
{
    return xlserver::ToCodePage(932, _str);
}

const wchar_t kTitle[] = L"Microsoft Excel - BOOK.xls";

// The spreadsheet process; ended by the test when the program under test did not close it.
class ServerProcess
{
public:
    // A spreadsheet that serves DDE is waited for until it answers, one that never serves
    // until its window is up.
    bool Start(const testdir::TestDir& dir, const std::vector<Book>& books, bool serves = true, DWORD lifeMs = 60000)
    {
        if (!dir.Write(L"xlserver.txt", xlserver::Serialize(books, kTitle, serves))) return false;
        std::wstring exe = std::wstring(KRELWIN_BIN_DIR) + L"\\kt_xlserver.exe";
        std::wstring line = L"\"" + exe + L"\" \"" + dir.Path(L"xlserver.txt") + L"\" " + std::to_wstring(lifeMs);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        if (!serves) {
            const DWORD start = GetTickCount();
            while (!FindWindowW(L"KtTestSpreadsheet", kTitle)) {
                if (GetTickCount() - start > 15000 || WaitExit(0)) return false;
                Sleep(20);
            }
            return true;
        }
        // Asked from a thread of its own: the windows a DDE client leaves on its thread go
        // with the thread, so none of them holds up the program's DDE broadcasts while this
        // thread waits for it without reading messages.
        bool found = false;
        HANDLE waiter = CreateThread(nullptr, 0, &ServerProcess::Wait, &found, 0, nullptr);
        if (!waiter) return false;
        WaitForSingleObject(waiter, 15000);
        CloseHandle(waiter);
        return found;
    }
    bool WaitExit(DWORD ms) { return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0; }
    ~ServerProcess()
    {
        if (!process_) return;
        if (!WaitExit(0)) {
            TerminateProcess(process_, 1);
            WaitExit(5000);
        }
        CloseHandle(process_);
    }

private:
    static DWORD WINAPI Wait(LPVOID found)
    {
        *static_cast<bool*>(found) = xlserver::WaitForServer(10000);
        return 0;
    }
    HANDLE process_ = nullptr;
};

std::vector<Book> Books()
{
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1")
        .Set(1, 1, L"名前")
        .Set(1, 2, L"値,単位")
        .Set(2, 1, L"検査を行う。")
        .Set(3, 3, L"\"ok\"");
    book.Add(L"S2").Set(2, 2, L"二行\r\nの値");
    Book other{L"OTHER.xls", {}};
    other.Add(L"S1").Set(1, 1, L"other");
    return {other, book};
}

TEST(ExcelE2E, Xls2csvWritesOneCsvFilePerSheetOfTheWorkbook)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
    ServerProcess server;
    ASSERT_TRUE(server.Start(d, Books()));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nXLS2CSV -rA1C3\r\n" + Files(d, {L"BOOK.xls"}), 0, &log));
    // "\"ok\"" is what the spreadsheet sends for a cell "ok" quoted.
    EXPECT_EQ(Sjis(L"名前,\"値,単位\"\r\n検査を行う。\r\n,,ok\r\n"), d.Read(L"BOOKS1.csv"));
    EXPECT_EQ(Sjis(L"\r\n,\"二行\r\nの値\"\r\n"), d.Read(L"BOOKS2.csv"));
    EXPECT_FALSE(d.IsFile(L"BOOKOTHER.csv"));
    EXPECT_EQ("Cell(1,1)-(3,3)\r\nCompleted...\r\n", log);
    EXPECT_TRUE(server.WaitExit(10000)) << "the spreadsheet window is closed";
}

TEST(ExcelE2E, CheckExcelReportsFindingsByCell)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
    ASSERT_TRUE(d.Write(L"check.ini", Sjis(L"[MAIN]\r\nENABLEENDCHAR=。\r\nSTRING=表記\r\n行う\t行なう\r\n")));
    const std::wstring book = d.Path(L"BOOK.xls");
    ServerProcess server;
    ASSERT_TRUE(server.Start(d, Books()));
    std::string log;
    // Findings are no errors: the automatic run closes the program.
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHECKEXCEL check.ini -rA1C3\r\n" + Files(d, {L"BOOK.xls"}), 0, &log));
    const std::wstring label = L"[" + book + L"]";
    const std::wstring end = L"\t\t←末尾が有効な文字で終っていない\r\n";
    EXPECT_EQ(Sjis(L"Cell(1,1)-(3,3)\r\n"
                   L"0\t" + label + L"S1(1): " + end +
                   L"A\t" + label + L"S1(2): 検査を行う。\t\t←表記の可能性\"行う\"を含む  行なう\r\n"
                   L"0\t" + label + L"S1(1): " + end +
                   L"0\t" + label + L"S1(3): " + end +
                   L"0\t" + label + L"S2(3): " + end +
                   L"Completed...\r\n"),
              log);
    EXPECT_TRUE(server.WaitExit(10000)) << "the spreadsheet window is closed";
}

// The batch of one script line over BOOK.xls of the folder.
std::string Job(const testdir::TestDir& _cDir, const std::string& _strScript)
{
    return "[SCRIPT]\r\n" + _strScript + "\r\n" + Files(_cDir, {L"BOOK.xls"});
}

TEST(ExcelE2E, Xls2csvWritesEverySheetOfAWorkbookOfDozensOfLongNamedSheets)
{
    // 48 sheets of 17 or 18 characters: their names alone far exceed a sheet list of fixed
    // size. One more has a name too long for its CSV's path: a counted error naming it.
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
    const std::vector<std::wstring> names = xlserver::ScenarioSheetNames(48);
    Book book{L"BOOK.xls", {}};
    for (const std::wstring& n : names) book.Add(n).Set(1, 1, n + L"の台詞");
    // File names of the host hold 255 bytes: ASCII.
    const std::wstring over(MAX_PATH - static_cast<int>(d.Path(L"BOOK.csv").size()), L'O');
    book.Add(over).Set(1, 1, L"never read");
    ServerProcess server;
    ASSERT_TRUE(server.Start(d, {book}));
    std::string log;
    ASSERT_TRUE(RunJob(run, Job(d, "XLS2CSV -rA1A1"), 1, &log));
    for (const std::wstring& n : names) {
        EXPECT_EQ(Sjis(n + L"の台詞\r\n"), d.Read(L"BOOK" + n + L".csv")) << testing::PrintToString(n);
    }
    EXPECT_EQ("Cell(1,1)-(1,1)\r\n(" + Sjis(d.Path(L"BOOK.xls") + L")シート " + over + L" のCSVファイル名が長すぎます") +
                  "\r\nerror(s).1\r\n",
              log);
    EXPECT_TRUE(server.WaitExit(10000)) << "the spreadsheet window is closed";
}

TEST(ExcelE2E, CheckExcelChecksEverySheetOfAWorkbookOfDozensOfLongNamedSheets)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
    ASSERT_TRUE(d.Write(L"check.ini", Sjis(L"[MAIN]\r\nENABLEENDCHAR=。\r\n")));
    const std::vector<std::wstring> names = xlserver::ScenarioSheetNames(48);
    Book book{L"BOOK.xls", {}};
    for (const std::wstring& n : names) book.Add(n).Set(1, 1, L"終わらない");
    ServerProcess server;
    ASSERT_TRUE(server.Start(d, {book}));
    std::string log;
    ASSERT_TRUE(RunJob(run, Job(d, "CHECKEXCEL check.ini -rA1A1"), 0, &log));
    std::wstring expected = L"Cell(1,1)-(1,1)\r\n";
    for (const std::wstring& n : names) {
        expected += L"0\t[" + d.Path(L"BOOK.xls") + L"]" + n + L"(1): \t\t←末尾が有効な文字で終っていない\r\n";
    }
    EXPECT_EQ(Sjis(expected + L"Completed...\r\n"), log);
    EXPECT_TRUE(server.WaitExit(10000)) << "the spreadsheet window is closed";
}

TEST(ExcelE2E, Xls2csvReadsEveryCellOfABigSheet)
{
    // 17,000 cells: more than one DDE client instance can be answered on under Wine (some
    // 16,380), so the client starts its instance anew on the way, in the middle of a column.
    const int kRows = 850, kCols = 20;
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1").Fill(kRows, kCols);
    ServerProcess server;
    ASSERT_TRUE(server.Start(d, {book}, true, 600000));
    const DWORD start = GetTickCount();
    std::string log;
    ASSERT_TRUE(RunJob(run, Job(d, "XLS2CSV -rA1T850"), 0, &log, "", 300000));
    printf("%d cells through krelwin.exe in %lu ms\n", kRows * kCols, static_cast<unsigned long>(GetTickCount() - start));
    EXPECT_EQ("Cell(1,1)-(20,850)\r\nCompleted...\r\n", log);
    std::wstring expected;
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 1; col <= kCols; ++col) expected += (col > 1 ? L"," : L"") + xlserver::FillText(row, col);
        expected += L"\r\n";
    }
    const std::string csv = d.Read(L"BOOKS1.csv"), want = Sjis(expected);
    EXPECT_TRUE(want == csv) << "the CSV differs from byte "
                             << std::mismatch(csv.begin(), csv.end(), want.begin(), want.end()).first - csv.begin()
                             << " of " << csv.size();
    EXPECT_TRUE(server.WaitExit(10000)) << "the spreadsheet window is closed";
}

TEST(ExcelE2E, ASheetWhoseSpreadsheetGoesAwayKeepsItsCompleteEarlierCsv)
{
    for (const xlserver::Leaving& r : xlserver::kLeavings) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
        const std::string earlier(11760, 'x');
        ASSERT_TRUE(d.Write(L"BOOKS1.csv", earlier));
        Book book{L"BOOK.xls", {}};
        book.Add(L"S1").Fill(20, 5).Set(10, 3, L"", r.mode);
        ServerProcess server;
        ASSERT_TRUE(server.Start(d, {book})) << r.name;
        std::string log;
        ASSERT_TRUE(RunJob(run, Job(d, "XLS2CSV -rA1E20"), 1, &log)) << r.name;
        const std::string book8 = Sjis(d.Path(L"BOOK.xls"));
        const std::string failed = "(" + book8 + ")" + Sjis(L"DDEが開始されていません") + "\r\n";
        EXPECT_EQ("Cell(1,1)-(5,20)\r\n" + failed + failed + failed + "(" + book8 + ")" +
                      Sjis(L"シート S1 を最後まで読めませんでした") + "\r\nerror(s).1\r\n",
                  log)
            << r.name;
        EXPECT_TRUE(earlier == d.Read(L"BOOKS1.csv")) << r.name << ": the earlier file is kept whole";
        EXPECT_TRUE(server.WaitExit(10000)) << r.name;
    }
}

TEST(ExcelE2E, WithoutASpreadsheetEachWorkbookIsACountedError)
{
    struct Row
    {
        const char* name;
        const char* script;
        bool window;  // a spreadsheet window that never serves DDE
        const char* range;
    } rows[] = {
        {"XLS2CSV, no spreadsheet", "XLS2CSV -rA1C3", false, "Cell(1,1)-(3,3)"},
        {"XLS2CSV, a window that never serves", "XLS2CSV -rA1C3", true, "Cell(1,1)-(3,3)"},
        {"CHECKEXCEL, no spreadsheet", "CHECKEXCEL check.ini -rA1B2", false, "Cell(1,1)-(2,2)"},
    };
    for (const Row& r : rows) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
        ASSERT_TRUE(d.Write(L"check.ini", "[MAIN]\r\n"));
        ServerProcess server;
        if (r.window) {
            ASSERT_TRUE(server.Start(d, Books(), false)) << r.name;
        }
        std::string log;
        ASSERT_TRUE(RunJob(run, Job(d, r.script), 1, &log)) << r.name;
        EXPECT_EQ(std::string(r.range) + "\r\n(" + Sjis(d.Path(L"BOOK.xls")) + ")" +
                      Sjis(L"シートの一覧を取得できません") + "\r\nerror(s).1\r\n",
                  log)
            << r.name;
        EXPECT_FALSE(d.IsFile(L"BOOKS1.csv")) << r.name;
        if (r.window) {
            EXPECT_TRUE(server.WaitExit(10000)) << r.name << ": the spreadsheet window is closed";
        }
    }
}

TEST(ExcelE2E, Xls2csvUndoesTheSpreadsheetsQuoting)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"BOOK.xls", ""));
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1")
        .Set(1, 1, xlserver::Quoted(L"一行目\n二行目"))
        .Set(1, 2, xlserver::Quoted(L"say \"hi\""))
        .Set(2, 1, L"plain")
        .Set(2, 2, xlserver::Quoted(L"\""));
    ServerProcess server;
    ASSERT_TRUE(server.Start(d, {book}));
    std::string log;
    ASSERT_TRUE(RunJob(run, Job(d, "XLS2CSV -rA1B2"), 0, &log));
    EXPECT_EQ("Cell(1,1)-(2,2)\r\nCompleted...\r\n", log);
    EXPECT_EQ(Sjis(L"\"一行目\n二行目\",\"say \"\"hi\"\"\"\r\nplain,\"\"\"\"\r\n"), d.Read(L"BOOKS1.csv"));
    EXPECT_TRUE(server.WaitExit(10000));
}

}  // namespace
