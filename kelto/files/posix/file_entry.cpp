// Deleting, moving and replacing directory entries over unlink and rename (which, unlike
// the platform's move, would replace an existing target: refused here as there, but for
// FILE_Replace).
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"

int FILE_Delete(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    return unlink(POSIX_path(_szPath).c_str()) == 0 ? 1 : 0;
}

int FILE_Move(const wchar_t* _szOld, const wchar_t* _szNew)
{
    if (!_szOld || !_szNew || file_faultMove()) return 0;
    const std::string strNew = POSIX_path(_szNew);
    struct stat st;
    if (lstat(strNew.c_str(), &st) == 0) return 0;
    return std::rename(POSIX_path(_szOld).c_str(), strNew.c_str()) == 0 ? 1 : 0;
}

int FILE_Replace(const wchar_t* _szNew, const wchar_t* _szTarget)
{
    if (!_szNew || !_szTarget || file_faultMove()) return 0;
    const std::string strTarget = POSIX_path(_szTarget);
    // As the platform's, no folder is replaced.
    struct stat st;
    if (lstat(strTarget.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 0;
    return std::rename(POSIX_path(_szNew).c_str(), strTarget.c_str()) == 0 ? 1 : 0;
}
