// krelwin.exe end to end with UTTER and FILECHECK over WAVE files and bitmaps made here:
// the ".bin" files and the message-log file are compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/krelwin_run.h"
#include "tests/krelwin/module/wave_fixture.h"

namespace {

using e2e::Ansi;
using e2e::Files;
using e2e::KrelwinRun;
using e2e::RunJob;
using namespace wave_fixture;

// One second at 600 Hz, frame k (of 20 samples) at level 4 k.
std::vector<int> Ramp()
{
    std::vector<int> aFrame;
    for (int k = 0; k < 30; ++k) aFrame.push_back(4 * k);
    return FrameLevels(aFrame, 20);
}

std::string Bitmap24(int _iWidth, int _iHeight)
{
    const uint32_t uStride = (_iWidth * 3 + 3) / 4 * 4, uPixels = uStride * _iHeight;
    return "BM" + Le32(54 + uPixels) + Le32(0) + Le32(54) + Le32(40) + Le32(_iWidth) + Le32(_iHeight) + Le16(1) +
           Le16(24) + Le32(0) + Le32(uPixels) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0) +
           std::string(uPixels, '\x7f');
}

} // namespace

TEST(UtterFileCheckE2E, LevelsAndFileInformationOverWavesAndABitmap)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    // Stereo 16-bit: the first channel is the ramp, the second a loud constant.
    std::vector<int> aStereo;
    for (int i : Ramp()) {
        aStereo.push_back(i);
        aStereo.push_back(120);
    }
    ASSERT_TRUE(d.Write(L"voice.wav", Wave(1, 600, 8, Bytes8(Ramp()))));
    ASSERT_TRUE(d.Write(L"stereo.wav", Riff(Chunk("fmt ", Format(2, 600, 16)) + Chunk("LIST", "INFOabc") +
                                             Chunk("data", Bytes16(aStereo)))));
    ASSERT_TRUE(d.Write(L"text.wav", "no sound here"));
    ASSERT_TRUE(d.Write(L"pic.bmp", Bitmap24(3, 2)));
    ASSERT_TRUE(d.Write(L"notes.txt", "0123456789"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nUTTER -t0\r\nFILECHECK\r\n" +
                                Files(d, {L"voice.wav", L"stereo.wav", L"text.wav", L"pic.bmp", L"notes.txt"}),
                       0, &strLog));

    std::string strRamp;
    for (int k = 0; k < 30; ++k) strRamp += char(4 * k);
    EXPECT_EQ(strRamp, d.Read(L"voice.bin"));
    EXPECT_EQ(strRamp, d.Read(L"stereo.bin")) << "the first channel on the 8-bit scale";
    EXPECT_FALSE(d.IsFile(L"text.bin"));
    EXPECT_FALSE(d.IsFile(L"pic.bin"));
    EXPECT_FALSE(d.IsFile(L"notes.bin"));
    EXPECT_EQ(Bitmap24(3, 2), d.Read(L"pic.bmp"));

    const std::wstring strVoice = d.Path(L"voice.wav"), strStereo = d.Path(L"stereo.wav");
    EXPECT_EQ(Ansi(strVoice + L" -> " + d.Path(L"voice.bin") + L" 30frm 平均(30%)\r\n" +
                   strStereo + L" -> " + d.Path(L"stereo.bin") + L" 30frm 平均(30%)\r\n" +
                   d.Path(L"text.wav") + L" は有効なwavではありません\r\n" +
                   d.Path(L"pic.bmp") + L" は有効なwavではありません\r\n" +
                   d.Path(L"notes.txt") + L" は有効なwavではありません\r\n" +
                   strVoice + L"\t       644\t600Hz 8bit 1ch\r\n" +
                   strStereo + L"\t      2460\t600Hz 16bit 2ch\r\n" +
                   d.Path(L"text.wav") + L"\t        13\t0Hz 0bit 0ch\r\n" +
                   L"pic.bmp\twh(  3,  2)24bit\t       1Kb\r\n" +
                   L"notes.txt\t        10\r\n" +
                   L"Completed...\r\n"),
              strLog);
}

TEST(UtterFileCheckE2E, AnOldOutputIsBackedUpAndABadTypeIsAnError)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"voice.wav", Wave(1, 600, 8, Bytes8(Ramp()))));
    ASSERT_TRUE(d.Write(L"voice.bin", "old levels"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nUTTER -f10 -t1\r\nUTTER -t5\r\n" + Files(d, {L"voice.wav"}), 1, &strLog,
                       "BACKUP=1\r\n"));

    // 10 frames a second: windows of 60 samples, three ramp frames each; the peak is the last.
    std::string strPeak;
    for (int k = 0; k < 10; ++k) strPeak += char(4 * (3 * k + 2));
    EXPECT_EQ(strPeak, d.Read(L"voice.bin"));
    EXPECT_EQ("old levels", d.Read(L"voice.bak"));
    const std::wstring strVoice = d.Path(L"voice.wav");
    EXPECT_EQ(Ansi(strVoice + L" -> " + d.Path(L"voice.bin") + L" 10frm 最大(30%)\r\n" +
                   strVoice + L" -t5 : level type 0, 1 or 2\r\n" +
                   L"error(s).1\r\n"),
              strLog);
}

TEST(UtterFileCheckE2E, HeadersAreShownAsTheFilesHoldThemAndAMissingPadByteIsRead)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    // The LIST chunk's odd size is followed by the format chunk at once, without a pad byte.
    ASSERT_TRUE(d.Write(L"nopad.wav", Riff(RawChunk("LIST", 7, "INFOabc") + Chunk("fmt ", Format(1, 600, 8)) +
                                            Chunk("data", Bytes8(Ramp())))));
    // An odd LIST chunk without its pad byte before a chunk of 34 zeros, whose size's low byte
    // is '"': the padded place reads an id "AD \"" and a size of 0.
    const std::string strList = RawChunk("LIST", 5, "INFOx"), strPad = Chunk("PAD ", std::string(34, '\0'));
    const std::string strFmt = Chunk("fmt ", Format(1, 600, 8)), strData = Chunk("data", Bytes8(Ramp()));
    ASSERT_TRUE(d.Write(L"pad34.wav", Riff(strFmt + strList + strPad + strData)));
    ASSERT_TRUE(d.Write(L"listfirst.wav", Riff(strList + strPad + strFmt + strData)));
    ASSERT_TRUE(d.Write(L"short.wav", Wave(1, 600, 8, "").substr(0, 10)));
    ASSERT_TRUE(d.Write(L"empty.wav", ""));
    ASSERT_TRUE(d.Write(L"avi.wav", "RIFF" + Le32(28) + "AVI " + RawChunk("strf", 16, Format(2, 44100, 16))));
    ASSERT_TRUE(d.Write(L"cut.bmp", Bitmap24(3, 2).substr(0, 60)));
    ASSERT_TRUE(d.Write(L"text.bmp", "not a picture but longer than fifty-four bytes of header, surely"));
    ASSERT_TRUE(d.Write(L"short.bmp", Bitmap24(70000, 1).substr(0, 20)));
    const std::initializer_list<const wchar_t*> lstFiles = {L"nopad.wav", L"pad34.wav", L"listfirst.wav",
                                                            L"short.wav", L"empty.wav", L"avi.wav",
                                                            L"cut.bmp",   L"text.bmp",  L"short.bmp"};
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nUTTER -t0\r\nFILECHECK\r\n" + Files(d, lstFiles), 0, &strLog));

    std::string strRamp;
    for (int k = 0; k < 30; ++k) strRamp += char(4 * k);
    for (const wchar_t* p : {L"nopad.bin", L"pad34.bin", L"listfirst.bin"}) EXPECT_EQ(strRamp, d.Read(p)) << e2e::Ansi(p);
    for (const wchar_t* p : {L"short.bin", L"empty.bin", L"avi.bin", L"cut.bin", L"text.bin"})
        EXPECT_FALSE(d.IsFile(p)) << e2e::Ansi(p);
    std::wstring strExpected;
    for (const wchar_t* p : {L"nopad", L"pad34", L"listfirst"}) {
        const std::wstring strName(p);
        strExpected += d.Path(strName + L".wav") + L" -> " + d.Path(strName + L".bin") + L" 30frm 平均(30%)\r\n";
    }
    for (const wchar_t* p : {L"short.wav", L"empty.wav", L"avi.wav", L"cut.bmp", L"text.bmp", L"short.bmp"})
        strExpected += d.Path(p) + L" は有効なwavではありません\r\n";
    strExpected += d.Path(L"nopad.wav") + L"\t       659\t600Hz 8bit 1ch\r\n" +
                   d.Path(L"pad34.wav") + L"\t       699\t600Hz 8bit 1ch\r\n" +
                   d.Path(L"listfirst.wav") + L"\t       699\t600Hz 8bit 1ch\r\n" +
                   d.Path(L"short.wav") + L"\t        10\t0Hz 0bit 0ch\r\n" +
                   d.Path(L"empty.wav") + L"\t         0\t0Hz 0bit 0ch\r\n" +
                   d.Path(L"avi.wav") + L"\t        36\t44100Hz 16bit 2ch\r\n" +
                   L"cut.bmp\twh(  3,  2)24bit\t       1Kb\r\n" +
                   L"text.bmp\twh(1735290732,1948283493)8302bit\t       1Kb\r\n" +
                   L"short.bmp\twh(4464,  0) 0bit\t       1Kb\r\n" +
                   L"Completed...\r\n";
    EXPECT_EQ(Ansi(strExpected), strLog);
}

TEST(UtterFileCheckE2E, FilesOfTwoGibibytesOrMoreGetOneLineAndOneByteLessIsAnOrdinarySize)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const long long llMax = 0x7FFFFFFFLL;
    const std::string strBmp = "BM" + Le32(0x7FFFFFFFu) + Le32(0) + Le32(54) + Le32(40) + Le32(16384) + Le32(32767) +
                               Le16(1) + Le16(32) + std::string(24, '\0');
    const std::string strWav = Wave(2, 44100, 16, "");
    const struct
    {
        const wchar_t* pName;
        std::string strHead;
        long long llSize;
    } aFile[] = {
        {L"big.wav", strWav, llMax},           {L"big.bmp", strBmp, llMax},
        {L"big.txt", "text", llMax},           {L"two.wav", strWav, llMax + 1},
        {L"three.bmp", strBmp, 3LL << 30},     {L"three.txt", "text", 3LL << 30},
    };
    for (const auto& f : aFile) {
        if (!testdir::WriteSparse(d.Path(f.pName), f.strHead, f.llSize)) GTEST_SKIP() << "no room for a sparse file";
    }
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nUTTER\r\nFILECHECK\r\n" +
                           Files(d, {L"big.wav", L"big.bmp", L"big.txt", L"two.wav", L"three.bmp", L"three.txt"}),
                       0, &strLog));

    // UTTER loads no file of 2 GiB less one byte or more into memory: nothing is converted.
    std::wstring strExpected;
    for (const auto& f : aFile) {
        strExpected += d.Path(f.pName) + L" は変換されませんでした\r\n";
        EXPECT_FALSE(d.IsFile(std::wstring(f.pName).replace(std::wstring(f.pName).find(L'.'), 4, L".bin")))
            << e2e::Ansi(f.pName);
    }
    strExpected += d.Path(L"big.wav") + L"\t2147483647\t44100Hz 16bit 2ch\r\n" +
                   L"big.bmp\twh(16384,32767)32bit\t 2097152Kb\r\n" +
                   L"big.txt\t2147483647\r\n" +
                   L"two.wav\t2GB or more\r\n" +
                   L"three.bmp\t2GB or more\r\n" +
                   L"three.txt\t2GB or more\r\n" +
                   L"Completed...\r\n";
    EXPECT_EQ(Ansi(strExpected), strLog);
}
