// Progress of the file list while a batch's folders are scanned.
#include <windows.h>

#include "kelto/string/string.h"
#include "kelto/system/win32/window.h"
#include "krelwin/main/batch.h"

int Entry_progress(void *_pWinfo)
{
	if (s_stGl.m_hEntry) {
		wchar_t szEntry[64];
		STRING_sprintf(szEntry, 64, L"Entry : %3d", s_stGl.m_cFileList.GetCount());
		SetWindowTextW(s_stGl.m_hEntry, szEntry);
	}
	if (_pWinfo) WINDOW_Show(*(WINDOW_INFO *)_pWinfo, 5);
	return 0;
}
