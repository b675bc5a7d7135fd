#include "krelwin/main/process.h"

#include <windows.h>

void* PROCESS_start(wchar_t* _pCommandLine)
{
    if (!_pCommandLine) return 0;
    STARTUPINFOW stStart;
    ZeroMemory(&stStart, sizeof(stStart));
    stStart.cb = sizeof(stStart);
    stStart.dwFlags = STARTF_USESHOWWINDOW;
    stStart.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION stProc;
    ZeroMemory(&stProc, sizeof(stProc));
    if (!CreateProcessW(0, _pCommandLine, 0, 0, FALSE, 0, 0, 0, &stStart, &stProc)) return 0;
    CloseHandle(stProc.hThread);
    return stProc.hProcess;
}

void PROCESS_wait(void* _hProcess)
{
    if (!_hProcess) return;
    WaitForSingleObject(_hProcess, INFINITE);
    CloseHandle(_hProcess);
}
