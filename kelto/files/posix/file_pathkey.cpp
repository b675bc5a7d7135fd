// Path keys: the path made full against the current folder, '.' and '..' resolved, both
// separators one, and its case folded as the platform's file system does for these names.
#include <unistd.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/pathkey.h"
#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"

std::wstring FILE_PathKey(const wchar_t* _szPath)
{
    if (!_szPath || !_szPath[0]) return std::wstring();
    std::wstring strPath = _szPath;
    for (wchar_t& c : strPath) {
        if (c == L'/') c = L'\\';
    }
    const bool bRooted = strPath[0] == L'\\' || (strPath.size() >= 2 && strPath[1] == L':');
    if (!bRooted) {
        char szCwd[4096];
        if (getcwd(szCwd, sizeof szCwd)) {
            std::wstring strCwd = POSIX_fromUtf8(szCwd);
            for (wchar_t& c : strCwd) {
                if (c == L'/') c = L'\\';
            }
            if (strCwd.empty() || strCwd.back() != L'\\') strCwd += L'\\';
            strPath = strCwd + strPath;
        }
    }
    for (size_t uAt; (uAt = strPath.find(L"\\.\\")) != std::wstring::npos;) strPath.erase(uAt, 2);
    if (strPath.size() >= 2 && strPath.compare(strPath.size() - 2, 2, L"\\.") == 0) strPath.resize(strPath.size() - 2);
    strPath.push_back(0);
    STRING_normalizePath(&strPath[0]);
    strPath.resize(STRING_len(strPath.c_str()));
    if (!strPath.empty()) FILE_FoldCase(&strPath[0], static_cast<int>(strPath.size()));
    return strPath;
}
