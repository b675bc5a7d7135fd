// Path parts as batch lines and parameters give them: the splitter and joiner (wide and
// 8-bit), the separator, normalising and parent folders, and the word functions.
// Input: a path as UTF-16LE (cut to the 260-unit room of a path).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::wstring strPath = fuzz_units(_pData, _uSize);
    if (strPath.size() >= FILE_PATH_LENGTH) strPath.resize(FILE_PATH_LENGTH - 1);
    std::vector<wchar_t> vPath = fuzz_terminated(strPath);

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH];
    FILE_split(vPath.data(), szDrive, szDir, szName, szExt);
    wchar_t szJoined[FILE_PATH_LENGTH];
    FILE_merge(szJoined, szDrive, szDir, szName, szExt, FILE_PATH_LENGTH);
    if (STRING_len(szJoined) >= FILE_PATH_LENGTH) __builtin_trap();
    FILE_merge(szJoined, szDrive, szDir, szName, szExt, 16);
    if (STRING_len(szJoined) >= 16) __builtin_trap();

    // The same path as 8-bit text (the low byte of each unit).
    std::vector<char> vNarrow;
    for (wchar_t c : strPath) vNarrow.push_back(static_cast<char>(c ? c : 'x'));
    vNarrow.push_back(0);
    char szDriveA[FILE_DRIVE_LENGTH], szDirA[FILE_PART_LENGTH], szNameA[FILE_PART_LENGTH], szExtA[FILE_PART_LENGTH];
    FILE_split(vNarrow.data(), szDriveA, szDirA, szNameA, szExtA);
    char szJoinedA[FILE_PATH_LENGTH];
    FILE_merge(szJoinedA, szDriveA, szDirA, szNameA, szExtA, FILE_PATH_LENGTH);
    vNarrow.resize(FILE_PATH_LENGTH + 1, 0);
    vNarrow[FILE_PATH_LENGTH - 1] = 0;
    FILE_AddSeparator(vNarrow.data());

    std::vector<wchar_t> vWork(vPath);
    vWork.resize(FILE_PATH_LENGTH + 1, 0);
    FILE_AddSeparator(vWork.data());
    std::vector<wchar_t> vNorm(vPath);
    STRING_normalizePath(vNorm.data());
    std::vector<wchar_t> vParent(vPath);
    STRING_parentPath(vParent.data());

    const wchar_t* pSet = L" \t\\/.";
    wchar_t szWord[FILE_PATH_LENGTH];
    STRING_getWord(vPath.data(), szWord, FILE_PATH_LENGTH - 1, pSet);
    STRING_wordLen(vPath.data(), pSet);
    STRING_findWordI(vPath.data(), L"txt", static_cast<int>(strPath.size()), pSet);
    STRING_nextWord(vPath.data(), pSet);
    if (!strPath.empty()) {
        const wchar_t* pEnd = vPath.data() + strPath.size() - 1;
        STRING_prevWord(pEnd, vPath.data(), pSet);
        STRING_wordTop(pEnd, vPath.data(), pSet);
    }
    STRING_isNumber(vPath.data(), 1);
    STRING_toInt(vPath.data());
    STRING_toFloat(vPath.data());
    return 0;
}
