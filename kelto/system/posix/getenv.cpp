// Environment variables through getenv (UTF-8 names and values).
#include "kelto/system/win32/dialog.h"

#include <cstdlib>
#include <string>

#include "kelto/files/posix/posix_path.h"
#include "kelto/string/string.h"

int SYSTEM_GetEnv(wchar_t* _pOut, unsigned int _uOutSize, const wchar_t* _pName, int _iRequired)
{
    if (!_pOut || !_pName) return 0;
    const char* pValue = getenv(POSIX_toUtf8(_pName).c_str());
    if (!pValue) {
        if (_iRequired) return 0;
        pValue = "";
    }
    const std::wstring strValue = POSIX_fromUtf8(pValue);
    if (_uOutSize < strValue.size() + 1) return 0;
    return STRING_cpy(_pOut, strValue.c_str());
}
