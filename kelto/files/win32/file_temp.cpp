// New files of names of their own, created exclusively beside the files they stand in for.
#include <chrono>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"
#include "kelto/string/string.h"

namespace {

// Names tried in one folder before giving up; an existing entry of a name only moves on.
const int TEMP_TRIES = 512;

unsigned temp_next()
{
    static unsigned s_uState = 0;
    if (s_uState == 0) {
        s_uState = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()) | 1u;
    }
    // xorshift: names spread over the whole range, so a folder full of old ones costs few tries.
    s_uState ^= s_uState << 13;
    s_uState ^= s_uState >> 17;
    s_uState ^= s_uState << 5;
    return s_uState;
}

// "~krlXXXX.tmp", or, where the folder leaves less room than that, "~" and as many hex
// digits as fit (a long folder whose files have short names still gets one).
int temp_name(wchar_t* _szOut, int _iRoom, unsigned _uValue)
{
    static const wchar_t s_szHex[] = L"0123456789ABCDEF";
    if (_iRoom >= 12) {
        STRING_sprintf(_szOut, 13, L"~krl%04X.tmp", _uValue & 0xFFFFu);
        return 1;
    }
    if (_iRoom < 2) return 0;
    const int iDigits = _iRoom - 1 < 8 ? _iRoom - 1 : 8;
    _szOut[0] = L'~';
    for (int i = 0; i < iDigits; ++i) _szOut[1 + i] = s_szHex[(_uValue >> (4 * i)) & 0xFu];
    _szOut[1 + iDigits] = 0;
    return 1;
}

} // namespace

FILE_HANDLE file_createTemp(const wchar_t* _szFolder, wchar_t* _szOut)
{
    if (!_szOut) return FILE_INVALID_HANDLE;
    _szOut[0] = 0;
    if (!_szFolder) return FILE_INVALID_HANDLE;
    int iFolder = STRING_len(_szFolder);
    if (iFolder >= FILE_PATH_LENGTH) return FILE_INVALID_HANDLE;
    wchar_t szPath[FILE_PATH_LENGTH];
    STRING_cpy(szPath, _szFolder);
    if (iFolder > 0 && szPath[iFolder - 1] != L'\\' && szPath[iFolder - 1] != L'/' &&
        !(iFolder == 2 && szPath[1] == L':')) {
        if (iFolder + 1 >= FILE_PATH_LENGTH) return FILE_INVALID_HANDLE;
        szPath[iFolder++] = L'\\';
        szPath[iFolder] = 0;
    }
    const int iRoom = FILE_PATH_LENGTH - 1 - iFolder;
    for (int i = 0; i < TEMP_TRIES; ++i) {
        if (!temp_name(szPath + iFolder, iRoom, temp_next())) return FILE_INVALID_HANDLE;
        FILE_HANDLE hFile = FILE_CreateNew(szPath);
        if (hFile != FILE_INVALID_HANDLE) {
            STRING_cpy(_szOut, szPath);
            return hFile;
        }
        // Only a name that is taken is worth another try; a missing or closed folder is not.
        if (FILE_GetAttribute(szPath) == FILE_ATTR_INVALID) return FILE_INVALID_HANDLE;
    }
    return FILE_INVALID_HANDLE;
}

int FILE_MakeTemp(const wchar_t* _szFolder, wchar_t* _szOut)
{
    FILE_HANDLE hFile = file_createTemp(_szFolder, _szOut);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    FILE_HdClose(hFile);
    return 1;
}
