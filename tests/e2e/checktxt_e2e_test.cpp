// CHECKTXT through krelwin.exe: a batch file runs the checker over Shift-JIS texts and the
// message log it writes is compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::KrelwinRun;

const char kIni[] = "[MAIN]\r\nOUTINFO=1\r\nOUTINFONAME=log.txt\r\nAUTOEXEC=1\r\nATEXIT=1\r\n";

TEST(CheckTxtE2E, FindingsAndTheLongestSegmentGoToTheLog)
{
	KrelwinRun run;
	ASSERT_TRUE(run.Ok());
	const auto &d = run.Dir();
	ASSERT_TRUE(d.Write(L"krelwin.ini", kIni));
	ASSERT_TRUE(d.Write(L"check.ini", Ansi(L"[MAIN]\r\nNOTETYPE=1\r\nENABLEENDCHAR=。\r\nSYMBESTLONG=、\r\n"
										   L"STRING=表記\r\n行う\t行なう\r\n")));
	ASSERT_TRUE(d.Write(L"t.txt", Ansi(L"検査を行う。\r\nあいうえお、か\r\n")));
	// The file is listed with its full path, which the findings print.
	const std::wstring strPath = d.Path(L"t.txt");
	ASSERT_TRUE(d.Write(L"job.kvl", "[SCRIPT]\r\nCHECKTXT check.ini\r\n[FILES]\r\n" + Ansi(strPath) + "\r\n"));
	ASSERT_TRUE(run.Start(L"job.kvl"));
	DWORD code = 99;
	ASSERT_TRUE(run.WaitExit(&code)) << "findings are no errors: the automatic run closes the program";
	EXPECT_EQ(0u, code);
	EXPECT_EQ(Ansi(L"A\t" + strPath + L"(1): 検査を行う。\t\t←表記の可能性\"行う\"を含む  行なう\r\n"
				   L"0\t" + strPath + L"(2): あいうえお、か\t\t←末尾が有効な文字で終っていない\r\n"
				   L"長\t" + strPath + L"(1): 検査を行う。\r\n"
				   L"Completed...\r\n"),
			  d.Read(L"log.txt"));
}

TEST(CheckTxtE2E, AMissingSettingsFileIsAnErrorOfTheRun)
{
	KrelwinRun run;
	ASSERT_TRUE(run.Ok());
	const auto &d = run.Dir();
	ASSERT_TRUE(d.Write(L"krelwin.ini", kIni));
	ASSERT_TRUE(d.Write(L"t.txt", Ansi(L"あいう\r\n")));
	ASSERT_TRUE(d.Write(L"job.kvl", "[SCRIPT]\r\nCHECKTXT none.ini\r\n[FILES]\r\nt.txt\r\n"));
	ASSERT_TRUE(run.Start(L"job.kvl"));
	ASSERT_TRUE(run.WaitLogFileHas(L"log.txt", "error(s)"));
	EXPECT_EQ(Ansi(L"設定ファイル none.ini が読めません\r\nerror(s).1\r\n"), d.Read(L"log.txt"));
	EXPECT_TRUE(run.CloseAndWait());
}

}  // namespace
