#include "engine_fixture.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "tests/krelwin/main/edit_reference.h"

namespace {

class MessageLog : public EngineTest {};

TEST_F(MessageLog, LinesAreAppendedWithCrLfAndOnlyErrorsCount)
{
	s_stGl.m_iErrorCount = 0;
	Message_win(L"開始");
	Message_win(L"");
	Message_win(0);
	Message_info(L"info %s %d", L"a", 7);
	Message_err(L"err %s", L"b");
	EXPECT_EQ(L"開始\r\n\r\n\r\ninfo a 7\r\nerr b\r\n", Log());
	EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(MessageLog, ClearKeepsTheErrorCountAndResetClearsIt)
{
	s_stGl.m_iErrorCount = 0;
	Message_err(L"one");
	Message_err(L"two");
	Message_clear();
	EXPECT_EQ(L"", Log());
	EXPECT_EQ(2, s_stGl.m_iErrorCount);
	Message_win(L"after clear");
	EXPECT_EQ(L"after clear\r\n", Log());

	Batch_reset();
	EXPECT_EQ(0, s_stGl.m_iErrorCount);
	EXPECT_EQ(L"", Log());
	// The log knows its own length; emptied behind its back it must start again at 0.
	Message_win(L"x");
	EXPECT_EQ(L"x\r\n", Log());
}

TEST_F(MessageLog, FormattedLinesLongerThanTheirBufferAreCut)
{
	const std::wstring strLong(300000, L'a');
	Message_err(L"%s", strLong.c_str());
	EXPECT_EQ(std::wstring(MESSAGE_ERR_LENGTH - 1, L'a') + L"\r\n", Log());
	EXPECT_EQ(1, s_stGl.m_iErrorCount);

	Message_clear();
	Message_info(L"%s", strLong.c_str());
	EXPECT_EQ(std::wstring(MESSAGE_INFO_LENGTH - 1, L'a') + L"\r\n", Log());
}

TEST_F(MessageLog, BufferGrowsByOneStepWhenTheHeadroomRunsOut)
{
	// 800,000 characters with CR LF: they fit, but leave less than the headroom.
	const std::wstring strFirst(799998, L'x');
	Message_win(strFirst.c_str());
	EXPECT_EQ(MESSAGE_BUFFER_STEP, s_iMsgSize);
	Message_win(L"next");
	EXPECT_EQ(2 * MESSAGE_BUFFER_STEP, s_iMsgSize);
	EXPECT_EQ(strFirst + L"\r\nnext\r\n", Log());

	// Lines of 1,000 characters: one step each time the length passes the headroom mark.
	Message_clear();
	const std::wstring strLine(998, L'y');
	for (int i = 0; i < 1900; i++) Message_win(strLine.c_str());
	EXPECT_EQ(3 * MESSAGE_BUFFER_STEP, s_iMsgSize);
	const std::wstring strLog = Log();
	ASSERT_EQ(1900u * 1000u, strLog.size());
	EXPECT_EQ(strLine + L"\r\n", strLog.substr(1899000));
}

TEST_F(MessageLog, LineLongerThanAGrowthStepIsKeptWhole)
{
	Message_win(L"head");
	const std::wstring strHuge(3 * MESSAGE_BUFFER_STEP + 5, L'h');
	Message_win(strHuge.c_str());
	Message_win(L"tail");
	EXPECT_GT(s_iMsgSize, (int)(strHuge.size() + 12));
	EXPECT_EQ(L"head\r\n" + strHuge + L"\r\ntail\r\n", Log());
}

TEST_F(MessageLog, KeptTextStartsAfterTheFirstLineEndAtOrAfterTheRoom)
{
	struct Case { const char *name; std::wstring text; int room; int expected; };
	const Case cases[] = {
		{ "line end after the room", L"aaaa\r\nbb\r\ncc", 3, 6 },
		{ "line end at the room", L"aa\r\nbb\r\ncc", 2, 4 },
		{ "line end before the room is skipped", L"a\r\nbbbb\r\ncc", 3, 9 },
		{ "CR without LF is no line end", L"aaaa\rbb\r\n", 1, 9 },
		{ "CR as the last character", L"aaaa\r", 1, 5 },
		{ "no line end: nothing kept", L"aaaaaaaa", 2, 8 },
		{ "room past the text", L"aa\r\nbb", 100, 6 },
	};
	for (const Case &c : cases) {
		EXPECT_EQ(c.expected, Message_keepFrom(c.text.c_str(), (int)c.text.size(), c.room)) << "case " << c.name;
	}
}

// The log window: a real multi-line edit (without word wrap, which is slow under Wine), and a
// clock that stands still unless a test moves it.
unsigned int s_uNow = 100000;
unsigned int TestClock() { return s_uNow; }

// An edit whose every replacement takes the given time by that clock.
unsigned int s_uReplaceMs = 0;
WNDPROC s_pEditProc = 0;
LRESULT CALLBACK SlowEdit(HWND _hWnd, UINT _uMsg, WPARAM _wParam, LPARAM _lParam)
{
	if (_uMsg == EM_REPLACESEL) s_uNow += s_uReplaceMs;
	return CallWindowProcW(s_pEditProc, _hWnd, _uMsg, _wParam, _lParam);
}

class MessageEdit : public EngineTest {
protected:
	void SetUp() override {
		EngineTest::SetUp();
		s_uNow = 100000;
		Message_setClock(TestClock);
		m_hEdit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
			0, 0, 300, 200, 0, 0, GetModuleHandleW(0), 0);
		ASSERT_TRUE(m_hEdit != 0);
		SendMessageW(m_hEdit, EM_SETLIMITTEXT, 0, 0);
		s_stGl.m_hMessage = m_hEdit;
	}
	void TearDown() override {
		s_stGl.m_hMessage = 0;
		if (m_hEdit) DestroyWindow(m_hEdit);
		Message_setClock(0);
		EngineTest::TearDown();
	}
	// The edit once the lines logged so far have been sent, as at the end of a step.
	std::wstring Shown() const {
		Message_flush();
		return EditText();
	}
	std::wstring EditText() const {
		int n = (int)SendMessageW(m_hEdit, WM_GETTEXTLENGTH, 0, 0);
		std::wstring s((size_t)n + 1, L'\0');
		GetWindowTextW(m_hEdit, &s[0], n + 1);
		s.resize((size_t)n);
		return s;
	}
	void SetEditText(const std::wstring &_str) { SetWindowTextW(m_hEdit, _str.c_str()); }
	HWND m_hEdit = 0;
};

TEST_F(MessageEdit, ShowsTheLinesItAppends)
{
	Message_win(L"one");
	Message_win(L"");
	Message_win(L"三");
	EXPECT_EQ(L"one\r\n\r\n三\r\n", Shown());
	Message_clear();
	EXPECT_EQ(L"", EditText());
	EXPECT_EQ(L"", Log());
}

TEST_F(MessageEdit, FullEditDropsWholeLinesFromItsHead)
{
	// 299 lines of 100 characters: 29,900 in all.
	std::wstring strEdit;
	for (int i = 0; i < 299; i++) strEdit += std::wstring(98, (wchar_t)(L'A' + i % 26)) + L"\r\n";
	SetEditText(strEdit);
	Message_win(L"0123456789");
	// Room needed 256: the first line end at or after 256 ends the third line (at 298).
	EXPECT_EQ(strEdit.substr(300) + L"0123456789\r\n", Shown());
	EXPECT_EQ(L"0123456789\r\n", Log());
}

TEST_F(MessageEdit, LineLongerThanHalfTheEditReplacesEverything)
{
	SetEditText(L"old\r\nlines\r\n");
	const std::wstring strLong(16000, L'L');
	Message_win(strLong.c_str());
	EXPECT_EQ(strLong + L"\r\n", Shown());
	// The next line trims again from a fresh read: the long line goes whole.
	const std::wstring strNext(14000, L'n');
	Message_win(strNext.c_str());
	EXPECT_EQ(strNext + L"\r\n", Shown());
	EXPECT_EQ(strLong + L"\r\n" + strNext + L"\r\n", Log());
}

TEST_F(MessageEdit, EditStaysBelowItsLimitOverManyLines)
{
	// Start near the limit; the edit control is slow to fill line by line under Wine.
	std::wstring strStart;
	while (strStart.size() < 29000) strStart += L"earlier line\r\n";
	SetEditText(strStart);
	const std::wstring strPad(50, L'.');
	for (int i = 700; i < 800; i++) Message_info(L"line %d of the log %s", i, strPad.c_str());
	const std::wstring strEdit = Shown();
	EXPECT_LE((int)strEdit.size(), MESSAGE_EDIT_LIMIT);
	const std::wstring strLast = L"line 799 of the log " + strPad + L"\r\n";
	EXPECT_EQ(strLast, strEdit.substr(strEdit.size() - strLast.size()));
	// Whole lines only: the earlier lines went first and the newest are all there.
	EXPECT_EQ(0u, strEdit.find(L"earlier line\r\n"));
	EXPECT_NE(std::wstring::npos, strEdit.find(L"\r\nline 700 of the log "));
}

TEST_F(MessageEdit, LinesWaitForTheDeadlineOrAFlush)
{
	// After a quiet time the first line is shown at once; lines soon after it wait.
	Message_win(L"first");
	EXPECT_EQ(L"first\r\n", EditText());
	s_uNow += MESSAGE_FLUSH_MS - 1;
	Message_win(L"second");
	EXPECT_EQ(L"first\r\n", EditText());
	// The first line once the deadline has passed takes every waiting one along.
	s_uNow += 1;
	Message_win(L"third");
	EXPECT_EQ(L"first\r\nsecond\r\nthird\r\n", EditText());
	Message_win(L"fourth");
	EXPECT_EQ(L"first\r\nsecond\r\nthird\r\n", EditText());
	Message_flush();
	EXPECT_EQ(L"first\r\nsecond\r\nthird\r\nfourth\r\n", EditText());
	// Clearing drops what waits; a later flush brings nothing back.
	Message_win(L"waiting");
	Message_clear();
	Message_flush();
	EXPECT_EQ(L"", EditText());
	EXPECT_EQ(L"", Log());
	Message_win(L"after");
	EXPECT_EQ(L"after\r\n", Shown());
}

TEST_F(MessageEdit, ASlowControlIsChangedLessOften)
{
	s_pEditProc = (WNDPROC)SetWindowLongPtrW(m_hEdit, GWLP_WNDPROC, (LONG_PTR)SlowEdit);
	s_uReplaceMs = 300;
	Message_win(L"first");
	// The change took 300 ms: lines now wait as long.
	s_uNow += MESSAGE_FLUSH_MS;
	Message_win(L"second");
	EXPECT_EQ(L"first\r\n", EditText());
	s_uNow += 300 - MESSAGE_FLUSH_MS;
	Message_win(L"third");
	EXPECT_EQ(L"first\r\nsecond\r\nthird\r\n", EditText());
	// Once a change is quick again, so is the wait.
	s_uReplaceMs = 0;
	s_uNow += 300;
	Message_win(L"fourth");
	s_uNow += MESSAGE_FLUSH_MS;
	Message_win(L"fifth");
	EXPECT_EQ(L"first\r\nsecond\r\nthird\r\nfourth\r\nfifth\r\n", EditText());
	SetWindowLongPtrW(m_hEdit, GWLP_WNDPROC, (LONG_PTR)s_pEditProc);
}

TEST_F(MessageEdit, WaitingLinesReachTheEditFromTheMessageLoop)
{
	Message_win(L"shown at once");
	Message_win(L"waits");
	ASSERT_EQ(L"shown at once\r\n", EditText());
	// No further line and no flush: the window's timer brings it, within a bound.
	const DWORD dwStart = GetTickCount();
	while (EditText() != L"shown at once\r\nwaits\r\n" && GetTickCount() - dwStart < 10000) {
		MSG stMsg;
		while (PeekMessageW(&stMsg, 0, 0, 0, PM_REMOVE)) DispatchMessageW(&stMsg);
		Sleep(5);
	}
	EXPECT_EQ(L"shown at once\r\nwaits\r\n", EditText());
}

TEST_F(MessageEdit, LongWorkShowsWaitingLinesOnceTheyHaveWaited)
{
	Message_win(L"shown at once");
	s_uNow += 1;
	Message_win(L"waits");
	ASSERT_EQ(L"shown at once\r\n", EditText());
	// Work that logs nothing polls: the line comes out at its deadline, not before.
	s_uNow += MESSAGE_FLUSH_MS - 2;
	BUSY_poll();
	EXPECT_EQ(L"shown at once\r\n", EditText());
	s_uNow += 1;
	BUSY_poll();
	EXPECT_EQ(L"shown at once\r\nwaits\r\n", EditText());

	// A burst keeps its batching: lines just after that update wait again.
	Message_win(L"burst 1");
	s_uNow += 10;
	Message_win(L"burst 2");
	BUSY_poll();
	EXPECT_EQ(L"shown at once\r\nwaits\r\n", EditText());
	s_uNow += MESSAGE_FLUSH_MS;
	BUSY_poll();
	EXPECT_EQ(L"shown at once\r\nwaits\r\nburst 1\r\nburst 2\r\n", EditText());

	// Cleared while lines wait: a poll brings nothing back.
	Message_win(L"dropped");
	Message_clear();
	s_uNow += MESSAGE_FLUSH_MS;
	BUSY_poll();
	EXPECT_EQ(L"", EditText());
	EXPECT_EQ(L"", Log());
}

TEST_F(MessageEdit, LongWorkShowsWaitingLinesOnTheSystemClock)
{
	// The system's timer says when the line's time is up; work that polls, with no message
	// loop, shows it then (within a bound).
	Message_setClock(0);
	Message_win(L"shown at once");
	Message_win(L"waits");
	const DWORD dwStart = GetTickCount();
	while (EditText() != L"shown at once\r\nwaits\r\n" && GetTickCount() - dwStart < 10000) BUSY_poll();
	EXPECT_EQ(L"shown at once\r\nwaits\r\n", EditText());
}

TEST_F(MessageEdit, LongWorkWaitsAsLongAsASlowControlTookToChange)
{
	s_pEditProc = (WNDPROC)SetWindowLongPtrW(m_hEdit, GWLP_WNDPROC, (LONG_PTR)SlowEdit);
	s_uReplaceMs = 300;
	Message_win(L"first");
	Message_win(L"second");
	s_uNow += MESSAGE_FLUSH_MS;
	BUSY_poll();
	EXPECT_EQ(L"first\r\n", EditText());
	s_uNow += 300 - MESSAGE_FLUSH_MS;
	BUSY_poll();
	EXPECT_EQ(L"first\r\nsecond\r\n", EditText());
	SetWindowLongPtrW(m_hEdit, GWLP_WNDPROC, (LONG_PTR)s_pEditProc);
}

TEST_F(MessageEdit, LongWorkOnAnotherThreadLeavesTheEditAlone)
{
	Message_win(L"shown at once");
	Message_win(L"waits");
	s_uNow += MESSAGE_FLUSH_MS;
	// Only the thread that owns the edit may change it: from another one a poll does nothing.
	// Had it sent to the edit, the messages would wait for this thread, which takes sent
	// messages only (the edit's own timer must not show the line here).
	std::atomic<int> iDone(0);
	std::thread cWorker([&iDone] {
		BUSY_poll();
		iDone = 1;
	});
	const DWORD dwStart = GetTickCount();
	while (!iDone && GetTickCount() - dwStart < 10000) {
		MSG stMsg;
		PeekMessageW(&stMsg, 0, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
		Sleep(1);
	}
	cWorker.join();
	EXPECT_EQ(L"shown at once\r\n", EditText());
	BUSY_poll();
	EXPECT_EQ(L"shown at once\r\nwaits\r\n", EditText());
}

// Benchmark, not a test: what a poll of long work costs with nothing to show, while a line waits
// for its time (the system's clock; the polls take less than that time), and while polls look
// at the clock on every call (a clock of the tests' own that stands still). Run with
// --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(MessageEdit, DISABLED_BenchmarkPollsIdleAndWhileALineWaits)
{
	const int iPolls = 10000000;
	auto nsPerPoll = [iPolls]() {
		const auto t0 = std::chrono::steady_clock::now();
		for (int i = 0; i < iPolls; i++) BUSY_poll();
		return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / iPolls;
	};
	const double dIdle = nsPerPoll();
	Message_setClock(0);
	Message_win(L"shown at once");
	Message_win(L"waits");
	const double dWaiting = nsPerPoll();
	const bool bStillWaiting = EditText() == L"shown at once\r\n";
	Message_clear();
	Message_setClock(TestClock);
	Message_win(L"shown at once");
	Message_win(L"waits");
	const double dLooking = nsPerPoll();
	std::printf("BUSY_poll: %.2f ns with nothing to show, %.2f ns while a line waits%s, %.2f ns looking at the clock\n",
				dIdle, dWaiting, bStillWaiting ? "" : " (and was shown)", dLooking);
}

// Lines of every kind in pieces of every size: after each flush the edit holds what it would
// hold had each line gone to it on its own.
TEST_F(MessageEdit, FlushedPiecesLeaveWhatLineByLineTrimmingLeaves)
{
	std::vector<std::wstring> vLines;
	unsigned int uSeed = 7;
	auto next = [&]() { uSeed = uSeed * 1103515245u + 12345u; return (uSeed >> 16) & 0x7FFF; };
	for (int i = 0; i < 1500; i++) {
		const unsigned int uKind = next() % 100;
		size_t uLength = next() % 90;
		if (uKind < 3) uLength = 0;
		else if (uKind < 6) uLength = 120 + next() % 400;	// room twice the line
		else if (uKind == 6) uLength = 9000 + next() % 8000;	// over half the edit or near it
		else if (uKind == 7 && i % 5 == 0) uLength = 31000;	// more than the edit holds
		std::wstring strLine = L"L" + std::to_wstring(i) + L" ";
		strLine += std::wstring(uLength, (wchar_t)(L'a' + i % 26));
		vLines.push_back(strLine);
	}
	std::wstring strStart;
	while (strStart.size() < 29000) strStart += L"earlier line\r\n";
	SetEditText(strStart);
	std::wstring strExpected = strStart;
	size_t uFrom = 0;
	int iFlushes = 0;
	for (size_t u = 0; u < vLines.size(); u++) {
		// A flush now and then by the deadline, by hand, or after many lines.
		s_uNow += next() % 12;
		Message_win(vLines[u].c_str());
		const unsigned int uWhen = next() % 40;
		if (uWhen == 0 || u + 1 == vLines.size()) {
			Message_flush();
			strExpected = TrimmedEdit(strExpected, std::vector<std::wstring>(vLines.begin() + uFrom, vLines.begin() + u + 1));
			uFrom = u + 1;
			iFlushes++;
			ASSERT_EQ(strExpected, EditText()) << "after line " << u;
		}
	}
	EXPECT_GT(iFlushes, 20);
	std::wstring strLog;
	for (const std::wstring &strLine : vLines) strLog += strLine + L"\r\n";
	EXPECT_EQ(strLog, Log());
}

TEST_F(MessageEdit, ChangeBehindTheLogsBackIsTakenAsItIs)
{
	Message_win(L"one");
	// Something else rewrites the control while no line waits: the next line trims from it.
	std::wstring strOther;
	while (strOther.size() < 29900) strOther += std::wstring(98, L'o') + L"\r\n";
	SetEditText(strOther);
	s_uNow += MESSAGE_FLUSH_MS;
	Message_win(L"two");
	EXPECT_EQ(TrimmedEdit(strOther, { L"two" }), EditText());
	// A control that takes less than it is given (its text limit): later lines go on from
	// what it holds.
	SendMessageW(m_hEdit, EM_SETLIMITTEXT, 1000, 0);
	Message_clear();
	const std::wstring strLong(1200, L'x');
	s_uNow += MESSAGE_FLUSH_MS;
	Message_win(strLong.c_str());
	const std::wstring strCut = EditText();
	ASSERT_EQ(std::wstring(1000, L'x'), strCut);
	SendMessageW(m_hEdit, EM_SETLIMITTEXT, 0, 0);
	s_uNow += MESSAGE_FLUSH_MS;
	Message_win(L"three");
	EXPECT_EQ(TrimmedEdit(strCut, { L"three" }), EditText());
}

class MessageFile : public EngineTest {};

TEST_F(MessageFile, LogFileNameFollowsTheBatchFolder)
{
	ASSERT_TRUE(m_dir.MakeDir(L"log"));
	const std::wstring strDir = m_dir.Path() + L"\\";
	wcscpy(s_stGl.m_szBatchDir, strDir.c_str());
	wcscpy(s_stGl.m_szBatchPath, (strDir + L"job.kvl").c_str());
	Message_win(L"開始");
	// 開始 in Shift-JIS, then CR LF.
	const std::string strBytes = "\x8a\x4a\x8e\x6e\r\n";

	struct Case { const char *name; std::wstring arg; std::wstring file; };
	const Case cases[] = {
		{ "empty name", L"", L"res_job.txt" },
		{ "relative name with a folder", L"log\\msg.txt", L"log\\msg.txt" },
		{ "full path", m_dir.Path(L"full.txt"), L"full.txt" },
	};
	for (const Case &c : cases) {
		EXPECT_EQ(1, out_infomessage(c.arg.c_str())) << "case " << c.name;
		EXPECT_EQ(strBytes, m_dir.Read(c.file)) << "case " << c.name;
	}
}

TEST_F(MessageFile, WholeGrownLogReachesTheFile)
{
	wcscpy(s_stGl.m_szBatchDir, (m_dir.Path() + L"\\").c_str());
	wcscpy(s_stGl.m_szBatchPath, m_dir.Path(L"big.kvl").c_str());
	const std::wstring strLine(998, L'z');
	for (int i = 0; i < 801; i++) Message_win(strLine.c_str());
	ASSERT_EQ(2 * MESSAGE_BUFFER_STEP, s_iMsgSize);
	EXPECT_EQ(1, out_infomessage(L"big.txt"));
	EXPECT_EQ(801u * 1000u, m_dir.Read(L"big.txt").size());
}

TEST_F(MessageFile, UnwritableLogFileLeavesTheLogAlone)
{
	wcscpy(s_stGl.m_szBatchDir, (m_dir.Path() + L"\\").c_str());
	Message_win(L"kept");
	EXPECT_EQ(0, out_infomessage(L"no such folder\\msg.txt"));
	EXPECT_EQ(L"kept\r\n", Log());
	// A name that would make the path too long is refused, not cut.
	const std::wstring strLong(300, L'n');
	EXPECT_EQ(0, out_infomessage(strLong.c_str()));
}

} // namespace

