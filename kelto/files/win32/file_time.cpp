// Last-write times over GetFileTime and SetFileTime, in local time.
#include <windows.h>

#include "kelto/files/win32/file.h"
#include "kelto/tools/debug.h"

// Folders open with backup semantics, shared for reading; files without sharing.
static HANDLE file_openForTime(const wchar_t* _szPath, DWORD _dwAccess)
{
    DWORD dwAttr = GetFileAttributesW(_szPath);
    if (dwAttr == INVALID_FILE_ATTRIBUTES) return INVALID_HANDLE_VALUE;
    if (dwAttr & FILE_ATTRIBUTE_DIRECTORY)
        return CreateFileW(_szPath, _dwAccess, FILE_SHARE_READ, 0, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, 0);
    return CreateFileW(_szPath, _dwAccess, 0, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
}

int FILE_GetTime(const wchar_t* _szPath, TIME_INFO* _pFTime)
{
    KELTO_ASSERT(_pFTime);
    if (!_pFTime || !_szPath) return 0;
    HANDLE hFile = file_openForTime(_szPath, GENERIC_READ);
    if (hFile == INVALID_HANDLE_VALUE) return 0;

    FILETIME ftWrite, ftLocal;
    SYSTEMTIME stTime;
    int iOk = GetFileTime(hFile, 0, 0, &ftWrite) && FileTimeToLocalFileTime(&ftWrite, &ftLocal) &&
              FileTimeToSystemTime(&ftLocal, &stTime);
    CloseHandle(hFile);
    if (!iOk) return 0;
    _pFTime->wYear = stTime.wYear;
    _pFTime->byMonth = static_cast<uint8_t>(stTime.wMonth);
    _pFTime->byWeek = static_cast<uint8_t>(stTime.wDayOfWeek);
    _pFTime->byDay = static_cast<uint8_t>(stTime.wDay);
    _pFTime->byHour = static_cast<uint8_t>(stTime.wHour);
    _pFTime->byMinute = static_cast<uint8_t>(stTime.wMinute);
    _pFTime->bySecond = static_cast<uint8_t>(stTime.wSecond);
    return 1;
}

int FILE_SetTime(const wchar_t* _szPath, const TIME_INFO* _pFTime)
{
    KELTO_ASSERT(_pFTime);
    if (!_pFTime || !_szPath) return 0;
    SYSTEMTIME stTime;
    stTime.wYear = _pFTime->wYear;
    stTime.wMonth = _pFTime->byMonth;
    stTime.wDayOfWeek = _pFTime->byWeek;
    stTime.wDay = _pFTime->byDay;
    stTime.wHour = _pFTime->byHour;
    stTime.wMinute = _pFTime->byMinute;
    stTime.wSecond = _pFTime->bySecond;
    stTime.wMilliseconds = 0;
    FILETIME ftLocal, ftWrite;
    if (!SystemTimeToFileTime(&stTime, &ftLocal) || !LocalFileTimeToFileTime(&ftLocal, &ftWrite))
        return 0;  // not a valid date and time

    HANDLE hFile = file_openForTime(_szPath, GENERIC_WRITE);
    if (hFile == INVALID_HANDLE_VALUE) return 0;
    int iOk = SetFileTime(hFile, 0, 0, &ftWrite) ? 1 : 0;
    CloseHandle(hFile);
    return iOk;
}
