// The program's own folder, from GetModuleFileNameW.
#include <windows.h>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "kelto/tools/debug.h"

typedef int Int32;

int FILE_GetModuleDirectory(wchar_t* _szOut, int _iSize)
{
    if (!_szOut) return 0;
    wchar_t szPath[FILE_PATH_LENGTH];
    DWORD dwLen = GetModuleFileNameW(0, szPath, FILE_PATH_LENGTH);
    if (dwLen == 0 || dwLen >= FILE_PATH_LENGTH) return 0;  // none, or cut short
    szPath[dwLen] = 0;

    wchar_t cDrive[FILE_DRIVE_LENGTH];
    wchar_t cDir[FILE_PART_LENGTH];
    FILE_split(szPath, cDrive, cDir, 0, 0);
    if (_iSize > 0) {
        KELTO_ASSERT((STRING_len(cDrive)+STRING_len(cDir)) < (Int32)_iSize);
        if (!((STRING_len(cDrive) + STRING_len(cDir)) < _iSize)) return 0;
    }
    FILE_merge(_szOut, cDrive, cDir, 0, 0, _iSize > 0 ? _iSize : FILE_PATH_LENGTH);
    return STRING_len(_szOut);
}
