// DEL and CHGRW through the dispatcher: the files they change and the lines they log.
#include <string>

#include "krelwin/module/chgrw.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

using sample_commands::SampleCommandsTest;

TEST_F(SampleCommandsTest, DelDeletesEveryTargetAndAnnouncesOncePerLine)
{
    for (const wchar_t* pName : {L"a.txt", L"b.txt", L"c.txt"}) ASSERT_TRUE(m_dir.Write(pName, "x"));
    for (const wchar_t* pName : {L"a.txt", L"b.txt", L"c.txt"}) Exec(L"DEL", L"ignored text", pName);
    EXPECT_FALSE(m_dir.IsFile(L"a.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"b.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"c.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"a.bak"));
    EXPECT_EQ(L"deleting\r\n", Log());

    // A second line announces itself again; a file already gone is one uncounted line.
    Command_quit(0);
    Exec(L"DEL", L"", L"a.txt");
    EXPECT_EQ(L"deleting\r\ndeleting\r\ndel failed. a.txt\r\n", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
    EXPECT_EQ(L"", sample_commands::ASKED::Texts()) << "nobody is asked";
}

TEST_F(SampleCommandsTest, DelLeavesAReadOnlyFile)
{
    ASSERT_TRUE(m_dir.Write(L"ro.txt", "keep"));
    ASSERT_TRUE(SetReadOnly(L"ro.txt", true));
    Exec(L"DEL", L"", L"ro.txt");
    EXPECT_EQ("keep", m_dir.Read(L"ro.txt"));
    EXPECT_EQ(L"deleting\r\ndel failed. ro.txt\r\n", Log());
    EXPECT_EQ(0, Command_delete(L""));
    EXPECT_EQ(0, Command_delete(nullptr));
}

TEST_F(SampleCommandsTest, ChgrwSetsAndClearsReadOnly)
{
    ASSERT_TRUE(m_dir.Write(L"f.txt", "data"));
    struct ROW { const wchar_t* pArgs; bool bReadOnly; };
    const ROW aRow[] = {{L"1", true}, {L"0", false}, {L"1", true}, {L"", false}, {L"1", true}, {L"2", false}};
    for (const ROW& r : aRow) {
        Message_clear();
        Exec(L"CHGRW", r.pArgs, L"f.txt");
        EXPECT_EQ(r.bReadOnly, IsReadOnly(L"f.txt")) << "CHGRW \"" << Narrow(r.pArgs) << "\"";
        EXPECT_EQ(Path(L"f.txt") + L" ok.\r\n", Log());
    }
    EXPECT_EQ("data", m_dir.Read(L"f.txt"));

    Message_clear();
    Exec(L"CHGRW", L"1", L"missing.txt");
    EXPECT_EQ(Path(L"missing.txt") + L" failed.\r\n", Log());
    EXPECT_FALSE(m_dir.IsFile(L"missing.txt"));
    EXPECT_EQ(0, s_stGl.m_iErrorCount);

    // Its end of line and end of run say nothing.
    Message_clear();
    Command_quit(0);
    Command_quit(1);
    EXPECT_EQ(L"", Log());
}
