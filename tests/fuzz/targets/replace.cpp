// REPLACE: the rule-file loader on a rule text, then the rules on a text in every mode.
// Input: the rule text, 0xFF 0xFE, then the target text (UTF-16LE).
#include <cstdint>
#include <vector>

#include "krelwin/module/replace.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::wstring strRules, strText;
    fuzz_split(_pData, _uSize, &strRules, &strText);
    std::vector<wchar_t> vRules = fuzz_terminated(strRules);
    std::vector<wchar_t> vText = fuzz_terminated(strText);
    const int iText = static_cast<int>(strText.size());

    REPLASE cReplace;
    if (!cReplace.loadRules(vRules.data(), static_cast<int>(strRules.size()), L"rules.txt")) return 0;
    const int iCap = REPLASE::OUT_ALLOC * iText + 1024;
    for (int iMode = 0; iMode < 2; ++iMode) {
        for (int iWord = 0; iWord < 2; ++iWord) {
            std::vector<wchar_t> vOut(iCap);
            cReplace.m_iMode = iMode;
            cReplace.m_iWord = iWord;
            cReplace.m_iStop = 0;
            cReplace.m_iReplaced = 0;
            if (iMode == 1) cReplace.resetRemark();
            const int iOut = cReplace.replaceText(vText.data(), iText, vOut.data(), iCap);
            if (iOut >= iCap) __builtin_trap();
        }
    }
    cReplace.Quit(1);
    return 0;
}
