// XLS2CSV in process against the test spreadsheet: the CSV files are compared whole.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/message.h"
#include "krelwin/module/xls2csv.h"
#include "tests/krelwin/main/edit_watch.h"
#include "tests/krelwin/module/excel/excel_fixture.h"

namespace {

using excel_test::ExcelTest;
using excel_test::Sjis;
using xlserver::Book;

std::vector<Book> TwoSheets()
{
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1")
        .Set(1, 1, L"名前")
        .Set(1, 2, L"値")
        .Set(2, 1, L"a,b")
        .Set(2, 2, L"say \"hi\" ok")
        .Set(3, 2, L"two\r\nlines")
        .Set(3, 3, L"  ")        // blanks only: an empty field, trailing, dropped
        .Set(5, 1, L"\"quoted\"  ")  // trailing quote and blanks trimmed
        .Set(9, 9, L"outside the range");
    book.Add(L"S2").Set(2, 2, L"only");
    Book other{L"OTHER.xls", {}};
    other.Add(L"S1").Set(1, 1, L"other book");
    return {book, other};
}

class Xls2csvTest : public ExcelTest
{
protected:
    void SetUp() override
    {
        ExcelTest::SetUp();
        ASSERT_TRUE(m_dir.Write(L"BOOK.xls", ""));
    }
    int Run(const std::wstring& _strArgs, const std::wstring& _strBook = L"BOOK.xls")
    {
        return m_cModule.Func(Line(_strBook, _strArgs).c_str());
    }
    XLS2CSV m_cModule;

public:
    // The spreadsheet starting as from the shell: its server comes up on its own time.
    void ServeLater() { Serve(TwoSheets(), false); }
};

TEST_F(Xls2csvTest, EverySheetOfTheWorkbookBecomesACsvFileBesideIt)
{
    Serve(TwoSheets());
    ASSERT_TRUE(m_dir.Write(L"BOOKS1.csv", "an earlier run's file\r\n"));
    EXPECT_EQ(1, Run(L"-rA1C5"));
    EXPECT_EQ(Sjis(L"名前,値\r\n"
                   L"\"a,b\",\"say \"\"hi\"\" ok\"\r\n"
                   L",\"two\r\nlines\"\r\n"
                   L"\r\n"
                   L"\"\"\"quoted\"\r\n"),
              m_dir.Read(L"BOOKS1.csv"));
    EXPECT_EQ("\r\n,only\r\n", m_dir.Read(L"BOOKS2.csv"));
    EXPECT_FALSE(m_dir.IsFile(L"BOOKOTHER.csv"));
    EXPECT_FALSE(m_dir.IsFile(L"BOOKS1.csv.bak"));
    EXPECT_EQ(L"Cell(1,1)-(3,5)\r\n", Log());
    // Opened minimised, read column by column, and the spreadsheet closed at the end.
    ASSERT_EQ(1u, excel_test::Opened().size());
    EXPECT_EQ(L"open " + Path(L"BOOK.xls") + L" " + std::to_wstring(SW_MINIMIZE), excel_test::Opened()[0]);
    const std::vector<std::wstring> cells = Cells(L"[BOOK.xls]S1");
    ASSERT_EQ(15u, cells.size());
    EXPECT_EQ(L"R1C1", cells[0]);
    EXPECT_EQ(L"R2C1", cells[1]);
    EXPECT_EQ(L"R5C1", cells[4]);
    EXPECT_EQ(L"R1C2", cells[5]);
    EXPECT_EQ(L"R5C3", cells[14]);
    EXPECT_TRUE(Cells(L"[OTHER.xls]S1").empty()) << "only the named workbook's sheets";
    EXPECT_TRUE(Server().WaitClosed(5000)) << "the spreadsheet window is closed";
}

TEST_F(Xls2csvTest, EverySheetOfAWorkbookOfDozensOfLongNamedSheetsIsWritten)
{
    // 48 names of 17 or 18 characters: far more than a sheet list of fixed size holds.
    const std::vector<std::wstring> names = xlserver::ScenarioSheetNames(48);
    Book book{L"BOOK.xls", {}};
    for (const std::wstring& n : names) book.Add(n).Set(1, 1, n + L"の台詞");
    Serve({book});
    // The sheets come from the server's own topic list, as under Wine, rather than from a
    // conversation made per sheet.
    excel_test::ListTopics().clear();
    EXPECT_EQ(1, Run(L"-rA1A1"));
    for (const std::wstring& n : names) {
        EXPECT_EQ(Sjis(n + L"の台詞\r\n"), m_dir.Read(L"BOOK" + n + L".csv")) << testing::PrintToString(n);
    }
    EXPECT_EQ(L"Cell(1,1)-(1,1)\r\n", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(Xls2csvTest, ASheetTooLongForItsCsvPathIsACountedErrorAndTheOthersAreWritten)
{
    // The longest name whose CSV path fits in MAX_PATH - 1 units, and one unit more (file
    // names of the host hold 255 bytes: ASCII).
    const int room = MAX_PATH - 1 - static_cast<int>(Path(L"BOOK.csv").size());
    ASSERT_GT(room, 10);
    const std::wstring fits(room, L'F'), over(room + 1, L'O');
    Book book{L"BOOK.xls", {}};
    book.Add(over).Set(1, 1, L"never read");
    book.Add(fits).Set(1, 1, L"fits");
    book.Add(L"S3").Set(1, 1, L"three");
    Serve({book});
    EXPECT_EQ(1, Run(L"-rA1A1"));
    EXPECT_EQ(L"Cell(1,1)-(1,1)\r\n(" + Path(L"BOOK.xls") + L")シート " + over + L" のCSVファイル名が長すぎます\r\n",
              Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    EXPECT_TRUE(Cells(L"[BOOK.xls]" + over).empty()) << "its cells are not asked";
    EXPECT_EQ("fits\r\n", m_dir.Read(L"BOOK" + fits + L".csv"));
    EXPECT_EQ("three\r\n", m_dir.Read(L"BOOKS3.csv"));
}

TEST_F(Xls2csvTest, ASecondRunWritesTheFilesAnewAndLogsTheRangeOnce)
{
    Serve(TwoSheets());
    EXPECT_EQ(1, Run(L"-rB2B2"));
    EXPECT_TRUE(Server().WaitClosed(5000));
    Serve(TwoSheets());
    EXPECT_EQ(1, Run(L"-rB2B2"));
    EXPECT_EQ(Sjis(L"\"say \"\"hi\"\" ok\"\r\n"), m_dir.Read(L"BOOKS1.csv"));
    EXPECT_EQ("only\r\n", m_dir.Read(L"BOOKS2.csv"));
    EXPECT_EQ(L"Cell(2,2)-(2,2)\r\n", Log());
}

TEST_F(Xls2csvTest, AnEmptySheetGivesAnEmptyFile)
{
    std::vector<Book> books = TwoSheets();
    Serve(books);
    ASSERT_TRUE(m_dir.Write(L"BOOKS2.csv", "stale\r\n"));
    EXPECT_EQ(1, Run(L"-rA1A1"));
    EXPECT_TRUE(m_dir.IsFile(L"BOOKS2.csv"));
    EXPECT_EQ("", m_dir.Read(L"BOOKS2.csv"));
}

TEST_F(Xls2csvTest, RangeTextsThatAreNotReadDoNothingElse)
{
    Serve(TwoSheets());
    struct Row
    {
        const char* name;
        const wchar_t* args;
        const wchar_t* log;
    } rows[] = {
        {"a digit first", L"-r1A", L"未対応\r\n"},
        {"lower-case letters", L"-ra1b2", L"未対応\r\n"},
        {"nothing after -r", L"-r", L"未対応\r\n"},
        {"a column that overflows", L"-rAAAAAAAAAAAA1B2", L"未対応\r\n"},
        {"a row that overflows", L"-rA1B99999999999", L"未対応\r\n"},
        {"a row 0", L"-rA0B2", L""},
        {"a missing part", L"-rA1B", L""},
        {"a token 1 that is no range", L"x.txt", L""},
    };
    for (const Row& r : rows) {
        Message_clear();
        EXPECT_EQ(1, Run(r.args)) << r.name;
        EXPECT_EQ(std::wstring(r.log), Log()) << r.name;
    }
    EXPECT_TRUE(excel_test::Opened().empty());
    EXPECT_TRUE(Server().Requests().empty());
    EXPECT_FALSE(m_dir.IsFile(L"BOOKS1.csv"));
}

TEST_F(Xls2csvTest, LetterColumnsAreBijectiveBase26)
{
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1").Set(1, 27, L"AA").Set(2, 28, L"AB").Set(1, 26, L"Z");
    Serve({book});
    EXPECT_EQ(1, Run(L"-rAA1AB2"));
    const std::vector<std::wstring> expected = {L"R1C27", L"R2C27", L"R1C28", L"R2C28"};
    EXPECT_EQ(expected, Cells(L"[BOOK.xls]S1"));
    EXPECT_EQ("AA\r\n,AB\r\n", m_dir.Read(L"BOOKS1.csv"));
}

TEST_F(Xls2csvTest, AFailedCellEndsItsColumnAndTheSheetKeepsItsEarlierFile)
{
    // The next column follows, but a sheet read in part is no CSV of the sheet.
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1").Set(1, 1, L"a").Set(2, 1, L"", xlserver::CELL_NACK).Set(3, 1, L"never asked").Set(1, 2, L"b");
    book.Add(L"S2").Set(1, 1, L"whole");
    Serve({book});
    ASSERT_TRUE(m_dir.Write(L"BOOKS1.csv", "earlier\r\n"));
    EXPECT_EQ(1, Run(L"-rA1B3"));
    EXPECT_EQ(L"Cell(1,1)-(2,3)\r\n(" + Path(L"BOOK.xls") + L")DDEが開始されていません\r\n(" + Path(L"BOOK.xls") +
                  L")シート S1 を最後まで読めませんでした\r\n",
              Log());
    const std::vector<std::wstring> expected = {L"R1C1", L"R2C1", L"R1C2", L"R2C2", L"R3C2"};
    EXPECT_EQ(expected, Cells(L"[BOOK.xls]S1"));
    EXPECT_EQ("earlier\r\n", m_dir.Read(L"BOOKS1.csv"));
    EXPECT_EQ("whole\r\n", m_dir.Read(L"BOOKS2.csv"));
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(Xls2csvTest, ASpreadsheetThatGoesAwayMidSheetLeavesTheEarlierFiles)
{
    bool first = true;
    for (const xlserver::Leaving& r : xlserver::kLeavings) {
        Message_clear();
        s_stGl.m_iErrorCount = 0;
        excel_test::ListTopics().clear();
        Book book{L"BOOK.xls", {}};
        book.Add(L"S1").Fill(3, 2).Set(2, 2, L"", r.mode);
        book.Add(L"S2").Fill(3, 2);
        Serve({book});
        ASSERT_TRUE(m_dir.Write(L"BOOKS1.csv", "complete 1\r\n"));
        ASSERT_TRUE(m_dir.Write(L"BOOKS2.csv", "complete 2\r\n"));
        EXPECT_EQ(1, Run(L"-rA1C3")) << r.name;
        EXPECT_EQ("complete 1\r\n", m_dir.Read(L"BOOKS1.csv")) << r.name;
        EXPECT_EQ("complete 2\r\n", m_dir.Read(L"BOOKS2.csv")) << r.name;
        const std::wstring failed = L"(" + Path(L"BOOK.xls") + L")DDEが開始されていません\r\n";
        // Columns B and C of S1 fail after its conversation was made; every column of S2
        // finds no conversation.
        EXPECT_EQ(std::wstring(first ? L"Cell(1,1)-(3,3)\r\n" : L"") + failed + failed + L"(" + Path(L"BOOK.xls") +
                      L")シート S1 を最後まで読めませんでした\r\n" + failed + failed + failed,
                  Log())
            << r.name;
        first = false;
        EXPECT_EQ(1, s_stGl.m_iErrorCount) << r.name;
        EXPECT_TRUE(Server().WaitClosed(5000)) << r.name;
    }
}

TEST_F(Xls2csvTest, ANewFileThatCannotBePutInPlaceLeavesTheEarlierOne)
{
    // A folder in the place of the CSV: nothing can replace it.
    Serve(TwoSheets());
    ASSERT_TRUE(m_dir.MakeDir(L"BOOKS1.csv"));
    EXPECT_EQ(1, Run(L"-rA1C5"));
    EXPECT_TRUE(m_dir.IsDir(L"BOOKS1.csv"));
    EXPECT_EQ("\r\n,only\r\n", m_dir.Read(L"BOOKS2.csv"));
    EXPECT_EQ(L"Cell(1,1)-(3,5)\r\nCan't write file.BOOKS1.csv\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    // The new file written beside is not left behind.
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Path(L"*").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    do {
        if (fd.cFileName[0] != L'.') names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    const std::vector<std::wstring> expected = {L"BOOK.xls", L"BOOKS1.csv", L"BOOKS2.csv"};
    EXPECT_EQ(expected, names);
}

TEST_F(Xls2csvTest, ACsvInAFolderOfOver248CharactersReplacesTheEarlierOneAndLeavesNothingBeside)
{
    // Beyond 248 characters the platform's temporary names give out; the CSV's path still fits.
    const std::wstring strFolder = testdir::MakeLongFolder(m_dir.Path(), 250);
    ASSERT_EQ(250u, strFolder.size());
    const std::wstring strRel = strFolder.substr(m_dir.Path().size() + 1) + L"\\";
    Book book{L"B.xls", {}};
    book.Add(L"S1").Set(1, 1, L"new");
    Serve({book});
    ASSERT_TRUE(m_dir.Write(strRel + L"B.xls", ""));
    ASSERT_TRUE(m_dir.Write(strRel + L"BS1.csv", "earlier\r\n"));
    EXPECT_EQ(1, Run(L"-rA1A1", strRel + L"B.xls"));
    EXPECT_EQ("new\r\n", m_dir.Read(strRel + L"BS1.csv"));
    EXPECT_EQ((std::set<std::wstring>{L"B.xls", L"BS1.csv"}), testdir::Names(strFolder));
    EXPECT_EQ(0, s_stGl.m_iErrorCount) << Narrow(Log());
}

TEST_F(Xls2csvTest, AnEarlierFileHeldOpenIsKeptWhole)
{
    Serve(TwoSheets());
    ASSERT_TRUE(m_dir.Write(L"BOOKS1.csv", "earlier\r\n"));
    HANDLE hHeld = CreateFileW(Path(L"BOOKS1.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    EXPECT_EQ(1, Run(L"-rA1C5"));
    CloseHandle(hHeld);
    EXPECT_EQ("earlier\r\n", m_dir.Read(L"BOOKS1.csv"));
    EXPECT_EQ(L"Cell(1,1)-(3,5)\r\nCan't write file.BOOKS1.csv\r\n", Log());
}

Xls2csvTest* s_pStarting = nullptr;

TEST_F(Xls2csvTest, ASpreadsheetStartedByTheShellIsWaitedFor)
{
    // The shell starts the spreadsheet and returns before its server is up.
    s_pStarting = this;
    excel_test::OnShell() = [] { s_pStarting->ServeLater(); };
    EXPECT_EQ(1, Run(L"-rB2B2"));
    EXPECT_EQ("only\r\n", m_dir.Read(L"BOOKS2.csv"));
    EXPECT_TRUE(Server().WaitClosed(5000));
}

TEST_F(Xls2csvTest, ASheetThatCannotBeReadKeepsItsEarlierFile)
{
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1").Set(1, 1, L"", xlserver::CELL_NACK).Set(1, 2, L"", xlserver::CELL_NACK);
    Serve({book});
    ASSERT_TRUE(m_dir.Write(L"BOOKS1.csv", "earlier\r\n"));
    EXPECT_EQ(1, Run(L"-rA1B1"));
    const std::wstring failed = L"(" + Path(L"BOOK.xls") + L")DDEが開始されていません\r\n";
    EXPECT_EQ(L"Cell(1,1)-(2,1)\r\n" + failed + failed + L"(" + Path(L"BOOK.xls") +
                  L")シート S1 を最後まで読めませんでした\r\n",
              Log());
    EXPECT_EQ("earlier\r\n", m_dir.Read(L"BOOKS1.csv"));
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(Xls2csvTest, WithoutASpreadsheetEachWorkbookIsACountedErrorAndTheRunGoesOn)
{
    // No server, and the shell has no program for the workbook: the range line once, an
    // error for each workbook, nothing written, nothing waited for.
    excel_test::ShellResult() = 31;
    EXPECT_EQ(1, Run(L"-rA1B2"));
    EXPECT_EQ(1, Run(L"-rA1B2"));
    const std::wstring none = L"(" + Path(L"BOOK.xls") + L")シートの一覧を取得できません\r\n";
    EXPECT_EQ(L"Cell(1,1)-(2,2)\r\n" + none + none, Log());
    EXPECT_FALSE(m_dir.IsFile(L"BOOKS1.csv"));
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

TEST_F(Xls2csvTest, AWorkbookTheSpreadsheetDoesNotOfferIsACountedError)
{
    std::vector<Book> books = TwoSheets();
    books.erase(books.begin());  // OTHER.xls alone
    Serve(books);
    EXPECT_EQ(1, Run(L"-rA1B2"));
    EXPECT_EQ(L"Cell(1,1)-(2,2)\r\n(" + Path(L"BOOK.xls") + L")シートの一覧を取得できません\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    EXPECT_TRUE(Cells(L"[OTHER.xls]S1").empty()) << "no cell asked";
    EXPECT_TRUE(Server().WaitClosed(5000)) << "the spreadsheet is closed all the same";
}

// The fields of a CSV text (rows ended by CR LF, fields in double quotes with their quotes
// doubled where they hold one of ",", '"' or a line break).
std::vector<std::vector<std::wstring>> ReadCsv(const std::wstring& _strText)
{
    std::vector<std::vector<std::wstring>> vRows;
    std::vector<std::wstring> vRow;
    std::wstring strField;
    bool bQuoted = false;
    for (size_t i = 0; i < _strText.size(); ++i) {
        const wchar_t c = _strText[i];
        if (bQuoted) {
            if (c == L'"' && i + 1 < _strText.size() && _strText[i + 1] == L'"') {
                strField += L'"';
                ++i;
            } else if (c == L'"') {
                bQuoted = false;
            } else {
                strField += c;
            }
        } else if (c == L'"') {
            bQuoted = true;
        } else if (c == L',') {
            vRow.push_back(strField);
            strField.clear();
        } else if (c == L'\r' && i + 1 < _strText.size() && _strText[i + 1] == L'\n') {
            vRow.push_back(strField);
            strField.clear();
            vRows.push_back(vRow);
            vRow.clear();
            ++i;
        } else {
            strField += c;
        }
    }
    return vRows;
}

TEST_F(Xls2csvTest, TheSpreadsheetsOwnQuotingIsUndoneSoTheCsvReadsBackToTheCells)
{
    // What the cells hold; the spreadsheet sends those with a line break or a quote quoted.
    const std::vector<std::vector<std::wstring>> cells = {
        {L"一行目\n二行目", L"say \"hi\"", L"\""},
        {L"a,b\r\nc", L"\"\"", L"plain"},
        {L"\"quoted\" at both ends\"", L"末尾\n", L"x"},
    };
    Book book{L"BOOK.xls", {}};
    xlserver::Sheet& sheet = book.Add(L"S1");
    for (size_t r = 0; r < cells.size(); ++r) {
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const std::wstring& text = cells[r][c];
            const bool quote = text.find_first_of(L"\"\r\n") != std::wstring::npos;
            sheet.Set(static_cast<int>(r) + 1, static_cast<int>(c) + 1, quote ? xlserver::Quoted(text) : text);
        }
    }
    Serve({book});
    EXPECT_EQ(1, Run(L"-rA1C3"));
    const std::string csv = m_dir.Read(L"BOOKS1.csv");
    EXPECT_EQ(Sjis(L"\"一行目\n二行目\",\"say \"\"hi\"\"\",\"\"\"\"\r\n"
                   L"\"a,b\r\nc\",\"\"\"\"\"\",plain\r\n"
                   L"\"\"\"quoted\"\" at both ends\"\"\",末尾,x\r\n"),
              csv);
    // A line break that ends a cell goes as every cell's trailing blanks go.
    std::vector<std::vector<std::wstring>> expected = cells;
    expected[2][1] = L"末尾";
    EXPECT_EQ(expected, ReadCsv(xlserver::FromCodePage(932, csv)));
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(Xls2csvTest, TheRangeLineIsInTheLogWindowWhileTheCellsAreRead)
{
    Serve(TwoSheets());
    HWND hEdit = edit_watch::MakeLogEdit();
    ASSERT_TRUE(hEdit != nullptr);
    s_stGl.m_hMessage = hEdit;
    Message_setClock(edit_watch::TickingClock);
    // The range line comes just after another and waits; 200 cells of each sheet follow it.
    edit_watch::Ticks() += 1000;
    Message_win(L"earlier");
    edit_watch::Start(hEdit, {L"Cell(1,1)-(10,20)"});
    EXPECT_EQ(1, Run(L"-rA1J20"));
    EXPECT_TRUE(edit_watch::ShownWhileLast(0));
    edit_watch::Stop();
    Message_setClock(nullptr);
    s_stGl.m_hMessage = nullptr;
    DestroyWindow(hEdit);
    EXPECT_EQ(L"earlier\r\nCell(1,1)-(10,20)\r\n", Log());
}

TEST_F(Xls2csvTest, QuitClearsTheFlagsOfAnActiveModule)
{
    Serve(TwoSheets());
    EXPECT_EQ(1, Run(L"-rA1A1"));
    EXPECT_EQ(1, m_cModule.m_iActive);
    EXPECT_EQ(1, m_cModule.m_iInitialized);
    m_cModule.Quit(0);
    EXPECT_EQ(0, m_cModule.m_iActive);
    EXPECT_EQ(0, m_cModule.m_iInitialized);
    EXPECT_EQ(1, m_cModule.m_iFirstUse);
}

}  // namespace
