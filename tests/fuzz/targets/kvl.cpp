// The .kvl batch reader: comments, the [SETTING] override, environment references and the
// [SCRIPT] and [FILES] sections of a batch file, read from disk.
// Folder searches of the [FILES] lines see a small folder world of this harness (the files
// a.txt, b.bmp and the folder sub holding c.txt), never the host's folders.
// Input: the batch file's bytes (system code page text).
#include <cstdint>
#include <cstring>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/main/batch.h"
#include "krelwin/main/global.h"
#include "tests/fuzz/support/fuzz.h"

namespace {

struct FAKE_SEARCH {
    int m_iNext;
    bool m_bSub;
};

// The folder world: names in the search folder, and in a folder "sub" below it.
const wchar_t* const s_apTop[] = {L"a.txt", L"b.bmp", L"sub"};
const wchar_t* const s_apSub[] = {L"c.txt"};

bool inSub(const wchar_t* _szPattern)
{
    // The pattern's folder part ends in "sub" and a separator.
    int iSep = -1;
    for (int i = 0; _szPattern[i]; ++i)
        if (_szPattern[i] == L'\\' || _szPattern[i] == L'/') iSep = i;
    if (iSep < 3) return false;
    wchar_t szPart[4] = {_szPattern[iSep - 3], _szPattern[iSep - 2], _szPattern[iSep - 1], 0};
    return STRING_cmpI(szPart, L"sub") == 0;
}

bool fill(FAKE_SEARCH* _pSearch, FIND_INFO* _pInfo)
{
    const int iCount = _pSearch->m_bSub ? 1 : 3;
    if (_pSearch->m_iNext >= iCount) return false;
    const wchar_t* pName = _pSearch->m_bSub ? s_apSub[_pSearch->m_iNext] : s_apTop[_pSearch->m_iNext];
    _pSearch->m_iNext++;
    std::memset(_pInfo, 0, sizeof(*_pInfo));
    STRING_cpy(_pInfo->szName, pName);
    _pInfo->dwAttribute = STRING_cmp(pName, L"sub") == 0 ? FILE_ATTR_FOLDER : FILE_ATTR_ARCHIVE;
    _pInfo->dwSize = 10;
    return true;
}

} // namespace

int FILE_FindFirst(const wchar_t* _szPattern, FILE_HANDLE* _phFind, FIND_INFO* _pInfo)
{
    if (!_szPattern || !_phFind || !_pInfo) return 0;
    FAKE_SEARCH* pSearch = new FAKE_SEARCH{0, inSub(_szPattern)};
    if (!fill(pSearch, _pInfo)) {
        delete pSearch;
        *_phFind = FILE_INVALID_HANDLE;
        return 0;
    }
    *_phFind = pSearch;
    return 1;
}

int FILE_FindNext(FILE_HANDLE _hFind, FIND_INFO* _pInfo)
{
    if (_hFind == FILE_INVALID_HANDLE || !_pInfo) return 0;
    return fill(static_cast<FAKE_SEARCH*>(_hFind), _pInfo) ? 1 : 0;
}

int FILE_FindClose(FILE_HANDLE _hFind)
{
    if (_hFind == FILE_INVALID_HANDLE) return 0;
    delete static_cast<FAKE_SEARCH*>(_hFind);
    return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    const std::wstring strPath = fuzz_file(L"batch.kvl", _pData, _uSize);
    Set_BatchFolder(strPath.c_str());
    Read_KrelwinBatch(strPath.c_str());
    s_stGl.m_lstScript.clear();
    s_stGl.m_cFileList.Clear();
    return 0;
}
