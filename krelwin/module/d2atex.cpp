#include "krelwin/module/d2atex.h"

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/output_inplace.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(SMPL_D2ATEX)

void SMPL_D2ATEX::Quit(int) {}

// Text and output run position for position, so the remembered place after the last
// quote is the same in both. Only characters of the name are replaced: a shorter name
// keeps its ".tga", and a shorter prefix replaces only as many as it has.
std::wstring SMPL_D2ATEX::Rewrite(const std::wstring& _strText, const wchar_t* _pPrefix)
{
    const int iPrefix = _pPrefix ? STRING_len(_pPrefix) : 0;
    std::wstring strOut = _strText;
    bool bQuote = false;
    size_t uAfterQuote = 0;
    for (size_t i = 0; i < _strText.size(); ++i) {
        BUSY_poll();
        if (bQuote && _strText.compare(i, 4, L".tga") == 0) {
            size_t uCount = i - uAfterQuote;
            if (uCount > D2ATEX_PREFIX_LENGTH) uCount = D2ATEX_PREFIX_LENGTH;
            if (uCount > static_cast<size_t>(iPrefix)) uCount = static_cast<size_t>(iPrefix);
            strOut.replace(uAfterQuote, uCount, _pPrefix, uCount);
        }
        if (_strText[i] == L'"') {
            bQuote = true;
            uAfterQuote = i + 1;
        }
    }
    return strOut;
}

int SMPL_D2ATEX::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    if (!pTarget || !pTarget[0]) return 0;

    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        return 0;
    }
    const std::wstring strText(pText, iLength);
    MEM_free(&pText);
    // The output is written as a terminated text: a NUL would cut the file there.
    if (Output_HoldsNul(strText.c_str(), iLength, pTarget)) return 0;
    const std::wstring strOut = Rewrite(strText, pTarget);
    if (!pOutput) {
        Message_err(L"Can't write file.%s", cParam.GetParam(1));
        return 0;
    }
    Write_OutTextChanged(pOutput, pTarget, strText.c_str(), iLength, strOut.c_str());
    return 1;
}
