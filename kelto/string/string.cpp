// Length, copy, numbers, case, character and word search, lines and paths.
#include "kelto/string/string.h"

#include <cfloat>
#include <climits>
#include <cstdlib>

#include "kelto/string/moji.h"

// Single-precision steps (STRING_ftoa, the evaluator) must round at every step in every build;
// x87 arithmetic keeps extended precision and gives other digits.
static_assert(FLT_EVAL_METHOD == 0, "floating point must be computed in SSE2 (-msse2 -mfpmath=sse)");

namespace {

wchar_t asciiUpper(wchar_t _c)
{
    return (_c >= L'a' && _c <= L'z') ? static_cast<wchar_t>(_c - L'a' + L'A') : _c;
}

wchar_t asciiLower(wchar_t _c)
{
    return (_c >= L'A' && _c <= L'Z') ? static_cast<wchar_t>(_c - L'A' + L'a') : _c;
}

int hexValue(wchar_t _c)
{
    if (_c >= L'0' && _c <= L'9') return _c - L'0';
    if (_c >= L'a' && _c <= L'f') return _c - L'a' + 10;
    if (_c >= L'A' && _c <= L'F') return _c - L'A' + 10;
    return -1;
}

bool isPathSeparator(wchar_t _c)
{
    return _c == L'\\' || _c == L'/';
}

} // namespace

// ---- length, copy, append ---------------------------------------------------

int STRING_len(const wchar_t* _pText)
{
    if (!_pText) return 0;
    int iLen = 0;
    while (_pText[iLen]) ++iLen;
    return iLen;
}

int STRING_cpy(wchar_t* _pDst, const wchar_t* _pSrc, int _iN)
{
    if (!_pDst) return 0;
    if (!_pSrc) {
        _pDst[0] = 0;
        return 1;
    }
    const int iLen = STRING_len(_pSrc);
    if (_iN > 0 && _iN < iLen) {
        // A bounded copy writes exactly n units and leaves what follows in dst.
        for (int i = 0; i < _iN; ++i) _pDst[i] = _pSrc[i];
        return 1;
    }
    for (int i = 0; i <= iLen; ++i) _pDst[i] = _pSrc[i];
    return 1;
}

int STRING_cat(wchar_t* _pDst, const wchar_t* _pSrc, int _iMax)
{
    if (!_pDst || !_pSrc) return 0;
    const int iDst = STRING_len(_pDst);
    const int iSrc = STRING_len(_pSrc);
    if (_iMax > 0 && iDst + iSrc > _iMax) return 0;
    for (int i = 0; i <= iSrc; ++i) _pDst[iDst + i] = _pSrc[i];
    return 1;
}

// ---- numbers ------------------------------------------------------------------

int STRING_itoa(wchar_t* _pOut, int _iValue, int _iSize)
{
    if (!_pOut || _iSize <= 0) return -1;
    return STRING_sprintf(_pOut, _iSize, L"%d", _iValue);
}

void STRING_ftoa(wchar_t* _pOut, float _fValue, int _iSize)
{
    if (!_pOut || _iSize <= 0) return;
    int iPos = 0;
    if (_fValue != _fValue) _fValue = 0.0f; // NaN has no digits to give
    if (_fValue < 0.0f) {
        if (_iSize - 1 < 1) {
            _pOut[0] = 0;
            return;
        }
        _pOut[iPos++] = L'-';
        _fValue = -_fValue;
    }
    // The integer part is an int; larger values are clamped rather than overflowed.
    int iInt = INT_MAX;
    float fFrac = 0.0f;
    if (_fValue < 2147483648.0f) {
        iInt = static_cast<int>(_fValue);
        fFrac = _fValue - static_cast<float>(iInt);
    }
    const int iWritten = STRING_sprintf(_pOut + iPos, _iSize - iPos, L"%d", iInt);
    if (iWritten < 0) return; // cut and terminated
    iPos += iWritten;
    if (fFrac != 0.0f && iPos < _iSize - 1) {
        _pOut[iPos++] = L'.';
        while (fFrac != 0.0f && iPos < _iSize - 1) {
            fFrac *= 10.0f;
            const int iDigit = static_cast<int>(fFrac);
            _pOut[iPos++] = static_cast<wchar_t>(L'0' + iDigit);
            fFrac -= static_cast<float>(iDigit);
        }
    }
    _pOut[iPos] = 0;
}

int STRING_toInt(const wchar_t* _pText)
{
    if (!_pText) return 0;
    if (_pText[0] == L'0' && _pText[1] == L'x') {
        // Hexadecimal up to the first unit that is not a hexadecimal digit; wraps modulo 2^32.
        unsigned int uSum = 0;
        const wchar_t* p = _pText + 2;
        if (hexValue(*p) < 0) return 0;
        for (; hexValue(*p) >= 0; ++p) uSum = uSum * 16u + static_cast<unsigned int>(hexValue(*p));
        return static_cast<int>(uSum);
    }
    // Decimal as _wtoi reads it: leading white space, an optional sign, digits.
    const wchar_t* p = _pText;
    while (*p == L' ' || (*p >= L'\t' && *p <= L'\r')) ++p;
    bool bNegative = false;
    if (*p == L'-' || *p == L'+') bNegative = (*p++ == L'-');
    unsigned int uValue = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) uValue = uValue * 10u + static_cast<unsigned int>(*p - L'0');
    return static_cast<int>(bNegative ? 0u - uValue : uValue);
}

float STRING_toFloat(const wchar_t* _pText)
{
    if (!_pText) return 0.0f;
    CTOSJIS cText(_pText);
    if (!cText.Get()) return 0.0f;
    return static_cast<float>(std::atof(cText.Get()));
}

int STRING_isNumber(const wchar_t* _pText, int _iAllowBlank)
{
    if (!_pText) return 0;
    const wchar_t* p = _pText;
    if (*p == L'-' || *p == L'+') ++p;
    for (; *p; ++p) {
        if (*p >= L'0' && *p <= L'9') continue;
        if (_iAllowBlank && *p == L' ') continue;
        return 0;
    }
    return 1;
}

// ---- case -------------------------------------------------------------------

wchar_t* STRING_upper(wchar_t* _pText)
{
    if (!_pText) return 0;
    for (wchar_t* p = _pText; *p; ++p) *p = asciiUpper(*p);
    return _pText;
}

wchar_t* STRING_lower(wchar_t* _pText)
{
    if (!_pText) return 0;
    for (wchar_t* p = _pText; *p; ++p) *p = asciiLower(*p);
    return _pText;
}

wchar_t STRING_toupper(wchar_t _cUnit)
{
    return asciiUpper(_cUnit);
}

// ---- character search -------------------------------------------------------

wchar_t* STRING_chr(const wchar_t* _pText, wchar_t _cUnit)
{
    return STRING_chrN(_pText, _cUnit, 0);
}

wchar_t* STRING_chrR(const wchar_t* _pText, wchar_t _cUnit)
{
    if (!_pText) return 0;
    const wchar_t* pFound = 0;
    for (const wchar_t* p = _pText;; ++p) {
        if (*p == _cUnit) pFound = p;
        if (!*p) break;
    }
    return const_cast<wchar_t*>(pFound);
}

wchar_t* STRING_chrI(const wchar_t* _pText, wchar_t _cUnit)
{
    if (!_pText || !_pText[0]) return 0;
    const wchar_t cUpper = asciiUpper(_cUnit);
    for (const wchar_t* p = _pText;; ++p) {
        if (asciiUpper(*p) == cUpper) return const_cast<wchar_t*>(p);
        if (!*p) return 0;
    }
}

wchar_t* STRING_chrN(const wchar_t* _pText, wchar_t _cUnit, int _iLimit)
{
    if (!_pText) return 0;
    for (int i = 0; _iLimit <= 0 || i < _iLimit; ++i) {
        if (_pText[i] == _cUnit) return const_cast<wchar_t*>(_pText + i);
        if (!_pText[i]) break;
    }
    return 0;
}

int STRING_chrIndex(wchar_t _cUnit, const wchar_t* _pText)
{
    if (!_pText || !_pText[0]) return -1;
    for (int i = 0;; ++i) {
        if (_pText[i] == _cUnit) return i;
        if (!_pText[i]) return -1;
    }
}

int STRING_isSeparator(wchar_t _cUnit, const wchar_t* _pSet)
{
    if (!_pSet || !_pSet[0] || !_cUnit) return 1;
    for (const wchar_t* p = _pSet; *p; ++p) {
        if (*p == _cUnit) return 1;
    }
    return 0;
}

// ---- words ------------------------------------------------------------------

namespace {

// Does text begin with word, followed (with a set) by a separator? _iAvail >= 0 is the
// number of units readable at _pText; the end of those units separates like a terminator.
int matchWord(const wchar_t* _pText, const wchar_t* _pWord, int _iWordLen, int _iAvail,
              const wchar_t* _pSet, bool _bIgnoreCase)
{
    if (_iAvail >= 0 && _iWordLen > _iAvail) return 0;
    for (int i = 0; i < _iWordLen; ++i) {
        const wchar_t a = _bIgnoreCase ? asciiUpper(_pText[i]) : _pText[i];
        const wchar_t b = _bIgnoreCase ? asciiUpper(_pWord[i]) : _pWord[i];
        if (a != b) return 0;
    }
    if (!_pSet) return 1;
    if (_iAvail >= 0 && _iWordLen == _iAvail) return 1;
    return STRING_isSeparator(_pText[_iWordLen], _pSet);
}

wchar_t* findWord(const wchar_t* _pText, const wchar_t* _pWord, int _iLimit, const wchar_t* _pSet,
                  bool _bIgnoreCase)
{
    if (!_pText || !_pWord || !_pWord[0]) return 0;
    const int iWordLen = STRING_len(_pWord);
    for (int i = 0; _iLimit > 0 ? i < _iLimit : _pText[i] != 0; ++i) {
        if (i > 0 && !STRING_isSeparator(_pText[i - 1], _pSet)) continue;
        if (matchWord(_pText + i, _pWord, iWordLen, _iLimit > 0 ? _iLimit - i : -1, _pSet, _bIgnoreCase))
            return const_cast<wchar_t*>(_pText + i);
    }
    return 0;
}

} // namespace

int STRING_isWord(const wchar_t* _pText, const wchar_t* _pWord, const wchar_t* _pSet)
{
    if (!_pText || !_pWord || !_pWord[0]) return 0;
    return matchWord(_pText, _pWord, STRING_len(_pWord), -1, _pSet, false);
}

int STRING_isWordI(const wchar_t* _pText, const wchar_t* _pWord, const wchar_t* _pSet)
{
    if (!_pText || !_pWord || !_pWord[0]) return 0;
    return matchWord(_pText, _pWord, STRING_len(_pWord), -1, _pSet, true);
}

wchar_t* STRING_findWord(const wchar_t* _pText, const wchar_t* _pWord, int _iLimit, const wchar_t* _pSet)
{
    return findWord(_pText, _pWord, _iLimit, _pSet, false);
}

wchar_t* STRING_findWordI(const wchar_t* _pText, const wchar_t* _pWord, int _iLimit, const wchar_t* _pSet)
{
    return findWord(_pText, _pWord, _iLimit, _pSet, true);
}

int STRING_wordLen(const wchar_t* _pText, const wchar_t* _pSet)
{
    if (!_pText) return 0;
    if (!_pSet) return STRING_len(_pText);
    int iLen = 0;
    while (!STRING_isSeparator(_pText[iLen], _pSet)) ++iLen;
    return iLen;
}

int STRING_getWord(const wchar_t* _pText, wchar_t* _pOut, int _iMax, const wchar_t* _pSet)
{
    if (!_pText) return 0;
    const int iLen = STRING_wordLen(_pText, _pSet);
    if (_pOut) {
        const int iCopy = (_iMax > 0 && _iMax < iLen) ? _iMax : iLen;
        for (int i = 0; i < iCopy; ++i) _pOut[i] = _pText[i];
        _pOut[iCopy] = 0;
    }
    return iLen;
}

wchar_t* STRING_nextWord(const wchar_t* _pPos, const wchar_t* _pSet)
{
    if (!_pPos) return 0;
    const wchar_t* p = _pPos;
    while (!STRING_isSeparator(*p, _pSet)) ++p;
    while (*p && STRING_isSeparator(*p, _pSet)) ++p;
    return const_cast<wchar_t*>(p);
}

wchar_t* STRING_prevWord(const wchar_t* _pPos, const wchar_t* _pStart, const wchar_t* _pSet)
{
    if (!_pPos) return 0;
    if (!_pStart || _pStart > _pPos) _pStart = _pPos;
    const wchar_t* p = _pPos;
    while (p > _pStart && !STRING_isSeparator(*p, _pSet)) --p;
    while (p > _pStart && STRING_isSeparator(*p, _pSet)) --p;
    while (p > _pStart && !STRING_isSeparator(*p, _pSet)) --p;
    return const_cast<wchar_t*>(STRING_isSeparator(*p, _pSet) ? p + 1 : p);
}

wchar_t* STRING_wordTop(const wchar_t* _pPos, const wchar_t* _pStart, const wchar_t* _pSet)
{
    if (!_pPos) return 0;
    if (!_pStart || _pStart > _pPos) _pStart = _pPos;
    const wchar_t* p = _pPos;
    while (p > _pStart && !STRING_isSeparator(*p, _pSet)) --p;
    return const_cast<wchar_t*>(STRING_isSeparator(*p, _pSet) ? p + 1 : p);
}

wchar_t* STRING_skipSpace(const wchar_t* _pText, int _iLimit)
{
    if (!_pText) return 0;
    const wchar_t* p = _pText;
    for (int i = 0; *p && (_iLimit <= 0 || i < _iLimit); ++i, p += MOJI_step()) {
        if (*p != L' ' && *p != L'\t' && !MOJI_isZen(*p)) break;
    }
    return const_cast<wchar_t*>(p);
}

int STRING_getLine(const wchar_t* _pPos, const wchar_t* _pStart, wchar_t* _pOut)
{
    if (!_pPos) return 0;
    if (!_pStart || _pStart > _pPos) _pStart = _pPos;
    const wchar_t* p = _pPos;
    while (p > _pStart && *p != L'\n') --p;
    if (*p == L'\n') ++p;
    int iLen = 0;
    while (p[iLen] && p[iLen] != L'\r' && p[iLen] != L'\n') {
        if (_pOut) _pOut[iLen] = p[iLen];
        ++iLen;
    }
    if (_pOut) _pOut[iLen] = 0;
    return iLen;
}

// ---- paths --------------------------------------------------------------------

int STRING_normalizePath(wchar_t* _pPath)
{
    if (!_pPath) return 0;
    bool bChanged = true;
    while (bChanged) {
        bChanged = false;
        int iPrev = -1; // the nearest separator before the one at i
        for (int i = 0; _pPath[i]; ++i) {
            if (!isPathSeparator(_pPath[i])) continue;
            if (iPrev >= 0 && _pPath[i + 1] == L'.' && _pPath[i + 2] == L'.' && isPathSeparator(_pPath[i + 3])) {
                // Drop "segment\..\" after the earlier separator, terminator moving down too.
                const int iFrom = iPrev + 1;
                const int iTo = i + 4;
                int k = 0;
                do {
                    _pPath[iFrom + k] = _pPath[iTo + k];
                } while (_pPath[iTo + k++]);
                bChanged = true;
                break;
            }
            iPrev = i;
        }
    }
    return STRING_len(_pPath);
}

int STRING_parentPath(wchar_t* _pPath)
{
    if (!_pPath || !_pPath[0]) return 0;
    const int iLen = STRING_len(_pPath);
    const bool bTrailing = isPathSeparator(_pPath[iLen - 1]);
    int k = bTrailing ? iLen - 2 : iLen - 1;
    while (k >= 0 && !isPathSeparator(_pPath[k])) --k;
    if (k < 0) return 0;
    _pPath[bTrailing ? k + 1 : k] = 0;
    return 1;
}

// ---- character classes -------------------------------------------------------

int MOJI_step()
{
    return 1;
}

int MOJI_isZen(wchar_t _cUnit)
{
    const unsigned int u = static_cast<unsigned short>(_cUnit);
    return (u >= 0x7E && u != 0x203E && u < 0xFF61 && !MOJI_isByteEscape(_cUnit)) ? 1 : 0;
}

int MOJI_isZenStr(const wchar_t* _pText)
{
    return _pText ? MOJI_isZen(*_pText) : 0;
}
