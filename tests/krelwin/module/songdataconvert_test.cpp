#include "krelwin/module/songdataconvert.h"

#include <chrono>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

using sample_commands::SampleCommandsTest;

TEST(SongDataConvertTable, CsvFieldsByRowAndColumn) {
    const std::wstring text = L"a,bb,,d\r\nsecond\rthird,x\n,y\r\n\r\nlast,z";
    struct Case {
        int row, column;
        int result;
        std::wstring field;
    } cases[] = {
        {1, 1, 1, L"a"},      {1, 2, 2, L"bb"},     {1, 3, 0, L""},   {1, 4, 1, L"d"},   {1, 5, 0, L""},
        {2, 1, 6, L"second"}, {2, 2, 0, L""},       {3, 1, 5, L"third"}, {3, 2, 1, L"x"}, {4, 1, 0, L""},
        {4, 2, 1, L"y"},      {5, 1, 0, L""},       {6, 1, 4, L"last"}, {6, 2, 1, L"z"},  {7, 1, 0, L""},
        {0, 1, 0, L""},       {1, 0, 0, L""},
    };
    for (const Case& c : cases) {
        wchar_t out[SONGDATACONVERT::FIELD_LENGTH] = L"stale";
        EXPECT_EQ(c.result, SONGDATACONVERT::getCsvField(text.c_str(), int(text.size()), c.row, c.column, out,
                                                         SONGDATACONVERT::FIELD_LENGTH))
            << "row " << c.row << " column " << c.column;
        EXPECT_EQ(c.field, std::wstring(out)) << "row " << c.row << " column " << c.column;
    }
}

TEST(SongDataConvertTable, FieldsAreReadWithinTheirLengthAndRoom) {
    // The length bounds the text: nothing past it is read, a terminator is not needed.
    const wchar_t text[] = {L'a', L'b', L',', L'c', L'd', L'e'};
    wchar_t out[8];
    EXPECT_EQ(2, SONGDATACONVERT::getCsvField(text, 5, 1, 2, out, 8));
    EXPECT_EQ(std::wstring(L"cd"), out);
    EXPECT_EQ(0, SONGDATACONVERT::getCsvField(text, 2, 1, 2, out, 8));
    // A field over the room is refused, not cut.
    EXPECT_EQ(-2, SONGDATACONVERT::getCsvField(text, 6, 1, 2, out, 3));
    EXPECT_EQ(std::wstring(L""), out);
    EXPECT_EQ(3, SONGDATACONVERT::getCsvField(text, 6, 1, 2, out, 4));
    EXPECT_EQ(0, SONGDATACONVERT::getCsvField(nullptr, 6, 1, 1, out, 4));
}

TEST(SongDataConvertTable, RowsAndOccurrences) {
    struct Rows {
        std::wstring text;
        int rows;
    } rows[] = {
        {L"", 0}, {L"a", 1}, {L"a\r\n", 1}, {L"a\r\nb", 2}, {L"a\rb\nc\r\n", 3}, {L"\r\n\r\n", 2}, {L"a\n\rb", 3},
    };
    for (const Rows& r : rows)
        EXPECT_EQ(r.rows, SONGDATACONVERT::CountRows(r.text.c_str(), int(r.text.size())))
            << testing::PrintToString(r.text);
    EXPECT_EQ(3, SONGDATACONVERT::countString(L"aaaa", L"aa"));
    EXPECT_EQ(2, SONGDATACONVERT::countString(L"x.tga\"y.tga", L".tga"));
    EXPECT_EQ(0, SONGDATACONVERT::countString(L"abc", L""));
    EXPECT_EQ(0, SONGDATACONVERT::countString(nullptr, L"a"));
}

TEST(SongDataConvertTable, TemplatesAreFilledWholePlaceholderByPlaceholder) {
    struct Case {
        const char* name;
        std::wstring tmpl;
        std::wstring fields[4];
        std::wstring result;
    } cases[] = {
        {"two names of the placeholder's length",
         L"<t f=\"wrd01_000.tga\"/><t f=\"wrd01_000.tga\"/>\r\n",
         {L"a01_001.tga", L"a01_002.tga"},
         L"<t f=\"a01_001.tga\"/><t f=\"a01_002.tga\"/>\r\n"},
        {"shorter and longer names", L"\"wrd01_000.tga\" \"wrd01_000.tga\"",
         {L"s.tga", L"a_very_long_texture_name_001.tga"}, L"\"s.tga\" \"a_very_long_texture_name_001.tga\""},
        {"empty first field", L"\"wrd01_000.tga\",\"wrd01_000.tga\"", {L"", L"x"}, L"\"\",\"x\""},
        {"not followed by a quote stays", L"wrd01_000.tga \"wrd01_000.tga\"", {L"n"},
         L"wrd01_000.tga \"n\""},
        {"ending the template", L"\"wrd01_000.tga", {L"end"}, L"\"end"},
        {"more placeholders than fields", L"wrd01_000.tga\"wrd01_000.tga\"wrd01_000.tga\"", {L"1"}, L"1\"\"\""},
        {"no placeholder", L"plain text", {L"x"}, L"plain text"},
        {"empty template", L"", {L"x"}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, SONGDATACONVERT::Fill(c.tmpl, c.fields, 4)) << "case " << c.name;
    // Six placeholders: the fifth and sixth get nothing.
    const std::wstring six = L"wrd01_000.tga\"wrd01_000.tga\"wrd01_000.tga\"wrd01_000.tga\"wrd01_000.tga\"wrd01_000.tga";
    const std::wstring fields[4] = {L"a", L"b", L"c", L"d"};
    EXPECT_EQ(L"a\"b\"c\"d\"\"", SONGDATACONVERT::Fill(six, fields, 4));
}

class SongDataConvertTest : public SampleCommandsTest {
protected:
    void SetUp() override {
        SampleCommandsTest::SetUp();
        ASSERT_TRUE(m_dir.MakeDir(L"baseD2a"));
        for (int k = 1; k <= 4; ++k) {
            std::string t = "song" + std::to_string(k) + "\r\n";
            for (int i = 0; i < k; ++i) t += " <tex name=\"wrd01_000.tga\"/>\r\n";
            ASSERT_TRUE(m_dir.Write(L"baseD2a\\wrd_00" + std::to_wstring(k) + L".d2a", t + "end"));
        }
    }
};

TEST_F(SongDataConvertTest, EachRowFillsTheTemplateOfItsFieldCount) {
    ASSERT_TRUE(m_dir.Write(L"t.csv", "a01_001.tga,a01_002.tga\r\nb01_001.tga\r\n,x\r\n\r\n,,,\r\n"
                                      "c1,c2,c3,c4,c5\r\nlast_\x93\xfa.tga"));
    SONGDATACONVERT cSong;
    EXPECT_EQ(1, cSong.Func(Line(L"t.csv", L"song").c_str()));
    EXPECT_EQ("song2\r\n <tex name=\"a01_001.tga\"/>\r\n <tex name=\"a01_002.tga\"/>\r\nend", m_dir.Read(L"song_001.d2a"));
    EXPECT_EQ("song1\r\n <tex name=\"b01_001.tga\"/>\r\nend", m_dir.Read(L"song_002.d2a"));
    EXPECT_EQ("song1\r\n <tex name=\"\"/>\r\nend", m_dir.Read(L"song_003.d2a")) << "',x' counts one field";
    EXPECT_FALSE(m_dir.IsFile(L"song_004.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"song_005.d2a"));
    EXPECT_EQ("song4\r\n <tex name=\"c1\"/>\r\n <tex name=\"c2\"/>\r\n <tex name=\"c3\"/>\r\n <tex name=\"c4\"/>\r\nend",
              m_dir.Read(L"song_006.d2a"));
    EXPECT_EQ("song1\r\n <tex name=\"last_\x93\xfa.tga\"/>\r\nend", m_dir.Read(L"song_007.d2a"))
        << "a last row without a line break is converted";
    std::wstring expected;
    for (int r : {1, 2, 3, 6, 7}) expected += L"file:" + Path(L"song_00" + std::to_wstring(r) + L".d2a") + L"\r\n";
    EXPECT_EQ(expected, Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(SongDataConvertTest, WithoutAnOutputTheFilesAreNamedAfterTheTable) {
    ASSERT_TRUE(m_dir.MakeDir(L"in"));
    ASSERT_TRUE(m_dir.Write(L"in\\tab.csv", "x.tga\r\n"));
    Exec(L"SONGDATACONVERT", L"", L"in\\tab.csv");
    EXPECT_EQ("song1\r\n <tex name=\"x.tga\"/>\r\nend", m_dir.Read(L"in\\tab_001.d2a"));
}

TEST_F(SongDataConvertTest, FailuresAreReported) {
    SONGDATACONVERT cSong;
    // Missing and empty tables.
    EXPECT_EQ(0, cSong.Func(Line(L"gone.csv").c_str()));
    ASSERT_TRUE(m_dir.Write(L"empty.csv", ""));
    EXPECT_EQ(0, cSong.Func(Line(L"empty.csv").c_str()));
    EXPECT_EQ(L"file not found:" + Path(L"gone.csv") + L"\r\nfile not found:" + Path(L"empty.csv") + L"\r\n", Log());

    // A field over 255 characters stops the table; the rows before it are written.
    Message_clear();
    ASSERT_TRUE(m_dir.Write(L"long.csv", "ok.tga\r\n" + std::string(256, 'n') + "\r\nnext.tga\r\n"));
    EXPECT_EQ(0, cSong.Func(Line(L"long.csv").c_str()));
    EXPECT_TRUE(m_dir.IsFile(L"long_001.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"long_002.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"long_003.d2a"));
    EXPECT_EQ(L"file:" + Path(L"long_001.d2a") + L"\r\nsize over\r\n", Log());

    // 255 characters fit.
    ASSERT_TRUE(m_dir.Write(L"fit.csv", std::string(255, 'n')));
    EXPECT_EQ(1, cSong.Func(Line(L"fit.csv").c_str()));
    EXPECT_EQ("song1\r\n <tex name=\"" + std::string(255, 'n') + "\"/>\r\nend", m_dir.Read(L"fit_001.d2a"));

    // A row whose template is missing: the empty text is not written.
    Message_clear();
    s_stGl.m_iErrorCount = 0;
    ASSERT_TRUE(DeleteFileW(Path(L"baseD2a\\wrd_003.d2a").c_str()));
    ASSERT_TRUE(m_dir.Write(L"three.csv", "a,b,c\r\n"));
    EXPECT_EQ(1, cSong.Func(Line(L"three.csv").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"three_001.d2a"));
    EXPECT_EQ(L"file:" + Path(L"three_001.d2a") + L"\r\nOutFileSize zero.three_001.d2a\r\n", Log());
}

TEST_F(SongDataConvertTest, TextsHoldingNulAreRefusedWholeNotCut) {
    // A table with a NUL inside a field: the field would be cut to its start.
    SONGDATACONVERT cSong;
    ASSERT_TRUE(m_dir.Write(L"zero.csv", std::string("ok.tga\r\nab\0cd.tga\r\n", 19)));
    EXPECT_EQ(0, cSong.Func(Line(L"zero.csv").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"zero_001.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"zero_002.d2a"));
    EXPECT_EQ(L"テキストにNUL文字が含まれています. zero.csv\r\n", Log());

    // A template with a NUL: every text filled from it would end there.
    Message_clear();
    ASSERT_TRUE(m_dir.Write(L"baseD2a\\wrd_002.d2a", std::string("a\0 <tex name=\"wrd01_000.tga\"/>x2", 32)));
    ASSERT_TRUE(m_dir.Write(L"two.csv", "one.tga\r\nx.tga,y.tga\r\nz.tga\r\n"));
    EXPECT_EQ(0, cSong.Func(Line(L"two.csv").c_str()));
    EXPECT_EQ("song1\r\n <tex name=\"one.tga\"/>\r\nend", m_dir.Read(L"two_001.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"two_002.d2a"));
    EXPECT_FALSE(m_dir.IsFile(L"two_003.d2a"));
    EXPECT_EQ(L"file:" + Path(L"two_001.d2a") + L"\r\nテキストにNUL文字が含まれています. wrd_002.d2a\r\n", Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

}  // namespace

namespace {

// A benchmark, not a test: run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*
TEST_F(SongDataConvertTest, DISABLED_Benchmark) {
    const int iRows = 2000;
    std::string table;
    for (int i = 0; i < iRows; ++i) table += "a" + std::to_string(i) + "_001.tga,a" + std::to_string(i) + "_002.tga\r\n";
    ASSERT_TRUE(m_dir.Write(L"big.csv", table));
    SONGDATACONVERT cSong;
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(1, cSong.Func(Line(L"big.csv").c_str()));
    const double d = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("SONGDATACONVERT of %d rows: %.3f s (%.0f us per row)\n", iRows, d, d * 1e6 / iRows);
    EXPECT_TRUE(m_dir.IsFile(L"big_2000.d2a"));
}

}  // namespace
