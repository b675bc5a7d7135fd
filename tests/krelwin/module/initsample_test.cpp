// INITSAMPLE through the dispatcher: the life cycle of a module as lines of the log.
#include <string>

#include "tests/krelwin/module/sample_commands_fixture.h"

using sample_commands::SampleCommandsTest;

TEST_F(SampleCommandsTest, InitSampleLogsEveryStepOfTheLifeCycle)
{
    // Nothing is read: the files need not exist.
    auto Line = [this](const wchar_t* _pName) {
        return L"file:" + Path(_pName) + L" " + Path(_pName) + L"\r\n";
    };
    // A run of two INITSAMPLE lines over two files.
    for (int iLine = 0; iLine < 2; ++iLine) {
        Exec(L"INITSAMPLE", L"", L"a.txt");
        Exec(L"INITSAMPLE", L"", L"b.txt");
        Command_quit(iLine == 1 ? 1 : 0);
    }
    EXPECT_EQ(L"全体の初期化\r\n初期化\r\n" + Line(L"a.txt") + Line(L"b.txt") + L"終了\r\n"
              L"初期化\r\n" + Line(L"a.txt") + Line(L"b.txt") + L"終了\r\n全体の終了\r\n",
              Log());

    // A second run in the same process: the set-up of the process is not repeated.
    Message_clear();
    Exec(L"INITSAMPLE", L"out.txt", L"a.txt");
    Command_quit(1);
    EXPECT_EQ(L"初期化\r\nfile:" + Path(L"a.txt") + L" " + Path(L"out.txt") + L"\r\n終了\r\n全体の終了\r\n", Log());
    EXPECT_FALSE(m_dir.IsFile(L"a.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"out.txt"));
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(SampleCommandsTest, InitSampleEndsOnlyWhatItStarted)
{
    // The line ended before this run's last line: the run's end finds it inactive.
    Exec(L"INITSAMPLE", L"", L"a.txt");
    Command_quit(0);
    Message_clear();
    Command_quit(1);
    EXPECT_EQ(L"", Log());
}
