// The cell texts of the spreadsheet commands, without a spreadsheet: the range text and
// what is kept of a cell as the spreadsheet sends it.
#include <string>

#include <gtest/gtest.h>

#include "krelwin/module/xlcell.h"

namespace {

TEST(XlCellTest, RangeTexts)
{
    struct Row
    {
        const char* name;
        const wchar_t* text;
        int result;
        XL_RANGE range;
    } rows[] = {
        {"columns and rows", L"A1Z100", 1, {1, 1, 26, 100}},
        {"two-letter columns", L"AA1AZ2", 1, {27, 1, 52, 2}},
        {"BA is 53", L"BA7BA7", 1, {53, 7, 53, 7}},
        {"a missing part reads 0", L"A1B", 0, {1, 1, 2, 0}},
        {"a row 0", L"A0B2", 0, {1, 0, 2, 2}},
        {"the end ends the parts", L"A1", 0, {1, 1, 0, 0}},
        {"a digit first", L"1A", -1, {9, 9, 9, 9}},
        {"lower case", L"a1b2", -1, {9, 9, 9, 9}},
        {"nothing", L"", -1, {9, 9, 9, 9}},
        {"a column past int", L"AAAAAAAAAAAA1B2", -1, {9, 9, 9, 9}},
        {"a row past int", L"A1B99999999999", -1, {9, 9, 9, 9}},
        {"the largest row", L"A2147483647A1", 1, {1, 2147483647, 1, 1}},
    };
    for (const Row& r : rows) {
        XL_RANGE range = {9, 9, 9, 9};
        EXPECT_EQ(r.result, XL_parseRange(r.text, &range)) << r.name;
        EXPECT_EQ(r.range.m_iCol1, range.m_iCol1) << r.name;
        EXPECT_EQ(r.range.m_iRow1, range.m_iRow1) << r.name;
        EXPECT_EQ(r.range.m_iCol2, range.m_iCol2) << r.name;
        EXPECT_EQ(r.range.m_iRow2, range.m_iRow2) << r.name;
    }
    XL_RANGE range;
    EXPECT_EQ(-1, XL_parseRange(nullptr, &range));
    EXPECT_EQ(-1, XL_parseRange(L"A1B2", nullptr));
}

TEST(XlCellTest, TheSpreadsheetsQuotingIsUndoneAndOtherCellsAreTrimmed)
{
    struct Row
    {
        const char* name;
        std::wstring sent;
        int quoted;       // XL_unquote
        std::wstring unquoted;
        std::wstring kept;  // XL_cellText
    } rows[] = {
        {"a line break inside", L"\"一行目\n二行目\"\r\n", 1, L"一行目\n二行目", L"一行目\n二行目"},
        {"doubled quotes made single", L"\"say \"\"hi\"\"\"\r\n", 1, L"say \"hi\"", L"say \"hi\""},
        {"a quote alone", L"\"\"\"\"\r\n", 1, L"\"", L"\""},
        {"quoted empty text", L"\"\"\r\n", 1, L"", L""},
        {"no line end", L"\"a\nb\"", 1, L"a\nb", L"a\nb"},
        {"a line break that ends the text", L"\"末尾\r\n\"\r\n", 1, L"末尾\r\n", L"末尾"},
        {"blanks kept inside, dropped at the end", L"\" a\n b \"\r\n", 1, L" a\n b ", L" a\n b"},
        {"plain text is only trimmed", L"plain  \r\n", 0, L"plain  \r\n", L"plain"},
        {"an empty cell", L"\r\n", 0, L"\r\n", L""},
        {"a lone quote inside is no quoting", L"\"a\"b\"\r\n", 0, L"\"a\"b\"\r\n", L"\"a\"b"},
        {"an odd run of quotes at the end", L"\"a\"\"\"\"\r\n", 0, L"\"a\"\"\"\"\r\n", L"\"a"},
        {"three quotes", L"\"\"\"\r\n", 0, L"\"\"\"\r\n", L""},
        {"one quote", L"\"\r\n", 0, L"\"\r\n", L""},
        {"blanks after the closing quote", L"\"quoted\"  \r\n", 0, L"\"quoted\"  \r\n", L"\"quoted"},
        {"no opening quote", L"ab\"\r\n", 0, L"ab\"\r\n", L"ab"},
    };
    for (const Row& r : rows) {
        std::wstring a = r.sent, b = r.sent;
        EXPECT_EQ(r.quoted, XL_unquote(&a[0])) << r.name;
        EXPECT_EQ(r.unquoted, std::wstring(a.c_str())) << r.name;
        EXPECT_EQ(static_cast<int>(r.kept.size()), XL_cellText(&b[0])) << r.name;
        EXPECT_EQ(r.kept, std::wstring(b.c_str())) << r.name;
    }
    EXPECT_EQ(0, XL_unquote(nullptr));
    EXPECT_EQ(0, XL_cellText(nullptr));
    EXPECT_EQ(0, XL_trim(nullptr));
}

}  // namespace
