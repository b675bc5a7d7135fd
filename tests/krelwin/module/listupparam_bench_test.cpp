// Benchmarks, not tests: run with --gtest_also_run_disabled_tests --gtest_filter=ListUpParamBench*
// They print their figures; nothing is timed against a limit.
#include "krelwin/module/listupparam.h"

#include <chrono>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/krelwin/main/engine_fixture.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point _t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - _t0).count();
}

class ListUpParamBench : public EngineTest
{
protected:
    // Scripts of 128 KB, 512 KB and 2 MB of the call repeated and one ")" at the end,
    // each scanned by a fresh module as the dispatcher runs it.
    void Run(const char* _pCall)
    {
        for (const int iKb : {128, 512, 2048}) {
            std::string strText;
            while (strText.size() + 1 < static_cast<size_t>(iKb) * 1024) strText += _pCall;
            strText += ")";
            ASSERT_TRUE(m_dir.Write(L"calls.scr", strText));
            Message_clear();
            LISTUPPARAM cList;
            const auto t0 = std::chrono::steady_clock::now();
            EXPECT_EQ(1, cList.Func((L"\"" + m_dir.Path(L"calls.scr") + L"\" CALL").c_str()));
            cList.Quit(1);
            const double d = Seconds(t0);
            std::printf("LISTUPPARAM, \"%s\" repeated, %4d KB: %.3f s (%d items, %d log characters)\n", _pCall,
                        iKb, d, static_cast<int>(cList.m_vName.size()), static_cast<int>(Log().size()));
            std::fflush(stdout);
        }
    }
};

// Calls that open a list inside the one before and never close it, but for the one ")"
// at the end: every "(" ends at that ")". The blank after each comma ends the word before
// the next "(", so every "(" is a call of CALL.
TEST_F(ListUpParamBench, DISABLED_NestedCallsWithBlanks)
{
    Run("CALL(x, ");
}

// Without blanks the word before each "(" runs back to the start of the text: only the
// first "(" is a call.
TEST_F(ListUpParamBench, DISABLED_NestedCallsWithoutBlanks)
{
    Run("CALL(x,");
}

}  // namespace
