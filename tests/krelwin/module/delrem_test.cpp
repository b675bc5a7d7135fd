// DELREM: comment and trailing-blank removal on files, alone and through the dispatcher.
#include <string>

#include "tests/krelwin/module/sample_commands_fixture.h"

using sample_commands::SampleCommandsTest;
using sample_commands::Sjis;

TEST_F(SampleCommandsTest, DelremRemovesCommentsAndTrailingBlanks)
{
    struct ROW { const char* pName; const wchar_t* pArgs; std::string strIn; std::string strOut; };
    const ROW aRow[] = {
        {"default markers", L"",
         "a = 1; // note\r\n/* one\r\ntwo\r\nthree */b\r\nc \"// kept\" // gone\r\nd\t \r\n",
         "a = 1;\r\n\r\n\r\nb\r\nc \"// kept\"\r\nd\r\n"},
        {"line marker ; with default blocks", L"-L;",
         "x ; note\r\n// stays\r\n/* gone */y\r\n",
         "x\r\n// stays\r\ny\r\n"},
        {"all three markers", L"-L# -S{ -E}",
         "x # note\r\n{ a\r\n}y /* stays */\r\n",
         "x\r\n\r\ny /* stays */\r\n"},
        {"blanks before line ends without comments", L"",
         "ab   \r\ncd\t\t\r\nef \n",
         "ab\r\ncd\r\nef\n"},
        {"Japanese text", L"",
         Sjis(L"台詞「こんにちは」　// 注釈\r\n"),
         Sjis(L"台詞「こんにちは」　\r\n")},
    };
    for (const ROW& r : aRow) {
        ASSERT_TRUE(m_dir.Write(L"s.txt", r.strIn));
        ASSERT_TRUE(m_dir.Write(L"o.txt", ""));
        EXPECT_NE(0, Command_delrem(Line(L"s.txt", std::wstring(L"o.txt ") + r.pArgs).c_str())) << r.pName;
        EXPECT_EQ(r.strOut, m_dir.Read(L"o.txt")) << "case " << r.pName;
        EXPECT_EQ(r.strIn, m_dir.Read(L"s.txt")) << "case " << r.pName;
    }
    EXPECT_EQ(L"", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(SampleCommandsTest, DelremEmptyMarkerOptionRemovesNoCommentOfThatKind)
{
    // "-L" without a marker: the line comments stay, the block comments still go.
    ASSERT_TRUE(m_dir.Write(L"s.txt", "a // b /* c */ d\r\n"));
    EXPECT_NE(0, Command_delrem(Line(L"s.txt", L"o.txt -L").c_str()));
    EXPECT_EQ("a // b  d\r\n", m_dir.Read(L"o.txt"));
    // "-S" without a marker: block comments stay whatever -E says.
    EXPECT_NE(0, Command_delrem(Line(L"s.txt", L"o2.txt -S -L;").c_str()));
    EXPECT_EQ("a // b /* c */ d\r\n", m_dir.Read(L"o2.txt"));
}

TEST_F(SampleCommandsTest, DelremWithoutOutputRewritesTheTargetKeepingABackup)
{
    s_stGl.m_pSetting->BACKUP = 1;
    ASSERT_TRUE(m_dir.Write(L"s.txt", "x // y\r\n"));
    EXPECT_NE(0, Command_delrem(Line(L"s.txt").c_str()));
    EXPECT_EQ("x\r\n", m_dir.Read(L"s.txt"));
    EXPECT_EQ("x // y\r\n", m_dir.Read(L"s.bak"));
}

TEST_F(SampleCommandsTest, DelremOnMissingEmptyOrReadOnlyTargetReportsAndChangesNothing)
{
    ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
    ASSERT_TRUE(m_dir.Write(L"ro.txt", "x // y\r\n"));
    ASSERT_TRUE(SetReadOnly(L"ro.txt", true));
    sample_commands::ASKED::Answer() = OUTPUT_ANSWER_YES;

    struct ROW { const wchar_t* pName; const wchar_t* pReason; };
    const ROW aRow[] = {
        {L"missing.txt", L"not found.missing.txt"},
        {L"empty.txt", L"not found.empty.txt"},
        {L"ro.txt", L"Can't write file.ro.txt"},
    };
    for (const ROW& r : aRow) {
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        Command_quit(0);  // each row is a script line of its own: "delrem" again
        Exec(L"DELREM", L"", r.pName);
        EXPECT_EQ(std::wstring(L"delrem\r\n") + r.pReason + L"\r\ndelrem failed. " + r.pName + L"\r\n", Log())
            << r.pName;
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount) << r.pName;
    }
    EXPECT_FALSE(m_dir.IsFile(L"missing.txt"));
    EXPECT_EQ("", m_dir.Read(L"empty.txt"));
    EXPECT_EQ("x // y\r\n", m_dir.Read(L"ro.txt"));
    EXPECT_TRUE(IsReadOnly(L"ro.txt"));
}

TEST_F(SampleCommandsTest, DelremIsAnnouncedOncePerScriptLine)
{
    for (const wchar_t* pName : {L"a.txt", L"b.txt"}) ASSERT_TRUE(m_dir.Write(pName, "k // c\r\n"));
    s_stGl.m_pSetting->BACKUP = 1;
    Exec(L"DELREM", L"%0.out", L"a.txt");
    Exec(L"DELREM", L"%0.out", L"b.txt");
    Command_quit(0);
    Exec(L"DELREM", L"%0.out", L"a.txt");
    EXPECT_EQ(L"delrem\r\ndelrem\r\n", Log());
    EXPECT_EQ("k\r\n", m_dir.Read(L"a.out"));
    EXPECT_EQ("k\r\n", m_dir.Read(L"b.out"));
}
