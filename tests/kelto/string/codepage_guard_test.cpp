// Every Shift-JIS path of the program silently breaks under any other ANSI code page,
// so the suite refuses to pass when the runner is not set up for code page 932.
#include <gtest/gtest.h>

#include <windows.h>

TEST(CodePageGuard, AnsiCodePageIs932)
{
    const UINT uCodePage = GetACP();
    ASSERT_EQ(932u, uCodePage) << "\n*** The ANSI code page under the test runner is " << uCodePage
                               << ", not 932 (Shift-JIS). Run the tests under LC_ALL=ja_JP.UTF-8. ***\n";
    char szBytes[8] = {0};
    ASSERT_EQ(5, WideCharToMultiByte(CP_ACP, 0, L"日本", -1, szBytes, sizeof szBytes, NULL, NULL))
        << "\"日本\" must be 4 bytes and a terminator in code page 932";
}
