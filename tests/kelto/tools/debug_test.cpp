#include "kelto/tools/debug.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> g_vOutput;

void captureOutput(const wchar_t* _pText)
{
    g_vOutput.push_back(_pText);
}

// Routes the debugger output into g_vOutput for the length of a test.
class DebugOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_vOutput.clear();
        m_pPrevious = DEBUG_setOutputHook(captureOutput);
    }
    void TearDown() override { DEBUG_setOutputHook(m_pPrevious); }

private:
    DEBUG_OUTPUT_HOOK m_pPrevious = nullptr;
};

const wchar_t* const OVERFLOW_TEXT = L"assertion!! テンポラリバッファをオーバー\n";

} // namespace

TEST_F(DebugOutput, FalseAssertionSendsExpressionFileLineAndFunction)
{
    DEBUG_assert(0, "(NULL!=_pSec)", "kelto\\files\\profile.cpp", 42, "PROFILE_get", nullptr);
    ASSERT_EQ(1u, g_vOutput.size());
    EXPECT_EQ(L"assertion!!(NULL!=_pSec)\nkelto\\files\\profile.cpp(42):PROFILE_get\n", g_vOutput[0]);
}

TEST_F(DebugOutput, FalseAssertionWithMessageSendsTheMessageSecond)
{
    DEBUG_assert(0, "(0<_iSize)", "a.cpp", 7, "F", L"サイズが不正");
    ASSERT_EQ(2u, g_vOutput.size());
    EXPECT_EQ(L"assertion!!(0<_iSize)\na.cpp(7):F\n", g_vOutput[0]);
    EXPECT_EQ(L"サイズが不正\n", g_vOutput[1]);
}

TEST_F(DebugOutput, TrueAssertionSendsNothing)
{
    DEBUG_assert(1, "(x)", "a.cpp", 1, "F", L"never");
    DEBUG_assertMsg(1, "(x)", "a.cpp", 1, "F", L"never %d", 1);
    EXPECT_TRUE(g_vOutput.empty());
}

TEST_F(DebugOutput, AssertMsgFormatsItsMessage)
{
    DEBUG_assertMsg(0, "(n<4)", "b.cpp", 9, "G", L"%s=%d", L"n", 5);
    ASSERT_EQ(2u, g_vOutput.size());
    EXPECT_EQ(L"n=5\n", g_vOutput[1]);
}

TEST_F(DebugOutput, AssertMsgWithAMessageTooLongReportsNothing)
{
    const std::wstring sLong(300, L'm');
    DEBUG_assertMsg(0, "(x)", "a.cpp", 1, "F", L"%s", sLong.c_str());
    EXPECT_TRUE(g_vOutput.empty());
}

TEST_F(DebugOutput, AssertMacroReportsTheConditionTextAndCarriesOn)
{
    const int iValue = 3;
    KELTO_ASSERT(iValue == 4);
    KELTO_ASSERT(iValue == 3);
    KELTO_ASSERT_MSG(iValue < 0, L"value %d", iValue);
    ASSERT_EQ(3u, g_vOutput.size());
    EXPECT_EQ(0u, g_vOutput[0].find(L"assertion!!iValue == 4\n")) << g_vOutput[0];
    EXPECT_NE(std::wstring::npos, g_vOutput[0].find(L"debug_test.cpp(")) << g_vOutput[0];
    EXPECT_EQ(0u, g_vOutput[1].find(L"assertion!!iValue < 0\n")) << g_vOutput[1];
    EXPECT_EQ(L"value 3\n", g_vOutput[2]);
}

TEST_F(DebugOutput, TraceThatDoesNotFitSendsTheOverflowText)
{
    const std::wstring sFormat(1100, L'f');
    DEBUG_trace(sFormat.c_str());
    const std::wstring sArgument(2000, L'a');
    DEBUG_trace(L"%s", sArgument.c_str());
    const std::wstring sFits(1023, L'z');
    DEBUG_trace(L"%s", sFits.c_str());
    ASSERT_EQ(3u, g_vOutput.size());
    EXPECT_EQ(OVERFLOW_TEXT, g_vOutput[0]);
    EXPECT_EQ(OVERFLOW_TEXT, g_vOutput[1]);
    EXPECT_EQ(sFits, g_vOutput[2]);
}

TEST(DebugLastError, GivesTheSystemTextOfTheLastError)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    const wchar_t* pText = DEBUG_lastErrorText();
    ASSERT_NE(nullptr, pText);
    const std::wstring sText = pText;
    EXPECT_FALSE(sText.empty());
    EXPECT_LT(sText.size(), 256u);

    wchar_t szCopy[256] = L"";
    SetLastError(ERROR_FILE_NOT_FOUND);
    DEBUG_errorBox(szCopy);
    EXPECT_EQ(sText, szCopy);
}

TEST(Tools, NextPow2)
{
    struct Row { int n; int expected; };
    const Row rows[] = {
        {-3, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 4}, {4, 4}, {5, 8}, {1000, 1024},
        {1 << 30, 1 << 30}, {(1 << 30) + 1, 0}, {INT_MAX, 0},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, _nextPow2(row.n)) << "n " << row.n;
}

TEST(Tools, RandomStaysInItsRange)
{
    srand(1);
    bool bSawLow = false, bSawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const int r = _random(-10);
        ASSERT_GE(r, -9);
        ASSERT_LE(r, 0);
        bSawLow |= r == -9;
        bSawHigh |= r == 0;
        const int p = _random(7);
        ASSERT_GE(p, 0);
        ASSERT_LE(p, 6);
    }
    EXPECT_TRUE(bSawLow && bSawHigh);
    EXPECT_EQ(0, _random(0));

    // The most negative n has no positive counterpart; every value the generator gives
    // is below its size, so the result is the value negated.
    for (unsigned int uSeed : {1u, 7u, 12345u}) {
        srand(uSeed);
        const int iExpected = -rand();
        srand(uSeed);
        EXPECT_EQ(iExpected, _random(INT_MIN)) << "seed " << uSeed;
    }
    EXPECT_GE(_random(INT_MAX), 0);
}

TEST(Tools, SwapExchangesValuesAndTexts)
{
    int a = 1, b = 2;
    _swap(&a, &b);
    EXPECT_EQ(2, a);
    EXPECT_EQ(1, b);
    double x = 1.5, y = -2.0;
    _swap(&x, &y);
    EXPECT_EQ(-2.0, x);

    wchar_t szA[16] = L"短い";
    wchar_t szB[16] = L"longer text";
    _swap(szA, szB);
    EXPECT_STREQ(L"longer text", szA);
    EXPECT_STREQ(L"短い", szB);
}
