// The platform calls of the DDEXL_ client that tests replace: listing the server's
// conversations and opening a workbook in the shell. The defaults are the real functions.
#ifndef KELTO_SYSTEM_WIN32_DDEPLATFORM_H
#define KELTO_SYSTEM_WIN32_DDEPLATFORM_H

#include <windows.h>
#include <ddeml.h>

struct DDEXL_PLATFORM
{
    HCONVLIST (WINAPI* m_pConnectList)(DWORD, HSZ, HSZ, HCONVLIST, PCONVCONTEXT);
    HCONV (WINAPI* m_pQueryNextServer)(HCONVLIST, HCONV);
    BOOL (WINAPI* m_pDisconnectList)(HCONVLIST);
    HINSTANCE (WINAPI* m_pShellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
};

// The table in force.
const DDEXL_PLATFORM& DDEXL_platform();
// Puts a table in force (null: the real functions); the one replaced.
DDEXL_PLATFORM DDEXL_setPlatform(const DDEXL_PLATFORM* _pTable);

// The callback given to DdeInitializeW: a client only, it answers no transaction.
HDDEDATA CALLBACK DDEXL_Callback(UINT _uType, UINT _uFmt, HCONV _hConv, HSZ _hsz1, HSZ _hsz2,
                                 HDDEDATA _hData, ULONG_PTR _dwData1, ULONG_PTR _dwData2);

#endif
