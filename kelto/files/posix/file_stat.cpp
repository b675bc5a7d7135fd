// Modification-time comparison through stat.
#include <sys/stat.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"

int FILE_IsNewer(const wchar_t* _szPathA, const wchar_t* _szPathB)
{
    struct stat stA, stB;
    if (!_szPathA || stat(POSIX_path(_szPathA).c_str(), &stA) != 0) return 0;
    if (!_szPathB || stat(POSIX_path(_szPathB).c_str(), &stB) != 0) return 1;
    return stA.st_mtime > stB.st_mtime ? 1 : 0;
}
