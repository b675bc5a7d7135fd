// The replaceable platform table of the DDE client, opening a workbook in the shell and
// waiting for the spreadsheet's DDE server after it.
#include "kelto/system/win32/dde.h"

#include "kelto/system/win32/ddeplatform.h"
#include "kelto/tools/busy.h"

#include <shellapi.h>

namespace {

const DDEXL_PLATFORM s_stReal = { DdeConnectList, DdeQueryNextServer, DdeDisconnectList, ShellExecuteW };
DDEXL_PLATFORM s_stPlatform = s_stReal;

// The server is asked this often while it starts.
const DWORD DDEXL_POLL_MS = 50;

}  // namespace

const DDEXL_PLATFORM& DDEXL_platform()
{
    return s_stPlatform;
}

DDEXL_PLATFORM DDEXL_setPlatform(const DDEXL_PLATFORM* _pTable)
{
    const DDEXL_PLATFORM stOld = s_stPlatform;
    s_stPlatform = _pTable ? *_pTable : s_stReal;
    return stOld;
}

int DDEXL_ShellOpen(const wchar_t* _pFile)
{
    if (!_pFile || !*_pFile) return 0;
    const INT_PTR iResult =
        reinterpret_cast<INT_PTR>(s_stPlatform.m_pShellExecute(0, L"open", _pFile, 0, 0, SW_MINIMIZE));
    return iResult > 32 ? 1 : 0;
}

int DDEXL_WaitServer(int _iMs)
{
    DWORD dwInst = 0;
    if (DdeInitializeW(&dwInst, DDEXL_Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 0;
    HSZ hszService = DdeCreateStringHandleW(dwInst, DDEXL_SERVICE, CP_WINUNICODE);
    HSZ hszSystem = DdeCreateStringHandleW(dwInst, L"System", CP_WINUNICODE);
    int iFound = 0;
    const DWORD dwStart = GetTickCount();
    while (hszService && hszSystem) {
        HCONV hConv = DdeConnect(dwInst, hszService, hszSystem, 0);
        if (hConv) {
            DdeDisconnect(hConv);
            iFound = 1;
            break;
        }
        if (_iMs <= 0 || GetTickCount() - dwStart >= static_cast<DWORD>(_iMs)) break;
        BUSY_poll();
        Sleep(DDEXL_POLL_MS);
    }
    if (hszService) DdeFreeStringHandle(dwInst, hszService);
    if (hszSystem) DdeFreeStringHandle(dwInst, hszSystem);
    DdeUninitialize(dwInst);
    return iFound;
}
