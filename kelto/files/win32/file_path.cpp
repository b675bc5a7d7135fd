// Splitting and joining paths as the C library's path splitter and maker do, with the
// rooms of the parts checked instead of overrun.
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "kelto/tools/debug.h"

static bool file_isSeparator(wchar_t _c)
{
    return _c == L'\\' || _c == L'/';
}

static void file_putPart(wchar_t* _szOut, const wchar_t* _pFrom, int _iLen)
{
    if (!_szOut) return;
    for (int i = 0; i < _iLen; ++i) _szOut[i] = _pFrom[i];
    _szOut[_iLen] = 0;
}

void FILE_split(const wchar_t* _szPath, wchar_t* _szDrive, wchar_t* _szDir, wchar_t* _szName,
                wchar_t* _szExt)
{
    if (_szDrive) _szDrive[0] = 0;
    if (_szDir) _szDir[0] = 0;
    if (_szName) _szName[0] = 0;
    if (_szExt) _szExt[0] = 0;
    if (!_szPath) return;

    const wchar_t* pRest = _szPath;
    int iDrive = 0;
    if (_szPath[0] && _szPath[1] == L':') iDrive = 2;
    pRest += iDrive;

    int iLen = STRING_len(pRest);
    int iDir = 0;  // up to and with the last separator
    for (int i = 0; i < iLen; ++i)
        if (file_isSeparator(pRest[i])) iDir = i + 1;
    const wchar_t* pFinal = pRest + iDir;
    int iFinal = iLen - iDir;
    int iName = iFinal;
    for (int i = iFinal - 1; i >= 0; --i)
        if (pFinal[i] == L'.') {
            iName = i;
            break;
        }
    int iExt = iFinal - iName;

    if ((_szDrive && iDrive >= FILE_DRIVE_LENGTH) || (_szDir && iDir >= FILE_PART_LENGTH) ||
        (_szName && iName >= FILE_PART_LENGTH) || (_szExt && iExt >= FILE_PART_LENGTH))
        return;  // refused: every given part stays empty

    file_putPart(_szDrive, _szPath, iDrive);
    file_putPart(_szDir, pRest, iDir);
    file_putPart(_szName, pFinal, iName);
    file_putPart(_szExt, pFinal + iName, iExt);
}

void FILE_merge(wchar_t* _szPath, const wchar_t* _szDrive, const wchar_t* _szDir,
                const wchar_t* _szName, const wchar_t* _szExt, int _iSize)
{
    KELTO_ASSERT(_szPath);
    if (!_szPath || _iSize <= 0) return;

    // Joined in a local text first: the out may be one of the parts.
    std::wstring strPath;
    if (_szDrive && _szDrive[0]) {
        strPath += _szDrive[0];
        strPath += L':';
    }
    if (_szDir && _szDir[0]) {
        strPath += _szDir;
        if (!file_isSeparator(strPath.back())) strPath += L'\\';
    }
    if (_szName) strPath += _szName;
    if (_szExt && _szExt[0]) {
        if (_szExt[0] != L'.') strPath += L'.';
        strPath += _szExt;
    }
    if (static_cast<int>(strPath.size()) >= _iSize) {
        _szPath[0] = 0;  // refused: does not fit with its terminator
        return;
    }
    file_putPart(_szPath, strPath.c_str(), static_cast<int>(strPath.size()));
}

void FILE_AddSeparator(wchar_t* _szPath)
{
    if (!_szPath) return;
    int iLen = STRING_len(_szPath);
    if (iLen == 0 || _szPath[iLen - 1] == L'\\') return;
    _szPath[iLen] = L'\\';
    _szPath[iLen + 1] = 0;
}
