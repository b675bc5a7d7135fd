#include "krelwin/main/output.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

std::vector<std::wstring> s_asked;
std::wstring s_strEditAtAsk;  // the log edit's text when the question came
int s_iAnswer = OUTPUT_ANSWER_YES;

int TestAsk(const wchar_t* _pText)
{
    s_asked.push_back(_pText);
    wchar_t szEdit[4096] = {0};
    if (s_stGl.m_hMessage) GetWindowTextW(s_stGl.m_hMessage, szEdit, 4096);
    s_strEditAtAsk = szEdit;
    return s_iAnswer;
}

unsigned int StoppedClock() { return 5000; }

class OutputTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        s_asked.clear();
        s_iAnswer = OUTPUT_ANSWER_YES;
        m_pOldAsk = Output_setAsk(TestAsk);
        s_stGl.m_iStop = 0;
        SetBatch(L"job.kvl");
    }
    void TearDown() override {
        Output_setAsk(m_pOldAsk);
        s_stGl.m_iStop = 0;
        EngineTest::TearDown();
    }
    // The batch file lies in the fixture folder (or a sub-folder of it).
    void SetBatch(const std::wstring& _rel) {
        const std::wstring strPath = m_dir.Path(_rel);
        lstrcpyW(s_stGl.m_szBatchPath, strPath.c_str());
        const std::wstring strDir = strPath.substr(0, strPath.rfind(L'\\') + 1);
        lstrcpyW(s_stGl.m_szBatchDir, strDir.c_str());
    }
    void Backup(int _iOn, const std::wstring& _strFolder = L"") {
        s_stGl.m_pSetting->BACKUP = _iOn;
        lstrcpyW(s_stGl.m_pSetting->BACKUPPATH, _strFolder.c_str());
    }
    OUTPUT_ASK m_pOldAsk = 0;
};

} // namespace

TEST_F(OutputTest, BackupBesideTheFileReplacesAnEarlierBackupOfAnySize)
{
    Backup(1);
    for (const char* earlier : {"older", ""}) {
        ASSERT_TRUE(m_dir.Write(L"out.txt", "old"));
        ASSERT_TRUE(m_dir.Write(L"out.bak", earlier));
        EXPECT_GT(Write_OutText(m_dir.Path(L"out.txt").c_str(), L"new"), 0) << "earlier backup '" << earlier << "'";
        EXPECT_EQ(m_dir.Read(L"out.txt"), "new");
        EXPECT_EQ(m_dir.Read(L"out.bak"), "old") << "earlier backup '" << earlier << "'";
    }
    EXPECT_TRUE(s_asked.empty());
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(OutputTest, BackupExtensionReplacesTheOldOne)
{
    Backup(1);
    ASSERT_TRUE(m_dir.Write(L"data.tar.gz", "old"));
    ASSERT_TRUE(m_dir.Write(L"noext", "old2"));
    EXPECT_EQ(Write_OutFile(m_dir.Path(L"data.tar.gz").c_str(), "new", 3), 3);
    EXPECT_EQ(Write_OutFile(m_dir.Path(L"noext").c_str(), "new", 3), 3);
    EXPECT_EQ(m_dir.Read(L"data.tar.bak"), "old");
    EXPECT_EQ(m_dir.Read(L"noext.bak"), "old2");
}

TEST_F(OutputTest, BackupFolderKeepsTheLaterOldVersionUnderItsOwnName)
{
    ASSERT_TRUE(m_dir.MakeDir(L"bak") && m_dir.MakeDir(L"x") && m_dir.MakeDir(L"y"));
    ASSERT_TRUE(m_dir.Write(L"x\\a.txt", "old x"));
    ASSERT_TRUE(m_dir.Write(L"y\\a.txt", "old y"));
    Backup(1, m_dir.Path(L"bak"));  // no trailing separator: one is added
    EXPECT_GT(Write_OutText(m_dir.Path(L"x\\a.txt").c_str(), L"new x"), 0);
    EXPECT_EQ(m_dir.Read(L"bak\\a.txt"), "old x");
    EXPECT_GT(Write_OutText(m_dir.Path(L"y\\a.txt").c_str(), L"new y"), 0);
    EXPECT_EQ(m_dir.Read(L"bak\\a.txt"), "old y");
    EXPECT_EQ(m_dir.Read(L"x\\a.txt"), "new x");
    EXPECT_EQ(m_dir.Read(L"y\\a.txt"), "new y");
    EXPECT_FALSE(m_dir.IsFile(L"x\\a.bak"));
}

TEST_F(OutputTest, FailedBackupIsACountedErrorAndKeepsTheOldFile)
{
    struct Case {
        const char* name;
        std::wstring file;
        std::wstring folder;
    };
    const Case cases[] = {
        {"backup folder missing", L"a.txt", m_dir.Path(L"nobak")},
        {"file is its own backup", L"a.bak", L""},
        {"file lies in the backup folder", L"a.txt", m_dir.Path()},
    };
    for (const Case& c : cases) {
        const int iErrors = s_stGl.m_iErrorCount;
        ASSERT_TRUE(m_dir.Write(c.file, "precious"));
        Backup(1, c.folder);
        EXPECT_EQ(Write_OutText(m_dir.Path(c.file).c_str(), L"new"), 0) << c.name;
        EXPECT_EQ(m_dir.Read(c.file), "precious") << c.name;
        EXPECT_EQ(s_stGl.m_iErrorCount, iErrors + 1) << c.name;
        EXPECT_NE(Log().find(m_dir.Path(c.file) + L"\nバックアップファイルが作成できません"), std::wstring::npos) << c.name;
    }
}

TEST_F(OutputTest, WithoutBackupAnExistingFileIsAskedAbout)
{
    Backup(0);
    struct Case {
        const char* name;
        int answer;
        int written;
        int stop;
    };
    const Case cases[] = {
        {"yes", OUTPUT_ANSWER_YES, 1, 0},
        {"no", OUTPUT_ANSWER_NO, 0, 0},
        {"cancel", OUTPUT_ANSWER_CANCEL, 0, 1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_dir.Write(L"out.bin", "old"));
        s_asked.clear();
        s_iAnswer = c.answer;
        s_stGl.m_iStop = 0;
        const std::wstring strLog = Log();
        const int iResult = Write_OutFile(m_dir.Path(L"out.bin").c_str(), "new!", 4);
        EXPECT_EQ(iResult, c.written ? 4 : 0) << c.name;
        EXPECT_EQ(m_dir.Read(L"out.bin"), c.written ? "new!" : "old") << c.name;
        ASSERT_EQ(s_asked.size(), 1u) << c.name;
        EXPECT_EQ(s_asked[0], m_dir.Path(L"out.bin") + L"\n既にファイルが存在します。上書きしますか？") << c.name;
        EXPECT_EQ(s_stGl.m_iStop, c.stop) << c.name;
        EXPECT_EQ(Log(), strLog) << c.name << ": nothing is logged";
    }
    EXPECT_FALSE(m_dir.IsFile(L"out.bak"));
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(OutputTest, TheLogEditShowsEveryLineWhenTheQuestionComes)
{
    HWND hEdit = CreateWindowExW(0, L"EDIT", L"", ES_MULTILINE | ES_READONLY, 0, 0, 300, 200, 0, 0,
                                 GetModuleHandleW(0), 0);
    ASSERT_TRUE(hEdit != 0);
    s_stGl.m_hMessage = hEdit;
    // The clock stands still: every line but the first waits for the step's end.
    Message_setClock(StoppedClock);
    Backup(0);
    ASSERT_TRUE(m_dir.Write(L"out.bin", "old"));
    for (int i = 0; i < 5; ++i) Message_info(L"line %d", i);
    Write_OutFile(m_dir.Path(L"out.bin").c_str(), "new!", 4);
    ASSERT_EQ(s_asked.size(), 1u);
    EXPECT_EQ(s_strEditAtAsk, L"line 0\r\nline 1\r\nline 2\r\nline 3\r\nline 4\r\n");
    Message_setClock(0);
    s_stGl.m_hMessage = 0;
    DestroyWindow(hEdit);
}

TEST_F(OutputTest, EmptyOrMissingFileIsWrittenWithoutQuestionOrBackup)
{
    for (int iBackup : {0, 1}) {
        Backup(iBackup);
        ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
        EXPECT_GT(Write_OutText(m_dir.Path(L"empty.txt").c_str(), L"x"), 0);
        EXPECT_GT(Write_OutText(m_dir.Path(L"new" + std::to_wstring(iBackup) + L".txt").c_str(), L"x"), 0);
        EXPECT_EQ(m_dir.Read(L"empty.txt"), "x");
        EXPECT_FALSE(m_dir.IsFile(L"empty.bak"));
    }
    EXPECT_TRUE(s_asked.empty());
}

TEST_F(OutputTest, EmptyOutputIsAnErrorAndTouchesNothing)
{
    ASSERT_TRUE(m_dir.Write(L"out.bin", "old"));
    Backup(1);
    EXPECT_EQ(Write_OutFile(m_dir.Path(L"out.bin").c_str(), "x", 0), 0);
    EXPECT_EQ(Write_OutText(m_dir.Path(L"out.bin").c_str(), L""), 0);
    EXPECT_EQ(m_dir.Read(L"out.bin"), "old");
    EXPECT_FALSE(m_dir.IsFile(L"out.bak"));
    EXPECT_EQ(s_stGl.m_iErrorCount, 2);
    EXPECT_NE(Log().find(L"OutFileSize zero.out.bin\r\n"), std::wstring::npos);
}

TEST_F(OutputTest, TextIsWrittenInTheSystemCodePage)
{
    EXPECT_EQ(Write_OutText(m_dir.Path(L"sjis.txt").c_str(), L"日本\r\nabc"), 9);
    EXPECT_EQ(m_dir.Read(L"sjis.txt"), std::string("\x93\xfa\x96\x7b\r\nabc"));
}

TEST_F(OutputTest, MissingFoldersAreCreated)
{
    EXPECT_EQ(Write_OutFile(m_dir.Path(L"a\\b\\c\\out.bin").c_str(), "1234", 4), 4);
    EXPECT_EQ(m_dir.Read(L"a\\b\\c\\out.bin"), "1234");
}

TEST_F(OutputTest, RelativePathFallsBackToTheBatchFolderWithTheSamePolicy)
{
    // "blocker" is a file in the current folder, so blocker\out.txt cannot be made there.
    ASSERT_TRUE(m_dir.Write(L"blocker", "file"));
    ASSERT_TRUE(m_dir.MakeDir(L"batch"));
    SetBatch(L"batch\\job.kvl");
    EXPECT_GT(Write_OutText(L"blocker\\out.txt", L"first"), 0);
    EXPECT_EQ(m_dir.Read(L"batch\\blocker\\out.txt"), "first");

    Backup(1);
    EXPECT_GT(Write_OutText(L"blocker\\out.txt", L"second"), 0);
    EXPECT_EQ(m_dir.Read(L"batch\\blocker\\out.txt"), "second");
    EXPECT_EQ(m_dir.Read(L"batch\\blocker\\out.bak"), "first");

    Backup(0);
    s_iAnswer = OUTPUT_ANSWER_NO;
    EXPECT_EQ(Write_OutText(L"blocker\\out.txt", L"third"), 0);
    EXPECT_EQ(m_dir.Read(L"batch\\blocker\\out.txt"), "second");
    EXPECT_EQ(s_asked.size(), 1u);
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(OutputTest, UnwritablePathIsACountedError)
{
    ASSERT_TRUE(m_dir.Write(L"blocker", "file"));
    EXPECT_EQ(Write_OutFile(m_dir.Path(L"blocker\\out.bin").c_str(), "x", 1), 0);
    EXPECT_EQ(s_stGl.m_iErrorCount, 1);
    EXPECT_NE(Log().find(L"Can't write file.out.bin\r\n"), std::wstring::npos);
    EXPECT_EQ(m_dir.Read(L"blocker"), "file");
}

TEST_F(OutputTest, PathHelpers)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
        const wchar_t* batchPath;
    };
    lstrcpyW(s_stGl.m_szBatchPath, L"C:\\work\\job.kvl");
    const Case cases[] = {
        {L"C:\\d\\x.txt", L"x.txt", L"C:\\d\\x.txt"},
        {L"sub\\x.txt", L"x.txt", L"C:\\work\\x.txt"},
        {L"x.txt", L"x.txt", L"C:\\work\\x.txt"},
        {L"a/b/x", L"x", L"C:\\work\\x"},
        {L"D:x.txt", L"x.txt", L"D:x.txt"},
        {L"C:\\d\\", L"", L"C:\\d\\"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(Get_FileName(c.path), c.name);
        wchar_t szOut[260];
        Make_BatchPath(szOut, c.path);
        EXPECT_STREQ(szOut, c.batchPath);
    }
    std::wstring strLong(300, L'a');
    const wchar_t* pName = Get_FileName(strLong.c_str());
    EXPECT_EQ(pName, strLong.c_str()) << "a long name without folder";
    wchar_t szOut[260];
    Make_BatchPath(szOut, strLong.c_str());
    EXPECT_STREQ(szOut, L"") << "too long for the batch folder: refused, not cut";
}

TEST_F(OutputTest, ExternalProgramIsWaitedFor)
{
    wchar_t szSys[MAX_PATH];
    GetSystemDirectoryW(szSys, MAX_PATH);
    const std::wstring strCmd = std::wstring(szSys) + L"\\cmd.exe";
    const std::wstring strOut = m_dir.Path(L"child.txt");
    EXPECT_EQ(Exec_Module(strCmd.c_str(), (L"/c echo child> \"" + strOut + L"\"").c_str()), 1);
    EXPECT_EQ(m_dir.Read(L"child.txt").substr(0, 5), "child") << "the child ended before the return";
    EXPECT_NE(Log().find(L"Process. " + strCmd + L"\r\n"), std::wstring::npos);
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(OutputTest, CommandThatIsNoProgramStartsASecondInstance)
{
    // A stand-in for the program in its folder: cmd.exe named krelwin.exe, which ends at
    // once when given "/c" as its batch file.
    wchar_t szSys[MAX_PATH];
    GetSystemDirectoryW(szSys, MAX_PATH);
    ASSERT_TRUE(m_dir.MakeDir(L"app"));
    ASSERT_TRUE(CopyFileW((std::wstring(szSys) + L"\\cmd.exe").c_str(), m_dir.Path(L"app\\krelwin.exe").c_str(), FALSE));
    lstrcpyW(s_stGl.m_szAppDir, (m_dir.Path(L"app") + L"\\").c_str());
    EXPECT_EQ(Exec_Module(L"/c", L"ignored"), 1);
    EXPECT_NE(Log().find(L"Process. /c\r\n"), std::wstring::npos);
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(OutputTest, NeitherProgramNorSecondInstanceIsACountedError)
{
    ASSERT_TRUE(m_dir.MakeDir(L"empty"));
    const std::wstring strApp = m_dir.Path(L"empty") + L"\\";
    lstrcpyW(s_stGl.m_szAppDir, strApp.c_str());
    EXPECT_EQ(Exec_Module(L"no_such_program_kw", L"\"C:\\x.txt\" a"), 1);
    EXPECT_EQ(s_stGl.m_iErrorCount, 1);
    EXPECT_NE(Log().find(L"Can't exec module. \"" + strApp + L"krelwin.exe no_such_program_kw\"\r\n"), std::wstring::npos);
}
