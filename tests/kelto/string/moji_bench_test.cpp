// Benchmarks, not tests: run with --gtest_also_run_disabled_tests --gtest_filter=*Bench*
// They print their figures; nothing is timed against a limit.
#include "kelto/string/moji.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Millis(std::chrono::steady_clock::time_point _t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - _t0).count();
}

// About 10 MB of Shift-JIS lines: ASCII, hiragana, level-1 kanji, half-width katakana.
std::string SjisText(size_t _uBytes)
{
    std::string s;
    s.reserve(_uBytes + 64);
    unsigned int uSeed = 12345;
    while (s.size() < _uBytes) {
        uSeed = uSeed * 1103515245u + 12345u;
        const unsigned int r = (uSeed >> 16) & 0x7FFF;
        switch (r % 5) {
        case 0: s += "text, "; break;
        case 1: s += '\x82'; s += static_cast<char>(0xA0 + r % 0x51); break;
        case 2: s += '\x88'; s += static_cast<char>(0x9F + r % 0x5E); break;
        case 3: s += static_cast<char>(0xB1 + r % 0x2D); break;
        default: s += "\r\n"; break;
        }
    }
    return s;
}

void Measure(const char* _pName, const std::string& _strBytes)
{
    CMOJIUTIL cMoji;
    const int iBytes = static_cast<int>(_strBytes.size());
    auto t0 = std::chrono::steady_clock::now();
    const int iUnits = cMoji.MbToWcSize(_strBytes.data(), iBytes);
    std::vector<wchar_t> vUnits(static_cast<size_t>(iUnits) + 1);
    ASSERT_EQ(iUnits, cMoji.MbToWc(_strBytes.data(), iBytes, vUnits.data()));
    const double dRead = Millis(t0);
    t0 = std::chrono::steady_clock::now();
    const int iBack = cMoji.WcToMbSize(vUnits.data(), iUnits);
    std::vector<char> vBack(static_cast<size_t>(iBack) + 1);
    ASSERT_EQ(iBack, cMoji.WcToMb(vUnits.data(), iUnits, vBack.data()));
    const double dWrite = Millis(t0);
    std::printf("%s: %d bytes -> %d units %.1f ms, back to %d bytes %.1f ms\n", _pName, iBytes, iUnits, dRead,
                iBack, dWrite);
}

} // namespace

TEST(MojiBench, DISABLED_TenMegabytesBothWays)
{
    std::string strText = SjisText(10u << 20);
    Measure("valid Shift-JIS", strText);
    // One lead byte without its trail byte in the middle.
    strText.insert(strText.size() / 2, "\x81\r\n");
    Measure("one bad byte", strText);
}
