// The PROBUFF_ family: reads "[SECTION]" labels and "KEY = value" lines from a UTF-16 text
// already in memory (terminated after its length). Names match without regard to ASCII case;
// values run to the end of their line. No comments and no quoting: callers filter first.
#ifndef KELTO_STRING_PROBUFF_H
#define KELTO_STRING_PROBUFF_H

// Room of a section label "[name]" with its terminator: section names of at most 252 units.
#define PROBUFF_SECTION_LENGTH 255

// The first unit of the section's body (after its label and one line end), or null. With
// _pBodyLength the body's length is stored: up to and with the LF before the next line that
// starts with '[', or to the end of the text.
const wchar_t* PROBUFF_GetSection(const wchar_t* _pText, int _iLength, const wchar_t* _pSec,
                                  int* _pBodyLength = 0);
// 1 when the section exists, else 0.
int PROBUFF_IsSection(const wchar_t* _pText, int _iLength, const wchar_t* _pSec);
// Copies the key's value (cut to _iSize - 1 units) into _pString; its length. 0 when the
// section or key is missing: _pString then holds the default (or is empty).
int PROBUFF_GetString(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                      wchar_t* _pString, int _iSize, const wchar_t* _pDefault = 0);
// STRING_toInt / STRING_toFloat of the value; the default when it is missing or empty.
int PROBUFF_GetInt(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                   int _iDefault);
float PROBUFF_GetFloat(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                       float _fDefault);

#endif
