// Benchmark, not a test: the block decoder beside zlib's inflate on the same text in the same
// program. Built only where the MinGW zlib is installed (zlib is never part of the product).
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
#ifdef KRELWIN_BENCH_ZLIB

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "kelto/memory/mem.h"
#include "kelto/press/gda1.h"

namespace {

// Text of words drawn from a vocabulary with a skewed choice, in lines and sentences.
std::vector<unsigned char> MakeText(size_t _uSize)
{
    unsigned int uSeed = 2024;
    auto next = [&](unsigned n) { uSeed = uSeed * 1103515245u + 12345u; return ((uSeed >> 16) & 0x7FFF) % n; };
    std::vector<std::string> vWords;
    for (int i = 0; i < 3000; ++i) {
        std::string strWord;
        const unsigned uLen = 2 + next(8);
        for (unsigned c = 0; c < uLen; ++c) strWord += static_cast<char>('a' + next(26));
        vWords.push_back(strWord);
    }
    std::string strText;
    while (strText.size() < _uSize) {
        const unsigned uWords = 4 + next(12);
        for (unsigned w = 0; w < uWords; ++w) {
            const unsigned r = next(3000);
            strText += vWords[(r * r) / 3000];  // short ranks far more often
            strText += w + 1 < uWords ? " " : (next(4) ? ". " : ".\r\n");
        }
    }
    strText.resize(_uSize);
    return std::vector<unsigned char>(strText.begin(), strText.end());
}

double Seconds(std::chrono::steady_clock::time_point _t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - _t0).count();
}

TEST(UnpressBench, DISABLED_BenchmarkAgainstInflate)
{
    const uint32_t uSize = 8u << 20;
    const std::vector<unsigned char> vText = MakeText(uSize);

    std::vector<unsigned char> vBlock(uSize + uSize / 4 + 4096);
    uint32_t uIn = uSize, uBlock = 0;
    ASSERT_EQ(1, GDA1_PressMem(vText.data(), vBlock.data(), static_cast<uint32_t>(vBlock.size()), &uIn, &uBlock));
    uLongf uZip = compressBound(uSize);
    std::vector<unsigned char> vZip(uZip);
    ASSERT_EQ(Z_OK, compress2(vZip.data(), &uZip, vText.data(), uSize, 6));

    const int iRounds = 9;
    double dBest = 1e9, dBestMem = 1e9, dBestZip = 1e9;
    std::vector<unsigned char> vOut(uSize);
    for (int i = 0; i < iRounds; ++i) {
        unsigned char* pOut = 0;
        auto t0 = std::chrono::steady_clock::now();
        ASSERT_EQ(static_cast<int>(uSize), gda1_expand(&pOut, vBlock.data(), uBlock));
        const double d = Seconds(t0);
        ASSERT_TRUE(std::equal(vText.begin(), vText.end(), pOut));
        MEM_free(&pOut);
        if (d < dBest) dBest = d;

        uint32_t uDone = 0;
        t0 = std::chrono::steady_clock::now();
        ASSERT_EQ(1, gda1_expandMem(vBlock.data() + GDA1_HEADER_SIZE, vOut.data(), uBlock - GDA1_HEADER_SIZE,
                                    uSize, &uDone));
        const double dMem = Seconds(t0);
        ASSERT_EQ(uSize, uDone);
        ASSERT_TRUE(vOut == vText);
        if (dMem < dBestMem) dBestMem = dMem;

        std::fill(vOut.begin(), vOut.end(), 0);
        uLongf uOut = uSize;
        t0 = std::chrono::steady_clock::now();
        ASSERT_EQ(Z_OK, uncompress(vOut.data(), &uOut, vZip.data(), uZip));
        const double dZip = Seconds(t0);
        ASSERT_EQ(uSize, uOut);
        ASSERT_TRUE(vOut == vText);
        if (dZip < dBestZip) dBestZip = dZip;
    }
    const double dMB = uSize / 1048576.0;
    std::printf("%u bytes of text; GDA1 block %u bytes, zlib (level 6) %lu bytes; best of %d\n", uSize, uBlock,
                static_cast<unsigned long>(uZip), iRounds);
    std::printf("block decoder (GDA1 expansion): %.1f MB/s, %.2f x inflate\n", dMB / dBest, dBestZip / dBest);
    std::printf("decoder copy (from memory):     %.1f MB/s, %.2f x inflate\n", dMB / dBestMem, dBestZip / dBestMem);
    std::printf("zlib inflate:                   %.1f MB/s\n", dMB / dBestZip);
}

}  // namespace

#endif
