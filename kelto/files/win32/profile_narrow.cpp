// The 8-bit form of the settings-file writer, for programs built with 8-bit texts.
#include "kelto/files/win32/profile.h"
#include "kelto/string/moji.h"

int PROFILE_SetStringEx(const char* _pFile, const char* _pSec, const char* _pKey, const char* _pValue)
{
    if (!_pFile || !_pSec) return 0;
    CTOUTF16 cFile(_pFile), cSec(_pSec), cKey, cValue;
    // Null key and null value keep their meaning (remove the section or the key).
    return PROFILE_SetStringEx(cFile.Get(), cSec.Get(), _pKey ? cKey.From(_pKey) : 0,
                               _pValue ? cValue.From(_pValue) : 0);
}
