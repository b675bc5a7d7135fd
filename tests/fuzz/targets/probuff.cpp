// The section reader: labels and keyed values of a text in memory.
// Input: section name, 0xFF 0xFE, then the text; the keys are taken from the text's own lines.
#include <cstdint>
#include <vector>

#include "kelto/string/probuff.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::wstring strSec, strText;
    fuzz_split(_pData, _uSize, &strSec, &strText);
    if (strSec.size() > 300) strSec.resize(300);
    std::vector<wchar_t> vText = fuzz_terminated(strText);
    std::vector<wchar_t> vSec = fuzz_terminated(strSec);
    const int iLength = static_cast<int>(strText.size());

    int iBody = -1;
    const wchar_t* pBody = PROBUFF_GetSection(vText.data(), iLength, vSec.data(), &iBody);
    if (pBody && (pBody < vText.data() || pBody + iBody > vText.data() + iLength)) __builtin_trap();
    PROBUFF_IsSection(vText.data(), iLength, vSec.data());

    // Keys: the first word of each of the first lines, and one that is never there.
    std::vector<std::wstring> vKeys{L"KEY", L""};
    std::wstring strKey;
    for (wchar_t c : strText) {
        if (c == L'\r' || c == L'\n') {
            if (!strKey.empty() && vKeys.size() < 8) vKeys.push_back(strKey);
            strKey.clear();
        } else if (c == L'=') {
            if (!strKey.empty() && vKeys.size() < 8) vKeys.push_back(strKey);
            strKey.clear();
        } else if (strKey.size() < 64) {
            strKey += c;
        }
    }
    for (const std::wstring& strK : vKeys) {
        wchar_t szOut[16];
        const int n = PROBUFF_GetString(vText.data(), iLength, vSec.data(), strK.c_str(), szOut, 16, L"default");
        if (n < 0 || n > 15) __builtin_trap();
        wchar_t szBig[300];
        PROBUFF_GetString(vText.data(), iLength, vSec.data(), strK.c_str(), szBig, 300);
        PROBUFF_GetInt(vText.data(), iLength, vSec.data(), strK.c_str(), 7);
        PROBUFF_GetFloat(vText.data(), iLength, vSec.data(), strK.c_str(), 1.5f);
    }
    return 0;
}
