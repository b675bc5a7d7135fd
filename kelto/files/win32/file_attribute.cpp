// Attribute bits over GetFileAttributesW and SetFileAttributesW.
#include <windows.h>

#include "kelto/files/win32/file.h"

uint32_t FILE_GetAttribute(const wchar_t* _szPath)
{
    if (!_szPath) return FILE_ATTR_INVALID;
    return GetFileAttributesW(_szPath);
}

int FILE_SetAttribute(const wchar_t* _szSrc, const wchar_t* _szDst, int _iMask)
{
    if (!_szSrc || !_szDst) return 0;
    DWORD dwAttr = GetFileAttributesW(_szSrc);
    if (dwAttr == INVALID_FILE_ATTRIBUTES) return 0;  // nothing to start from

    static const DWORD s_dwBits[4] = {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_SYSTEM,
                                      FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY};
    for (int i = 0; i < 4; ++i) {
        int iField = (_iMask >> (i * 4)) & 0xF;
        if (iField == 0) dwAttr &= ~s_dwBits[i];
        else if (iField == 1) dwAttr |= s_dwBits[i];
    }
    // Kinds of entry are not attributes one can set.
    dwAttr &= ~(DWORD)(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT |
                       FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_COMPRESSED |
                       FILE_ATTRIBUTE_ENCRYPTED);
    if (dwAttr == 0) dwAttr = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(_szDst, dwAttr);
}
