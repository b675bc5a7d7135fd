// krelwin.exe writing over users' files while the host refuses every write past 64 KiB,
// as a full disk, a quota or a dropped share does part-way through a file.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/krelwin_run.h"

namespace {

using namespace e2e;

TEST(FileKeepingE2E, WritesThatFailPartWayLeaveTheOldFilesAndTheirBackups)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    std::string strText;
    while (strText.size() < 105000) strText += "abc line of a script\r\n";
    ASSERT_TRUE(d.Write(L"a.txt", strText));
    ASSERT_TRUE(d.Write(L"a.bak", "an earlier run's backup"));
    ASSERT_TRUE(d.Write(L"rules.txt", "abc\tabcX\r\n"));
    const std::string strChain(10000, 'c');
    ASSERT_TRUE(d.Write(L"out.bin", strChain));
    std::string strData;
    while (strData.size() < 60000) strData += "abc\r\n";
    ASSERT_TRUE(d.Write(L"x.dat", strData));
    const std::set<std::wstring> before = testdir::Names(d.Path());

    run.SetFileLimit(64);
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nREPLACE rules.txt\r\nCHAIN out\r\n" + Files(d, {L"a.txt", L"x.dat"}), 4,
                       &strLog, "BACKUP=1\r\n"));
    EXPECT_EQ(strText, d.Read(L"a.txt"));
    EXPECT_EQ("an earlier run's backup", d.Read(L"a.bak"));
    EXPECT_EQ(strData, d.Read(L"x.dat"));
    EXPECT_EQ(strChain, d.Read(L"out.bin")) << "an append that fails is cut back";
    // The batch, its settings and its log are the only new files.
    std::set<std::wstring> after = testdir::Names(d.Path());
    after.erase(L"log.txt");
    after.erase(L"job.kvl");
    after.erase(L"krelwin.ini");
    EXPECT_EQ(before, after);
    EXPECT_NE(strLog.find("Can't write file.a.txt\r\n"), std::string::npos) << strLog;
    EXPECT_NE(strLog.find("Can't write file.out.bin\r\n"), std::string::npos) << strLog;
}

} // namespace
