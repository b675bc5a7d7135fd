#include "krelwin/main/output_inplace.h"

#include <algorithm>

#include "kelto/files/pathkey.h"
#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"

int Output_IsTarget(const wchar_t* _pOutput, const wchar_t* _pTarget)
{
    return FILE_IsSamePath(_pOutput, _pTarget);
}

int Write_OutTextChanged(const wchar_t* _pOutput, const wchar_t* _pTarget, const wchar_t* _pOld, int _iOldLength,
                         const wchar_t* _pText)
{
    if (_pOld && _pText && _iOldLength > 0 && STRING_len(_pText) == _iOldLength &&
        std::equal(_pOld, _pOld + _iOldLength, _pText) && Output_IsTarget(_pOutput, _pTarget)) {
        const int iSize = FILE_GetSize(_pTarget);
        return iSize > 0 ? iSize : 1;
    }
    return Write_OutText(_pOutput, _pText);
}

int Write_OutFileChanged(const wchar_t* _pOutput, const wchar_t* _pTarget, int _iChanged, const void* _pData,
                         int _iSize)
{
    if (!_iChanged && _pData && _iSize > 0 && Output_IsTarget(_pOutput, _pTarget)) return _iSize;
    return Write_OutFile(_pOutput, _pData, _iSize);
}

int Output_HoldsNul(const wchar_t* _pText, int _iLength, const wchar_t* _pTarget)
{
    if (!_pText || _iLength <= 0 || std::find(_pText, _pText + _iLength, L'\0') == _pText + _iLength) return 0;
    Message_err(L"テキストにNUL文字が含まれています. %s", Get_FileName(_pTarget ? _pTarget : L""));
    return 1;
}
