#include "krelwin/module/common/samesize.h"

#include <string>

#include <gtest/gtest.h>

#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

class SameSizeTest : public EngineTest {
protected:
    void TearDown() override {
        Module_releaseAll();
        EngineTest::TearDown();
    }
    // Lists the file in the run's target list.
    void List(const std::wstring& _strName) {
        ASSERT_EQ(1, s_stGl.m_cFileList.Add(m_dir.Path(_strName).c_str()));
    }
    // One script line of SAMESIZE over the named targets, ended as the run loop ends it.
    void RunLine(std::initializer_list<const wchar_t*> _lstTarget) {
        SCRIPT_STAT stLine;
        stLine.m_strCommand = L"SAMESIZE";
        for (const wchar_t* p : _lstTarget) Command_exec(stLine, m_dir.Path(p).c_str());
        Command_quit(0);
    }
};

TEST_F(SameSizeTest, PadsEveryListedFileToTheLargestWithZeros) {
    const std::string strA = "0123456789";
    std::string strB(2000, '\0');
    for (size_t i = 0; i < strB.size(); ++i) strB[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(m_dir.Write(L"a.bin", strA));
    ASSERT_TRUE(m_dir.Write(L"b.bin", strB));
    ASSERT_TRUE(m_dir.Write(L"c.bin", ""));
    List(L"a.bin");
    List(L"b.bin");
    List(L"c.bin");
    RunLine({L"a.bin", L"b.bin", L"c.bin"});

    EXPECT_EQ(strA + std::string(1990, '\0'), m_dir.Read(L"a.bin"));
    EXPECT_EQ(strB, m_dir.Read(L"b.bin"));
    EXPECT_EQ(std::string(2000, '\0'), m_dir.Read(L"c.bin"));
    EXPECT_EQ(L"resize : 2Kb\r\na.bin\r\nb.bin\r\nc.bin\r\n", Log());

    // The pass ran once; a further end of line or run does nothing.
    Command_quit(1);
    EXPECT_EQ(L"resize : 2Kb\r\na.bin\r\nb.bin\r\nc.bin\r\n", Log());
}

TEST_F(SameSizeTest, MissingFileIsCreatedLargerOneIsLeftAlone) {
    ASSERT_TRUE(m_dir.Write(L"a.bin", "abcd"));
    ASSERT_TRUE(m_dir.Write(L"big.bin", "0123456789"));
    List(L"a.bin");
    List(L"big.bin");
    ASSERT_TRUE(m_dir.Write(L"gone.bin", "x"));
    List(L"gone.bin");
    ASSERT_TRUE(DeleteFileW(m_dir.Path(L"gone.bin").c_str()));
    // Only a.bin is measured on this line: big.bin does not fit the block.
    RunLine({L"a.bin"});
    EXPECT_EQ("abcd", m_dir.Read(L"a.bin"));
    EXPECT_EQ("0123456789", m_dir.Read(L"big.bin"));
    EXPECT_EQ(std::string(4, '\0'), m_dir.Read(L"gone.bin"));
    EXPECT_EQ(L"resize : 1Kb\r\na.bin\r\nbig.bin\r\nresize skipped. big.bin\r\ngone.bin\r\n", Log());
}

TEST_F(SameSizeTest, EachLineMeasuresAfresh) {
    ASSERT_TRUE(m_dir.Write(L"a.bin", std::string(1500, 'x')));
    List(L"a.bin");
    RunLine({L"a.bin"});
    ASSERT_TRUE(m_dir.Write(L"a.bin", "short"));
    RunLine({L"a.bin"});
    EXPECT_EQ("short", m_dir.Read(L"a.bin"));
    EXPECT_EQ(L"resize : 2Kb\r\na.bin\r\nresize : 1Kb\r\na.bin\r\n", Log());
}

}  // namespace
