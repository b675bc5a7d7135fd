// Deleting and moving directory entries over DeleteFileW and MoveFileW.
#include <windows.h>

#include "kelto/files/win32/file.h"

int FILE_Delete(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return DeleteFileW(_szPath);
}

int FILE_Move(const wchar_t* _szOld, const wchar_t* _szNew)
{
    if (!_szOld || !_szNew) return 0;
    return MoveFileW(_szOld, _szNew);
}
