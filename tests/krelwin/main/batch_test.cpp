#include "engine_fixture.h"

#include <cstdlib>

#include "krelwin/main/batch.h"

namespace {

class BatchReader : public EngineTest {
protected:
	// Writes the bytes as a batch in the test folder and reads it.
	int ReadBatch(const std::string &_strBytes, const wchar_t *_pName = L"job.kvl") {
		EXPECT_TRUE(m_dir.Write(_pName, _strBytes));
		return Read_KrelwinBatch(m_dir.Path(_pName).c_str());
	}
	void Touch(const wchar_t *_pName) { ASSERT_TRUE(m_dir.Write(_pName, "x")); }
};

TEST_F(BatchReader, SectionHeadsIgnoreCaseAndFillScriptAndFiles)
{
	Touch(L"a.txt");
	ASSERT_EQ(1, ReadBatch("[script]\r\ndump\r\n[Files]\r\na.txt\r\n"));
	EXPECT_EQ(std::vector<std::wstring>{ L"DUMP" }, Commands());
	EXPECT_EQ(std::vector<std::wstring>{ L"" }, Params());
	EXPECT_EQ(std::vector<std::wstring>{ L"a.txt" }, Files());
	EXPECT_EQ(L"DUMP \r\n", Log());
}

TEST_F(BatchReader, ScriptLinesSplitIntoCommandAndParameters)
{
	struct Case { const char *name; const wchar_t *line; const wchar_t *command; const wchar_t *param; };
	const Case cases[] = {
		{ "two blanks", L"DEL  -x", L"DEL", L"-x" },
		{ "lower case", L"del", L"DEL", L"" },
		{ "leading blank", L" DEL", L"", L"DEL" },
		{ "tab and trailing blanks", L"grep\t\t-a b  ", L"GREP", L"-a b  " },
		{ "only ASCII is upper-cased", L"dümp x", L"DüMP", L"x" },
		{ "line end stops both", L"copy a\r\nnext", L"COPY", L"a" },
		{ "empty", L"", L"", L"" },
	};
	for (const Case &c : cases) {
		SCRIPT_STAT st;
		st.m_strCommand = L"old";
		st.m_strParam = L"old";
		Script_parse(&st, c.line);
		EXPECT_EQ(c.command, st.m_strCommand) << "case " << c.name;
		EXPECT_EQ(c.param, st.m_strParam) << "case " << c.name;
	}
}

TEST_F(BatchReader, SectionsAddUpInFileOrderWhateverTheLineEnds)
{
	Touch(L"a.txt");
	Touch(L"b.txt");
	ASSERT_EQ(1, ReadBatch("[SCRIPT]\nONE 1\n\n\nTWO 2\n[SETTING]\nOUTINFO=1\n[FILES]\nb.txt\n\ta.txt\n"
		"[other]\nignored\n[SCRIPT]\r\n\r\nTHREE 3\r\n"));
	EXPECT_EQ((std::vector<std::wstring>{ L"ONE", L"TWO", L"THREE" }), Commands());
	EXPECT_EQ((std::vector<std::wstring>{ L"1", L"2", L"3" }), Params());
	EXPECT_EQ((std::vector<std::wstring>{ L"b.txt", L"a.txt" }), Files());
	EXPECT_EQ(1, s_stGl.m_pSetting->OUTINFO);
}

TEST_F(BatchReader, LockIgnoresScriptsButReadsFiles)
{
	Touch(L"a.txt");
	s_stGl.m_iLock = 1;
	ASSERT_EQ(1, ReadBatch("[SCRIPT]\r\nDUMP\r\n[FILES]\r\na.txt\r\n"));
	EXPECT_TRUE(s_stGl.m_lstScript.empty());
	EXPECT_EQ(std::vector<std::wstring>{ L"a.txt" }, Files());
	EXPECT_EQ(L"", Log());
}

TEST_F(BatchReader, CommentsAreRemovedOutsideQuotes)
{
	ASSERT_EQ(1, ReadBatch("// head\r\n[SCRIPT]\r\nA x // note\r\n/* B\r\nC */D \"//kept /* too\"\r\n"));
	EXPECT_EQ((std::vector<std::wstring>{ L"A", L"D" }), Commands());
	EXPECT_EQ((std::vector<std::wstring>{ L"x ", L"\"//kept /* too\"" }), Params());
}

TEST_F(BatchReader, EnvironmentReferencesAreReplaced)
{
	_wputenv(L"KT_A=C:\\va");
	_wputenv(L"KT_B=vb");
	_wputenv((L"KT_LONG=" + std::wstring(256, L'l')).c_str());
	_wputenv(L"KT_UNSET=");
	struct Case { const char *name; const char *line; std::wstring param; };
	const Case cases[] = {
		{ "closing percent stays", "%KT_A%\\a.txt", L"C:\\va%\\a.txt" },
		{ "no closing percent", "%KT_A\\a.txt", L"C:\\va\\a.txt" },
		{ "percent after a number", "100%", L"100%" },
		{ "second reference after the percent", "%KT_A%KT_B", L"C:\\va" L"vb" },
		{ "unknown name", "%KT_UNSET.x", L"%KT_UNSET.x" },
		{ "value of 256 characters", "%KT_LONG", L"%KT_LONG" },
		{ "percent and blank", "a % b", L"a % b" },
	};
	for (const Case &c : cases) {
		Batch_reset();
		ASSERT_EQ(1, ReadBatch(std::string("[SCRIPT]\r\nECHO ") + c.line + "\r\n")) << "case " << c.name;
		EXPECT_EQ(std::vector<std::wstring>{ c.param }, Params()) << "case " << c.name;
	}
}

TEST_F(BatchReader, ExpansionGrowsBeyondThreeTimesTheText)
{
	const std::wstring strValue(255, L'v');
	_wputenv((L"KT_V=" + strValue).c_str());
	std::string strLine;
	std::wstring strExpected;
	for (int i = 0; i < 2000; i++) {
		strLine += "%KT_V";
		strExpected += strValue;
	}
	ASSERT_EQ(1, ReadBatch("[SCRIPT]\r\nECHO " + strLine + "\r\nNEXT\r\n"));
	EXPECT_EQ((std::vector<std::wstring>{ strExpected, L"" }), Params());
}

TEST_F(BatchReader, BracketInAFileLineEndsTheSection)
{
	Touch(L"a.txt");
	ASSERT_TRUE(m_dir.MakeDir(L"d"));
	ASSERT_EQ(1, ReadBatch("[FILES]\r\nd\\x[1].txt\r\na.txt\r\n[SCRIPT]\r\nDUMP\r\n"));
	// "d\x" matches nothing; "1].txt a.txt" lies outside every section.
	EXPECT_TRUE(Files().empty());
	EXPECT_EQ(std::vector<std::wstring>{ L"DUMP" }, Commands());
}

TEST_F(BatchReader, SecondBatchAppendsAndPrintsTheWholeScript)
{
	Touch(L"a.txt");
	Touch(L"b.txt");
	ASSERT_EQ(1, ReadBatch("[SCRIPT]\r\nONE a\r\n[FILES]\r\na.txt\r\n", L"one.kvl"));
	ASSERT_EQ(1, ReadBatch("[SCRIPT]\r\nTWO b\r\n[FILES]\r\nb.txt\r\na.txt\r\n", L"two.kvl"));
	EXPECT_EQ((std::vector<std::wstring>{ L"ONE", L"TWO" }), Commands());
	EXPECT_EQ((std::vector<std::wstring>{ L"a.txt", L"b.txt" }), Files());
	EXPECT_EQ(L"ONE a\r\nONE a\r\nTWO b\r\n", Log());
}

TEST_F(BatchReader, UnreadableOrEmptyBatchChangesNothing)
{
	SCRIPT_STAT st;
	st.m_strCommand = L"KEEP";
	s_stGl.m_lstScript.push_back(st);
	EXPECT_EQ(0, Read_KrelwinBatch(m_dir.Path(L"missing.kvl").c_str()));
	EXPECT_EQ(0, ReadBatch(""));
	EXPECT_EQ(0, Read_KrelwinBatch(nullptr));
	EXPECT_EQ(std::vector<std::wstring>{ L"KEEP" }, Commands());
	EXPECT_EQ(&s_stGl.m_stIniSetting, s_stGl.m_pSetting);
	EXPECT_EQ(L"", Log());
}

TEST_F(BatchReader, MalformedBatchesReadWithoutHarm)
{
	Touch(L"a.txt");
	const std::string strUtf16("\xff\xfe[\0S\0C\0R\0I\0P\0T\0]\0\r\0\n\0D\0U\0M\0P\0\r\0\n\0", 34);
	struct Case { const char *name; std::string bytes; std::vector<std::wstring> commands; std::vector<std::wstring> files; };
	const Case cases[] = {
		{ "UTF-16 text", strUtf16, {}, {} },
		{ "UTF-8 text", "[SCRIPT]\r\nECHO \xe3\x81\x82\xe3\x81\x84\r\n[FILES]\r\na.txt\r\n", { L"ECHO" }, { L"a.txt" } },
		{ "no sections", "DUMP\r\na.txt\r\n", {}, {} },
		{ "head without closing bracket", "[SCRIPT", {}, {} },
		{ "head of 40 characters", "[SCRIPTSCRIPTSCRIPTSCRIPTSCRIPTSCRIPTSCRI]\r\nDUMP\r\n", {}, {} },
		{ "cut-off Shift-JIS lead byte", "[SCRIPT]\r\nECHO \x82", { L"ECHO" }, {} },
		{ "unterminated block comment", "[SCRIPT]\r\nDUMP\r\n/* open\r\n[FILES]\r\na.txt\r\n", { L"DUMP", L"/*" }, { L"a.txt" } },
		{ "only a comment", "/* [SCRIPT]\r\nDUMP */", {}, {} },
		{ "nul bytes", std::string("[SCRIPT]\r\nA\0B\r\n[FILES]\r\na.txt\r\n", 31), { L"A" }, { L"a.txt" } },
	};
	for (const Case &c : cases) {
		Batch_reset();
		EXPECT_EQ(1, ReadBatch(c.bytes)) << "case " << c.name;
		EXPECT_EQ(c.commands, Commands()) << "case " << c.name;
		EXPECT_EQ(c.files, Files()) << "case " << c.name;
		EXPECT_EQ(0, s_stGl.m_iErrorCount) << "case " << c.name;
	}
}

TEST_F(BatchReader, LinesOfThousandsOfCharacters)
{
	Touch(L"a.txt");
	const std::string strParam(5000, 'p');
	const std::string strPath = std::string(5000, 'q') + ".txt";
	const std::string strHead(5000, 'S');
	ASSERT_EQ(1, ReadBatch("[" + strHead + "]\r\n[SCRIPT]\r\nECHO " + strParam + "\r\n[FILES]\r\n" + strPath + "\r\n" +
		std::string(259, 'r') + "\r\na.txt\r\n"));
	EXPECT_EQ(std::vector<std::wstring>{ std::wstring(strParam.begin(), strParam.end()) }, Params());
	// Paths of 260 characters or more are refused with an error; the next line still counts.
	EXPECT_EQ(std::vector<std::wstring>{ L"a.txt" }, Files());
	EXPECT_EQ(1, s_stGl.m_iErrorCount);
	EXPECT_NE(std::wstring::npos, Log().find(L"ERROR : path too long (5004). qqqq"));
}

TEST_F(BatchReader, SectionKindOfAPosition)
{
	struct Case { const char *name; std::wstring text; int kind; };
	const Case cases[] = {
		{ "script", L"[SCRIPT]", 1 }, { "files lower", L"[files]x", 2 }, { "setting", L"[SETTING]", 0 },
		{ "no bracket", L"SCRIPT]", 0 }, { "unclosed at the end", L"[FILES", 2 }, { "empty", L"[]", 0 },
		{ "longer name", L"[SCRIPTS]", 0 },
	};
	for (const Case &c : cases) {
		EXPECT_EQ(c.kind, Get_SectionKind(c.text.c_str(), c.text.c_str() + c.text.size())) << "case " << c.name;
	}
	const std::wstring strLimited = L"[FILES]";
	EXPECT_EQ(0, Get_SectionKind(strLimited.c_str(), strLimited.c_str() + 3));
}

TEST_F(BatchReader, BatchFolderIsTheDriveAndFolderOfThePath)
{
	struct Case { const char *name; std::wstring path; std::wstring dir; };
	const Case cases[] = {
		{ "full path", L"C:\\work\\job.kvl", L"C:\\work\\" },
		{ "drive root", L"D:job.kvl", L"D:" },
		{ "no folder", L"job.kvl", L"" },
		{ "too long a folder", L"C:\\" + std::wstring(270, L'f') + L"\\job.kvl", L"" },
	};
	for (const Case &c : cases) {
		wcscpy(s_stGl.m_szBatchDir, L"old");
		Set_BatchFolder(c.path.c_str());
		EXPECT_EQ(c.dir, s_stGl.m_szBatchDir) << "case " << c.name;
	}
}

} // namespace

namespace {

TEST_F(BatchReader, FileScansReportProgressInTheEntryLabel)
{
	ASSERT_TRUE(m_dir.MakeDir(L"sub"));
	for (int i = 0; i < 130; i++) ASSERT_TRUE(m_dir.Write(L"sub\\f" + std::to_wstring(i) + L".txt", "x"));
	HWND hLabel = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 80, 12, 0, 0, GetModuleHandleW(0), 0);
	ASSERT_TRUE(hLabel != 0);
	s_stGl.m_hEntry = hLabel;
	ASSERT_EQ(1, ReadBatch("[FILES]\r\nsub\r\n"));
	EXPECT_EQ(130, s_stGl.m_cFileList.GetCount());
	EXPECT_EQ(&Entry_progress, s_stGl.m_cFileList.m_pCallback);
	EXPECT_EQ(&s_stMainWnd, s_stGl.m_cFileList.m_pCallbackArg);
	EXPECT_EQ(60, s_stGl.m_cFileList.m_iCallbackInterval);
	// The scan called back; the label shows the count of that moment.
	wchar_t szLabel[64] = { 0 };
	GetWindowTextW(hLabel, szLabel, 64);
	EXPECT_EQ(0, wcsncmp(szLabel, L"Entry : ", 8)) << szLabel;

	EXPECT_EQ(0, Entry_progress(0));
	GetWindowTextW(hLabel, szLabel, 64);
	EXPECT_STREQ(L"Entry : 130", szLabel);
	s_stGl.m_hEntry = 0;
	EXPECT_EQ(0, Entry_progress(0));	// no label yet: nothing to show
	DestroyWindow(hLabel);
}

} // namespace
