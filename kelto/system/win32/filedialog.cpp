// The common open and save dialogs.
#include "kelto/system/win32/dialog.h"

#include <windows.h>
#include <commdlg.h>

#include "kelto/string/string.h"

#ifndef _WIN64
static_assert(sizeof(OPENFILENAMEW) == 88, "the open-file record of the extended size");
#endif

namespace {

int filedialog_run(const FILE_SELECT& _stSelect, int _iSave)
{
    if (!_stSelect.m_pPath) return 0;
    wchar_t szFull[FILE_PATH_LENGTH];
    wchar_t szTitle[FILE_PATH_LENGTH];
    szFull[0] = L'\0';
    szTitle[0] = L'\0';
    if (_stSelect.m_pInitial) {
        if (STRING_len(_stSelect.m_pInitial) >= FILE_PATH_LENGTH) return 0;
        STRING_cpy(szFull, _stSelect.m_pInitial);
    }

    OPENFILENAMEW stOfn = {};
    stOfn.lStructSize = sizeof(stOfn);
    stOfn.hwndOwner = _stSelect.m_hOwner;
    stOfn.lpstrFilter = _stSelect.m_pFilter;
    stOfn.nFilterIndex = 1;
    stOfn.lpstrFile = szFull;
    stOfn.nMaxFile = FILE_PATH_LENGTH;
    stOfn.lpstrFileTitle = szTitle;
    stOfn.nMaxFileTitle = FILE_PATH_LENGTH;
    stOfn.lpstrTitle = _stSelect.m_pTitle;
    // A file to be saved need not exist yet; its folder must.
    stOfn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (_iSave ? 0 : OFN_FILEMUSTEXIST);
    stOfn.lpstrDefExt = _iSave ? 0 : L"bmp";

    const BOOL bChosen = _iSave ? GetSaveFileNameW(&stOfn) : GetOpenFileNameW(&stOfn);
    if (!bChosen) return 0;
    return STRING_cpy(_stSelect.m_pPath, szFull);
}

int filedialog_allFiles(HWND__* _hOwner, wchar_t* _pPath, int _iSave)
{
    if (!_pPath) return 0;
    wchar_t szPath[FILE_PATH_LENGTH];
    szPath[0] = L'\0';
    FILE_SELECT stSelect = {_hOwner, _iSave ? L"Save File" : L"Open File", szPath, 0,
                            L"All Files(*.*)\0*.*\0"};
    const int iChosen = _iSave ? FILE_SelectSave(stSelect) : FILE_SelectOpen(stSelect);
    if (!iChosen) return 0;
    return STRING_cpy(_pPath, szPath);
}

}  // namespace

int FILE_SelectOpen(FILE_SELECT _stSelect)
{
    return filedialog_run(_stSelect, 0);
}

int FILE_SelectSave(FILE_SELECT _stSelect)
{
    return filedialog_run(_stSelect, 1);
}

int FILE_SelectOpenFile(HWND__* _hOwner, wchar_t* _pPath)
{
    return filedialog_allFiles(_hOwner, _pPath, 0);
}

int FILE_SelectSaveFile(HWND__* _hOwner, wchar_t* _pPath)
{
    return filedialog_allFiles(_hOwner, _pPath, 1);
}
