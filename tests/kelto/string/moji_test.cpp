#include "kelto/string/moji.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(CtoSjis, ConvertsToTheSystemCodePage)
{
    CTOSJIS cEmpty(L"");
    ASSERT_NE(nullptr, cEmpty.Get());
    EXPECT_STREQ("", cEmpty.Get());

    CTOSJIS cNull(nullptr);
    EXPECT_EQ(nullptr, cNull.Get());
    CTOSJIS cNone;
    EXPECT_EQ(nullptr, cNone.Get());

    CTOSJIS cHira(L"\x3042");
    EXPECT_STREQ("\x82\xA0", cHira.Get());

    CTOSJIS cMixed(L"ｱ日本a");
    EXPECT_STREQ("\xB1\x93\xFA\x96\x7B" "a", cMixed.Get());

    // A new conversion replaces the held text.
    EXPECT_STREQ("xyz", cMixed.From(L"xyz"));
    EXPECT_STREQ("xyz", cMixed.Get());
    EXPECT_STREQ("", cMixed.From(nullptr));
}

TEST(CtoUtf16, ConvertsFromTheSystemCodePage)
{
    CTOUTF16 cHira("\x82\xA0");
    EXPECT_STREQ(L"\x3042", cHira.Get());
    CTOUTF16 cEmpty("");
    EXPECT_STREQ(L"", cEmpty.Get());
    CTOUTF16 cNull(nullptr);
    EXPECT_EQ(nullptr, cNull.Get());
    EXPECT_STREQ(L"ｱ日本a", cNull.From("\xB1\x93\xFA\x96\x7B" "a"));
}

TEST(MojiUtil, WideToBytesSkipsALeadingByteOrderMark)
{
    CMOJIUTIL cUtil;
    const wchar_t szText[] = {0xFEFF, L'a', L'b'};
    EXPECT_EQ(2, cUtil.WcToMbSize(szText, 3));
    char szOut[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(2, cUtil.WcToMb(szText, 3, szOut));
    EXPECT_EQ('a', szOut[0]);
    EXPECT_EQ('b', szOut[1]);
    EXPECT_EQ('#', szOut[2]) << "no terminator is written";

    EXPECT_EQ(4, cUtil.WcToMbSize(L"日本", 2));
    EXPECT_EQ(2, cUtil.WcToUtf8Size(szText, 3));
    EXPECT_EQ(3, cUtil.WcToUtf8Size(L"日", 1));
    EXPECT_EQ(0, cUtil.WcToMbSize(nullptr, 3));
    EXPECT_EQ(0, cUtil.WcToMbSize(szText, 0));
    EXPECT_EQ(0, cUtil.WcToMb(szText, 3, nullptr));
}

TEST(MojiUtil, BytesToWidePutsTheMarkFirstWhenAsked)
{
    CMOJIUTIL cUtil;
    EXPECT_EQ(0, cUtil.m_iBom);
    EXPECT_EQ(2, cUtil.MbToWcSize("ab", 2));
    cUtil.m_iBom = 1;
    EXPECT_EQ(3, cUtil.MbToWcSize("ab", 2));
    wchar_t szOut[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(3, cUtil.MbToWc("ab", 2, szOut));
    EXPECT_EQ(0xFEFF, szOut[0]);
    EXPECT_EQ(L'a', szOut[1]);
    EXPECT_EQ(L'b', szOut[2]);
    EXPECT_EQ(L'#', szOut[3]);
    cUtil.m_iBom = 0;
    EXPECT_EQ(1, cUtil.MbToWc("\x82\xA0", 2, szOut));
    EXPECT_EQ(0x3042, szOut[0]);
    EXPECT_EQ(0, cUtil.MbToWcSize(nullptr, 2));
    EXPECT_EQ(0, cUtil.MbToWc("ab", -1, szOut));
}

TEST(MojiUtil, Utf8Conversions)
{
    CMOJIUTIL cUtil;
    const char* pUtf8 = "\xE3\x81\x82z"; // U+3042 'z'
    EXPECT_EQ(2, cUtil.Utf8ToWcSize(pUtf8, 4));
    wchar_t szWide[4] = {0};
    EXPECT_EQ(2, cUtil.Utf8ToWc(pUtf8, 4, szWide));
    EXPECT_EQ(0x3042, szWide[0]);
    EXPECT_EQ(L'z', szWide[1]);

    const wchar_t szText[] = {0xFEFF, 0x3042};
    EXPECT_EQ(3, cUtil.WcToUtf8Size(szText, 2));
    char szOut[4] = {0};
    EXPECT_EQ(3, cUtil.WcToUtf8(szText, 2, szOut));
    EXPECT_EQ(0, std::memcmp(szOut, "\xE3\x81\x82", 3));
}

TEST(MojiUtil, SwapByteExchangesTheBytesOfEachUnit)
{
    CMOJIUTIL cUtil;
    wchar_t szUnits[2] = {static_cast<wchar_t>(0x80FF), static_cast<wchar_t>(0x1234)};
    EXPECT_EQ(2, cUtil.SwapByte(szUnits, 2));
    EXPECT_EQ(0xFF80, szUnits[0]);
    EXPECT_EQ(0x3412, szUnits[1]);
    EXPECT_EQ(0, cUtil.SwapByte(nullptr, 2));
}

TEST(MojiUtil, SjisCharSize)
{
    CMOJIUTIL cUtil;
    struct Row { const char* name; unsigned char b; unsigned char t; int expected; };
    const Row rows[] = {
        {"katakana before a lead byte", 0xB1, 0x8A, 1},
        {"lead and trail", 0x8A, 0xBF, 2},
        {"lead with a bad trail", 0x81, 0x20, -1},
        {"NUL", 0x00, 0x41, 0},
        {"ASCII", 'A', 0x00, 1},
        {"TAB", '\t', 0x00, 1},
        {"control byte", 0x01, 0x00, -1},
        {"high lead", 0xEF, 0xFC, 2},
        {"unused lead", 0xF0, 0x40, -1},
        {"0x80", 0x80, 0x40, -1},
    };
    for (const Row& row : rows) {
        const unsigned char abBytes[2] = {row.b, row.t};
        EXPECT_EQ(row.expected, cUtil.SjisCharSize(abBytes)) << "case " << row.name;
    }
    const unsigned char abLead[2] = {0x8A, 0xBF};
    EXPECT_EQ(-1, cUtil.SjisCharSize(abLead, 1)) << "the trail byte lies outside the buffer";
    EXPECT_EQ(2, cUtil.SjisCharSize(abLead, 2));
    EXPECT_EQ(-1, cUtil.SjisCharSize(nullptr));
}

TEST(MojiUtil, SjisLengthStaysInsideTheBytes)
{
    CMOJIUTIL cUtil;
    EXPECT_EQ(3, cUtil.SjisLength("\x82\xA0" "a\xB1", 4));
    EXPECT_EQ(0, cUtil.SjisLength("", 0));
    EXPECT_EQ(-1, cUtil.SjisLength("a\x01", 2));
    EXPECT_EQ(-1, cUtil.SjisLength("ab\0c", 4)) << "a NUL inside the bytes is not text";
    // The lead byte is the last of the n bytes; the valid trail byte after it is not theirs.
    EXPECT_EQ(-1, cUtil.SjisLength("a\x82\xA0", 2));
    EXPECT_EQ(-1, cUtil.SjisLength(nullptr, 2));
}

TEST(MojiUtil, Utf8Length)
{
    CMOJIUTIL cUtil;
    EXPECT_EQ(2, cUtil.Utf8Length("\xE3\x81\x82z", 4));
    EXPECT_EQ(1, cUtil.Utf8CharSize("z"));
    EXPECT_EQ(2, cUtil.Utf8CharSize("\xC3\xA9"));
    EXPECT_EQ(4, cUtil.Utf8CharSize("\xF0\x9F\x98\x80"));
    EXPECT_EQ(-1, cUtil.Utf8CharSize("\xC0\x80"));
    EXPECT_EQ(0, cUtil.Utf8CharSize(""));
    EXPECT_EQ(-1, cUtil.Utf8Length("\x82\xA0", 2));
}

TEST(MojiUtil, ScanJisEuc)
{
    CMOJIUTIL cUtil;
    struct Row { const char* name; std::string bytes; int expected; };
    const Row rows[] = {
        {"plain text", "abc\r\n", 0},
        {"JIS kanji in", "a\x1B$B", 1},
        {"JIS ascii in", "\x1B(J", 1},
        {"escape of something else", "\x1Bxa", 4},
        {"not text", std::string("a\0b", 3), -1},
        {"Shift-JIS only byte", "\x82\xA0", 2},
        {"EUC only byte", "\xA4\xFE", 3},
        {"EUC-like bytes", "\xA4\xA2", 4},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, cUtil.ScanJisEuc(row.bytes.data(), static_cast<int>(row.bytes.size())))
            << "case " << row.name;
}

TEST(MojiUtil, CheckCodeTypeGuessesTheEncoding)
{
    CMOJIUTIL cUtil;
    struct Row { const char* name; std::string bytes; int expected; };
    const Row rows[] = {
        {"ASCII", "plain text\r\n", MOJI_CODE_ASCII},
        {"JIS", "a\x1B$Bxyz", MOJI_CODE_JIS},
        {"EUC-JP", "\xA4\xA2\xFE", MOJI_CODE_EUC},
        {"UTF-16 LE mark", std::string("\xFF\xFE" "a\0", 4), MOJI_CODE_UTF16LE},
        {"UTF-16 BE mark", std::string("\xFE\xFF\0a", 4), MOJI_CODE_UTF16BE},
        {"empty", "", MOJI_CODE_UNKNOWN},
        {"UTF-8", "\xE3\x81\x82\xE3\x81\x84", MOJI_CODE_UTF8},
        {"Shift-JIS", "\x82\xA0\x82\xA2", MOJI_CODE_SJIS},
        {"UTF-16 LE ASCII without mark", std::string("a\0b\0", 4), MOJI_CODE_UTF16LE},
        {"UTF-16 BE ASCII without mark", std::string("\0N\0N", 4), MOJI_CODE_UTF16BE},
        {"UTF-16 LE kana without mark", std::string("a\0" "\x42\x30", 4), MOJI_CODE_UTF16LE},
        {"zeros", std::string(4, '\0'), MOJI_CODE_UNKNOWN},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, cUtil.CheckCodeType(row.bytes.data(), static_cast<int>(row.bytes.size())))
            << "case " << row.name;
    EXPECT_EQ(MOJI_CODE_UNKNOWN, cUtil.CheckCodeType(nullptr, 4));
}

TEST(MojiUtil, CheckCodeTypeOfOneByteReadsOnlyThatByte)
{
    CMOJIUTIL cUtil;
    // The byte after the one given would make a UTF-16 mark.
    const unsigned char abBytes[2] = {0xFF, 0xFE};
    EXPECT_NE(MOJI_CODE_UTF16LE, cUtil.CheckCodeType(abBytes, 1));
    const unsigned char abLead[2] = {0x82, 0xA0};
    EXPECT_NE(MOJI_CODE_SJIS, cUtil.CheckCodeType(abLead, 1));
    EXPECT_EQ(MOJI_CODE_ASCII, cUtil.CheckCodeType("a", 1));
}
