// Attribute bits from stat: folder, read-only (no write bit for the owner), archive for
// every other entry. Setting them changes only the owner's write bit.
#include <sys/stat.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"

uint32_t FILE_GetAttribute(const wchar_t* _szPath)
{
    struct stat st;
    if (!_szPath || lstat(POSIX_path(_szPath).c_str(), &st) != 0) return FILE_ATTR_INVALID;
    uint32_t uAttr = S_ISDIR(st.st_mode) ? FILE_ATTR_FOLDER : FILE_ATTR_ARCHIVE;
    if (S_ISLNK(st.st_mode)) uAttr |= FILE_ATTR_REPARSE;
    if (!(st.st_mode & S_IWUSR)) uAttr |= FILE_ATTR_READONLY;
    return uAttr;
}

int FILE_SetAttribute(const wchar_t* _szSrc, const wchar_t* _szDst, int _iMask)
{
    if (!_szSrc || !_szDst) return 0;
    const uint32_t uAttr = FILE_GetAttribute(_szSrc);
    if (uAttr == FILE_ATTR_INVALID) return 0;
    struct stat st;
    const std::string strDst = POSIX_path(_szDst);
    if (stat(strDst.c_str(), &st) != 0) return 0;
    const int iReadOnly = (_iMask >> 12) & 0xF;
    const bool bReadOnly = iReadOnly == 0 ? false : iReadOnly == 1 ? true : (uAttr & FILE_ATTR_READONLY) != 0;
    const mode_t uMode = bReadOnly ? (st.st_mode & ~S_IWUSR) : (st.st_mode | S_IWUSR);
    return chmod(strDst.c_str(), uMode & 07777) == 0 ? 1 : 0;
}
