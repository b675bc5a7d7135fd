#include "engine_fixture.h"

namespace {

class ProgramState : public EngineTest {};

TEST_F(ProgramState, ResetEmptiesTheBatchAndTheErrorCountOnly)
{
	for (int iWithBuffer = 0; iWithBuffer < 2; iWithBuffer++) {
		SCOPED_TRACE(iWithBuffer ? "with a log buffer" : "before the log buffer exists");
		if (iWithBuffer) ASSERT_EQ(1, Message_alloc()); else Message_free();
		ASSERT_TRUE(m_dir.Write(L"a.txt", "a"));
		s_stGl.m_cFileList.Add(m_dir.Path(L"a.txt").c_str());
		SCRIPT_STAT stLine;
		stLine.m_strCommand = L"DUMP";
		s_stGl.m_lstScript.push_back(stLine);
		if (iWithBuffer) Message_win(L"old");
		s_stGl.m_iErrorCount = 3;
		s_stGl.m_stIniSetting.OUTINFO = 1;
		s_stGl.m_stBatchSetting.BACKUP = 1;
		s_stGl.m_pSetting = &s_stGl.m_stBatchSetting;

		for (int iRound = 0; iRound < 2; iRound++) {
			Batch_reset();
			EXPECT_EQ(0, s_stGl.m_cFileList.GetCount());
			EXPECT_TRUE(s_stGl.m_lstScript.empty());
			EXPECT_EQ(0, s_stGl.m_iErrorCount);
			if (iWithBuffer) EXPECT_EQ(L"", Log()); else EXPECT_EQ(nullptr, s_stGl.m_memMsg);
			EXPECT_EQ(1, s_stGl.m_stIniSetting.OUTINFO);
			EXPECT_EQ(1, s_stGl.m_stBatchSetting.BACKUP);
			EXPECT_EQ(&s_stGl.m_stBatchSetting, s_stGl.m_pSetting);
		}
	}
}

} // namespace
