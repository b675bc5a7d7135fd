// krelwin.exe end to end with RLSPRESS, D2PACK, SONGDATACONVERT, D2ATEX and CHAIN: batch
// files over small fixtures; every file written and the message-log file are compared
// whole, byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::Files;
using e2e::KrelwinRun;
using e2e::RunJob;

std::string U32(uint32_t _u)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(_u >> (8 * i));
    return s;
}

} // namespace

TEST(AssetCommandsE2E, RlspressWritesHeaderAndRunsAndRefusesAFileWithoutRuns)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"in"));
    ASSERT_TRUE(d.Write(L"in\\zero.bin", std::string(1000, '\0')));
    // Three words 0x11111111, one 0x22222222, two 0x11111111, then a last value of 3 bytes.
    ASSERT_TRUE(d.Write(L"in\\\x65e5\x672c.tm2", std::string(12, '\x11') + std::string(4, '\x22') +
                                                     std::string(8, '\x11') + "abc"));
    ASSERT_TRUE(d.Write(L"in\\norun.bin", std::string("\x01\0\0\0\x02\0\0\0", 8)));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nRLSPRESS\r\nRLSPRESS %0_o.pk\r\n" +
                           Files(d, {L"in\\zero.bin", L"in\\\x65e5\x672c.tm2", L"in\\norun.bin"}),
                       2, &strLog));

    const std::string strZeroData = U32(1000) + U32(3) + U32(250) + U32(1) + U32(250u << 16) + U32(0);
    // P = 1 + 2 runs + 4 values; 7 words of source.
    const std::string strKanjiData = U32(27) + U32(7) + U32(7) + U32(2) + U32(0 | 3u << 16) + U32(2 | 2u << 16) +
                                     U32(0x11111111u) + U32(0x22222222u) + U32(0x11111111u) + U32(0x00636261u);
    EXPECT_EQ(std::string("RLS\0bin\0", 8) + strZeroData, d.Read(L"in\\zero.rls"));
    EXPECT_EQ(std::string("RLS\0tm2\0", 8) + strKanjiData, d.Read(L"in\\\x65e5\x672c.rls"));
    EXPECT_EQ(std::string("RLS\0pk\0\0", 8) + strZeroData, d.Read(L"in\\zero_o.rls"));
    EXPECT_EQ(std::string("RLS\0pk\0\0", 8) + strKanjiData, d.Read(L"in\\\x65e5\x672c_o.rls"));
    EXPECT_FALSE(d.IsFile(L"in\\norun.rls")) << "no header over missing data";
    EXPECT_FALSE(d.IsFile(L"in\\norun_o.rls"));

    const std::string strLine = Ansi(d.Path(L"in\\zero.bin")) + "   2%\r\n" +
                                Ansi(d.Path(L"in\\\x65e5\x672c.tm2")) + " 133%\r\nerror " +
                                Ansi(d.Path(L"in\\norun.bin")) + "\r\n";
    EXPECT_EQ(strLine + strLine + "error(s).2\r\n", strLog);
}

namespace {

// CRC-32/BZIP2 of the bytes, bit by bit.
uint32_t Crc(const std::string& _str)
{
    uint32_t u = 0xFFFFFFFFu;
    for (unsigned char c : _str) {
        u ^= static_cast<uint32_t>(c) << 24;
        for (int k = 0; k < 8; ++k) u = (u & 0x80000000u) ? (u << 1) ^ 0x04C11DB7u : u << 1;
    }
    return ~u;
}

std::string Hex8(uint32_t _u)
{
    char sz[16];
    wsprintfA(sz, "0x%08X", _u);
    return sz;
}

} // namespace

TEST(AssetCommandsE2E, D2packBuildsTheWholePackageAndRefusesAMissingLayoutOrData)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"d2c"));
    ASSERT_TRUE(d.MakeDir(L"lay"));
    ASSERT_TRUE(d.MakeDir(L"lay\\gim"));
    const std::string strLayout = "<layout>\r\n <tex_param id=\"0\" fname=\"tex\\\x93\xfa\x96\x7b.tga\"/>\r\n"
                                  " <tex_param fname=\"b.tga\"/>\r\n <tex_param fname=\"tex\\\x93\xfa\x96\x7b.tga\"/>\r\n"
                                  " <Reference><data name=\"@bgm01\"/></Reference>\r\n"
                                  " <Reference><data name=\"local\"/></Reference>\r\n</layout>\r\n";
    ASSERT_TRUE(d.Write(L"lay\\s1.xml", strLayout));
    ASSERT_TRUE(d.Write(L"lay\\s1.d2b", "0123456789"));
    ASSERT_TRUE(d.Write(L"lay\\\x65e5\x672c.gim", "JP"));
    ASSERT_TRUE(d.Write(L"lay\\gim\\b.gim", "bbbbbbbb"));
    ASSERT_TRUE(d.Write(L"lay\\s2.xml", "<layout/>\r\n"));  // no s2.d2b
    ASSERT_TRUE(d.Write(L"lay\\empty.xml", ""));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nD2PACK\r\nD2PACK out\\pack.bin\r\n" +
                           Files(d, {L"lay\\s1.xml", L"lay\\s2.xml", L"lay\\empty.xml"}),
                       4, &strLog));

    const std::string strKanji = "tex\\\x93\xfa\x96\x7b.tga";
    // 3 entries, 1 name: blocks from 8 + 36 + 8 = 52.
    const std::string strPackage = std::string("D2C\0\x03\0\x01\0", 8) + U32(0x956C4F47u) + U32(52) + U32(10) +
                                   U32(Crc(strKanji)) + U32(64) + U32(2) + U32(Crc("b.tga")) + U32(68) + U32(8) +
                                   std::string("bgm01\0\0\0", 8) + std::string("0123456789\0\0", 12) +
                                   std::string("JP\0\0", 4) + "bbbbbbbb";
    EXPECT_EQ(strPackage, d.Read(L"d2c\\s1.d2c"));
    EXPECT_EQ(strPackage, d.Read(L"d2c\\pack.d2c"));
    EXPECT_FALSE(d.IsFile(L"d2c\\s2.d2c"));
    EXPECT_FALSE(d.IsFile(L"d2c\\empty.d2c"));
    EXPECT_EQ(strKanji + "\r\nb.tga\r\n" + strKanji + "\r\nb.tga\r\n", d.Read(L"lay\\s1.txt"));

    // The name is padded to 24 characters (a kanji is one).
    auto entry = [](const std::wstring& _strName, uint32_t _uHash, uint32_t _uOffset, uint32_t _uSize) {
        return Ansi(_strName) + std::string(24 - _strName.size(), ' ') + " " + Hex8(_uHash) + "," +
               Hex8(_uOffset) + "," + Hex8(_uSize) + "\r\n";
    };
    const std::string strLine =
        "\r\n" + Ansi(d.Path(L"lay\\s1.xml")) + "(" + std::to_string(strLayout.size() - 4) + ")\r\n" +
        entry(L"D2DATA", 0x956C4F47u, 52, 10) + entry(L"tex\\\x65e5\x672c.tga", Crc(strKanji), 64, 2) +
        entry(L"b.tga", Crc("b.tga"), 68, 8) + "\r\n" + Ansi(d.Path(L"lay\\s2.xml")) + "(11)\r\n" +
        "not found:" + Ansi(d.Path(L"lay\\s2.d2b")) + "\r\nfile not found:" + Ansi(d.Path(L"lay\\empty.xml")) + "\r\n";
    EXPECT_EQ(strLine + strLine + "error(s).4\r\n", strLog);
}

TEST(AssetCommandsE2E, SongdataconvertWritesOneSongTextPerRowFromTheBatchFoldersTemplates)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"baseD2a"));
    ASSERT_TRUE(d.MakeDir(L"tab"));
    ASSERT_TRUE(d.Write(L"baseD2a\\wrd_001.d2a", "[one]\r\ntex=\"wrd01_000.tga\"\r\n"));
    ASSERT_TRUE(d.Write(L"baseD2a\\wrd_002.d2a", "[two]\r\ntex=\"wrd01_000.tga\"\r\ntex=\"wrd01_000.tga\"\r\n"
                                                 "keep=wrd01_000.tga;\r\n"));
    ASSERT_TRUE(d.Write(L"tab\\list.csv", "a01_001.tga,a01_002.tga\r\nb01_001.tga\r\n\r\n\x89\xcc_01.tga"));  // 歌
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nSONGDATACONVERT song\r\n" + Files(d, {L"tab\\list.csv"}), 0, &strLog));

    EXPECT_EQ("[two]\r\ntex=\"a01_001.tga\"\r\ntex=\"a01_002.tga\"\r\nkeep=wrd01_000.tga;\r\n",
              d.Read(L"tab\\song_001.d2a"));
    EXPECT_EQ("[one]\r\ntex=\"b01_001.tga\"\r\n", d.Read(L"tab\\song_002.d2a"));
    EXPECT_FALSE(d.IsFile(L"tab\\song_003.d2a"));
    EXPECT_EQ("[one]\r\ntex=\"\x89\xcc_01.tga\"\r\n", d.Read(L"tab\\song_004.d2a"));
    EXPECT_EQ("file:" + Ansi(d.Path(L"tab\\song_001.d2a")) + "\r\nfile:" + Ansi(d.Path(L"tab\\song_002.d2a")) +
                  "\r\nfile:" + Ansi(d.Path(L"tab\\song_004.d2a")) + "\r\nCompleted...\r\n",
              strLog);
}

TEST(AssetCommandsE2E, D2atexRewritesTextureNamesFromTheTargetPath)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"in"));
    const std::string strText = "[s]\r\ntex=\"abcdefgh_000.tga\"\r\nsmall=\"ab.tga\"\r\nkeep=\"abcdefgh.bmp\"\r\n";
    ASSERT_TRUE(d.Write(L"in\\s.d2a", strText));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nD2ATEX out\\%1\r\n" + Files(d, {L"in\\s.d2a"}), 0, &strLog));

    // The batch gives the full path: its first 8 characters are the drive and first folder.
    const std::string strPrefix = Ansi(d.Path(L"in\\s.d2a").substr(0, 8));
    EXPECT_EQ("[s]\r\ntex=\"" + strPrefix + "_000.tga\"\r\nsmall=\"" + strPrefix.substr(0, 2) +
                  ".tga\"\r\nkeep=\"abcdefgh.bmp\"\r\n",
              d.Read(L"in\\out\\s.d2a"));
    EXPECT_EQ(strText, d.Read(L"in\\s.d2a"));
    EXPECT_EQ("Completed...\r\n", strLog);
}

TEST(AssetCommandsE2E, ChainAppendsTheTargetsOnEveryLineButNeverTheOutputToItself)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"a.dat", std::string("A\0\xff", 3)));
    ASSERT_TRUE(d.Write(L"\x65e5.dat", "JP"));
    ASSERT_TRUE(d.Write(L"out.bin", "0"));
    ASSERT_TRUE(d.Write(L"empty.dat", ""));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHAIN out\r\nCHAIN out.txt\r\n" +
                                Files(d, {L"a.dat", L"\x65e5.dat", L"out.bin", L"empty.dat"}),
                       4, &strLog));

    EXPECT_EQ(std::string("0A\0\xffJPA\0\xffJP", 11), d.Read(L"out.bin"));
    const std::string strLine = "same file:" + Ansi(d.Path(L"out.bin")) + "\r\nfile not found:" +
                                Ansi(d.Path(L"empty.dat")) + "\r\n";
    EXPECT_EQ(strLine + strLine + "error(s).4\r\n", strLog);
}
