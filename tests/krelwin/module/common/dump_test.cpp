#include "krelwin/module/common/dump.h"

#include <string>

#include <gtest/gtest.h>

#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

struct TextCase {
    std::string strBytes;
    int iUnit;
    std::wstring strText;
};

TEST(DumpText, ValuesUnitsAndLineBreaks) {
    const std::string str16("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\xff", 16);
    const std::wstring strLine16 =
        L"0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,0x0a,0x0b,0x0c,0x0d,0x0e,0xff,\r\n";
    const TextCase aCase[] = {
        {"\x01\x02\x03", 0, L"0x01,0x02,0x03,\r\n"},
        {"\x01\x02\x03", 1, L"0x01,0x02,0x03,\r\n"},
        {"\x01\x02\x03", 3, L"0x01,0x02,0x03,\r\n"},
        {"\x01\x02\x03", 2, L"0x0201,0x0003,\r\n"},
        {"\x01\x02\x03", 4, L"0x00030201,\r\n"},
        {"\xff\x80", 2, L"0x80ff,\r\n"},
        {"\x80\xff\xfe\xfd", 4, L"0xfdfeff80,\r\n"},
        {str16, 1, strLine16 + L"\r\n"},
        {str16 + "\x10", 1, strLine16 + L"0x10,\r\n"},
        {std::string(32, '\0'), 2, L"0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,"
                                   L"0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,\r\n\r\n"},
        {std::string(32, '\x11'), 4, L"0x11111111,0x11111111,0x11111111,0x11111111,"
                                     L"0x11111111,0x11111111,0x11111111,0x11111111,\r\n\r\n"},
        {std::string(33, '\x11'), 4, L"0x11111111,0x11111111,0x11111111,0x11111111,"
                                     L"0x11111111,0x11111111,0x11111111,0x11111111,\r\n0x00000011,\r\n"},
    };
    for (const TextCase& c : aCase) {
        SCOPED_TRACE(testing::Message() << c.strBytes.size() << " bytes, unit " << c.iUnit);
        EXPECT_EQ(c.strText, DUMP::MakeText(reinterpret_cast<const unsigned char*>(c.strBytes.data()),
                                            static_cast<int>(c.strBytes.size()), c.iUnit));
    }
}

class DumpTest : public EngineTest {
protected:
    void TearDown() override {
        Module_releaseAll();
        EngineTest::TearDown();
    }
    int Run(const std::wstring& _strTarget, const std::wstring& _strArgs) {
        return m_cDump.Func((L"\"" + m_dir.Path(_strTarget) + L"\" " + _strArgs).c_str());
    }
    DUMP m_cDump;
};

TEST_F(DumpTest, OutputNameFollowsTheTargetOrTheGivenName) {
    struct NameCase {
        const wchar_t* pTarget;
        std::wstring strArgs;
        const wchar_t* pOut;
    };
    const NameCase aCase[] = {
        {L"a.txt", L"", L"a_d.txt"},
        {L"b.TXT", L"", L"b_d.txt"},
        {L"c.Txt", L"", L"c_d.txt"},  // any case: the target is never its own dump
        {L"d.bin", L"", L"d.txt"},
        {L"e.bin", L"\"" + m_dir.Path(L"x.dat") + L"\" 1", L"x.txt"},
        {L"f.bin", L"\"" + m_dir.Path(L"y z.txt") + L"\" 2", L"y z_d.txt"},
        {L"g.bin", m_dir.Path(L"w") + L" 4", L"w.txt"},
    };
    for (const NameCase& c : aCase) {
        SCOPED_TRACE(c.pTarget);
        Message_clear();
        ASSERT_TRUE(m_dir.Write(c.pTarget, "\x01\x02\x03"));
        EXPECT_EQ(1, Run(c.pTarget, c.strArgs));
        const std::wstring strName(c.pOut);
        EXPECT_EQ(L"dump:" + m_dir.Path(c.pTarget) + L" " + strName + L"\r\n", Log());
        EXPECT_EQ("\x01\x02\x03", m_dir.Read(c.pTarget));
    }
    EXPECT_EQ("0x01,0x02,0x03,\r\n", m_dir.Read(L"a_d.txt"));
    EXPECT_EQ("0x01,0x02,0x03,\r\n", m_dir.Read(L"x.txt"));
    EXPECT_EQ("0x0201,0x0003,\r\n", m_dir.Read(L"y z_d.txt"));
    EXPECT_EQ("0x00030201,\r\n", m_dir.Read(L"w.txt"));
}

TEST_F(DumpTest, UnitIsTheFirstArgumentWithoutAName) {
    ASSERT_TRUE(m_dir.Write(L"a.bin", "\x01\x02\x03"));
    EXPECT_EQ(1, Run(L"a.bin", L"4"));
    EXPECT_EQ("0x00030201,\r\n", m_dir.Read(L"a.txt"));
}

TEST_F(DumpTest, EmptyMissingOrSelfOutputWritesNothing) {
    ASSERT_TRUE(m_dir.Write(L"empty.bin", ""));
    EXPECT_EQ(0, Run(L"empty.bin", L""));
    EXPECT_EQ(0, Run(L"gone.bin", L""));
    EXPECT_EQ(L"", Log());
    EXPECT_FALSE(m_dir.IsFile(L"empty.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"gone.txt"));

    // An output name that comes out as the target itself is refused.
    ASSERT_TRUE(m_dir.Write(L"a.txt", "keep"));
    EXPECT_EQ(0, Run(L"a.txt", L"\"" + m_dir.Path(L"A.bin") + L"\" 1"));
    EXPECT_EQ(L"dump failed. " + m_dir.Path(L"a.txt") + L"\r\n", Log());
    EXPECT_EQ("keep", m_dir.Read(L"a.txt"));
}

TEST_F(DumpTest, DispatcherRunsTheMenuFormWithoutArguments) {
    ASSERT_TRUE(m_dir.Write(L"a.bin", std::string("\0\x7f", 2)));
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"DUMP";
    Command_exec(stLine, m_dir.Path(L"a.bin").c_str());
    Command_quit(1);
    EXPECT_EQ("0x00,0x7f,\r\n", m_dir.Read(L"a.txt"));
    EXPECT_EQ(L"dump:" + m_dir.Path(L"a.bin") + L" a.txt\r\n", Log());
}

}  // namespace
