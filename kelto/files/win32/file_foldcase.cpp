// CharUpperBuffW: letters folded as FILE_PathKey folds them, one unit for one unit.
#include "kelto/files/pathkey.h"

#include <windows.h>

void FILE_FoldCase(wchar_t* _szText, int _iLength)
{
    if (!_szText || _iLength <= 0) return;
    CharUpperBuffW(_szText, static_cast<DWORD>(_iLength));
}
