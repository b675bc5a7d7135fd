// The run loop and its multimedia timer.
#include "krelwin/main/runloop.h"

#include <mmsystem.h>

#include "kelto/string/string.h"
#include "kelto/system/win32/window.h"
#include "krelwin/main/batch.h"
#include "krelwin/main/global.h"
#include "krelwin/main/mainwnd.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/module/function_base.h"

static void runloop_setStartText(const wchar_t *_pText)
{
	if (s_stGl.m_hStart) SetWindowTextW(s_stGl.m_hStart, _pText);
}

// The log file of a run, when the settings in force ask for it.
static void runloop_outInfo()
{
	if (s_stGl.m_pSetting->OUTINFO != 0) out_infomessage(s_stGl.m_pSetting->OUTINFONAME);
}

void Batch_start(int _iMode)
{
	if (_iMode == 1 && s_stGl.m_iRunning == 1) {
		// The timer runs on until the next step sees the stop.
		s_stGl.m_iStop = 1;
		Message_win(L"Stoped...");
		runloop_setStartText(L"開始");
		s_stGl.m_iRunning = 0;
		runloop_outInfo();
		Message_flush();
		return;
	}
	// The log is up to date before a box holds the window.
	Message_flush();
	if (s_stGl.m_cFileList.GetCount() == 0) {
		MessageBoxW(0, L"ファイルが選択されていません", L"情報", MB_OK);
		return;
	}
	if (s_stGl.m_szBatchPath[0] == 0) {
		// A command typed into the batch line runs without a batch file.
		if (s_stGl.m_hBatchEdit) GetWindowTextW(s_stGl.m_hBatchEdit, s_stGl.m_szBatchPath, 260);
		if (s_stGl.m_szBatchPath[0] != 0) {
			SCRIPT_STAT cLine;
			Script_parse(&cLine, s_stGl.m_szBatchPath);
			s_stGl.m_lstScript.push_back(cLine);
		}
	}
	if (s_stGl.m_szBatchPath[0] == 0 || s_stGl.m_lstScript.empty()) {
		MessageBoxW(0, L"コマンドが指定されていません", L"情報", MB_OK);
		return;
	}
	Message_clear();
	Output_beginRun();
	s_stGl.m_iRunning = 1;
	runloop_setStartText(L"中止");
	s_stGl.m_itScript = s_stGl.m_lstScript.begin();
	s_stGl.m_iFileIndex = 0;
	s_stGl.m_iStop = 0;
	s_stGl.m_iAbort = 0;
	s_stGl.m_cFileList.SetSearchSub(s_stGl.m_pSetting->SEARCHSUB);
	// A stopped run's timer may still be live when Start is pressed again before its
	// next tick: never leave it running beside the new one.
	Timer_stop(s_stMainWnd.m_hWnd, &s_stGl.TimerID);
	Timer_start(s_stMainWnd.m_hWnd);
}

int Batch_step(HWND _hWnd)
{
	(void)_hWnd;
	if (s_stGl.m_iStop) return 0;
	// A tick without a run (a stale one, or the script emptied) is no step.
	if (!s_stGl.m_iRunning || s_stGl.m_itScript == s_stGl.m_lstScript.end()) return 0;

	if (s_stGl.m_iFileIndex < s_stGl.m_cFileList.GetCount()) {
		List_setEntry(s_stGl.m_iFileIndex);
		SCRIPT_STAT cLine = *s_stGl.m_itScript;
		std::wstring strPath = s_stGl.m_cFileList.GetPathStr(s_stGl.m_iFileIndex);
		Command_exec(cLine, strPath.c_str());
		List_setEntry(s_stGl.m_iFileIndex);
		s_stGl.m_iFileIndex++;
	}
	if (s_stGl.m_iFileIndex < s_stGl.m_cFileList.GetCount() && s_stGl.m_iAbort == 0) return 1;

	if (s_stGl.m_iAbort == 0) {
		++s_stGl.m_itScript;
		if (s_stGl.m_itScript != s_stGl.m_lstScript.end()) {
			s_stGl.m_iFileIndex = 0;
			Command_quit(0);
			return 1;
		}
	}
	Command_quit(1);
	if (s_stGl.m_iErrorCount == 0) Message_info(L"Completed...");
	else Message_info(L"error(s).%d", s_stGl.m_iErrorCount);
	runloop_outInfo();
	runloop_setStartText(L"開始");
	s_stGl.m_iRunning = 0;
	return 0;
}

void Batch_tick(HWND _hWnd)
{
	// A step that runs a message loop of its own (a message box) may see a tick that was
	// queued before: it waits, a step never starts inside another.
	static int s_iInStep = 0;
	if (s_iInStep) return;
	// A tick of a timer already stopped (posted while it was being killed) is dropped.
	if (s_stGl.TimerID == 0) {
		s_stGl.m_iTickPending = 0;
		return;
	}
	s_iInStep = 1;
	const int iGoesOn = Batch_step(_hWnd);
	// Each step ends with the log edit showing every line of it.
	Message_flush();
	if (iGoesOn == 0) {
		Timer_stop(_hWnd, &s_stGl.TimerID);
		if (s_stGl.m_iAutoExec == 2 && s_stGl.m_pSetting->ATEXIT != 0 && s_stGl.m_iErrorCount == 0)
			PostMessageW(_hWnd, WM_CLOSE, 0, 0);
	}
	s_iInStep = 0;
	s_stGl.m_iTickPending = 0;
}

static UINT runloop_minPeriod()
{
	TIMECAPS stCaps;
	if (timeGetDevCaps(&stCaps, sizeof(stCaps)) != TIMERR_NOERROR) return 1;
	return stCaps.wPeriodMin;
}

unsigned int Timer_start(HWND _hWnd)
{
	s_stGl.m_iTickPending = 0;
	UINT uPeriod = runloop_minPeriod();
	timeBeginPeriod(uPeriod);
	UINT uID = timeSetEvent(RUNLOOP_TICK_MS, uPeriod, TimerFunc_conv, (DWORD_PTR)_hWnd,
							TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
	if (uID == 0) timeEndPeriod(uPeriod);
	s_stGl.TimerID = uID;
	return uID;
}

void CALLBACK TimerFunc_conv(UINT _uTimerID, UINT _uMsg, DWORD_PTR _dwUser, DWORD_PTR _dw1,
							 DWORD_PTR _dw2)
{
	(void)_uMsg; (void)_dw1; (void)_dw2;
	// A tick racing a stop (the id already cleared or replaced) is dropped.
	if (_uTimerID != s_stGl.TimerID.load()) return;
	int iIdle = 0;
	if (s_stGl.m_iTickPending.compare_exchange_strong(iIdle, 1))
		PostMessageW((HWND)_dwUser, WM_USER, 0, 0);
}

void Timer_stop(HWND _hWnd, std::atomic<unsigned int> *_pTimerID)
{
	(void)_hWnd;
	if (!_pTimerID) return;
	unsigned int uID = _pTimerID->exchange(0);
	if (uID == 0) return;
	timeKillEvent(uID);
	timeEndPeriod(runloop_minPeriod());
}
