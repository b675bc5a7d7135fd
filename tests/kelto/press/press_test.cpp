#include "kelto/press/press.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kelto/press/unpress.h"

namespace {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& _vSrc, uint16_t _uBits) {
    std::vector<uint8_t> vOut(_vSrc.size() * 2 + 1024);
    EXPECT_EQ(1, PRESS_MemStart(vOut.data(), uint32_t(vOut.size()), _uBits, 0));
    for (uint8_t b : _vSrc) PRESS_MemPut(b);
    uint32_t uIn = 12345;
    const uint32_t uOut = PRESS_MemFinish(&uIn);
    EXPECT_EQ(_vSrc.size(), uIn);
    vOut.resize(uOut);
    return vOut;
}

bool Expand(const std::vector<uint8_t>& _vStream, size_t _uSize, std::vector<uint8_t>* _pOut) {
    std::unique_ptr<CUnPress> pDec(new CUnPress);
    _pOut->assign(_uSize, 0);
    pDec->Begin(_vStream.data(), uint32_t(_vStream.size()), _pOut->data(), uint32_t(_uSize));
    while (!pDec->Step()) {}
    return !pDec->Failed() && pDec->OutCount() == _uSize;
}

uint32_t s_uSeed = 1;
uint8_t Noise() {
    s_uSeed = s_uSeed * 1103515245u + 12345u;
    return uint8_t(s_uSeed >> 16);
}

std::vector<uint8_t> Text(size_t _uSize) {
    static const char* kWords[] = {"スクリプト ", "label ", "*start\r\n", "[SCRIPT] ", "file0", "text ", "\x81\x40"};
    std::string s;
    while (s.size() < _uSize) s += kWords[Noise() % 7];
    s.resize(_uSize);
    return std::vector<uint8_t>(s.begin(), s.end());
}

} // namespace

TEST(Press, RoundTripsAtEveryDictionarySize) {
    struct Case { const char* name; std::vector<uint8_t> data; };
    std::vector<uint8_t> vNoise(70000);
    for (auto& b : vNoise) b = Noise();
    std::vector<uint8_t> vMixed = Text(50000);
    vMixed.insert(vMixed.end(), vNoise.begin(), vNoise.begin() + 9000);
    vMixed.insert(vMixed.end(), 20000, 0);
    std::vector<uint8_t> vSkew;  // very uneven frequencies: codes longer than 12 bits
    for (int i = 0; i < 60000; ++i) vSkew.push_back(uint8_t(i % 3 ? 'a' : (i % 7 == 0 ? Noise() : 'b')));
    const std::vector<Case> cases = {
        {"one byte", {0x5A}},
        {"two bytes", {1, 2}},
        {"run of 1000", std::vector<uint8_t>(1000, 7)},
        {"incompressible", vNoise},
        {"text, noise and a long run", vMixed},
        {"skewed", vSkew},
        {"all byte values", [] { std::vector<uint8_t> v; for (int i = 0; i < 256 * 4; ++i) v.push_back(uint8_t(i)); return v; }()},
    };
    for (uint16_t uBits = PRESS_MIN_BITS; uBits <= PRESS_MAX_BITS; ++uBits) {
        for (const Case& c : cases) {
            std::vector<uint8_t> vStream = Compress(c.data, uBits);
            std::vector<uint8_t> vBack;
            EXPECT_TRUE(Expand(vStream, c.data.size(), &vBack)) << c.name << " bits " << uBits;
            EXPECT_TRUE(vBack == c.data) << c.name << " bits " << uBits;
        }
    }
}

TEST(Press, LongRunsAndRepeatsCompress) {
    std::vector<uint8_t> vRun(1000, 'x');
    EXPECT_LT(Compress(vRun, 13).size(), 20u);
    std::vector<uint8_t> vText = Text(100000);
    EXPECT_LT(Compress(vText, 13).size(), vText.size() / 3);
}

TEST(Press, DataAtTheWindowAndMatchLimits) {
    // Lengths around the first slide (D + 256, 2D + 256) and a repeat D - 1 bytes back, the
    // farthest a match reaches (the position D back leaves the window as the current one enters).
    for (uint16_t uBits : {uint16_t(9), uint16_t(13), uint16_t(14)}) {
        const size_t D = size_t(1) << uBits;
        std::vector<uint8_t> vBlock(D - 1);
        for (auto& b : vBlock) b = Noise();
        for (size_t n : {D + 255, D + 256, D + 257, 2 * D + 255, 2 * D + 256, 2 * D + 257, 3 * D + 1}) {
            std::vector<uint8_t> vData;
            while (vData.size() < n) vData.insert(vData.end(), vBlock.begin(), vBlock.end());
            vData.resize(n);
            std::vector<uint8_t> vStream = Compress(vData, uBits);
            std::vector<uint8_t> vBack;
            EXPECT_TRUE(Expand(vStream, n, &vBack)) << "bits " << uBits << " size " << n;
            EXPECT_TRUE(vBack == vData) << "bits " << uBits << " size " << n;
            if (n > 2 * D) {
                EXPECT_LT(vStream.size(), D + D / 2 + 512) << "repeat D - 1 bytes back not found";
            }
        }
    }
}

TEST(Press, FinishWithoutInputWritesNothing) {
    unsigned char aOut[8] = {0xEE, 0xEE};
    ASSERT_EQ(1, PRESS_MemStart(aOut, sizeof(aOut), 13, 0));
    uint32_t uIn = 99;
    EXPECT_EQ(0u, PRESS_MemFinish(&uIn));
    EXPECT_EQ(0u, uIn);
    EXPECT_EQ(0xEE, aOut[0]);
}

TEST(Press, RefusesBadStartsAndStaysInsideTheRoom) {
    unsigned char aOut[64];
    EXPECT_EQ(0, PRESS_MemStart(aOut, sizeof(aOut), 8, 0));
    EXPECT_EQ(0, PRESS_MemStart(aOut, sizeof(aOut), 15, 0));
    EXPECT_EQ(0, PRESS_MemStart(nullptr, 64, 13, 0));
    EXPECT_EQ(0, PRESS_Start(nullptr, 13, 0));

    std::vector<uint8_t> vRoom(40 + 16, 0xEE);
    ASSERT_EQ(1, PRESS_MemStart(vRoom.data(), 40, 13, 0));
    for (int i = 0; i < 500; ++i) PRESS_MemPut(Noise());
    EXPECT_EQ(0u, PRESS_MemFinish(nullptr)) << "a stream that does not fit is refused";
    for (size_t i = 40; i < vRoom.size(); ++i) ASSERT_EQ(0xEE, vRoom[i]) << "written past the room at " << i;
}

TEST(Press, StreamCopyWritesWhatTheMemoryCopyWrites) {
    std::vector<uint8_t> vData = Text(30000);
    std::FILE* pFile = std::tmpfile();
    ASSERT_NE(nullptr, pFile);
    ASSERT_EQ(1, PRESS_Start(pFile, 12, 0));
    for (uint8_t b : vData) PRESS_Put(b);
    uint32_t uIn = 0;
    const uint32_t uOut = PRESS_Finish(&uIn);
    EXPECT_EQ(vData.size(), uIn);
    std::rewind(pFile);
    std::vector<uint8_t> vFile(uOut + 1);
    EXPECT_EQ(uOut, std::fread(vFile.data(), 1, vFile.size(), pFile));
    vFile.resize(uOut);
    EXPECT_TRUE(vFile == Compress(vData, 12));

    // And the stream decoder copy reads it back from the file.
    std::rewind(pFile);
    unsigned char* pWindow = UNPRESS_Start(pFile);
    ASSERT_NE(nullptr, pWindow);
    std::vector<uint8_t> vBack;
    for (uint16_t n; (n = UNPRESS_Decode(nullptr)) != 0;) vBack.insert(vBack.end(), pWindow, pWindow + n);
    UNPRESS_End();  // closes the file
    EXPECT_TRUE(vBack == vData);
}

// Benchmark, not a test: run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
// Prints the encoder's speed and ratio on a few MB of text; nothing is timed against a limit.
TEST(Press, DISABLED_Benchmark) {
    std::vector<uint8_t> vWords = Text(4 << 20);
    std::vector<uint8_t> vSources;
    const wchar_t* kFiles[] = {L"\\krelwin\\module\\checktxt.cpp", L"\\krelwin\\module\\replace.cpp",
                               L"\\krelwin\\module\\function_base.cpp", L"\\kelto\\string\\string.cpp",
                               L"\\kelto\\press\\unpress.cpp", L"\\kelto\\files\\filelist.cpp",
                               L"\\README.md", L"\\DEVELOPERS.md"};
    std::vector<uint8_t> vOnce;
    for (const wchar_t* pName : kFiles) {
        std::FILE* pFile = _wfopen((std::wstring(KRELWIN_SOURCE_DIR) + pName).c_str(), L"rb");
        if (!pFile) continue;
        for (int c; (c = std::fgetc(pFile)) != EOF;) vOnce.push_back(uint8_t(c));
        std::fclose(pFile);
    }
    while (!vOnce.empty() && vSources.size() < (2u << 20)) vSources.insert(vSources.end(), vOnce.begin(), vOnce.end());
    struct Corpus { const char* name; const std::vector<uint8_t>* data; };
    for (const Corpus& c : {Corpus{"word text", &vWords}, Corpus{"source text", &vSources}}) {
        for (uint16_t uBits : {uint16_t(13), uint16_t(10)}) {
            const auto t0 = std::chrono::steady_clock::now();
            std::vector<uint8_t> vStream = Compress(*c.data, uBits);
            const double dSec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            std::vector<uint8_t> vBack;
            EXPECT_TRUE(Expand(vStream, c.data->size(), &vBack) && vBack == *c.data) << c.name;
            std::printf("%s, %zu bytes, bits %u: %.3f s (%.2f MB/s), %zu bytes out (%.1f%%)\n", c.name,
                        c.data->size(), unsigned(uBits), dSec, c.data->size() / dSec / 1e6, vStream.size(),
                        100.0 * vStream.size() / c.data->size());
        }
    }
}
