// File handles over CreateFileW, ReadFile, WriteFile, SetFilePointer, FlushFileBuffers,
// SetEndOfFile and CloseHandle.
#include <windows.h>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"

static_assert(sizeof(FILE_HANDLE) == sizeof(HANDLE), "file handles are the platform's");

FILE_HANDLE FILE_Open(const wchar_t* _szPath, int _iWrite)
{
    if (!_szPath) return FILE_INVALID_HANDLE;
    if (_iWrite == 0)
        return CreateFileW(_szPath, GENERIC_READ, 0, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    return CreateFileW(_szPath, GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, 0);
}

FILE_HANDLE FILE_OpenWrite(const wchar_t* _szPath)
{
    return FILE_Open(_szPath, 1);
}

FILE_HANDLE FILE_Create(const wchar_t* _szPath)
{
    if (!_szPath) return FILE_INVALID_HANDLE;
    return CreateFileW(_szPath, GENERIC_READ | GENERIC_WRITE, 0, 0, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, 0);
}

FILE_HANDLE FILE_CreateNew(const wchar_t* _szPath)
{
    if (!_szPath) return FILE_INVALID_HANDLE;
    return CreateFileW(_szPath, GENERIC_READ | GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
}

int FILE_HdRead(FILE_HANDLE _hFile, void* _pBuff, uint32_t _uCount, uint32_t* _pRead)
{
    DWORD dwRead = 0;
    BOOL bOk = ReadFile(_hFile, _pBuff, _uCount, &dwRead, 0);
    if (_pRead) *_pRead = dwRead;
    return bOk;
}

int FILE_HdWrite(FILE_HANDLE _hFile, const void* _pData, uint32_t _uCount, uint32_t* _pWritten)
{
    // Under the test seam's limit only the bytes below it are written, and the write fails.
    uint32_t uRoom = _uCount;
    if (file_faultLimited()) {
        LARGE_INTEGER liZero, liPos;
        liZero.QuadPart = 0;
        if (SetFilePointerEx(_hFile, liZero, &liPos, FILE_CURRENT)) uRoom = file_faultWriteRoom(liPos.QuadPart, _uCount);
    }
    DWORD dwWritten = 0;
    BOOL bOk = uRoom == 0 || WriteFile(_hFile, _pData, uRoom, &dwWritten, 0);
    if (_pWritten) *_pWritten = dwWritten;
    if (uRoom != _uCount) {
        SetLastError(ERROR_DISK_FULL);
        return 0;
    }
    return bOk;
}

uint32_t FILE_HdSeek(FILE_HANDLE _hFile, int32_t _iDistance, int _iMethod)
{
    DWORD dwMethod = _iMethod == 1 ? FILE_CURRENT : (_iMethod == 2 ? FILE_END : FILE_BEGIN);
    return SetFilePointer(_hFile, _iDistance, 0, dwMethod);
}

int FILE_HdClose(FILE_HANDLE _hFile)
{
    return CloseHandle(_hFile);
}

int FILE_HdFlush(FILE_HANDLE _hFile)
{
    return FlushFileBuffers(_hFile);
}

int file_hdSetSize(FILE_HANDLE _hFile, int64_t _llSize)
{
    LARGE_INTEGER liSize;
    liSize.QuadPart = _llSize;
    return _llSize >= 0 && SetFilePointerEx(_hFile, liSize, 0, FILE_BEGIN) && SetEndOfFile(_hFile) ? 1 : 0;
}

int64_t file_hdSize(FILE_HANDLE _hFile)
{
    LARGE_INTEGER liSize;
    if (_hFile == FILE_INVALID_HANDLE || !GetFileSizeEx(_hFile, &liSize)) return -1;
    return liSize.QuadPart;
}
