// The archive-member road of MEM_TargetRead: a member of a CANZ archive, or, when there
// is no archive file, the loose file in a folder named after the archive.
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"
#include "kelto/press/canz.h"
#include "kelto/string/string.h"

int mem_TargetReadMember(unsigned char** _ppBuff, const wchar_t* _szPath, const wchar_t* _szMember)
{
    if (!_ppBuff || !_szPath || !_szMember) return 0;
    if (FILE_GetSize(_szPath) > 0) return CANZ_ReadFile(_ppBuff, _szPath, _szMember);

    // folder\pack.dat with member img\a.bmp: folder\pack\img\a.bmp
    wchar_t szDrive[3], szDir[256], szName[256], szExt[256];
    FILE_split(_szPath, szDrive, szDir, szName, szExt);
    if (!szName[0]) return 0;
    wchar_t szLoose[260];
    FILE_merge(szLoose, szDrive, szDir, szName, L"", 260);
    if (!szLoose[0]) return 0;
    const int iLen = STRING_len(szLoose);
    if (iLen + 1 + STRING_len(_szMember) >= 260) return 0;
    STRING_cat(szLoose, L"\\");
    STRING_cat(szLoose, _szMember);
    return mem_loadWhole(_ppBuff, szLoose, 1, "MEM_TargetRead");
}
