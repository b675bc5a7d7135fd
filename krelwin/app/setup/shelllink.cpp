// A shell link file through the shell's COM link object.
#include <windows.h>
#include <shlobj.h>
#include <objidl.h>

#include "kelto/string/moji.h"
#include "krelwin/app/setup/setup.h"

int CreateShellLink(const char* _szTarget, const char* _szWorkDir, const char* _szLink)
{
    if (!_szTarget || !_szWorkDir || !_szLink) return 0;
    // Only a successful initialisation is undone (a thread in another apartment keeps its own).
    const HRESULT hrInit = CoInitialize(0);
    const bool bUninit = SUCCEEDED(hrInit);

    IShellLinkA* pLink = 0;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, 0, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&pLink))) ||
        !pLink) {
        if (bUninit) CoUninitialize();
        return 0;
    }
    IPersistFile* pFile = 0;
    if (FAILED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) || !pFile) {
        pLink->Release();
        if (bUninit) CoUninitialize();
        return 0;
    }

    int iResult = 0;
    if (SUCCEEDED(pLink->SetPath(_szTarget)) && SUCCEEDED(pLink->SetDescription("")) &&
        SUCCEEDED(pLink->SetWorkingDirectory(_szWorkDir))) {
        CTOUTF16 cLink(_szLink);
        const wchar_t* pWide = cLink.Get();
        int iUnits = 0;
        while (pWide && pWide[iUnits]) ++iUnits;
        if (pWide && iUnits < SETUP_PATH_LENGTH && SUCCEEDED(pFile->Save(pWide, TRUE))) iResult = 1;
    }
    pFile->Release();
    pLink->Release();
    if (bUninit) CoUninitialize();
    return iResult;
}
