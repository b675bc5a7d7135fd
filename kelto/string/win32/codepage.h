// Thin wrappers of the system's code-page conversions, so that the converters above them
// need no platform header. Code page 0 is the system's ANSI code page, 65001 UTF-8.
// All return the system's count (units or bytes; 0 on failure); a null out only counts.
#ifndef KELTO_STRING_WIN32_CODEPAGE_H
#define KELTO_STRING_WIN32_CODEPAGE_H

#define CODEPAGE_ANSI 0u
#define CODEPAGE_UTF8 65001u

int CODEPAGE_toWide(unsigned int _uCodePage, const char* _pBytes, int _iBytes,
                    wchar_t* _pOut, int _iOutUnits);
// As CODEPAGE_toWide, but 0 when any byte sequence has no character in the code page (a
// lead byte without its trail byte, a pair the code page does not assign, a byte it does
// not use) instead of the default character in its place.
int CODEPAGE_toWideStrict(unsigned int _uCodePage, const char* _pBytes, int _iBytes,
                          wchar_t* _pOut, int _iOutUnits);
int CODEPAGE_toBytes(unsigned int _uCodePage, const wchar_t* _pText, int _iUnits,
                     char* _pOut, int _iOutBytes);

#endif
