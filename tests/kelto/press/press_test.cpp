#include "kelto/press/press.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <io.h>

#include "kelto/press/unpress.h"
#include "stream_builder.h"

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

// Captures what the process writes to one of its standard streams until Take.
class Captured {
public:
    explicit Captured(std::FILE* _pStd) : m_pStd(_pStd), m_pFile(std::tmpfile()), m_iSaved(-1) {
        std::fflush(m_pStd);
        if (m_pFile) {
            m_iSaved = _dup(_fileno(m_pStd));
            _dup2(_fileno(m_pFile), _fileno(m_pStd));
        }
    }
    ~Captured() {
        restore();
        if (m_pFile) std::fclose(m_pFile);
    }
    // Everything written since the start, line ends as "\n"; capturing ends.
    std::string Take() {
        restore();
        std::string s;
        if (!m_pFile) return s;
        std::rewind(m_pFile);
        for (int c; (c = std::fgetc(m_pFile)) != EOF;)
            if (c != '\r') s += char(c);
        return s;
    }

private:
    void restore() {
        if (m_iSaved < 0) return;
        std::fflush(m_pStd);
        _dup2(m_iSaved, _fileno(m_pStd));
        _close(m_iSaved);
        m_iSaved = -1;
    }
    std::FILE* m_pStd;
    std::FILE* m_pFile;
    int m_iSaved;
};

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

TEST(Press, WritesTheStreamOfTheMethod) {
    // Bit by bit what the method gives: a single-symbol block for one byte, and for "abc"
    // the Huffman construction's own tie order (the heap's rules give 'b', the last symbol
    // to leave the heap, the 1-bit code). The 7 closing zero bits complete the last byte;
    // bits of an unfinished byte are not written.
    struct Case { const char* name; std::vector<uint8_t> input; StreamBuilder expected; };
    const std::vector<Case> cases = {
        {"one byte", {0x5A}, StreamBuilder().SingleSymbolBlock(1, 0x5A, 0).Bits(7, 0)},
        {"abc", {'a', 'b', 'c'},
         StreamBuilder()
             .Bits(16, 3)
             // Pre-code: 5 lengths (0 0 2, none skipped, 2 1): symbol 4 is "0", 2 is "10", 3 is "11".
             .Bits(5, 5).Length(0).Length(0).Length(2).Bits(2, 0).Length(2).Length(1)
             // 100 literal/length lengths: 97 zeros (symbol 2, 97 - 20), then 2 1 2.
             .Bits(9, 100).Bits(2, 2).Bits(9, 77).Bits(1, 0).Bits(2, 3).Bits(1, 0)
             .Bits(4, 0).Bits(4, 0)                      // no positions
             .Bits(2, 2).Bits(1, 0).Bits(2, 3)           // 'a' 10, 'b' 0, 'c' 11
             .Bits(7, 0)},
    };
    for (const Case& c : cases) {
        for (uint16_t uBits : {uint16_t(9), uint16_t(13), uint16_t(14)}) {
            EXPECT_EQ(c.expected.CompleteBytes(), Compress(c.input, uBits)) << c.name << " bits " << uBits;
        }
    }
}

TEST(Press, OutputDependsOnTheInputAlone) {
    // The tree compares past the input's end into the window's unused part, where the last
    // "abc" chooses between the earlier ones by the byte that follows: a window that held
    // another input before (a run of 'Y') must not change the result. One output room for
    // every run, so that the encoder's tables come back at the places they had.
    std::vector<uint8_t> vRoom(300000);
    auto encode = [&vRoom](const std::vector<uint8_t>& _vData, uint16_t _uBits) {
        EXPECT_EQ(1, PRESS_MemStart(vRoom.data(), uint32_t(vRoom.size()), _uBits, 0));
        for (uint8_t b : _vData) PRESS_MemPut(b);
        const uint32_t uOut = PRESS_MemFinish(nullptr);
        return std::vector<uint8_t>(vRoom.begin(), vRoom.begin() + uOut);
    };
    const std::string sShort = "XabcYabcZabc";
    const std::vector<uint8_t> vShort(sShort.begin(), sShort.end());
    const std::vector<uint8_t> vRun(100000, 'Y');
    const std::vector<uint8_t> vTail = Text(8192 + 256 + 500);
    for (uint16_t uBits : {uint16_t(9), uint16_t(13)}) {
        const std::vector<uint8_t> vShortFirst = encode(vShort, uBits);
        const std::vector<uint8_t> vTailFirst = encode(vTail, uBits);
        encode(vRun, uBits);
        EXPECT_EQ(vShortFirst, encode(vShort, uBits)) << "bits " << uBits;
        encode(vRun, uBits);
        EXPECT_EQ(vTailFirst, encode(vTail, uBits)) << "bits " << uBits;
    }
}

TEST(Press, VerboseStartPrintsTheMemoryOfItsTables) {
    // Literal/length and pre-code/position lengths and tree links; frequencies and codes;
    // window and match tree; output buffer.
    struct Case { uint16_t bits; const char* figures; };
    const Case cases[] = {
        {13, "4605+3224+174814+16384=199027"},
        {9, "4605+3208+13564+16384=37761"},
        {14, "4605+3228+346814+16384=371031"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> vOut(64);
        Captured cOut(stdout);
        ASSERT_EQ(1, PRESS_MemStart(vOut.data(), uint32_t(vOut.size()), c.bits, 1));
        const std::string sLine = cOut.Take();
        PRESS_MemFinish(nullptr);
        // "使用メモリ:" ... "バイト" in code page 932.
        EXPECT_EQ(std::string("\x8E\x67\x97\x70\x83\x81\x83\x82\x83\x8A:") + c.figures +
                      "\x83\x6F\x83\x43\x83\x67\n",
                  sLine) << "bits " << c.bits;
    }
    std::vector<uint8_t> vOut(64);
    Captured cQuiet(stdout);
    ASSERT_EQ(1, PRESS_MemStart(vOut.data(), uint32_t(vOut.size()), 13, 0));
    EXPECT_EQ("", cQuiet.Take());
    PRESS_MemFinish(nullptr);
}

TEST(Press, VerboseTwoPrintsADotAtTheStartAndAtEachRefill) {
    // One dot when coding starts (at D + 256 bytes, or at Finish) and one each time the window
    // has slid (after every D positions coded) and its refill is taken, the partial one at
    // Finish included: so D bytes or more already slide once, and a partial refill that
    // leaves D bytes or more to code slides once more.
    struct Case { uint16_t bits; size_t size; size_t dots; };
    const size_t D13 = 8192, D9 = 512;
    const Case cases[] = {
        {13, 0, 0}, {13, 1, 1}, {13, D13 - 1, 1}, {13, D13, 2}, {13, D13 + 255, 2}, {13, D13 + 256, 2},
        {13, D13 + 257, 2}, {13, 2 * D13 - 1, 2}, {13, 2 * D13, 3}, {13, 2 * D13 + 256, 3},
        {13, 3 * D13 + 256, 4}, {13, 3 * D13 + 300, 4},
        {9, D9 + 256, 2}, {9, D9 + 256 + 255, 2}, {9, D9 + 256 + 256, 3}, {9, 2 * D9 + 256, 3},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> vData = Text(c.size);
        std::vector<uint8_t> vOut(c.size * 2 + 1024);
        Captured cErr(stderr);
        ASSERT_EQ(1, PRESS_MemStart(vOut.data(), uint32_t(vOut.size()), c.bits, 2));
        for (uint8_t b : vData) PRESS_MemPut(b);
        vOut.resize(PRESS_MemFinish(nullptr));
        EXPECT_EQ(std::string(c.dots, '.'), cErr.Take()) << "bits " << c.bits << " size " << c.size;
        std::vector<uint8_t> vBack;
        EXPECT_TRUE(c.size == 0 || (Expand(vOut, c.size, &vBack) && vBack == vData))
            << "bits " << c.bits << " size " << c.size;
    }

    // Coding starts within the put that fills the look-ahead; verbose 1 prints no dots.
    std::vector<uint8_t> vOut(4 * D13);
    Captured cBefore(stderr);
    ASSERT_EQ(1, PRESS_MemStart(vOut.data(), uint32_t(vOut.size()), 13, 2));
    for (size_t i = 0; i < D13 + 255; ++i) PRESS_MemPut(uint8_t(i));
    EXPECT_EQ("", cBefore.Take());
    Captured cLast(stderr);
    PRESS_MemPut(0);
    EXPECT_EQ(".", cLast.Take());
    PRESS_MemFinish(nullptr);
    Captured cQuiet(stderr);
    ASSERT_EQ(1, PRESS_MemStart(vOut.data(), uint32_t(vOut.size()), 13, 1));
    for (size_t i = 0; i < 2 * D13 + 256; ++i) PRESS_MemPut(uint8_t(i));
    PRESS_MemFinish(nullptr);
    EXPECT_EQ("", cQuiet.Take());
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
