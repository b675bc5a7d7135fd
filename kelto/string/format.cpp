// The library's own printf for UTF-16 text, following the Microsoft wide rules whatever the
// C runtime's mode: "%s" wide string, "%S" 8-bit string of the system code page, "%c" wide
// unit, "%C" 8-bit character; h/l/w/ll/I64/I32/I/L size prefixes; flags - 0 + space #;
// width and precision, '*' for either. Floating point goes through the C library's snprintf.
#include "kelto/string/string.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "kelto/string/moji.h"

namespace {

// Writes into at most size - 1 units, counting what did not fit.
class CSink
{
public:
    CSink(wchar_t* _pOut, int _iSize) : m_pOut(_pOut), m_iSize(_iSize), m_iPos(0), m_bCut(false) {}

    void put(wchar_t _c)
    {
        if (m_iPos < m_iSize - 1) m_pOut[m_iPos++] = _c;
        else m_bCut = true;
    }
    void repeat(wchar_t _c, int _iCount)
    {
        for (int i = 0; i < _iCount && !m_bCut; ++i) put(_c);
    }
    void finish() { m_pOut[m_iPos] = 0; }
    bool cut() const { return m_bCut; }
    int pos() const { return m_iPos; }

private:
    wchar_t* m_pOut;
    int m_iSize;
    int m_iPos;
    bool m_bCut;
};

enum ESize { SIZE_INT, SIZE_SHORT, SIZE_LONG, SIZE_LONGLONG, SIZE_LONGDOUBLE };

struct SSpec
{
    bool bLeft = false, bZero = false, bPlus = false, bSpace = false, bAlt = false;
    int iWidth = 0;
    int iPrecision = -1;
    ESize eSize = SIZE_INT;
    bool bNarrow = false; // 'h' on s/c
    bool bWide = false;   // 'l' or 'w' on s/c
};

// Text with width and precision (precision limits the units taken).
void putText(CSink& _cSink, const SSpec& _stSpec, const wchar_t* _pText, int _iLen)
{
    if (_stSpec.iPrecision >= 0 && _iLen > _stSpec.iPrecision) _iLen = _stSpec.iPrecision;
    const int iPad = _stSpec.iWidth > _iLen ? _stSpec.iWidth - _iLen : 0;
    if (!_stSpec.bLeft) _cSink.repeat(_stSpec.bZero ? L'0' : L' ', iPad);
    for (int i = 0; i < _iLen && !_cSink.cut(); ++i) _cSink.put(_pText[i]);
    if (_stSpec.bLeft) _cSink.repeat(L' ', iPad);
}

int lengthWithin(const wchar_t* _pText, int _iMax)
{
    int iLen = 0;
    while ((_iMax < 0 || iLen < _iMax) && _pText[iLen]) ++iLen;
    return iLen;
}

void putInteger(CSink& _cSink, const SSpec& _stSpec, std::uint64_t _uValue, bool _bNegative,
                unsigned int _uBase, bool _bUpper, bool _bSigned)
{
    wchar_t szDigits[32];
    int iDigits = 0;
    const wchar_t* pDigitSet = _bUpper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    for (std::uint64_t u = _uValue; u; u /= _uBase) szDigits[iDigits++] = pDigitSet[u % _uBase];
    // Precision is the least number of digits; precision 0 prints nothing for 0.
    int iZeros = 0;
    if (_stSpec.iPrecision >= 0) {
        if (_stSpec.iPrecision > iDigits) iZeros = _stSpec.iPrecision - iDigits;
    } else if (iDigits == 0) {
        iZeros = 1;
    }
    wchar_t szPrefix[3];
    int iPrefix = 0;
    if (_bSigned) {
        if (_bNegative) szPrefix[iPrefix++] = L'-';
        else if (_stSpec.bPlus) szPrefix[iPrefix++] = L'+';
        else if (_stSpec.bSpace) szPrefix[iPrefix++] = L' ';
    } else if (_stSpec.bAlt && _uValue != 0 && _uBase == 16) {
        szPrefix[iPrefix++] = L'0';
        szPrefix[iPrefix++] = _bUpper ? L'X' : L'x';
    } else if (_stSpec.bAlt && _uBase == 8 && iZeros == 0) {
        szPrefix[iPrefix++] = L'0';
    }
    const int iBody = iPrefix + iZeros + iDigits;
    int iPad = _stSpec.iWidth > iBody ? _stSpec.iWidth - iBody : 0;
    if (!_stSpec.bLeft && _stSpec.bZero && _stSpec.iPrecision < 0) {
        iZeros += iPad; // zero padding goes between the sign or prefix and the digits
        iPad = 0;
    }
    if (!_stSpec.bLeft) _cSink.repeat(L' ', iPad);
    for (int i = 0; i < iPrefix; ++i) _cSink.put(szPrefix[i]);
    _cSink.repeat(L'0', iZeros);
    while (iDigits > 0 && !_cSink.cut()) _cSink.put(szDigits[--iDigits]);
    if (_stSpec.bLeft) _cSink.repeat(L' ', iPad);
}

void putFloat(CSink& _cSink, const SSpec& _stSpec, long double _ldValue, wchar_t _cConv)
{
    char szFormat[32];
    int i = 0;
    szFormat[i++] = '%';
    if (_stSpec.bLeft) szFormat[i++] = '-';
    if (_stSpec.bZero) szFormat[i++] = '0';
    if (_stSpec.bPlus) szFormat[i++] = '+';
    if (_stSpec.bSpace) szFormat[i++] = ' ';
    if (_stSpec.bAlt) szFormat[i++] = '#';
    szFormat[i++] = '*';
    if (_stSpec.iPrecision >= 0) {
        szFormat[i++] = '.';
        szFormat[i++] = '*';
    }
    const bool bLong = _stSpec.eSize == SIZE_LONGDOUBLE;
    if (bLong) szFormat[i++] = 'L';
    szFormat[i++] = static_cast<char>(_cConv);
    szFormat[i] = 0;
    std::vector<char> vText(64);
    for (int iTry = 0; iTry < 2; ++iTry) {
        int iLen;
        const int iWidth = _stSpec.iWidth;
        const int iPrecision = _stSpec.iPrecision;
        const double dValue = static_cast<double>(_ldValue);
        char* pBuf = vText.data();
        const size_t uBuf = vText.size();
        if (_stSpec.iPrecision >= 0)
            iLen = bLong ? std::snprintf(pBuf, uBuf, szFormat, iWidth, iPrecision, _ldValue)
                         : std::snprintf(pBuf, uBuf, szFormat, iWidth, iPrecision, dValue);
        else
            iLen = bLong ? std::snprintf(pBuf, uBuf, szFormat, iWidth, _ldValue)
                         : std::snprintf(pBuf, uBuf, szFormat, iWidth, dValue);
        if (iLen < 0) return;
        if (static_cast<size_t>(iLen) < uBuf) {
            for (int k = 0; k < iLen && !_cSink.cut(); ++k)
                _cSink.put(static_cast<wchar_t>(static_cast<unsigned char>(vText[k])));
            return;
        }
        vText.resize(static_cast<size_t>(iLen) + 1);
    }
}

// Widths and precisions stay below this bound, as the digit forms do; a '*' argument of
// INT_MIN has no positive counterpart in an int.
const int s_iMaxField = 999999;

int boundedField(long long _llValue) { return _llValue > s_iMaxField ? s_iMaxField : static_cast<int>(_llValue); }

void putNarrowText(CSink& _cSink, const SSpec& _stSpec, const char* _pText)
{
    CTOUTF16 cText(_pText);
    const wchar_t* pWide = cText.Get() ? cText.Get() : L"";
    putText(_cSink, _stSpec, pWide, lengthWithin(pWide, _stSpec.iPrecision));
}

} // namespace

int STRING_vsprintf(wchar_t* _pOut, int _iSize, const wchar_t* _pFormat, va_list _vaArgs)
{
    if (!_pOut || _iSize <= 0) return -1;
    CSink cSink(_pOut, _iSize);
    if (!_pFormat) {
        cSink.finish();
        return -1;
    }
    for (const wchar_t* p = _pFormat; *p && !cSink.cut(); ++p) {
        if (*p != L'%') {
            cSink.put(*p);
            continue;
        }
        const wchar_t* pStart = p++;
        SSpec stSpec;
        for (;; ++p) {
            if (*p == L'-') stSpec.bLeft = true;
            else if (*p == L'0') stSpec.bZero = true;
            else if (*p == L'+') stSpec.bPlus = true;
            else if (*p == L' ') stSpec.bSpace = true;
            else if (*p == L'#') stSpec.bAlt = true;
            else break;
        }
        if (*p == L'*') {
            const long long llWidth = va_arg(_vaArgs, int);
            if (llWidth < 0) stSpec.bLeft = true;
            stSpec.iWidth = boundedField(llWidth < 0 ? -llWidth : llWidth);
            ++p;
        } else {
            for (; *p >= L'0' && *p <= L'9'; ++p)
                if (stSpec.iWidth < 100000) stSpec.iWidth = stSpec.iWidth * 10 + (*p - L'0');
        }
        if (*p == L'.') {
            ++p;
            stSpec.iPrecision = 0;
            if (*p == L'*') {
                const int iPrecision = va_arg(_vaArgs, int);
                stSpec.iPrecision = iPrecision < 0 ? -1 : boundedField(iPrecision);
                ++p;
            } else {
                for (; *p >= L'0' && *p <= L'9'; ++p)
                    if (stSpec.iPrecision < 100000) stSpec.iPrecision = stSpec.iPrecision * 10 + (*p - L'0');
            }
        }
        if (*p == L'h') {
            stSpec.eSize = SIZE_SHORT;
            stSpec.bNarrow = true;
            ++p;
        } else if (*p == L'l' && p[1] == L'l') {
            stSpec.eSize = SIZE_LONGLONG;
            p += 2;
        } else if (*p == L'l' || *p == L'w') {
            stSpec.eSize = SIZE_LONG;
            stSpec.bWide = true;
            ++p;
        } else if (*p == L'I' && p[1] == L'6' && p[2] == L'4') {
            stSpec.eSize = SIZE_LONGLONG;
            p += 3;
        } else if (*p == L'I' && p[1] == L'3' && p[2] == L'2') {
            p += 3;
        } else if (*p == L'I') {
            stSpec.eSize = sizeof(void*) == 8 ? SIZE_LONGLONG : SIZE_INT;
            ++p;
        } else if (*p == L'L') {
            stSpec.eSize = SIZE_LONGDOUBLE;
            ++p;
        }
        const wchar_t cConv = *p;
        switch (cConv) {
        case L'd':
        case L'i': {
            long long llValue;
            if (stSpec.eSize == SIZE_LONGLONG) llValue = va_arg(_vaArgs, long long);
            else if (stSpec.eSize == SIZE_LONG) llValue = va_arg(_vaArgs, long);
            else llValue = va_arg(_vaArgs, int);
            if (stSpec.eSize == SIZE_SHORT) llValue = static_cast<short>(llValue);
            const bool bNegative = llValue < 0;
            const std::uint64_t uMagnitude = bNegative ? 0u - static_cast<std::uint64_t>(llValue)
                                                       : static_cast<std::uint64_t>(llValue);
            putInteger(cSink, stSpec, uMagnitude, bNegative, 10, false, true);
            break;
        }
        case L'u':
        case L'x':
        case L'X':
        case L'o': {
            std::uint64_t uValue;
            if (stSpec.eSize == SIZE_LONGLONG) uValue = va_arg(_vaArgs, unsigned long long);
            else if (stSpec.eSize == SIZE_LONG) uValue = va_arg(_vaArgs, unsigned long);
            else uValue = va_arg(_vaArgs, unsigned int);
            if (stSpec.eSize == SIZE_SHORT) uValue = static_cast<unsigned short>(uValue);
            const unsigned int uBase = cConv == L'u' ? 10 : cConv == L'o' ? 8 : 16;
            putInteger(cSink, stSpec, uValue, false, uBase, cConv == L'X', false);
            break;
        }
        case L'p': {
            // As the Microsoft runtime prints it: all hexadecimal digits of the pointer, upper case.
            SSpec stPointer = stSpec;
            stPointer.iPrecision = static_cast<int>(sizeof(void*) * 2);
            stPointer.bAlt = false;
            putInteger(cSink, stPointer, reinterpret_cast<std::uintptr_t>(va_arg(_vaArgs, void*)), false, 16, true,
                       false);
            break;
        }
        case L'c':
        case L'C': {
            const int iValue = va_arg(_vaArgs, int);
            stSpec.iPrecision = -1;
            if ((cConv == L'c' && !stSpec.bNarrow) || (cConv == L'C' && stSpec.bWide)) {
                const wchar_t szUnit[1] = {static_cast<wchar_t>(iValue)};
                putText(cSink, stSpec, szUnit, 1);
            } else {
                const char szByte[2] = {static_cast<char>(iValue), 0};
                CTOUTF16 cUnit(szByte);
                const wchar_t* pWide = cUnit.Get() ? cUnit.Get() : L"";
                putText(cSink, stSpec, pWide, lengthWithin(pWide, 1));
            }
            break;
        }
        case L's':
        case L'S': {
            if ((cConv == L's' && !stSpec.bNarrow) || (cConv == L'S' && stSpec.bWide)) {
                const wchar_t* pText = va_arg(_vaArgs, const wchar_t*);
                if (!pText) pText = L"(null)";
                putText(cSink, stSpec, pText, lengthWithin(pText, stSpec.iPrecision));
            } else {
                const char* pText = va_arg(_vaArgs, const char*);
                if (!pText) pText = "(null)";
                putNarrowText(cSink, stSpec, pText);
            }
            break;
        }
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A': {
            const long double ldValue =
                stSpec.eSize == SIZE_LONGDOUBLE ? va_arg(_vaArgs, long double) : va_arg(_vaArgs, double);
            putFloat(cSink, stSpec, ldValue, cConv);
            break;
        }
        case L'n':
            (void)va_arg(_vaArgs, void*); // never written through: formats are not trusted with memory
            break;
        case L'%':
            cSink.put(L'%');
            break;
        case 0:
            // A lone '%' at the end: print what was read and stop.
            for (const wchar_t* q = pStart; q < p; ++q) cSink.put(*q);
            --p;
            break;
        default:
            // Unknown conversion: shown as it stands.
            for (const wchar_t* q = pStart; q <= p; ++q) cSink.put(*q);
            break;
        }
    }
    cSink.finish();
    return cSink.cut() ? -1 : cSink.pos();
}

int STRING_sprintf(wchar_t* _pOut, int _iSize, const wchar_t* _pFormat, ...)
{
    va_list vaArgs;
    va_start(vaArgs, _pFormat);
    const int iResult = STRING_vsprintf(_pOut, _iSize, _pFormat, vaArgs);
    va_end(vaArgs);
    return iResult;
}
