// Settings files: read over GetPrivateProfileStringW; written by editing the file's text
// in memory and replacing the file whole (FILE_Write), so that a write that fails part-way
// never leaves a settings file cut short.
#include "kelto/files/win32/profile.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "kelto/files/profile_text.h"
#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"

namespace {

// Settings values are read through this many units.
const int s_iValueLength = 256;
// Room of the missing-key marker with its terminator.
const int s_iMarkRoom = 33;

// Forms the settings file's path in _szPath (FILE_PATH_LENGTH units); 0 when it does not fit.
int profile_path(const wchar_t* _pFile, wchar_t* _szPath)
{
    _szPath[0] = 0;
    if (!_pFile) {
        wchar_t szModule[FILE_PATH_LENGTH];
        const DWORD dwLen = GetModuleFileNameW(0, szModule, FILE_PATH_LENGTH);
        if (dwLen == 0 || dwLen >= FILE_PATH_LENGTH) return 0;
        szModule[dwLen] = 0;
        wchar_t szDrive[FILE_DRIVE_LENGTH];
        wchar_t szDir[FILE_PART_LENGTH];
        wchar_t szName[FILE_PART_LENGTH];
        FILE_split(szModule, szDrive, szDir, szName, 0);
        if (!szName[0]) return 0;
        FILE_merge(_szPath, szDrive, szDir, szName, L".ini", FILE_PATH_LENGTH);
    } else if (!_pFile[0]) {
        return 0;
    } else if (_pFile[1] == L':') {
        if (STRING_len(_pFile) >= FILE_PATH_LENGTH) return 0;
        STRING_cpy(_szPath, _pFile);
    } else {
        if (!FILE_GetModuleDirectory(_szPath, FILE_PATH_LENGTH)) return 0;
        if (!STRING_cat(_szPath, _pFile, FILE_PATH_LENGTH - 1)) {
            _szPath[0] = 0;
            return 0;
        }
    }
    return _szPath[0] ? 1 : 0;
}

void profile_copyCut(wchar_t* _pOut, int _iSize, const wchar_t* _pText)
{
    int n = 0;
    while (_pText[n] && n < _iSize - 1) {
        _pOut[n] = _pText[n];
        ++n;
    }
    _pOut[n] = 0;
}

int profile_getInt(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, int _iDefault)
{
    wchar_t szPath[FILE_PATH_LENGTH];
    if (!_pSec || !_pKey || !profile_path(_pFile, szPath)) return _iDefault;
    wchar_t szDefault[16];
    STRING_sprintf(szDefault, 16, L"%d", _iDefault);
    wchar_t szValue[s_iValueLength];
    if (GetPrivateProfileStringW(_pSec, _pKey, szDefault, szValue, s_iValueLength, szPath) == 0) return _iDefault;
    FILT_Calculate(szValue, 0, 0, L'"');
    return STRING_toInt(szValue);
}

int profile_getString(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut,
                      int _iSize, const wchar_t* _pDefault)
{
    if (!_pSec || !_pKey || !_pOut || _iSize <= 0) return -1;
    _pOut[0] = 0;
    wchar_t szPath[FILE_PATH_LENGTH];
    if (!profile_path(_pFile, szPath)) {
        if (!_pDefault) return 0;
        profile_copyCut(_pOut, _iSize, _pDefault);
        return STRING_len(_pOut);
    }
    if (_pDefault) {
        if (GetPrivateProfileStringW(_pSec, _pKey, _pDefault, _pOut, _iSize, szPath) == 0) return 0;
        return STRING_len(_pOut);
    }
    // The marker must come back whole to be recognised, whatever room the caller gives.
    wchar_t szSmall[s_iMarkRoom];
    wchar_t* pBuff = (_iSize < s_iMarkRoom) ? szSmall : _pOut;
    const int iBuff = (_iSize < s_iMarkRoom) ? s_iMarkRoom : _iSize;
    if (GetPrivateProfileStringW(_pSec, _pKey, PROFILE_NODEFAULT, pBuff, iBuff, szPath) == 0 ||
        std::wcscmp(pBuff, PROFILE_NODEFAULT) == 0) {
        _pOut[0] = 0;
        return 0;
    }
    if (pBuff != _pOut) profile_copyCut(_pOut, _iSize, pBuff);
    return STRING_len(_pOut);
}

// The wide text in the 8-bit form the file is in (the system code page, or UTF-8).
std::string profile_narrow(const wchar_t* _pText, bool _bUtf8)
{
    if (!_pText) return std::string();
    const int iLen = STRING_len(_pText);
    CMOJIUTIL cMoji;
    const int iBytes = _bUtf8 ? cMoji.WcToUtf8Size(_pText, iLen) : cMoji.WcToMbSize(_pText, iLen);
    std::string strOut(iBytes > 0 ? iBytes : 0, '\0');
    if (iBytes > 0) {
        if (_bUtf8) cMoji.WcToUtf8(_pText, iLen, &strOut[0]);
        else cMoji.WcToMb(_pText, iLen, &strOut[0]);
    }
    return strOut;
}

// Sets, or with a null value removes, one key (a null key: the section) in the file.
int profile_write(const wchar_t* _szPath, const wchar_t* _pSec, const wchar_t* _pKey, const wchar_t* _pValue)
{
    // A file that is there but cannot be read is not written over with the one key.
    if (FILE_GetAttribute(_szPath) != FILE_ATTR_INVALID && !FILE_IsExist(_szPath)) return 0;
    unsigned char* pBytes = 0;
    const int iBytes = mem_TargetRead(&pBytes, _szPath);
    std::string strFile(reinterpret_cast<const char*>(pBytes), iBytes > 0 ? iBytes : 0);
    MEM_free(&pBytes);

    if (strFile.size() >= 2 && strFile[0] == '\xFF' && strFile[1] == '\xFE') {
        // UTF-16 with its mark, as the platform keeps such a file.
        std::wstring strText((strFile.size() - 2) / 2, 0);
        for (size_t i = 0; i < strText.size(); ++i)
            strText[i] = static_cast<wchar_t>(static_cast<unsigned char>(strFile[2 + 2 * i]) |
                                              (static_cast<unsigned char>(strFile[3 + 2 * i]) << 8));
        PROFILE_EditText(strText, _pSec, _pKey, _pValue);
        strFile.assign("\xFF\xFE");
        for (wchar_t c : strText) {
            strFile += static_cast<char>(c & 0xFF);
            strFile += static_cast<char>((c >> 8) & 0xFF);
        }
    } else if (strFile.size() >= 2 && strFile[0] == '\xFE' && strFile[1] == '\xFF') {
        return WritePrivateProfileStringW(_pSec, _pKey, _pValue, _szPath);  // big-endian: left to the platform
    } else {
        const bool bUtf8 = strFile.compare(0, 3, "\xEF\xBB\xBF") == 0;
        const std::string strSec = profile_narrow(_pSec, bUtf8);
        const std::string strKey = profile_narrow(_pKey, bUtf8);
        const std::string strValue = profile_narrow(_pValue, bUtf8);
        PROFILE_EditText(strFile, strSec.c_str(), _pKey ? strKey.c_str() : 0, _pValue ? strValue.c_str() : 0);
    }
    CFileStage cStage;
    return cStage.Open(_szPath) && cStage.Write(strFile.data(), static_cast<int>(strFile.size())) && cStage.Commit();
}

int profile_setInt(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, int _iValue)
{
    // A null key would remove the whole section: not what writing a number means.
    wchar_t szPath[FILE_PATH_LENGTH];
    if (!_pSec || !_pKey || !profile_path(_pFile, szPath)) return 0;
    wchar_t szValue[16];
    STRING_sprintf(szValue, 16, L"%d", _iValue);
    return profile_write(szPath, _pSec, _pKey, szValue);
}

int profile_setString(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, const wchar_t* _pValue)
{
    wchar_t szPath[FILE_PATH_LENGTH];
    if (!_pSec || !profile_path(_pFile, szPath)) return 0;
    return profile_write(szPath, _pSec, _pKey, _pValue);
}

}  // namespace

int PROFILE_GetInt(const wchar_t* _pSec, const wchar_t* _pKey, int _iDefault)
{
    return profile_getInt(0, _pSec, _pKey, _iDefault);
}

int PROFILE_GetIntEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, int _iDefault)
{
    return _pFile ? profile_getInt(_pFile, _pSec, _pKey, _iDefault) : _iDefault;
}

int PROFILE_GetString(const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut, int _iSize,
                      const wchar_t* _pDefault)
{
    return profile_getString(0, _pSec, _pKey, _pOut, _iSize, _pDefault);
}

int PROFILE_GetStringEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, wchar_t* _pOut,
                        int _iSize, const wchar_t* _pDefault)
{
    if (!_pFile) return -1;
    return profile_getString(_pFile, _pSec, _pKey, _pOut, _iSize, _pDefault);
}

int PROFILE_SetInt(const wchar_t* _pSec, const wchar_t* _pKey, int _iValue)
{
    return profile_setInt(0, _pSec, _pKey, _iValue);
}

int PROFILE_SetIntEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey, int _iValue)
{
    return _pFile ? profile_setInt(_pFile, _pSec, _pKey, _iValue) : 0;
}

int PROFILE_SetString(const wchar_t* _pSec, const wchar_t* _pKey, const wchar_t* _pValue)
{
    return profile_setString(0, _pSec, _pKey, _pValue);
}

int PROFILE_SetStringEx(const wchar_t* _pFile, const wchar_t* _pSec, const wchar_t* _pKey,
                        const wchar_t* _pValue)
{
    return _pFile ? profile_setString(_pFile, _pSec, _pKey, _pValue) : 0;
}
