// Drive types over GetDriveTypeW.
#include <windows.h>

#include "kelto/files/win32/file.h"

int FILE_GetDriveType(char _cDrive)
{
    wchar_t szRoot[4] = {static_cast<wchar_t>(static_cast<unsigned char>(_cDrive)), L':', L'\\', 0};
    return static_cast<int>(GetDriveTypeW(szRoot));
}
