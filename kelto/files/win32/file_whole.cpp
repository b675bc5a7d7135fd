// Whole-file reads, writes, appends and copies, built on the handle functions. A file is
// written whole beside itself and then put in its place (CFileStage); an append that fails
// is cut back to the file's old length: no failed write leaves a file cut short.
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"

FILE_HANDLE file_openSized(const wchar_t* _szPath, int* _pSize)
{
    *_pSize = 0;
    FILE_HANDLE hFile = FILE_Open(_szPath, 0);
    if (hFile == FILE_INVALID_HANDLE) return FILE_INVALID_HANDLE;
    int64_t llSize = file_hdSize(hFile);
    if (llSize < 1 || llSize > FILE_SIZE_MAX) {
        FILE_HdClose(hFile);
        return FILE_INVALID_HANDLE;
    }
    *_pSize = static_cast<int>(llSize);
    return hFile;
}

int file_readAll(FILE_HANDLE _hFile, void* _pBuff, int _iCount)
{
    unsigned char* pTo = static_cast<unsigned char*>(_pBuff);
    while (_iCount > 0) {
        uint32_t uRead = 0;
        if (!FILE_HdRead(_hFile, pTo, static_cast<uint32_t>(_iCount), &uRead) || uRead == 0) return 0;
        pTo += uRead;
        _iCount -= static_cast<int>(uRead);
    }
    return 1;
}

static int file_writeAll(FILE_HANDLE _hFile, const void* _pData, int _iCount)
{
    uint32_t uWritten = 0;
    return FILE_HdWrite(_hFile, _pData, static_cast<uint32_t>(_iCount), &uWritten) &&
           uWritten == static_cast<uint32_t>(_iCount);
}

int FILE_GetSize(const wchar_t* _szPath)
{
    FILE_HANDLE hFile = FILE_Open(_szPath, 0);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    int64_t llSize = file_hdSize(hFile);
    FILE_HdClose(hFile);
    if (llSize < 0) return 0;
    if (llSize > FILE_SIZE_MAX) return -1;  // never a wrapped size
    return static_cast<int>(llSize);
}

int FILE_IsExist(const wchar_t* _szPath)
{
    FILE_HANDLE hFile = FILE_Open(_szPath, 0);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    FILE_HdClose(hFile);
    return 1;
}

int FILE_Read(const wchar_t* _szPath, void* _pBuff)
{
    if (!_pBuff) return 0;
    int iSize = 0;
    FILE_HANDLE hFile = file_openSized(_szPath, &iSize);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    int iOk = file_readAll(hFile, _pBuff, iSize);
    FILE_HdClose(hFile);
    return iOk ? iSize : 0;
}

int FILE_Write(const wchar_t* _szPath, const void* _pData, int _iSize)
{
    if (!_pData || _iSize <= 0) return 0;
    CFileStage cStage;
    return cStage.Open(_szPath) && cStage.Write(_pData, _iSize) && cStage.Commit() ? _iSize : 0;
}

int FILE_WriteMerge(const wchar_t* _szPath, const void* _pData, int _iSize)
{
    if (!_pData || _iSize <= 0 || !_szPath) return 0;
    const bool bNew = FILE_GetAttribute(_szPath) == FILE_ATTR_INVALID;
    FILE_HANDLE hFile = FILE_OpenWrite(_szPath);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    const int64_t llOld = file_hdSize(hFile);
    int iOk = llOld >= 0 && FILE_HdSeek(hFile, 0, 2) == static_cast<uint32_t>(llOld) &&
              file_writeAll(hFile, _pData, _iSize) && FILE_HdFlush(hFile);
    if (!iOk && llOld >= 0) file_hdSetSize(hFile, llOld);
    if (!FILE_HdClose(hFile)) iOk = 0;
    // A file this append made is not left behind empty.
    if (!iOk && bNew) FILE_Delete(_szPath);
    return iOk ? _iSize : 0;
}

int mem_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath)
{
    if (!_ppBuff) return 0;
    *_ppBuff = 0;
    int iSize = 0;
    FILE_HANDLE hFile = file_openSized(_szPath, &iSize);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    if (iSize >= FILE_LOAD_LIMIT) {
        FILE_HdClose(hFile);
        return 0;
    }
    unsigned char* pBuff = KELTO_NEW("mem_TargetRead") unsigned char[iSize];
    int iOk = pBuff && file_readAll(hFile, pBuff, iSize);
    FILE_HdClose(hFile);
    if (!iOk) {
        MEM_free(&pBuff);
        return 0;
    }
    *_ppBuff = pBuff;
    return iSize;
}

// The path FILE_Copy writes: the destination, or, when it ends in '\', the destination
// with the source's name and extension. 0 when that does not fit a path.
static int file_copyTarget(const wchar_t* _szSrc, const wchar_t* _szDst, wchar_t* _szOut)
{
    int iLen = STRING_len(_szDst);
    if (iLen == 0 || iLen >= FILE_PATH_LENGTH) return 0;
    STRING_cpy(_szOut, _szDst);
    if (_szDst[iLen - 1] != L'\\') return 1;
    wchar_t szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH];
    FILE_split(_szSrc, 0, 0, szName, szExt);
    return STRING_cat(_szOut, szName, FILE_PATH_LENGTH - 1) && STRING_cat(_szOut, szExt, FILE_PATH_LENGTH - 1);
}

// FILE_Copy into the written path; *_pWritten tells whether the destination was written.
static int file_copy(const wchar_t* _szSrc, const wchar_t* _szDst, wchar_t* _szTarget, int* _pWritten)
{
    *_pWritten = 0;
    if (!_szSrc || !_szDst || !file_copyTarget(_szSrc, _szDst, _szTarget)) return 0;
    unsigned char* pBuff = 0;
    int iSize = mem_TargetRead(&pBuff, _szSrc);
    if (iSize > 0) {
        int iResult = FILE_Write(_szTarget, pBuff, iSize);
        MEM_free(&pBuff);
        *_pWritten = iResult > 0;
        return iResult;
    }
    // An empty source makes an empty destination; an unreadable one leaves it alone.
    if (FILE_GetSize(_szSrc) == 0 && FILE_IsExist(_szSrc)) {
        CFileStage cStage;
        *_pWritten = cStage.Open(_szTarget) && cStage.Commit();
    }
    return 0;
}

int FILE_Copy(const wchar_t* _szSrc, const wchar_t* _szDst)
{
    wchar_t szTarget[FILE_PATH_LENGTH];
    int iWritten = 0;
    return file_copy(_szSrc, _szDst, szTarget, &iWritten);
}

int FILE_CopyEx(const wchar_t* _szSrc, const wchar_t* _szDst, int _iMask)
{
    wchar_t szTarget[FILE_PATH_LENGTH];
    int iWritten = 0;
    int iResult = file_copy(_szSrc, _szDst, szTarget, &iWritten);
    if (iWritten) FILE_SetAttribute(_szSrc, szTarget, _iMask);
    return iResult;
}
