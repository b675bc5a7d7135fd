#include "kelto/press/unpress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kelto/press/gda1.h"
#include "stream_builder.h"
#include "tests/support/testdir.h"

namespace {

struct Decoded {
    bool failed;
    std::vector<uint8_t> out;
    int steps;
};

// Runs a fresh decoder over the stream into _uRoom bytes of output (plus a guard zone
// that must stay untouched) and returns what came out.
Decoded Decode(const std::vector<uint8_t>& _vStream, uint32_t _uRoom) {
    std::unique_ptr<CUnPress> pDec(new CUnPress);
    std::vector<uint8_t> vOut(_uRoom + 64, 0xEE);
    EXPECT_TRUE(pDec->Begin(_vStream.data(), uint32_t(_vStream.size()), vOut.data(), _uRoom));
    int iSteps = 0;
    while (!pDec->Step()) {
        if (++iSteps > 1000000) { ADD_FAILURE() << "decoder does not end"; break; }
    }
    for (size_t i = _uRoom; i < vOut.size(); ++i) {
        if (vOut[i] != 0xEE) { ADD_FAILURE() << "written past the output at " << i; break; }
    }
    vOut.resize(pDec->OutCount());
    return {pDec->Failed(), vOut, iSteps};
}

// Two literals 'a' and 'b' of one-bit codes, set up through a real pre-code: 97 zero
// lengths (pre-code symbol 2), then two lengths 1 (symbol 3); pre-code lengths 0,0,1,1.
StreamBuilder TwoLetterBlock(uint16_t _uCodes) {
    StreamBuilder b;
    b.Bits(16, _uCodes);
    b.Bits(5, 4).Length(0).Length(0).Length(1).Bits(2, 0).Length(1);
    b.Bits(9, 99).Bits(1, 0).Bits(9, 97 - 20).Bits(1, 1).Bits(1, 1);
    b.Bits(4, 0).Bits(4, 0);
    return b;
}

} // namespace

TEST(CUnPress, EmptyInputFinishesAtTheFirstStep) {
    Decoded d = Decode({}, 16);
    EXPECT_FALSE(d.failed);
    EXPECT_EQ(0, d.steps);
    EXPECT_TRUE(d.out.empty());
}

TEST(CUnPress, SingleSymbolTablesReadNoCodeBits) {
    StreamBuilder b;
    b.SingleSymbolBlock(3, 'Q', 0).Bits(7, 0);
    Decoded d = Decode(b.Bytes(), 3);
    EXPECT_FALSE(d.failed);
    EXPECT_EQ(std::string("QQQ"), std::string(d.out.begin(), d.out.end()));
}

TEST(CUnPress, CodesThroughAPreCodeAndMatchesIntoTheirOwnOutput) {
    // Block 1: "abba" by one-bit codes. Block 2: a single match of length 5 at p = 1,
    // copying "ba" over and over into its own output.
    StreamBuilder b = TwoLetterBlock(4);
    b.Bits(1, 0).Bits(1, 1).Bits(1, 1).Bits(1, 0);
    b.SingleSymbolBlock(1, 256 + 5 - 3, 1);
    b.Bits(7, 0);
    Decoded d = Decode(b.Bytes(), 9);
    EXPECT_FALSE(d.failed);
    EXPECT_EQ(std::string("abbababab"), std::string(d.out.begin(), d.out.end()));
}

TEST(CUnPress, OutputComesInWindowChunksAndMatchesSplitAcrossThem) {
    // One literal, then 200 matches of 256 bytes at p = 0: 51,201 bytes, a match crossing
    // the end of the first window.
    StreamBuilder b;
    b.SingleSymbolBlock(1, 'z', 0).SingleSymbolBlock(200, 509, 0).Bits(7, 0);
    std::vector<uint8_t> vStream = b.Bytes();
    CUnPress* pDec = new CUnPress;
    EXPECT_NE(nullptr, pDec->Init(vStream.data(), uint32_t(vStream.size())));
    EXPECT_EQ(32768, pDec->uncompress(0));
    EXPECT_EQ(51201 - 32768, pDec->uncompress(0));
    EXPECT_EQ(0, pDec->uncompress(0));
    EXPECT_FALSE(pDec->Failed());
    delete pDec;

    Decoded d = Decode(vStream, 51201);
    EXPECT_FALSE(d.failed);
    EXPECT_EQ(std::vector<uint8_t>(51201, 'z'), d.out);
}

TEST(CUnPress, ZeroBitCodesAtTheEndStillDecodeInOrder) {
    // Codes: match of 3 at p = 0 is "0", 'a' "10", 'b' "11". After "ab" only the match's
    // zero bit and the padding are left: a reader that stopped at the first all-zero bit
    // buffer would restart the window there, and the match would copy the wrong bytes.
    StreamBuilder b;
    b.Bits(16, 3);
    b.Bits(5, 5).Length(0).Length(0).Length(1).Bits(2, 0).Length(2).Length(2);
    b.Bits(9, 257).Bits(1, 0).Bits(9, 97 - 20).Bits(2, 3).Bits(2, 3);
    b.Bits(1, 0).Bits(9, 157 - 20).Bits(2, 2);
    b.Bits(4, 0).Bits(4, 0);
    b.Bits(2, 2).Bits(2, 3).Bits(1, 0).Bits(7, 0);
    Decoded d = Decode(b.Bytes(), 5);
    EXPECT_FALSE(d.failed);
    EXPECT_EQ(std::string("abbbb"), std::string(d.out.begin(), d.out.end()));
}

TEST(CUnPress, DamagedStreamsFailWithoutWritingOutside) {
    struct Case { const char* name; std::vector<uint8_t> stream; uint32_t room; size_t keeps; };
    std::vector<Case> cases;
    {   // Pre-code lengths 0,0,1 leave half of the code space empty.
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 3).Length(0).Length(0).Length(1).Bits(2, 0).Bits(32, 0);
        cases.push_back({"incomplete pre-code", b.Bytes(), 16, 0});
    }
    {   // Three lengths 1 over-fill the code space.
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 4).Length(1).Length(1).Length(1).Bits(2, 0).Length(0).Bits(32, 0);
        cases.push_back({"over-full pre-code", b.Bytes(), 16, 0});
    }
    {   // 2^16 + 2^15 + 2^15: over-full by exactly the code space.
        StreamBuilder c;
        c.Bits(16, 1).Bits(5, 6).Length(1).Length(1).Length(1).Bits(2, 0).Length(1).Length(1).Length(1);
        c.Bits(32, 0);
        cases.push_back({"over-full by a whole code space", c.Bytes(), 16, 0});
    }
    {
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 24).Bits(32, 0);
        cases.push_back({"pre-code count above 19", b.Bytes(), 16, 0});
    }
    {
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 0).Bits(5, 25).Bits(32, 0);
        cases.push_back({"single pre-code symbol outside the alphabet", b.Bytes(), 16, 0});
    }
    {
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 0).Bits(5, 0).Bits(9, 0).Bits(9, 510).Bits(32, 0);
        cases.push_back({"single literal symbol outside the alphabet", b.Bytes(), 16, 0});
    }
    {
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 0).Bits(5, 3).Bits(9, 511).Bits(32, 0);
        cases.push_back({"literal count above 510", b.Bytes(), 16, 0});
    }
    {   // Pre-code single symbol 2: zero runs of 20 + 500 pass the count of 30.
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 0).Bits(5, 2).Bits(9, 30).Bits(9, 500).Bits(32, 0);
        cases.push_back({"zero run past the literal count", b.Bytes(), 16, 0});
    }
    {   // A unary length of 20.
        StreamBuilder b;
        b.Bits(16, 1).Bits(5, 1).Length(20).Bits(32, 0);
        cases.push_back({"code length above 16", b.Bytes(), 16, 0});
    }
    {
        StreamBuilder b;
        b.SingleSymbolBlock(1, 256, 0).Bits(7, 0);
        cases.push_back({"match before the first byte", b.Bytes(), 16, 0});
    }
    {   // 'a' then a match 2 back with only one byte decoded.
        StreamBuilder b;
        b.SingleSymbolBlock(1, 'a', 0).SingleSymbolBlock(1, 256, 2).Bits(1, 0).Bits(7, 0);
        cases.push_back({"match reaching before the output", b.Bytes(), 16, 0});
    }
    {
        StreamBuilder b;
        b.SingleSymbolBlock(40, 'x', 0).Bits(7, 0);
        cases.push_back({"more output than the room", b.Bytes(), 39, 0});
    }
    {   // A block that promises 8 codes, cut after its header.
        StreamBuilder b = TwoLetterBlock(60000);
        b.Bits(4, 0xA);
        cases.push_back({"stream cut short", b.Bytes(), 65536, 0});
    }
    {   // The first chunk is copied out before the damage in the next block is met.
        StreamBuilder b;
        b.SingleSymbolBlock(1, 'z', 0).SingleSymbolBlock(128, 509, 0);
        b.Bits(16, 1).Bits(5, 3).Length(0).Length(0).Length(1).Bits(2, 0).Bits(32, 0);
        cases.push_back({"damage after a full window", b.Bytes(), 65536, 32768});
    }
    for (const Case& c : cases) {
        Decoded d = Decode(c.stream, c.room);
        EXPECT_TRUE(d.failed) << c.name;
        EXPECT_EQ(c.keeps, d.out.size()) << c.name;
    }
}

TEST(CUnPress, MemoryCopyDecodesAndReportsDamageToItsHandler) {
    static int s_iCalls;
    s_iCalls = 0;
    StreamBuilder b;
    b.SingleSymbolBlock(5, 'k', 0).Bits(7, 0);
    std::vector<uint8_t> vStream = b.Bytes();
    unsigned char* pWindow = UNPRESS_MemStart(vStream.data(), uint32_t(vStream.size()));
    ASSERT_NE(nullptr, pWindow);
    EXPECT_EQ(5, UNPRESS_MemDecode([] { ++s_iCalls; }));
    EXPECT_EQ(std::string("kkkkk"), std::string(pWindow, pWindow + 5));
    EXPECT_EQ(0, UNPRESS_MemDecode([] { ++s_iCalls; }));
    EXPECT_EQ(0, s_iCalls);

    StreamBuilder bad;
    bad.SingleSymbolBlock(1, 256, 0).Bits(7, 0);
    vStream = bad.Bytes();
    ASSERT_NE(nullptr, UNPRESS_MemStart(vStream.data(), uint32_t(vStream.size())));
    EXPECT_EQ(0, UNPRESS_MemDecode([] { ++s_iCalls; }));
    EXPECT_EQ(1, s_iCalls);
    UNPRESS_MemEnd();
}

namespace {

struct Chunks {
    std::vector<uint16_t> sizes;
    std::vector<uint8_t> bytes;
    bool failed;
};

// Every chunk a decoder gives until it ends (at most 4,000).
Chunks Drain(CUnPress& _cDec, unsigned char* _pWindow) {
    Chunks c;
    for (int i = 0; i < 4000; ++i) {
        const uint16_t n = _cDec.uncompress(0);
        c.sizes.push_back(n);
        if (n == 0) break;
        c.bytes.insert(c.bytes.end(), _pWindow, _pWindow + n);
    }
    c.failed = _cDec.Failed();
    return c;
}

}  // namespace

// Memory input is read by a reader of its own; a byte stream by the reader of the table
// code. Both must see the same codes, the same end and the same damage, chunk by chunk:
// sound streams, streams cut anywhere, streams with a bit turned over, and noise.
TEST(CUnPress, MemoryAndStreamInputDecodeAlike) {
    testdir::TestDir cDir;
    ASSERT_TRUE(cDir.Ok());
    unsigned int uSeed = 99;
    auto next = [&](unsigned n) { uSeed = uSeed * 1103515245u + 12345u; return ((uSeed >> 16) & 0x7FFF) % n; };
    std::vector<std::vector<uint8_t>> vInputs;
    for (uint32_t uSize : {1u, 300u, 5000u, 70000u, 140000u}) {
        std::vector<uint8_t> vText(uSize);
        for (uint32_t i = 0; i < uSize; ++i) vText[i] = static_cast<uint8_t>(next(4) ? 'a' + next(6) : next(256));
        std::vector<uint8_t> vBlock(uSize + uSize / 4 + 4096);
        uint32_t uIn = uSize, uBlock = 0;
        ASSERT_EQ(1, GDA1_PressMem(vText.data(), vBlock.data(), uint32_t(vBlock.size()), &uIn, &uBlock));
        const std::vector<uint8_t> vStream(vBlock.begin() + GDA1_HEADER_SIZE, vBlock.begin() + uBlock);
        vInputs.push_back(vStream);
        for (int k = 0; k < 6; ++k) {
            vInputs.push_back(std::vector<uint8_t>(vStream.begin(), vStream.begin() + next(uint32_t(vStream.size()))));
            std::vector<uint8_t> vFlipped = vStream;
            vFlipped[next(uint32_t(vFlipped.size()))] ^= static_cast<uint8_t>(1u << next(8));
            vInputs.push_back(vFlipped);
        }
    }
    for (int k = 0; k < 20; ++k) {
        std::vector<uint8_t> vNoise(1 + next(3000));
        for (uint8_t& b : vNoise) b = static_cast<uint8_t>(next(256));
        vInputs.push_back(vNoise);
    }
    int iSound = 0;
    for (size_t i = 0; i < vInputs.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<uint8_t>& vIn = vInputs[i];
        std::unique_ptr<CUnPress> pMem(new CUnPress), pFile(new CUnPress);
        unsigned char* pMemWindow = pMem->Init(vIn.data(), uint32_t(vIn.size()));
        const Chunks cMem = Drain(*pMem, pMemWindow);

        ASSERT_TRUE(cDir.Write(L"s.bin", std::string(vIn.begin(), vIn.end())));
        FILE* pStream = _wfopen(cDir.Path(L"s.bin").c_str(), L"rb");
        ASSERT_NE(nullptr, pStream);
        unsigned char* pFileWindow = pFile->InitStream(pStream);
        const Chunks cFile = Drain(*pFile, pFileWindow);
        std::fclose(pStream);

        EXPECT_EQ(cFile.failed, cMem.failed);
        EXPECT_EQ(cFile.sizes, cMem.sizes);
        EXPECT_TRUE(cFile.bytes == cMem.bytes);
        iSound += !cMem.failed;
    }
    EXPECT_GT(iSound, 5);
}
