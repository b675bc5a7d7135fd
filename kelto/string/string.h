// The STRING_ family: NUL-terminated UTF-16 text (lengths in units, without the terminator),
// and the MOJI_ full-width classes. Null pointers give the failure value of each function.
// Formats follow the Microsoft wide rules: "%s" is a wide string, "%S" an 8-bit one.
#ifndef KELTO_STRING_STRING_H
#define KELTO_STRING_STRING_H

#include <cstdarg>

// Length, copy, append, compare, format.
int STRING_len(const wchar_t* _pText);
// _iN above 0 and below the source length copies exactly _iN units without a terminator.
int STRING_cpy(wchar_t* _pDst, const wchar_t* _pSrc, int _iN = 0);
// _iMax above 0 refuses (0, dst unchanged) a result longer than _iMax units.
int STRING_cat(wchar_t* _pDst, const wchar_t* _pSrc, int _iMax = 0);
int STRING_cmp(const wchar_t* _pA, const wchar_t* _pB);
int STRING_cmpI(const wchar_t* _pA, const wchar_t* _pB);
// Units written; a text that does not fit is cut to _iSize - 1 units, terminated, and gives -1.
int STRING_sprintf(wchar_t* _pOut, int _iSize, const wchar_t* _pFormat, ...);
int STRING_vsprintf(wchar_t* _pOut, int _iSize, const wchar_t* _pFormat, va_list _vaArgs);
// Units written, or -1 for a null out or a buffer too small for the text.
int STRING_itoa(wchar_t* _pOut, int _iValue, int _iSize);
void STRING_ftoa(wchar_t* _pOut, float _fValue, int _iSize);

// Numbers and case.
int STRING_toInt(const wchar_t* _pText);
float STRING_toFloat(const wchar_t* _pText);
int STRING_isNumber(const wchar_t* _pText, int _iAllowBlank = 0);
wchar_t* STRING_upper(wchar_t* _pText);
wchar_t* STRING_lower(wchar_t* _pText);
wchar_t STRING_toupper(wchar_t _cUnit);

// Character search: pointers into the searched text, null when absent.
wchar_t* STRING_chr(const wchar_t* _pText, wchar_t _cUnit);
wchar_t* STRING_chrR(const wchar_t* _pText, wchar_t _cUnit);
wchar_t* STRING_chrI(const wchar_t* _pText, wchar_t _cUnit);
wchar_t* STRING_chrN(const wchar_t* _pText, wchar_t _cUnit, int _iLimit);
int STRING_chrIndex(wchar_t _cUnit, const wchar_t* _pText);
// A null or empty set separates everything; a non-empty set also holds the terminator.
int STRING_isSeparator(wchar_t _cUnit, const wchar_t* _pSet);

// Words: runs of units that are not separators.
int STRING_isWord(const wchar_t* _pText, const wchar_t* _pWord, const wchar_t* _pSet = 0);
int STRING_isWordI(const wchar_t* _pText, const wchar_t* _pWord, const wchar_t* _pSet = 0);
// _iLimit above 0 tries exactly the positions 0 to _iLimit - 1 and never reads past them.
wchar_t* STRING_findWord(const wchar_t* _pText, const wchar_t* _pWord, int _iLimit, const wchar_t* _pSet);
wchar_t* STRING_findWordI(const wchar_t* _pText, const wchar_t* _pWord, int _iLimit, const wchar_t* _pSet);
int STRING_wordLen(const wchar_t* _pText, const wchar_t* _pSet = 0);
int STRING_getWord(const wchar_t* _pText, wchar_t* _pOut, int _iMax, const wchar_t* _pSet);
wchar_t* STRING_nextWord(const wchar_t* _pPos, const wchar_t* _pSet);
wchar_t* STRING_prevWord(const wchar_t* _pPos, const wchar_t* _pStart, const wchar_t* _pSet);
wchar_t* STRING_wordTop(const wchar_t* _pPos, const wchar_t* _pStart, const wchar_t* _pSet);
wchar_t* STRING_skipSpace(const wchar_t* _pText, int _iLimit = 0);
int STRING_getLine(const wchar_t* _pPos, const wchar_t* _pStart, wchar_t* _pOut);

// Paths and hashes.
int STRING_normalizePath(wchar_t* _pPath);
int STRING_parentPath(wchar_t* _pPath);
// CRC-32/BZIP2 of the text's bytes in the system's 8-bit code page; 0xFFFFFFFF for null.
unsigned int STRING_crc32(const wchar_t* _pText, int _iLength = 0);
// The same over the low 8 bits of each unit.
unsigned int STRING_crc32W(const wchar_t* _pText);

// Character classes: a full-width unit u has 0x7E <= u < 0xFF61 and u != 0x203E, and is no
// byte escape.
int MOJI_step();
int MOJI_isZen(wchar_t _cUnit);
// 1 for U+DC80 to U+DCFF, the units that carry a byte of a text that the code page could not
// decode (0x80 to 0xFF) through to its writing: no character, neither full-width nor a line end.
inline int MOJI_isByteEscape(wchar_t _cUnit)
{
    return (static_cast<unsigned short>(_cUnit) >= 0xDC80 && static_cast<unsigned short>(_cUnit) <= 0xDCFF) ? 1 : 0;
}
int MOJI_isZenStr(const wchar_t* _pText);

#endif
