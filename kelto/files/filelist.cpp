// The target file list: folder table, entries, scans of patterns and folders.
#include "kelto/files/filelist.h"

#include "kelto/string/string.h"

#define FILELIST_INTERVAL 60

void FILE_DelTailSeparator(wchar_t* _szPath)
{
    int iLen = STRING_len(_szPath);
    if (iLen > 0 && _szPath[iLen - 1] == L'\\') _szPath[iLen - 1] = 0;
}

static bool filelist_isFolder(const wchar_t* _szPath)
{
    uint32_t uAttr = FILE_GetAttribute(_szPath);
    return uAttr != FILE_ATTR_INVALID && (uAttr & FILE_ATTR_FOLDER);
}

CFileList::CFileList()
    : m_iSearchSub(0),
      m_pCallback(0),
      m_pCallbackArg(0),
      m_iCallbackCount(0),
      m_iCallbackInterval(FILELIST_INTERVAL)
{
    m_szWork[0] = 0;
}

int CFileList::Add(const wchar_t* _szPath)
{
    if (!_szPath) return 0;
    uint32_t uAttr = FILE_GetAttribute(_szPath);
    if (uAttr != FILE_ATTR_INVALID && !(uAttr & FILE_ATTR_FOLDER)) Search(_szPath, 0);
    else Search(_szPath, m_iSearchSub);
    return 1;
}

void CFileList::Clear()
{
    m_vDir.clear();
    m_vFile.clear();
}

void CFileList::Delete(int _iIndex)
{
    if (_iIndex < 0 || _iIndex >= GetCount()) return;
    m_vFile.erase(m_vFile.begin() + _iIndex);
}

void CFileList::Erase(Position _itEntry)
{
    if (_itEntry == m_vFile.end()) return;
    m_vFile.erase(_itEntry);
}

int CFileList::DeleteExt(const wchar_t* _szExt, int _iInvert)
{
    std::wstring strExt = _szExt ? _szExt : L"";
    int iRemoved = 0;
    for (int i = 0; i < GetCount();) {
        bool bSame = GetExt(i) == strExt;
        if (bSame != (_iInvert != 0)) {
            Delete(i);
            ++iRemoved;
        } else {
            ++i;
        }
    }
    return iRemoved;
}

int CFileList::GetCount() const
{
    return static_cast<int>(m_vFile.size());
}

std::wstring CFileList::GetName(int _iIndex) const
{
    if (_iIndex < 0 || _iIndex >= GetCount()) return std::wstring();
    return m_vFile[_iIndex].strName;
}

std::wstring CFileList::GetName(ConstPosition _itEntry) const
{
    if (_itEntry == m_vFile.end()) return std::wstring();
    return _itEntry->strName;
}

std::wstring CFileList::GetExt(int _iIndex) const
{
    if (_iIndex < 0 || _iIndex >= GetCount()) return std::wstring();
    return GetExt(m_vFile.begin() + _iIndex);
}

std::wstring CFileList::GetExt(ConstPosition _itEntry) const
{
    if (_itEntry == m_vFile.end()) return std::wstring();
    wchar_t szExt[FILE_PART_LENGTH];
    FILE_split(_itEntry->strName.c_str(), 0, 0, 0, szExt);
    return szExt;
}

std::wstring CFileList::GetPath(int _iIndex) const
{
    if (_iIndex < 0 || _iIndex >= GetCount()) return std::wstring();
    const FILE_INFO& cInfo = m_vFile[_iIndex];
    const std::wstring& strDir = m_vDir[cInfo.iDir];
    if (strDir.empty()) return cInfo.strName;
    return strDir + L"\\" + cInfo.strName;
}

std::wstring CFileList::GetDir(int _iIndex) const
{
    if (_iIndex < 0 || _iIndex >= static_cast<int>(m_vDir.size())) return std::wstring();
    return m_vDir[_iIndex];
}

const wchar_t* CFileList::toWork(const std::wstring& _strText)
{
    size_t uLen = _strText.size();
    if (uLen >= FILELIST_WORK_LENGTH) uLen = FILELIST_WORK_LENGTH - 1;  // never longer than a path
    _strText.copy(m_szWork, uLen);
    m_szWork[uLen] = 0;
    return m_szWork;
}

const wchar_t* CFileList::GetNameStr(int _iIndex)
{
    return toWork(GetName(_iIndex));
}

const wchar_t* CFileList::GetExtStr(int _iIndex)
{
    return toWork(GetExt(_iIndex));
}

const wchar_t* CFileList::GetPathStr(int _iIndex)
{
    return toWork(GetPath(_iIndex));
}

void CFileList::SetSearchSub(int _iFlag)
{
    m_iSearchSub = _iFlag;
}

void CFileList::SetCallback(FILELIST_CALLBACK _pFunc, void* _pArg, int _iInterval)
{
    m_pCallback = _pFunc;
    m_pCallbackArg = _pArg;
    m_iCallbackInterval = _iInterval;
}

void CFileList::Search(const wchar_t* _szPattern, int _iSub)
{
    // Paths that do not fit the scan buffer are refused rather than cut.
    if (!_szPattern || STRING_len(_szPattern) >= FILE_PATH_LENGTH) return;
    wchar_t szPattern[FILE_PATH_LENGTH];
    STRING_cpy(szPattern, _szPattern);
    if (filelist_isFolder(szPattern)) {
        if (STRING_len(szPattern) + 4 >= FILE_PATH_LENGTH) return;  // room for "\*.*"
        FILE_AddSeparator(szPattern);
        STRING_cat(szPattern, L"*.*");
    }

    FILE_HANDLE hFind = FILE_INVALID_HANDLE;
    FIND_INFO stFound;
    if (_iSub) {
        wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szFolders[FILE_PATH_LENGTH];
        FILE_split(szPattern, szDrive, szDir, 0, 0);
        FILE_merge(szFolders, szDrive, szDir, L"*", 0, FILE_PATH_LENGTH);
        if (szFolders[0] && FILE_FindFirst(szFolders, &hFind, &stFound)) {
            do {
                SearchSub(szPattern, &stFound, _iSub);
            } while (FILE_FindNext(hFind, &stFound));
            FILE_FindClose(hFind);
        }
    }

    if (!FILE_FindFirst(szPattern, &hFind, &stFound)) return;
    AddFile(szPattern, &stFound);
    while (FILE_FindNext(hFind, &stFound)) {
        AddFile(szPattern, &stFound);
        if (m_pCallback && ++m_iCallbackCount > m_iCallbackInterval) {
            m_pCallback(m_pCallbackArg);
            m_iCallbackCount = 0;
        }
    }
    FILE_FindClose(hFind);
}

void CFileList::SearchSub(const wchar_t* _szPattern, const FIND_INFO* _pFound, int _iSub)
{
    if (!_szPattern || !_pFound) return;
    if (!(_pFound->dwAttribute & FILE_ATTR_FOLDER) || _pFound->szName[0] == L'.') return;
    // A link may lead back up the tree: it is not entered.
    if (_pFound->dwAttribute & FILE_ATTR_REPARSE) return;

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH],
        szExt[FILE_PART_LENGTH];
    FILE_split(_szPattern, szDrive, szDir, szName, szExt);
    if (!STRING_cat(szDir, _pFound->szName, FILE_PART_LENGTH - 1)) return;
    wchar_t szPattern[FILE_PATH_LENGTH];
    FILE_merge(szPattern, szDrive, szDir, szName, szExt, FILE_PATH_LENGTH);
    if (!szPattern[0]) return;  // too long for a path
    Search(szPattern, _iSub);
}

int CFileList::AddFile(const wchar_t* _szPattern, const FIND_INFO* _pFound)
{
    if (!_pFound || (_pFound->dwAttribute & FILE_ATTR_FOLDER)) return 0;
    if (_pFound->szName[0] == L'.') return 1;
    int iDir = AddDir(_szPattern);
    for (const FILE_INFO& cInfo : m_vFile)
        if (cInfo.iDir == iDir && cInfo.strName == _pFound->szName) return 0;
    FILE_INFO cInfo;
    cInfo.strName = _pFound->szName;
    cInfo.iDir = iDir;
    m_vFile.push_back(cInfo);
    return 1;
}

int CFileList::AddDir(const wchar_t* _szPath)
{
    std::wstring strDir;
    if (_szPath && filelist_isFolder(_szPath)) {
        strDir = _szPath;
    } else {
        wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szFolder[FILE_PATH_LENGTH];
        FILE_split(_szPath, szDrive, szDir, 0, 0);
        FILE_merge(szFolder, szDrive, szDir, 0, 0, FILE_PATH_LENGTH);
        FILE_DelTailSeparator(szFolder);
        strDir = szFolder;
    }
    for (size_t i = 0; i < m_vDir.size(); ++i)
        if (m_vDir[i] == strDir) return static_cast<int>(i);
    m_vDir.push_back(strDir);
    return static_cast<int>(m_vDir.size()) - 1;
}
