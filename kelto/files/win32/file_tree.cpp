// Creating every missing level of a folder and deleting whole trees.
#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"

int FILE_MakeDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH];
    FILE_split(_szPath, szDrive, szDir, 0, 0);
    wchar_t szLevel[FILE_PATH_LENGTH];
    STRING_cpy(szLevel, szDrive);
    STRING_cat(szLevel, szDir);  // 2 + 255 units at most

    // Each separator after the drive ends one level; both '\' and '/' count.
    int iLen = STRING_len(szLevel);
    for (int i = STRING_len(szDrive); i < iLen; ++i) {
        wchar_t c = szLevel[i];
        if (c != L'\\' && c != L'/') continue;
        if (i == 0 || szLevel[i - 1] == L':') continue;  // the root, or the drive itself
        szLevel[i] = 0;
        uint32_t uAttr = FILE_GetAttribute(szLevel);
        if (uAttr == FILE_ATTR_INVALID || !(uAttr & FILE_ATTR_FOLDER)) FILE_CreateDirectory(szLevel);
        szLevel[i] = c;
    }
    return 1;
}

// _szDir + '\' + _szName into _szOut of FILE_PATH_LENGTH units; 0 when it does not fit.
static int file_join(wchar_t* _szOut, const wchar_t* _szDir, const wchar_t* _szName)
{
    if (STRING_len(_szDir) + 1 + STRING_len(_szName) >= FILE_PATH_LENGTH) return 0;
    STRING_cpy(_szOut, _szDir);
    STRING_cat(_szOut, L"\\");
    STRING_cat(_szOut, _szName);
    return 1;
}

int FILE_DeleteTree(const wchar_t* _szPath)
{
    if (!_szPath || !_szPath[0]) return 0;
    // A link is removed itself; what it points to lies outside the tree.
    uint32_t uTop = FILE_GetAttribute(_szPath);
    if (uTop != FILE_ATTR_INVALID && (uTop & FILE_ATTR_REPARSE)) return FILE_RemoveDirectory(_szPath) ? 1 : 0;

    wchar_t szPattern[FILE_PATH_LENGTH];
    if (!file_join(szPattern, _szPath, L"*.*")) return 0;
    FILE_HANDLE hFind = FILE_INVALID_HANDLE;
    FIND_INFO stFound;
    if (FILE_FindFirst(szPattern, &hFind, &stFound)) {
        do {
            wchar_t szEntry[FILE_PATH_LENGTH];
            if (!file_join(szEntry, _szPath, stFound.szName)) {
                FILE_FindClose(hFind);
                return 0;
            }
            if (stFound.dwAttribute & FILE_ATTR_FOLDER) {
                if (stFound.szName[0] == L'.') continue;  // ".", ".." and dot folders stay
                if (stFound.dwAttribute & FILE_ATTR_REPARSE) FILE_RemoveDirectory(szEntry);
                else FILE_DeleteTree(szEntry);
            } else if (!FILE_Delete(szEntry)) {
                FILE_FindClose(hFind);
                return 0;
            }
        } while (FILE_FindNext(hFind, &stFound));
        FILE_FindClose(hFind);
    }
    return FILE_RemoveDirectory(_szPath) ? 1 : 0;
}

int FILE_DeleteDirectory(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    // A current folder cannot be removed: move to the parent first.
    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szParent[FILE_PATH_LENGTH];
    FILE_split(_szPath, szDrive, szDir, 0, 0);
    STRING_cpy(szParent, szDrive);
    STRING_cat(szParent, szDir);
    int iLen = STRING_len(szParent);
    // The last '\' goes, except where it makes the root ("C:\" or "\").
    if (iLen > 1 && szParent[iLen - 1] == L'\\' && szParent[iLen - 2] != L':') szParent[iLen - 1] = 0;
    if (szParent[0]) FILE_SetCurrentDirectory(szParent);
    return FILE_DeleteTree(_szPath);
}
