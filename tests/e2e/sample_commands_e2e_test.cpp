// krelwin.exe end to end with DEL, DELREM, ZEN2HAN, CHGRW, FUNCTION_BASE and INITSAMPLE:
// batch files over small fixtures; the files left behind and the message-log file are
// compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::Files;
using e2e::KrelwinRun;
using e2e::RunJob;

bool SetReadOnly(const std::wstring& _strPath, bool _bOn)
{
    return SetFileAttributesW(_strPath.c_str(), _bOn ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool IsReadOnly(const std::wstring& _strPath)
{
    DWORD a = GetFileAttributesW(_strPath.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

} // namespace

TEST(SampleCommandsE2E, DelremZen2hanAndFunctionBaseRewriteTheTargetInTurn)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const std::string strSource = Ansi(L"あガＡ１～  // 注釈\r\n/* 一行\r\n二行 */ｘ\r\n");
    const std::string strZen2han = Ansi(L"ｱガA1") + "~\r\n\r\nx\r\n";
    ASSERT_TRUE(d.MakeDir(L"in"));
    ASSERT_TRUE(d.Write(L"in\\a.txt", strSource));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nDELREM\r\nzen2han\r\nFUNCTION_BASE copy\\%0.out\r\n" + Files(d, {L"in\\a.txt"}),
                       0, &strLog, "BACKUP=1\r\n"));

    EXPECT_EQ(strZen2han, d.Read(L"in\\a.txt"));
    EXPECT_EQ(strSource, d.Read(L"in\\a.bak")) << "the backup holds the text from before the run";
    EXPECT_EQ(strZen2han, d.Read(L"in\\copy\\a.out"));
    const std::wstring strTarget = d.Path(L"in\\a.txt");
    EXPECT_EQ("delrem\r\nzen2han a.txt 1Kb->1Kb\r\n" +
                  Ansi(L"file:" + strTarget + L" " + d.Path(L"in\\copy\\a.out")) + "\r\nCompleted...\r\n",
              strLog);
}

TEST(SampleCommandsE2E, InitSampleShowsTheModuleLifeCycle)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"a.txt", "a\r\n"));
    ASSERT_TRUE(d.Write(L"b.txt", "b\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nINITSAMPLE\r\nINITSAMPLE\r\n" + Files(d, {L"a.txt", L"b.txt"}), 0,
                       &strLog));
    const std::string strFiles = Ansi(L"file:" + d.Path(L"a.txt") + L" " + d.Path(L"a.txt") + L"\r\n" +
                                      L"file:" + d.Path(L"b.txt") + L" " + d.Path(L"b.txt") + L"\r\n");
    EXPECT_EQ(Ansi(L"全体の初期化\r\n初期化\r\n") + strFiles + Ansi(L"終了\r\n初期化\r\n") + strFiles +
                  Ansi(L"終了\r\n全体の終了\r\n") + "Completed...\r\n",
              strLog);
    EXPECT_EQ("a\r\n", d.Read(L"a.txt"));
    EXPECT_EQ("b\r\n", d.Read(L"b.txt"));
}

TEST(SampleCommandsE2E, ChgrwProtectsFilesFromDelUntilItClearsTheFlag)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"x.txt", "x"));
    ASSERT_TRUE(d.Write(L"y.txt", "y"));
    std::string strLog;
    // Failed deletions are not errors: the run ends clean.
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHGRW 1\r\nDEL\r\nCHGRW\r\nDEL\r\n" + Files(d, {L"x.txt", L"y.txt"}), 0,
                       &strLog));
    const std::string strOk = Ansi(d.Path(L"x.txt") + L" ok.\r\n" + d.Path(L"y.txt") + L" ok.\r\n");
    EXPECT_EQ(strOk + "deleting\r\ndel failed. x.txt\r\ndel failed. y.txt\r\n" + strOk +
                  "deleting\r\nCompleted...\r\n",
              strLog);
    EXPECT_FALSE(d.IsFile(L"x.txt"));
    EXPECT_FALSE(d.IsFile(L"y.txt"));
}

TEST(SampleCommandsE2E, EmptyAndReadOnlyTargetsAreReportedAndLeftAsTheyWere)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const std::string strRo = Ansi(L"ＡＢＣ // note\r\n");
    ASSERT_TRUE(d.Write(L"empty.txt", ""));
    ASSERT_TRUE(d.Write(L"ro.txt", strRo));
    ASSERT_TRUE(SetReadOnly(d.Path(L"ro.txt"), true));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nFUNCTION_BASE\r\nDELREM\r\nZEN2HAN\r\n" + Files(d, {L"empty.txt", L"ro.txt"}), 5,
                       &strLog, "BACKUP=1\r\n"));
    const std::wstring strEmpty = d.Path(L"empty.txt");
    const std::wstring strRoPath = d.Path(L"ro.txt");
    // FUNCTION_BASE's copy is the text as it is: nothing to write.
    EXPECT_EQ(Ansi(L"file not found:" + strEmpty + L"\r\n" + L"file:" + strRoPath + L" " + strRoPath + L"\r\n") +
                  "delrem\r\nnot found.empty.txt\r\ndelrem failed. empty.txt\r\n"
                  "Can't write file.ro.txt\r\ndelrem failed. ro.txt\r\n" +
                  Ansi(L"zen2han  failed. " + strEmpty + L"\r\n") + "Can't write file.ro.txt\r\nerror(s).5\r\n",
              strLog);
    EXPECT_EQ("", d.Read(L"empty.txt"));
    EXPECT_EQ(strRo, d.Read(L"ro.txt"));
    EXPECT_TRUE(IsReadOnly(d.Path(L"ro.txt")));
    EXPECT_FALSE(d.IsFile(L"empty.bak"));
    EXPECT_FALSE(d.IsFile(L"ro.bak"));
}

TEST(SampleCommandsE2E, TargetsDeletedByAnEarlierLineAreReportedAsMissing)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"m.txt", "m\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nDEL\r\nFUNCTION_BASE out.txt\r\nDELREM out.txt\r\nZEN2HAN out.txt\r\n" +
                           Files(d, {L"m.txt"}),
                       3, &strLog));
    const std::wstring strPath = d.Path(L"m.txt");
    EXPECT_EQ("deleting\r\n" + Ansi(L"file not found:" + strPath) +
                  "\r\ndelrem\r\nnot found.m.txt\r\ndelrem failed. m.txt\r\n" +
                  Ansi(L"zen2han  failed. " + strPath) + "\r\nerror(s).3\r\n",
              strLog);
    EXPECT_FALSE(d.IsFile(L"m.txt"));
    EXPECT_FALSE(d.IsFile(L"out.txt"));
}
