// Folder searches over opendir, readdir and fnmatch: the pattern's folder part is opened and
// its name part ('*' and '?' wildcards) matched against each entry, ASCII case ignored as
// the platform does. "." and ".." are listed as the platform lists them.
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <string>
#include <sys/stat.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"

namespace {

struct FIND_STATE {
    DIR* m_pDir;
    std::string m_strFolder;
    std::string m_strName;
};

bool nextEntry(FIND_STATE* _pState, FIND_INFO* _pInfo)
{
    for (;;) {
        struct dirent* pEntry = readdir(_pState->m_pDir);
        if (!pEntry) return false;
        // "*.*" names every entry, as on the platform.
        if (_pState->m_strName != "*.*" && fnmatch(_pState->m_strName.c_str(), pEntry->d_name, FNM_CASEFOLD) != 0)
            continue;
        const std::wstring strName = POSIX_fromUtf8(pEntry->d_name);
        if (strName.size() >= FILE_PATH_LENGTH) continue;
        struct stat st;
        const std::string strPath = _pState->m_strFolder + pEntry->d_name;
        std::memset(_pInfo, 0, sizeof(*_pInfo));
        if (lstat(strPath.c_str(), &st) == 0) {
            _pInfo->dwAttribute = S_ISDIR(st.st_mode) ? FILE_ATTR_FOLDER : FILE_ATTR_ARCHIVE;
            if (S_ISLNK(st.st_mode)) _pInfo->dwAttribute |= FILE_ATTR_REPARSE;
            _pInfo->dwSize = static_cast<uint32_t>(st.st_size);
        }
        STRING_cpy(_pInfo->szName, strName.c_str());
        return true;
    }
}

} // namespace

int FILE_FindFirst(const wchar_t* _szPattern, FILE_HANDLE* _phFind, FIND_INFO* _pInfo)
{
    if (_phFind) *_phFind = FILE_INVALID_HANDLE;
    if (!_szPattern || !_phFind || !_pInfo) return 0;
    const std::string strPattern = POSIX_path(_szPattern);
    const size_t uSep = strPattern.rfind('/');
    FIND_STATE* pState = new FIND_STATE;
    pState->m_strFolder = uSep == std::string::npos ? std::string() : strPattern.substr(0, uSep + 1);
    pState->m_strName = uSep == std::string::npos ? strPattern : strPattern.substr(uSep + 1);
    pState->m_pDir = opendir(pState->m_strFolder.empty() ? "." : pState->m_strFolder.c_str());
    if (!pState->m_pDir || !nextEntry(pState, _pInfo)) {
        if (pState->m_pDir) closedir(pState->m_pDir);
        delete pState;
        return 0;
    }
    *_phFind = pState;
    return 1;
}

int FILE_FindNext(FILE_HANDLE _hFind, FIND_INFO* _pInfo)
{
    if (_hFind == FILE_INVALID_HANDLE || !_pInfo) return 0;
    return nextEntry(static_cast<FIND_STATE*>(_hFind), _pInfo) ? 1 : 0;
}

int FILE_FindClose(FILE_HANDLE _hFind)
{
    if (_hFind == FILE_INVALID_HANDLE) return 0;
    FIND_STATE* pState = static_cast<FIND_STATE*>(_hFind);
    closedir(pState->m_pDir);
    delete pState;
    return 1;
}
