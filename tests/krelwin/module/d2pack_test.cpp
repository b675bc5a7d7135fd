#include "krelwin/module/d2pack.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

using sample_commands::SampleCommandsTest;
using sample_commands::Sjis;

std::string U32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char(v >> (8 * i));
    return s;
}

// CRC-32/BZIP2 of the bytes, bit by bit.
uint32_t Crc(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= uint32_t(c) << 24;
        for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return ~crc;
}

std::string Pad4(std::string s) {
    while (s.size() % 4) s += '\0';
    return s;
}

TEST(D2PackScan, TextureNamesAreTakenOnceInOrderOfFirstAppearance) {
    struct Case {
        const char* name;
        std::wstring text;
        std::vector<std::wstring> names;
    } cases[] = {
        {"none", L"<layout/>", {}},
        {"one", L"<tex_param fname=\"tex\\a.tga\"/>", {L"tex\\a.tga"}},
        {"repeats kept once, case counts",
         L"<tex_param fname=\"a\"/><tex_param fname=\"b\"/><tex_param fname=\"a\"/><tex_param fname=\"A\"/>",
         {L"a", L"b", L"A"}},
        {"fname searched from the element on", L"fname=\"x\"<tex_param id=1>\r\n<p fname=\"y\"/>", {L"y"}},
        {"D2DATA is the layout's own entry", L"<tex_param fname=\"D2DATA\"/><tex_param fname=\"c\"/>", {L"c"}},
        {"no closing quote ends the search", L"<tex_param fname=\"a\"/><tex_param fname=\"b", {L"a"}},
        {"element without fname ends the search", L"<tex_param fname=\"a\"/><tex_param>", {L"a"}},
        {"kanji", L"<tex_param fname=\"\x65e5\x672c.tga\"/>", {L"\x65e5\x672c.tga"}},
        {"empty value", L"<tex_param fname=\"\"/>", {L""}},
        {"a zero unit does not end the text", std::wstring(L"<tex_param fname=\"a\"/>\0<tex_param fname=\"b\"/>", 45),
         {L"a", L"b"}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> names{L"stale"};
        EXPECT_EQ(SMPL_D2PACK::SCAN_OK, SMPL_D2PACK::ScanTextures(c.text, &names)) << "case " << c.name;
        EXPECT_EQ(c.names, names) << "case " << c.name;
    }
}

TEST(D2PackScan, NameTableHoldsTheAtNamesPaddedByOneToFourZeros) {
    struct Case {
        const char* name;
        std::wstring text;
        std::string table;
        int count;
    } cases[] = {
        {"none", L"<Reference/>", "", 0},
        {"a and bc: 5 bytes and 3 zeros", L"<Reference><data name=\"@a\"/></Reference><Reference><data name=\"@bc\"/>",
         std::string("a\0bc\0\0\0\0", 8), 2},
        {"abc alone: 4 bytes and 4 zeros", L"<Reference><data name=\"@abc\"/>", std::string("abc\0\0\0\0\0", 8), 1},
        {"without @ not taken", L"<Reference><data name=\"plain\"/><Reference><data name=\"@x\"/>",
         std::string("x\0\0\0", 4), 1},
        {"repeats kept", L"<Reference><data name=\"@x\"/><Reference><data name=\"@x\"/>",
         std::string("x\0x\0\0\0\0\0", 8), 2},
        {"kanji in Shift-JIS", L"<Reference><data name=\"@\x540d\"/>", Sjis(L"\x540d") + std::string("\0\0", 2), 1},
        {"just @", L"<Reference><data name=\"@\"/>", std::string("\0\0\0\0", 4), 1},
        {"data name outside a Reference", L"<data name=\"@no\"/>", "", 0},
    };
    for (const Case& c : cases) {
        std::string table = "stale";
        int count = -1;
        EXPECT_EQ(SMPL_D2PACK::SCAN_OK, SMPL_D2PACK::ScanNames(c.text, &table, &count)) << "case " << c.name;
        EXPECT_EQ(c.table, table) << "case " << c.name;
        EXPECT_EQ(c.count, count) << "case " << c.name;
    }
}

TEST(D2PackScan, ValuesAndCountsOverTheLimitsAreRefused) {
    const std::wstring long255(255, L'n'), long256(256, L'n');
    std::vector<std::wstring> names;
    EXPECT_EQ(SMPL_D2PACK::SCAN_OK, SMPL_D2PACK::ScanTextures(L"<tex_param fname=\"" + long255 + L"\"", &names));
    EXPECT_EQ(SMPL_D2PACK::SCAN_VALUE_OVER,
              SMPL_D2PACK::ScanTextures(L"<tex_param fname=\"" + long256 + L"\"", &names));

    std::wstring textures;
    for (int i = 0; i < D2PACK_ENTRY_MAX - 1; ++i) textures += L"<tex_param fname=\"t" + std::to_wstring(i) + L"\"/>";
    names.clear();
    EXPECT_EQ(SMPL_D2PACK::SCAN_OK, SMPL_D2PACK::ScanTextures(textures, &names));
    EXPECT_EQ(size_t(D2PACK_ENTRY_MAX - 1), names.size());
    EXPECT_EQ(SMPL_D2PACK::SCAN_ENTRY_OVER, SMPL_D2PACK::ScanTextures(textures + L"<tex_param fname=\"x\"/>", &names));
    EXPECT_EQ(size_t(D2PACK_ENTRY_MAX - 1), names.size()) << "a refusal leaves the list alone";

    std::string table;
    int count = 0;
    EXPECT_EQ(SMPL_D2PACK::SCAN_VALUE_OVER,
              SMPL_D2PACK::ScanNames(L"<Reference><data name=\"@" + long255 + L"\"", &table, &count));
    // Names of 7 characters take 8 bytes each: 127 of them and the 4 zeros fill 1,020.
    std::wstring refs;
    for (int i = 0; i < 127; ++i) refs += L"<Reference><data name=\"@abcdefg\"/>";
    EXPECT_EQ(SMPL_D2PACK::SCAN_OK, SMPL_D2PACK::ScanNames(refs, &table, &count));
    EXPECT_EQ(1020u, table.size());
    EXPECT_EQ(SMPL_D2PACK::SCAN_OK,
              SMPL_D2PACK::ScanNames(refs + L"<Reference><data name=\"@abcdef\"/>", &table, &count));
    EXPECT_EQ(1024u, table.size()) << "1,023 bytes of names and 1 zero fill it exactly";
    EXPECT_EQ(128, count);
    // 1,024 bytes of names would need 4 zeros more.
    EXPECT_EQ(SMPL_D2PACK::SCAN_TABLE_OVER,
              SMPL_D2PACK::ScanNames(refs + L"<Reference><data name=\"@abcdefg\"/>", &table, &count));
}

class D2PackTest : public SampleCommandsTest {
protected:
    void SetUp() override {
        SampleCommandsTest::SetUp();
        ASSERT_TRUE(m_dir.MakeDir(L"d2c"));
    }
};

TEST_F(D2PackTest, LayoutWithoutTexturesOrNamesPacksItsDataAlone) {
    ASSERT_TRUE(m_dir.Write(L"lay.xml", "<layout/>\r\n"));
    ASSERT_TRUE(m_dir.Write(L"lay.d2b", "12345"));
    SMPL_D2PACK cPack;
    EXPECT_EQ(1, cPack.Func(Line(L"lay.xml").c_str()));
    EXPECT_EQ(std::string("D2C\0\x01\0\0\0", 8) + U32(0x956C4F47u) + U32(20) + U32(5) + std::string("12345\0\0\0", 8),
              m_dir.Read(L"d2c\\lay.d2c"));
    EXPECT_EQ(L"\r\n" + Path(L"lay.xml") + L"(11)\r\nD2DATA                   0x956C4F47,0x00000014,0x00000005\r\n",
              Log());
    EXPECT_FALSE(m_dir.IsFile(L"lay.txt")) << "no texture, no list";
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(D2PackTest, TexturesBesideOrInGimAndAMissingOneKeepTheirOrder) {
    ASSERT_TRUE(m_dir.MakeDir(L"gim"));
    ASSERT_TRUE(m_dir.Write(L"s.xml", "<tex_param fname=\"img\\a.tga\"/><tex_param fname=\"b.tga\"/>"
                                      "<tex_param fname=\"gone.tga\"/><tex_param fname=\"img\\a.tga\"/>"
                                      "<tex_param fname=\"\x93\xfa.tga\"/>"  // 日
                                      "<Reference><data name=\"@a\"/><Reference><data name=\"@bc\"/>"));
    ASSERT_TRUE(m_dir.Write(L"s.d2b", "DATA"));
    ASSERT_TRUE(m_dir.Write(L"a.gim", "AAAAAA"));
    ASSERT_TRUE(m_dir.Write(L"gim\\b.gim", "B"));
    ASSERT_TRUE(m_dir.Write(L"b.gim", ""));  // empty beside: the gim folder's is taken
    ASSERT_TRUE(m_dir.Write(L"gim\\\x65e5.gim", "KANJI"));
    SMPL_D2PACK cPack;
    EXPECT_EQ(1, cPack.Func(Line(L"s.xml").c_str()));

    const std::string names[] = {"D2DATA", "img\\a.tga", "b.tga", "gone.tga", "\x93\xfa.tga"};
    const uint32_t sizes[] = {4, 6, 1, 0, 5};
    const std::string table = std::string("a\0bc\0\0\0\0", 8);
    uint32_t offset = 8 + 12 * 5 + 8;
    std::string index, data;
    const std::string blocks[] = {"DATA", "AAAAAA", "B", "", "KANJI"};
    for (int i = 0; i < 5; ++i) {
        index += U32(Crc(names[i])) + U32(offset) + U32(sizes[i]);
        offset += (sizes[i] + 3) & ~3u;
        data += Pad4(blocks[i]);
    }
    EXPECT_EQ(Crc("D2DATA"), 0x956C4F47u);
    EXPECT_EQ(std::string("D2C\0\x05\0\x02\0", 8) + index + table + data, m_dir.Read(L"d2c\\s.d2c"));
    EXPECT_EQ("img\\a.tga\r\nb.tga\r\ngone.tga\r\n\x93\xfa.tga\r\n", m_dir.Read(L"s.txt"));
    EXPECT_NE(Log().find(L"not found:" + Path(L"gim\\gone.gim") + L"\r\n"), std::wstring::npos) << Log();
    EXPECT_EQ(1, s_stGl.m_iErrorCount);

    // The list grows across runs.
    EXPECT_EQ(1, cPack.Func(Line(L"s.xml").c_str()));
    EXPECT_EQ("img\\a.tga\r\nb.tga\r\ngone.tga\r\n\x93\xfa.tga\r\nimg\\a.tga\r\nb.tga\r\ngone.tga\r\n\x93\xfa.tga\r\n",
              m_dir.Read(L"s.txt"));
}

TEST_F(D2PackTest, OutputArgumentNamesThePackageInTheD2cFolderOfTheCurrentFolder) {
    ASSERT_TRUE(m_dir.MakeDir(L"in"));
    ASSERT_TRUE(m_dir.Write(L"in\\lay.xml", "<x/>"));
    ASSERT_TRUE(m_dir.Write(L"in\\lay.d2b", "D"));
    SMPL_D2PACK cPack;
    EXPECT_EQ(1, cPack.Func(Line(L"in\\lay.xml", L"out\\pack.bin").c_str()));
    EXPECT_EQ(std::string("D2C\0\x01\0\0\0", 8) + U32(0x956C4F47u) + U32(20) + U32(1) + std::string("D\0\0\0", 4),
              m_dir.Read(L"d2c\\pack.d2c"));
    EXPECT_FALSE(m_dir.IsFile(L"d2c\\lay.d2c"));
}

TEST_F(D2PackTest, FailuresWriteNoPackageAndSayWhy) {
    SMPL_D2PACK cPack;
    struct Case {
        const char* name;
        std::string layout;
        std::string data;  // the .d2b; empty: none
        std::wstring message;
    } cases[] = {
        {"layout missing", "", "", L"file not found:" + Path(L"f.xml")},
        {"data missing", "<x/>", "", L"not found:" + Path(L"f.d2b")},
        {"name over 255", "<tex_param fname=\"" + std::string(256, 'n') + "\"", "D",
         L"name too long:" + Path(L"f.xml")},
        {"too many textures",
         [] { std::string s; for (int i = 0; i < 256; ++i) s += "<tex_param fname=\"" + std::to_string(i) + "\"/>"; return s; }(),
         "D", L"entry over:" + Path(L"f.xml")},
        {"name table over 1,024 bytes",
         [] { std::string s; for (int i = 0; i < 128; ++i) s += "<Reference><data name=\"@abcdefgh\"/>"; return s; }(),
         "D", L"name table over:" + Path(L"f.xml")},
        {"package reaching 1 MiB", "<x/>", std::string(D2PACK_FILE_MAX - 20, 'd'), L"buff over:" + Path(L"f.d2b")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(Path(L"f.xml").c_str());
        DeleteFileW(Path(L"f.d2b").c_str());
        if (!c.layout.empty()) {
            ASSERT_TRUE(m_dir.Write(L"f.xml", c.layout));
        }
        if (!c.data.empty()) {
            ASSERT_TRUE(m_dir.Write(L"f.d2b", c.data));
        }
        Message_clear();
        s_stGl.m_iErrorCount = 0;
        EXPECT_EQ(0, cPack.Func(Line(L"f.xml").c_str()));
        EXPECT_FALSE(m_dir.IsFile(L"d2c\\f.d2c"));
        EXPECT_NE(Log().find(c.message + L"\r\n"), std::wstring::npos) << Narrow(Log());
        EXPECT_EQ(1, s_stGl.m_iErrorCount);
    }
    EXPECT_FALSE(m_dir.IsFile(L"f.txt")) << "a refused layout lists nothing";

    // One byte less fits: its padding ends the package at 1 MiB.
    ASSERT_TRUE(m_dir.Write(L"f.d2b", std::string(D2PACK_FILE_MAX - 21, 'd')));
    EXPECT_EQ(1, cPack.Func(Line(L"f.xml").c_str()));
    const std::string got = m_dir.Read(L"d2c\\f.d2c");
    ASSERT_EQ(size_t(D2PACK_FILE_MAX), got.size());
    EXPECT_EQ(std::string("d\0", 2), got.substr(got.size() - 2));
}

TEST_F(D2PackTest, MissingD2cFolderIsReportedAndTheListNeverOverwritesTheLayout) {
    ASSERT_TRUE(m_dir.Write(L"t.txt", "<tex_param fname=\"a.tga\"/>"));
    ASSERT_TRUE(m_dir.Write(L"t.d2b", "D"));
    ASSERT_TRUE(m_dir.Write(L"a.gim", "A"));
    ASSERT_TRUE(RemoveDirectoryW(Path(L"d2c").c_str()));
    SMPL_D2PACK cPack;
    EXPECT_EQ(0, cPack.Func(Line(L"t.txt").c_str()));
    EXPECT_EQ("<tex_param fname=\"a.tga\"/>", m_dir.Read(L"t.txt")) << "the layout is not its own list";
    EXPECT_NE(Log().find(L"Can't write file.t.txt\r\n"), std::wstring::npos) << Narrow(Log());
    EXPECT_NE(Log().find(L"Can't write file.t.d2c\r\n"), std::wstring::npos) << Narrow(Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

}  // namespace
