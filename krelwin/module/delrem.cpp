#include "krelwin/module/delrem.h"

#include <string>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/output_inplace.h"
#include "krelwin/params/kvlparam.h"

namespace {

// An option given without a value ("-L") names no marker: that kind of comment stays.
const wchar_t* delrem_marker(CKvlParam& _cParam, wchar_t _cLetter, wchar_t* _pDefault)
{
    const wchar_t* pMark = _cParam.GetOption(_cLetter, _pDefault);
    return (pMark && pMark[0]) ? pMark : 0;
}

} // namespace

int Command_delrem(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();

    wchar_t* pText = 0;
    int iLength = pTarget ? MEM_TextRead(&pText, pTarget) : 0;
    if (iLength <= 0) {
        Message_err(L"not found.%s", pTarget ? Get_FileName(pTarget) : L"");
        return 0;
    }
    // The text is written up to its first NUL: the rest would be lost.
    if (Output_HoldsNul(pText, iLength, pTarget)) {
        MEM_free(&pText);
        return 0;
    }
    const std::wstring strRead(pText, static_cast<size_t>(iLength));

    wchar_t szLine[] = L"//";
    wchar_t szStart[] = L"/*";
    wchar_t szEnd[] = L"*/";
    const wchar_t* pLine = delrem_marker(cParam, L'L', szLine);
    const wchar_t* pStart = delrem_marker(cParam, L'S', szStart);
    const wchar_t* pEnd = delrem_marker(cParam, L'E', szEnd);

    iLength = FILT_deleteREM(pText, iLength, pLine, pStart, pEnd, L'"');
    FILT_deleteTailSpace(pText, iLength);

    int iResult = 0;
    if (pOutput) {
        iResult = Write_OutTextChanged(pOutput, pTarget, strRead.c_str(), static_cast<int>(strRead.size()), pText);
    } else {
        // An output argument that does not make a path is never replaced by the target.
        Message_err(L"Can't write file.%s", Get_FileName(cParam.GetParam(1)));
    }
    MEM_free(&pText);
    return iResult;
}
