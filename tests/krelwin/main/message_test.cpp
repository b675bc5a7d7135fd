#include "engine_fixture.h"

#include "krelwin/main/message.h"

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

// The log window: a real multi-line edit (without word wrap, which is slow under Wine).
class MessageEdit : public EngineTest {
protected:
	void SetUp() override {
		EngineTest::SetUp();
		m_hEdit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
			0, 0, 300, 200, 0, 0, GetModuleHandleW(0), 0);
		ASSERT_TRUE(m_hEdit != 0);
		SendMessageW(m_hEdit, EM_SETLIMITTEXT, 0, 0);
		s_stGl.m_hMessage = m_hEdit;
	}
	void TearDown() override {
		s_stGl.m_hMessage = 0;
		if (m_hEdit) DestroyWindow(m_hEdit);
		EngineTest::TearDown();
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
	EXPECT_EQ(L"one\r\n\r\n三\r\n", EditText());
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
	EXPECT_EQ(strEdit.substr(300) + L"0123456789\r\n", EditText());
	EXPECT_EQ(L"0123456789\r\n", Log());
}

TEST_F(MessageEdit, LineLongerThanHalfTheEditReplacesEverything)
{
	SetEditText(L"old\r\nlines\r\n");
	const std::wstring strLong(16000, L'L');
	Message_win(strLong.c_str());
	EXPECT_EQ(strLong + L"\r\n", EditText());
	// The next line trims again from a fresh read: the long line goes whole.
	const std::wstring strNext(14000, L'n');
	Message_win(strNext.c_str());
	EXPECT_EQ(strNext + L"\r\n", EditText());
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
	const std::wstring strEdit = EditText();
	EXPECT_LE((int)strEdit.size(), MESSAGE_EDIT_LIMIT);
	const std::wstring strLast = L"line 799 of the log " + strPad + L"\r\n";
	EXPECT_EQ(strLast, strEdit.substr(strEdit.size() - strLast.size()));
	// Whole lines only: the earlier lines went first and the newest are all there.
	EXPECT_EQ(0u, strEdit.find(L"earlier line\r\n"));
	EXPECT_NE(std::wstring::npos, strEdit.find(L"\r\nline 700 of the log "));
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
