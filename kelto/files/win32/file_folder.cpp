// Folders over CreateDirectoryW, RemoveDirectoryW and the current-folder calls.
#include <windows.h>

#include "kelto/files/win32/file.h"

int FILE_GetCurrentDirectory(wchar_t* _szOut, int _iSize)
{
    if (!_szOut) return 0;
    if (_iSize <= 0) _iSize = FILE_PATH_LENGTH;
    return static_cast<int>(GetCurrentDirectoryW(static_cast<DWORD>(_iSize), _szOut));
}

int FILE_SetCurrentDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return SetCurrentDirectoryW(_szPath);
}

int FILE_CreateDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return CreateDirectoryW(_szPath, 0);
}

int FILE_RemoveDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return RemoveDirectoryW(_szPath);
}
