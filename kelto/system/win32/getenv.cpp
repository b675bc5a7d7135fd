// Environment variables through the runtime's own copy.
#include "kelto/system/win32/dialog.h"

#include <cstdlib>

#include "kelto/string/string.h"

int SYSTEM_GetEnv(wchar_t* _pOut, unsigned int _uOutSize, const wchar_t* _pName, int _iRequired)
{
    if (!_pOut || !_pName) return 0;
    wchar_t* pValue = 0;
    size_t uSize = 0;  // units with the terminator; 0 when unset
    if (_wdupenv_s(&pValue, &uSize, _pName) != 0) return 0;

    int iResult = 0;
    const bool bSet = pValue != 0;
    // An unset variable still needs room for the empty text's terminator.
    const size_t uNeed = bSet && uSize > 0 ? uSize : 1;
    if ((bSet || !_iRequired) && _uOutSize >= uNeed) {
        iResult = STRING_cpy(_pOut, bSet ? pValue : L"");
    }
    free(pValue);
    return iResult;
}
