// Debugger output, debugging message boxes and the last system error text.
#include "kelto/tools/debug.h"
#include "kelto/tools/debug_platform.h"

#include <windows.h>

#include "kelto/string/string.h"

namespace {

wchar_t s_szLastError[DEBUG_LASTERROR_LENGTH];

} // namespace

void debug_writeOutput(const wchar_t* _pText)
{
    OutputDebugStringW(_pText);
}

int DEBUG_messageBox(const wchar_t* _pText)
{
    MessageBoxW(NULL, _pText ? _pText : L"", L"Debug", MB_OK);
    return 1;
}

wchar_t* DEBUG_lastErrorText()
{
    wchar_t* pSystem = NULL;
    const DWORD dwLen = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                           FORMAT_MESSAGE_IGNORE_INSERTS,
                                       NULL, GetLastError(), 0x0400, reinterpret_cast<LPWSTR>(&pSystem), 0, NULL);
    wchar_t* pResult = s_szLastError;
    if (!dwLen || !pSystem) {
        s_szLastError[0] = 0; // a failed lookup gives an empty text
    } else if (STRING_len(pSystem) >= DEBUG_LASTERROR_LENGTH) {
        pResult = NULL;
    } else {
        STRING_cpy(s_szLastError, pSystem);
    }
    if (pSystem) LocalFree(pSystem);
    return pResult;
}

void DEBUG_errorBox(wchar_t* _pOut)
{
    const wchar_t* pText = DEBUG_lastErrorText();
    if (!pText) pText = L"";
    if (_pOut) {
        STRING_cpy(_pOut, pText);
        return;
    }
    MessageBoxW(NULL, pText, L"Error", MB_ICONINFORMATION | MB_OK);
}
