// The full path from the current folder by name, as the system's form of the path ('/').
#include "kelto/files/pathkey.h"

#include "kelto/files/posix/posix_path.h"

int FILE_GetFullPath(const wchar_t* _szPath, wchar_t* _szOut, int _iSize)
{
    if (!_szOut || _iSize <= 0) return 0;
    _szOut[0] = 0;
    if (!_szPath || !_szPath[0]) return 0;
    std::string strPath = POSIX_toUtf8(_szPath);
    for (char& c : strPath)
        if (c == '\\') c = '/';
    std::string strFull = POSIX_absolute(strPath);
    if (strFull.empty()) return 0;
    if (strPath.back() == '/' && strFull.back() != '/') strFull += '/';
    const std::wstring strWide = POSIX_fromUtf8(strFull.c_str());
    if (static_cast<int>(strWide.size()) >= _iSize) return 0;
    strWide.copy(_szOut, strWide.size());
    _szOut[strWide.size()] = 0;
    return static_cast<int>(strWide.size());
}
