// CHECKTXT through krelwin.exe: a batch file runs the checker over Shift-JIS texts and the
// message log it writes is compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::Files;
using e2e::KrelwinRun;
using e2e::RunJob;

TEST(CheckTxtE2E, FindingsAndTheLongestSegmentGoToTheLog)
{
	KrelwinRun run;
	ASSERT_TRUE(run.Ok());
	const auto &d = run.Dir();
	ASSERT_TRUE(d.Write(L"check.ini", Ansi(L"[MAIN]\r\nNOTETYPE=1\r\nENABLEENDCHAR=。\r\nSYMBESTLONG=、\r\n"
										   L"STRING=表記\r\n行う\t行なう\r\n")));
	ASSERT_TRUE(d.Write(L"t.txt", Ansi(L"検査を行う。\r\nあいうえお、か\r\n")));
	// The file is listed with its full path, which the findings print.
	const std::wstring strPath = d.Path(L"t.txt");
	std::string strLog;
	// Findings are no errors: the automatic run closes the program.
	ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHECKTXT check.ini\r\n" + Files(d, {L"t.txt"}), 0, &strLog));
	EXPECT_EQ(Ansi(L"A\t" + strPath + L"(1): 検査を行う。\t\t←表記の可能性\"行う\"を含む  行なう\r\n"
				   L"0\t" + strPath + L"(2): あいうえお、か\t\t←末尾が有効な文字で終っていない\r\n"
				   L"長\t" + strPath + L"(1): 検査を行う。\r\n"
				   L"Completed...\r\n"),
			  strLog);
}

TEST(CheckTxtE2E, AMissingSettingsFileIsAnErrorOfTheRun)
{
	KrelwinRun run;
	ASSERT_TRUE(run.Ok());
	const auto &d = run.Dir();
	ASSERT_TRUE(d.Write(L"t.txt", Ansi(L"あいう\r\n")));
	std::string strLog;
	ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHECKTXT none.ini\r\n[FILES]\r\nt.txt\r\n", 1, &strLog));
	EXPECT_EQ(Ansi(L"設定ファイル none.ini が読めません\r\nerror(s).1\r\n"), strLog);
}

}  // namespace
