// Modification-time comparison through the C library's file status call.
#include <sys/stat.h>
#include <sys/types.h>

#include "kelto/files/win32/file.h"

int FILE_IsNewer(const wchar_t* _szPathA, const wchar_t* _szPathB)
{
    struct _stat stA, stB;
    if (!_szPathA || _wstat(_szPathA, &stA) != 0) return 0;
    if (!_szPathB || _wstat(_szPathB, &stB) != 0) return 1;
    return stA.st_mtime > stB.st_mtime ? 1 : 0;
}
