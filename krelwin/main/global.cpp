// The program state record and the values beside it.
#include "krelwin/main/global.h"

#include <cstring>

#include "kelto/system/win32/window.h"

GLOBAL_STAT s_stGl;

WINDOW_INFO s_stMainWnd;

int s_iWindowW = 0;
int s_iWindowH = 0;
int s_iMsgSize = 0;
wchar_t s_szTempBatch[260] = { 0 };

GLOBAL_STAT::GLOBAL_STAT()
	: m_hInst(0), m_hFont(0), TimerID(0), m_iTickPending(0), m_iAbort(0),
	  m_iLoopPos(0), m_iLoopCount(0), m_hStart(0), m_hBatchEdit(0), m_hList(0),
	  m_hEntry(0), m_hMessage(0), m_memMsg(0), m_iStop(0), m_iFileIndex(0),
	  m_iAutoExec(0), m_iRunning(0), m_iErrorCount(0), m_iLock(0), m_pSetting(0)
{
	m_szAppDir[0] = 0;
	m_szBatchPath[0] = 0;
	m_szBatchDir[0] = 0;
	std::memset(&m_stIniSetting, 0, sizeof(m_stIniSetting));
	std::memset(&m_stBatchSetting, 0, sizeof(m_stBatchSetting));
	m_lstScript.clear();
	m_itScript = m_lstScript.end();
	m_cFileList.Clear();
	m_iErrorCount = 0;
	m_pSetting = &m_stIniSetting;
}

GLOBAL_STAT::~GLOBAL_STAT()
{
	m_lstScript.clear();
	m_cFileList.Clear();
}

void Batch_reset()
{
	s_stGl.m_cFileList.Clear();
	s_stGl.m_lstScript.clear();
	s_stGl.m_itScript = s_stGl.m_lstScript.end();
	if (s_stGl.m_memMsg) s_stGl.m_memMsg[0] = 0;
	s_stGl.m_iErrorCount = 0;
}
