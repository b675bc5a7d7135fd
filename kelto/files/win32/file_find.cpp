// Folder searches over FindFirstFileW, FindNextFileW and FindClose.
#include <windows.h>

#include "kelto/files/win32/file.h"

static void file_toFindInfo(const WIN32_FIND_DATAW& _stData, FIND_INFO* _pInfo)
{
    _pInfo->dwAttribute = _stData.dwFileAttributes;
    _pInfo->dwSize = _stData.nFileSizeLow;
    int i = 0;
    for (; i < FILE_PATH_LENGTH - 1 && _stData.cFileName[i]; ++i) _pInfo->szName[i] = _stData.cFileName[i];
    _pInfo->szName[i] = 0;
}

int FILE_FindFirst(const wchar_t* _szPattern, FILE_HANDLE* _phFind, FIND_INFO* _pInfo)
{
    if (_phFind) *_phFind = FILE_INVALID_HANDLE;
    if (!_szPattern || !_phFind || !_pInfo) return 0;
    WIN32_FIND_DATAW stData;
    HANDLE hFind = FindFirstFileW(_szPattern, &stData);
    if (hFind == INVALID_HANDLE_VALUE) return 0;
    *_phFind = hFind;
    file_toFindInfo(stData, _pInfo);
    return 1;
}

int FILE_FindNext(FILE_HANDLE _hFind, FIND_INFO* _pInfo)
{
    if (_hFind == FILE_INVALID_HANDLE || !_pInfo) return 0;
    WIN32_FIND_DATAW stData;
    if (!FindNextFileW(_hFind, &stData)) return 0;
    file_toFindInfo(stData, _pInfo);
    return 1;
}

int FILE_FindClose(FILE_HANDLE _hFind)
{
    if (_hFind == FILE_INVALID_HANDLE) return 0;
    return FindClose(_hFind);
}
