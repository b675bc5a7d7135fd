// Thin wrappers of the system's code-page conversions, so that the converters above them
// need no platform header. Code page 0 is the system's ANSI code page, 65001 UTF-8.
// Both return the system's count (units or bytes; 0 on failure); a null out only counts.
#ifndef KELTO_STRING_WIN32_CODEPAGE_H
#define KELTO_STRING_WIN32_CODEPAGE_H

#define CODEPAGE_ANSI 0u
#define CODEPAGE_UTF8 65001u

int CODEPAGE_toWide(unsigned int _uCodePage, const char* _pBytes, int _iBytes,
                    wchar_t* _pOut, int _iOutUnits);
int CODEPAGE_toBytes(unsigned int _uCodePage, const wchar_t* _pText, int _iUnits,
                     char* _pOut, int _iOutBytes);

#endif
