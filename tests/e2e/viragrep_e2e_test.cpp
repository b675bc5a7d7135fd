// VIRAGREP through krelwin.exe: word-list lines followed by a line of another command; the
// hits of both VIRAGREP lines come at the end of the run and no work file stays behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::KrelwinRun;
using e2e::RunJob;

bool HasWorkFiles(const std::wstring& _strDir) {
    WIN32_FIND_DATAW stFind;
    HANDLE h = FindFirstFileW((_strDir + L"\\*.viraGrep").c_str(), &stFind);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return true;
}

TEST(ViraGrepE2E, HitsOfEveryLineAreReportedAtTheEndOfTheRun) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"list.txt", "open\r\nclose"));  // the last word has no line break
    ASSERT_TRUE(d.Write(L"a.txt", "a open b\r\nclose\r\n"));
    ASSERT_TRUE(d.Write(L"b.txt", "reopen\r\n(close)\r\n"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nVIRAGREP list.txt\r\nVIRAGREP list.txt 1\r\nKANJI_CHECK\r\n"
                            "[FILES]\r\na.txt\r\nb.txt\r\n", 0, &log));
    EXPECT_EQ("GrepList:list.txt\r\n"
              "open\r\na.txt(1): a open b\r\nb.txt(1): reopen\r\na.txt(1): a open b\r\n\r\n"
              "close\r\na.txt(2): close\r\nb.txt(2): (close)\r\na.txt(2): close\r\nb.txt(2): (close)\r\n\r\n"
              "\r\n---TOTAL---\r\n"
              "Completed...\r\n",
              log);
    EXPECT_FALSE(HasWorkFiles(d.Path()));
    EXPECT_EQ("a open b\r\nclose\r\n", d.Read(L"a.txt"));
}

TEST(ViraGrepE2E, AnEmptyTargetIsAnErrorAndOldWorkFilesAreNotAppendedTo) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"list.txt", "open\r\n"));
    ASSERT_TRUE(d.Write(L"0open.viraGrep", "old.txt(1): open\r\n"));  // left by an earlier run
    ASSERT_TRUE(d.Write(L"empty.txt", ""));
    ASSERT_TRUE(d.Write(L"a.txt", "open\r\n"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nVIRAGREP list.txt\r\n[FILES]\r\nempty.txt\r\na.txt\r\n", 1, &log));
    EXPECT_EQ("GrepList:list.txt\r\n"
              "file not found:empty.txt\r\n"
              "open\r\na.txt(1): open\r\n\r\n"
              "error(s).1\r\n",
              log);
    EXPECT_FALSE(HasWorkFiles(d.Path()));
    EXPECT_EQ("", d.Read(L"empty.txt"));
}

}  // namespace
