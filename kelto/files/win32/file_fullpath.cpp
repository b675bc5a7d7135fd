// GetFullPathNameW: the full path from the current folder, without asking the file system.
#include "kelto/files/pathkey.h"

#include <windows.h>

int FILE_GetFullPath(const wchar_t* _szPath, wchar_t* _szOut, int _iSize)
{
    if (!_szOut || _iSize <= 0) return 0;
    _szOut[0] = 0;
    if (!_szPath || !_szPath[0]) return 0;
    const DWORD dwLen = GetFullPathNameW(_szPath, static_cast<DWORD>(_iSize), _szOut, NULL);
    if (dwLen == 0 || dwLen >= static_cast<DWORD>(_iSize)) {
        _szOut[0] = 0;
        return 0;
    }
    return static_cast<int>(dwLen);
}
