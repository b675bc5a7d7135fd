// CHECKEXCEL in process against the test spreadsheet: the whole message log is compared.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/module/checkexcel.h"
#include "tests/krelwin/module/excel/excel_fixture.h"

namespace {

using excel_test::ExcelTest;
using excel_test::Sjis;
using xlserver::Book;

std::vector<Book> Books()
{
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1")
        .Set(1, 1, L"検査を行う。")
        .Set(2, 1, L"\"あいう\"")  // checked without its quotes and line end
        .Set(1, 2, L"ok")           // every cell of more than its line end is checked
        .Set(2, 2, L"x");           // "x\r\n": 3 characters, checked too
    book.Add(L"S2").Set(3, 2, L"え\nお");  // a line feed inside the cell raises the line
    Book other{L"OTHER.xls", {}};
    other.Add(L"S1").Set(1, 1, L"他の本");
    return {book, other};
}

class CheckExcelTest : public ExcelTest
{
protected:
    void SetUp() override
    {
        ExcelTest::SetUp();
        ASSERT_TRUE(m_dir.Write(L"BOOK.xls", ""));
        ASSERT_TRUE(m_dir.Write(L"c.ini", Sjis(L"[MAIN]\r\nENABLEENDCHAR=。\r\nSYMBESTLONG=、\r\n"
                                               L"STRING=表記\r\n行う\t行なう\r\n")));
    }
    int Run(const std::wstring& _strArgs) { return m_cModule.Func(Line(L"BOOK.xls", _strArgs).c_str()); }
    std::wstring Finding(const std::wstring& _strPrefix, const std::wstring& _strSheet, int _iLine,
                         const std::wstring& _strText, const std::wstring& _strMessage) const
    {
        return _strPrefix + L"\t[" + Path(L"BOOK.xls") + L"]" + _strSheet + L"(" + std::to_wstring(_iLine) +
               L"): " + _strText + L"\t\t←" + _strMessage + L"\r\n";
    }
    CHECKEXCEL m_cModule;
};

TEST_F(CheckExcelTest, FindingsCarryTheSheetAndTheRowOfTheirCell)
{
    Serve(Books());
    EXPECT_EQ(1, Run(L"c.ini -rA1B3"));
    const std::wstring end = L"末尾が有効な文字で終っていない";
    EXPECT_EQ(L"Cell(1,1)-(2,3)\r\n" +
                  Finding(L"A", L"S1", 1, L"検査を行う。", L"表記の可能性\"行う\"を含む  行なう") +
                  Finding(L"0", L"S1", 2, L"", end) + Finding(L"0", L"S1", 1, L"", end) +
                  Finding(L"0", L"S1", 2, L"", end) + Finding(L"0", L"S2", 4, L"", end),
              Log());
    EXPECT_TRUE(Cells(L"[OTHER.xls]S1").empty()) << "only the named workbook's sheets";
    EXPECT_TRUE(Server().WaitClosed(5000)) << "the spreadsheet window is closed";
    EXPECT_EQ(0, s_stGl.m_iErrorCount);

    // Active, so the end of the script line reports the longest segment and lets the
    // next line read its settings again.
    Message_clear();
    m_cModule.Quit(0);
    EXPECT_EQ(L"長\t[" + Path(L"BOOK.xls") + L"]S1(1): 検査を行う。\r\n", Log());
    ASSERT_TRUE(m_dir.Write(L"c.ini", Sjis(L"[MAIN]\r\nENABLEENDCHAR=。ok\r\n")));
    Serve(Books());
    Message_clear();
    EXPECT_EQ(1, Run(L"-rB1B1 c.ini"));
    EXPECT_EQ(L"", Log()) << "the range line is logged once per process; \"ok\" now ends well";
}

TEST_F(CheckExcelTest, EverySheetOfAWorkbookOfDozensOfLongNamedSheetsIsChecked)
{
    const std::vector<std::wstring> names = xlserver::ScenarioSheetNames(48);
    Book book{L"BOOK.xls", {}};
    for (const std::wstring& n : names) book.Add(n).Set(1, 1, L"終わらない");
    Serve({book});
    // The sheets come from the server's own topic list, as under Wine, rather than from a
    // conversation made per sheet.
    excel_test::ListTopics().clear();
    EXPECT_EQ(1, Run(L"c.ini -rA1A1"));
    std::wstring expected = L"Cell(1,1)-(1,1)\r\n";
    for (const std::wstring& n : names) expected += Finding(L"0", n, 1, L"", L"末尾が有効な文字で終っていない");
    EXPECT_EQ(expected, Log());
}

TEST_F(CheckExcelTest, ARangeThatIsNotReadOpensNothing)
{
    Serve(Books());
    for (const wchar_t* args : {L"c.ini -r1A", L"c.ini -ra1b2", L"c.ini -rZZZZZZZZZZZZZ1A1"}) {
        Message_clear();
        EXPECT_EQ(1, Run(args));
        EXPECT_EQ(L"未対応\r\n", Log()) << testing::PrintToString(std::wstring(args));
    }
    EXPECT_TRUE(excel_test::Opened().empty());
    EXPECT_TRUE(Server().Requests().empty());
}

TEST_F(CheckExcelTest, AMissingSettingsFileIsReportedAndTheCellsAreStillRead)
{
    Serve(Books());
    EXPECT_EQ(1, Run(L"none.ini -rA1A1"));
    EXPECT_EQ(L"設定ファイル none.ini が読めません\r\nCell(1,1)-(1,1)\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    EXPECT_EQ(1u, Cells(L"[BOOK.xls]S1").size());
}

TEST_F(CheckExcelTest, WhatCannotBeReadIsACountedError)
{
    // No spreadsheet: the workbook.
    excel_test::ShellResult() = 31;
    EXPECT_EQ(1, Run(L"c.ini -rA1B2"));
    EXPECT_EQ(L"Cell(1,1)-(2,2)\r\n(" + Path(L"BOOK.xls") + L")シートの一覧を取得できません\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);

    // A spreadsheet that closes on the way: the sheet.
    Message_clear();
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1").Set(1, 1, L"検査。").Set(2, 1, L"", xlserver::CELL_CLOSE);
    Serve({book});
    EXPECT_EQ(1, Run(L"c.ini -rA1A3"));
    EXPECT_EQ(L"(" + Path(L"BOOK.xls") + L")DDEが開始されていません\r\n(" + Path(L"BOOK.xls") +
                  L")シート S1 を最後まで読めませんでした\r\n",
              Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

}  // namespace
