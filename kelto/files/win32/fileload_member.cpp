// The archive-member road of MEM_TargetRead: archives are not read yet, so no member
// is found.
#include "kelto/files/win32/file_private.h"

int mem_TargetReadMember(unsigned char** _ppBuff, const wchar_t* _szPath, const wchar_t* _szMember)
{
    (void)_ppBuff;
    (void)_szPath;
    (void)_szMember;
    return 0;
}
