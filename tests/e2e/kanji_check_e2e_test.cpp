// KANJI_CHECK through krelwin.exe: two script lines over Shift-JIS texts, one with per-file
// reports; the message log it writes is compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::KrelwinRun;
using e2e::RunJob;

TEST(KanjiCheckE2E, PerFileReportsAndTotalsOfEachLine) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const std::string strA = "\x98\x9f\x98\x9f\x82\xa0\r\n// \xea\xa4\r\n";  // 弌 弌 あ, a comment
    const std::string strB = "\xed\x40\xf0\x40\xb1";                        // 纊 (NEC-selected bytes), F040, ｱ
    ASSERT_TRUE(d.Write(L"a.txt", strA));
    ASSERT_TRUE(d.Write(L"b.txt", strB));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nKANJI_CHECK 1\r\nKANJI_CHECK\r\n[FILES]\r\na.txt\r\nb.txt\r\n", 0, &strLog));

    const std::wstring strTotal =
        L"\r\n---TOTAL---\r\n"
        L"第1水準漢字    = 1ｹ所\r\n"
        L"第2水準漢字    = 2ｹ所\r\n弌 1(s)\r\n"
        L"IBM拡張        = 1ｹ所\r\n纊 1(s)\r\n"
        L"外字           = 1ｹ所\r\n\xE000 1(s)\r\n";
    EXPECT_EQ(Ansi(L"<a.txt>\r\n第1水準 = 1\r\n第2水準 = 2\r\n\t弌 1(s)\r\n\r\n"
                   L"<b.txt>\r\nIBM拡張 = 1\r\n\t纊 1(s)\r\n外字 = 1\r\n\t\xE000 1(s)\r\n\r\n" +
                   strTotal + strTotal + L"Completed...\r\n"),
              strLog);
    EXPECT_EQ(strA, d.Read(L"a.txt"));
    EXPECT_EQ(strB, d.Read(L"b.txt"));
}

TEST(KanjiCheckE2E, MissingAndEmptyTargetsAreSkippedWithoutErrors) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"empty.txt", ""));
    ASSERT_TRUE(d.Write(L"a.txt", "\x88\x9f"));  // 亜
    ASSERT_TRUE(d.Write(L"gone.txt", "x"));
    ASSERT_TRUE(DeleteFileW(d.Path(L"gone.txt").c_str()));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nKANJI_CHECK 2\r\n[FILES]\r\nempty.txt\r\ngone.txt\r\na.txt\r\n", 0, &strLog));
    EXPECT_EQ(Ansi(L"<a.txt>\r\n第1水準 = 1\r\n\r\n"
                   L"\r\n---TOTAL---\r\n第1水準漢字    = 1ｹ所\r\n亜 1(s)\r\nCompleted...\r\n"),
              strLog);
    EXPECT_EQ("", d.Read(L"empty.txt"));
}

}  // namespace
