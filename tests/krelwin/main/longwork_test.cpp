// Command steps that work long without logging: a line logged just before such work is in
// the log window before the work ends, not only once the step is over.
#include "engine_fixture.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "krelwin/main/output.h"
#include "krelwin/module/fitparts_search.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/edit_watch.h"
#include "tests/krelwin/module/wave_fixture.h"
#include "tests/support/bmpfile.h"

namespace {

int s_iAsked = 0;
int AnswerYes(const wchar_t *) { s_iAsked++; return OUTPUT_ANSWER_YES; }

// Texts of many short lines.
std::string Lines(int _iCount, const std::function<std::string(int)> &_line)
{
	std::string s;
	for (int i = 0; i < _iCount; i++) s += _line(i) + "\r\n";
	return s;
}

std::string Num(int _i) { return std::to_string(_i); }

using bmpfile::Noise;
using bmpfile::Picture;

class LongWork : public EngineTest {
protected:
	void SetUp() override {
		EngineTest::SetUp();
		Module_releaseAll();
		Message_setClock(edit_watch::TickingClock);
		m_hEdit = edit_watch::MakeLogEdit();
		ASSERT_TRUE(m_hEdit != 0);
		s_stGl.m_hMessage = m_hEdit;
		const std::wstring strDir = m_dir.Path() + L"\\";
		wcscpy(s_stGl.m_szBatchDir, strDir.c_str());
		wcscpy(s_stGl.m_szBatchPath, (strDir + L"job.kvl").c_str());
		// Outputs that exist are kept as backups: a question would show the log itself.
		s_stGl.m_pSetting->BACKUP = 1;
		s_iAsked = 0;
		m_pOldAsk = Output_setAsk(AnswerYes);
	}
	void TearDown() override {
		Command_quit(1);
		Module_releaseAll();
		Output_setAsk(m_pOldAsk);
		edit_watch::Stop();
		s_stGl.m_hMessage = 0;
		if (m_hEdit) DestroyWindow(m_hEdit);
		Message_setClock(0);
		EngineTest::TearDown();
	}
	// After a quiet time the first line shows at once; the next, just after it, waits.
	static void LogTwoLines(const wchar_t *_pSecond) {
		edit_watch::Ticks() += 1000;
		Message_win(L"earlier");
		Message_win(_pSecond);
	}
	static SCRIPT_STAT Line(const wchar_t *_pCommand, const wchar_t *_pParam) {
		SCRIPT_STAT st;
		st.m_strCommand = _pCommand;
		st.m_strParam = _pParam;
		return st;
	}
	HWND m_hEdit = 0;
	OUTPUT_ASK m_pOldAsk = 0;
};

struct Case {
	const char *name;
	std::vector<std::pair<std::wstring, std::string>> files;
	const wchar_t *command;
	const wchar_t *target;
	const wchar_t *param;
	// The line the command logs just before its long work; none: the line logged before the
	// step is the one that waits.
	const wchar_t *watched;
	// The long work is the end of the line (the sorted reports of Quit), after a step.
	bool atQuit;
};

TEST_F(LongWork, ALineLoggedBeforeLongWorkIsShownBeforeTheWorkEnds)
{
	const std::string strWords = Lines(300, [](int i) { return "w" + Num((i * 7919) % 1000) + " text line " + Num(i); });
	const std::string strCalls = "CALL(" + [] {
		std::string s;
		for (int i = 0; i < 300; i++) s += (i ? "," : "") + std::string("p") + Num((i * 7919) % 1000);
		return s;
	}() + ")\r\n";
	const std::string strScript = Lines(200, [](int i) { return "play(\"f" + Num(i % 9) + ".wav\")"; });
	const std::string strFunctions = Lines(300, [](int i) { return "fn" + Num((i * 7919) % 1000) + "(x)"; });
	// 8 kHz, one second of 8-bit samples.
	std::vector<int> vLevels;
	for (int i = 0; i < 8000; i++) vLevels.push_back((i % 20) - 10);
	const std::string strWave = wave_fixture::Wave(1, 8000, 8, wave_fixture::Bytes8(vLevels));
	std::string strRuns;
	for (int i = 0; i < 4096; i++) strRuns += static_cast<char>((i / 16) & 0xFF);
	// The part lies near the end of the places searched.
	const std::string strBase = Picture(120, 100, 24, Noise);
	const std::string strPart = Picture(10, 10, 24, [](int x, int y) { return Noise(x + 100, y + 80); });

	const std::string strIndexed = Picture(16, 300, 8, [](int x, int y) { return (uint32_t)(x + y) & 0xFF; });

	const Case cases[] = {
		{ "FITPARTS search",
		  { { L"img\\base.bmp", strBase }, { L"img\\part.bmp", strPart }, { L"list.txt", "base.bmp\r\n\tpart.bmp\r\n" } },
		  L"FITPARTS", L"list.txt", L"img out", L"fiting", false },
		{ "LISTSORT sort", { { L"lines.txt", strWords } },
		  L"LISTSORT", L"lines.txt", L"", L"文字コードで昇順ソートします.", false },
		{ "VIRAGREP search", { { L"words.txt", "text\r\nline\r\n" }, { L"a.txt", strWords } },
		  L"VIRAGREP", L"a.txt", L"words.txt", L"GrepList:words.txt", false },
		{ "CHECKSCR folder and script scan", { { L"data\\f1.wav", "x" }, { L"data\\f2.wav", "x" }, { L"s.txt", strScript } },
		  L"CHECKSCR", L"s.txt", L"data", L"数値のみはファイル名と判断しません", false },
		{ "CHECKTXT literal scan", { { L"chk.ini", "[MAIN]\r\n" }, { L"s.txt", strScript } },
		  L"CHECKTXT", L"s.txt", L"chk.ini", 0, false },
		{ "REPLACE text", { { L"rules.txt", "line\tLINE\r\nw1\tW1\r\n" }, { L"a.txt", strWords } },
		  L"REPLACE", L"a.txt", L"rules.txt r.txt", 0, false },
		{ "KANJI_CHECK scan", { { L"a.txt", strWords } }, L"KANJI_CHECK", L"a.txt", L"", 0, false },
		{ "LISTUPPARAM sorted list", { { L"a.txt", strCalls } },
		  L"LISTUPPARAM", L"a.txt", L"CALL", L"CALL[300] = {", true },
		{ "LISTUPSCR sorted tables", { { L"a.txt", strFunctions } }, L"LISTUPSCR", L"a.txt", L"", 0, true },
		{ "DUMP conversion", { { L"a.bin", strRuns } }, L"DUMP", L"a.bin", L"", 0, false },
		{ "ZEN2HAN conversion", { { L"a.txt", strWords } }, L"ZEN2HAN", L"a.txt", L"z.txt", 0, false },
		{ "DELREM conversion", { { L"a.txt", strScript } }, L"DELREM", L"a.txt", L"d.txt", L"delrem", false },
		{ "FUNCTION_BASE copy", { { L"a.txt", strWords } }, L"FUNCTION_BASE", L"a.txt", L"f.txt", 0, false },
		{ "RLSPRESS coding", { { L"a.bin", strRuns } }, L"RLSPRESS", L"a.bin", L"", 0, false },
		{ "D2ATEX rewrite", { { L"a.txt", strWords } }, L"D2ATEX", L"a.txt", L"t.txt", 0, false },
		{ "UTTER levels", { { L"a.wav", strWave } }, L"UTTER", L"a.wav", L"", 0, false },
		{ "MAKEMASK pixels", { { L"a.bmp", strIndexed } }, L"MAKEMASK", L"a.bmp", L"", 0, false },
		{ "BMP_RESIZE pixels", { { L"a.bmp", strIndexed } },
		  L"BMP_RESIZE", L"a.bmp", L"b.bmp 20,300", L"a(16,300)->(20,300)", false },
	};
	ASSERT_TRUE(m_dir.MakeDir(L"img"));
	ASSERT_TRUE(m_dir.MakeDir(L"out"));
	ASSERT_TRUE(m_dir.MakeDir(L"data"));
	for (const Case &c : cases) {
		SCOPED_TRACE(c.name);
		for (const auto &stFile : c.files) ASSERT_TRUE(m_dir.Write(stFile.first, stFile.second));
		const SCRIPT_STAT stLine = Line(c.command, c.param);
		const std::wstring strTarget = m_dir.Path(c.target);
		s_stGl.m_iErrorCount = 0;
		Message_clear();
		if (c.atQuit) Command_exec(stLine, strTarget.c_str());
		LogTwoLines(L"just before the step");
		edit_watch::Start(m_hEdit, { c.watched ? c.watched : L"just before the step" });
		if (c.atQuit) Command_quit(1);
		else Command_exec(stLine, strTarget.c_str());
		EXPECT_TRUE(edit_watch::ShownWhileLast(0));
		// What the log and, at the step's end, the edit hold is as it always was.
		Message_flush();
		EXPECT_EQ(Log(), edit_watch::EditText(m_hEdit));
		EXPECT_EQ(0, s_stGl.m_iErrorCount) << Narrow(Log());
		Command_quit(1);
	}
	EXPECT_EQ(0, s_iAsked);
}

TEST_F(LongWork, APartSearchShowsAWaitingLineWhileItRuns)
{
	// The search alone, without the reading of its images: a part near the end of the places.
	const int iW = 200, iH = 150, iPw = 16, iPh = 16;
	std::vector<uint32_t> vBase, vPart;
	for (int y = 0; y < iH; y++) {
		for (int x = 0; x < iW; x++) vBase.push_back(Noise(x, y));
	}
	for (int y = 0; y < iPh; y++) {
		for (int x = 0; x < iPw; x++) vPart.push_back(Noise(x + 170, y + 120));
	}
	const FITPARTS_IMAGE stBase = { vBase.data(), iW, iH };
	const FITPARTS_IMAGE stPart = { vPart.data(), iPw, iPh };
	LogTwoLines(L"fiting");
	edit_watch::Start(m_hEdit, { L"fiting" });
	const FITPARTS_RESULT stFound = FITPARTS_Search(stBase, stPart, 0xFFFFFFFFu, 1, 80);
	EXPECT_EQ(170, stFound.iX);
	EXPECT_EQ(120, stFound.iY);
	EXPECT_TRUE(edit_watch::ShownWhileLast(0));
	EXPECT_EQ(L"earlier\r\nfiting\r\n", edit_watch::EditText(m_hEdit));
}

} // namespace
