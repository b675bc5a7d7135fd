// Start-up: fills s_stGl from the settings file, the command line and the batch file.
#include "krelwin/main/startup_instance.h"

#include "kelto/files/win32/file.h"
#include "kelto/system/win32/window.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "krelwin/main/batch.h"
#include "krelwin/main/global.h"
#include "krelwin/main/mainwnd.h"
#include "krelwin/main/message.h"
#include "krelwin/main/setting.h"
#include "krelwin/main/startup.h"

// The drive and folder of a path become the current folder.
static void startup_chdirTo(const wchar_t *_pPath)
{
	wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szFolder[FILE_PATH_LENGTH];
	FILE_split(_pPath, szDrive, szDir, 0, 0);
	FILE_merge(szFolder, szDrive, szDir, 0, 0, FILE_PATH_LENGTH);
	if (szFolder[0]) FILE_SetCurrentDirectory(szFolder);
}

// Start-up's choice of the current folder: the batch file's folder unless the block in
// force keeps the folder the program was started in.
static void startup_chooseFolder(const wchar_t *_pPath)
{
	if (s_stGl.m_pSetting->DEFAULTCURRENT == 0) startup_chdirTo(_pPath);
}

int Init_Instance(HINSTANCE _hInst, HINSTANCE _hPrevInst, const char *_pCmdLine)
{
	s_stGl.m_szBatchPath[0] = 0;
	s_stGl.m_szBatchDir[0] = 0;
	if (_hPrevInst) return 0;

	s_stGl.m_hInst = _hInst;
	wchar_t szModule[FILE_PATH_LENGTH] = { 0 };
	wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH];
	GetModuleFileNameW(0, szModule, FILE_PATH_LENGTH);
	FILE_split(szModule, szDrive, szDir, 0, 0);
	FILE_merge(s_stGl.m_szAppDir, szDrive, szDir, 0, 0, FILE_PATH_LENGTH);

	Read_Setting();
	Batch_reset();

	// A refused command line is reported once the log exists; it never runs cut short.
	const wchar_t *pRefused = 0;
	int iRefusedLimit = 0;
	int iFromCommandLine = 0;
	CTOUTF16 cCmdLine(_pCmdLine ? _pCmdLine : "");
	const wchar_t *pCmdLine = cCmdLine.Get() ? cCmdLine.Get() : L"";
	wchar_t szLine[STARTUP_LINE_LENGTH];
	if (Strip_Quote(pCmdLine, szLine, STARTUP_LINE_LENGTH) == -2) {
		pRefused = L"command line too long (%d characters at most). not run.";
		iRefusedLimit = STARTUP_LINE_LENGTH - 1;
	} else {
		// One quoted path, as the shell passes a batch file, is a path whatever it holds.
		const int iTemp = (pCmdLine[0] == L'"') ? 0 : MakeTempScript(szLine);
		if (iTemp == -2) {
			pRefused = L"command line options do not fit temp.kvl (%d characters at most). not run.";
			iRefusedLimit = STARTUP_SCRIPT_LENGTH - 1;
		} else if (iTemp == 0 && szLine[0] != 0) {
			if (szLine[1] == L':') {
				STRING_cpy(s_stGl.m_szBatchPath, szLine);
			} else {
				FILE_GetCurrentDirectory(s_stGl.m_szBatchPath, FILE_PATH_LENGTH);
				FILE_AddSeparator(s_stGl.m_szBatchPath);
				if (!STRING_cat(s_stGl.m_szBatchPath, szLine, FILE_PATH_LENGTH - 1)) {
					s_stGl.m_szBatchPath[0] = 0;
					pRefused = L"batch path too long (%d characters at most). not run.";
					iRefusedLimit = FILE_PATH_LENGTH - 1;
				}
			}
			iFromCommandLine = s_stGl.m_szBatchPath[0] != 0;
		}
	}

	Init_MainWnd();
	if (pRefused) Message_err(pRefused, iRefusedLimit);

	if (s_stGl.m_szBatchPath[0] != 0) {
		// A batch named on the command line lists its relative [FILES] lines against the
		// folder they are later processed in.
		if (!Read_KrelwinBatch(s_stGl.m_szBatchPath, iFromCommandLine ? startup_chooseFolder : 0))
			Message_err(L"not found. %s", s_stGl.m_szBatchPath);
		Set_BatchFolder(s_stGl.m_szBatchPath);
		s_stGl.m_iAutoExec =
			(s_stGl.m_pSetting->AUTOEXEC != 0 && s_stGl.m_cFileList.GetCount() > 0) ? 1 : 0;
	}
	if (iFromCommandLine && s_stGl.m_pSetting->DEFAULTCURRENT == 0) startup_chdirTo(s_stGl.m_szBatchPath);

	Read_ExtraScript();
	Init_Controls();
	// The window was painted before the batch was read: paint it once more when the
	// message loop runs, which starts an armed automatic run.
	if (s_stMainWnd.m_hWnd) InvalidateRect(s_stMainWnd.m_hWnd, 0, TRUE);
	return 1;
}
