#include "krelwin/module/common/kanji_check.h"

#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

TEST(KanjiCheckCategory, CodeRangesIncludeBothBounds) {
    struct Row {
        unsigned int uCode;
        int iKind;
    };
    const Row aRow[] = {
        {0x813F, KANJI_CHECK::KIND_NONE},   {0x8140, KANJI_CHECK::KIND_LEVEL1},
        {0x9872, KANJI_CHECK::KIND_LEVEL1}, {0x9873, KANJI_CHECK::KIND_NONE},
        {0x988F, KANJI_CHECK::KIND_NONE},   {0x9890, KANJI_CHECK::KIND_LEVEL2},
        {0x989F, KANJI_CHECK::KIND_LEVEL2}, {0xEAA4, KANJI_CHECK::KIND_LEVEL2},
        {0xEAA5, KANJI_CHECK::KIND_NONE},   {0xED3F, KANJI_CHECK::KIND_NONE},
        {0xED40, KANJI_CHECK::KIND_NEC},    {0xEEFB, KANJI_CHECK::KIND_NEC},
        {0xEEFC, KANJI_CHECK::KIND_NONE},   {0xF03F, KANJI_CHECK::KIND_NONE},
        {0xF040, KANJI_CHECK::KIND_EXT},    {0xF14B, KANJI_CHECK::KIND_EXT},
        {0xF14C, KANJI_CHECK::KIND_EXT},    {0xF9FC, KANJI_CHECK::KIND_EXT},
        {0xFA3F, KANJI_CHECK::KIND_NONE},   {0xFA40, KANJI_CHECK::KIND_IBM},
        {0xFC4B, KANJI_CHECK::KIND_IBM},    {0xFC4C, KANJI_CHECK::KIND_NONE},
        {0x0041, KANJI_CHECK::KIND_NONE},
    };
    for (const Row& r : aRow) EXPECT_EQ(r.iKind, KANJI_CHECK::Category(r.uCode)) << std::hex << r.uCode;
}

// Classification goes through the system code page, so it sees what code page 932 makes
// of a character, not the bytes the file held.
TEST(KanjiCheckCategory, CharactersAreClassifiedByTheirCodePageBytes) {
    struct Row {
        wchar_t cUnit;
        int iKind;
        const char* pName;
    };
    const Row aRow[] = {
        {L'A', KANJI_CHECK::KIND_NONE, "ASCII"},
        {0xFF71, KANJI_CHECK::KIND_NONE, "half-width katakana"},
        {0x3001, KANJI_CHECK::KIND_LEVEL1, "ideographic comma 8141"},
        {0xFF21, KANJI_CHECK::KIND_LEVEL1, "full-width A 8260"},
        {0x3042, KANJI_CHECK::KIND_LEVEL1, "hiragana a 82A0"},
        {0x2460, KANJI_CHECK::KIND_LEVEL1, "circled one, NEC row 13 8740"},
        {0x4E9C, KANJI_CHECK::KIND_LEVEL1, "first level-1 kanji 889F"},
        {0x8155, KANJI_CHECK::KIND_LEVEL1, "last level-1 kanji 9872"},
        {0x5F0C, KANJI_CHECK::KIND_LEVEL2, "first level-2 kanji 989F"},
        {0x7199, KANJI_CHECK::KIND_LEVEL2, "last level-2 kanji EAA4"},
        {0x7E8A, KANJI_CHECK::KIND_IBM, "NEC-selected ED40 converts to FA5C"},
        {0xFFE2, KANJI_CHECK::KIND_LEVEL1, "NEC-selected EEF9 converts to 81CA"},
        {0x2170, KANJI_CHECK::KIND_IBM, "small roman one FA40"},
        {0x9ED1, KANJI_CHECK::KIND_IBM, "last IBM extension FC4B"},
        {0xE000, KANJI_CHECK::KIND_EXT, "first user-defined F040"},
        {0xE0C8, KANJI_CHECK::KIND_EXT, "user-defined F14C"},
        {0xE757, KANJI_CHECK::KIND_EXT, "last user-defined F9FC"},
        {0x4E02, KANJI_CHECK::KIND_NONE, "not in code page 932: replacement"},
        {0xD800, KANJI_CHECK::KIND_NONE, "lone surrogate"},
        {0, KANJI_CHECK::KIND_NONE, "NUL"},
    };
    std::unique_ptr<KANJI_CHECK> pCheck(new KANJI_CHECK);
    for (int iPass = 0; iPass < 2; ++iPass) {  // the second pass reads the cache
        for (const Row& r : aRow) EXPECT_EQ(r.iKind, pCheck->Classify(r.cUnit)) << r.pName;
    }
}

TEST(KanjiCheckCategory, IsNewLooksForTheOneCharacter) {
    EXPECT_EQ(1, KANJI_CHECK::isNew(L"", L"亜"));
    EXPECT_EQ(0, KANJI_CHECK::isNew(L"弌亜", L"亜"));
    EXPECT_EQ(1, KANJI_CHECK::isNew(L"弌亜", L"熙"));
    EXPECT_EQ(0, KANJI_CHECK::isNew(0, L"熙"));
}

class KanjiCheckTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_pCheck.reset(new KANJI_CHECK);
    }
    void TearDown() override {
        s_stGl.m_iRunning = 0;
        s_stGl.TimerID = 0;
        s_stGl.m_lstScript.clear();
        s_stGl.m_itScript = s_stGl.m_lstScript.end();
        m_pCheck.reset();
        Module_releaseAll();
        EngineTest::TearDown();
    }
    int Run(const std::wstring& _strTarget, const std::wstring& _strArgs) {
        return m_pCheck->Func((L"\"" + m_dir.Path(_strTarget) + L"\" " + _strArgs).c_str());
    }
    std::unique_ptr<KANJI_CHECK> m_pCheck;
};

// あ い 亜 亜 亜 弌 弌 熙, a comment holding 熙 熙, 纊 as NEC-selected bytes ED40, ⅰ FA40,
// the user-defined F040 inside quotes, half-width ｱ and ASCII.
const char* const kSample =
    "\x82\xa0\x82\xa2\x88\x9f\x88\x9f\x88\x9f\x98\x9f\x98\x9f\xea\xa4\r\n"
    "// \xea\xa4\xea\xa4\r\n"
    "\xed\x40\xfa\x40\"\xf0\x40\"\xb1" "A /* \x98\x9f */\r\n";

TEST_F(KanjiCheckTest, ReportsPerFileAndTotalsAtEachDetailLevel) {
    const std::wstring strTotalTail =
        L"第2水準漢字    = 3ｹ所\r\n弌熙 2(s)\r\n"
        L"IBM拡張        = 2ｹ所\r\n纊ⅰ 2(s)\r\n"
        L"外字           = 1ｹ所\r\n\xE000 1(s)\r\n";
    struct Row {
        const wchar_t* pArgs;
        std::wstring strLog;
    };
    const std::wstring strPath = m_dir.Path(L"t.txt");
    const std::wstring strFile = L"<" + strPath + L">\r\n第1水準 = 5\r\n第2水準 = 3\r\n\t弌熙 2(s)\r\n"
                                 L"IBM拡張 = 2\r\n\t纊ⅰ 2(s)\r\n外字 = 1\r\n\t\xE000 1(s)\r\n\r\n";
    const Row aRow[] = {
        {L"", L"\r\n---TOTAL---\r\n第1水準漢字    = 5ｹ所\r\n" + strTotalTail},
        {L"0", L"\r\n---TOTAL---\r\n第1水準漢字    = 5ｹ所\r\n" + strTotalTail},
        {L"1", strFile + L"\r\n---TOTAL---\r\n第1水準漢字    = 5ｹ所\r\n" + strTotalTail},
        {L"2", strFile + L"\r\n---TOTAL---\r\n第1水準漢字    = 5ｹ所\r\nあい亜 3(s)\r\n" + strTotalTail},
    };
    ASSERT_TRUE(m_dir.Write(L"t.txt", kSample));
    for (const Row& r : aRow) {
        SCOPED_TRACE(testing::Message() << "detail '" << Narrow(r.pArgs) << "'");
        Message_clear();
        EXPECT_EQ(1, Run(L"t.txt", r.pArgs));
        EXPECT_EQ(m_pCheck->TotalCount(KANJI_CHECK::KIND_LEVEL1), 5);
        m_pCheck->Quit(0);
        EXPECT_EQ(r.strLog, Log());
        // Reported once: the next line starts afresh.
        m_pCheck->Quit(1);
        EXPECT_EQ(r.strLog, Log());
    }
    EXPECT_EQ(kSample, m_dir.Read(L"t.txt"));
}

TEST_F(KanjiCheckTest, TotalsGatherOverTheFilesOfALine) {
    ASSERT_TRUE(m_dir.Write(L"a.txt", "\x98\x9f\x98\x9f\xea\xa4\r\n"));  // 弌 弌 熙
    ASSERT_TRUE(m_dir.Write(L"b.txt", "\xea\xa4\x98\xa0\x82\xa0"));       // 熙 丐 あ
    EXPECT_EQ(1, Run(L"a.txt", L"1"));
    EXPECT_EQ(1, Run(L"b.txt", L"1"));
    m_pCheck->Quit(0);
    EXPECT_EQ(L"<" + m_dir.Path(L"a.txt") + L">\r\n第2水準 = 3\r\n\t弌熙 2(s)\r\n\r\n"
              L"<" + m_dir.Path(L"b.txt") + L">\r\n第1水準 = 1\r\n第2水準 = 2\r\n\t熙丐 2(s)\r\n\r\n"
              L"\r\n---TOTAL---\r\n第1水準漢字    = 1ｹ所\r\n第2水準漢字    = 5ｹ所\r\n弌熙丐 3(s)\r\n",
              Log());
}

TEST_F(KanjiCheckTest, MissingOrEmptyTargetIsNotClassifiedAndLogsNothing) {
    ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
    EXPECT_EQ(0, Run(L"missing.txt", L"1"));
    EXPECT_EQ(0, Run(L"empty.txt", L"1"));
    m_pCheck->Quit(1);
    EXPECT_EQ(L"", Log());
    // A text of single-byte characters only is classified and reports no kind.
    ASSERT_TRUE(m_dir.Write(L"ascii.txt", "abc \xb1\xb2\r\n"));
    EXPECT_EQ(1, Run(L"ascii.txt", L""));
    m_pCheck->Quit(1);
    EXPECT_EQ(L"\r\n---TOTAL---\r\n", Log());
}

// Shift-JIS bytes of _iCount distinct level-2 kanji from 989F on.
std::string Level2Kanji(int _iCount) {
    std::string str;
    unsigned int uLead = 0x98, uTrail = 0x9F;
    for (int i = 0; i < _iCount; ++i) {
        str += static_cast<char>(uLead);
        str += static_cast<char>(uTrail);
        if (++uTrail == 0x7F) ++uTrail;
        if (uTrail > 0xFC) {
            uTrail = 0x40;
            if (++uLead == 0xA0) uLead = 0xE0;
        }
    }
    return str;
}

int CountLines(const std::wstring& _strLog, const std::wstring& _strLine) {
    int iCount = 0;
    for (size_t u = 0; (u = _strLog.find(_strLine + L"\r\n", u)) != std::wstring::npos; u += _strLine.size()) ++iCount;
    return iCount;
}

TEST_F(KanjiCheckTest, FullCollectionsReportEveryFurtherCharacterAndCountingGoesOn) {
    // 257 distinct characters and the first once more: the file's collection of 256 is
    // full for the last two, the run's collection of 1,000 takes all distinct ones.
    const std::string strFirst = Level2Kanji(1);
    ASSERT_TRUE(m_dir.Write(L"a.txt", Level2Kanji(257) + strFirst));
    EXPECT_EQ(1, Run(L"a.txt", L"1"));
    EXPECT_EQ(2, CountLines(Log(), L"領域オーバー"));
    EXPECT_NE(std::wstring::npos, Log().find(L"第2水準 = 258\r\n\t"));
    EXPECT_NE(std::wstring::npos, Log().find(L" 256(s)\r\n"));
    Message_clear();
    m_pCheck->Quit(0);
    EXPECT_NE(std::wstring::npos, Log().find(L"第2水準漢字    = 258ｹ所\r\n"));
    EXPECT_NE(std::wstring::npos, Log().find(L" 257(s)\r\n"));

    // Without details only the run's collection: 1,001 distinct and one repeat.
    Message_clear();
    ASSERT_TRUE(m_dir.Write(L"b.txt", Level2Kanji(1001) + strFirst));
    EXPECT_EQ(1, Run(L"b.txt", L""));
    EXPECT_EQ(2, CountLines(Log(), L"領域オーバー"));
    m_pCheck->Quit(0);
    EXPECT_NE(std::wstring::npos, Log().find(L"第2水準漢字    = 1002ｹ所\r\n"));
    EXPECT_NE(std::wstring::npos, Log().find(L" 1000(s)\r\n"));
    EXPECT_EQ(0, s_stGl.m_iErrorCount) << "a full collection is no error of the run";
}

TEST_F(KanjiCheckTest, DispatcherRunsTheCommandAndReportsAtTheEndOfTheLine) {
    ASSERT_TRUE(m_dir.Write(L"a.txt", "\x98\x9f"));
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"KANJI_CHECK";
    Command_exec(stLine, m_dir.Path(L"a.txt").c_str());
    Command_quit(0);
    EXPECT_EQ(L"\r\n---TOTAL---\r\n第2水準漢字    = 1ｹ所\r\n弌 1(s)\r\n", Log());
    // The next line starts afresh.
    Message_clear();
    Command_exec(stLine, m_dir.Path(L"a.txt").c_str());
    Command_quit(1);
    EXPECT_EQ(L"\r\n---TOTAL---\r\n第2水準漢字    = 1ｹ所\r\n弌 1(s)\r\n", Log());
}

// A stopped run never tells its modules: the next run, or its first line's end, must not
// count or report the stopped run's files.
TEST_F(KanjiCheckTest, AStoppedRunLeavesNoCountsToTheNextRun) {
    ASSERT_TRUE(m_dir.Write(L"a.txt", "\x98\x9f"));  // 弌
    const std::wstring strReport = L"\r\n---TOTAL---\r\n第2水準漢字    = 1ｹ所\r\n弌 1(s)\r\n";
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"KANJI_CHECK";
    s_stGl.m_lstScript.push_back(stLine);
    s_stGl.m_lstScript.push_back(stLine);
    s_stGl.m_iRunning = 1;
    auto file = [&](int _iLine, int _iFile) {
        s_stGl.m_itScript = s_stGl.m_lstScript.begin();
        std::advance(s_stGl.m_itScript, _iLine);
        s_stGl.m_iFileIndex = _iFile;
        EXPECT_EQ(1, Run(L"a.txt", L""));
    };
    // Run 1 is stopped after two files of its first line.
    s_stGl.TimerID = 7;
    file(0, 0);
    file(0, 1);
    // Run 2 starts with the line again: one file, one count.
    s_stGl.TimerID = 8;
    file(0, 0);
    m_pCheck->Quit(0);
    EXPECT_EQ(strReport, Log());
    // Run 3 is stopped in its second line; run 4 has another command in its first line,
    // whose end reports nothing of run 3.
    Message_clear();
    s_stGl.TimerID = 9;
    file(1, 0);
    s_stGl.TimerID = 10;
    m_pCheck->Quit(0);
    EXPECT_EQ(L"", Log());
    m_pCheck->Quit(1);
    EXPECT_EQ(L"", Log());
    // Run 5 is stopped and run 6 gets the same timer: its first file still starts afresh.
    s_stGl.TimerID = 11;
    file(0, 0);
    file(0, 0);
    m_pCheck->Quit(1);
    EXPECT_EQ(strReport, Log());
}

// Benchmark, not a test: 10 MB of Shift-JIS text (kana, level-1 and level-2 kanji, ASCII).
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(KanjiCheckTest, DISABLED_Benchmark) {
    const std::string strLevel2 = Level2Kanji(500);
    std::string strText;
    strText.reserve(10u << 20);
    unsigned int uSeed = 12345;
    auto next = [&]() { uSeed = uSeed * 1103515245u + 12345u; return (uSeed >> 16) & 0x7FFF; };
    while (strText.size() < (10u << 20)) {
        for (int c = 0; c < 40; ++c) {
            const unsigned int r = next() % 100;
            if (r < 40) {  // hiragana 829F-82F1
                strText += '\x82';
                strText += static_cast<char>(0x9F + next() % 80);
            } else if (r < 80) {  // level-1 kanji 889F-88FC
                strText += '\x88';
                strText += static_cast<char>(0x9F + next() % 90);
            } else if (r < 90) {
                const size_t u = (next() % 500) * 2;
                strText.append(strLevel2, u, 2);
            } else {
                strText += static_cast<char>('a' + next() % 26);
            }
        }
        strText += "\r\n";
    }
    ASSERT_TRUE(m_dir.Write(L"big.txt", strText));
    const auto tStart = std::chrono::steady_clock::now();
    EXPECT_EQ(1, Run(L"big.txt", L"2"));
    m_pCheck->Quit(1);
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf("KANJI_CHECK benchmark: %zu bytes, detail 2, %.3f s\n", strText.size(), dSeconds);
}

// Benchmark, not a test: 10 MB of script text with a "//" comment on every fourth line.
TEST_F(KanjiCheckTest, DISABLED_BenchmarkCommentedScript) {
    std::string strText;
    strText.reserve(10u << 20);
    unsigned int uSeed = 12345;
    auto next = [&]() { uSeed = uSeed * 1103515245u + 12345u; return (uSeed >> 16) & 0x7FFF; };
    for (int iLine = 0; strText.size() < (10u << 20); ++iLine) {
        for (int c = 0; c < 30; ++c) {
            strText += '\x88';
            strText += static_cast<char>(0x9F + next() % 90);
        }
        if (iLine % 4 == 0) strText += "\t// \x82\xa0\x82\xa2 note";
        strText += "\r\n";
    }
    ASSERT_TRUE(m_dir.Write(L"big.txt", strText));
    const auto tStart = std::chrono::steady_clock::now();
    EXPECT_EQ(1, Run(L"big.txt", L"1"));
    m_pCheck->Quit(1);
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf("KANJI_CHECK benchmark, commented: %zu bytes, detail 1, %.3f s\n", strText.size(), dSeconds);
}

}  // namespace
