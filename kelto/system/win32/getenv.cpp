// Environment variables, read from the runtime's environment.
#include "kelto/system/win32/dialog.h"

#include <cstdlib>

#include "kelto/string/string.h"

int SYSTEM_GetEnv(wchar_t* _pOut, unsigned int _uOutSize, const wchar_t* _pName, int _iRequired)
{
    if (!_pOut || !_pName) return 0;
    // The runtime's own table (kept current by _wputenv); the value is copied out at once,
    // so no allocated copy is needed.
    const wchar_t* pValue = _wgetenv(_pName);
    if (!pValue) {
        if (_iRequired) return 0;
        pValue = L"";
    }
    // Room for the value and its terminator, also for the empty text of an unset variable.
    const unsigned int uNeed = static_cast<unsigned int>(STRING_len(pValue)) + 1;
    if (_uOutSize < uNeed) return 0;
    return STRING_cpy(_pOut, pValue);
}
