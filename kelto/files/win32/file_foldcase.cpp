// LCMapStringW with the invariant locale's upper case: names compared as the file system
// compares them (one unit for one unit, whatever the user's language).
#include "kelto/files/pathkey.h"

#include <windows.h>

void FILE_FoldCase(wchar_t* _szText, int _iLength)
{
    if (!_szText || _iLength <= 0) return;
    // Upper and lower case may map in place.
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, _szText, _iLength, _szText, _iLength);
}
