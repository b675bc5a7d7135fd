// The system's locale-aware comparisons.
#include "kelto/string/string.h"

#include <windows.h>

int STRING_cmp(const wchar_t* _pA, const wchar_t* _pB)
{
    return lstrcmpW(_pA, _pB);
}

int STRING_cmpI(const wchar_t* _pA, const wchar_t* _pB)
{
    return lstrcmpiW(_pA, _pB);
}
