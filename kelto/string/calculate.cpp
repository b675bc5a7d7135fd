// The expression evaluator of the FILT_ family. Every operation rewrites only its own span
// (left operand to right operand) and never makes the text longer; an operation that cannot
// be carried out (division by zero, a result that does not fit the span) is left as written.
#include <climits>
#include <cmath>
#include <cstdint>

#include "kelto/string/filter.h"
#include "kelto/string/string.h"

namespace {

struct CALC_OPERAND
{
    int iStart;    // first unit of the span this operand takes (left) / after it (right)
    bool bFloat;
    int32_t iValue;
    float fValue;
};

inline bool calc_isDigit(wchar_t _c) { return _c >= L'0' && _c <= L'9'; }
inline bool calc_isBlank(wchar_t _c) { return _c == L' ' || _c == L'\t'; }
// A unit touching digits that makes them part of a name rather than a number.
inline bool calc_isNameUnit(wchar_t _c) { return _c >= L'?' && _c <= L'z' && _c != L'[' && _c != L']'; }

// Digits accumulate modulo 2^32, as 32-bit arithmetic does.
int32_t calc_digits(const wchar_t* _pText, int _iFrom, int _iTo)
{
    uint32_t u = 0;
    for (int k = _iFrom; k < _iTo; ++k) u = u * 10u + static_cast<uint32_t>(_pText[k] - L'0');
    return static_cast<int32_t>(u);
}

double calc_fraction(const wchar_t* _pText, int _iFrom, int _iTo)
{
    double d = 0.0;
    double dPlace = 0.1;
    for (int k = _iFrom; k < _iTo; ++k, dPlace /= 10.0) d += (_pText[k] - L'0') * dPlace;
    return d;
}

int32_t calc_negate(int32_t _i) { return static_cast<int32_t>(0u - static_cast<uint32_t>(_i)); }

// The number that ends before the operator at _iOp; _iLo is the region's first unit.
bool calc_scanLeft(const wchar_t* _pText, int _iLo, int _iOp, CALC_OPERAND* _pOut)
{
    int p = _iOp - 1;
    while (p >= _iLo && calc_isBlank(_pText[p])) --p;
    const int iEnd = p + 1;
    int iDot = -1;
    while (p >= _iLo && (calc_isDigit(_pText[p]) || (_pText[p] == L'.' && iDot < 0))) {
        if (_pText[p] == L'.') iDot = p;
        --p;
    }
    const int iNum = p + 1;
    if (iEnd - iNum - (iDot >= 0 ? 1 : 0) <= 0) return false;  // no digit
    if (p >= _iLo && calc_isNameUnit(_pText[p])) return false;

    int s = p;
    while (s >= _iLo && calc_isBlank(_pText[s])) --s;
    const bool bNeg = (s >= _iLo && _pText[s] == L'-');
    _pOut->iStart = bNeg ? s : s + 1;

    const int iIntEnd = (iDot >= 0) ? iDot : iEnd;
    int32_t iInt = calc_digits(_pText, iNum, iIntEnd);
    double dFrac = (iDot >= 0) ? calc_fraction(_pText, iDot + 1, iEnd) : 0.0;
    _pOut->bFloat = dFrac != 0.0;
    float f = static_cast<float>(static_cast<double>(iInt) + dFrac);
    _pOut->iValue = bNeg ? calc_negate(iInt) : iInt;
    _pOut->fValue = bNeg ? -f : f;
    return true;
}

// The number after the operator at _iOp, before _iHi (the group's end).
bool calc_scanRight(const wchar_t* _pText, int _iOp, int _iHi, CALC_OPERAND* _pOut)
{
    int p = _iOp + 1;
    bool bNeg = false;
    while (p < _iHi && (calc_isBlank(_pText[p]) || _pText[p] == L'-')) {
        if (_pText[p] == L'-') bNeg = true;
        ++p;
    }
    if (p >= _iHi || !calc_isDigit(_pText[p])) return false;
    const int iNum = p;
    while (p < _iHi && calc_isDigit(_pText[p])) ++p;
    const int32_t iInt = calc_digits(_pText, iNum, p);
    bool bDot = false;
    double dFrac = 0.0;
    if (p < _iHi && _pText[p] == L'.') {
        bDot = true;
        const int iFrac = ++p;
        while (p < _iHi && calc_isDigit(_pText[p])) ++p;
        dFrac = calc_fraction(_pText, iFrac, p);
    }
    if (p < _iHi && calc_isNameUnit(_pText[p])) return false;
    _pOut->iStart = p;
    float f = static_cast<float>(static_cast<double>(iInt) + dFrac);
    _pOut->bFloat = bDot && f != 0.0f;
    _pOut->iValue = bNeg ? calc_negate(iInt) : iInt;
    _pOut->fValue = bNeg ? -f : f;
    return true;
}

int32_t calc_intPart(float _f)
{
    if (!(_f > static_cast<float>(INT_MIN))) return INT_MIN;  // also NaN
    if (_f >= 2147483648.0f) return INT_MAX;
    return static_cast<int32_t>(_f);
}

// 32-bit integer operation; false for a division or remainder by zero.
bool calc_int(wchar_t _cOp, int32_t _a, int32_t _b, int32_t* _pOut)
{
    const uint32_t ua = static_cast<uint32_t>(_a);
    const uint32_t ub = static_cast<uint32_t>(_b);
    switch (_cOp) {
    case L'*': *_pOut = static_cast<int32_t>(ua * ub); return true;
    case L'+': *_pOut = static_cast<int32_t>(ua + ub); return true;
    case L'-': *_pOut = static_cast<int32_t>(ua - ub); return true;
    case L'&': *_pOut = static_cast<int32_t>(ua & ub); return true;
    case L'|': *_pOut = static_cast<int32_t>(ua | ub); return true;
    case L'/':
        if (_b == 0) return false;
        *_pOut = (_b == -1) ? calc_negate(_a) : _a / _b;  // INT_MIN / -1 wraps
        return true;
    case L'%':
        if (_b == 0) return false;
        *_pOut = (_b == -1) ? 0 : _a % _b;
        return true;
    default: return false;
    }
}

// Writes the result of the operator at _iOp over its span; false leaves the text untouched.
bool calc_applyOperator(wchar_t* _pText, int _iLo, int _iHi, int _iOp)
{
    CALC_OPERAND cLeft;
    CALC_OPERAND cRight;
    if (!calc_scanLeft(_pText, _iLo, _iOp, &cLeft)) return false;
    if (!calc_scanRight(_pText, _iOp, _iHi, &cRight)) return false;
    const wchar_t cOp = _pText[_iOp];
    const int iSpanStart = cLeft.iStart;
    const int iSpanLen = cRight.iStart - iSpanStart;

    // Keep the result apart from a number or name that stands right before the span; only a
    // result with a '-' in front goes over the span's start as it is.
    const auto needsTab = [&](bool _bNegative) {
        if (_bNegative) return false;
        int k = iSpanStart - 1;
        while (k >= _iLo && _pText[k] <= 0x20) --k;
        return k >= _iLo && (calc_isDigit(_pText[k]) || (_pText[k] >= L'A' && _pText[k] <= L'Z'));
    };

    int w = iSpanStart;
    if (!cLeft.bFloat && !cRight.bFloat) {
        int32_t iResult = 0;
        if (!calc_int(cOp, cLeft.iValue, cRight.iValue, &iResult)) return false;
        wchar_t szResult[16];
        if (STRING_itoa(szResult, iResult, 16) < 0) return false;
        const bool bTab = needsTab(iResult < 0);
        const int iResultLen = STRING_len(szResult);
        if (iResultLen + (bTab ? 1 : 0) > iSpanLen) return false;
        if (bTab) _pText[w++] = L'\t';
        for (int k = 0; k < iResultLen; ++k) _pText[w++] = szResult[k];
    } else {
        float fResult = 0.0f;
        switch (cOp) {
        case L'*': fResult = cLeft.fValue * cRight.fValue; break;
        case L'+': fResult = cLeft.fValue + cRight.fValue; break;
        case L'-': fResult = cLeft.fValue - cRight.fValue; break;
        case L'/':
            if (cRight.fValue == 0.0f) return false;
            fResult = cLeft.fValue / cRight.fValue;
            break;
        default: {
            int32_t iResult = 0;
            if (!calc_int(cOp, calc_intPart(cLeft.fValue), calc_intPart(cRight.fValue), &iResult)) return false;
            fResult = static_cast<float>(iResult);
            break;
        }
        }
        // The float form writes the integer part through "%d": keep it inside 32 bits, and
        // refuse a result whose integer digits the span cannot hold (it would read as another number).
        if (!std::isfinite(fResult) || std::fabs(fResult) >= 2147483648.0f) return false;
        wchar_t szInt[16];
        const int iIntLen = STRING_itoa(szInt, static_cast<int32_t>(fResult), 16);
        const int iNeed = iIntLen + ((fResult < 0.0f && szInt[0] != L'-') ? 1 : 0);
        if (iIntLen < 0 || iNeed > iSpanLen - 1) return false;
        // The span's length is the room, however long the span is: the text goes straight into
        // it (at most span - 1 units and a terminator) and moves up by one for a TAB.
        const bool bTab = needsTab(fResult < 0.0f);
        STRING_ftoa(_pText + iSpanStart, fResult, iSpanLen);
        const int iResultLen = STRING_len(_pText + iSpanStart);
        if (bTab) {
            for (int k = iResultLen; k > 0; --k) _pText[iSpanStart + k] = _pText[iSpanStart + k - 1];
            _pText[iSpanStart] = L'\t';
        }
        w = iSpanStart + iResultLen + (bTab ? 1 : 0);
    }
    while (w < iSpanStart + iSpanLen) _pText[w++] = L' ';
    return true;
}

// Runs the three operator passes over the group [_iStart, _iEnd) and, when it has become a
// plain number, blanks its parentheses so it joins the enclosing expression.
void calc_closeGroup(wchar_t* _pText, int _iLo, int _iStart, int _iEnd, bool _bParen, bool _bOutermost)
{
    static const wchar_t* const s_apOps[] = {L"*/", L"%|&", L"-+"};
    bool bApplied = false;
    for (const wchar_t* pOps : s_apOps) {
        for (int j = _iStart; j < _iEnd; ++j) {
            const wchar_t c = _pText[j];
            if ((c == pOps[0] || c == pOps[1] || (pOps[2] && c == pOps[2])) &&
                calc_applyOperator(_pText, _iLo, _iEnd, j)) {
                bApplied = true;
            }
        }
    }
    if (!bApplied || _bOutermost) return;
    for (int j = _iStart; j < _iEnd - 1; ++j) {
        if (_pText[j] > L'A') return;
    }
    _pText[_iStart - 1] = L' ';
    if (_bParen) _pText[_iEnd] = L' ';
}

}  // namespace

int FILT_Calculate(wchar_t* _pText, int _iLength, int _iStart, wchar_t _cQuote)
{
    if (!_pText) return 0;
    const int iLength = (_iLength == 0) ? STRING_len(_pText) : _iLength;
    if (_iStart < 0 || iLength <= _iStart) return _iLength;
    // A terminator inside the length ends the region as well.
    int iHi = 0;
    while (iHi < iLength && _pText[iHi]) ++iHi;
    if (iHi <= _iStart) return _iLength;

    int aiGroup[FILT_CALC_GROUPS];
    int iDepth = 1;
    aiGroup[0] = _iStart;
    int i = _iStart;
    for (;;) {
        if (i >= iHi) {  // the end closes every open group, innermost first
            calc_closeGroup(_pText, _iStart, aiGroup[iDepth - 1], iHi, false, iDepth == 1);
            if (--iDepth == 0) break;
            continue;
        }
        const wchar_t c = _pText[i];
        if (_cQuote && c == _cQuote) {
            int j = i + 1;
            while (j < iHi && _pText[j] != _cQuote) ++j;
            i = (j < iHi) ? j + 1 : iHi;
            continue;
        }
        if (c == L'(') {
            if (i + 1 < iHi && _pText[i + 1] == L')') {
                i += 2;
                continue;
            }
            if (iDepth < FILT_CALC_GROUPS) aiGroup[iDepth++] = i + 1;
            ++i;
            continue;
        }
        if (c == L')') {
            calc_closeGroup(_pText, _iStart, aiGroup[iDepth - 1], i, true, iDepth == 1);
            if (iDepth == 1) break;  // a ')' without partner ends the evaluation
            --iDepth;
            ++i;
            continue;
        }
        ++i;
    }
    return _iLength;
}
