// The range text of the spreadsheet commands and the cell texts as the spreadsheet sends them.
#include "krelwin/module/xlcell.h"

#include <climits>

#include "kelto/string/string.h"

namespace {

// Reads letters A to Z as a bijective base-26 number into *_pValue (0 when none); false
// when the value overflows.
bool xl_letters(const wchar_t*& _p, int* _pValue)
{
    int iValue = 0;
    for (; *_p >= L'A' && *_p <= L'Z'; ++_p) {
        const int iDigit = *_p - L'A' + 1;
        if (iValue > (INT_MAX - iDigit) / 26) return false;
        iValue = iValue * 26 + iDigit;
    }
    *_pValue = iValue;
    return true;
}

bool xl_digits(const wchar_t*& _p, int* _pValue)
{
    int iValue = 0;
    for (; *_p >= L'0' && *_p <= L'9'; ++_p) {
        const int iDigit = *_p - L'0';
        if (iValue > (INT_MAX - iDigit) / 10) return false;
        iValue = iValue * 10 + iDigit;
    }
    *_pValue = iValue;
    return true;
}

// Drops characters of code 32 or below from the end; the new length.
int xl_trimBlanks(wchar_t* _pCell, int _iLength)
{
    while (_iLength > 0 && _pCell[_iLength - 1] <= 32) --_iLength;
    _pCell[_iLength] = 0;
    return _iLength;
}

}  // namespace

XL_RANGE XL_defaultRange()
{
    XL_RANGE stRange = {1, 1, 256, 4096};
    return stRange;
}

int XL_parseRange(const wchar_t* _pText, XL_RANGE* _pRange)
{
    if (!_pText || !_pRange) return -1;
    if (!(*_pText >= L'A' && *_pText <= L'Z')) return -1;
    const wchar_t* p = _pText;
    XL_RANGE stRange = {0, 0, 0, 0};
    if (!xl_letters(p, &stRange.m_iCol1) || !xl_digits(p, &stRange.m_iRow1) || !xl_letters(p, &stRange.m_iCol2) ||
        !xl_digits(p, &stRange.m_iRow2))
        return -1;
    *_pRange = stRange;
    return (stRange.m_iCol1 > 0 && stRange.m_iRow1 > 0 && stRange.m_iCol2 > 0 && stRange.m_iRow2 > 0) ? 1 : 0;
}

int XL_trim(wchar_t* _pCell)
{
    if (!_pCell) return 0;
    int iLength = STRING_len(_pCell);
    while (iLength > 0 && (_pCell[iLength - 1] == L'"' || _pCell[iLength - 1] <= 32)) --iLength;
    _pCell[iLength] = 0;
    return iLength;
}

int XL_unquote(wchar_t* _pCell)
{
    if (!_pCell) return 0;
    int iEnd = STRING_len(_pCell);
    while (iEnd > 0 && (_pCell[iEnd - 1] == L'\r' || _pCell[iEnd - 1] == L'\n')) --iEnd;
    if (iEnd < 2 || _pCell[0] != L'"' || _pCell[iEnd - 1] != L'"') return 0;
    // A quote inside that is not one of a pair: the text was not quoted by the spreadsheet.
    for (int i = 1; i < iEnd - 1; ++i) {
        if (_pCell[i] != L'"') continue;
        if (i + 1 >= iEnd - 1 || _pCell[i + 1] != L'"') return 0;
        ++i;
    }
    int iOut = 0;
    for (int i = 1; i < iEnd - 1; ++i) {
        _pCell[iOut++] = _pCell[i];
        if (_pCell[i] == L'"') ++i;
    }
    _pCell[iOut] = 0;
    return 1;
}

int XL_cellText(wchar_t* _pCell)
{
    if (!_pCell) return 0;
    if (!XL_unquote(_pCell)) return XL_trim(_pCell);
    return xl_trimBlanks(_pCell, STRING_len(_pCell));
}
