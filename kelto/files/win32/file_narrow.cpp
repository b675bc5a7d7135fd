// The 8-bit forms: texts go through UTF-16, so that a second byte of a double-byte
// character (0x5C is one in Shift-JIS) is never taken for a separator.
#include <cstring>

#include "kelto/files/win32/file.h"
#include "kelto/string/moji.h"
#include "kelto/tools/debug.h"

namespace {

// Stores a UTF-16 part as 8-bit text in a room of _iRoom bytes; false when it does not fit.
bool file_narrowPart(const wchar_t* _szPart, char* _szOut, int _iRoom)
{
    if (!_szOut) return true;
    CTOSJIS cPart(_szPart);
    const char* pText = cPart.Get() ? cPart.Get() : "";
    size_t uLen = std::strlen(pText);
    if (uLen >= static_cast<size_t>(_iRoom)) return false;
    std::memcpy(_szOut, pText, uLen + 1);
    return true;
}

}  // namespace

int FILE_GetSize(const char* _szPath)
{
    return FILE_GetSize(CTOUTF16(_szPath).Get());
}

FILE_HANDLE FILE_Open(const char* _szPath, int _iWrite)
{
    return FILE_Open(CTOUTF16(_szPath).Get(), _iWrite);
}

FILE_HANDLE FILE_Create(const char* _szPath)
{
    return FILE_Create(CTOUTF16(_szPath).Get());
}

int FILE_MakeDirectory(const char* _szPath)
{
    return FILE_MakeDirectory(CTOUTF16(_szPath).Get());
}

int FILE_Copy(const char* _szSrc, const char* _szDst)
{
    return FILE_Copy(CTOUTF16(_szSrc).Get(), CTOUTF16(_szDst).Get());
}

int mem_TargetRead(unsigned char** _ppBuff, const char* _szPath)
{
    return mem_TargetRead(_ppBuff, CTOUTF16(_szPath).Get());
}

void FILE_split(const char* _szPath, char* _szDrive, char* _szDir, char* _szName, char* _szExt)
{
    if (_szDrive) _szDrive[0] = 0;
    if (_szDir) _szDir[0] = 0;
    if (_szName) _szName[0] = 0;
    if (_szExt) _szExt[0] = 0;
    if (!_szPath) return;
    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH];
    FILE_split(CTOUTF16(_szPath).Get(), szDrive, szDir, szName, szExt);
    if (file_narrowPart(szDrive, _szDrive, FILE_DRIVE_LENGTH) && file_narrowPart(szDir, _szDir, FILE_PART_LENGTH) &&
        file_narrowPart(szName, _szName, FILE_PART_LENGTH) && file_narrowPart(szExt, _szExt, FILE_PART_LENGTH))
        return;
    // Refused: every given part stays empty.
    if (_szDrive) _szDrive[0] = 0;
    if (_szDir) _szDir[0] = 0;
    if (_szName) _szName[0] = 0;
    if (_szExt) _szExt[0] = 0;
}

void FILE_merge(char* _szPath, const char* _szDrive, const char* _szDir, const char* _szName,
                const char* _szExt, int _iSize)
{
    KELTO_ASSERT(_szPath);
    if (!_szPath || _iSize <= 0) return;
    // A joined path of _iSize bytes has at most _iSize units.
    wchar_t szJoined[4 * FILE_PATH_LENGTH];
    int iRoom = _iSize < 4 * FILE_PATH_LENGTH ? _iSize : 4 * FILE_PATH_LENGTH;
    FILE_merge(szJoined, CTOUTF16(_szDrive).Get(), CTOUTF16(_szDir).Get(), CTOUTF16(_szName).Get(), CTOUTF16(_szExt).Get(),
               iRoom);
    if (!file_narrowPart(szJoined, _szPath, _iSize)) _szPath[0] = 0;
}

void FILE_AddSeparator(char* _szPath)
{
    if (!_szPath || !_szPath[0]) return;
    CTOUTF16 cPath(_szPath);
    const wchar_t* pWide = cPath.Get();
    if (!pWide) return;
    size_t uUnits = 0;
    while (pWide[uUnits]) ++uUnits;
    if (uUnits && pWide[uUnits - 1] == L'\\') return;
    size_t uLen = std::strlen(_szPath);
    _szPath[uLen] = '\\';
    _szPath[uLen + 1] = 0;
}

int FILE_Delete(const char* _szPath)
{
    return FILE_Delete(CTOUTF16(_szPath).Get());
}
