// The replace commands through the dispatcher: one REPLASE object serves all three, each
// with its mode, and the end of a script line makes it forget the rule file.
#include "tests/krelwin/module/replace_fixture.h"

#include "krelwin/module/function_base.h"

namespace replacetest {
namespace {

class ReplaceDispatchTest : public ReplaceTest
{
protected:
    void SetUp() override
    {
        ReplaceTest::SetUp();
        Module_releaseAll();
    }
    void TearDown() override
    {
        Module_releaseAll();
        ReplaceTest::TearDown();
    }
    void Exec(const wchar_t* _pCommand, const std::wstring& _strParam, const std::wstring& _strTarget)
    {
        SCRIPT_STAT stLine;
        stLine.m_strCommand = _pCommand;
        stLine.m_strParam = _strParam;
        Command_exec(stLine, m_dir.Path(_strTarget).c_str());
    }
};

TEST_F(ReplaceDispatchTest, ThreeCommandsShareTheModuleEachWithItsMode)
{
    Write(L"rules.txt", L"foo\tbar\r\n");
    struct { const wchar_t* m_pCommand; std::wstring m_strExpect; std::wstring m_strLog; } aCase[] = {
        {L"REPLACE", L"bar\r\n", L"a.txt replaced.1\r\n"},
        {L"REPLACE_REM", L"bar\t//R:foo\r\n", L"a.txt replaced.1\r\n"},
        {L"REPLACE_REGEX", L"foo\r\n",
         L"正規表現が無効です。USE_BOOSTを有効にしてビルドして下さい.\r\na.txt replaced.0\r\n"},
    };
    CModule* pFirst = 0;
    for (const auto& stCase : aCase) {
        SCOPED_TRACE(Narrow(stCase.m_pCommand));
        Message_clear();
        Write(L"a.txt", L"foo\r\n");
        Exec(stCase.m_pCommand, L"rules.txt out.txt", L"a.txt");
        Command_quit(0);
        EXPECT_EQ(stCase.m_strExpect, Text(L"out.txt"));
        EXPECT_EQ(stCase.m_strLog, Log());
        DeleteFileW(m_dir.Path(L"out.txt").c_str());

        CModule* pModule = Module_get(MODULE_REPLASE);
        ASSERT_NE(nullptr, pModule);
        if (!pFirst) pFirst = pModule;
        EXPECT_EQ(pFirst, pModule);
        EXPECT_EQ(nullptr, static_cast<REPLASE*>(pModule)->m_pRule);
    }
}

TEST_F(ReplaceDispatchTest, TargetIsRewrittenInPlaceUnderTheBackupPolicy)
{
    s_stGl.m_pSetting->BACKUP = 1;
    Write(L"rules.txt", L"漢字\tかんじ\r\n");
    Write(L"a.txt", L"漢字の本\r\n");
    Exec(L"REPLACE", L"rules.txt", L"a.txt");
    Command_quit(1);
    EXPECT_EQ(L"かんじの本\r\n", Text(L"a.txt"));
    EXPECT_EQ(L"漢字の本\r\n", Text(L"a.bak"));
    EXPECT_EQ(0, s_iAsked);
}

}  // namespace
}  // namespace replacetest
