// XLS2CSV and CHECKEXCEL through krelwin.exe against the test spreadsheet in a process of
// its own (kt_xlserver.exe); the CSV files and the message log are compared whole.
#include <gtest/gtest.h>

#include <windows.h>

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

// The spreadsheet process; ended by the test when the program under test did not close it.
class ServerProcess
{
public:
    bool Start(const testdir::TestDir& dir, const std::vector<Book>& books)
    {
        if (!dir.Write(L"xlserver.txt", xlserver::Serialize(books, L"Microsoft Excel - BOOK.xls"))) return false;
        std::wstring exe = std::wstring(KRELWIN_BIN_DIR) + L"\\kt_xlserver.exe";
        std::wstring line = L"\"" + exe + L"\" \"" + dir.Path(L"xlserver.txt") + L"\" 60000";
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
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
    EXPECT_EQ(Sjis(L"名前,\"値,単位\"\r\n検査を行う。\r\n,,\"\"\"ok\"\r\n"), d.Read(L"BOOKS1.csv"));
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

}  // namespace
