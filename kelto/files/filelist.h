// The target file list: distinct folders and, per file, its name and folder index.
// Files come in as paths, wildcard patterns or folders (with subfolders on request);
// duplicates are refused. Folders and names are kept as they were written; a file is one
// entry whatever its spelling: entries compare by full path, case folded as the file
// system compares names (FILE_PathKey).
#ifndef KELTO_FILES_FILELIST_H
#define KELTO_FILES_FILELIST_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "kelto/files/win32/file.h"

// One entry of the list.
struct FILE_INFO
{
    std::wstring strName;  // name with extension, without folder
    int iDir;              // index into the folder table
};

// Progress callback of long scans; its result is not used.
typedef int (*FILELIST_CALLBACK)(void* _pArg);

#define FILELIST_WORK_LENGTH 1024

class CFileList
{
public:
    typedef std::vector<FILE_INFO>::iterator Position;
    typedef std::vector<FILE_INFO>::const_iterator ConstPosition;

    CFileList();

    // A file, a pattern's matches or a folder's files; 1, or 0 for a null path.
    int Add(const wchar_t* _szPath);
    // Empties the folders and entries; flag and callback stay.
    void Clear();
    // Index past the end: nothing changes.
    void Delete(int _iIndex);
    void Erase(Position _itEntry);
    // Removes every entry whose extension equals _szExt (or, with _iInvert, differs); the count removed.
    int DeleteExt(const wchar_t* _szExt, int _iInvert);
    int GetCount() const;

    // Empty texts past the end.
    std::wstring GetName(int _iIndex) const;
    std::wstring GetName(ConstPosition _itEntry) const;
    std::wstring GetExt(int _iIndex) const;
    std::wstring GetExt(ConstPosition _itEntry) const;
    std::wstring GetPath(int _iIndex) const;
    // Folder-table entry _iIndex.
    std::wstring GetDir(int _iIndex) const;
    // The same texts in the work buffer, overwritten by the next such call.
    const wchar_t* GetNameStr(int _iIndex);
    const wchar_t* GetExtStr(int _iIndex);
    const wchar_t* GetPathStr(int _iIndex);

    void SetSearchSub(int _iFlag);
    void SetCallback(FILELIST_CALLBACK _pFunc, void* _pArg, int _iInterval);

    // Scan steps.
    void Search(const wchar_t* _szPattern, int _iSub);
    void SearchSub(const wchar_t* _szPattern, const FIND_INFO* _pFound, int _iSub);
    int AddFile(const wchar_t* _szPattern, const FIND_INFO* _pFound);
    int AddDir(const wchar_t* _szPath);

    std::vector<std::wstring> m_vDir;  // folders without trailing '\'
    std::vector<FILE_INFO> m_vFile;    // entries in the order added
    int m_iSearchSub;
    wchar_t m_szWork[FILELIST_WORK_LENGTH];
    FILELIST_CALLBACK m_pCallback;
    void* m_pCallbackArg;
    int m_iCallbackCount;
    int m_iCallbackInterval;

private:
    const wchar_t* toWork(const std::wstring& _strText);
    // Search, AddFile and AddDir with what is already known of the path, so that a scan asks
    // the file system once per path, not once per file: whether the path is a folder, the
    // folder index of the pattern (-1: not yet looked up), whether AddDir must ask itself.
    void search(const wchar_t* _szPattern, int _iSub, bool _bFolder);
    int addFound(const wchar_t* _szPattern, const FIND_INFO* _pFound, int& _iDir, bool _bQuery);
    int addDir(const wchar_t* _szPath, bool _bFolder);
    // Brings the indexes up to date when the public tables were changed behind them.
    void syncIndex();
    // The key of a folder as written (its full path with a trailing separator, folded), and
    // of an entry: its folder's key and its folded name.
    static std::wstring dirKey(const std::wstring& _strDir);
    std::wstring entryKey(const FILE_INFO& _cInfo) const;

    // Indexes beside the tables, so that a duplicate or a known folder is found without a
    // scan: the keys of the entries, the folders as written and the key of each folder.
    std::unordered_set<std::wstring> m_setKey;
    std::unordered_map<std::wstring, int> m_mapDir;
    std::vector<std::wstring> m_vDirKey;
};

// Removes one trailing '\' in place.
void FILE_DelTailSeparator(wchar_t* _szPath);

#endif
