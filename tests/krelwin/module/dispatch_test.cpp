#include "krelwin/module/function_base.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

// Every call a test module or a plain test function receives, in order.
std::vector<std::wstring> s_journal;

const wchar_t* const s_apModuleName[MODULE_COUNT] = {
    L"FILECOPY", L"KANJI_CHECK", L"REPLASE", L"VIRAGREP", L"LISTUPPARAM", L"LISTSORT",
    L"FILECHECK", L"FITPARTS", L"DUMP", L"LISTUPSCR", L"CHECKSCR", L"CHECKTXT", L"SAMESIZE",
    L"CHGRW", L"SONGDATACONVERT", L"SMPL_CHAIN", L"RLSPRESS", L"SMPL_D2PACK", L"SMPL_D2ATEX",
    L"MAKEMASK", L"XLS2CSV", L"INITSAMPLE", L"CHECKEXCEL", L"UTTER", L"FUNCTION_BASE",
};

class TestModule : public CModule {
public:
    explicit TestModule(int _iId) : m_iId(_iId) {}
    int Func(const wchar_t* _pParam) override {
        // The loop watch is reset before every call.
        if (s_stGl.m_iLoopPos != -1 || s_stGl.m_iLoopCount != 0) s_journal.push_back(L"loop watch not reset");
        s_stGl.m_iLoopPos = 7;
        s_stGl.m_iLoopCount = 9;
        s_journal.push_back(std::wstring(s_apModuleName[m_iId]) + L" Func " + _pParam);
        return 1;
    }
    int FuncRev(const wchar_t* _pParam) override {
        s_journal.push_back(std::wstring(s_apModuleName[m_iId]) + L" FuncRev " + _pParam);
        return 1;
    }
    void Quit(int _iFinal) override {
        s_journal.push_back(std::wstring(s_apModuleName[m_iId]) + L" Quit " + std::to_wstring(_iFinal));
    }
    int m_iId;
};

template <int ID>
CModule* CreateTest() { return new TestModule(ID); }

template <int... IDS>
void RegisterAll(std::integer_sequence<int, IDS...>) {
    (Module_setCreator(IDS, &CreateTest<IDS>), ...);
}

CModule* CreateNothing() { return nullptr; }

int s_iDeleteResult = 1;
int TestDelete(const wchar_t* _pPath) {
    s_journal.push_back(std::wstring(L"delete ") + _pPath);
    return s_iDeleteResult;
}
int TestDelrem(const wchar_t* _pLine) {
    s_journal.push_back(std::wstring(L"delrem ") + _pLine);
    return 0;
}

std::vector<std::wstring> s_runs;
int TestRunner(const wchar_t* _pCommand, const wchar_t* _pArgs) {
    s_runs.push_back(std::wstring(_pCommand) + L"|" + _pArgs);
    return 1;
}

SCRIPT_STAT Line(const wchar_t* _pCommand, const wchar_t* _pParam) {
    SCRIPT_STAT st;
    st.m_strCommand = _pCommand;
    st.m_strParam = _pParam;
    return st;
}

size_t Count(const std::wstring& _strText, const std::wstring& _strPart) {
    size_t n = 0;
    for (size_t u = _strText.find(_strPart); u != std::wstring::npos; u = _strText.find(_strPart, u + 1)) ++n;
    return n;
}

class DispatchTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Module_releaseAll();
        for (int i = 0; i < MODULE_COUNT; ++i) m_apSaved[i] = Module_setCreator(i, nullptr);
        m_pSavedDelete = Command_setFunction(COMMAND_DEL, nullptr);
        m_pSavedDelrem = Command_setFunction(COMMAND_DELREM, nullptr);
        m_pSavedZen2han = Command_setFunction(COMMAND_ZEN2HAN, nullptr);
        m_pSavedRunner = Command_setRunner(TestRunner);
        s_journal.clear();
        s_runs.clear();
        s_iDeleteResult = 1;
    }
    void TearDown() override {
        Module_releaseAll();
        for (int i = 0; i < MODULE_COUNT; ++i) Module_setCreator(i, m_apSaved[i]);
        Command_setFunction(COMMAND_DEL, m_pSavedDelete);
        Command_setFunction(COMMAND_DELREM, m_pSavedDelrem);
        Command_setFunction(COMMAND_ZEN2HAN, m_pSavedZen2han);
        Command_setRunner(m_pSavedRunner);
        EngineTest::TearDown();
    }
    void RegisterTestModules() { RegisterAll(std::make_integer_sequence<int, MODULE_COUNT>()); }

    MODULE_CREATOR m_apSaved[MODULE_COUNT] = {};
    COMMAND_FUNCTION m_pSavedDelete = 0, m_pSavedDelrem = 0, m_pSavedZen2han = 0;
    COMMAND_RUNNER m_pSavedRunner = 0;
};

} // namespace

TEST_F(DispatchTest, TableHoldsTheCommandsAtTheirIndexes)
{
    EXPECT_EQ(Command_find(L"COPY"), COMMAND_COPY);
    EXPECT_EQ(Command_find(L"CHECKTXT"), 18);
    EXPECT_EQ(Command_find(L"UTTER_SCR"), 33);
    EXPECT_EQ(Command_find(L"FUNCTION_BASE"), 35);
    EXPECT_EQ(Command_find(L"dump"), COMMAND_COUNT) << "the table comparison counts case";
    EXPECT_EQ(Command_find(L""), COMMAND_COUNT);
    EXPECT_EQ(Command_find(nullptr), COMMAND_COUNT);
    for (int i = 0; i < COMMAND_COUNT; ++i) EXPECT_EQ(Command_find(Command_name(i)), i) << "index " << i;
    EXPECT_EQ(Command_name(COMMAND_COUNT), nullptr);
}

TEST_F(DispatchTest, TwoLinesOverThreeFilesGiveFuncAndQuitInRunOrder)
{
    RegisterTestModules();
    const SCRIPT_STAT lines[] = {Line(L"CHECKTXT", L"-x"), Line(L"REPLACE", L"rules.txt")};
    const wchar_t* files[] = {L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"C:\\d\\c.txt"};
    for (int l = 0; l < 2; ++l) {
        for (const wchar_t* f : files) Command_exec(lines[l], f);
        Command_quit(l == 1 ? 1 : 0);
    }
    const std::vector<std::wstring> expected = {
        L"CHECKTXT Func \"C:\\d\\a.txt\" -x",
        L"CHECKTXT Func \"C:\\d\\b.txt\" -x",
        L"CHECKTXT Func \"C:\\d\\c.txt\" -x",
        L"CHECKTXT Quit 0",
        L"REPLASE Func \"C:\\d\\a.txt\" rules.txt -m0",
        L"REPLASE Func \"C:\\d\\b.txt\" rules.txt -m0",
        L"REPLASE Func \"C:\\d\\c.txt\" rules.txt -m0",
        L"CHECKTXT Quit 1",
        L"REPLASE Quit 1",
    };
    EXPECT_EQ(s_journal, expected);
}

TEST_F(DispatchTest, QuitTellsEveryLiveModuleInTheReportOrder)
{
    RegisterTestModules();
    // One file through each module command, in table order.
    for (int i = 0; i < COMMAND_COUNT; ++i) Command_exec(Line(Command_name(i), L""), L"C:\\a.txt");
    s_journal.clear();
    Command_quit(1);
    const std::vector<std::wstring> expected = {
        L"SONGDATACONVERT Quit 1", L"SMPL_CHAIN Quit 1", L"RLSPRESS Quit 1", L"SMPL_D2PACK Quit 1",
        L"SMPL_D2ATEX Quit 1", L"MAKEMASK Quit 1", L"XLS2CSV Quit 1", L"INITSAMPLE Quit 1",
        L"CHECKEXCEL Quit 1", L"UTTER Quit 1", L"FUNCTION_BASE Quit 1", L"LISTUPSCR Quit 1",
        L"LISTUPPARAM Quit 1", L"CHECKTXT Quit 1", L"REPLASE Quit 1", L"VIRAGREP Quit 1",
        L"FITPARTS Quit 1", L"CHECKSCR Quit 1",
        // Command_quitCommon
        L"FILECOPY Quit 1", L"LISTSORT Quit 1", L"FILECHECK Quit 1", L"DUMP Quit 1",
        L"KANJI_CHECK Quit 1", L"SAMESIZE Quit 1", L"CHGRW Quit 1",
    };
    EXPECT_EQ(s_journal, expected);
}

TEST_F(DispatchTest, SharedObjectsServeTheirCommands)
{
    RegisterTestModules();
    Command_exec(Line(L"REPLACE", L"r.txt"), L"C:\\a.txt");
    CModule* pReplace = Module_get(MODULE_REPLASE);
    Command_exec(Line(L"REPLACE_REM", L""), L"C:\\a.txt");
    Command_exec(Line(L"REPLACE_REGEX", L"r.txt -m1"), L"C:\\a.txt");
    EXPECT_EQ(Module_get(MODULE_REPLASE), pReplace) << "one object for the three replace commands";
    Command_exec(Line(L"FITPARTS", L"p"), L"C:\\a.txt");
    CModule* pFit = Module_get(MODULE_FITPARTS);
    Command_exec(Line(L"FITPARTS_REV", L"p"), L"C:\\a.txt");
    EXPECT_EQ(Module_get(MODULE_FITPARTS), pFit);
    const std::vector<std::wstring> expected = {
        L"REPLASE Func \"C:\\a.txt\" r.txt -m0",
        L"REPLASE Func \"C:\\a.txt\"  -m1",
        L"REPLASE Func \"C:\\a.txt\" r.txt -m1 -m2",  // the script's own -m comes first
        L"FITPARTS Func \"C:\\a.txt\" p",
        L"FITPARTS FuncRev \"C:\\a.txt\" p",
    };
    EXPECT_EQ(s_journal, expected);
    EXPECT_EQ(Module_get(MODULE_CHECKTXT), nullptr) << "only dispatched commands create objects";
}

TEST_F(DispatchTest, NamesWithoutABuiltHandlerAreReportedNotCounted)
{
    // Reserved names, a module not built in yet, the plain functions.
    const wchar_t* names[] = {L"KINSOKU", L"RENEWFILES", L"D2ARC", L"UTTER_SCR", L"CHECKTXT",
                              L"DEL", L"DELREM", L"ZEN2HAN"};
    for (const wchar_t* name : names) {
        for (int f = 0; f < 4; ++f) Command_exec(Line(name, L"x"), L"C:\\a.txt");
        EXPECT_EQ(Count(Log(), std::wstring(name) + L" この機能は組み込まれていません\r\n"), 4u)
            << testing::PrintToString(std::wstring(name));
    }
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
    EXPECT_TRUE(s_runs.empty());
    EXPECT_EQ(Log().find(L"deleting"), std::wstring::npos) << "an unbuilt DEL does not announce itself";
}

TEST_F(DispatchTest, ModuleThatCannotBeCreatedIsACountedErrorEachTime)
{
    Module_setCreator(MODULE_DUMP, CreateNothing);
    for (int f = 0; f < 3; ++f) Command_exec(Line(L"DUMP", L""), L"C:\\a.txt");
    EXPECT_EQ(Count(Log(), L"スクリプトの実行に失敗しました\r\n"), 3u);
    EXPECT_EQ(s_stGl.m_iErrorCount, 3);
    EXPECT_EQ(Module_get(MODULE_DUMP), nullptr);
}

TEST_F(DispatchTest, ParameterLineMustFitWithItsTerminator)
{
    RegisterTestModules();
    const std::wstring target = L"C:\\t.txt";  // 8 characters, 10 with its quotes
    struct Case {
        const wchar_t* command;
        int paramLength;
        bool runs;
    };
    // Quotes and target 10, blank 1, terminator 1: a text of 1012 fills 1024 exactly.
    const Case cases[] = {
        {L"DUMP", 1012, true},
        {L"DUMP", 1013, false},
        {L"REPLACE", 1008, true},  // " -m0" takes 4 more
        {L"REPLACE", 1009, false},
        {L"NOTACOMMAND", 1013, false},
    };
    for (const Case& c : cases) {
        s_journal.clear();
        s_runs.clear();
        const int iErrors = s_stGl.m_iErrorCount;
        const std::wstring param(c.paramLength, L'p');
        Command_exec(Line(c.command, param.c_str()), target.c_str());
        const bool ran = !s_journal.empty() || !s_runs.empty();
        EXPECT_EQ(ran, c.runs) << testing::PrintToString(std::wstring(c.command)) << " " << c.paramLength;
        EXPECT_EQ(s_stGl.m_iErrorCount, iErrors + (c.runs ? 0 : 1));
        if (ran && !s_journal.empty()) {
            EXPECT_EQ(s_journal[0].size() + 1 - s_journal[0].find(L'"'), 1024u) << "the line fills the buffer";
        }
    }
    EXPECT_NE(Log().find(L"パラメータが長すぎます. \"ppp"), std::wstring::npos);
}

TEST_F(DispatchTest, DeleteCommandsAnnounceOncePerLine)
{
    Command_setFunction(COMMAND_DEL, TestDelete);
    Command_setFunction(COMMAND_DELREM, TestDelrem);
    for (int f = 0; f < 5; ++f) Command_exec(Line(L"DEL", L"ignored"), L"C:\\d\\a.txt");
    EXPECT_EQ(Count(Log(), L"deleting\r\n"), 1u);
    EXPECT_EQ(s_journal[0], L"delete C:\\d\\a.txt") << "DEL gets the target path itself";
    Command_quit(0);
    s_iDeleteResult = 0;
    Command_exec(Line(L"DEL", L""), L"C:\\d\\gone.txt");
    EXPECT_EQ(Count(Log(), L"deleting\r\n"), 2u) << "announced again on the next line";
    EXPECT_NE(Log().find(L"del failed. gone.txt\r\n"), std::wstring::npos);

    Command_exec(Line(L"DELREM", L"-q"), L"C:\\d\\b.txt");
    Command_exec(Line(L"DELREM", L"-q"), L"C:\\d\\b.txt");
    EXPECT_EQ(Count(Log(), L"delrem\r\n"), 1u);
    EXPECT_EQ(s_journal.back(), L"delrem \"C:\\d\\b.txt\" -q");
    EXPECT_EQ(Count(Log(), L"delrem failed. b.txt\r\n"), 2u);
    EXPECT_EQ(s_stGl.m_iErrorCount, 0) << "failures of DEL and DELREM are information lines";
}

TEST_F(DispatchTest, ExternalProgramGetsTheLineOrTheExpandedText)
{
    struct Case {
        const char* name;
        const wchar_t* target;
        const wchar_t* param;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"no %1: quoted target, blank, text", L"C:\\d\\a.txt", L"-v out", L"TOOL|\"C:\\d\\a.txt\" -v out"},
        {"empty text", L"C:\\d\\a.txt", L"", L"TOOL|\"C:\\d\\a.txt\" "},
        {"%1 twice", L"C:\\d\\a.txt", L"%1 -o %1.bak", L"TOOL|C:\\d\\a.txt -o C:\\d\\a.txt.bak"},
        {"%1 inside the target is not expanded again", L"C:\\%1\\b.txt", L"x%1y",
         L"TOOL|xC:\\%1\\b.txty"},
        {"%0 is not the program's", L"C:\\a.txt", L"%0", L"TOOL|\"C:\\a.txt\" %0"},
    };
    for (const Case& c : cases) {
        s_runs.clear();
        Command_exec(Line(L"TOOL", c.param), c.target);
        ASSERT_EQ(s_runs.size(), 1u) << c.name;
        EXPECT_EQ(s_runs[0], c.expected) << c.name;
    }
    // "%1" expansion is not bound by the parameter line's size.
    s_runs.clear();
    const std::wstring target(200, L't');
    Command_exec(Line(L"TOOL", L"%1%1%1%1%1%1"), target.c_str());
    ASSERT_EQ(s_runs.size(), 1u);
    EXPECT_EQ(s_runs[0].size(), 5 + 6 * target.size());
    EXPECT_EQ(s_stGl.m_iErrorCount, 0);
}

TEST_F(DispatchTest, EmptyCommandNameIsACountedErrorNotAProgram)
{
    Command_exec(Line(L"", L"a b"), L"C:\\a.txt");
    EXPECT_TRUE(s_runs.empty());
    EXPECT_EQ(s_stGl.m_iErrorCount, 1);
    EXPECT_NE(Log().find(L"コマンドが指定されていません. \"a b\"\r\n"), std::wstring::npos);
}

TEST_F(DispatchTest, ModulesOutliveLinesAndRuns)
{
    RegisterTestModules();
    Command_exec(Line(L"DUMP", L""), L"C:\\a.txt");
    CModule* pDump = Module_get(MODULE_DUMP);
    Command_quit(1);
    Command_exec(Line(L"DUMP", L""), L"C:\\b.txt");
    EXPECT_EQ(Module_get(MODULE_DUMP), pDump) << "a second run reuses the object";
    EXPECT_EQ(std::count(s_journal.begin(), s_journal.end(), L"loop watch not reset"), 0);
}

namespace {

// A module written the way a real one is: its class and its creator macro.
class SAMPLEMOD : public CModule {
public:
    int Func(const wchar_t* _pParam) override {
        s_journal.push_back(std::wstring(L"SAMPLEMOD ") + _pParam);
        return 1;
    }
    void Quit(int) override {}
};
MODULE_DEFINE_CREATOR(SAMPLEMOD)

} // namespace

TEST_F(DispatchTest, ModuleDefinedWithTheCreatorMacroIsDispatched)
{
    Module_setCreator(MODULE_INITSAMPLE, Module_new_SAMPLEMOD);
    Command_exec(Line(L"INITSAMPLE", L"a"), L"C:\\x.txt");
    ASSERT_EQ(s_journal.size(), 1u);
    EXPECT_EQ(s_journal[0], L"SAMPLEMOD \"C:\\x.txt\" a");
}
