// The target file list: folder table, entries, scans of patterns and folders.
#include "kelto/files/filelist.h"

#include "kelto/files/pathkey.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"

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
    const bool bFolder = uAttr != FILE_ATTR_INVALID && (uAttr & FILE_ATTR_FOLDER);
    if (uAttr != FILE_ATTR_INVALID && !bFolder) search(_szPath, 0, false);
    else search(_szPath, m_iSearchSub, bFolder);
    return 1;
}

std::wstring CFileList::dirKey(const std::wstring& _strDir)
{
    // "C:" stands for the drive's root ("C:\a.txt") and "" for the current folder: the key
    // is taken of the folder with its separator.
    return FILE_PathKey(_strDir.empty() ? L".\\" : (_strDir + L"\\").c_str());
}

std::wstring CFileList::entryKey(const FILE_INFO& _cInfo) const
{
    std::wstring strKey = m_vDirKey[_cInfo.iDir];
    const size_t uDir = strKey.size();
    strKey += _cInfo.strName;
    FILE_FoldCase(&strKey[uDir], static_cast<int>(_cInfo.strName.size()));
    return strKey;
}

void CFileList::syncIndex()
{
    if (m_mapDir.size() != m_vDir.size() || m_vDirKey.size() != m_vDir.size()) {
        m_mapDir.clear();
        m_vDirKey.clear();
        for (size_t i = 0; i < m_vDir.size(); ++i) {
            m_mapDir.emplace(m_vDir[i], static_cast<int>(i));
            m_vDirKey.push_back(dirKey(m_vDir[i]));
        }
    }
    // The list holds no two entries of one key, so equal sizes mean the index matches it.
    if (m_setKey.size() != m_vFile.size()) {
        m_setKey.clear();
        for (const FILE_INFO& cInfo : m_vFile) m_setKey.insert(entryKey(cInfo));
    }
}

void CFileList::Clear()
{
    m_vDir.clear();
    m_vFile.clear();
    m_setKey.clear();
    m_mapDir.clear();
    m_vDirKey.clear();
}

void CFileList::Delete(int _iIndex)
{
    if (_iIndex < 0 || _iIndex >= GetCount()) return;
    Erase(m_vFile.begin() + _iIndex);
}

void CFileList::Erase(Position _itEntry)
{
    if (_itEntry == m_vFile.end()) return;
    syncIndex();
    m_setKey.erase(entryKey(*_itEntry));
    m_vFile.erase(_itEntry);
}

int CFileList::DeleteExt(const wchar_t* _szExt, int _iInvert)
{
    std::wstring strExt = _szExt ? _szExt : L"";
    syncIndex();
    // One pass that keeps the order of the entries left.
    size_t uKept = 0;
    for (size_t i = 0; i < m_vFile.size(); ++i) {
        bool bSame = GetExt(m_vFile.begin() + i) == strExt;
        if (bSame != (_iInvert != 0)) {
            m_setKey.erase(entryKey(m_vFile[i]));
        } else {
            if (uKept != i) m_vFile[uKept] = std::move(m_vFile[i]);
            ++uKept;
        }
    }
    const int iRemoved = static_cast<int>(m_vFile.size() - uKept);
    m_vFile.resize(uKept);
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
    if (!_szPattern || STRING_len(_szPattern) >= FILE_PATH_LENGTH) return;
    search(_szPattern, _iSub, filelist_isFolder(_szPattern));
}

void CFileList::search(const wchar_t* _szPattern, int _iSub, bool _bFolder)
{
    // Paths that do not fit the scan buffer are refused rather than cut.
    if (!_szPattern || STRING_len(_szPattern) >= FILE_PATH_LENGTH) return;
    wchar_t szPattern[FILE_PATH_LENGTH];
    STRING_cpy(szPattern, _szPattern);
    if (_bFolder) {
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
                BUSY_poll();
                SearchSub(szPattern, &stFound, _iSub);
            } while (FILE_FindNext(hFind, &stFound));
            FILE_FindClose(hFind);
        }
    }

    if (!FILE_FindFirst(szPattern, &hFind, &stFound)) return;
    // The pattern is no folder now (a folder got "*.*"): its folder is its drive and folder.
    int iDir = -1;
    addFound(szPattern, &stFound, iDir, false);
    while (FILE_FindNext(hFind, &stFound)) {
        BUSY_poll();
        addFound(szPattern, &stFound, iDir, false);
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
    int iDir = -1;
    return addFound(_szPattern, _pFound, iDir, true);
}

int CFileList::addFound(const wchar_t* _szPattern, const FIND_INFO* _pFound, int& _iDir, bool _bQuery)
{
    if (!_pFound || (_pFound->dwAttribute & FILE_ATTR_FOLDER)) return 0;
    if (_pFound->szName[0] == L'.') return 1;
    // The folder follows from the pattern alone: one query per scan, not one per file.
    // (A callback that empties the list mid-scan makes it look the folder up again.)
    if (_iDir < 0 || _iDir >= static_cast<int>(m_vDir.size()))
        _iDir = addDir(_szPattern, _bQuery && _szPattern && filelist_isFolder(_szPattern));
    syncIndex();
    FILE_INFO cInfo;
    cInfo.strName = _pFound->szName;
    cInfo.iDir = _iDir;
    if (!m_setKey.insert(entryKey(cInfo)).second) return 0;
    m_vFile.push_back(std::move(cInfo));
    return 1;
}

int CFileList::AddDir(const wchar_t* _szPath)
{
    return addDir(_szPath, _szPath && filelist_isFolder(_szPath));
}

int CFileList::addDir(const wchar_t* _szPath, bool _bFolder)
{
    std::wstring strDir;
    if (_bFolder) {
        strDir = _szPath;
    } else {
        wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szFolder[FILE_PATH_LENGTH];
        FILE_split(_szPath, szDrive, szDir, 0, 0);
        FILE_merge(szFolder, szDrive, szDir, 0, 0, FILE_PATH_LENGTH);
        FILE_DelTailSeparator(szFolder);
        strDir = szFolder;
    }
    syncIndex();
    const int iNext = static_cast<int>(m_vDir.size());
    auto itFound = m_mapDir.emplace(strDir, iNext);
    if (!itFound.second) return itFound.first->second;
    m_vDirKey.push_back(dirKey(strDir));
    m_vDir.push_back(std::move(strDir));
    return iNext;
}
