// The native build has no settings files of the platform's kind: every key reads as
// missing (its default) and nothing is written. The fuzzed readers take their settings
// from texts in memory (PROBUFF_), not from here.
#include "kelto/files/win32/profile.h"

#include "kelto/string/string.h"

int PROFILE_GetInt(const wchar_t*, const wchar_t*, int _iDefault)
{
    return _iDefault;
}

int PROFILE_GetIntEx(const wchar_t*, const wchar_t*, const wchar_t*, int _iDefault)
{
    return _iDefault;
}

int PROFILE_GetStringEx(const wchar_t*, const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut, int _iSize,
                        const wchar_t* _pDefault)
{
    if (!_pSec || !_pKey || !_pOut) return -1;
    if (_iSize <= 0) return 0;
    _pOut[0] = 0;
    if (!_pDefault) return 0;
    int n = 0;
    while (_pDefault[n] && n < _iSize - 1) {
        _pOut[n] = _pDefault[n];
        ++n;
    }
    _pOut[n] = 0;
    return n;
}

int PROFILE_GetString(const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut, int _iSize, const wchar_t* _pDefault)
{
    return PROFILE_GetStringEx(0, _pSec, _pKey, _pOut, _iSize, _pDefault);
}

int PROFILE_SetInt(const wchar_t*, const wchar_t*, int)
{
    return 0;
}

int PROFILE_SetIntEx(const wchar_t*, const wchar_t*, const wchar_t*, int)
{
    return 0;
}

int PROFILE_SetString(const wchar_t*, const wchar_t*, const wchar_t*)
{
    return 0;
}

int PROFILE_SetStringEx(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*)
{
    return 0;
}

int PROFILE_SetStringEx(const char*, const char*, const char*, const char*)
{
    return 0;
}
