#include "krelwin/main/output.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto/files/win32/file.h"
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
        Output_beginRun();  // a backup of an earlier run
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

TEST_F(OutputTest, WithinARunABackupIsNeverReplaced)
{
    struct Write {
        const wchar_t* file;
        const wchar_t* text;
    };
    struct Case {
        const char* name;
        const wchar_t* backupFolder;  // relative to the fixture; empty: beside the file
        std::vector<Write> writes;
        std::vector<std::pair<const wchar_t*, const char*>> after;  // file, its bytes ("" none)
        const wchar_t* logged;  // the line that names a backup of another name
    };
    const Case cases[] = {
        {"one file written twice: its first backup stays", L"",
         {{L"a.txt", L"once"}, {L"a.txt", L"twice"}},
         {{L"a.txt", "twice"}, {L"a.bak", "old a.txt"}}, nullptr},
        {"two files sharing a backup name: the later gets another", L"",
         {{L"a.txt", L"new"}, {L"a.scr", L"new"}},
         {{L"a.bak", "old a.txt"}, {L"a(2).bak", "old a.scr"}}, L"a(2).bak"},
        {"two files of one name into the backup folder", L"bak",
         {{L"x\\a.txt", L"new x"}, {L"y\\a.txt", L"new y"}},
         {{L"bak\\a.txt", "old x\\a.txt"}, {L"bak\\a(2).txt", "old y\\a.txt"}, {L"x\\a.bak", ""}},
         L"bak\\a(2).txt"},
    };
    for (const Case& c : cases) {
        testdir::TestDir dir;
        Output_beginRun();
        ASSERT_TRUE(dir.MakeDir(L"bak") && dir.MakeDir(L"x") && dir.MakeDir(L"y"));
        for (const Write& w : c.writes) {
            ASSERT_TRUE(dir.Write(w.file, "old " + Narrow(w.file)));
        }
        ASSERT_TRUE(dir.Write(L"a.bak", "an earlier run's"));
        ASSERT_TRUE(dir.Write(L"bak\\a.txt", "an earlier run's"));
        Backup(1, c.backupFolder[0] ? dir.Path(c.backupFolder) : L"");
        for (const Write& w : c.writes) {
            EXPECT_GT(Write_OutText(dir.Path(w.file).c_str(), w.text), 0) << c.name;
        }
        for (const auto& f : c.after) {
            if (f.second[0]) {
                EXPECT_EQ(dir.Read(f.first), f.second) << c.name << ": " << Narrow(f.first);
            } else {
                EXPECT_FALSE(dir.IsFile(f.first)) << c.name << ": " << Narrow(f.first);
            }
        }
        if (c.logged) {
            EXPECT_NE(Log().find(L"バックアップファイルを" + dir.Path(c.logged) + L"に作成しました"), std::wstring::npos)
                << c.name;
        }
    }
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
    EXPECT_TRUE(s_asked.empty());
}

TEST_F(OutputTest, AFailedWriteKeepsTheOldFileAndEveryBackup)
{
    struct Case {
        const char* name;
        int backup;
        long long limit;  // the write seam's size limit (-1 none)
        int move;         // the move that fails (0 none)
        bool relative;    // the path as a command gives a relative one: the fallback is the same file
    };
    const Case cases[] = {
        {"backup, write cut short", 1, 64, 0, false},
        {"backup, relative path, write cut short", 1, 64, 0, true},
        {"backup, the earlier backup cannot be parked", 1, -1, 1, false},
        {"backup, the backup move fails", 1, -1, 2, false},
        {"backup, the replace fails after the backup", 1, -1, 3, false},
        {"question answered yes, write cut short", 0, 64, 0, false},
        {"question answered yes, relative path", 0, 64, 0, true},
        {"question answered yes, the replace fails", 0, -1, 1, false},
    };
    const std::string strOld(1000, 'o');
    const std::wstring strNew(3000, L'n');
    for (const Case& c : cases) {
        ASSERT_TRUE(m_dir.Write(L"a.txt", strOld));
        ASSERT_TRUE(m_dir.Write(L"a.bak", "an earlier run's"));
        const std::set<std::wstring> before = testdir::Names(m_dir.Path());
        Backup(c.backup);
        s_asked.clear();
        const int iErrors = s_stGl.m_iErrorCount;
        FILE_SetWriteLimit(c.limit);
        FILE_SetMoveFault(c.move);
        EXPECT_EQ(Write_OutText(c.relative ? L"a.txt" : m_dir.Path(L"a.txt").c_str(), strNew.c_str()), 0) << c.name;
        FILE_SetWriteLimit(-1);
        FILE_SetMoveFault(0);
        EXPECT_EQ(m_dir.Read(L"a.txt"), strOld) << c.name;
        EXPECT_EQ(m_dir.Read(L"a.bak"), "an earlier run's") << c.name;
        EXPECT_EQ(testdir::Names(m_dir.Path()), before) << c.name << ": nothing is left beside the file";
        EXPECT_EQ(s_stGl.m_iErrorCount, iErrors + 1) << c.name;
        EXPECT_EQ(s_asked.size(), c.backup ? 0u : 1u) << c.name << ": one question at most";
    }
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

TEST_F(OutputTest, RelativePathFallsBackToTheBatchFolderOnlyForANewFile)
{
    // "blocker" is a file in the current folder, so blocker\\out.txt cannot be made there.
    ASSERT_TRUE(m_dir.Write(L"blocker", "file"));
    ASSERT_TRUE(m_dir.MakeDir(L"batch"));
    SetBatch(L"batch\\job.kvl");
    EXPECT_GT(Write_OutText(L"blocker\\out.txt", L"first"), 0);
    EXPECT_EQ(m_dir.Read(L"batch\\blocker\\out.txt"), "first");

    // The fallback makes no backup and asks nothing, so it never writes over a file there.
    for (int iBackup : {1, 0}) {
        Backup(iBackup);
        EXPECT_EQ(Write_OutText(L"blocker\\out.txt", L"second"), 0) << iBackup;
        EXPECT_EQ(m_dir.Read(L"batch\\blocker\\out.txt"), "first") << iBackup;
        EXPECT_FALSE(m_dir.IsFile(L"batch\\blocker\\out.bak")) << iBackup;
    }
    EXPECT_TRUE(s_asked.empty());
    EXPECT_EQ(s_stGl.m_iErrorCount, 2);
    EXPECT_NE(Log().find(L"Can't write file.out.txt\r\n"), std::wstring::npos);
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
