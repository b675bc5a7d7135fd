// Run settings: krelwin.ini [MAIN] and [EXTRA], and the batch's [SETTING] override.
#include "krelwin/main/setting.h"

#include "kelto/files/win32/profile.h"
#include "kelto/string/probuff.h"
#include "kelto/string/string.h"
#include "krelwin/main/global.h"

namespace {

const wchar_t *const s_pMain = L"MAIN";
const wchar_t *const s_pExtra = L"EXTRA";
const wchar_t *const s_pSetting = L"SETTING";

// The eight integer options, in the order they are read.
struct SETTING_KEY {
	const wchar_t *m_pKey;
	int SETTING_INFO::*m_pField;
};
const SETTING_KEY s_stIntKeys[] = {
	{ L"AUTOEXEC", &SETTING_INFO::AUTOEXEC },
	{ L"ATEXIT", &SETTING_INFO::ATEXIT },
	{ L"OUTINFO", &SETTING_INFO::OUTINFO },
	{ L"BACKUP", &SETTING_INFO::BACKUP },
	{ L"RETEXEC", &SETTING_INFO::RETEXEC },
	{ L"RANGE", &SETTING_INFO::RANGE },
	{ L"SEARCHSUB", &SETTING_INFO::SEARCHSUB },
	{ L"DEFAULTCURRENT", &SETTING_INFO::DEFAULTCURRENT },
};

wchar_t s_szFile[260] = { 0 };

int setting_getInt(const wchar_t *_pSec, const wchar_t *_pKey, int _iDefault)
{
	if (s_szFile[0]) return PROFILE_GetIntEx(s_szFile, _pSec, _pKey, _iDefault);
	return PROFILE_GetInt(_pSec, _pKey, _iDefault);
}

// String values are read with at most 255 characters.
void setting_getString(const wchar_t *_pSec, const wchar_t *_pKey, wchar_t *_pOut, const wchar_t *_pDefault)
{
	if (s_szFile[0]) PROFILE_GetStringEx(s_szFile, _pSec, _pKey, _pOut, 256, _pDefault);
	else PROFILE_GetString(_pSec, _pKey, _pOut, 256, _pDefault);
}

void setting_setInt(const wchar_t *_pKey, int _iValue)
{
	if (s_szFile[0]) PROFILE_SetIntEx(s_szFile, s_pMain, _pKey, _iValue);
	else PROFILE_SetInt(s_pMain, _pKey, _iValue);
}

void setting_setString(const wchar_t *_pKey, const wchar_t *_pValue)
{
	if (s_szFile[0]) PROFILE_SetStringEx(s_szFile, s_pMain, _pKey, _pValue);
	else PROFILE_SetString(s_pMain, _pKey, _pValue);
}

} // namespace

void Setting_useFile(const wchar_t *_pPath)
{
	s_szFile[0] = 0;
	if (_pPath && STRING_len(_pPath) < 260) STRING_cpy(s_szFile, _pPath);
}

int Read_Setting()
{
	SETTING_INFO &stIni = s_stGl.m_stIniSetting;
	for (const SETTING_KEY &stKey : s_stIntKeys) {
		stIni.*stKey.m_pField = setting_getInt(s_pMain, stKey.m_pKey, 0);
	}
	setting_getString(s_pMain, L"OUTINFONAME", stIni.OUTINFONAME, L"MSG.TXT");
	setting_getString(s_pMain, L"BACKUPPATH", stIni.BACKUPPATH, L"");
	s_iWindowW = setting_getInt(s_pMain, L"WINDOW_W", 480);
	s_iWindowH = setting_getInt(s_pMain, L"WINDOW_H", 360);
	s_stGl.m_iLock = setting_getInt(s_pExtra, L"LOCK", 0);
	return s_stGl.m_iLock;
}

void Write_Setting()
{
	const SETTING_INFO &stIni = s_stGl.m_stIniSetting;
	for (const SETTING_KEY &stKey : s_stIntKeys) {
		setting_setInt(stKey.m_pKey, stIni.*stKey.m_pField);
	}
	setting_setInt(L"WINDOW_W", s_iWindowW);
	setting_setInt(L"WINDOW_H", s_iWindowH);
	setting_setString(L"OUTINFONAME", stIni.OUTINFONAME);
	setting_setString(L"BACKUPPATH", stIni.BACKUPPATH);
}

void Read_BatchSetting(const wchar_t *_pText, int _iLength)
{
	const SETTING_INFO &stIni = s_stGl.m_stIniSetting;
	SETTING_INFO &stBatch = s_stGl.m_stBatchSetting;
	stBatch = stIni;
	if (!_pText || _iLength <= 0) return;
	if (!PROBUFF_IsSection(_pText, _iLength, s_pSetting)) return;

	for (const SETTING_KEY &stKey : s_stIntKeys) {
		stBatch.*stKey.m_pField = PROBUFF_GetInt(_pText, _iLength, s_pSetting, stKey.m_pKey, stIni.*stKey.m_pField);
	}
	PROBUFF_GetString(_pText, _iLength, s_pSetting, L"OUTINFONAME", stBatch.OUTINFONAME, 260, stIni.OUTINFONAME);
	PROBUFF_GetString(_pText, _iLength, s_pSetting, L"BACKUPPATH", stBatch.BACKUPPATH, 260, stIni.BACKUPPATH);
	s_stGl.m_cFileList.SetSearchSub(stBatch.SEARCHSUB);
	s_stGl.m_pSetting = &stBatch;
}

void Read_ExtraScript()
{
	if (s_stGl.m_iLock == 0 && s_stGl.m_szBatchPath[0]) return;

	// A fixed name beside the program, whatever the program file is called.
	wchar_t szFile[260];
	STRING_cpy(szFile, s_stGl.m_szAppDir);
	if (!STRING_cat(szFile, L"krelwin.ini", 259)) return;

	s_stGl.m_szBatchPath[0] = 0;
	PROFILE_GetStringEx(szFile, s_pExtra, L"NAME", s_stGl.m_szBatchPath, 256, L"");
	if (!s_stGl.m_szBatchPath[0]) return;

	wchar_t szScript[256];
	szScript[0] = 0;
	PROFILE_GetStringEx(szFile, s_pExtra, L"SCRIPT", szScript, 256, L"");
	SCRIPT_STAT stLine;
	stLine.m_strCommand = szScript;
	s_stGl.m_lstScript.push_back(stLine);
}
