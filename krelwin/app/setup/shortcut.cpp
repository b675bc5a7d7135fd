// The desktop shortcut: the link is made in the temporary folder and copied to the
// desktop folder of the shell.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "krelwin/app/setup/setup.h"

namespace {

const char s_szLinkName[] = "DravikVO";

}  // namespace

int SETUP_ShellDesktopFolder(char* _szOut)
{
    _szOut[0] = 0;
    LPITEMIDLIST pList = 0;
    if (FAILED(SHGetSpecialFolderLocation(0, CSIDL_DESKTOPDIRECTORY, &pList)) || !pList) return 0;
    char szPath[MAX_PATH + 1] = {0};
    const BOOL bPath = SHGetPathFromIDListA(pList, szPath);
    IMalloc* pMalloc = 0;
    if (SUCCEEDED(SHGetMalloc(&pMalloc)) && pMalloc) {
        pMalloc->Free(pList);
        pMalloc->Release();
    }
    if (!bPath || !szPath[0] || std::strlen(szPath) >= SETUP_PATH_LENGTH) return 0;
    std::strcpy(_szOut, szPath);
    return 1;
}

int CreateDesktopShortcut(const char* _szProgram)
{
    if (!_szProgram || !_szProgram[0]) return 0;
    char szDesktop[SETUP_PATH_LENGTH];
    const int iDesktop = g_stSetupHooks.m_pDesktopFolder(szDesktop);

    char szTemp[SETUP_PATH_LENGTH] = {0};
    const DWORD dwTemp = GetTempPathA(SETUP_PATH_LENGTH, szTemp);
    if (dwTemp == 0 || dwTemp >= SETUP_PATH_LENGTH) return 0;
    char szTempLink[SETUP_PATH_LENGTH];
    const int iTempLink = std::snprintf(szTempLink, sizeof szTempLink, "%s%s.lnk", szTemp, s_szLinkName);
    if (iTempLink < 0 || iTempLink >= static_cast<int>(sizeof szTempLink)) return 0;

    char szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szWork[SETUP_PATH_LENGTH];
    FILE_split(_szProgram, szDrive, szDir, 0, 0);
    FILE_merge(szWork, szDrive, szDir, "", "", SETUP_PATH_LENGTH);
    const size_t uWork = std::strlen(szWork);
    if (uWork > 3 && szWork[uWork - 1] == '\\') szWork[uWork - 1] = 0;  // a drive root keeps its '\'

    if (!CreateShellLink(_szProgram, szWork, szTempLink)) return 0;

    // Without a desktop folder the link stays only in the temporary folder.
    if (!iDesktop) return 1;
    char szDesktopLink[SETUP_PATH_LENGTH];
    const int iLink = std::snprintf(szDesktopLink, sizeof szDesktopLink, "%s\\%s.lnk", szDesktop, s_szLinkName);
    if (iLink >= 0 && iLink < static_cast<int>(sizeof szDesktopLink)) FILE_Copy(szTempLink, szDesktopLink);
    return 1;
}
