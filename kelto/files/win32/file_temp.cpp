// A new empty file of a name of its own in a folder, over GetTempFileNameW.
#include <windows.h>

#include "kelto/files/win32/file.h"

int FILE_MakeTemp(const wchar_t* _szFolder, wchar_t* _szOut)
{
    if (!_szOut) return 0;
    _szOut[0] = 0;
    if (!_szFolder) return 0;
    wchar_t szPath[MAX_PATH];
    if (!GetTempFileNameW(_szFolder[0] ? _szFolder : L".", L"krl", 0, szPath)) return 0;
    lstrcpynW(_szOut, szPath, FILE_PATH_LENGTH);
    return 1;
}
