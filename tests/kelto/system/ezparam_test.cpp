#include "kelto/system/ezparam.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Tokens(CEzParam& cParam)
{
    std::vector<std::wstring> v;
    for (int i = 0; i < cParam.GetCount(); ++i) v.push_back(cParam.GetToken(i, nullptr));
    return v;
}

} // namespace

TEST(CEzParam, SplitsAtBlanksAndTabsOutsideQuotes)
{
    struct Case {
        const char* name;
        const wchar_t* line;
        std::vector<std::wstring> tokens;
    };
    const Case cases[] = {
        {"quoted target with blank", L"\"C:\\data\\a b.txt\" rules.txt -m1",
         {L"C:\\data\\a b.txt", L"rules.txt", L"-m1"}},
        {"runs of blanks and tabs are one separator", L"\"C:\\a.txt\" \t  x\t\ty",
         {L"C:\\a.txt", L"x", L"y"}},
        {"leading and trailing blanks, tabs, CR, LF trimmed", L" \t\r\n\"C:\\a.txt\" x \t\r\n",
         {L"C:\\a.txt", L"x"}},
        {"later quoted token keeps opening quote only", L"\"C:\\a.txt\" \"my file.txt\" z",
         {L"C:\\a.txt", L"\"my file.txt", L"z"}},
        {"unquoted target", L"C:\\a.txt x", {L"C:\\a.txt", L"x"}},
        {"quote inside a token toggles too", L"a\"b c\"d e", {L"a\"b c\"d", L"e"}},
        {"CR inside a line is ordinary", L"a\rb c", {L"a\rb", L"c"}},
        {"unterminated quote runs to the end", L"\"C:\\a b.txt x", {L"C:\\a b.txt x"}},
        {"line ending in a blank after the target", L"\"C:\\a.txt\" ", {L"C:\\a.txt"}},
    };
    for (const Case& c : cases) {
        CEzParam cParam(c.line);
        EXPECT_EQ(Tokens(cParam), c.tokens) << "case " << c.name;
    }
}

TEST(CEzParam, EmptyOrBlankLineHasNoTokens)
{
    const wchar_t* lines[] = {nullptr, L"", L"   ", L" \t\r\n "};
    for (const wchar_t* line : lines) {
        CEzParam cParam(line);
        wchar_t szDef[] = L"def";
        EXPECT_EQ(cParam.GetCount(), 0);
        EXPECT_EQ(cParam.GetTarget(), nullptr);
        EXPECT_EQ(cParam.GetParam(0), nullptr);
        EXPECT_EQ(cParam.GetToken(0, szDef), szDef);
        EXPECT_EQ(cParam.FindOption(L'm'), -1);
        EXPECT_EQ(cParam.GetOptionInt(L'm', 7), 7);
        EXPECT_EQ(cParam.GetArgInt(0, 9), 9);
        EXPECT_EQ(cParam.HasToken(0), 0);
        EXPECT_EQ(cParam.IsOption(0), 0);
    }
}

TEST(CEzParam, ParamsSkipOptionsAndOptionsCarryTheirValue)
{
    CEzParam cParam(L"\"C:\\data\\a b.txt\" -op rules.txt -m1 -s0x10 -e out.txt");
    EXPECT_STREQ(cParam.GetTarget(), L"C:\\data\\a b.txt");
    EXPECT_STREQ(cParam.GetParam(1), L"rules.txt");
    EXPECT_STREQ(cParam.GetParam(2), L"out.txt");
    EXPECT_EQ(cParam.GetParam(3), nullptr);
    EXPECT_EQ(cParam.GetParam(-1), nullptr);

    EXPECT_EQ(cParam.FindOption(L'o'), 1);
    EXPECT_EQ(cParam.FindOption(L'm'), 3);
    EXPECT_EQ(cParam.FindOption(L'M'), -1) << "the option letter counts case";
    EXPECT_STREQ(cParam.GetOption(L'o', nullptr), L"p");
    EXPECT_STREQ(cParam.GetOption(L'e', nullptr), L"") << "a value after a blank is a parameter";
    wchar_t szDef[] = L"none";
    EXPECT_EQ(cParam.GetOption(L'z', szDef), szDef);
    EXPECT_EQ(cParam.GetOptionInt(L'm', -1), 1);
    EXPECT_EQ(cParam.GetOptionInt(L's', -1), 16);
    EXPECT_EQ(cParam.GetOptionInt(L'z', -1), -1);

    EXPECT_EQ(cParam.IsOption(0), 0);
    EXPECT_EQ(cParam.IsOption(1), 1);
    EXPECT_EQ(cParam.IsOption(99), 0);
}

TEST(CEzParam, FirstMatchingOptionWins)
{
    // A replace line with its own -m: the dispatcher's mode comes after it.
    CEzParam cParam(L"\"C:\\a.txt\" rules.txt -m2 -m0");
    EXPECT_EQ(cParam.FindOption(L'm'), 2);
    EXPECT_EQ(cParam.GetOptionInt(L'm', -1), 2);
}

TEST(CEzParam, HyphenInsideTargetIsNoOption)
{
    CEzParam cParam(L"\"C:\\my-music\\a.txt\" x");
    EXPECT_EQ(cParam.FindOption(L'm'), -1);
    EXPECT_STREQ(cParam.GetParam(1), L"x");
}

TEST(CEzParam, ArgIntCountsOptions)
{
    CEzParam cParam(L"\"C:\\a.txt\" -x 5 0x1f");
    EXPECT_STREQ(cParam.GetToken(1, nullptr), L"-x");
    EXPECT_EQ(cParam.GetArgInt(2, -1), 5);
    EXPECT_EQ(cParam.GetArgInt(3, -1), 31);
    EXPECT_EQ(cParam.GetArgInt(4, -1), -1);
    EXPECT_EQ(cParam.HasToken(2), 1);
}

TEST(CEzParam, RepeatedLookupsSeeTheSameToken)
{
    // Only one closing quote goes, however often the token is asked for.
    CEzParam cParam(L"\"C:\\a.txt\" x\"\" -q\"\"");
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(cParam.GetToken(0, nullptr), L"C:\\a.txt");
        EXPECT_STREQ(cParam.GetParam(1), L"x\"");
        EXPECT_STREQ(cParam.GetOption(L'q', nullptr), L"\"");
    }
}

TEST(CEzParam, QuoteOnlyTokensGiveEmptyTexts)
{
    CEzParam cParam(L"\"\" \"");
    ASSERT_EQ(cParam.GetCount(), 2);
    EXPECT_STREQ(cParam.GetToken(0, nullptr), L"");
    EXPECT_STREQ(cParam.GetToken(1, nullptr), L"");
    EXPECT_EQ(cParam.HasToken(0), 0);
}

TEST(CEzParam, LinesAroundTheBufferStepKeepEveryCharacter)
{
    // The copy is sized in steps of 64 characters; the last token must survive at each edge.
    for (int iLen : {1, 62, 63, 64, 65, 127, 128, 1023}) {
        std::wstring line = L"\"C:\\a.txt\" ";
        std::wstring last(iLen, L'z');
        line += last;
        CEzParam cParam(line.c_str());
        ASSERT_EQ(cParam.GetCount(), 2) << "length " << iLen;
        EXPECT_EQ(std::wstring(cParam.GetParam(1)), last) << "length " << iLen;
    }
}
