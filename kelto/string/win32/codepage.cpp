// MultiByteToWideChar / WideCharToMultiByte with no default-character arguments.
#include "kelto/string/win32/codepage.h"

#include <windows.h>

int CODEPAGE_toWide(unsigned int _uCodePage, const char* _pBytes, int _iBytes,
                    wchar_t* _pOut, int _iOutUnits)
{
    if (!_pBytes) return 0;
    return MultiByteToWideChar(_uCodePage, 0, _pBytes, _iBytes, _pOut, _pOut ? _iOutUnits : 0);
}

int CODEPAGE_toWideStrict(unsigned int _uCodePage, const char* _pBytes, int _iBytes,
                          wchar_t* _pOut, int _iOutUnits)
{
    if (!_pBytes) return 0;
    return MultiByteToWideChar(_uCodePage, MB_ERR_INVALID_CHARS, _pBytes, _iBytes, _pOut, _pOut ? _iOutUnits : 0);
}

int CODEPAGE_toBytes(unsigned int _uCodePage, const wchar_t* _pText, int _iUnits,
                     char* _pOut, int _iOutBytes)
{
    if (!_pText) return 0;
    return WideCharToMultiByte(_uCodePage, 0, _pText, _iUnits, _pOut, _pOut ? _iOutBytes : 0, NULL, NULL);
}
