// Section/key reader over a text in memory. Every search is bounded by the length the caller
// gives; a section reaches to the next '[' of the text, so a key is looked for only there.
#include "kelto/string/probuff.h"

#include <cstddef>

#include "kelto/string/string.h"
#include "kelto/tools/debug.h"

namespace {

const int s_iSectionKeyLength = PROBUFF_SECTION_LENGTH;
const wchar_t* const s_pSectionSeparator = L"] \t\r\n";
const wchar_t* const s_pKeySeparator = L"= \t\r\n";
// Numeric values are read through a buffer of this many units.
const int s_iNumberLength = 32;

inline bool probuff_isBlank(wchar_t _c) { return _c == L' ' || _c == L'\t'; }

// The label's '[' of the section, or null. *_pLength (the text's length) becomes the
// section's extent: the units from its '[' to the next '[' or the end of the text.
const wchar_t* _string_privateSection(const wchar_t* _pText, int* _pLength, const wchar_t* _pSec,
                                      int* _pLabelLength = 0)
{
    KELTO_ASSERT_MSG((NULL!=_pSec), L"セクション名が指定されていません");
    if (!_pSec || !_pText || !_pLength || *_pLength <= 0) return 0;

    wchar_t szSecLabel[s_iSectionKeyLength] = {0};
    STRING_sprintf(szSecLabel, s_iSectionKeyLength, L"[%s]", _pSec);
    const int iFullLength = STRING_len(_pSec) + 2;
    if (!(s_iSectionKeyLength > iFullLength)) {
        // Such a name never fits a formatted report whole: the message carries its start.
        wchar_t szMessage[DEBUG_MESSAGE_LENGTH];
        STRING_sprintf(szMessage, DEBUG_MESSAGE_LENGTH, L"セクション名が異常 %s", _pSec);
        DEBUG_assert(0, "s_iSectionKeyLength > STRING_len( szSecLabel )", __FILE__, __LINE__, __FUNCTION__,
                     szMessage);
    }

    const int iLength = *_pLength;
    const wchar_t* pLabel = STRING_findWordI(_pText, szSecLabel, iLength, s_pSectionSeparator);
    if (!pLabel) return 0;
    const int iPos = static_cast<int>(pLabel - _pText);
    const int iLabelLength = STRING_len(szSecLabel);
    if (iPos + iLabelLength > iLength) return 0;

    int iNext = iPos + 1;
    while (iNext < iLength && _pText[iNext] != L'[') ++iNext;
    *_pLength = iNext - iPos;
    if (_pLabelLength) *_pLabelLength = iLabelLength;
    return pLabel;
}

// The first unit of the key's value inside the section of _iExtent units, or null.
// _bLabelFollows: the next section's '[' stands right after the extent, so a key
// that ends there is not followed by a separator.
const wchar_t* _string_privateKey(const wchar_t* _pSection, int _iExtent, const wchar_t* _pKey,
                                  bool _bLabelFollows)
{
    KELTO_ASSERT_MSG((NULL!=_pKey), L"キー名が指定されていません");
    if (!_pKey || !_pSection || _iExtent <= 0) return 0;

    // Keys take part with at most their first 254 units.
    wchar_t szKey[s_iSectionKeyLength] = {0};
    int iKeyLength = 0;
    while (iKeyLength < s_iSectionKeyLength - 1 && _pKey[iKeyLength]) {
        szKey[iKeyLength] = _pKey[iKeyLength];
        ++iKeyLength;
    }
    if (iKeyLength == 0) return 0;

    const wchar_t* pFound = STRING_findWordI(_pSection, szKey, _iExtent, s_pKeySeparator);
    if (!pFound) return 0;
    int p = static_cast<int>(pFound - _pSection) + iKeyLength;
    if (p > _iExtent || (p == _iExtent && _bLabelFollows)) return 0;
    while (p < _iExtent && probuff_isBlank(_pSection[p])) ++p;
    if (p < _iExtent && _pSection[p] == L'=') ++p;
    while (p < _iExtent && probuff_isBlank(_pSection[p])) ++p;
    return _pSection + p;
}

int _private_GetString(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                       wchar_t* _pString, int _iSize, const wchar_t* _pDefault)
{
    KELTO_ASSERT_MSG((NULL!=_pString), L"受け取りポインタ異常");
    KELTO_ASSERT((NULL!=_pSec));
    KELTO_ASSERT((NULL!=_pKey));
    if (!_pString || _iSize <= 0) return 0;
    _pString[0] = 0;

    if (_pText && _pSec && _pKey) {
        int iExtent = _iLength;
        const wchar_t* pSection = _string_privateSection(_pText, &iExtent, _pSec);
        const bool bLabelFollows = pSection && (pSection - _pText) + iExtent < _iLength;
        const wchar_t* pValue = pSection ? _string_privateKey(pSection, iExtent, _pKey, bLabelFollows) : 0;
        if (pValue) {
            const wchar_t* pEnd = pSection + iExtent;
            int n = 0;
            while (pValue < pEnd && *pValue >= 0x20 && n < _iSize - 1) _pString[n++] = *pValue++;
            _pString[n] = 0;
            return n;
        }
    }
    if (_pDefault) {
        int n = 0;
        while (_pDefault[n] && n < _iSize - 1) {
            _pString[n] = _pDefault[n];
            ++n;
        }
        _pString[n] = 0;
    }
    return 0;
}

}  // namespace

const wchar_t* PROBUFF_GetSection(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, int* _pBodyLength)
{
    int iExtent = _iLength;
    int iLabelLength = 0;
    const wchar_t* pLabel = _string_privateSection(_pText, &iExtent, _pSec, &iLabelLength);
    if (!pLabel) return 0;

    int b = static_cast<int>(pLabel - _pText) + iLabelLength;
    if (b < _iLength && _pText[b] == L'\r') ++b;
    if (b < _iLength && _pText[b] == L'\n') ++b;
    if (_pBodyLength) {
        int k = b;
        while (k < _iLength && !(_pText[k] == L'\n' && k + 1 < _iLength && _pText[k + 1] == L'[')) ++k;
        *_pBodyLength = (k < _iLength) ? k + 1 - b : _iLength - b;
    }
    return _pText + b;
}

int PROBUFF_IsSection(const wchar_t* _pText, int _iLength, const wchar_t* _pSec)
{
    int iExtent = _iLength;
    return _string_privateSection(_pText, &iExtent, _pSec) ? 1 : 0;
}

int PROBUFF_GetString(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                      wchar_t* _pString, int _iSize, const wchar_t* _pDefault)
{
    return _private_GetString(_pText, _iLength, _pSec, _pKey, _pString, _iSize, _pDefault);
}

int PROBUFF_GetInt(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                   int _iDefault)
{
    wchar_t szValue[s_iNumberLength];
    if (_private_GetString(_pText, _iLength, _pSec, _pKey, szValue, s_iNumberLength, 0) == 0) return _iDefault;
    return STRING_toInt(szValue);
}

float PROBUFF_GetFloat(const wchar_t* _pText, int _iLength, const wchar_t* _pSec, const wchar_t* _pKey,
                       float _fDefault)
{
    wchar_t szValue[s_iNumberLength];
    if (_private_GetString(_pText, _iLength, _pSec, _pKey, szValue, s_iNumberLength, 0) == 0) return _fDefault;
    return STRING_toFloat(szValue);
}
