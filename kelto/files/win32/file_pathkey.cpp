// Path keys: the full path over GetFullPathNameW, folded by FILE_FoldCase.
#include <windows.h>

#include "kelto/files/pathkey.h"
#include "kelto/files/win32/file.h"

std::wstring FILE_PathKey(const wchar_t* _szPath)
{
    if (!_szPath || !_szPath[0]) return std::wstring();
    std::wstring strFull(FILE_PATH_LENGTH, 0);
    DWORD dwLen = GetFullPathNameW(_szPath, static_cast<DWORD>(strFull.size()), &strFull[0], 0);
    if (dwLen >= strFull.size()) {
        strFull.assign(dwLen + 1, 0);
        dwLen = GetFullPathNameW(_szPath, static_cast<DWORD>(strFull.size()), &strFull[0], 0);
    }
    if (dwLen == 0 || dwLen >= strFull.size()) strFull = _szPath;  // left as spelled
    else strFull.resize(dwLen);
    if (!strFull.empty()) FILE_FoldCase(&strFull[0], static_cast<int>(strFull.size()));
    return strFull;
}
