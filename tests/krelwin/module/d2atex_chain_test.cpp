#include "krelwin/module/chain.h"
#include "krelwin/module/d2atex.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

using sample_commands::ASKED;
using sample_commands::SampleCommandsTest;

TEST(D2atexRewrite, NamesAfterAQuoteTakeTheFirstCharactersOfThePrefix) {
    struct Case {
        const char* name;
        std::wstring text;
        const wchar_t* prefix;
        std::wstring result;
    } cases[] = {
        {"eight replaced", L"\"abcdefgh_000.tga\"", L"C:\\data\\s.d2a", L"\"C:\\data\\_000.tga\""},
        {"short name keeps its .tga", L"\"ab.tga\"", L"C:\\data\\s.d2a", L"\"C:.tga\""},
        {"every reference", L"a=\"longname1.tga\" b=\"longname2.tga\"\r\n", L"12345678",
         L"a=\"123456781.tga\" b=\"123456782.tga\"\r\n"},
        {"no quote before", L"abcdefgh.tga \"x\"", L"12345678", L"abcdefgh.tga \"x\""},
        {"quote long before still counts", L"\"q\" abcdefghij.tga", L"12345678", L"\"q\"12345678hij.tga"},
        {"prefix shorter than the name: only its characters", L"\"abcdefgh.tga\"", L"C:\\a",
         L"\"C:\\aefgh.tga\""},
        {"empty prefix", L"\"abcdefgh.tga\"", L"", L"\"abcdefgh.tga\""},
        {"null prefix", L"\"abcdefgh.tga\"", nullptr, L"\"abcdefgh.tga\""},
        {"name empty", L"\".tga\"", L"12345678", L"\".tga\""},
        {"case counts", L"\"abcdefgh.TGA\"", L"12345678", L"\"abcdefgh.TGA\""},
        {".tga at the very end", L"\"abcdefgh.tga", L"12345678", L"\"12345678.tga"},
        {"kanji are one character each", L"\"\x65e5\x672c\x8a9e.tga\"", L"\x5199\x771f\\", L"\"\x5199\x771f\\.tga\""},
        {"no .tga", L"\"abcdefgh.tg", L"12345678", L"\"abcdefgh.tg"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, SMPL_D2ATEX::Rewrite(c.text, c.prefix)) << "case " << c.name;
}

class D2atexChainTest : public SampleCommandsTest {};

TEST_F(D2atexChainTest, D2atexWritesTheOutputOrAsksBeforeRewritingTheTarget) {
    ASSERT_TRUE(m_dir.Write(L"s.d2a", "tex=\"abcdefgh_000.tga\"\r\n"));
    SMPL_D2ATEX cTex;
    EXPECT_EQ(1, cTex.Func(Line(L"s.d2a", L"out.d2a").c_str()));
    const std::string strPrefix = Narrow(Path(L"s.d2a").substr(0, 8));
    EXPECT_EQ("tex=\"" + strPrefix + "_000.tga\"\r\n", m_dir.Read(L"out.d2a"));
    EXPECT_EQ("tex=\"abcdefgh_000.tga\"\r\n", m_dir.Read(L"s.d2a"));

    // Without an output the target itself is the output: the overwrite question decides.
    ASKED::Answer() = OUTPUT_ANSWER_NO;
    EXPECT_EQ(1, cTex.Func(Line(L"s.d2a").c_str()));
    EXPECT_EQ("tex=\"abcdefgh_000.tga\"\r\n", m_dir.Read(L"s.d2a"));
    EXPECT_NE(ASKED::Texts().find(Path(L"s.d2a")), std::wstring::npos);
    ASKED::Answer() = OUTPUT_ANSWER_YES;
    EXPECT_EQ(1, cTex.Func(Line(L"s.d2a").c_str()));
    EXPECT_EQ("tex=\"" + strPrefix + "_000.tga\"\r\n", m_dir.Read(L"s.d2a"));

    // Missing or empty: nothing, no message.
    ASSERT_TRUE(m_dir.Write(L"e.d2a", ""));
    EXPECT_EQ(0, cTex.Func(Line(L"e.d2a", L"e_out.d2a").c_str()));
    EXPECT_EQ(0, cTex.Func(Line(L"gone.d2a", L"g_out.d2a").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"e_out.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"g_out.d2a"));
    EXPECT_EQ(L"", Log());
}

TEST_F(D2atexChainTest, D2atexWithATargetShorterThanEightCharacters) {
    // A relative target, as a batch's file list gives it, is shorter than the 8 taken.
    ASSERT_TRUE(m_dir.Write(L"t.d2a", "\"abcdefghij.tga\""));
    Exec(L"D2ATEX", L"o.d2a", L"t.d2a");  // through the dispatcher: full path
    EXPECT_EQ("\"" + Narrow(Path(L"t.d2a").substr(0, 8)) + "ij.tga\"", m_dir.Read(L"o.d2a"));
    SMPL_D2ATEX cTex;
    EXPECT_EQ(1, cTex.Func(L"\"t.d2a\" o2.d2a"));
    EXPECT_EQ("\"t.d2afghij.tga\"", m_dir.Read(L"o2.d2a"));
}

TEST_F(D2atexChainTest, D2atexLeavesATextHoldingNulAlone) {
    // The output is written as a terminated text: a NUL would cut the file there.
    const std::string strText("tex=\"abcdefgh_000.tga\"\0tail=\"b.tga\"\r\n", 37);
    ASSERT_TRUE(m_dir.Write(L"n.d2a", strText));
    ASKED::Answer() = OUTPUT_ANSWER_YES;
    SMPL_D2ATEX cTex;
    EXPECT_EQ(0, cTex.Func(Line(L"n.d2a").c_str()));
    EXPECT_EQ(strText, m_dir.Read(L"n.d2a"));
    EXPECT_EQ(0, cTex.Func(Line(L"n.d2a", L"n_out.d2a").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"n_out.d2a"));
    const std::wstring strError = L"テキストにNUL文字が含まれています. n.d2a\r\n";
    EXPECT_EQ(strError + strError, Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

TEST(ChainSameFile, PathsNamingOneFile) {
    wchar_t szCwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, szCwd);
    const std::wstring cwd = szCwd;
    struct Case {
        std::wstring a, b;
        int same;
    } cases[] = {
        {L"C:\\x\\a.bin", L"C:\\x\\a.bin", 1},
        {L"C:\\x\\a.bin", L"c:\\X\\A.BIN", 1},
        {L"C:\\x\\a.bin", L"C:/x/a.bin", 1},
        {L"C:\\x\\y\\..\\a.bin", L"C:\\x\\.\\a.bin", 1},
        {L"C:\\x\\a.bin", L"C:\\x\\b.bin", 0},
        {L"C:\\x\\a.bin", L"C:\\x\\a.bin2", 0},
        {L"a.bin", cwd + L"\\a.bin", 1},
        {L"sub\\..\\a.bin", cwd + L"\\a.bin", 1},
        {L"\\a.bin", cwd.substr(0, 2) + L"\\a.bin", 1},
        {L"a.bin", cwd + L"\\b.bin", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.same, SMPL_CHAIN::IsSameFile(c.a.c_str(), c.b.c_str()))
            << Narrow(c.a) << " / " << Narrow(c.b);
    EXPECT_EQ(0, SMPL_CHAIN::IsSameFile(nullptr, L"a"));
}

TEST_F(D2atexChainTest, ChainAppendsEveryTargetAcrossRuns) {
    ASSERT_TRUE(m_dir.Write(L"a.dat", std::string("A\0a", 3)));
    ASSERT_TRUE(m_dir.Write(L"b.dat", "BB"));
    for (int run = 0; run < 2; ++run) {
        Exec(L"CHAIN", L"out", L"a.dat");
        Exec(L"CHAIN", L"out", L"b.dat");
        Command_quit(1);
    }
    EXPECT_EQ(std::string("A\0aBBA\0aBB", 10), m_dir.Read(L"out.bin"));
    // Without an output argument: the target's name with .bin.
    Exec(L"CHAIN", L"", L"a.dat");
    EXPECT_EQ(std::string("A\0a", 3), m_dir.Read(L"a.bin"));
    EXPECT_EQ(L"", Log());
}

TEST_F(D2atexChainTest, ChainRefusesItselfAMissingTargetAndAFailedAppend) {
    ASSERT_TRUE(m_dir.Write(L"x.bin", "XX"));
    ASSERT_TRUE(m_dir.Write(L"y.dat", "YY"));
    SMPL_CHAIN cChain;
    EXPECT_EQ(0, cChain.Func(Line(L"x.bin").c_str()));
    EXPECT_EQ(0, cChain.Func(Line(L"x.bin", L"x").c_str()));
    EXPECT_EQ(0, cChain.Func(Line(L"x.bin", L"sub\\..\\X.txt").c_str()));
    EXPECT_EQ("XX", m_dir.Read(L"x.bin")) << "never appended to itself";
    EXPECT_EQ(0, cChain.Func(Line(L"gone.dat", L"x").c_str()));
    EXPECT_EQ(0, cChain.Func(Line(L"y.dat", L"nofolder\\z").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"nofolder\\z.bin"));
    const std::wstring strSame = L"same file:" + Path(L"x.bin") + L"\r\n";
    EXPECT_EQ(strSame + strSame + L"same file:" + Path(L"sub\\..\\X.bin") + L"\r\nfile not found:" + Path(L"gone.dat") +
                  L"\r\nCan't write file.z.bin\r\n",
              Log());
    EXPECT_EQ(5, s_stGl.m_iErrorCount);
    EXPECT_EQ(1, cChain.Func(Line(L"y.dat", L"x").c_str()));
    EXPECT_EQ("XXYY", m_dir.Read(L"x.bin"));
}

}  // namespace
