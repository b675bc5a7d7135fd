#include "krelwin/params/rangecheck.h"

#include "krelwin/main/global.h"

CRangeCheck s_cRangeCheck;

namespace {

int range_isMarker(const wchar_t* _pText, int _iPos, wchar_t _cCode)
{
    return IsCode(_pText + _iPos, _cCode) && IsCode(_pText + _iPos + 2, _cCode);
}

} // namespace

int IsCode(const wchar_t* _pUnit, wchar_t _cCode)
{
    return (_pUnit && *_pUnit == _cCode) ? 1 : 0;
}

CRangeCheck::CRangeCheck() : m_iEnabled(0), m_iInside(0) {}

void CRangeCheck::Init(const wchar_t* _pText, int _iLength)
{
    m_iInside = 0;
    m_iEnabled = 0;
    const int iRange = s_stGl.m_pSetting ? s_stGl.m_pSetting->RANGE : 0;
    if (iRange == 0) return;
    m_iEnabled = 1;
    if (iRange == 1) return;

    int iStart = 0;
    int iEnd = 0;
    for (int i = 0; _pText && i + 2 < _iLength && !(iStart && iEnd); ++i) {
        if (range_isMarker(_pText, i, RANGE_CODE_START)) iStart = 1;
        else if (range_isMarker(_pText, i, RANGE_CODE_END)) iEnd = 1;
    }
    if (!(iStart && iEnd)) m_iEnabled = 0;
}

int CRangeCheck::IsSkip(const wchar_t* _pText, int _iPos, int _iLength)
{
    if (!m_iEnabled || !_pText || _iPos < 0) return 0;
    if (_iPos + 5 >= _iLength) return 0;
    if (!m_iInside) {
        if (range_isMarker(_pText, _iPos, RANGE_CODE_START)) {
            m_iInside = 1;
            return 0;
        }
        return 1;
    }
    if (range_isMarker(_pText, _iPos, RANGE_CODE_END)) m_iInside = 0;
    return 0;
}
