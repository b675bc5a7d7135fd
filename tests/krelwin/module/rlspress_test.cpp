#include "krelwin/module/rlspress.h"

#include <chrono>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "kelto/press/rls.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

using sample_commands::SampleCommandsTest;

class RlsPressTest : public SampleCommandsTest {};

std::string U32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char(v >> (8 * i));
    return s;
}

TEST_F(RlsPressTest, ThousandZeroBytesGiveTheWholeFileWithTheOutputsExtension) {
    ASSERT_TRUE(m_dir.Write(L"zero.bin", std::string(1000, '\0')));
    RLSPRESS cRls;
    EXPECT_EQ(1, cRls.Func(Line(L"zero.bin", L"out.tm2").c_str()));
    const std::string expected = std::string("RLS\0tm2\0", 8) + U32(1000) +
                                 U32(3) + U32(250) + U32(1) + U32(0 | 250u << 16) + U32(0);
    EXPECT_EQ(expected, m_dir.Read(L"out.rls"));
    EXPECT_EQ(32u, m_dir.Read(L"out.rls").size());
    EXPECT_EQ(L"" + Path(L"zero.bin") + L"   2%\r\n", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(RlsPressTest, HeaderTakesFourBytesOfTheExtensionAndKeepsTheExactSize) {
    struct Case {
        const wchar_t* name;
        const wchar_t* args;  // the output argument
        const wchar_t* file;  // the .rls written
        std::string ext;      // header bytes 4..7
    } cases[] = {
        {L"own extension", L"", L"a.rls", std::string("dat\0", 4)},
        {L"long extension cut", L"b.abcdef", L"b.rls", "abcd"},
        {L"no extension", L"c", L"c.rls", std::string(4, '\0')},
        {L"kanji extension", L"d.\x65e5\x672c\x8a9e", L"d.rls", "\x93\xfa\x96\x7b"},
    };
    // 6 bytes: the values 0x01010101 and the partial 0x00000101 - no run; so 10 bytes:
    // two equal values, then a partial one.
    const std::string src = std::string("\x07\x07\x07\x07\x07\x07\x07\x07\x09\x09", 10);
    ASSERT_TRUE(m_dir.Write(L"a.dat", src));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        RLSPRESS cRls;
        EXPECT_EQ(1, cRls.Func(Line(L"a.dat", c.args).c_str()));
        const std::string got = m_dir.Read(c.file);
        ASSERT_EQ(12u + 24u, got.size());
        EXPECT_EQ(std::string("RLS\0", 4), got.substr(0, 4));
        EXPECT_EQ(c.ext, got.substr(4, 4));
        EXPECT_EQ(U32(10), got.substr(8, 4)) << "the exact byte count, not the words";
        // P = 4, source length 3 words, one run {0, 2}, values 0x07070707 and 0x0909.
        EXPECT_EQ(U32(4) + U32(3) + U32(1) + U32(2u << 16) + U32(0x07070707u) + U32(0x0909u), got.substr(12));
    }
}

TEST_F(RlsPressTest, FileWithoutARunIsAnErrorAndWritesNothing) {
    ASSERT_TRUE(m_dir.Write(L"norun.bin", "\x01\0\0\0\x02\0\0\0\x03"));
    RLSPRESS cRls;
    EXPECT_EQ(0, cRls.Func(Line(L"norun.bin").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"norun.rls"));
    EXPECT_EQ(L"error " + Path(L"norun.bin") + L"\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(RlsPressTest, MissingOrEmptyTargetIsSkippedSilently) {
    ASSERT_TRUE(m_dir.Write(L"empty.bin", ""));
    RLSPRESS cRls;
    EXPECT_EQ(0, cRls.Func(Line(L"empty.bin").c_str()));
    EXPECT_EQ(0, cRls.Func(Line(L"gone.bin").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"empty.rls"));
    EXPECT_FALSE(m_dir.IsFile(L"gone.rls"));
    EXPECT_EQ(L"", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(RlsPressTest, SourceBeyondTheEncodersWorkListsIsRefused) {
    ASSERT_TRUE(m_dir.Write(L"big.bin", std::string(RLS_WORKLIST_SIZE + 4, '\0')));
    RLSPRESS cRls;
    EXPECT_EQ(0, cRls.Func(Line(L"big.bin").c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"big.rls"));
    EXPECT_EQ(L"size over:" + Path(L"big.bin") + L"\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);

    // The largest source the lists hold is coded.
    Message_clear();
    ASSERT_TRUE(m_dir.Write(L"max.bin", std::string(RLS_WORKLIST_SIZE, '\0')));
    EXPECT_EQ(1, cRls.Func(Line(L"max.bin").c_str()));
    const std::string got = m_dir.Read(L"max.rls");
    ASSERT_GE(got.size(), 12u + 8u);
    EXPECT_EQ(U32(RLS_WORKLIST_SIZE), got.substr(8, 4));
    EXPECT_EQ(U32(RLS_WORKLIST_SIZE / 4), got.substr(16, 4));
}

TEST_F(RlsPressTest, RunsThroughTheDispatcherAndDecodesToTheSource) {
    std::string src;
    for (int i = 0; i < 3000; ++i) src += char(i / 700);  // long runs of equal words
    src += "xyz";
    ASSERT_TRUE(m_dir.Write(L"d.bin", src));
    Exec(L"RLSPRESS", L"", L"d.bin");
    const std::string got = m_dir.Read(L"d.rls");
    ASSERT_GT(got.size(), 12u);
    std::vector<uint32_t> out((src.size() + 3) / 4, 0xCCCCCCCCu);
    ASSERT_GT(RLS_decodeDWORD(got.data() + 12, int(got.size() - 12), out.data(), int(out.size())), 0);
    std::string back(reinterpret_cast<const char*>(out.data()), src.size());
    EXPECT_EQ(src, back);
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

}  // namespace

namespace {

// A benchmark, not a test: run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*
TEST_F(RlsPressTest, DISABLED_Benchmark) {
    std::string src(RLS_WORKLIST_SIZE, '\0');
    for (size_t i = 0; i < src.size(); ++i) src[i] = char((i / 64) % 3 == 0 ? i : 0);  // runs and noise
    ASSERT_TRUE(m_dir.Write(L"big.bin", src));
    RLSPRESS cRls;
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(1, cRls.Func(Line(L"big.bin").c_str()));
    const double d = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("RLSPRESS of 8 MiB: %.3f s, %u bytes written\n", d, unsigned(m_dir.Read(L"big.rls").size()));
}

}  // namespace
