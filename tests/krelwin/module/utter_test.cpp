// UTTER through the dispatcher: the ".bin" files it writes beside the WAVE files and the
// lines it logs.
#include <string>
#include <vector>

#include "krelwin/module/utter.h"
#include "tests/krelwin/module/sample_commands_fixture.h"
#include "tests/krelwin/module/wave_fixture.h"

using sample_commands::SampleCommandsTest;
using namespace wave_fixture;

namespace {

class UtterTest : public SampleCommandsTest
{
protected:
    // 1 second at 600 Hz, frame k at level 4 k (0 to 116).
    static std::string Ramp()
    {
        std::vector<int> aFrame;
        for (int k = 0; k < 30; ++k) aFrame.push_back(4 * k);
        return Wave(1, 600, 8, Bytes8(FrameLevels(aFrame, 20)));
    }
    static std::string RampBytes()
    {
        std::string s;
        for (int k = 0; k < 30; ++k) s += char(4 * k);
        return s;
    }
};

} // namespace

TEST_F(UtterTest, WritesTheLevelsBesideTheWaveFile)
{
    ASSERT_TRUE(m_dir.Write(L"voice.wav", Ramp()));
    sample_commands::ASKED::Answer() = OUTPUT_ANSWER_YES;
    Exec(L"UTTER", L"-f30 -t0", L"voice.wav");
    EXPECT_EQ(RampBytes(), m_dir.Read(L"voice.bin"));
    // Two-valued at 30 %: frames 19 (76) and up.
    Exec(L"UTTER", L"-t2", L"voice.wav");
    EXPECT_EQ(std::string("\x00\x00\xf8\x3f", 4), m_dir.Read(L"voice.bin"));
    // 25 frames a second are taken as 30; 40 % is 102: frames 26 (104) and up.
    Exec(L"UTTER", L"-p40 -f25", L"voice.wav");
    EXPECT_EQ(std::string("\x00\x00\x00\x3c", 4), m_dir.Read(L"voice.bin"));
    const std::wstring strWav = Path(L"voice.wav"), strBin = Path(L"voice.bin");
    EXPECT_EQ(strWav + L" -> " + strBin + L" 30frm 平均(30%)\r\n" +
              strWav + L" -> " + strBin + L" 30frm ２値(30%)\r\n" +
              strWav + L" -> " + strBin + L" 25frm ２値(40%)\r\n",
              Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
    const std::wstring strAsk = strBin + L"\n既にファイルが存在します。上書きしますか？|";
    EXPECT_EQ(strAsk + strAsk, sample_commands::ASKED::Texts()) << "an existing output is asked about";
}

TEST_F(UtterTest, AChunkOfOddSizeIsReadWithOrWithoutItsPadByte)
{
    std::vector<int> aFrame;
    for (int k = 0; k < 30; ++k) aFrame.push_back(4 * k);
    const std::string strFmt = Chunk("fmt ", Format(1, 600, 8)), strData = Chunk("data", Bytes8(FrameLevels(aFrame, 20)));
    ASSERT_TRUE(m_dir.Write(L"padded.wav", Riff(strFmt + Chunk("LIST", "INFOabc") + strData)));
    ASSERT_TRUE(m_dir.Write(L"nopad.wav", Riff(strFmt + RawChunk("LIST", 7, "INFOabc") + strData)));
    Exec(L"UTTER", L"-t0", L"padded.wav");
    Exec(L"UTTER", L"-t0", L"nopad.wav");
    EXPECT_EQ(RampBytes(), m_dir.Read(L"padded.bin"));
    EXPECT_EQ(RampBytes(), m_dir.Read(L"nopad.bin"));
    EXPECT_EQ(Path(L"padded.wav") + L" -> " + Path(L"padded.bin") + L" 30frm 平均(30%)\r\n" +
              Path(L"nopad.wav") + L" -> " + Path(L"nopad.bin") + L" 30frm 平均(30%)\r\n",
              Log());
}

TEST_F(UtterTest, FilesItCannotReadAreLoggedAndWriteNothing)
{
    ASSERT_TRUE(m_dir.Write(L"rate0.wav", Wave(1, 0, 8, std::string(100, '\x80'))));
    ASSERT_TRUE(m_dir.Write(L"text.wav", "just some text in a file named .wav"));
    ASSERT_TRUE(m_dir.Write(L"empty.wav", ""));
    ASSERT_TRUE(m_dir.Write(L"short.wav", Wave(1, 600, 8, std::string(19, '\x80'))));
    ASSERT_TRUE(m_dir.Write(L"ok.wav", Ramp()));
    Exec(L"UTTER", L"", L"rate0.wav");
    Exec(L"UTTER", L"", L"text.wav");
    Exec(L"UTTER", L"", L"empty.wav");
    Exec(L"UTTER", L"", L"short.wav");
    Exec(L"UTTER", L"", L"missing.wav");
    Exec(L"UTTER", L"-f61", L"ok.wav");
    Exec(L"UTTER", L"-f-5", L"ok.wav");
    EXPECT_EQ(Path(L"rate0.wav") + L" は有効なwavではありません\r\n" +
              Path(L"text.wav") + L" は有効なwavではありません\r\n" +
              Path(L"empty.wav") + L" は有効なwavではありません\r\n" +
              Path(L"short.wav") + L" は変換されませんでした\r\n" +
              Path(L"missing.wav") + L" は変換されませんでした\r\n" +
              Path(L"ok.wav") + L" は変換されませんでした\r\n" +
              Path(L"ok.wav") + L" は変換されませんでした\r\n",
              Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount) << "these are information lines";
    for (const wchar_t* p : {L"rate0.bin", L"text.bin", L"empty.bin", L"short.bin", L"missing.bin", L"ok.bin"})
        EXPECT_FALSE(m_dir.IsFile(p)) << Narrow(p);
}

TEST_F(UtterTest, FrameRateZeroDoesNothingAndAnUnknownTypeIsRefused)
{
    ASSERT_TRUE(m_dir.Write(L"v.wav", Ramp()));
    UTTER cUtter;
    EXPECT_EQ(0, cUtter.Func((L"\"" + Path(L"v.wav") + L"\" -f0").c_str()));
    EXPECT_EQ(L"", Log());
    for (const wchar_t* pType : {L"-t3", L"-t-1"}) {
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        cUtter.Func((L"\"" + Path(L"v.wav") + L"\" " + pType).c_str());
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount) << Narrow(pType);
        EXPECT_EQ(Path(L"v.wav") + L" " + pType + L" : level type 0, 1 or 2\r\n", Log());
    }
    EXPECT_FALSE(m_dir.IsFile(L"v.bin"));
}

TEST_F(UtterTest, AnExistingOutputGoesThroughTheOverwritePolicy)
{
    ASSERT_TRUE(m_dir.Write(L"v.wav", Ramp()));
    ASSERT_TRUE(m_dir.Write(L"v.bin", "old"));
    sample_commands::ASKED::Answer() = OUTPUT_ANSWER_NO;
    Exec(L"UTTER", L"-t0", L"v.wav");
    EXPECT_EQ("old", m_dir.Read(L"v.bin"));
    EXPECT_NE(std::wstring::npos, sample_commands::ASKED::Texts().find(Path(L"v.bin")));

    s_stGl.m_pSetting->BACKUP = 1;
    Exec(L"UTTER", L"-t0", L"v.wav");
    EXPECT_EQ(RampBytes(), m_dir.Read(L"v.bin"));
    EXPECT_EQ("old", m_dir.Read(L"v.bak"));

    // A target already named ".bin" would be its own output.
    Message_clear();
    ASSERT_TRUE(m_dir.Write(L"w.bin", Ramp()));
    Exec(L"UTTER", L"-t0", L"w.bin");
    EXPECT_EQ(Ramp(), m_dir.Read(L"w.bin"));
    EXPECT_EQ(Path(L"w.bin") + L" は変換されませんでした\r\n", Log());
}
