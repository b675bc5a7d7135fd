#include "kelto/string/string.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringCpy, BoundedCopyWritesExactlyNUnits)
{
    struct Row { const char* name; int n; const wchar_t* expected; };
    const Row rows[] = {
        {"n below the length", 3, L"abcxxxxx"},
        {"n equal to the length", 6, L"abcdef"},
        {"n zero", 0, L"abcdef"},
        {"n above the length", 20, L"abcdef"},
    };
    for (const Row& row : rows) {
        wchar_t szDst[9] = L"xxxxxxxx";
        EXPECT_EQ(1, STRING_cpy(szDst, L"abcdef", row.n)) << "case " << row.name;
        EXPECT_STREQ(row.expected, szDst) << "case " << row.name;
    }
    wchar_t szDst[4] = L"abc";
    EXPECT_EQ(1, STRING_cpy(szDst, nullptr, 0));
    EXPECT_STREQ(L"", szDst);
    EXPECT_EQ(0, STRING_cpy(nullptr, L"a", 0));
}

TEST(StringCat, RefusesAResultLongerThanMax)
{
    wchar_t szDst[8] = L"abc";
    EXPECT_EQ(0, STRING_cat(szDst, L"de", 4));
    EXPECT_STREQ(L"abc", szDst);
    EXPECT_EQ(1, STRING_cat(szDst, L"de", 5));
    EXPECT_STREQ(L"abcde", szDst);
    EXPECT_EQ(1, STRING_cat(szDst, L"fg", 0));
    EXPECT_STREQ(L"abcdefg", szDst);
    EXPECT_EQ(0, STRING_cat(szDst, nullptr, 0));
    EXPECT_EQ(0, STRING_cat(nullptr, L"a", 0));
    EXPECT_EQ(0, STRING_len(nullptr));
}

TEST(StringCmp, UsesTheSystemComparison)
{
    EXPECT_EQ(0, STRING_cmp(L"abc", L"abc"));
    EXPECT_LT(STRING_cmp(L"abc", L"abd"), 0);
    EXPECT_NE(0, STRING_cmp(L"ABC", L"abc"));
    EXPECT_EQ(0, STRING_cmpI(L"ABC", L"abc"));
    EXPECT_GT(STRING_cmpI(L"abd", L"ABC"), 0);
}

TEST(StringToInt, ReadsHexadecimalAfterLowerCase0xAndDecimalOtherwise)
{
    struct Row { const wchar_t* text; int expected; };
    const Row rows[] = {
        {L"0xff", 255}, {L"0xFF", 255}, {L"0xg1", 0}, {L"0XFF", 0}, {L"-12", -12}, {L"  +34", 34},
        {L"56abc", 56}, {L"", 0}, {L"0x", 0}, {L"0xFFFFFFFF", -1}, {L"0x100000001", 1},
        // Hexadecimal digits end at the first other unit, as decimal ones do.
        {L"0x1F,2", 31}, {L"0x10 ", 16}, {L"0x7fz", 127},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, STRING_toInt(row.text)) << "text \"" << row.text << "\"";
}

TEST(StringFtoa, WritesDigitsUntilTheFractionIsGone)
{
    struct Row { float value; int size; const wchar_t* expected; };
    const Row rows[] = {
        {2.5f, 32, L"2.5"}, {-3.0f, 32, L"-3"}, {0.0f, 32, L"0"}, {-0.25f, 32, L"-0.25"},
        {12.75f, 32, L"12.75"}, {1.0f / 3.0f, 6, L"0.333"}, {123456.0f, 4, L"123"}, {-7.5f, 2, L"-"},
        // Each step rounds to single precision, so 0.1 * 10 is 1 and the digits end there.
        {0.1f, 32, L"0.1"}, {0.3f, 32, L"0.3"}, {-0.1f, 32, L"-0.1"},
        {0.87f, 9, L"0.869999"}, {0.87f, 32, L"0.869999980926513671875"},
    };
    for (const Row& row : rows) {
        wchar_t szOut[32];
        STRING_ftoa(szOut, row.value, row.size);
        EXPECT_STREQ(row.expected, szOut) << "value " << row.value << " size " << row.size;
    }
}

TEST(StringItoa, WritesTheDecimalText)
{
    wchar_t szOut[16];
    EXPECT_EQ(3, STRING_itoa(szOut, -42, 16));
    EXPECT_STREQ(L"-42", szOut);
    EXPECT_EQ(-1, STRING_itoa(szOut, 12345, 3));
    EXPECT_STREQ(L"12", szOut);
}

TEST(StringToFloat, ReadsTheText)
{
    EXPECT_FLOAT_EQ(1.25f, STRING_toFloat(L"1.25"));
    EXPECT_FLOAT_EQ(-0.5f, STRING_toFloat(L" -0.5x"));
    EXPECT_FLOAT_EQ(0.0f, STRING_toFloat(nullptr));
}

TEST(StringIsNumber, AcceptsOneSignAndDigits)
{
    struct Row { const wchar_t* text; int allowBlank; int expected; };
    const Row rows[] = {
        {L"123", 0, 1}, {L"-123", 0, 1}, {L"+7", 0, 1}, {L"", 0, 1}, {L"-", 0, 1}, {L"--1", 0, 0},
        {L"1 2", 0, 0}, {L"1 2", 1, 1}, {L"1.5", 0, 0}, {L"１", 0, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, STRING_isNumber(row.text, row.allowBlank)) << "text \"" << row.text << "\"";
}

TEST(StringCase, ChangesOnlyAsciiLetters)
{
    wchar_t szText[] = L"abcXYZ-ａｂ日本";
    EXPECT_STREQ(L"ABCXYZ-ａｂ日本", STRING_upper(szText));
    EXPECT_STREQ(L"abcxyz-ａｂ日本", STRING_lower(szText));
    EXPECT_EQ(L'Q', STRING_toupper(L'q'));
    EXPECT_EQ(L'ｑ', STRING_toupper(L'ｑ'));
    EXPECT_EQ(nullptr, STRING_upper(nullptr));
}

TEST(StringChr, FindsUnits)
{
    const wchar_t* pText = L"abcabc";
    EXPECT_EQ(pText + 1, STRING_chr(pText, L'b'));
    EXPECT_EQ(pText + 4, STRING_chrR(pText, L'b'));
    EXPECT_EQ(pText + 2, STRING_chrI(pText, L'C'));
    EXPECT_EQ(nullptr, STRING_chrI(L"", L'a'));
    EXPECT_EQ(nullptr, STRING_chr(pText, L'z'));
    EXPECT_EQ(nullptr, STRING_chr(nullptr, L'a'));
    EXPECT_EQ(nullptr, STRING_chrN(pText, L'c', 2));
    EXPECT_EQ(pText + 2, STRING_chrN(pText, L'c', 3));
    EXPECT_EQ(pText + 2, STRING_chrN(pText, L'c', 0));
}

TEST(StringChrIndex, CountsTheTerminatorAsAPosition)
{
    EXPECT_EQ(-1, STRING_chrIndex(L'x', L""));
    EXPECT_EQ(2, STRING_chrIndex(0, L"ab"));
    EXPECT_EQ(1, STRING_chrIndex(L'b', L"ab"));
    EXPECT_EQ(-1, STRING_chrIndex(L'c', L"ab"));
    EXPECT_EQ(-1, STRING_chrIndex(L'a', nullptr));
}

TEST(StringIsSeparator, EmptySetSeparatesEverythingAndTheTerminatorAlways)
{
    EXPECT_EQ(1, STRING_isSeparator(L'a', L""));
    EXPECT_EQ(1, STRING_isSeparator(L'a', nullptr));
    EXPECT_EQ(1, STRING_isSeparator(0, L" "));
    EXPECT_EQ(1, STRING_isSeparator(L'\t', L" \t"));
    EXPECT_EQ(0, STRING_isSeparator(L'a', L" \t"));
}

TEST(StringNormalizePath, RemovesFoldersThatDotDotCancels)
{
    struct Row { const wchar_t* path; const wchar_t* expected; };
    const Row rows[] = {
        {L"c:\\a\\b\\..\\c", L"c:\\a\\c"},
        {L"a\\..\\b", L"a\\..\\b"},
        {L"c:\\a\\b\\..\\..\\c", L"c:\\c"},
        {L"c:/a/b/../c", L"c:/a/c"},
        {L"c:\\a\\b\\..", L"c:\\a\\b\\.."},
        {L"c:\\a\\..\\..\\b", L"c:\\..\\b"},
        {L"c:\\a\\b", L"c:\\a\\b"},
        {L"", L""},
    };
    for (const Row& row : rows) {
        wchar_t szPath[64];
        STRING_cpy(szPath, row.path);
        EXPECT_EQ(STRING_len(row.expected), STRING_normalizePath(szPath)) << "path " << row.path;
        EXPECT_STREQ(row.expected, szPath) << "path " << row.path;
    }
    EXPECT_EQ(0, STRING_normalizePath(nullptr));
}

TEST(StringParentPath, CutsTheLastSegment)
{
    struct Row { const wchar_t* path; int expected; const wchar_t* result; };
    const Row rows[] = {
        {L"a\\b\\", 1, L"a\\"}, {L"a\\b", 1, L"a"}, {L"c:\\x\\y.txt", 1, L"c:\\x"},
        {L"name", 0, L"name"}, {L"a\\", 0, L"a\\"}, {L"", 0, L""},
    };
    for (const Row& row : rows) {
        wchar_t szPath[64];
        STRING_cpy(szPath, row.path);
        EXPECT_EQ(row.expected, STRING_parentPath(szPath)) << "path " << row.path;
        EXPECT_STREQ(row.result, szPath) << "path " << row.path;
    }
}

TEST(MojiIsZen, TellsFullWidthUnits)
{
    struct Row { wchar_t unit; int expected; };
    const Row rows[] = {
        {L'~', 1}, {0x3042, 1}, {L'}', 0}, {0x203E, 0}, {0xFF76, 0}, {0xFF61, 0}, {0xFF60, 1}, {L'a', 0},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, MOJI_isZen(row.unit)) << "unit " << int(row.unit);
    EXPECT_EQ(1, MOJI_isZenStr(L"あ"));
    EXPECT_EQ(0, MOJI_isZenStr(nullptr));
    EXPECT_EQ(1, MOJI_step());
}
