// COPY, DUMP and SAMESIZE run by krelwin.exe from a batch file over two targets, one of
// them with a Shift-JIS name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::KrelwinRun;
using e2e::RunJob;

TEST(FileUtilE2E, CopyDumpAndSameSizeLinesOverTwoFiles) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const std::string strDir = Ansi(d.Path());
    ASSERT_TRUE(d.MakeDir(L"in"));
    ASSERT_TRUE(d.Write(L"in\\a.bin", "\x01\x02\x03"));
    ASSERT_TRUE(d.Write(L"in\\\x65e5\x672c.bin", "0123456789"));  // 日本.bin
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\n"
                            "COPY " + strDir + "\\bak -r" + strDir + "\\in\r\n"
                            "DUMP\r\n"
                            "SAMESIZE\r\n"
                            "[FILES]\r\nin\\a.bin\r\nin\\\x93\xfa\x96\x7b.bin\r\n", 0, &strLog));

    // The targets come relative to the batch folder; COPY cuts their full paths.
    EXPECT_EQ("\x01\x02\x03", d.Read(L"bak\\a.bin"));
    EXPECT_EQ("0123456789", d.Read(L"bak\\\x65e5\x672c.bin"));
    EXPECT_EQ("0x01,0x02,0x03,\r\n", d.Read(L"in\\a.txt"));
    EXPECT_EQ("0x30,0x31,0x32,0x33,0x34,0x35,0x36,0x37,0x38,0x39,\r\n", d.Read(L"in\\\x65e5\x672c.txt"));
    EXPECT_EQ(std::string("\x01\x02\x03\0\0\0\0\0\0\0", 10), d.Read(L"in\\a.bin"));
    EXPECT_EQ("0123456789", d.Read(L"in\\\x65e5\x672c.bin"));

    const std::string strJapan = "\x93\xfa\x96\x7b";
    EXPECT_EQ("copying\r\n"
              "copy a.bin->" + strDir + "\\bak\\a.bin\r\n"
              "copy " + strJapan + ".bin->" + strDir + "\\bak\\" + strJapan + ".bin\r\n"
              "dump:in\\a.bin a.txt\r\n"
              "dump:in\\" + strJapan + ".bin " + strJapan + ".txt\r\n"
              "resize : 1Kb\r\na.bin\r\n" + strJapan + ".bin\r\n"
              "Completed...\r\n",
              strLog);
}

}  // namespace
