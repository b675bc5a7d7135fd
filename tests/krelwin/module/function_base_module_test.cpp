// FUNCTION_BASE through the dispatcher: reading the target, the range markers, the
// output and its backup or question.
#include <string>

#include "krelwin/module/function_base_module.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

using sample_commands::ASKED;
using sample_commands::SampleCommandsTest;
using sample_commands::Sjis;

namespace {

const std::wstring TEXT = L"一行目「テスト」\r\nＡＢＣ abc ｱｲｳ\r\n";

} // namespace

TEST_F(SampleCommandsTest, FunctionBaseCopiesTheTextToTheOutput)
{
    ASSERT_TRUE(m_dir.Write(L"t.txt", Sjis(TEXT)));
    Exec(L"FUNCTION_BASE", L"out\\%0.new", L"t.txt");
    EXPECT_EQ(Sjis(TEXT), m_dir.Read(L"out\\t.new"));
    EXPECT_EQ(Sjis(TEXT), m_dir.Read(L"t.txt"));
    EXPECT_EQ(L"file:" + Path(L"t.txt") + L" " + Path(L"out\\t.new") + L"\r\n", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
    EXPECT_EQ(0, s_stGl.m_iAbort);
}

TEST_F(SampleCommandsTest, FunctionBaseWithoutOutputRewritesTheTarget)
{
    // The copy of a text over itself changes nothing: the file stays, with no backup or question.
    s_stGl.m_pSetting->BACKUP = 1;
    ASSERT_TRUE(m_dir.Write(L"t.txt", Sjis(TEXT)));
    Exec(L"FUNCTION_BASE", L"", L"t.txt");
    EXPECT_EQ(Sjis(TEXT), m_dir.Read(L"t.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"t.bak"));
    EXPECT_EQ(L"file:" + Path(L"t.txt") + L" " + Path(L"t.txt") + L"\r\n", Log());
    EXPECT_EQ(L"", ASKED::Texts());

    // With range markers on only the last five units stay. BACKUP 1: the old file becomes the
    // backup first.
    s_stGl.m_pSetting->RANGE = 1;
    Message_clear();
    Exec(L"FUNCTION_BASE", L"", L"t.txt");
    EXPECT_EQ(Sjis(L"ｱｲｳ\r\n"), m_dir.Read(L"t.txt"));
    EXPECT_EQ(Sjis(TEXT), m_dir.Read(L"t.bak"));
    EXPECT_EQ(L"", ASKED::Texts());

    // BACKUP 0: the user is asked; No keeps the file and logs nothing more.
    s_stGl.m_pSetting->BACKUP = 0;
    ASSERT_TRUE(m_dir.Write(L"u.txt", "older\r\n"));
    Message_clear();
    Exec(L"FUNCTION_BASE", L"", L"u.txt");
    EXPECT_EQ(Path(L"u.txt") + L"\n既にファイルが存在します。上書きしますか？|", ASKED::Texts());
    EXPECT_EQ("older\r\n", m_dir.Read(L"u.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"u.bak"));
    EXPECT_EQ(L"file:" + Path(L"u.txt") + L" " + Path(L"u.txt") + L"\r\n", Log());
}

TEST_F(SampleCommandsTest, FunctionBaseWithRangeOnKeepsOnlyTheLastFiveUnitsOfAnUnmarkedText)
{
    s_stGl.m_pSetting->RANGE = 1;
    ASSERT_TRUE(m_dir.Write(L"t.txt", Sjis(L"あいうえおかきくけこ\r\n")));
    Exec(L"FUNCTION_BASE", L"o.txt", L"t.txt");
    EXPECT_EQ(Sjis(L"くけこ\r\n"), m_dir.Read(L"o.txt"));

    // RANGE 2 restricts only texts carrying both markers.
    s_stGl.m_pSetting->RANGE = 2;
    Exec(L"FUNCTION_BASE", L"o2.txt", L"t.txt");
    EXPECT_EQ(Sjis(L"あいうえおかきくけこ\r\n"), m_dir.Read(L"o2.txt"));
}

TEST_F(SampleCommandsTest, FunctionBaseOnMissingEmptyOrReadOnlyTargetReportsAndChangesNothing)
{
    ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
    ASSERT_TRUE(m_dir.Write(L"ro.txt", "older\r\n"));
    ASSERT_TRUE(SetReadOnly(L"ro.txt", true));
    ASKED::Answer() = OUTPUT_ANSWER_YES;

    CModule* pModule = 0;
    for (const wchar_t* pName : {L"missing.txt", L"empty.txt"}) {
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        Exec(L"FUNCTION_BASE", L"", pName);
        EXPECT_EQ(L"file not found:" + Path(pName) + L"\r\n", Log()) << pName;
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount) << pName;
        pModule = Module_get(MODULE_FUNCTION_BASE);
        ASSERT_NE(nullptr, pModule);
        EXPECT_EQ(0, static_cast<FUNCTION_BASE*>(pModule)->m_iActive) << "active stays as it was";
        EXPECT_EQ(0, pModule->Func(Line(pName).c_str()));
    }
    EXPECT_FALSE(m_dir.IsFile(L"missing.txt"));
    EXPECT_EQ("", m_dir.Read(L"empty.txt"));

    // A read-only target is neither overwritten nor moved away as a backup (with range markers
    // on, the text written is not the one read).
    s_stGl.m_pSetting->RANGE = 1;
    for (int iBackup : {0, 1}) {
        Message_clear();
        s_stGl.m_pSetting->BACKUP = iBackup;
        Exec(L"FUNCTION_BASE", L"", L"ro.txt");
        EXPECT_EQ(L"file:" + Path(L"ro.txt") + L" " + Path(L"ro.txt") + L"\r\nCan't write file.ro.txt\r\n", Log())
            << "BACKUP " << iBackup;
        EXPECT_EQ("older\r\n", m_dir.Read(L"ro.txt")) << "BACKUP " << iBackup;
        EXPECT_TRUE(IsReadOnly(L"ro.txt"));
        EXPECT_FALSE(m_dir.IsFile(L"ro.bak")) << "BACKUP " << iBackup;
    }
}

TEST_F(SampleCommandsTest, FunctionBaseFlagsFollowTheScriptLine)
{
    ASSERT_TRUE(m_dir.Write(L"t.txt", "abc\r\n"));
    Exec(L"FUNCTION_BASE", L"o.txt", L"t.txt");
    FUNCTION_BASE* pModule = static_cast<FUNCTION_BASE*>(Module_get(MODULE_FUNCTION_BASE));
    ASSERT_NE(nullptr, pModule);
    EXPECT_EQ(1, pModule->m_iInitialized);
    EXPECT_EQ(1, pModule->m_iActive);
    EXPECT_EQ(1, pModule->m_iFirstUse);
    Command_quit(0);
    EXPECT_EQ(0, pModule->m_iInitialized);
    EXPECT_EQ(0, pModule->m_iActive);
    EXPECT_EQ(1, pModule->m_iFirstUse);
    EXPECT_EQ(pModule, Module_get(MODULE_FUNCTION_BASE)) << "one object for the process";
}
