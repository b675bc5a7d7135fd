// Deleting, moving and replacing directory entries over DeleteFileW and MoveFileExW.
#include <windows.h>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"

int FILE_Delete(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return DeleteFileW(_szPath);
}

int FILE_Move(const wchar_t* _szOld, const wchar_t* _szNew)
{
    if (!_szOld || !_szNew || file_faultMove()) return 0;
    return MoveFileW(_szOld, _szNew);
}

int FILE_Replace(const wchar_t* _szNew, const wchar_t* _szTarget)
{
    if (!_szNew || !_szTarget || file_faultMove()) return 0;
    return MoveFileExW(_szNew, _szTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}
