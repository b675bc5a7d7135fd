// Folders over mkdir, rmdir, getcwd and chdir.
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"

int FILE_GetCurrentDirectory(wchar_t* _szOut, int _iSize)
{
    if (!_szOut) return 0;
    if (_iSize <= 0) _iSize = FILE_PATH_LENGTH;
    char szPath[4096];
    if (!getcwd(szPath, sizeof(szPath))) return 0;
    const std::wstring strPath = POSIX_fromUtf8(szPath);
    // As the platform does: the room needed when it does not fit.
    if (static_cast<int>(strPath.size()) >= _iSize) return static_cast<int>(strPath.size()) + 1;
    STRING_cpy(_szOut, strPath.c_str());
    return static_cast<int>(strPath.size());
}

int FILE_SetCurrentDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return chdir(POSIX_path(_szPath).c_str()) == 0 ? 1 : 0;
}

int FILE_CreateDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return mkdir(POSIX_path(_szPath).c_str(), 0777) == 0 ? 1 : 0;
}

int FILE_RemoveDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return rmdir(POSIX_path(_szPath).c_str()) == 0 ? 1 : 0;
}
