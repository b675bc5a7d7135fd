// WAVEVOL: the header reader against hostile files, and the level arithmetic on WAVE
// images in memory.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "krelwin/module/wavevol.h"
#include "tests/krelwin/module/wave_fixture.h"

using namespace wave_fixture;

namespace {

const unsigned char* Bytes(const std::string& _str)
{
    return reinterpret_cast<const unsigned char*>(_str.data());
}

// Levels of an image: the output bytes, or the result when it is not a frame count.
struct LEVELS
{
    int iResult;
    std::string strOut;
};
LEVELS Convert(const std::string& _strFile, int _iStep, int _iType, int _iPercent = 30)
{
    WAVEVOL cWave;
    const int iNeed = cWave.ConvertData(Bytes(_strFile), static_cast<uint32_t>(_strFile.size()), 0, 0, _iStep,
                                        _iPercent, _iType);
    if (iNeed <= 0) return {iNeed, std::string()};
    std::string strOut(iNeed, '\x55');
    const int iFrames = cWave.ConvertData(Bytes(_strFile), static_cast<uint32_t>(_strFile.size()),
                                          reinterpret_cast<unsigned char*>(&strOut[0]), iNeed, _iStep, _iPercent,
                                          _iType);
    return {iFrames, strOut};
}

std::string Hex(const std::string& _str)
{
    static const char s_aDigit[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : _str) {
        s += s_aDigit[c >> 4];
        s += s_aDigit[c & 15];
        s += ' ';
    }
    return s;
}

} // namespace

TEST(WaveHeader, ReadsLittleEndianNumbersOnlyInsideTheData)
{
    const std::string s = "\x01\x02\x03\x04\x05";
    EXPECT_EQ(0x04030201u, WAVEVOL::read32(Bytes(s), 5, 0));
    EXPECT_EQ(0x05040302u, WAVEVOL::read32(Bytes(s), 5, 1));
    EXPECT_EQ(0u, WAVEVOL::read32(Bytes(s), 5, 2));
    EXPECT_EQ(0u, WAVEVOL::read32(Bytes(s), 5, 0xFFFFFFFFu)) << "a position near the top does not wrap";
    EXPECT_EQ(0x0504u, WAVEVOL::read16(Bytes(s), 5, 3));
    EXPECT_EQ(0u, WAVEVOL::read16(Bytes(s), 5, 4));
    EXPECT_EQ(0u, WAVEVOL::read16(nullptr, 5, 0));
}

TEST(WaveHeader, HostileHeadersAreRefusedWithoutReadingPastTheEnd)
{
    const std::string strFmt = Chunk("fmt ", Format(1, 8000, 8));
    const std::string strData = Chunk("data", std::string(6, '\x80'));
    struct ROW
    {
        const char* pName;
        std::string strFile;
        int iWantData;
        int iExpect;
    };
    const ROW aRow[] = {
        {"empty", "", 1, WAVE_READ_SHORT},
        {"three bytes of RIFF", "RIF", 1, WAVE_READ_SHORT},
        {"text file", "hello, world", 1, WAVE_READ_NOT_WAVE},
        {"RIFF of another form", "RIFF" + Le32(4) + "AVI " + strFmt, 0, WAVE_READ_NOT_WAVE},
        {"RIFF header alone", "RIFF" + Le32(4) + "WAVE", 0, WAVE_READ_SHORT},
        {"chunk header cut", Riff("fmt " + Le16(16)), 0, WAVE_READ_SHORT},
        {"format chunk under 16 bytes", Riff(RawChunk("fmt ", 14, Format(1, 8000, 8).substr(0, 14))), 0,
         WAVE_READ_NOT_WAVE},
        {"format chunk cut by the end", Riff(RawChunk("fmt ", 16, Format(1, 8000, 8).substr(0, 10))), 0,
         WAVE_READ_SHORT},
        {"format chunk of 4 GiB", Riff(RawChunk("fmt ", 0xFFFFFFFFu, Format(1, 8000, 8))), 0, WAVE_READ_SHORT},
        {"chunk before the format running past the end", Riff(RawChunk("LIST", 100, "abcd") + strFmt), 0,
         WAVE_READ_SHORT},
        {"chunk size that wraps a 32-bit position", Riff(RawChunk("LIST", 0xFFFFFFF0u, "") + strFmt + strData), 1,
         WAVE_READ_SHORT},
        {"zero-size chunks up to the end", Riff(RawChunk("JUNK", 0, "") + RawChunk("JUNK", 0, "")), 1,
         WAVE_READ_SHORT},
        {"no data chunk", Riff(strFmt), 1, WAVE_READ_SHORT},
        {"no data chunk, format asked for only", Riff(strFmt), 0, WAVE_READ_OK},
        {"data without format", Riff(strData), 1, WAVE_READ_SHORT},
        {"plain file", Riff(strFmt + strData), 1, WAVE_READ_OK},
    };
    for (const ROW& r : aRow) {
        WAVE_HEADER st;
        // An exact-size copy on the heap, so a read past the end shows under a checker.
        std::vector<unsigned char> aFile(r.strFile.begin(), r.strFile.end());
        const int iGot = WAVEVOL::ReadHeader(aFile.empty() ? nullptr : aFile.data(),
                                             static_cast<uint32_t>(aFile.size()), &st, r.iWantData);
        EXPECT_EQ(r.iExpect, iGot) << "case " << r.pName;
        if (iGot == WAVE_READ_OK && r.iWantData) {
            EXPECT_LE(uint64_t(st.uDataOffset) + st.uDataSize, aFile.size()) << "case " << r.pName;
        }
    }
}

TEST(WaveHeader, FindsTheChunksWhereverTheyStand)
{
    const std::string strSamples = "\x10\x20\x30\x40\x50";
    struct ROW
    {
        const char* pName;
        std::string strFile;
        uint32_t uDataOffset;
        uint32_t uDataSize;
    };
    const ROW aRow[] = {
        {"plain", Wave(2, 22050, 16, strSamples), 44, 5},
        // An odd chunk is padded to a word; the data follows the pad byte.
        {"odd LIST chunk first", Riff(Chunk("LIST", "abc") + Chunk("fmt ", Format(2, 22050, 16)) +
                                      Chunk("data", strSamples)), 56, 5},
        {"format chunk of 18 bytes", Riff(Chunk("fmt ", Format(2, 22050, 16) + Le16(0)) + Chunk("data", strSamples)),
         46, 5},
        {"data before format", Riff(Chunk("data", strSamples) + Chunk("fmt ", Format(2, 22050, 16))), 20, 5},
        {"data size past the end is cut to the file",
         Riff(Chunk("fmt ", Format(2, 22050, 16)) + RawChunk("data", 0x7FFFFFFFu, strSamples)), 44, 5},
    };
    for (const ROW& r : aRow) {
        WAVE_HEADER st;
        ASSERT_EQ(WAVE_READ_OK, WAVEVOL::ReadHeader(Bytes(r.strFile), uint32_t(r.strFile.size()), &st, 1))
            << "case " << r.pName;
        EXPECT_EQ(2, st.wChannels) << "case " << r.pName;
        EXPECT_EQ(22050u, st.uSampleRate) << "case " << r.pName;
        EXPECT_EQ(88200u, st.uBytesPerSec) << "case " << r.pName;
        EXPECT_EQ(4, st.wBlockAlign) << "case " << r.pName;
        EXPECT_EQ(16, st.wBitsPerSample) << "case " << r.pName;
        EXPECT_EQ(r.uDataOffset, st.uDataOffset) << "case " << r.pName;
        EXPECT_EQ(r.uDataSize, st.uDataSize) << "case " << r.pName;
    }
}

// Writers pad an odd chunk to a word, but some leave the pad byte out: from the padded place
// and from the place right after the body, the reader follows the chunks that come next and
// takes the place from which they run on to the chunk looked for or the file's end.
TEST(WaveHeader, EveryLayoutOfOddChunksWithOrWithoutPadBytesReachesTheData)
{
    const std::string strFmt = Chunk("fmt ", Format(1, 8000, 8));
    const std::string strData = Chunk("data", "\x10\x20");
    const std::string strList = RawChunk("LIST", 5, "INFOx");  // odd, no pad byte after it
    const std::string strListPadded = Chunk("LIST", "INFOx");
    const std::string strJunk = RawChunk("JUNK", 3, "abc");    // odd, no pad byte after it
    // Its size's low byte 34 is '"': the padded place before it reads an id "AD \"" and a
    // size of 0 taken from the zeros.
    const std::string strPad34 = Chunk("PAD ", std::string(34, '\0'));
    const std::string strPad16 = Chunk("PAD ", std::string(16, '\0'));
    std::string strTwentyChunks;
    for (int i = 0; i < 20; ++i) strTwentyChunks += Chunk("JUNK", "jj");
    std::string strOneByteChunks;
    for (int i = 0; i < 2000; ++i) strOneByteChunks += RawChunk("JUNK", 1, "x");
    struct ROW
    {
        const char* pName;
        std::string strFile;
        int iExpect;
        uint32_t uFormatOffset;
        uint32_t uDataOffset;
        uint32_t uDataSize;
    };
    const ROW aRow[] = {
        {"padded", Riff(strListPadded + strFmt + strData), WAVE_READ_OK, 34, 58, 2},
        {"pad left out", Riff(strList + strFmt + strData), WAVE_READ_OK, 33, 57, 2},
        {"pad left out before the data", Riff(strFmt + strList + strData), WAVE_READ_OK, 20, 57, 2},
        {"pad left out before zeros in a chunk of a printable size", Riff(strFmt + strList + strPad34 + strData),
         WAVE_READ_OK, 20, 99, 2},
        {"pad left out before zeros in a chunk of 16 bytes", Riff(strFmt + strList + strPad16 + strData),
         WAVE_READ_OK, 20, 81, 2},
        {"padded before zeros in a chunk of a printable size", Riff(strFmt + strListPadded + strPad34 + strData),
         WAVE_READ_OK, 20, 100, 2},
        {"pad left out before zeros and the format", Riff(strList + strPad34 + strFmt + strData), WAVE_READ_OK, 75,
         99, 2},
        {"pad left out before zeros and twenty more chunks",
         Riff(strFmt + strList + strPad34 + strTwentyChunks + strData), WAVE_READ_OK, 20, 299, 2},
        {"three odd chunks in a row without pad bytes",
         Riff(strFmt + strList + strJunk + RawChunk("LIST", 5, "INFOy") + strPad34 + strData), WAVE_READ_OK, 20, 123,
         2},
        {"three odd chunks in a row, padded",
         Riff(strFmt + strListPadded + Chunk("JUNK", "abc") + Chunk("LIST", "INFOy") + strPad34 + strData),
         WAVE_READ_OK, 20, 126, 2},
        {"padded, then without a pad byte", Riff(strFmt + strListPadded + strJunk + strData), WAVE_READ_OK, 20, 69, 2},
        {"without a pad byte, then padded", Riff(strFmt + strList + Chunk("JUNK", "abc") + strData), WAVE_READ_OK, 20,
         69, 2},
        // The padded place reads "ata" and the size's low byte 'a', then a size past the end.
        {"pad left out, data size ending in a letter", Riff(strFmt + strList + Chunk("data", std::string(0x61, 'x'))),
         WAVE_READ_OK, 20, 57, 0x61},
        // The padded place reads "UNK" and the size's low byte ' ': its chunk runs past the end.
        {"pad left out before a chunk of a printable size", Riff(strList + Chunk("JUNK", std::string(0x20, 'j')) +
                                                                  strFmt + strData),
         WAVE_READ_OK, 73, 97, 2},
        // Size 0x120: the padded place reads a chunk of size 1, whose both next places hold zeros.
        {"pad left out before zeros in a chunk of 288 bytes",
         Riff(strFmt + strList + Chunk("JUNK", std::string(0x120, '\0')) + strData), WAVE_READ_OK, 20, 353, 2},
        {"padded, before another chunk", Riff(strListPadded + Chunk("JUNK", "jj") + strFmt + strData), WAVE_READ_OK,
         44, 68, 2},
        {"pad byte not 0", Riff(RawChunk("LIST", 5, "INFOxd") + strFmt + strData), WAVE_READ_OK, 34, 58, 2},
        // Right after the body, the pad byte 'd' and the next id "ataX" read "data": the padded
        // place starts a chunk too, which leads on to the data.
        {"padded, the pad byte and the next id spelling data",
         Riff(strFmt + RawChunk("LIST", 5, "INFOxd") + RawChunk("ataX", 2, "yy") + strData), WAVE_READ_OK, 20, 68, 2},
        {"odd data chunk at the end without a pad byte", Riff(strFmt + RawChunk("data", 3, "\x10\x20\x30")),
         WAVE_READ_OK, 20, 44, 3},
        {"two thousand chunks of one byte without pad bytes", Riff(strFmt + strOneByteChunks + strData), WAVE_READ_OK,
         20, 18044, 2},
        // Hostile files: the walk ends at the file's end without the data.
        {"odd chunk at the end, no pad byte", Riff(strFmt + strList), WAVE_READ_SHORT, 20, 0, 0},
        {"odd chunk at the end with its pad byte", Riff(strFmt + strListPadded), WAVE_READ_SHORT, 20, 0, 0},
        {"odd chunk whose pad byte is cut", Riff(strFmt + RawChunk("LIST", 7, "INFOx")), WAVE_READ_SHORT, 20, 0, 0},
        {"odd chunk followed by three bytes", Riff(strFmt + strList + "dat"), WAVE_READ_SHORT, 20, 0, 0},
        {"odd chunk followed by zeros to the end", Riff(strFmt + strList + std::string(40, '\0')), WAVE_READ_SHORT, 20,
         0, 0},
        {"odd chunk of 4 GiB less one byte", Riff(strFmt + RawChunk("LIST", 0xFFFFFFFFu, "abc") + strData),
         WAVE_READ_SHORT, 20, 0, 0},
        {"odd chunk before one of 4 GiB less one byte",
         Riff(strFmt + strList + RawChunk("JUNK", 0xFFFFFFFFu, "") + strData), WAVE_READ_SHORT, 20, 0, 0},
        {"odd chunk before chunks running past the end",
         Riff(strFmt + strList + RawChunk("JUNK", 2, "ab") + RawChunk("LIST", 0x7FFFFFFFu, "INFO")), WAVE_READ_SHORT,
         20, 0, 0},
    };
    for (const ROW& r : aRow) {
        // An exact-size copy on the heap, so a read past the end shows under a checker.
        std::vector<unsigned char> aFile(r.strFile.begin(), r.strFile.end());
        WAVE_HEADER st;
        EXPECT_EQ(r.iExpect, WAVEVOL::ReadHeader(aFile.data(), uint32_t(aFile.size()), &st, 1)) << "case " << r.pName;
        EXPECT_EQ(8000u, st.uSampleRate) << "case " << r.pName;
        EXPECT_EQ(8, st.wBitsPerSample) << "case " << r.pName;
        EXPECT_EQ(r.uFormatOffset, st.uFormatOffset) << "case " << r.pName;
        EXPECT_EQ(r.uDataOffset, st.uDataOffset) << "case " << r.pName;
        EXPECT_EQ(r.uDataSize, st.uDataSize) << "case " << r.pName;
        // The format alone, as FILECHECK asks for it.
        EXPECT_EQ(WAVE_READ_OK, WAVEVOL::ReadHeader(aFile.data(), uint32_t(aFile.size()), &st, 0))
            << "case " << r.pName << ", format only";
        EXPECT_EQ(r.uFormatOffset, st.uFormatOffset) << "case " << r.pName << ", format only";
    }
}

TEST(WaveHeader, TheFixedPlacesGiveWhatTheFileHoldsThere)
{
    const std::string strPlain = Wave(2, 22050, 16, "abcd");
    struct ROW
    {
        const char* pName;
        std::string strFile;
        uint32_t uRiffSize, uRate, uBytesPerSec;
        uint16_t wChannels, wAlign, wBits;
    };
    const ROW aRow[] = {
        {"plain header", strPlain, 40, 22050, 88200, 2, 4, 16},
        {"empty", "", 0, 0, 0, 0, 0, 0},
        {"ten bytes", strPlain.substr(0, 10), 40, 0, 0, 0, 0, 0},
        {"seven bytes", strPlain.substr(0, 7), 0, 0, 0, 0, 0, 0},
        {"ending inside the sample rate", strPlain.substr(0, 26), 40, 0, 0, 2, 0, 0},
        {"ending inside the bits", strPlain.substr(0, 35), 40, 22050, 88200, 2, 4, 0},
        {"no RIFF ids", "XXXX" + strPlain.substr(4, 4) + "YYYYZZZZ" + strPlain.substr(16), 40, 22050, 88200, 2, 4, 16},
        {"a chunk before the format", Riff(Chunk("LIST", "INFO") + Chunk("fmt ", Format(1, 8000, 8))), 40,
         0x20746d66u, 0x10u, 0x4f46u, 1, 1},
    };
    for (const ROW& r : aRow) {
        std::vector<unsigned char> aFile(r.strFile.begin(), r.strFile.end());
        WAVE_HEADER st;
        WAVEVOL::ReadFixedHeader(aFile.empty() ? nullptr : aFile.data(), uint32_t(aFile.size()), &st);
        EXPECT_EQ(r.uRiffSize, st.uRiffSize) << "case " << r.pName;
        EXPECT_EQ(r.wChannels, st.wChannels) << "case " << r.pName;
        EXPECT_EQ(r.uRate, st.uSampleRate) << "case " << r.pName;
        EXPECT_EQ(r.uBytesPerSec, st.uBytesPerSec) << "case " << r.pName;
        EXPECT_EQ(r.wAlign, st.wBlockAlign) << "case " << r.pName;
        EXPECT_EQ(r.wBits, st.wBitsPerSample) << "case " << r.pName;
        EXPECT_EQ(0u, st.uFormatOffset) << "case " << r.pName;
    }
    WAVEVOL::ReadFixedHeader(nullptr, 0, nullptr);

    // A format chunk cut by the end gives the fields it holds, and where it stands.
    const std::string strCut = Riff(Chunk("LIST", "INFO") + RawChunk("fmt ", 16, Format(2, 8000, 16).substr(0, 8)));
    std::vector<unsigned char> aCut(strCut.begin(), strCut.end());
    WAVE_HEADER st;
    EXPECT_EQ(WAVE_READ_SHORT, WAVEVOL::ReadHeader(aCut.data(), uint32_t(aCut.size()), &st, 0));
    EXPECT_EQ(32u, st.uFormatOffset);
    EXPECT_EQ(2, st.wChannels);
    EXPECT_EQ(8000u, st.uSampleRate);
    EXPECT_EQ(0u, st.uBytesPerSec);
    EXPECT_EQ(0, st.wBitsPerSample);
}

TEST(WaveLevels, FilesItCannotMeasureAreRefused)
{
    const std::string strSamples = Bytes8(FrameLevels({100, 100}, 20));
    struct ROW
    {
        const char* pName;
        std::string strFile;
        int iStep;
        int iExpect;
    };
    const ROW aRow[] = {
        {"sample rate 0", Wave(1, 0, 8, strSamples), 2, -1},
        {"no channels", Wave(0, 600, 8, strSamples), 2, -1},
        {"4-bit samples", Wave(1, 600, 4, strSamples), 2, -1},
        {"0-bit samples", Wave(1, 600, 0, strSamples), 2, -1},
        {"24-bit samples", Wave(1, 600, 24, strSamples), 2, -1},
        {"text file", "not a wave file at all, but long enough", 2, -1},
        {"file ending before its data", Riff(Chunk("fmt ", Format(1, 600, 8))), 2, -1},
        {"sample rate below the frame rate", Wave(1, 29, 8, strSamples), 2, 0},
        {"too short for one frame", Wave(1, 600, 8, strSamples.substr(0, 19)), 2, 0},
        {"frame step 0", Wave(1, 600, 8, strSamples), 0, 0},
        {"frame step 61", Wave(1, 600, 8, strSamples), 61, 0},
    };
    for (const ROW& r : aRow) {
        for (int iType = 0; iType < 3; ++iType)
            EXPECT_EQ(r.iExpect, Convert(r.strFile, r.iStep, iType).iResult) << "case " << r.pName << " type " << iType;
    }
    WAVEVOL cWave;
    EXPECT_EQ(-1, cWave.ConvertData(nullptr, 0, nullptr, 0, 2, 30, 0));
    // An output smaller than the need is not written.
    const std::string strFile = Wave(1, 600, 8, strSamples);
    unsigned char aOut[2] = {7, 7};
    EXPECT_EQ(2, cWave.ConvertData(Bytes(strFile), uint32_t(strFile.size()), nullptr, 0, 2, 30, 0));
    EXPECT_EQ(0, cWave.ConvertData(Bytes(strFile), uint32_t(strFile.size()), aOut, 1, 2, 30, 0));
    EXPECT_EQ(7, aOut[0]);
}

TEST(WaveLevels, MeanPeakAndTwoValuedOfWholeWindows)
{
    // 600 Hz at 30 frames a second: 20 samples a frame.
    const std::vector<int> aFrame = {0, 1, 75, 76, 127, 40};
    std::vector<int> aLevel = FrameLevels(aFrame, 20);
    aLevel[20 * 5 + 7] = -120;  // one loud sample in the last frame
    const std::string strFile = Wave(1, 600, 8, Bytes8(aLevel));

    LEVELS cMean = Convert(strFile, 2, WAVEVOL::TYPE_MEAN);
    EXPECT_EQ(6, cMean.iResult);
    // Frame 5: 19 samples of 40 and one of 120 make 880 / 20.
    EXPECT_EQ("00 01 4b 4c 7f 2c ", Hex(cMean.strOut));
    LEVELS cPeak = Convert(strFile, 2, WAVEVOL::TYPE_PEAK);
    EXPECT_EQ("00 01 4b 4c 7f 78 ", Hex(cPeak.strOut));
    // Threshold 30 % of 255 = 76: frames 3 and 4 reach it.
    LEVELS cFlag = Convert(strFile, 2, WAVEVOL::TYPE_TWO_VALUED);
    EXPECT_EQ(6, cFlag.iResult) << "the frame count, not the byte count";
    EXPECT_EQ("18 ", Hex(cFlag.strOut)) << "bits 3 and 4; the bits past the last frame stay 0";
    EXPECT_EQ("3f ", Hex(Convert(strFile, 2, WAVEVOL::TYPE_TWO_VALUED, 0).strOut)) << "threshold 0";
    EXPECT_EQ("00 ", Hex(Convert(strFile, 2, WAVEVOL::TYPE_TWO_VALUED, 100).strOut)) << "threshold 255";
    EXPECT_EQ("00 00 00 00 00 00 ", Hex(Convert(strFile, 2, 3).strOut)) << "an unknown type gives zeros";
}

TEST(WaveLevels, WindowsOfAFractionalLengthOverlapByOneSample)
{
    // 11025 Hz at 30 frames: windows of 367.5 samples; frame i takes trunc(367.5 i + j),
    // j = 0 to 367, so frame 0 ends at 367 and frame 1 starts there, and the sum of 368
    // samples is divided by 367.
    std::vector<int> aLevel(11025, 0);
    for (int i = 0; i < 183; ++i) aLevel[i] = 100;
    aLevel[183] = 50;   // frame 0 sums 18350: 50 by 367, 49 by 368
    aLevel[367] = 0;
    aLevel[1102] = -90; // frame 2 takes 735 to 1102, frame 3 starts at 1102
    aLevel[1103] = 0;
    const std::string strFile = Wave(1, 11025, 8, Bytes8(aLevel));
    LEVELS cMean = Convert(strFile, 2, WAVEVOL::TYPE_MEAN);
    ASSERT_EQ(30, cMean.iResult);
    EXPECT_EQ(50, static_cast<unsigned char>(cMean.strOut[0]));
    LEVELS cPeak = Convert(strFile, 2, WAVEVOL::TYPE_PEAK);
    ASSERT_EQ(30, cPeak.iResult);
    EXPECT_EQ("64 00 5a 5a 00 ", Hex(cPeak.strOut.substr(0, 5)));

    aLevel.assign(11025, 0);
    aLevel[367] = 110;  // the shared sample shows in both frames
    LEVELS cShared = Convert(Wave(1, 11025, 8, Bytes8(aLevel)), 2, WAVEVOL::TYPE_PEAK);
    EXPECT_EQ("6e 6e 00 ", Hex(cShared.strOut.substr(0, 3)));
}

TEST(WaveLevels, FrameRatesComeFromTheStep)
{
    // One second at 600 Hz: the frame count is 60 / step.
    const std::string strFile = Wave(1, 600, 8, Bytes8(std::vector<int>(600, 10)));
    struct ROW { int iStep; int iFrames; };
    for (const ROW& r : {ROW{1, 60}, ROW{2, 30}, ROW{6, 10}, ROW{7, 8}, ROW{8, 7}, ROW{60, 1}}) {
        LEVELS c = Convert(strFile, r.iStep, WAVEVOL::TYPE_MEAN);
        EXPECT_EQ(r.iFrames, c.iResult) << "step " << r.iStep;
        EXPECT_EQ(std::string(r.iFrames, '\x0a'), c.strOut) << "step " << r.iStep;
        EXPECT_EQ((r.iFrames + 7) / 8, Convert(strFile, r.iStep, WAVEVOL::TYPE_TWO_VALUED).strOut.size())
            << "step " << r.iStep;
    }
}

TEST(WaveLevels, TwoValuedBitsRunFromTheLowBit)
{
    std::vector<int> aFrame(10, 0);
    aFrame[0] = aFrame[9] = 100;
    const std::string strFile = Wave(1, 600, 8, Bytes8(FrameLevels(aFrame, 20)));
    LEVELS c = Convert(strFile, 2, WAVEVOL::TYPE_TWO_VALUED);
    EXPECT_EQ(10, c.iResult);
    EXPECT_EQ("01 02 ", Hex(c.strOut));
}

TEST(WaveLevels, SixteenBitLevelsComeOntoTheEightBitScale)
{
    // The same sound as 8-bit and as 16-bit samples (x 256) gives the same bytes.
    std::vector<int> aLevel = FrameLevels({0, 3, 60, 76, 127, 90, 12, 100}, 20);
    aLevel[20 * 7 + 3] = -128;
    for (int iType = 0; iType < 3; ++iType) {
        LEVELS c8 = Convert(Wave(1, 600, 8, Bytes8(aLevel)), 2, iType);
        LEVELS c16 = Convert(Wave(1, 600, 16, Bytes16(aLevel)), 2, iType);
        EXPECT_EQ(8, c16.iResult) << "type " << iType;
        EXPECT_EQ(Hex(c8.strOut), Hex(c16.strOut)) << "type " << iType;
    }
    // The loudest 16-bit sample reaches the top of the 8-bit scale, and the low byte
    // of a sample only counts through the sum.
    std::string strSamples;
    for (int i = 0; i < 20; ++i) strSamples += Le16(i ? 0x00FF : 0x8000);
    EXPECT_EQ("80 ", Hex(Convert(Wave(1, 600, 16, strSamples), 2, WAVEVOL::TYPE_PEAK).strOut));
    EXPECT_EQ("07 ", Hex(Convert(Wave(1, 600, 16, strSamples), 2, WAVEVOL::TYPE_MEAN).strOut))
        << "(32768 + 19 x 255) / 20 / 256 = 7.3";
}

TEST(WaveLevels, OnlyTheFirstChannelIsMeasured)
{
    const std::vector<int> aLoud = FrameLevels({100, 100}, 20);
    const std::vector<int> aQuiet(40, 5);
    auto Interleave = [](const std::vector<std::vector<int>>& _aChannel) {
        std::vector<int> a;
        for (size_t i = 0; i < _aChannel[0].size(); ++i)
            for (const std::vector<int>& c : _aChannel) a.push_back(c[i]);
        return a;
    };
    EXPECT_EQ("64 64 ", Hex(Convert(Wave(2, 600, 8, Bytes8(Interleave({aLoud, aQuiet}))), 2, 1).strOut));
    EXPECT_EQ("05 05 ", Hex(Convert(Wave(2, 600, 8, Bytes8(Interleave({aQuiet, aLoud}))), 2, 1).strOut));
    EXPECT_EQ("05 05 ", Hex(Convert(Wave(2, 600, 16, Bytes16(Interleave({aQuiet, aLoud}))), 2, 1).strOut));
    // Four channels: a sample frame is four samples, the first one counts.
    EXPECT_EQ("05 05 ",
              Hex(Convert(Wave(4, 600, 8, Bytes8(Interleave({aQuiet, aLoud, aLoud, aLoud}))), 2, 1).strOut));
}

TEST(WaveLevels, EdgesOfTheWindowAndTheData)
{
    // 45 Hz at 30 frames: windows of 1.5 samples, two samples summed and divided by one;
    // the mean stays within the byte.
    const std::string strLoud = Wave(1, 45, 8, std::string(45, '\0'));
    LEVELS cMean = Convert(strLoud, 2, WAVEVOL::TYPE_MEAN);
    EXPECT_EQ(30, cMean.iResult);
    EXPECT_EQ(std::string(30, '\xff'), cMean.strOut);
    EXPECT_EQ(std::string(30, '\x80'), Convert(strLoud, 2, WAVEVOL::TYPE_PEAK).strOut);
    // 30 Hz at 30 frames: one sample a frame.
    EXPECT_EQ("00 0a 14 ", Hex(Convert(Wave(1, 30, 8, Bytes8({0, 10, -20})), 2, 0).strOut));

    // A data chunk that claims more than the file holds is read as far as the file goes.
    const std::string strSamples = Bytes8(FrameLevels({20, 30, 40}, 20));
    const std::string strCut =
        Riff(Chunk("fmt ", Format(1, 600, 8)) + RawChunk("data", 0x7FFFFFF0u, strSamples));
    EXPECT_EQ("14 1e 28 ", Hex(Convert(strCut, 2, WAVEVOL::TYPE_MEAN).strOut));
    // Chunks before the data, and a format chunk longer than 16 bytes.
    const std::string strChunks = Riff(Chunk("fmt ", Format(1, 600, 8) + Le16(0)) + Chunk("LIST", "INFOabc") +
                                       Chunk("data", strSamples));
    EXPECT_EQ("14 1e 28 ", Hex(Convert(strChunks, 2, WAVEVOL::TYPE_MEAN).strOut));
    // A chunk of odd size without its pad byte before the data.
    const std::string strNoPad =
        Riff(Chunk("fmt ", Format(1, 600, 8)) + RawChunk("LIST", 7, "INFOabc") + Chunk("data", strSamples));
    EXPECT_EQ("14 1e 28 ", Hex(Convert(strNoPad, 2, WAVEVOL::TYPE_MEAN).strOut));
}

// Three minutes of 44.1 kHz 16-bit mono voice at 30 frames a second, both calls (size and
// levels) as UTTER makes them.
TEST(WaveLevels, DISABLED_Benchmark)
{
    const int iSamples = 44100 * 180;
    std::string strSamples;
    strSamples.reserve(2 * iSamples);
    unsigned int uSeed = 12345;
    for (int i = 0; i < iSamples; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strSamples += Le16(static_cast<uint16_t>(static_cast<int16_t>(((uSeed >> 16) & 0x7FFF) - 16384)));
    }
    const std::string strFile = Wave(1, 44100, 16, strSamples);
    const auto tStart = std::chrono::steady_clock::now();
    LEVELS c = Convert(strFile, 2, WAVEVOL::TYPE_MEAN);
    const double dMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tStart).count();
    EXPECT_EQ(30 * 180, c.iResult);
    std::printf("UTTER levels of 180 s, 44.1 kHz 16-bit (%u bytes): %.1f ms for both passes\n",
                static_cast<unsigned>(strFile.size()), dMs);
}
