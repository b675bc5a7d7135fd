#include "krelwin/module/listupscr.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/module/function_base.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

// Bytes that no script holds: every value, unbalanced quotes, comment marks and
// parentheses, and Shift-JIS lead bytes without their trail bytes.
std::string HostileBytes()
{
    std::string strBytes;
    unsigned int uSeed = 2024;
    for (int i = 0; i < 65536; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strBytes += static_cast<char>((uSeed >> 16) & 0xFF);
    }
    return strBytes + "(\"/*(,[\x81";
}

using sample_commands::Sjis;
typedef std::vector<std::wstring> Words;

class ListUpScrTest : public sample_commands::SampleCommandsTest
{
protected:
    void Scan(LISTUPSCR& _cList, const std::wstring& _strText)
    {
        _cList.Initialize();
        _cList.scanText(_strText.c_str(), static_cast<int>(_strText.size()));
    }
};

TEST_F(ListUpScrTest, WordsGoToTheTableOfTheCharacterAfterThem)
{
    struct Case {
        const char* name;
        std::wstring text;
        Words script, flag, label, other;
    };
    const Case cases[] = {
        {"call and argument", L"call(x)", {L"call"}, {}, {}, {L"x"}},
        {"label keeps its @", L"@label:\r\njump(@label)", {L"jump"}, {}, {L"@label"}, {L"@label"}},
        {"flag and index", L"flag[10] = on", {}, {L"flag"}, {}, {L"10", L"on"}},
        {"full stop, @ and backslash belong to words", L"obj.run(a\\b@c, x.y)", {L"obj.run"}, {}, {},
         {L"a\\b@c", L"x.y"}},
        {"a word is listed once", L"a a\r\na(a)", {L"a"}, {}, {}, {L"a"}},
        {"line comments", L"a // b\r\nc ; d\r\ne;f\r\ng", {}, {}, {}, {L"a", L"c", L"e", L"g"}},
        {"block comments", L"a /* b\r\n c */ d /* e", {}, {}, {}, {L"a", L"d"}},
        {"full-width text is passed over", L"\x3042\x3044" L"abc def \x3046(g)", {}, {}, {}, {L"def", L"g"}},
        {"full-width inside a word stays", L"ab\x3042 c", {}, {}, {}, {L"ab\x3042", L"c"}},
        {"lone carriage returns break lines", L"a\rb\r\rc", {}, {}, {}, {L"a", L"b", L"c"}},
        {"blank before the mark", L"name :x (y", {}, {}, {}, {L"name", L"x", L"y"}},
        {"operators start words", L"-1+x*y<z>w", {}, {}, {}, {L"1", L"x", L"y", L"z", L"w"}},
        {"no word starts inside a word", L"ab_cd", {}, {}, {}, {L"ab_cd"}},
        {"mark at the end of the text", L"f(", {L"f"}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        LISTUPSCR cList;
        Scan(cList, c.text);
        EXPECT_EQ(c.script, cList.m_cTable[LISTUPSCR::TABLE_SCRIPT].m_vEntry) << "case " << c.name;
        EXPECT_EQ(c.flag, cList.m_cTable[LISTUPSCR::TABLE_FLAG].m_vEntry) << "case " << c.name;
        EXPECT_EQ(c.label, cList.m_cTable[LISTUPSCR::TABLE_LABEL].m_vEntry) << "case " << c.name;
        EXPECT_EQ(c.other, cList.m_cTable[LISTUPSCR::TABLE_OTHER].m_vEntry) << "case " << c.name;
    }
    EXPECT_EQ(L"", Log());
}

TEST_F(ListUpScrTest, LongWordsAreRefusedWithTheirLength)
{
    LISTUPSCR cList;
    const std::wstring strKept(256, L'k');
    const std::wstring strLong(257, L'l');
    const std::wstring strHuge(5000, L'h');  // longer than any word buffer
    Scan(cList, strKept + L" " + strLong + L"(x) " + strHuge + L":");
    EXPECT_EQ((Words{strKept, L"x"}), cList.m_cTable[LISTUPSCR::TABLE_OTHER].m_vEntry);
    EXPECT_TRUE(cList.m_cTable[LISTUPSCR::TABLE_SCRIPT].m_vEntry.empty());
    EXPECT_TRUE(cList.m_cTable[LISTUPSCR::TABLE_LABEL].m_vEntry.empty());
    EXPECT_EQ(L"string over.257\r\nstring over.5000\r\n", Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);

    wchar_t szWord[4];
    EXPECT_EQ(6, LISTUPSCR::isDelimiter2(L"abcdef)", 100, szWord, 4));
    EXPECT_STREQ(L"abc", szWord);
    EXPECT_EQ(2, LISTUPSCR::isDelimiter2(L"abcdef", 2, szWord, 4)) << "the limit ends the word";
    EXPECT_STREQ(L"ab", szWord);
}

TEST_F(ListUpScrTest, FullTableRefusesOnlyNewWords)
{
    std::wstring strText;
    for (int i = 0; i < LISTUPSCR::SCRIPT_MAX; ++i) strText += L"f" + std::to_wstring(i) + L"()\r\n";
    strText += L"f0() f1() fnew()\r\n";
    LISTUPSCR cList;
    Scan(cList, strText);
    EXPECT_EQ(static_cast<size_t>(LISTUPSCR::SCRIPT_MAX), cList.m_cTable[LISTUPSCR::TABLE_SCRIPT].m_vEntry.size());
    EXPECT_EQ(L"Entry over.fnew\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(ListUpScrTest, ScriptLineGathersOverItsTargetsAndPrintsSorted)
{
    ASSERT_TRUE(m_dir.Write(L"a.scr", Sjis(L"*start:\r\nmsg(\"\x3053\x3093\x306b\x3061\x306f\")\r\n"
                                           L"if (flag[3]) goto(end)\r\n")));
    ASSERT_TRUE(m_dir.Write(L"b.scr", "end:\r\nmsg(bye) ; goto(start)\r\nflag[3] = 0\r\n"));
    LISTUPSCR cList;
    EXPECT_EQ(1, cList.Func(Line(L"a.scr").c_str()));
    EXPECT_EQ(1, cList.Func(Line(L"b.scr").c_str()));
    EXPECT_EQ(0, cList.Func(Line(L"gone.scr").c_str()));
    cList.Quit(0);
    EXPECT_EQ(L"●script(s) 2 entry\r\ngoto\r\nmsg\r\n"
              L"\n\n●flag(s) 1 entry\r\nflag\r\n"
              L"\n\n●label(s) 2 entry\r\nend\r\nstart\r\n"
              L"\n\n●etc(s) 5 entry\r\n0\r\n3\r\nbye\r\nend\r\nif\r\n",
              Log());

    // The next script line starts empty tables.
    Message_clear();
    EXPECT_EQ(1, cList.Func(Line(L"b.scr").c_str()));
    cList.Quit(1);
    EXPECT_EQ(L"●script(s) 1 entry\r\nmsg\r\n"
              L"\n\n●flag(s) 1 entry\r\nflag\r\n"
              L"\n\n●label(s) 1 entry\r\nend\r\n"
              L"\n\n●etc(s) 3 entry\r\n0\r\n3\r\nbye\r\n",
              Log());
    Message_clear();
    cList.Quit(1);
    EXPECT_EQ(L"", Log()) << "nothing scanned since the report";
}

TEST_F(ListUpScrTest, DISABLED_Benchmark)
{
    // 32,768 distinct words of the other kind, each met twice, and the table's report.
    std::wstring strText;
    unsigned int uSeed = 4711;
    for (int i = 0; i < 2 * LISTUPSCR::OTHER_MAX; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        const int iWord = (i < LISTUPSCR::OTHER_MAX) ? i : static_cast<int>((uSeed >> 8) % LISTUPSCR::OTHER_MAX);
        strText += L"w" + std::to_wstring(iWord * 7919 % 100003) + L"\r\n";
    }
    LISTUPSCR cList;
    LARGE_INTEGER liFreq, liStart, liScanned, liEnd;
    QueryPerformanceFrequency(&liFreq);
    QueryPerformanceCounter(&liStart);
    Scan(cList, strText);
    cList.m_iActive = 1;
    QueryPerformanceCounter(&liScanned);
    cList.Quit(1);
    QueryPerformanceCounter(&liEnd);
    std::printf("LISTUPSCR %d words: scan %.1f ms, sort and report %.1f ms\n", 2 * LISTUPSCR::OTHER_MAX,
                1000.0 * (liScanned.QuadPart - liStart.QuadPart) / liFreq.QuadPart,
                1000.0 * (liEnd.QuadPart - liScanned.QuadPart) / liFreq.QuadPart);
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(ListUpScrTest, HostileBytesAreScannedWithinTheText)
{
    ASSERT_TRUE(m_dir.Write(L"junk.scr", HostileBytes()));
    LISTUPSCR cModule;
    EXPECT_EQ(1, cModule.Func(Line(L"junk.scr", L"").c_str()));
    cModule.Quit(1);
    EXPECT_FALSE(Log().empty());
}

} // namespace
