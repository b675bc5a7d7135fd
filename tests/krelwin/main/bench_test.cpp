// Benchmarks, not tests: run with --gtest_also_run_disabled_tests --gtest_filter=*Bench*
// They print their figures; nothing is timed against a limit.
#include "engine_fixture.h"

#include <chrono>
#include <cstdio>

#include "krelwin/main/batch.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point _t0)
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - _t0).count();
}

class Bench : public EngineTest {};

TEST_F(Bench, DISABLED_ReadingABatchOfManyTargetFiles)
{
	const int iSizes[] = { 10000, 20000 };
	for (int iFiles : iSizes) {
		testdir::TestDir dir;
		ASSERT_TRUE(dir.Ok());
		std::string strBatch = "[SCRIPT]\r\nDUMP\r\n[FILES]\r\n";
		for (int i = 0; i < iFiles; i++) {
			const std::wstring strName = L"f" + std::to_wstring(i) + L".txt";
			ASSERT_TRUE(dir.Write(strName, "x"));
			strBatch += Narrow(dir.Path(strName)) + "\r\n";
		}
		ASSERT_TRUE(dir.Write(L"job.kvl", strBatch));
		Batch_reset();
		const auto t0 = std::chrono::steady_clock::now();
		ASSERT_EQ(1, Read_KrelwinBatch(dir.Path(L"job.kvl").c_str()));
		const double dRead = Seconds(t0);
		EXPECT_EQ(iFiles, s_stGl.m_cFileList.GetCount());
		std::printf("batch of %d target files: %.3f s (%.1f us per file)\n", iFiles, dRead, dRead * 1e6 / iFiles);
		Batch_reset();
	}
}

// The reader's own share: sections, comments, references and script lines, without the file system.
TEST_F(Bench, DISABLED_ReadingABatchOfManyScriptLines)
{
	const int iSizes[] = { 10000, 20000 };
	for (int iComments = 0; iComments < 2; iComments++) for (int iLines : iSizes) {
		std::string strBatch = "[SCRIPT]\r\n";
		for (int i = 0; i < iLines; i++)
			strBatch += "copy %TEMP%\\f" + std::to_string(i) + ".txt out" + (iComments ? " // note\r\n" : "\r\n");
		ASSERT_TRUE(m_dir.Write(L"job.kvl", strBatch));
		Batch_reset();
		const auto t0 = std::chrono::steady_clock::now();
		ASSERT_EQ(1, Read_KrelwinBatch(m_dir.Path(L"job.kvl").c_str()));
		const double dRead = Seconds(t0);
		EXPECT_EQ((size_t)iLines, s_stGl.m_lstScript.size());
		std::printf("batch of %d script lines%s: %.3f s (%.1f us per line)\n", iLines,
			iComments ? " with a comment each" : "", dRead, dRead * 1e6 / iLines);
		Batch_reset();
	}
}

TEST_F(Bench, DISABLED_AppendingManyLinesToTheLog)
{
	// The log edit is slow under Wine (each change re-lays out its text), so it is measured on fewer
	// lines, starting full so that every size sees the same trimming.
	const int iSizes[2][2] = { { 50000, 100000 }, { 500, 1000 } };
	for (int iWithEdit = 0; iWithEdit < 2; iWithEdit++) {
		for (int iLines : iSizes[iWithEdit]) {
			ASSERT_EQ(1, Message_alloc());
			HWND hEdit = 0;
			if (iWithEdit) {
				hEdit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
					0, 0, 300, 200, 0, 0, GetModuleHandleW(0), 0);
				ASSERT_TRUE(hEdit != 0);
				s_stGl.m_hMessage = hEdit;
				std::wstring strFull;
				while (strFull.size() < MESSAGE_EDIT_LIMIT - 300) strFull += L"earlier line of the log\r\n";
				SetWindowTextW(hEdit, strFull.c_str());
			}
			const auto t0 = std::chrono::steady_clock::now();
			for (int i = 0; i < iLines; i++) Message_info(L"%s : line %d of the message log", L"bench", i);
			// As at the end of a run step: the edit shows every line.
			Message_flush();
			const double dAppend = Seconds(t0);
			std::printf("%d log lines %s: %.3f s (%.2f us per line), buffer %d characters\n", iLines,
				iWithEdit ? "with the log edit" : "buffer only", dAppend, dAppend * 1e6 / iLines, s_iMsgSize);
			s_stGl.m_hMessage = 0;
			if (hEdit) DestroyWindow(hEdit);
		}
	}
}

} // namespace
