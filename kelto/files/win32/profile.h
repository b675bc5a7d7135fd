// The PROFILE_ family: keyed values of an INI-style settings file through the platform's
// private-profile functions. Without a file name the file is the program's own path with the
// extension ".ini"; a named file is taken from the program's folder unless it holds a drive.
// Integer values are evaluated (FILT_Calculate), so "0x10" or "2*3+4" are valid settings.
#ifndef KELTO_FILES_WIN32_PROFILE_H
#define KELTO_FILES_WIN32_PROFILE_H

// Default given to the platform when the caller gives none, so a missing key can be told
// from a present one.
#define PROFILE_NODEFAULT L"wqe.kelto.result.noDefaultString"

// The key's integer value, or the default when the key is missing or empty.
int PROFILE_GetInt(const wchar_t* _pSec, const wchar_t* _pKey, int _iDefault);
int PROFILE_GetIntEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, int _iDefault);

// Copies the value (or the default when the key is missing), cut to _iSize - 1 units; the
// length in _pOut. 0 for a missing key without default or an empty value; -1 for a null
// section, key or out.
int PROFILE_GetString(const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut, int _iSize,
                      const wchar_t* _pDefault = 0);
int PROFILE_GetStringEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut,
                        int _iSize, const wchar_t* _pDefault = 0);

// The platform's write result (non-zero success). A null value removes the key, a null key
// the whole section (string setters only).
int PROFILE_SetInt(const wchar_t* _pSec, const wchar_t* _pKey, int _iValue);
int PROFILE_SetIntEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, int _iValue);
int PROFILE_SetString(const wchar_t* _pSec, const wchar_t* _pKey, const wchar_t* _pValue);
int PROFILE_SetStringEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey,
                        const wchar_t* _pValue);
// 8-bit form (system code page) of PROFILE_SetStringEx.
int PROFILE_SetStringEx(const char* _pFile, const char* _pSec, const char* _pKey, const char* _pValue);

#endif
