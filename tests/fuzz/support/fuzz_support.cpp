// Helpers shared by the fuzz targets and the seed writer.
#include "tests/fuzz/support/fuzz.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "kelto/files/win32/file.h"

std::wstring fuzz_units(const uint8_t* _pData, size_t _uSize)
{
    std::wstring strText;
    strText.reserve(_uSize / 2);
    for (size_t i = 0; i + 1 < _uSize; i += 2)
        strText += static_cast<wchar_t>(_pData[i] | (_pData[i + 1] << 8));
    return strText;
}

std::vector<wchar_t> fuzz_terminated(const std::wstring& _strText)
{
    std::vector<wchar_t> vText(_strText.begin(), _strText.end());
    vText.push_back(0);
    return vText;
}

void fuzz_split(const uint8_t* _pData, size_t _uSize, std::wstring* _pFirst, std::wstring* _pSecond)
{
    size_t uCut = _uSize;
    for (size_t i = 0; i + 1 < _uSize; i += 2) {
        if (_pData[i] == 0xFF && _pData[i + 1] == 0xFE) {
            uCut = i;
            break;
        }
    }
    *_pFirst = fuzz_units(_pData, uCut);
    *_pSecond = uCut < _uSize ? fuzz_units(_pData + uCut + 2, _uSize - uCut - 2) : std::wstring();
}

// One folder per process (targets run side by side), removed at exit.
const std::string& fuzz_folder()
{
    static std::string strFolder;
    if (strFolder.empty()) {
        const char* pBase = getenv("TMPDIR");
        std::string strTemplate = std::string(pBase && *pBase ? pBase : "/tmp") + "/krelwin-fuzz-XXXXXX";
        std::vector<char> vName(strTemplate.begin(), strTemplate.end());
        vName.push_back(0);
        if (!mkdtemp(vName.data())) abort();
        strFolder = vName.data();
        static std::string strRemove = strFolder;
        atexit([] { std::string strCmd = "rm -rf '" + strRemove + "'"; if (system(strCmd.c_str())) {} });
    }
    return strFolder;
}

std::wstring fuzz_file(const wchar_t* _pName, const void* _pData, size_t _uSize)
{
    std::wstring strPath;
    for (char c : fuzz_folder()) strPath += static_cast<wchar_t>(c);
    strPath += L'/';
    strPath += _pName;
    std::string strNarrow;
    for (wchar_t c : strPath) strNarrow += static_cast<char>(c);
    FILE* pFile = fopen(strNarrow.c_str(), "wb");
    if (!pFile) abort();
    if (_uSize && fwrite(_pData, 1, _uSize, pFile) != _uSize) abort();
    fclose(pFile);
    return strPath;
}
