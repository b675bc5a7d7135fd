// Keys of paths: full path and folded case.
#include "kelto/files/pathkey.h"

#define PATHKEY_LENGTH 1024

std::wstring FILE_PathKey(const wchar_t* _szPath)
{
    if (!_szPath || !_szPath[0]) return std::wstring();
    wchar_t szFull[PATHKEY_LENGTH];
    const int iLen = FILE_GetFullPath(_szPath, szFull, PATHKEY_LENGTH);
    // A path the system cannot make full (far too long) is its own key.
    std::wstring strKey = iLen > 0 ? std::wstring(szFull, static_cast<size_t>(iLen)) : std::wstring(_szPath);
    FILE_FoldCase(&strKey[0], static_cast<int>(strKey.size()));
    return strKey;
}

int FILE_IsSamePath(const wchar_t* _szA, const wchar_t* _szB)
{
    const std::wstring strA = FILE_PathKey(_szA);
    return !strA.empty() && strA == FILE_PathKey(_szB) ? 1 : 0;
}
