#include "engine_fixture.h"

#include "krelwin/main/batch.h"

namespace {

class Settings : public EngineTest {
protected:
	void UseIni(const std::string &_strBytes) {
		ASSERT_TRUE(m_dir.Write(L"krelwin.ini", _strBytes));
		Setting_useFile(m_dir.Path(L"krelwin.ini").c_str());
		wcscpy(s_stGl.m_szAppDir, (m_dir.Path() + L"\\").c_str());
	}
};

TEST_F(Settings, MissingOrEmptyFileGivesTheDefaults)
{
	for (int iExists = 0; iExists < 2; iExists++) {
		SCOPED_TRACE(iExists ? "empty file" : "missing file");
		if (iExists) UseIni("");
		else Setting_useFile(m_dir.Path(L"none.ini").c_str());
		std::memset(&s_stGl.m_stIniSetting, 0x55, sizeof(SETTING_INFO));
		s_stGl.m_stIniSetting.OUTINFONAME[0] = 0;
		s_stGl.m_iLock = 9;
		EXPECT_EQ(0, Read_Setting());
		const SETTING_INFO &st = s_stGl.m_stIniSetting;
		EXPECT_EQ(0, st.AUTOEXEC + st.ATEXIT + st.OUTINFO + st.RETEXEC + st.BACKUP + st.RANGE + st.SEARCHSUB + st.DEFAULTCURRENT);
		EXPECT_STREQ(L"MSG.TXT", st.OUTINFONAME);
		EXPECT_STREQ(L"", st.BACKUPPATH);
		EXPECT_EQ(480, s_iWindowW);
		EXPECT_EQ(360, s_iWindowH);
		EXPECT_EQ(0, s_stGl.m_iLock);
	}
	EXPECT_FALSE(m_dir.IsFile(L"none.ini"));
}

TEST_F(Settings, ValuesAreReadAsExpressionsAndGarbageDoesNoHarm)
{
	UseIni("[MAIN]\r\nAUTOEXEC=2-1\r\nRANGE=0x2\r\nATEXIT=abc\r\nOUTINFO=\r\nBACKUP=1+\r\n"
		"WINDOW_W=(((\r\nWINDOW_H=640\r\nSEARCHSUB=99999999999999\r\n"
		"OUTINFONAME=" + std::string(400, 'n') + "\r\nBACKUPPATH=\x82\xa0\\bak\r\n"
		"[EXTRA]\r\nLOCK=3\r\n");
	EXPECT_EQ(3, Read_Setting());
	const SETTING_INFO &st = s_stGl.m_stIniSetting;
	EXPECT_EQ(1, st.AUTOEXEC);
	EXPECT_EQ(2, st.RANGE);
	EXPECT_EQ(0, st.ATEXIT);
	EXPECT_EQ(0, st.OUTINFO);
	EXPECT_EQ(1, st.BACKUP);
	EXPECT_EQ(0, s_iWindowW);
	EXPECT_EQ(640, s_iWindowH);
	EXPECT_EQ(std::wstring(255, L'n'), st.OUTINFONAME);
	EXPECT_STREQ(L"あ\\bak", st.BACKUPPATH);
	EXPECT_EQ(3, s_stGl.m_iLock);
}

TEST_F(Settings, WrittenFileListsMainKeysInOrderAndReadsBack)
{
	Setting_useFile(m_dir.Path(L"new.ini").c_str());
	SETTING_INFO &st = s_stGl.m_stIniSetting;
	st.AUTOEXEC = 1; st.ATEXIT = 2; st.OUTINFO = 3; st.RETEXEC = 4; st.BACKUP = 5;
	st.RANGE = 2; st.SEARCHSUB = 1; st.DEFAULTCURRENT = 1;
	wcscpy(st.OUTINFONAME, L"log\\msg.txt");
	wcscpy(st.BACKUPPATH, L"C:\\バックアップ");
	s_stGl.m_stBatchSetting.OUTINFO = 77;	// never written
	s_iWindowW = 500;
	s_iWindowH = 400;
	Write_Setting();
	EXPECT_EQ("[MAIN]\r\nAUTOEXEC=1\r\nATEXIT=2\r\nOUTINFO=3\r\nBACKUP=5\r\nRETEXEC=4\r\nRANGE=2\r\n"
		"SEARCHSUB=1\r\nDEFAULTCURRENT=1\r\nWINDOW_W=500\r\nWINDOW_H=400\r\n"
		"OUTINFONAME=log\\msg.txt\r\nBACKUPPATH=C:\\\x83\x6f\x83\x62\x83\x4e\x83\x41\x83\x62\x83\x76\r\n",
		m_dir.Read(L"new.ini"));

	const SETTING_INFO stWritten = st;
	std::memset(&st, 0, sizeof(st));
	s_iWindowW = s_iWindowH = 0;
	Read_Setting();
	EXPECT_EQ(0, std::memcmp(&stWritten, &st, sizeof(st)));
	EXPECT_EQ(500, s_iWindowW);
	EXPECT_EQ(400, s_iWindowH);
}

TEST_F(Settings, BatchSectionOverridesACopyOfTheFileValues)
{
	SETTING_INFO &stIni = s_stGl.m_stIniSetting;
	stIni.BACKUP = 1;
	stIni.RANGE = 2;
	wcscpy(stIni.OUTINFONAME, L"MSG.TXT");
	wcscpy(stIni.BACKUPPATH, L"C:\\bak");

	const std::wstring strOne = L"[SCRIPT]\r\nDUMP\r\n[SETTING]\r\nOUTINFO=1\r\nSEARCHSUB=1\r\nOUTINFONAME=run.txt\r\n";
	Read_BatchSetting(strOne.c_str(), (int)strOne.size());
	ASSERT_EQ(&s_stGl.m_stBatchSetting, s_stGl.m_pSetting);
	const SETTING_INFO &stBatch = s_stGl.m_stBatchSetting;
	EXPECT_EQ(1, stBatch.OUTINFO);
	EXPECT_EQ(1, stBatch.BACKUP);
	EXPECT_EQ(2, stBatch.RANGE);
	EXPECT_EQ(1, stBatch.SEARCHSUB);
	EXPECT_EQ(1, s_stGl.m_cFileList.m_iSearchSub);
	EXPECT_STREQ(L"run.txt", stBatch.OUTINFONAME);
	EXPECT_STREQ(L"C:\\bak", stBatch.BACKUPPATH);
	EXPECT_EQ(0, stIni.OUTINFO);

	// A batch without the section leaves the batch block in force, copied afresh.
	const std::wstring strTwo = L"[SCRIPT]\r\nDUMP\r\n";
	Read_BatchSetting(strTwo.c_str(), (int)strTwo.size());
	EXPECT_EQ(&s_stGl.m_stBatchSetting, s_stGl.m_pSetting);
	EXPECT_EQ(0, std::memcmp(&stIni, &stBatch, sizeof(SETTING_INFO)));
}

TEST_F(Settings, ExtraPresetAppliesWhenLockedOrWithoutBatch)
{
	struct Case {
		const char *name; const char *ini; const wchar_t *batch;
		const wchar_t *expectPath; std::vector<std::wstring> expectScript;
	};
	const Case cases[] = {
		{ "locked", "[EXTRA]\r\nLOCK=1\r\nNAME=sample\r\nSCRIPT=DUMP\r\n", L"job.kvl", L"sample", { L"DUMP" } },
		{ "locked without name", "[EXTRA]\r\nLOCK=1\r\nSCRIPT=DUMP\r\n", L"job.kvl", L"", {} },
		{ "no batch", "[EXTRA]\r\nNAME=sample\r\nSCRIPT=dump -x\r\n", L"", L"sample", { L"dump -x" } },
		{ "batch given", "[EXTRA]\r\nNAME=sample\r\nSCRIPT=DUMP\r\n", L"job.kvl", L"job.kvl", {} },
	};
	for (const Case &c : cases) {
		Batch_reset();
		UseIni(c.ini);
		Read_Setting();
		wcscpy(s_stGl.m_szBatchPath, c.batch);
		Read_ExtraScript();
		EXPECT_STREQ(c.expectPath, s_stGl.m_szBatchPath) << "case " << c.name;
		EXPECT_EQ(c.expectScript, Commands()) << "case " << c.name;
		for (const std::wstring &p : Params()) EXPECT_EQ(L"", p) << "case " << c.name;
	}
}

} // namespace
