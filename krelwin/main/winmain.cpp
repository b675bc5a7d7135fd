// Entry point of krelwin.exe.
#include <windows.h>

#include "kelto/system/win32/window.h"
#include "krelwin/main/global.h"
#include "krelwin/main/startup_instance.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
	(void)nCmdShow;
	if (!Init_Instance(hInstance, hPrevInstance, lpCmdLine)) {
		WINDOW_Release(s_stMainWnd);
		return 0;
	}
	MSG stMsg;
	while (GetMessageW(&stMsg, 0, 0, 0) > 0) {
		// Return typed in the batch line reaches the main window, so a command typed
		// there starts as the Return key does.
		if (stMsg.message == WM_KEYDOWN && stMsg.wParam == VK_RETURN && stMsg.hwnd == s_stGl.m_hBatchEdit)
			stMsg.hwnd = s_stMainWnd.m_hWnd;
		TranslateMessage(&stMsg);
		DispatchMessageW(&stMsg);
	}
	return (int)stMsg.wParam;
}
