// Letters folded as the POSIX FILE_PathKey folds them.
#include "kelto/files/pathkey.h"

#include <cwctype>

void FILE_FoldCase(wchar_t* _szText, int _iLength)
{
    if (!_szText) return;
    for (int i = 0; i < _iLength; ++i)
        _szText[i] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(static_cast<unsigned short>(_szText[i]))));
}
