#include "kelto/string/moji.h"
#include "kelto/string/string.h"

#include <gtest/gtest.h>

#include <algorithm>
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

namespace {

std::wstring Decode(const std::string& _strBytes)
{
    CMOJIUTIL cUtil;
    const int iBytes = static_cast<int>(_strBytes.size());
    const int iUnits = cUtil.MbToWcSize(_strBytes.data(), iBytes);
    std::wstring strUnits(static_cast<size_t>(iUnits > 0 ? iUnits : 0), L'#');
    if (iUnits > 0) {
        EXPECT_EQ(iUnits, cUtil.MbToWc(_strBytes.data(), iBytes, &strUnits[0]));
    }
    return strUnits;
}

std::string Encode(const std::wstring& _strUnits)
{
    CMOJIUTIL cUtil;
    const int iUnits = static_cast<int>(_strUnits.size());
    const int iBytes = cUtil.WcToMbSize(_strUnits.data(), iUnits);
    std::string strBytes(static_cast<size_t>(iBytes > 0 ? iBytes : 0), '#');
    if (iBytes > 0) {
        EXPECT_EQ(iBytes, cUtil.WcToMb(_strUnits.data(), iUnits, &strBytes[0]));
    }
    return strBytes;
}

} // namespace

// Bytes that are not Shift-JIS are carried as U+DC00 + byte and written back as they were,
// alone: the byte after them (a line end, an ASCII trail of a pair without a character) is
// a character of its own.
TEST(MojiUtil, BytesThatAreNotShiftJisComeBackUnchanged)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::wstring units;
    };
    const Row rows[] = {
        {"lead byte before CR LF", "a\x81\r\nb", {L'a', 0xDC81, L'\r', L'\n', L'b'}},
        {"lead byte at the end", "x\x9F", {L'x', 0xDC9F}},
        {"lead byte before a blank", "\xE0 ", {0xDCE0, L' '}},
        {"pair without a character, ASCII trail", "\x85\x40z", {0xDC85, L'@', L'z'}},
        {"pair without a character, then a pair", "\x85\x81\x40", {0xDC85, 0x3000}},
        {"bytes the code page does not use", "\xA0\xFD\xFE\xFF", {0xDCA0, 0xDCFD, 0xDCFE, 0xDCFF}},
        {"valid text is decoded", "\x82\xA0\xB1\x81\x45" "a", {0x3042, 0xFF71, 0x30FB, L'a'}},
        {"a NUL byte", std::string("\x81\0\x82\xA0", 4), {0xDC81, 0, 0x3042}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.units, Decode(row.bytes)) << "case " << row.name;
        EXPECT_EQ(row.bytes, Encode(Decode(row.bytes))) << "case " << row.name;
    }

    // The owning converters carry them the same way.
    CTOUTF16 cWide("a\x81\r\n\xFD");
    EXPECT_EQ((std::wstring{L'a', 0xDC81, L'\r', L'\n', 0xDCFD}), std::wstring(cWide.Get()));
    CTOSJIS cNarrow(cWide.Get());
    EXPECT_STREQ("a\x81\r\n\xFD", cNarrow.Get());

    // Escapes are no full-width characters; a low surrogate after a high one is half of a
    // character (code page 932 has none: '?'), not an escape.
    EXPECT_EQ(0, MOJI_isZen(static_cast<wchar_t>(0xDC81)));
    EXPECT_EQ(1, MOJI_isByteEscape(static_cast<wchar_t>(0xDC81)));
    EXPECT_EQ(std::string::npos, Encode({0xD800, 0xDC81}).find('\x81'));
}

// Every sequence of one or two bytes, and every lead byte before CR LF, decodes and encodes
// back to its bytes; only valid codes whose character has a twin code come back as the twin
// (NEC-selected IBM extensions, NEC row 13 and IBM extension codes), which decodes alike.
TEST(MojiUtil, EveryByteSequenceRoundTrips)
{
    int iTwins = 0;
    for (int a = 0; a < 256; ++a) {
        const std::string strOne(1, static_cast<char>(a));
        EXPECT_EQ(strOne, Encode(Decode(strOne))) << "byte " << a;
        const std::string strBreak = std::string(1, static_cast<char>(a)) + "\r\n";
        ASSERT_EQ(strBreak, Encode(Decode(strBreak))) << "byte " << a << " before CR LF";
        for (int b = 0; b < 256; ++b) {
            const std::string strTwo{static_cast<char>(a), static_cast<char>(b)};
            const std::wstring strUnits = Decode(strTwo);
            const std::string strBack = Encode(strUnits);
            if (strBack == strTwo) continue;
            // A twin: one valid character, whose other code decodes to it as well.
            ++iTwins;
            ASSERT_EQ(1u, strUnits.size()) << "pair " << a << "," << b;
            ASSERT_EQ(0, MOJI_isByteEscape(strUnits[0])) << "pair " << a << "," << b;
            ASSERT_EQ(2u, strBack.size()) << "pair " << a << "," << b;
            ASSERT_EQ(strUnits, Decode(strBack)) << "pair " << a << "," << b;
        }
    }
    EXPECT_EQ(398, iTwins);
    EXPECT_EQ("\xFA\x5C", Encode(Decode("\xED\x40")));
    EXPECT_EQ("\x81\xE0", Encode(Decode("\x87\x90")));
}

// A long text with one bad byte is decoded piece by piece; the rest of it as a whole text.
TEST(MojiUtil, OneBadByteInALongTextChangesNothingElse)
{
    std::string strText;
    while (strText.size() < 20000) strText += "\x82\xA0\x88\x9F text \xB1\r\n";
    const std::string strBad = strText.substr(0, 10001) + "\x81" + strText.substr(10001);
    const std::wstring strUnits = Decode(strBad);
    const std::wstring strGood = Decode(strText);
    ASSERT_EQ(strGood.size() + 1, strUnits.size());
    EXPECT_EQ(1, std::count(strUnits.begin(), strUnits.end(), static_cast<wchar_t>(0xDC81)));
    EXPECT_EQ(strBad, Encode(strUnits));
}
