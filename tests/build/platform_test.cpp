// The test runner itself must give the programs what the target systems have.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Platform, AnsiCodePageIsShiftJis)
{
    // Under any other locale every Shift-JIS path and text would silently break.
    ASSERT_EQ(932u, GetACP()) << "the tests must run under the ja_JP.UTF-8 locale (code page 932)";
}

TEST(Platform, WideCharIsSixteenBits)
{
    EXPECT_EQ(2u, sizeof(wchar_t));
}

TEST(Platform, JapaneseTextConvertsToShiftJisBytes)
{
    char out[8] = {};
    int n = WideCharToMultiByte(CP_ACP, 0, L"日本", -1, out, sizeof out, nullptr, nullptr);
    EXPECT_EQ(5, n);
    EXPECT_EQ('\x93', out[0]);
    EXPECT_EQ('\xfa', out[1]);
}
