// The folder dialog of the shell, for choosing the install folder.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "krelwin/app/setup/setup.h"

namespace {

int CALLBACK BrowseCallbackProc(HWND _hWnd, UINT _uMsg, LPARAM /*_lParam*/, LPARAM _lpData)
{
    if (_uMsg == BFFM_INITIALIZED && _lpData) SendMessageA(_hWnd, BFFM_SETSELECTIONA, TRUE, _lpData);
    return 0;
}

}  // namespace

int BrowseForInstallFolder(HWND__* _hOwner, char* _szFolder)
{
    if (!_szFolder) return 0;
    BROWSEINFOA stInfo = {};
    stInfo.hwndOwner = _hOwner;
    stInfo.pidlRoot = 0;
    stInfo.lpszTitle = "インストール先を選択して下さい";
    stInfo.ulFlags = 0;
    stInfo.lpfn = BrowseCallbackProc;
    stInfo.lParam = reinterpret_cast<LPARAM>(_szFolder);
    LPITEMIDLIST pList = SHBrowseForFolderA(&stInfo);
    if (!pList) return 0;

    char szPath[MAX_PATH + 1] = {0};
    const BOOL bPath = SHGetPathFromIDListA(pList, szPath);
    IMalloc* pMalloc = 0;
    if (SUCCEEDED(SHGetMalloc(&pMalloc)) && pMalloc) {
        pMalloc->Free(pList);
        pMalloc->Release();
    }
    // A chosen item without a file-system path (a printer, the network) is no folder.
    if (!bPath || !szPath[0]) return 0;
    const size_t uLen = std::strlen(szPath);
    if (uLen >= SETUP_PATH_LENGTH) return 0;
    std::memcpy(_szFolder, szPath, uLen + 1);
    return 1;
}
