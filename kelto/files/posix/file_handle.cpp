// File handles over open, read, write, lseek and close; a handle is the descriptor + 1,
// so that no valid handle is null.
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"

namespace {

FILE_HANDLE toHandle(int _iFd)
{
    return _iFd < 0 ? FILE_INVALID_HANDLE : reinterpret_cast<FILE_HANDLE>(static_cast<intptr_t>(_iFd) + 1);
}

int toFd(FILE_HANDLE _hFile)
{
    if (_hFile == FILE_INVALID_HANDLE || !_hFile) return -1;
    return static_cast<int>(reinterpret_cast<intptr_t>(_hFile) - 1);
}

FILE_HANDLE openPath(const wchar_t* _szPath, int _iFlags)
{
    if (!_szPath) return FILE_INVALID_HANDLE;
    const int iFd = open(POSIX_path(_szPath).c_str(), _iFlags | O_CLOEXEC, 0666);
    if (iFd >= 0) {
        // Folders open on POSIX; they are no files to read.
        struct stat st;
        if (fstat(iFd, &st) != 0 || S_ISDIR(st.st_mode)) {
            close(iFd);
            return FILE_INVALID_HANDLE;
        }
    }
    return toHandle(iFd);
}

} // namespace

FILE_HANDLE FILE_Open(const wchar_t* _szPath, int _iWrite)
{
    return openPath(_szPath, _iWrite == 0 ? O_RDONLY : (O_RDWR | O_CREAT));
}

FILE_HANDLE FILE_OpenWrite(const wchar_t* _szPath)
{
    return FILE_Open(_szPath, 1);
}

FILE_HANDLE FILE_Create(const wchar_t* _szPath)
{
    return openPath(_szPath, O_RDWR | O_CREAT | O_TRUNC);
}

FILE_HANDLE FILE_CreateNew(const wchar_t* _szPath)
{
    return openPath(_szPath, O_RDWR | O_CREAT | O_EXCL);
}

int FILE_HdRead(FILE_HANDLE _hFile, void* _pBuff, uint32_t _uCount, uint32_t* _pRead)
{
    const ssize_t iRead = toFd(_hFile) < 0 ? -1 : read(toFd(_hFile), _pBuff, _uCount);
    if (_pRead) *_pRead = iRead > 0 ? static_cast<uint32_t>(iRead) : 0;
    return iRead >= 0 ? 1 : 0;
}

int FILE_HdWrite(FILE_HANDLE _hFile, const void* _pData, uint32_t _uCount, uint32_t* _pWritten)
{
    const int iFd = toFd(_hFile);
    uint32_t uRoom = _uCount;
    if (iFd >= 0 && file_faultLimited()) {
        const off_t iPos = lseek(iFd, 0, SEEK_CUR);
        if (iPos >= 0) uRoom = file_faultWriteRoom(iPos, _uCount);
    }
    const ssize_t iWritten = iFd < 0 ? -1 : (uRoom == 0 ? 0 : write(iFd, _pData, uRoom));
    if (_pWritten) *_pWritten = iWritten > 0 ? static_cast<uint32_t>(iWritten) : 0;
    if (uRoom != _uCount) return 0;  // the test seam's limit
    return iWritten >= 0 ? 1 : 0;
}

uint32_t FILE_HdSeek(FILE_HANDLE _hFile, int32_t _iDistance, int _iMethod)
{
    const int iWhence = _iMethod == 1 ? SEEK_CUR : (_iMethod == 2 ? SEEK_END : SEEK_SET);
    const off_t iPos = toFd(_hFile) < 0 ? -1 : lseek(toFd(_hFile), _iDistance, iWhence);
    return iPos < 0 ? 0xFFFFFFFFu : static_cast<uint32_t>(iPos);
}

int FILE_HdClose(FILE_HANDLE _hFile)
{
    return toFd(_hFile) >= 0 && close(toFd(_hFile)) == 0 ? 1 : 0;
}

int FILE_HdFlush(FILE_HANDLE _hFile)
{
    return toFd(_hFile) >= 0 && fsync(toFd(_hFile)) == 0 ? 1 : 0;
}

int file_hdSetSize(FILE_HANDLE _hFile, int64_t _llSize)
{
    return toFd(_hFile) >= 0 && _llSize >= 0 && ftruncate(toFd(_hFile), static_cast<off_t>(_llSize)) == 0 ? 1 : 0;
}

int64_t file_hdSize(FILE_HANDLE _hFile)
{
    struct stat st;
    if (toFd(_hFile) < 0 || fstat(toFd(_hFile), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}
