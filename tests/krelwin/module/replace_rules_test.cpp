// REPLASE rule files: loading once per script line, numbered rules, the order of the
// table, and malformed files that leave every target alone.
#include "tests/krelwin/module/replace_fixture.h"

#include "kelto/string/string.h"

namespace replacetest {
namespace {

TEST_F(ReplaceTest, RuleFileIsLoadedOncePerScriptLine)
{
    ASSERT_TRUE(m_dir.MakeDir(L"sub"));
    Write(L"rules.txt", L"a\tb\r\n");
    Write(L"sub\\t1.txt", L"a");
    Write(L"sub\\t2.txt", L"a");
    REPLASE cRep;
    // The rule file's name is taken from the current folder, not the target's.
    EXPECT_EQ(1, Run(cRep, L"sub\\t1.txt", L"rules.txt"));
    Write(L"rules.txt", L"a\tc\r\n");
    EXPECT_EQ(1, Run(cRep, L"sub\\t2.txt", L"rules.txt"));
    EXPECT_EQ(L"b", Text(L"sub\\t2.txt"));
    cRep.Quit(0);
    EXPECT_EQ(nullptr, cRep.m_pRule);
    EXPECT_EQ(L"", std::wstring(cRep.m_szRuleFile));
    Write(L"sub\\t1.txt", L"a");
    EXPECT_EQ(1, Run(cRep, L"sub\\t1.txt", L"rules.txt"));
    EXPECT_EQ(L"c", Text(L"sub\\t1.txt"));
    cRep.Quit(1);
}

TEST_F(ReplaceTest, NumberedRulesCountOnAcrossLoads)
{
    Write(L"plain.txt", L"a\t\\num\r\nb\t\\num\r\n");
    Write(L"set.txt", L"x\t\\num10\r\na\t\\num\r\nb\t\\num\r\n");
    struct { const wchar_t* m_pRules; const wchar_t* m_pExpect; } aStep[] = {
        {L"plain.txt", L"x 0 1"},  // the first load after start
        {L"plain.txt", L"x 2 3"},  // a later script line goes on
        {L"set.txt", L"x 10 11"},  // the setting line sets the counter and replaces nothing
        {L"set.txt", L"x 10 11"},
        {L"plain.txt", L"x 12 13"},
    };
    REPLASE cRep;
    for (const auto& stStep : aStep) {
        SCOPED_TRACE(testing::Message() << Narrow(stStep.m_pRules) << " -> " << Narrow(stStep.m_pExpect));
        Write(L"t.txt", L"x a b");
        EXPECT_EQ(1, Run(cRep, L"t.txt", stStep.m_pRules));
        cRep.Quit(0);
        EXPECT_EQ(stStep.m_pExpect, Text(L"t.txt"));
    }
}

TEST_F(ReplaceTest, EqualLengthsFollowTheExchangeOrder)
{
    struct { const wchar_t* m_pRules; std::vector<std::wstring> m_vOrder; } aCase[] = {
        {L"a\t1\r\nb\t2\r\ncc\t3\r\n", {L"cc", L"b", L"a"}},
        {L"a\t1\r\nbb\t2\r\nc\t3\r\ndd\t4\r\n", {L"bb", L"dd", L"c", L"a"}},
        {L"X\\tsY\t1\r\nab\\nc\t2\r\n", {L"X\\tsY", L"ab\r\nc"}},
    };
    for (const auto& stCase : aCase) {
        SCOPED_TRACE(Narrow(stCase.m_pRules));
        REPLASE cRep;
        ASSERT_EQ(1, cRep.loadRules(stCase.m_pRules, STRING_len(stCase.m_pRules), L"rules"));
        std::vector<std::wstring> vOrder;
        for (int i = 0; i < cRep.m_iRuleCount; ++i) vOrder.push_back(cRep.m_pRule[i].m_szSearch);
        EXPECT_EQ(stCase.m_vOrder, vOrder);
    }
}

TEST_F(ReplaceTest, ThirdFieldIsReportedAndStartsAFurtherRule)
{
    // A TAB that ends a line is no third field.
    Write(L"rules.txt", L"a\t1\tb\t2\r\nc\t3\t\r\n");
    Write(L"t.txt", L"abc");
    REPLASE cRep;
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt"));
    cRep.Quit(0);
    EXPECT_EQ(L"123", Text(L"t.txt"));
    EXPECT_EQ(L"１行内に定義が複数存在します. 1\r\nt.txt replaced.3\r\n", Log());
}

TEST_F(ReplaceTest, LongestFieldThatFitsIsKept)
{
    const std::wstring strLong(255, L'y');
    Write(L"rules.txt", strLong + L"\t" + strLong + L"\r\n");
    Write(L"t.txt", strLong + L"z");
    REPLASE cRep;
    EXPECT_EQ(1, Run(cRep, L"t.txt", L"rules.txt"));
    cRep.Quit(0);
    EXPECT_EQ(strLong + L"z", Text(L"t.txt"));
    EXPECT_EQ(L"t.txt replaced.1\r\n", Log());
}

TEST_F(ReplaceTest, MalformedRuleFileLeavesEveryTargetAlone)
{
    struct {
        const char* m_pName;
        bool m_bWrite;
        std::string m_strRules;  // the file's bytes
        std::wstring m_strLog;
    } aCase[] = {
        {"blank lines only", true, "\r\n\t\t\r\n\r\n", L"置換定義がありません. rules.txt"},
        {"search text too long", true, "a\tb\r\n" + std::string(256, 's') + "\tb\r\n",
         L"置換定義が長すぎます(255文字まで). rules.txt(2)"},
        {"replacement too long", true, "a\t" + std::string(300, 'r') + "\r\n",
         L"置換定義が長すぎます(255文字まで). rules.txt(1)"},
        {"wide replacement too long", true, Sjis(L"a\t" + std::wstring(256, L'漢') + L"\r\n"),
         L"置換定義が長すぎます(255文字まで). rules.txt(1)"},
        {"empty search text", true, "a\tb\r\n\r\n\tc\r\n", L"検索文字列が空の定義があります. rules.txt(3)"},
        {"empty search text on the first line", true, "\t\tc\r\n", L"検索文字列が空の定義があります. rules.txt(1)"},
        {"UTF-16 text", true, std::string("\xFF\xFE" "a\0\t\0x\0\r\0\n\0", 12),
         L"テキストにNUL文字が含まれています. rules.txt"},
    };
    for (const auto& stCase : aCase) {
        SCOPED_TRACE(stCase.m_pName);
        DeleteFileW(m_dir.Path(L"rules.txt").c_str());
        if (stCase.m_bWrite) {
            ASSERT_TRUE(m_dir.Write(L"rules.txt", stCase.m_strRules));
        }
        Write(L"t1.txt", L"a\r\n");
        Write(L"t2.txt", L"a\r\n");
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        REPLASE cRep;
        // Logged once for the script line; no target is written.
        EXPECT_EQ(0, Run(cRep, L"t1.txt", L"rules.txt"));
        EXPECT_EQ(0, Run(cRep, L"t2.txt", L"rules.txt", 1));
        EXPECT_EQ(0, Run(cRep, L"t2.txt", L"rules.txt", 2));
        EXPECT_EQ(stCase.m_strLog + L"\r\n", Log());
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount);
        EXPECT_EQ("a\r\n", m_dir.Read(L"t1.txt"));
        EXPECT_EQ("a\r\n", m_dir.Read(L"t2.txt"));
        EXPECT_EQ(0, s_iAsked);
        EXPECT_EQ(nullptr, cRep.m_pRule);

        // The next script line loads a sound file again.
        cRep.Quit(0);
        Write(L"rules.txt", L"a\tb\r\n");
        EXPECT_EQ(1, Run(cRep, L"t1.txt", L"rules.txt"));
        EXPECT_EQ("b\r\n", m_dir.Read(L"t1.txt"));
        cRep.Quit(0);
        s_iAsked = 0;
    }
}

// Without a rule file every target still passes: its text unchanged, "replaced.0".
TEST_F(ReplaceTest, MissingOrEmptyRuleFileIsReportedOnceAndTextsPassUnchanged)
{
    struct {
        const char* m_pName;
        const wchar_t* m_pRuleFile;
        bool m_bWrite;
    } aCase[] = {
        {"missing", L"rules.txt", false},
        {"empty", L"rules.txt", true},
        {"no argument", L"", false},
    };
    for (const auto& stCase : aCase) {
        SCOPED_TRACE(stCase.m_pName);
        DeleteFileW(m_dir.Path(L"rules.txt").c_str());
        if (stCase.m_bWrite) {
            ASSERT_TRUE(m_dir.Write(L"rules.txt", ""));
        }
        Write(L"t1.txt", L"a\r\n");
        Write(L"t2.txt", L"ab");
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        REPLASE cRep;
        EXPECT_EQ(1, Run(cRep, L"t1.txt", stCase.m_pRuleFile));
        EXPECT_EQ(1, Run(cRep, L"t2.txt", stCase.m_pRuleFile, 1));
        EXPECT_EQ(1, Run(cRep, L"t2.txt", stCase.m_pRuleFile, 2));
        cRep.Quit(0);
        const std::wstring strName = stCase.m_pRuleFile;
        EXPECT_EQ(L"no inifile." + strName + L"\r\nt1.txt replaced.0\r\nt2.txt replaced.0\r\n"
                  L"正規表現が無効です。USE_BOOSTを有効にしてビルドして下さい.\r\nt2.txt replaced.0\r\n",
                  Log());
        EXPECT_EQ(iErrors + 2, s_stGl.m_iErrorCount);
        EXPECT_EQ("a\r\n", m_dir.Read(L"t1.txt"));
        EXPECT_EQ("ab", m_dir.Read(L"t2.txt"));
    }
}

}  // namespace
}  // namespace replacetest
