// REPLACE, REPLACE_REM and REPLACE_REGEX on targets: what the rules make of a text, the
// remarks, the output path, the capacity and the range markers.
#include "tests/krelwin/module/replace_fixture.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

#include "kelto/string/string.h"
#include "krelwin/params/rangecheck.h"

namespace replacetest {
namespace {

struct TEXT_CASE
{
    const char* m_pName;
    const wchar_t* m_pRules;
    const wchar_t* m_pText;
    const wchar_t* m_pArgs;  // after the rule file
    int m_iMode;
    const wchar_t* m_pExpect;
    int m_iCount;
};

const TEXT_CASE s_aTextCase[] = {
    {"literal", L"abc\tx\r\n", L"abcabc", L"", 0, L"xx", 2},
    {"longer pattern wins, file order short first", L"ab\t1\r\nabc\t2\r\n", L"abcd", L"", 0, L"2d", 1},
    {"longer pattern wins, file order long first", L"abc\t2\r\nab\t1\r\n", L"abcd abx", L"", 0, L"2d 1x", 2},
    {"search alone deletes", L"bad\r\n", L"a bad day\r\n", L"", 0, L"a  day\r\n", 1},
    {"several TABs separate, last line without line break", L"cat\t\t\tdog", L"cat cat", L"", 0, L"dog dog", 2},
    {"tab run kept through \\ts", L"X\\tsY\tX\\tsZ\r\n", L"X\t\tY XY X\tY", L"", 0, L"X\t\tZ XY X\tZ", 2},
    {"digits through \\val", L"No\\val\t#\\val\r\n", L"No12; No; No7", L"", 0, L"#12; No; #7", 2},
    {"wide run through \\knj", L"<\\knj>\t[\\knj]\r\n", L"<漢字><a>", L"", 0, L"[漢字]<a>", 1},
    {"word units through \\wrd", L"{\\wrd}\t(\\wrd)\r\n", L"{ab_9} {a b}", L"", 0, L"(ab_9) {a b}", 1},
    {"any unit through \\str", L"a\\strc\tZ\r\n", L"abc a\tc ac", L"", 0, L"Z Z ac", 2},
    {"block to the next blank line", L"BEGIN\\blk\t<\\blk>\r\n", L"BEGIN abc\r\ndef\r\n\r\nrest",
     L"", 0, L"< abc\r\ndef>\r\n\r\nrest", 1},
    {"line break and TAB in a pattern", L"a\\nb\\tc\tX\r\n", L"a\r\nb\tc", L"", 0, L"X", 1},
    {"line break in a replacement keeps the indentation", L"foo\tA\\nB\r\n", L"\t\tfoo\r\n",
     L"", 0, L"\t\tA\r\n\t\tB\r\n", 1},
    {"indentation is that of the match's own line", L"foo\tA\\nB\r\n", L"\tx\r\nfoo", L"", 0,
     L"\tx\r\nA\r\nB", 1},
    {"TAB, doubled backslash and plain escapes in a replacement", L"k\t1\\t2\\\\3\\q\\str\r\n", L"k", L"", 0,
     L"1\t2\\3qstr", 1},
    {"a doubled backslash before n gives a backslash and a line break", L"k\ta\\\\nb\r\n", L"k", L"", 0,
     L"a\\\r\nb", 1},
    {"a backslash of the text matches the pattern's as a plain unit", L"\\val\tV\r\n", L"\\val 12", L"", 0,
     L"V V", 2},
    {"capture missing from the pattern is empty", L"No\\val\t#\\wrd\r\n", L"No12;", L"", 0, L"#;", 1},
    {"text resumes after the match when the replacement names no capture", L"\\valX\tY\r\n", L"123X456",
     L"", 0, L"Y456", 1},
    {"greedy runs are not given back", L"\\val0\tZ\r\n", L"100", L"", 0, L"100", 0},
    {"a pattern of markers alone matches nothing", L"\\blk\tZ\r\n", L"ab", L"", 0, L"ab", 0},
    {"word mode: only whole words", L"id\tID\r\n", L"id=1 idx=1 (id)\r\n", L"-op", 0, L"ID=1 idx=1 (ID)\r\n", 2},
    {"word mode: a word ending the text does not match", L"id\tID\r\n", L"x id", L"-oP", 0, L"x id", 0},
    {"word mode: the end of a match with escapes is tested", L"v\\val\tN\r\n", L"v1;v123;v1x;", L"-op", 0,
     L"N;N;v1x;", 2},
    {"-o without p is not word mode", L"id\tID\r\n", L"idx", L"-ox", 0, L"IDx", 1},
    {"remarks name the rules fired on each line", L"foo\tbar\r\nbaz\tqux\r\n", L"foo baz\r\nx\r\n", L"", 1,
     L"bar qux\t//R:foobaz\r\nx\r\n", 2},
    {"a last line without a line break gets no remark", L"foo\tbar\r\n", L"foo\r\nfoo foo", L"", 1,
     L"bar\t//R:foo\r\nbar bar", 3},
};

TEST_F(ReplaceTest, RulesRewriteTheTarget)
{
    for (const TEXT_CASE& stCase : s_aTextCase) {
        SCOPED_TRACE(stCase.m_pName);
        Write(L"rules.txt", stCase.m_pRules);
        Write(L"t.txt", stCase.m_pText);
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        REPLASE cRep;
        EXPECT_EQ(1, Run(cRep, L"t.txt", std::wstring(L"rules.txt ") + stCase.m_pArgs, stCase.m_iMode));
        cRep.Quit(0);
        EXPECT_EQ(stCase.m_pExpect, Text(L"t.txt"));
        EXPECT_EQ(L"t.txt replaced." + std::to_wstring(stCase.m_iCount) + L"\r\n", Log());
        EXPECT_EQ(iErrors, s_stGl.m_iErrorCount);
    }
}

TEST_F(ReplaceTest, RemarkKeepsTheWholePatternsThatFit)
{
    // 511 units: the opening and two 200-unit patterns fit, the third is left out.
    const std::wstring a(200, L'a'), b(200, L'b'), c(200, L'c');
    Write(L"rules.txt", a + L"\t1\r\n" + b + L"\t2\r\n" + c + L"\t3\r\n");
    Write(L"t.txt", a + b + c + L"\r\n" + c + L"\r\n");
    REPLASE cRep;
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt", 1));
    cRep.Quit(0);
    EXPECT_EQ(L"123\t//R:" + a + b + L"\r\n3\t//R:" + c + L"\r\n", Text(L"t.txt"));
}

TEST_F(ReplaceTest, OutputPathLeavesTheTargetAndExpandsTheName)
{
    Write(L"rules.txt", L"a\tb\r\n");
    Write(L"t.txt", L"aaa\r\n");
    REPLASE cRep;
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt out\\%0.new"));
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt out\\%0.new"));  // second: overwrite asked
    cRep.Quit(0);
    EXPECT_EQ(L"aaa\r\n", Text(L"t.txt"));
    EXPECT_EQ(L"bbb\r\n", Text(L"out\\t.new"));
    EXPECT_EQ(1, s_iAsked);
    EXPECT_EQ(L"t.txt replaced.3\r\nt.txt replaced.3\r\n", Log());
}

TEST_F(ReplaceTest, RegexModeReportsAndWritesTheTextUnchanged)
{
    Write(L"rules.txt", L"a\tb\r\n");
    Write(L"t.txt", L"漢字 a\r\n");
    REPLASE cRep;
    const int iErrors = s_stGl.m_iErrorCount;
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt out.txt", 2));
    cRep.Quit(0);
    EXPECT_EQ(L"漢字 a\r\n", Text(L"out.txt"));
    EXPECT_EQ(L"正規表現が無効です。USE_BOOSTを有効にしてビルドして下さい.\r\nt.txt replaced.0\r\n", Log());
    EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount);
}

TEST_F(ReplaceTest, TargetThatCannotBeReadIsLeftAlone)
{
    Write(L"rules.txt", L"a\tb\r\n");
    Write(L"empty.txt", L"");
    REPLASE cRep;
    EXPECT_EQ(0, Run(cRep, L"empty.txt", L"rules.txt"));
    EXPECT_EQ(0, Run(cRep, L"missing.txt", L"rules.txt"));
    cRep.Quit(0);
    EXPECT_TRUE(m_dir.IsFile(L"empty.txt"));
    EXPECT_EQ("", m_dir.Read(L"empty.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"missing.txt"));
    EXPECT_EQ(L"file read error.empty.txt\r\nfile read error.missing.txt\r\n", Log());
    EXPECT_EQ(0, s_iAsked);
}

TEST_F(ReplaceTest, TextWithANulIsNotCutShort)
{
    Write(L"rules.txt", L"a\tb\r\n");
    const std::string strBytes("a\0a\r\n", 5);
    ASSERT_TRUE(m_dir.Write(L"t.bin", strBytes));
    REPLASE cRep;
    EXPECT_EQ(0, Run(cRep, L"t.bin", L"rules.txt"));
    cRep.Quit(0);
    EXPECT_EQ(strBytes, m_dir.Read(L"t.bin"));
    EXPECT_EQ(L"テキストにNUL文字が含まれています. t.bin\r\n", Log());
}

TEST_F(ReplaceTest, GrowthWithinTheCapacityIsWrittenWhole)
{
    // 300 units may grow to 1,023 (three times the text, in whole 1,024-unit blocks).
    Write(L"rules.txt", L"a\tbbb\r\n");
    Write(L"t.txt", std::wstring(300, L'a') + L"cc");
    REPLASE cRep;
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt"));
    cRep.Quit(0);
    EXPECT_EQ(std::wstring(900, L'b') + L"cc", Text(L"t.txt"));
    EXPECT_EQ(L"t.txt replaced.300\r\n", Log());
}

TEST_F(ReplaceTest, GrowthBeyondTheCapacityStopsAndLeavesTheTarget)
{
    Write(L"rules.txt", L"a\t" + std::wstring(200, L'x') + L"\r\n");
    Write(L"t.txt", std::wstring(10, L'a'));
    REPLASE cRep;
    EXPECT_EQ(0, Run(cRep, L"t.txt", L"rules.txt"));
    cRep.Quit(0);
    EXPECT_EQ(std::wstring(10, L'a'), Text(L"t.txt"));
    EXPECT_EQ(L"容量をオーバーしました。replase の OUT_ALLOC(3) を増やしてリビルドして下さい\r\n", Log());
    EXPECT_EQ(0, s_iAsked);
}

TEST_F(ReplaceTest, EveryWriteStopsAtTheCapacity)
{
    struct {
        const char* m_pName;
        const wchar_t* m_pRules;
        const wchar_t* m_pText;
        int m_iMode;
        int m_iCap;
        const wchar_t* m_pExpect;
    } aCase[] = {
        {"replacements", L"a\tbcd", L"aaaaaaaa", 0, 10, L"bcdbcdbcd"},
        {"captures", L"<\\val>\t\\val", L"<123456789012>", 0, 6, L"12345"},
        {"unmatched units", L"q\tQ", L"abcdefghij", 0, 5, L"abcd"},
        {"remarks", L"a\tb", L"aaaa\r\n", 1, 8, L"bbbb\t//"},
        {"indentation", L"x\t\\n", L"\t\t\tx", 0, 7, L"\t\t\t\r\n\t"},
    };
    for (const auto& stCase : aCase) {
        SCOPED_TRACE(stCase.m_pName);
        Message_clear();
        REPLASE cRep;
        ASSERT_EQ(1, cRep.loadRules(stCase.m_pRules, STRING_len(stCase.m_pRules), L"rules"));
        cRep.m_iMode = stCase.m_iMode;
        cRep.resetRemark();
        // Guard units after the capacity show any write past it.
        std::wstring strOut(stCase.m_iCap + 4, L'#');
        const int iLen = cRep.replaceText(stCase.m_pText, STRING_len(stCase.m_pText), &strOut[0], stCase.m_iCap);
        EXPECT_EQ(std::wstring(stCase.m_pExpect), std::wstring(strOut.c_str(), iLen));
        EXPECT_EQ(1, cRep.m_iStop);
        EXPECT_EQ(std::wstring(4, L'#'), strOut.substr(stCase.m_iCap));
        EXPECT_EQ(L"容量をオーバーしました。replase の OUT_ALLOC(3) を増やしてリビルドして下さい\r\n", Log());
    }
}

TEST_F(ReplaceTest, RangeMarkersLimitTheRewrite)
{
    const wchar_t S = RANGE_CODE_START, E = RANGE_CODE_END;
    const std::wstring strText = std::wstring(L"a_") + S + L"_" + S + L"a" + E + L"_" + E + L"a.zzzzzz";
    const std::wstring strExpect = std::wstring(L"a_") + S + L"_" + S + L"X" + E + L"_" + E + L"a.zzzzzz";
    REPLASE cRep;
    ASSERT_EQ(1, cRep.loadRules(L"a\tX", 3, L"rules"));
    std::wstring strOut(strText.size() * 3 + 16, L'\0');
    for (int iRange : {0, 1, 2}) {
        SCOPED_TRACE(iRange);
        s_stGl.m_pSetting->RANGE = iRange;
        cRep.m_iStop = 0;
        const int iLen = cRep.replaceText(strText.c_str(), static_cast<int>(strText.size()), &strOut[0],
                                          static_cast<int>(strOut.size()));
        std::wstring strAll = strText;
        for (wchar_t& c : strAll) if (c == L'a') c = L'X';
        EXPECT_EQ(iRange ? strExpect : strAll, std::wstring(strOut.c_str(), iLen));
    }
    // RANGE 2 without markers rewrites everything.
    s_stGl.m_pSetting->RANGE = 2;
    const std::wstring strPlain = L"a a a a a a a";
    const int iLen = cRep.replaceText(strPlain.c_str(), static_cast<int>(strPlain.size()), &strOut[0],
                                      static_cast<int>(strOut.size()));
    EXPECT_EQ(L"X X X X X X X", std::wstring(strOut.c_str(), iLen));
}

// What replaceText must give: the first rule of the table that matches at each position
// (matchRule tries them all), its replacement, and on after it.
std::wstring ReferenceReplace(REPLASE& _cRep, const std::wstring& _strText)
{
    std::wstring strOut(_strText.size() * 40 + 16, L'\0');
    const int iLen = static_cast<int>(_strText.size()), iCap = static_cast<int>(strOut.size());
    int iOut = 0, i = 0;
    REPLASE_MATCH stMatch;
    while (i < iLen) {
        const int k = _cRep.matchRule(_strText.c_str(), i, iLen, &stMatch);
        if (k >= 0) {
            i = _cRep.putReplace(_strText.c_str(), i, iLen, &strOut[0], iCap, &iOut, _cRep.m_pRule[k], stMatch);
            continue;
        }
        strOut[iOut++] = _strText[i++];
    }
    return strOut.substr(0, iOut);
}

// Rules with escapes first, backslashes taken as they stand, patterns sharing their first unit
// and of every length, in word mode and not: the rewrite equals trying every rule everywhere.
TEST_F(ReplaceTest, RulesTriedByTheirFirstUnitGiveWhatEveryRuleTriedGives)
{
    const wchar_t* const apPiece[] = { L"a", L"b", L"ab", L"1", L"\\", L"\\val", L"\\wrd", L"\\str", L"\\knj",
                                       L"\\ts", L"\\blk", L"\\q", L"\\n", L"\\t", L"漢", L"字", L" ", L";" };
    const wchar_t acText[] = { L'a', L'b', L'1', L'2', L'\\', L'v', L'漢', L'字', L' ', L';', L'\t', L'\r', L'\n', L'x' };
    unsigned int uSeed = 777;
    auto next = [&](unsigned n) { uSeed = uSeed * 1103515245u + 12345u; return ((uSeed >> 16) & 0x7FFF) % n; };
    const int iPieces = sizeof(apPiece) / sizeof(apPiece[0]);
    for (int iRound = 0; iRound < 60; ++iRound) {
        SCOPED_TRACE(iRound);
        std::wstring strRules;
        const int iRules = 1 + static_cast<int>(next(12));
        for (int r = 0; r < iRules; ++r) {
            const int iParts = 1 + static_cast<int>(next(3));
            for (int p = 0; p < iParts; ++p) strRules += apPiece[next(iPieces)];
            strRules += L"\t<" + std::to_wstring(r) + (next(2) ? L"\\val\\wrd\\str>\r\n" : L">\r\n");
        }
        std::wstring strText;
        const int iTextLen = 1 + static_cast<int>(next(80));
        for (int c = 0; c < iTextLen; ++c) strText += acText[next(sizeof(acText) / sizeof(acText[0]))];
        REPLASE cRep;
        if (!cRep.loadRules(strRules.c_str(), static_cast<int>(strRules.size()), L"rules")) continue;
        cRep.m_iWord = static_cast<int>(iRound & 1);
        const std::wstring strExpect = ReferenceReplace(cRep, strText);
        std::wstring strOut(strText.size() * 40 + 16, L'\0');
        const int iLen = cRep.replaceText(strText.c_str(), static_cast<int>(strText.size()), &strOut[0],
                                          static_cast<int>(strOut.size()));
        ASSERT_EQ(0, cRep.m_iStop);
        EXPECT_EQ(strExpect, strOut.substr(0, iLen)) << "rules:\n" << Sjis(strRules);
    }
}

// Benchmark, not a test: 5 MB of Shift-JIS text against 1,000 literal rules, checked against a
// plain longest-first substitution. With REPLACE_BENCH_DIR set (a Windows path), the rule file,
// the text and the result are left there for a comparison with another tool.
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(ReplaceTest, DISABLED_Benchmark)
{
    unsigned int uSeed = 4242;
    auto next = [&](unsigned n) { uSeed = uSeed * 1103515245u + 12345u; return ((uSeed >> 16) & 0x7FFF) % n; };
    std::vector<wchar_t> vKanji;
    for (wchar_t c = 0x4E00; vKanji.size() < 600 && c < 0x9FA0; ++c) {
        char sz[4];
        BOOL bDefault = FALSE;
        if (WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &c, 1, sz, 4, 0, &bDefault) == 2 && !bDefault)
            vKanji.push_back(c);
    }
    ASSERT_EQ(600u, vKanji.size());
    auto kana = [&]() { return static_cast<wchar_t>(0x3042 + next(40)); };

    std::map<std::wstring, std::wstring> mapRule;
    std::wstring strRules;
    while (mapRule.size() < 1000) {
        std::wstring strSearch, strReplace;
        const unsigned uLen = 2 + next(4);
        for (unsigned c = 0; c < uLen; ++c) strSearch += next(4) ? kana() : vKanji[next(600)];
        const unsigned uRep = next(5);
        for (unsigned c = 0; c < uRep; ++c) strReplace += vKanji[next(600)];
        if (!mapRule.emplace(strSearch, strReplace).second) continue;
        strRules += strSearch + L"\t" + strReplace + L"\r\n";
    }
    std::wstring strText;
    while (strText.size() < 2700000) {
        const unsigned uLen = 10 + next(60);
        for (unsigned c = 0; c < uLen; ++c) {
            const unsigned r = next(100);
            strText += r < 60 ? kana() : (r < 90 ? vKanji[next(600)] : static_cast<wchar_t>(L'a' + next(26)));
        }
        strText += L"。\r\n";
    }
    Write(L"rules.txt", strRules);
    Write(L"text.txt", strText);
    const size_t uBytes = m_dir.Read(L"text.txt").size();

    // Longest first: at each position the longest search text found there.
    std::wstring strExpect;
    size_t uCount = 0;
    for (size_t i = 0; i < strText.size();) {
        bool bHit = false;
        for (size_t uLen = 5; uLen >= 2 && !bHit; --uLen) {
            if (i + uLen > strText.size()) continue;
            auto it = mapRule.find(strText.substr(i, uLen));
            if (it == mapRule.end()) continue;
            strExpect += it->second;
            i += uLen;
            bHit = true;
            ++uCount;
        }
        if (!bHit) strExpect += strText[i++];
    }

    REPLASE cRep;
    const auto tStart = std::chrono::steady_clock::now();
    ASSERT_EQ(1, Run(cRep, L"text.txt", L"rules.txt out.txt")) << Sjis(Log());
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    cRep.Quit(1);
    EXPECT_EQ(static_cast<int>(uCount), cRep.m_iReplaced);
    EXPECT_TRUE(Text(L"out.txt") == strExpect) << "the result differs from the longest-first substitution";
    std::printf("REPLACE benchmark: %zu bytes, 1000 rules, %zu replaced, %.3f s\n", uBytes, uCount, dSeconds);

    wchar_t szKeep[MAX_PATH] = { 0 };
    if (GetEnvironmentVariableW(L"REPLACE_BENCH_DIR", szKeep, MAX_PATH) > 0) {
        for (const wchar_t* pName : { L"rules.txt", L"text.txt", L"out.txt" }) {
            const std::wstring strTo = std::wstring(szKeep) + L"\\" + pName;
            CopyFileW(m_dir.Path(pName).c_str(), strTo.c_str(), FALSE);
        }
    }
}

}  // namespace
}  // namespace replacetest
