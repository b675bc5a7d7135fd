// Comparisons by code unit; the case-blind one folds ASCII letters. (The platform's are
// locale-aware; the native build needs only equality and a stable order.)
#include "kelto/string/string.h"

namespace {

int compare(const wchar_t* _pA, const wchar_t* _pB, bool _bFold)
{
    if (!_pA || !_pB) return _pA == _pB ? 0 : (_pA ? 1 : -1);
    for (;; ++_pA, ++_pB) {
        wchar_t a = *_pA, b = *_pB;
        if (_bFold) {
            if (a >= L'a' && a <= L'z') a = static_cast<wchar_t>(a - 32);
            if (b >= L'a' && b <= L'z') b = static_cast<wchar_t>(b - 32);
        }
        if (a != b) return a < b ? -1 : 1;
        if (!a) return 0;
    }
}

} // namespace

int STRING_cmp(const wchar_t* _pA, const wchar_t* _pB)
{
    return compare(_pA, _pB, false);
}

int STRING_cmpI(const wchar_t* _pA, const wchar_t* _pB)
{
    return compare(_pA, _pB, true);
}
