// The C library's wide functions for a 16-bit wchar_t (-fshort-wchar): glibc's take 32-bit
// units, so the ones the code and the C++ library's wstring call are defined here and win
// over the C library's at link time.
#include <cstdarg>
#include <cstddef>

#include "kelto/string/string.h"

extern "C" {

size_t wcslen(const wchar_t* _s)
{
    const wchar_t* p = _s;
    while (*p) ++p;
    return static_cast<size_t>(p - _s);
}

size_t wcsnlen(const wchar_t* _s, size_t _n)
{
    size_t i = 0;
    while (i < _n && _s[i]) ++i;
    return i;
}

wchar_t* wcschr(const wchar_t* _s, wchar_t _c)
{
    for (;; ++_s) {
        if (*_s == _c) return const_cast<wchar_t*>(_s);
        if (!*_s) return nullptr;
    }
}

wchar_t* wcsrchr(const wchar_t* _s, wchar_t _c)
{
    const wchar_t* pLast = nullptr;
    for (;; ++_s) {
        if (*_s == _c) pLast = _s;
        if (!*_s) return const_cast<wchar_t*>(pLast);
    }
}

wchar_t* wcsstr(const wchar_t* _s, const wchar_t* _find)
{
    if (!*_find) return const_cast<wchar_t*>(_s);
    for (; *_s; ++_s) {
        size_t i = 0;
        while (_find[i] && _s[i] == _find[i]) ++i;
        if (!_find[i]) return const_cast<wchar_t*>(_s);
    }
    return nullptr;
}

int wcscmp(const wchar_t* _a, const wchar_t* _b)
{
    while (*_a && *_a == *_b) ++_a, ++_b;
    return *_a < *_b ? -1 : (*_a > *_b ? 1 : 0);
}

int wcsncmp(const wchar_t* _a, const wchar_t* _b, size_t _n)
{
    for (size_t i = 0; i < _n; ++i) {
        if (_a[i] != _b[i]) return _a[i] < _b[i] ? -1 : 1;
        if (!_a[i]) return 0;
    }
    return 0;
}

int wcscasecmp(const wchar_t* _a, const wchar_t* _b)
{
    for (;; ++_a, ++_b) {
        wchar_t a = *_a, b = *_b;
        if (a >= L'A' && a <= L'Z') a = static_cast<wchar_t>(a + 32);
        if (b >= L'A' && b <= L'Z') b = static_cast<wchar_t>(b + 32);
        if (a != b) return a < b ? -1 : 1;
        if (!a) return 0;
    }
}

// std::to_wstring formats through this one; its numeric conversions are the library's.
int vswprintf(wchar_t* _pOut, size_t _uSize, const wchar_t* _pFormat, va_list _vaArgs)
{
    if (_uSize > 0x7FFFFFFF) _uSize = 0x7FFFFFFF;
    return STRING_vsprintf(_pOut, static_cast<int>(_uSize), _pFormat, _vaArgs);
}

wchar_t* wcscpy(wchar_t* _d, const wchar_t* _s)
{
    wchar_t* p = _d;
    while ((*p++ = *_s++)) {}
    return _d;
}

wchar_t* wmemchr(const wchar_t* _s, wchar_t _c, size_t _n)
{
    for (size_t i = 0; i < _n; ++i)
        if (_s[i] == _c) return const_cast<wchar_t*>(_s + i);
    return nullptr;
}

int wmemcmp(const wchar_t* _a, const wchar_t* _b, size_t _n)
{
    for (size_t i = 0; i < _n; ++i)
        if (_a[i] != _b[i]) return _a[i] < _b[i] ? -1 : 1;
    return 0;
}

wchar_t* wmemcpy(wchar_t* _d, const wchar_t* _s, size_t _n)
{
    for (size_t i = 0; i < _n; ++i) _d[i] = _s[i];
    return _d;
}

wchar_t* wmemmove(wchar_t* _d, const wchar_t* _s, size_t _n)
{
    if (_d < _s) {
        for (size_t i = 0; i < _n; ++i) _d[i] = _s[i];
    } else {
        for (size_t i = _n; i > 0; --i) _d[i - 1] = _s[i - 1];
    }
    return _d;
}

wchar_t* wmemset(wchar_t* _d, wchar_t _c, size_t _n)
{
    for (size_t i = 0; i < _n; ++i) _d[i] = _c;
    return _d;
}

}
