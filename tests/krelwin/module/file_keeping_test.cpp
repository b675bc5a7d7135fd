// Users' files through the commands that write over them: with the writes made to fail
// part-way as a full disk or a quota does (the file layer's size limit), the file a
// command would replace or add to keeps its old bytes, an earlier backup stays, nothing is
// left beside them, and the failure is a counted error; and within a run, no backup gives
// way to a later one, so every file that was there before the run keeps its content in
// itself or in a backup.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto/files/win32/file.h"
#include "krelwin/main/message.h"
#include "krelwin/main/setting.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

using sample_commands::ASKED;
using sample_commands::Sjis;

class FileKeepingTest : public sample_commands::SampleCommandsTest {
protected:
    void TearDown() override {
        FILE_SetWriteLimit(-1);
        SampleCommandsTest::TearDown();
    }
};

std::string Repeat(const std::string& _str, int _iTimes) {
    std::string s;
    for (int i = 0; i < _iTimes; ++i) s += _str;
    return s;
}

// Under the limit every output below is cut short; the files written over are larger.
const long long kLimit = 1024;

// A script line's command over one target of the folder, through the dispatcher.
struct Step {
    const wchar_t* command;
    const wchar_t* args;
    const wchar_t* target;
};

void RunStep(const Step& _stStep, const testdir::TestDir& _cDir) {
    SCRIPT_STAT st;
    st.m_strCommand = _stStep.command;
    st.m_strParam = _stStep.args;
    Command_exec(st, _cDir.Path(_stStep.target).c_str());
}

TEST_F(FileKeepingTest, AFailedWriteLeavesEveryFileAsItWas) {
    struct Case {
        const char* name;
        std::map<std::wstring, std::string> files;  // the folder before the run
        std::vector<Step> steps;
        int errors;
    };
    const std::string strText = Repeat("abc def\r\n", 400);
    const std::string strDump = Repeat("0123456789", 300);
    // Words of one run, then words that all differ: the run-length coding leaves them as long.
    std::string strWords(8, '\x07');
    for (int i = 0; i < 1000; ++i) strWords += std::string(reinterpret_cast<const char*>(&i), 4);
    const Case cases[] = {
        {"REPLACE over its target", {{L"a.txt", strText}, {L"rules.txt", "abc\tabcX\r\n"}},
         {{L"REPLACE", L"rules.txt", L"a.txt"}}, 1},
        {"ZEN2HAN over its target", {{L"a.txt", Repeat(Sjis(L"ＡＢＣ\r\n"), 500)}}, {{L"ZEN2HAN", L"", L"a.txt"}}, 1},
        {"DELREM over its target", {{L"a.txt", Repeat("x = 1; // note\r\n", 300)}}, {{L"DELREM", L"", L"a.txt"}}, 1},
        {"LISTSORT over its target", {{L"a.txt", Repeat("b\r\na\r\n", 600)}}, {{L"LISTSORT", L"-or", L"a.txt"}}, 1},
        {"DUMP over an earlier dump", {{L"a.bin", strDump}, {L"a.txt", strText}}, {{L"DUMP", L"", L"a.bin"}}, 1},
        {"RLSPRESS over an earlier .rls", {{L"d.bin", strWords}, {L"d.rls", strText}},
         {{L"RLSPRESS", L"", L"d.bin"}}, 1},
        {"COPY over an older copy", {{L"a.bin", strDump}, {L"out\\a.bin", strText}}, {{L"COPY", L"out", L"a.bin"}}, 1},
        {"CHAIN onto its output", {{L"a.dat", strDump}, {L"out.bin", strText}}, {{L"CHAIN", L"out", L"a.dat"}}, 1},
        {"SAMESIZE over the smaller file", {{L"a.bin", "small"}, {L"b.bin", strDump}},
         {{L"SAMESIZE", L"", L"a.bin"}, {L"SAMESIZE", L"", L"b.bin"}}, 1},
    };
    for (int iBackup : {1, 0}) {
        for (const Case& c : cases) {
            const std::string strName = std::string(c.name) + (iBackup ? ", BACKUP 1" : ", asked and answered Yes");
            testdir::TestDir dir;
            ASSERT_TRUE(dir.MakeDir(L"out"));
            std::map<std::wstring, std::string> files = c.files;
            // An earlier run's backup of every file.
            for (const auto& f : c.files) {
                const std::wstring strBak = f.first.substr(0, f.first.rfind(L'.')) + L".bak";
                if (!files.count(strBak)) files[strBak] = "an earlier run's backup";
            }
            s_stGl.m_cFileList.Clear();
            for (const auto& f : files) {
                ASSERT_TRUE(dir.Write(f.first, f.second)) << strName;
            }
            for (const Step& s : c.steps) s_stGl.m_cFileList.Add(dir.Path(s.target).c_str());
            const std::set<std::wstring> before = testdir::Names(dir.Path());
            // The run's folder, as the batch folder is (rule files are found there).
            ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
            s_stGl.m_pSetting->BACKUP = iBackup;
            ASKED::Answer() = OUTPUT_ANSWER_YES;
            const int iErrors = s_stGl.m_iErrorCount;
            Output_beginRun();
            FILE_SetWriteLimit(kLimit);
            // The steps are the targets of one script line.
            for (const Step& s : c.steps) RunStep(s, dir);
            Command_quit(1);
            FILE_SetWriteLimit(-1);
            Module_releaseAll();
            for (const auto& f : files) {
                EXPECT_EQ(dir.Read(f.first), f.second) << strName << ": " << Narrow(f.first);
            }
            EXPECT_EQ(testdir::Names(dir.Path()), before) << strName << ": nothing new beside them";
            EXPECT_EQ(s_stGl.m_iErrorCount, iErrors + c.errors) << strName << "\n" << Narrow(Log());
            Message_clear();
            SetCurrentDirectoryW(m_dir.Path().c_str());
        }
    }
}

TEST_F(FileKeepingTest, SettingsAndLogFilesKeepTheirOldBytes) {
    const std::string strIni = "[MAIN]\r\nAUTOEXEC=0\r\nBACKUPPATH=" + Repeat("d", 200) + "\r\n[EXTRA]\r\nLOCK=0\r\n" +
                               Repeat("; a comment line of the user's\r\n", 40);
    ASSERT_TRUE(m_dir.Write(L"krelwin.ini", strIni));
    Setting_useFile(m_dir.Path(L"krelwin.ini").c_str());
    Read_Setting();
    s_stGl.m_stIniSetting.AUTOEXEC = 1;
    FILE_SetWriteLimit(100);
    Write_Setting();
    FILE_SetWriteLimit(-1);
    EXPECT_EQ(m_dir.Read(L"krelwin.ini"), strIni);
    Write_Setting();
    const std::string strWritten = m_dir.Read(L"krelwin.ini");
    EXPECT_NE(strWritten.find("AUTOEXEC=1\r\n"), std::string::npos);
    EXPECT_NE(strWritten.find("[EXTRA]\r\nLOCK=0\r\n"), std::string::npos) << "the rest stays";
    EXPECT_EQ(std::set<std::wstring>{L"krelwin.ini"}, testdir::Names(m_dir.Path()));

    // The log file of an earlier run.
    ASSERT_TRUE(m_dir.Write(L"log.txt", strIni));
    lstrcpyW(s_stGl.m_szBatchPath, m_dir.Path(L"job.kvl").c_str());
    lstrcpyW(s_stGl.m_szBatchDir, (m_dir.Path() + L"\\").c_str());
    for (int i = 0; i < 50; ++i) Message_win(L"a line of this run's log");
    FILE_SetWriteLimit(100);
    out_infomessage(L"log.txt");
    FILE_SetWriteLimit(-1);
    EXPECT_EQ(m_dir.Read(L"log.txt"), strIni);
    EXPECT_EQ(2u, testdir::Names(m_dir.Path()).size());
}

// Every file below the folder with its bytes, by its path relative to the folder.
void Collect(const std::wstring& _strDir, const std::wstring& _strRel, std::map<std::wstring, std::string>* _pOut) {
    for (const std::wstring& strName : testdir::Names(_strDir)) {
        const std::wstring strPath = _strDir + L"\\" + strName;
        if (testdir::IsDir(strPath)) {
            Collect(strPath, _strRel + strName + L"\\", _pOut);
        } else {
            std::string strBytes;
            testdir::ReadBytes(strPath, &strBytes);
            (*_pOut)[_strRel + strName] = strBytes;
        }
    }
}

TEST_F(FileKeepingTest, WithinARunEveryFileKeepsItsContentInItselfOrABackup) {
    struct Case {
        const char* name;
        const wchar_t* backupFolder;
        std::map<std::wstring, std::string> files;
        std::vector<Step> steps;
        std::map<std::wstring, std::string> backups;  // where the old contents are
    };
    const std::string strDump = Repeat("0123456789", 30);
    const Case cases[] = {
        {"two script lines over one file", L"", {{L"a.txt", Sjis(L"abc ＡＢＣ\r\n")}, {L"rules.txt", "abc\tabcX\r\n"}},
         {{L"REPLACE", L"rules.txt", L"a.txt"}, {L"ZEN2HAN", L"", L"a.txt"}},
         {{L"a.bak", Sjis(L"abc ＡＢＣ\r\n")}}},
        {"two targets writing one output", L"", {{L"a.bin", strDump}, {L"a.dat", strDump + "!"}, {L"a.txt", "old dump"}},
         {{L"DUMP", L"", L"a.bin"}, {L"DUMP", L"", L"a.dat"}}, {{L"a.bak", "old dump"}}},
        {"two files sharing a backup name", L"", {{L"a.txt", "abc text"}, {L"a.scr", "abc script"}, {L"rules.txt", "abc\tabcX\r\n"}},
         {{L"REPLACE", L"rules.txt", L"a.txt"}, {L"REPLACE", L"rules.txt", L"a.scr"}},
         {{L"a.bak", "abc text"}, {L"a(2).bak", "abc script"}}},
        {"two files of one name into the backup folder", L"bak",
         {{L"x\\a.txt", "abc in x"}, {L"y\\a.txt", "abc in y"}, {L"rules.txt", "abc\tabcX\r\n"}},
         {{L"REPLACE", L"rules.txt", L"x\\a.txt"}, {L"REPLACE", L"rules.txt", L"y\\a.txt"}},
         {{L"bak\\a.txt", "abc in x"}, {L"bak\\a(2).txt", "abc in y"}}},
    };
    for (const Case& c : cases) {
        testdir::TestDir dir;
        ASSERT_TRUE(dir.MakeDir(L"bak") && dir.MakeDir(L"x") && dir.MakeDir(L"y"));
        for (const auto& f : c.files) {
            ASSERT_TRUE(dir.Write(f.first, f.second)) << c.name;
        }
        ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
        s_stGl.m_pSetting->BACKUP = 1;
        lstrcpyW(s_stGl.m_pSetting->BACKUPPATH, c.backupFolder[0] ? dir.Path(c.backupFolder).c_str() : L"");
        Output_beginRun();
        const int iErrors = s_stGl.m_iErrorCount;
        // Each step is a script line of its own.
        for (const Step& s : c.steps) {
            RunStep(s, dir);
            Command_quit(0);
        }
        Command_quit(1);
        Module_releaseAll();
        std::map<std::wstring, std::string> after;
        Collect(dir.Path(), L"", &after);
        for (const auto& b : c.backups) {
            EXPECT_EQ(after[b.first], b.second) << c.name << ": " << Narrow(b.first);
        }
        for (const auto& f : c.files) {
            bool bKept = false;
            for (const auto& a : after) bKept = bKept || a.second == f.second;
            EXPECT_TRUE(bKept) << c.name << ": the content of " << Narrow(f.first) << " from before the run";
        }
        EXPECT_EQ(s_stGl.m_iErrorCount, iErrors) << c.name << "\n" << Narrow(Log());
        Message_clear();
        SetCurrentDirectoryW(m_dir.Path().c_str());
    }
    EXPECT_TRUE(ASKED::Texts().empty());
}

} // namespace
