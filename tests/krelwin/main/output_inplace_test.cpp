// Rewriting a command's own target: an unchanged text is not written over it, whatever the
// spelling of the output; another output is written as ever.
#include "krelwin/main/output_inplace.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

int s_iAsked = 0;

int CountAsk(const wchar_t*)
{
    ++s_iAsked;
    return OUTPUT_ANSWER_YES;
}

class OutputInPlaceTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        s_iAsked = 0;
        m_pOldAsk = Output_setAsk(CountAsk);
        s_stGl.m_pSetting->BACKUP = 1;
    }
    void TearDown() override {
        Output_setAsk(m_pOldAsk);
        EngineTest::TearDown();
    }
    OUTPUT_ASK m_pOldAsk = 0;
};

} // namespace

TEST_F(OutputInPlaceTest, AnUnchangedTextGoesOnlyToAnotherFile)
{
    ASSERT_TRUE(m_dir.Write(L"t.txt", "abc"));
    const std::wstring strTarget = m_dir.Path(L"t.txt");
    for (const std::wstring& strOut : {strTarget, m_dir.Path(L"T.TXT"), std::wstring(L".\\t.txt"), std::wstring(L"t.txt")}) {
        EXPECT_EQ(3, Write_OutTextChanged(strOut.c_str(), strTarget.c_str(), L"abc", 3, L"abc"));
        EXPECT_EQ("abc", m_dir.Read(L"t.txt"));
        EXPECT_FALSE(m_dir.IsFile(L"t.bak"));
    }
    EXPECT_EQ(1, Write_OutFileChanged(L"t.txt", strTarget.c_str(), 0, "a", 1));
    EXPECT_EQ("abc", m_dir.Read(L"t.txt"));

    // Another output, a changed text or changed bytes are written under the backup policy.
    ASSERT_TRUE(m_dir.Write(L"o.txt", "old"));
    EXPECT_EQ(3, Write_OutTextChanged(L"o.txt", strTarget.c_str(), L"abc", 3, L"abc"));
    EXPECT_EQ("abc", m_dir.Read(L"o.txt"));
    EXPECT_EQ("old", m_dir.Read(L"o.bak"));
    EXPECT_EQ(2, Write_OutTextChanged(L"t.txt", strTarget.c_str(), L"abc", 3, L"ab"));
    EXPECT_EQ("ab", m_dir.Read(L"t.txt"));
    EXPECT_EQ("abc", m_dir.Read(L"t.bak"));
    EXPECT_EQ(1, Write_OutFileChanged(L"t.txt", strTarget.c_str(), 1, "a", 1));
    EXPECT_EQ("a", m_dir.Read(L"t.txt"));
    EXPECT_EQ(0, s_iAsked);
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(OutputInPlaceTest, ATextHoldingANulIsACountedError)
{
    const wchar_t szText[] = {L'a', 0, L'b'};
    EXPECT_EQ(1, Output_HoldsNul(szText, 3, L"C:\\d\\t.txt"));
    EXPECT_EQ(L"テキストにNUL文字が含まれています. t.txt\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    EXPECT_EQ(0, Output_HoldsNul(szText, 1, L"t.txt"));
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}
