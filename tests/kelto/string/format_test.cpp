#include "kelto/string/string.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::wstring format(const wchar_t* _pFormat, ...)
{
    wchar_t szOut[256];
    va_list vaArgs;
    va_start(vaArgs, _pFormat);
    const int iLen = STRING_vsprintf(szOut, 256, _pFormat, vaArgs);
    va_end(vaArgs);
    EXPECT_EQ(static_cast<int>(std::wstring(szOut).size()), iLen) << "format " << _pFormat;
    return szOut;
}

} // namespace

TEST(StringSprintf, StringsFollowTheWideRules)
{
    EXPECT_EQ(L"name                    |", format(L"%-24s|", L"name"));
    EXPECT_EQ(L"        name|", format(L"%12s|", L"name"));
    EXPECT_EQ(L"ファイル:a.txt", format(L"%s:%s", L"ファイル", L"a.txt"));
    EXPECT_EQ(L"abc", format(L"%.3s", L"abcdef"));
    EXPECT_EQ(L"  ab", format(L"%*.*s", 4, 2, L"abcdef"));
    EXPECT_EQ(L"ab  |", format(L"%*s|", -4, L"ab"));
    EXPECT_EQ(L"(null)", format(L"%s", static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(L"wide", format(L"%ls", L"wide"));
    EXPECT_EQ(L"x", format(L"%c", L'x'));
    EXPECT_EQ(L"あ", format(L"%c", L'あ'));
    EXPECT_EQ(L"100%", format(L"%d%%", 100));
}

TEST(StringSprintf, NarrowStringsComeFromTheSystemCodePage)
{
    EXPECT_EQ(L"あい-ab", format(L"%S-%hs", "\x82\xA0\x82\xA2", "ab"));
    EXPECT_EQ(L"[   abc]", format(L"[%6S]", "abc"));
    EXPECT_EQ(L"Z", format(L"%C", 'Z'));
}

TEST(StringSprintf, Integers)
{
    struct Row { const wchar_t* expected; std::wstring actual; };
    const Row rows[] = {
        {L"0x00001A2B", format(L"0x%08X", 0x1A2Bu)},
        {L"  7", format(L"%3d", 7)},
        {L"7  |", format(L"%-3d|", 7)},
        {L"-42", format(L"%d", -42)},
        {L"-0042", format(L"%05d", -42)},
        {L"+5  5", format(L"%+d % d", 5, 5)},
        {L"  005", format(L"%5.3d", 5)},
        {L"-2147483648", format(L"%i", static_cast<int>(0x80000000u))},
        {L"4294967295", format(L"%u", 0xFFFFFFFFu)},
        {L"ff FF 17", format(L"%x %X %o", 255u, 255u, 15u)},
        {L"0xff 017", format(L"%#x %#o", 255u, 15u)},
        {L"123456 -7 ab", format(L"%ld %ld %lx", 123456L, -7L, 0xABUL)},
        {L"-1234567890123 9876543210", format(L"%I64d %lld", -1234567890123LL, 9876543210LL)},
        {L"18446744073709551615", format(L"%I64u", 0xFFFFFFFFFFFFFFFFULL)},
        {L"-1 65535", format(L"%hd %hu", 0xFFFF, 0xFFFF)},
        {L"", format(L"%.0d", 0)},
        {L"0", format(L"%d", 0)},
        {sizeof(void*) == 4 ? L"0012ABCD" : L"000000000012ABCD", format(L"%p", reinterpret_cast<void*>(0x12ABCD))},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, row.actual);
}

TEST(StringSprintf, FloatingPoint)
{
    EXPECT_EQ(L" 3.14", format(L"%5.2f", 3.14159));
    EXPECT_EQ(L"2.500000", format(L"%f", 2.5));
    EXPECT_EQ(L"-0.50", format(L"%.2f", -0.5));
    EXPECT_EQ(L"0.25|", format(L"%-4g|", 0.25));
    EXPECT_EQ(L"001.5", format(L"%05.1f", 1.5));
    EXPECT_EQ(0u, format(L"%.1e", 1500.0).find(L"1.5e+0"));
    EXPECT_EQ(L"12.3", format(L"%.*f", 1, 12.34));
}

TEST(StringSprintf, TextThatDoesNotFitIsCutAndTerminated)
{
    wchar_t szOut[8];
    for (wchar_t& c : szOut) c = L'#';
    EXPECT_EQ(-1, STRING_sprintf(szOut, 8, L"%s", L"abcdefghij"));
    EXPECT_STREQ(L"abcdefg", szOut);

    EXPECT_EQ(7, STRING_sprintf(szOut, 8, L"%s", L"abcdefg")) << "exactly size - 1 units fit";
    EXPECT_STREQ(L"abcdefg", szOut);

    EXPECT_EQ(-1, STRING_sprintf(szOut, 8, L"0x%08X!", 1u));
    EXPECT_STREQ(L"0x00000", szOut);

    EXPECT_EQ(-1, STRING_sprintf(szOut, 8, L"%-24s", L"a"));
    EXPECT_STREQ(L"a      ", szOut);

    EXPECT_EQ(-1, STRING_sprintf(szOut, 1, L"x"));
    EXPECT_STREQ(L"", szOut);

    wchar_t szGuard[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(-1, STRING_sprintf(szGuard, 4, L"%5.2f", 3.14159));
    EXPECT_STREQ(L" 3.", szGuard);
    EXPECT_EQ(L'#', szGuard[4]) << "nothing written beyond size units";

    EXPECT_EQ(-1, STRING_sprintf(nullptr, 8, L"x"));
    EXPECT_EQ(-1, STRING_sprintf(szOut, 0, L"x"));
}

TEST(StringVsprintf, GivesANegativeValueWhenTheTextDoesNotFit)
{
    struct Local {
        static int call(wchar_t* _pOut, int _iSize, const wchar_t* _pFormat, ...)
        {
            va_list vaArgs;
            va_start(vaArgs, _pFormat);
            const int iResult = STRING_vsprintf(_pOut, _iSize, _pFormat, vaArgs);
            va_end(vaArgs);
            return iResult;
        }
    };
    wchar_t szOut[4];
    EXPECT_LT(Local::call(szOut, 4, L"%d", 12345), 0);
    EXPECT_STREQ(L"123", szOut);
    EXPECT_EQ(3, Local::call(szOut, 4, L"%d", 123));
}

TEST(StringSprintf, UnknownConversionsAndALonePercentStayAsWritten)
{
    EXPECT_EQ(L"%k", format(L"%k"));
    EXPECT_EQ(L"50%", format(L"50%"));
}

TEST(StringSprintf, StarArgumentsOfEveryIntAreTakenWithoutOverflow)
{
    // INT_MIN as a width is a left-justified field far wider than any buffer.
    struct Row { const char* name; const wchar_t* format; int star; int result; const wchar_t* text; };
    const Row rows[] = {
        {"width INT_MIN, integer", L"%*d|", INT_MIN, -1, L"5      "},
        {"width INT_MIN, text", L"%*s|", INT_MIN, -1, L"5      "},
        {"width INT_MAX", L"%*d|", INT_MAX, -1, L"       "},
        {"width -1", L"%*d|", -1, 2, L"5|"},
        {"precision INT_MIN is no precision", L"%.*d|", INT_MIN, 2, L"5|"},
        {"precision INT_MAX, text", L"%.*s|", INT_MAX, 2, L"5|"},
    };
    for (const Row& row : rows) {
        wchar_t szOut[8];
        const bool bText = row.format[std::wstring(row.format).find(L'|') - 1] == L's';
        const int iResult = bText ? STRING_sprintf(szOut, 8, row.format, row.star, L"5")
                                  : STRING_sprintf(szOut, 8, row.format, row.star, 5);
        EXPECT_EQ(row.result, iResult) << "case " << row.name;
        EXPECT_STREQ(row.text, szOut) << "case " << row.name;
    }
    wchar_t szFloat[8];
    EXPECT_EQ(-1, STRING_sprintf(szFloat, 8, L"%*.1f|", INT_MIN, 2.5));
    EXPECT_STREQ(L"2.5    ", szFloat);
    EXPECT_EQ(4, STRING_sprintf(szFloat, 8, L"%.*g|", INT_MIN, 0.5)) << "precision INT_MIN is no precision";
    EXPECT_STREQ(L"0.5|", szFloat);
}
