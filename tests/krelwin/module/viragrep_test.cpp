#include "krelwin/module/viragrep.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"
#include "tests/support/bench_text.h"

namespace {

std::string Sjis(const std::wstring& _str) {
    if (_str.empty()) return std::string();
    const int n = WideCharToMultiByte(932, 0, _str.c_str(), static_cast<int>(_str.size()), 0, 0, 0, 0);
    std::string s(n, '\0');
    WideCharToMultiByte(932, 0, _str.c_str(), static_cast<int>(_str.size()), &s[0], n, 0, 0);
    return s;
}

// The names of the work files in a folder, sorted.
std::vector<std::wstring> HitFiles(const std::wstring& _strDir) {
    std::vector<std::wstring> v;
    WIN32_FIND_DATAW stFind;
    HANDLE h = FindFirstFileW((_strDir + L"\\*.viraGrep").c_str(), &stFind);
    if (h == INVALID_HANDLE_VALUE) return v;
    do v.push_back(stFind.cFileName); while (FindNextFileW(h, &stFind));
    FindClose(h);
    std::sort(v.begin(), v.end());
    return v;
}

TEST(ViraGrepWords, ListTextSplitsAtControlCharacters) {
    struct Row {
        const wchar_t* pName;
        std::wstring strList;
        std::vector<std::wstring> vWords;
    };
    const Row aRow[] = {
        {L"line breaks", L"open\r\nclose\r\n", {L"open", L"close"}},
        {L"last word without a line break", L"open\nclose", {L"open", L"close"}},
        {L"blank inside, TAB splits", L"a b\tc\r\n\r\n\r\nd", {L"a b", L"c", L"d"}},
        {L"other control characters", std::wstring(L"x\x01y\x1fz"), {L"x", L"y", L"z"}},
        {L"Japanese", L"日本語\r\n表記", {L"日本語", L"表記"}},
        {L"empty", L"", {}},
        {L"63 units fit", std::wstring(63, L'w'), {std::wstring(63, L'w')}},
    };
    for (const Row& r : aRow) {
        SCOPED_TRACE(testing::Message() << Narrow(r.pName));
        std::unique_ptr<VIRAGREP> pGrep(new VIRAGREP);
        EXPECT_EQ(static_cast<int>(r.vWords.size()), pGrep->LoadWords(r.strList.c_str(), static_cast<int>(r.strList.size())));
        std::vector<std::wstring> vGot;
        for (int i = 0; i < pGrep->GetWordCount(); ++i) vGot.push_back(pGrep->GetWord(i));
        EXPECT_EQ(r.vWords, vGot);
    }
}

TEST(ViraGrepWords, HitFileNamesStayInTheFolderAndNeverCollide) {
    struct Row {
        int iIndex;
        const wchar_t* pWord;
        const wchar_t* pName;
    };
    const Row aRow[] = {
        {0, L"open", L"0open.viraGrep"},
        {1, L"..\\x", L"1..%5Cx.viraGrep"},
        {2, L"a/b:c", L"2a%2Fb%3Ac.viraGrep"},
        {3, L"*?\"<>|", L"3%2A%3F%22%3C%3E%7C.viraGrep"},
        {4, L"50%", L"4%350%25.viraGrep"},
        {12, L"x", L"12x.viraGrep"},
        {1, L"2x", L"1%32x.viraGrep"},  // not "12x": the index ends where the word starts
        {5, L"日本 語", L"5日本 語.viraGrep"},
        {6, L"..", L"6...viraGrep"},
    };
    wchar_t szName[260];
    for (const Row& r : aRow) {
        EXPECT_EQ(1, VIRAGREP::HitFileName(szName, 260, r.iIndex, r.pWord)) << r.iIndex;
        EXPECT_EQ(std::wstring(r.pName), szName) << r.iIndex;
    }
    EXPECT_EQ(0, VIRAGREP::HitFileName(szName, 14, 0, L"open")) << "no room for the terminator";
    EXPECT_EQ(1, VIRAGREP::HitFileName(szName, 15, 0, L"open"));
    // The longest word, every unit encoded, still makes a valid file name.
    EXPECT_EQ(1, VIRAGREP::HitFileName(szName, 260, 1023, std::wstring(63, L'*').c_str()));
    EXPECT_LT(lstrlenW(szName), 256);
}

class ViraGrepTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_pGrep.reset(new VIRAGREP);
    }
    void TearDown() override {
        s_stGl.m_iRunning = 0;
        s_stGl.TimerID = 0;
        s_stGl.m_lstScript.clear();
        s_stGl.m_itScript = s_stGl.m_lstScript.end();
        m_pGrep.reset();
        Module_releaseAll();
        EngineTest::TearDown();
    }
    int Run(const std::wstring& _strTarget, const std::wstring& _strArgs) {
        return m_pGrep->Func((L"\"" + m_dir.Path(_strTarget) + L"\" " + _strArgs).c_str());
    }
    std::string Path(const std::wstring& _strName) const { return Sjis(m_dir.Path(_strName)); }
    std::unique_ptr<VIRAGREP> m_pGrep;
};

TEST_F(ViraGrepTest, HitLinesGatherPerWordAndTheRunEndPrintsAndRemovesThem) {
    ASSERT_TRUE(m_dir.Write(L"list.txt", "open\nclose\n"));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "a open b\r\nclose\r\n"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    // The end of the script line writes them and leaves them gathering.
    m_pGrep->Quit(0);
    EXPECT_EQ(Path(L"t.txt") + "(1): a open b\r\n", m_dir.Read(L"0open.viraGrep"));
    EXPECT_EQ(Path(L"t.txt") + "(2): close\r\n", m_dir.Read(L"1close.viraGrep"));
    EXPECT_EQ(L"GrepList:list.txt\r\n", Log());
    EXPECT_EQ(2u, HitFiles(m_dir.Path()).size());

    m_pGrep->Quit(1);
    const std::wstring strPath = m_dir.Path(L"t.txt");
    EXPECT_EQ(L"GrepList:list.txt\r\nopen\r\n" + strPath + L"(1): a open b\r\n\r\n"
              L"close\r\n" + strPath + L"(2): close\r\n\r\n",
              Log());
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
    EXPECT_EQ("a open b\r\nclose\r\n", m_dir.Read(L"t.txt"));
    EXPECT_EQ(0, s_stGl.m_iErrorCount);

    // A later run starts from no hits: nothing of the first one is appended to.
    Message_clear();
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(1);
    EXPECT_EQ(L"open\r\n" + strPath + L"(1): a open b\r\n\r\nclose\r\n" + strPath + L"(2): close\r\n\r\n", Log());
}

TEST_F(ViraGrepTest, WholeWordModeNeedsSeparatorsOnBothSides) {
    struct Row {
        std::string strText;
        const wchar_t* pArgs;
        int iHits;
    };
    const Row aRow[] = {
        {"reopen", L"list.txt 1", 0},
        {"reopen", L"list.txt", 1},
        {"reopen", L"list.txt 0", 1},
        {"opener", L"list.txt 1", 0},
        {"(open)", L"list.txt 1", 1},
        {"x.open;", L"list.txt 1", 1},
        {"a open", L"list.txt 1", 1},  // the word ends the text
        {"open", L"list.txt 1", 1},    // and starts it
        {"\"open\"\t[open]", L"list.txt 1", 2},
        {"open open\r\n", L"list.txt", 2},  // twice in a line: two identical lines
        {"ope", L"list.txt", 0},
        {"OPEN", L"list.txt", 0},  // case counts
    };
    ASSERT_TRUE(m_dir.Write(L"list.txt", "open\r\n"));
    for (const Row& r : aRow) {
        SCOPED_TRACE(testing::Message() << "'" << r.strText << "' " << Narrow(r.pArgs));
        m_pGrep.reset(new VIRAGREP);
        ASSERT_TRUE(m_dir.Write(L"t.txt", r.strText));
        EXPECT_EQ(1, Run(L"t.txt", r.pArgs));
        m_pGrep->Quit(0);
        const std::string strHits = m_dir.Read(L"0open.viraGrep");
        int iLines = 0;
        for (char c : strHits) iLines += c == '\n';
        EXPECT_EQ(r.iHits, iLines) << strHits;
        m_pGrep->Quit(1);
        EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
    }
}

// Words that share their start, one inside another, and a word listed twice: each finds
// its own hits, in both modes.
TEST_F(ViraGrepTest, WordsSharingTheirStartFindTheirOwnHits) {
    ASSERT_TRUE(m_dir.Write(L"list.txt", "ab\r\nabc\r\nab\r\nabd\r\nb\r\n"));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "abc\r\nab\r\nxabd\r\n"));
    const char* const aszName[] = {"0ab.viraGrep", "1abc.viraGrep", "2ab.viraGrep", "3abd.viraGrep", "4b.viraGrep"};
    struct Row {
        const wchar_t* pArgs;
        const char* aszLines[5];
    };
    const Row aRow[] = {
        {L"list.txt", {"(1)(2)(3)", "(1)", "(1)(2)(3)", "(3)", "(1)(2)(3)"}},
        {L"list.txt 1", {"(2)", "(1)", "(2)", "", ""}},
    };
    for (const Row& r : aRow) {
        SCOPED_TRACE(Narrow(r.pArgs));
        m_pGrep.reset(new VIRAGREP);
        EXPECT_EQ(1, Run(L"t.txt", r.pArgs));
        m_pGrep->Quit(0);
        for (int i = 0; i < 5; ++i) {
            std::string strLines;
            const std::string strHits = m_dir.Read(std::wstring(aszName[i], aszName[i] + std::strlen(aszName[i])));
            for (size_t u = 0; (u = strHits.find("txt(", u)) != std::string::npos; u += 4)
                strLines += strHits.substr(u + 3, 3);
            EXPECT_EQ(r.aszLines[i], strLines) << aszName[i];
        }
        m_pGrep->Quit(1);
        EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
    }
}

TEST_F(ViraGrepTest, LineNumbersAndLineTextsOfJapaneseTexts) {
    ASSERT_TRUE(m_dir.Write(L"list.txt", Sjis(L"表記\r\n行う")));  // the last word has no line break
    ASSERT_TRUE(m_dir.Write(L"t.txt", Sjis(L"一行目\r\n表記を行う。\r\n\r\n行う\r\n")));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(0);
    EXPECT_EQ(Path(L"t.txt") + Sjis(L"(2): 表記を行う。\r\n"), m_dir.Read(L"0表記.viraGrep"));
    EXPECT_EQ(Path(L"t.txt") + Sjis(L"(2): 表記を行う。\r\n") + Path(L"t.txt") + Sjis(L"(4): 行う\r\n"),
              m_dir.Read(L"1行う.viraGrep"));
    m_pGrep->Quit(1);
}

TEST_F(ViraGrepTest, ALongLineIsKeptWhole) {
    ASSERT_TRUE(m_dir.Write(L"list.txt", "needle\r\n"));
    const std::string strLine = std::string(5000, 'x') + " needle";
    ASSERT_TRUE(m_dir.Write(L"t.txt", "first\r\n" + strLine + "\r\nlast needle"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(0);
    EXPECT_EQ(Path(L"t.txt") + "(2): " + strLine + "\r\n" + Path(L"t.txt") + "(3): last needle\r\n",
              m_dir.Read(L"0needle.viraGrep"));
    m_pGrep->Quit(1);
    const std::wstring strWide(strLine.begin(), strLine.end());
    EXPECT_NE(std::wstring::npos, Log().find(L"(2): " + strWide + L"\r\n"));
}

// Every hit repeats its whole line, so one long line full of a word would give hits of
// the line's length squared: the hits of a run are bounded, and the bound is an error.
TEST_F(ViraGrepTest, HitsOfARunAreBoundedAndTheBoundIsAnError) {
    ASSERT_TRUE(m_dir.Write(L"list.txt", "a\r\nb\r\n"));
    const std::string strLong(6000, 'a');  // 6,000 hits of 6,000 characters each
    ASSERT_TRUE(m_dir.Write(L"long.txt", strLong));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "b\r\n"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    EXPECT_EQ(1, Run(L"long.txt", L"list.txt"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(0);
    const std::string strHits = m_dir.Read(L"0a.viraGrep");
    EXPECT_LE(strHits.size(), static_cast<size_t>(VIRAGREP::HIT_LIMIT));
    const std::string strLine = Path(L"long.txt") + "(1): " + strLong + "\r\n";
    ASSERT_GE(strHits.size(), strLine.size() * 100);
    EXPECT_EQ(0u, strHits.size() % strLine.size()) << "only whole hit lines";
    EXPECT_EQ(strLine, strHits.substr(strHits.size() - strLine.size()));
    // Gathering stops for the run: the later target's hit is not taken either.
    EXPECT_EQ(Path(L"t.txt") + "(1): b\r\n", m_dir.Read(L"1b.viraGrep"));
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    EXPECT_EQ(L"GrepList:list.txt\r\nVIRAGREP: hits over 16777216 characters in this run, the rest are not gathered:" +
                  m_dir.Path(L"long.txt") + L"\r\n",
              Log());
    m_pGrep->Quit(1);
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());

    // The next run gathers afresh.
    Message_clear();
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(1);
    EXPECT_EQ(L"b\r\n" + m_dir.Path(L"t.txt") + L"(1): b\r\n\r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(ViraGrepTest, WordsThatNoFileNameCanHoldKeepTheirWorkFilesInTheFolder) {
    ASSERT_TRUE(m_dir.MakeDir(L"work"));
    ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path(L"work").c_str()));
    ASSERT_TRUE(m_dir.Write(L"work\\list.txt", "..\\..\\up\r\n/../x\r\nc:d\r\n*?|\r\n..\r\n"));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "a ..\\..\\up b\r\n/../x c:d *?| ..\r\n"));
    EXPECT_EQ(1, m_pGrep->Func((L"\"" + m_dir.Path(L"t.txt") + L"\" list.txt").c_str()));
    m_pGrep->Quit(0);
    EXPECT_EQ(5u, HitFiles(m_dir.Path(L"work")).size());
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
    EXPECT_EQ(Path(L"t.txt") + "(1): a ..\\..\\up b\r\n", m_dir.Read(L"work\\0..%5C..%5Cup.viraGrep"));
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
    m_pGrep->Quit(1);
    const std::wstring strPath = m_dir.Path(L"t.txt");
    const std::wstring strLine2 = strPath + L"(2): /../x c:d *?| ..\r\n";
    EXPECT_EQ(L"GrepList:list.txt\r\n..\\..\\up\r\n" + strPath + L"(1): a ..\\..\\up b\r\n\r\n"
              L"/../x\r\n" + strLine2 + L"\r\nc:d\r\n" + strLine2 + L"\r\n*?|\r\n" + strLine2 +
              L"\r\n..\r\n" + strPath + L"(1): a ..\\..\\up b\r\n" + strPath + L"(1): a ..\\..\\up b\r\n" +
                  strLine2 + strLine2 + L"\r\n",
              Log());
    EXPECT_TRUE(HitFiles(m_dir.Path(L"work")).empty());
}

TEST_F(ViraGrepTest, ListLimitsAreCheckedWithErrors) {
    std::string strList = std::string(64, 'L') + "\r\nok\r\n";
    for (int i = 0; i < 1030; ++i) strList += "w" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "ok w1023 w1024\r\n"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    EXPECT_EQ(1024, m_pGrep->GetWordCount());
    EXPECT_EQ(std::wstring(L"ok"), m_pGrep->GetWord(0));
    EXPECT_EQ(std::wstring(L"w1021"), m_pGrep->GetWord(1022));
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
    EXPECT_EQ(L"GrepList:list.txt\r\n"
              L"GrepList: word too long (63 characters at most):" + std::wstring(64, L'L') + L"\r\n"
              L"GrepList: too many words (1024 at most), 7 not used\r\n",
              Log());
    m_pGrep->Quit(1);
}

// A text given as the list by mistake: every long line would be an error line of its
// own, and a huge line would be copied whole.
TEST_F(ViraGrepTest, AListOfLongLinesGivesFewErrors) {
    std::string strList = std::string(1000000, 'x') + "\r\nok\r\n";
    for (int i = 0; i < 50; ++i) strList += std::string(70, 'y') + std::to_string(i) + "\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "ok\r\n"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    EXPECT_EQ(1, m_pGrep->GetWordCount());
    std::wstring strExpect = L"GrepList:list.txt\r\nGrepList: word too long (63 characters at most):" +
                             std::wstring(64, L'x') + L"...\r\n";
    for (int i = 0; i < 9; ++i)
        strExpect += L"GrepList: word too long (63 characters at most):" + std::wstring(64, L'y') + L"...\r\n";
    strExpect += L"GrepList: 41 more words too long, not used\r\n";
    EXPECT_EQ(strExpect, Log());
    EXPECT_EQ(11, s_stGl.m_iErrorCount);
    m_pGrep->Quit(1);
}

TEST_F(ViraGrepTest, MissingOrEmptyTargetsAreErrorsAMissingListIsNot) {
    ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
    ASSERT_TRUE(m_dir.Write(L"t.txt", "open\r\n"));
    // A list that cannot be read gives no words and no message of its own.
    EXPECT_EQ(1, Run(L"t.txt", L"none.txt"));
    EXPECT_EQ(0, Run(L"missing.txt", L"none.txt"));
    EXPECT_EQ(0, Run(L"empty.txt", L"none.txt"));
    m_pGrep->Quit(1);
    EXPECT_EQ(L"GrepList:none.txt\r\nfile not found:" + m_dir.Path(L"missing.txt") + L"\r\n"
              L"file not found:" + m_dir.Path(L"empty.txt") + L"\r\n",
              Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
    EXPECT_FALSE(m_dir.IsFile(L"missing.txt"));
    EXPECT_EQ("", m_dir.Read(L"empty.txt"));
    // The list is read once in the program's life: a later line's list is not read.
    ASSERT_TRUE(m_dir.Write(L"list.txt", "open\r\n"));
    Message_clear();
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(1);
    EXPECT_EQ(L"", Log());
}

TEST_F(ViraGrepTest, AWorkFileThatCannotBeWrittenIsAnErrorOnce) {
    ASSERT_TRUE(m_dir.Write(L"list.txt", "open\r\nclose\r\n"));
    ASSERT_TRUE(m_dir.MakeDir(L"0open.viraGrep"));  // a folder where the file should go
    ASSERT_TRUE(m_dir.Write(L"t.txt", "open close\r\nopen\r\n"));
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(0);
    EXPECT_EQ(1, Run(L"t.txt", L"list.txt"));
    m_pGrep->Quit(0);
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
    EXPECT_EQ(L"GrepList:list.txt\r\nVIRAGREP: the hits of \"open\" cannot be written\r\n", Log());
    m_pGrep->Quit(1);
    const std::wstring strLine = m_dir.Path(L"t.txt") + L"(1): open close\r\n";
    EXPECT_NE(std::wstring::npos, Log().find(L"\r\nclose\r\n" + strLine + strLine + L"\r\n"));
    EXPECT_TRUE(m_dir.IsDir(L"0open.viraGrep"));
}

class ViraGrepDispatchTest : public EngineTest {
protected:
    void TearDown() override {
        s_stGl.m_iRunning = 0;
        s_stGl.TimerID = 0;
        s_stGl.m_lstScript.clear();
        s_stGl.m_itScript = s_stGl.m_lstScript.end();
        Module_releaseAll();
        EngineTest::TearDown();
    }
    static SCRIPT_STAT Line(const wchar_t* _pCommand, const wchar_t* _pParam) {
        SCRIPT_STAT st;
        st.m_strCommand = _pCommand;
        st.m_strParam = _pParam;
        return st;
    }
};

TEST_F(ViraGrepDispatchTest, HitsOfEveryLineAreReportedAtTheRunEndEvenWhenALaterLineFollows) {
    ASSERT_TRUE(m_dir.Write(L"a.txt", "open\r\nclose\r\n"));
    ASSERT_TRUE(m_dir.Write(L"b.txt", "\x98\x9f close\r\n"));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "open\r\n"));
    ASSERT_TRUE(m_dir.Write(L"other.txt", "close\r\n"));
    const std::wstring strA = m_dir.Path(L"a.txt"), strB = m_dir.Path(L"b.txt");
    // Line 1 and line 2 (which names another list: the first list's words still count),
    // then a line of another command, as the run loop ends them.
    Command_exec(Line(L"VIRAGREP", L"list.txt"), strA.c_str());
    Command_exec(Line(L"VIRAGREP", L"list.txt"), strB.c_str());
    Command_quit(0);
    Command_exec(Line(L"VIRAGREP", L"other.txt 1"), strA.c_str());
    Command_quit(0);
    EXPECT_EQ(1u, HitFiles(m_dir.Path()).size());
    Command_exec(Line(L"KANJI_CHECK", L""), strB.c_str());
    Command_quit(1);
    // VIRAGREP reports before the modules of the common order.
    EXPECT_EQ(L"GrepList:list.txt\r\nopen\r\n" + strA + L"(1): open\r\n" + strA + L"(1): open\r\n\r\n"
              L"\r\n---TOTAL---\r\n第2水準漢字    = 1ｹ所\r\n弌 1(s)\r\n",
              Log());
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
}

TEST_F(ViraGrepDispatchTest, AStoppedRunLeavesNoHitsToTheNextRun) {
    ASSERT_TRUE(m_dir.Write(L"a.txt", "open\r\n"));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "open\r\n"));
    const std::wstring strA = m_dir.Path(L"a.txt");
    s_stGl.m_lstScript.push_back(Line(L"VIRAGREP", L"list.txt"));
    s_stGl.m_lstScript.push_back(Line(L"KANJI_CHECK", L""));
    s_stGl.m_iRunning = 1;
    // Each run: line 1 over the one file, the end of line 1, line 2 over the file, the end.
    auto line1 = [&]() {
        s_stGl.m_itScript = s_stGl.m_lstScript.begin();
        s_stGl.m_iFileIndex = 0;
        Command_exec(*s_stGl.m_itScript, strA.c_str());
        Command_quit(0);
    };
    auto line2 = [&]() {
        ++s_stGl.m_itScript;
        Command_exec(*s_stGl.m_itScript, strA.c_str());
        Command_quit(1);
    };
    // Run 1 is stopped after line 1: its modules are never told of the end.
    s_stGl.TimerID = 7;
    line1();
    EXPECT_EQ(Sjis(strA) + "(1): open\r\n", m_dir.Read(L"0open.viraGrep"));
    // Run 2 runs whole: one hit, not two.
    s_stGl.TimerID = 8;
    line1();
    EXPECT_EQ(Sjis(strA) + "(1): open\r\n", m_dir.Read(L"0open.viraGrep"));
    line2();
    EXPECT_EQ(L"GrepList:list.txt\r\nopen\r\n" + strA + L"(1): open\r\n\r\n"
              L"\r\n---TOTAL---\r\n",
              Log());
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());

    // Run 3 is stopped twice under one timer (the next start may get the same one).
    Message_clear();
    line1();
    line1();
    EXPECT_EQ(Sjis(strA) + "(1): open\r\n", m_dir.Read(L"0open.viraGrep"));
    // Run 4 has no VIRAGREP line: the stopped run's hits go without a report.
    s_stGl.TimerID = 9;
    s_stGl.m_itScript = s_stGl.m_lstScript.begin();
    line2();
    EXPECT_EQ(L"\r\n---TOTAL---\r\n", Log());
    EXPECT_TRUE(HitFiles(m_dir.Path()).empty());
}

// Benchmark, not a test: 1,000 list words over 5 MB of Shift-JIS text.
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(ViraGrepTest, DISABLED_Benchmark) {
    const bench::GrepText cText = bench::GrepWordsOverText();
    ASSERT_EQ(1000u, cText.vWords.size());
    ASSERT_TRUE(m_dir.Write(L"list.txt", Sjis(cText.strList)));
    const std::wstring& strText = cText.strText;
    const std::string strBytes = Sjis(strText);
    ASSERT_TRUE(m_dir.Write(L"big.txt", strBytes));

    const auto tStart = std::chrono::steady_clock::now();
    EXPECT_EQ(1, Run(L"big.txt", L"list.txt"));
    const double dScan = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    m_pGrep->Quit(1);
    const double dAll = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    int iLines = 0;
    for (const wchar_t* p = s_stGl.m_memMsg; *p; ++p) iLines += (*p == L'\n');
    std::printf("VIRAGREP benchmark: %zu bytes, 1000 words, %d log lines, scan %.3f s, with report %.3f s\n",
                strBytes.size(), iLines, dScan, dAll);
}

// Benchmark, not a test, of the worst list: 1,024 words of 63 characters that differ only
// in their last one, over 1 MB of text that matches each word up to that last character.
TEST_F(ViraGrepTest, DISABLED_BenchmarkSharedPrefixes) {
    std::string strList;
    for (int i = 0; i < 1024; ++i) strList += std::string(59, 'a') + std::to_string(1000 + i) + "\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    std::string strText;
    while (strText.size() < (1u << 20)) strText += std::string(98, 'a') + "\r\n";
    ASSERT_TRUE(m_dir.Write(L"big.txt", strText));
    const auto tStart = std::chrono::steady_clock::now();
    EXPECT_EQ(1, Run(L"big.txt", L"list.txt"));
    m_pGrep->Quit(1);
    const double dAll = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf("VIRAGREP benchmark, shared prefixes: %zu bytes, 1024 words, %.3f s\n", strText.size(), dAll);
}

}  // namespace
