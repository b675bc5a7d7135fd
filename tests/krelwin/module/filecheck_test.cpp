// FILECHECK through the dispatcher: one information line per WAVE file, bitmap or other
// file; headers are shown as the file holds them, zeros where it has ended.
#include <string>

#include "krelwin/module/filecheck.h"
#include "tests/krelwin/module/sample_commands_fixture.h"
#include "tests/krelwin/module/wave_fixture.h"

using sample_commands::SampleCommandsTest;
using namespace wave_fixture;

namespace {

// A bitmap file's headers (8-bit images get a 256-entry palette) and _iPixelBytes zeros.
std::string Bitmap(int _iWidth, int _iHeight, int _iBits, int _iPixelBytes)
{
    const uint32_t uOffset = 54 + (_iBits == 8 ? 1024 : 0);
    const std::string strHead = "BM" + Le32(uOffset + _iPixelBytes) + Le32(0) + Le32(uOffset) + Le32(40) +
                                Le32(_iWidth) + Le32(_iHeight) + Le16(1) + Le16(_iBits) + Le32(0) +
                                Le32(_iPixelBytes) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
    return strHead + std::string(uOffset - 54 + _iPixelBytes, '\0');
}

class FileCheckTest : public SampleCommandsTest
{
protected:
    // The log of FILECHECK over the one file.
    std::wstring Check(const wchar_t* _pName)
    {
        Message_clear();
        Exec(L"FILECHECK", L"", _pName);
        return Log();
    }
    // The line with "<path>" standing for the file's full path.
    std::wstring Expected(const wchar_t* _pName, std::wstring _strLine) const
    {
        const size_t uAt = _strLine.find(L"<path>");
        if (uAt != std::wstring::npos) _strLine.replace(uAt, 6, Path(_pName));
        return _strLine + L"\r\n";
    }
};

} // namespace

TEST_F(FileCheckTest, DescribesEachTargetByItsExtension)
{
    struct ROW
    {
        const wchar_t* pName;
        std::string strFile;  // none: the file is not made
        bool bMake;
        std::wstring strLine; // with "<path>" for the full path
    };
    const ROW aRow[] = {
        {L"sound.wav", Wave(1, 22050, 16, std::string(22050, '\x01')), true, L"<path>\t     22094\t22050Hz 16bit 1ch"},
        {L"loud.Wav", Wave(2, 11025, 8, std::string(100, '\x80')), true, L"<path>\t       144\t11025Hz 8bit 2ch"},
        {L"list.wav", Riff(Chunk("LIST", "INFOx") + Chunk("fmt ", Format(1, 8000, 16) + Le16(0)) + Chunk("data", "ab")),
         true, L"<path>\t        62\t8000Hz 16bit 1ch"},
        // A chunk of odd size whose writer left out the pad byte.
        {L"nopad.wav", Riff(RawChunk("LIST", 5, "INFOx") + Chunk("fmt ", Format(1, 8000, 16)) + Chunk("data", "ab")),
         true, L"<path>\t        59\t8000Hz 16bit 1ch"},
        {L"odd.wav", Wave(1, 8000, 0xFFF0, ""), true, L"<path>\t        44\t8000Hz -16bit 1ch"},
        // The format chunk after a chunk larger than the first block read.
        {L"junk.wav", Riff(Chunk("JUNK", std::string(70000, 'j')) + Chunk("fmt ", Format(1, 8000, 8)) + Chunk("data", "ab")),
         true, L"<path>\t     70054\t8000Hz 8bit 1ch"},
        {L"pic.bmp", Bitmap(640, 480, 8, 640 * 480), true, L"pic.bmp\twh(640,480) 8bit\t     302Kb"},
        {L"tiny.BMP", Bitmap(2, 2, 24, 16), true, L"tiny.BMP\twh(  2,  2)24bit\t       1Kb"},
        {L"data.dat", "12345", true, L"data.dat\t         5"},
        {L"NOEXT", "abc", true, L"NOEXT\t         3"},
        {L"readme.txt", "", true, L"not found. readme.txt"},
        {L"missing.bmp", "", false, L"not found. missing.bmp"},
        {L"empty.bmp", "", true, L"not found. empty.bmp"},
        {L"missing.dat", "", false, L"not found. missing.dat"},
        {L"missing.wav", "", false, L"<path> not read"},
    };
    for (const ROW& r : aRow) {
        if (r.bMake) {
            ASSERT_TRUE(m_dir.Write(r.pName, r.strFile)) << Narrow(r.pName);
        }
        EXPECT_EQ(Expected(r.pName, r.strLine), Check(r.pName)) << "case " << Narrow(r.pName);
    }
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
    // It writes nothing and reports nothing at the end of the line or run.
    Message_clear();
    Command_quit(0);
    Command_quit(1);
    EXPECT_EQ(L"", Log());
}

TEST_F(FileCheckTest, ShowsTheFieldsAShortOrLyingHeaderHolds)
{
    const std::string strPic = Bitmap(640, 480, 8, 640 * 480);
    std::string strOffset = Bitmap(4, 4, 8, 16);
    strOffset.replace(10, 4, Le32(0x7FFFFFF0u));  // pixels "after" the end of the file
    struct ROW
    {
        const wchar_t* pName;
        std::string strFile;
        std::wstring strLine;
    };
    // Whatever stands at a field's place is shown; a bitmap's bytes past the end count as 0,
    // a WAVE field that the file ends in or before is 0.
    const ROW aRow[] = {
        {L"cut.bmp", strPic.substr(0, 1178), L"cut.bmp\twh(640,480) 8bit\t       2Kb"},
        {L"offset.bmp", strOffset, L"offset.bmp\twh(  4,  4) 8bit\t       2Kb"},
        {L"text.bmp", "not a picture but longer than fifty-four bytes of header, surely",
         L"text.bmp\twh(1735290732,1948283493)8302bit\t       1Kb"},
        {L"BM.bmp", "BM", L"BM.bmp\twh(  0,  0) 0bit\t       1Kb"},
        {L"short.bmp", strPic.substr(0, 53), L"short.bmp\twh(640,480) 8bit\t       1Kb"},
        {L"width.bmp", Bitmap(70000, 480, 24, 0).substr(0, 20), L"width.bmp\twh(4464,  0) 0bit\t       1Kb"},
        {L"short.wav", Wave(1, 8000, 8, "").substr(0, 10), L"<path>\t        10\t0Hz 0bit 0ch"},
        {L"half.wav", Wave(1, 8000, 8, "").substr(0, 30), L"<path>\t        30\t8000Hz 0bit 1ch"},
        {L"riff.wav", "RIFF", L"<path>\t         4\t0Hz 0bit 0ch"},
        {L"empty.wav", "", L"<path>\t         0\t0Hz 0bit 0ch"},
        {L"fmtcut.wav", Riff(RawChunk("fmt ", 16, Format(1, 8000, 8).substr(0, 12))),
         L"<path>\t        32\t8000Hz 0bit 1ch"},
        // The format chunk after another chunk, cut by the end: its own fields, not the fixed places.
        {L"listcut.wav", Riff(Chunk("LIST", "INFO") + RawChunk("fmt ", 16, Format(2, 8000, 16).substr(0, 8))),
         L"<path>\t        40\t8000Hz 0bit 2ch"},
        // No chunk walk gets past a lying size: the fixed places.
        {L"huge.wav", Riff(RawChunk("JUNK", 0xFFFFFFF0u, "") + Chunk("fmt ", Format(1, 8000, 8))),
         L"<path>\t        44\t16Hz 0bit 8308ch"},
        {L"text.wav", "just some text in a file named .wav", L"<path>\t        35\t1835101728Hz 0bit 25964ch"},
        {L"fmt8.wav", Riff(RawChunk("fmt ", 8, "12345678")), L"<path>\t        28\t943142453Hz 0bit 13363ch"},
        // Another RIFF form with a plain header's layout.
        {L"avi.wav", "RIFF" + Le32(36) + "AVI " + RawChunk("strf", 16, Format(2, 44100, 16)),
         L"<path>\t        36\t44100Hz 16bit 2ch"},
    };
    for (const ROW& r : aRow) {
        ASSERT_TRUE(m_dir.Write(r.pName, r.strFile)) << Narrow(r.pName);
        EXPECT_EQ(Expected(r.pName, r.strLine), Check(r.pName)) << "case " << Narrow(r.pName);
    }
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(FileCheckTest, AWaveFileThatCannotBeOpenedIsNotRead)
{
    // Held open by another program (files are opened without sharing): not an empty file.
    ASSERT_TRUE(m_dir.Write(L"held.wav", Wave(1, 8000, 8, std::string(100, '\x80'))));
    HANDLE hHeld = CreateFileW(Path(L"held.wav").c_str(), GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    const std::wstring strLog = Check(L"held.wav");
    CloseHandle(hHeld);
    EXPECT_EQ(Expected(L"held.wav", L"<path> not read"), strLog);
    EXPECT_EQ(Expected(L"held.wav", L"<path>\t       144\t8000Hz 8bit 1ch"), Check(L"held.wav"));
}
