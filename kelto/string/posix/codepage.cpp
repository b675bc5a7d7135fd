// The code-page conversions over iconv: code page 0 is 932 (CP932), 65001 UTF-8, and the
// wide side UTF-16LE. As on the platform with flags 0: a byte sequence that does not
// convert becomes U+30FB (932) or U+FFFD (UTF-8) and a unit without a mapping '?'; a
// length of -1 takes the text with its terminator; an output too small gives 0.
#include "kelto/string/win32/codepage.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace {

const char* codeName(unsigned int _uCodePage)
{
    return _uCodePage == CODEPAGE_UTF8 ? "UTF-8" : "CP932";
}

// One converter per direction and code page, opened on first use.
iconv_t converter(unsigned int _uCodePage, bool _bToWide)
{
    static iconv_t s_aConv[2][2] = {{(iconv_t)-1, (iconv_t)-1}, {(iconv_t)-1, (iconv_t)-1}};
    iconv_t& cConv = s_aConv[_uCodePage == CODEPAGE_UTF8 ? 1 : 0][_bToWide ? 1 : 0];
    if (cConv == (iconv_t)-1)
        cConv = _bToWide ? iconv_open("UTF-16LE", codeName(_uCodePage)) : iconv_open(codeName(_uCodePage), "UTF-16LE");
    else
        iconv(cConv, 0, 0, 0, 0);
    return cConv;
}

// Converts _uIn bytes; each sequence iconv refuses gives _pBad (_uBad bytes) and is passed
// over by _uSkip bytes (the whole rest when it is cut short at the end).
void convert(iconv_t _cConv, const char* _pIn, size_t _uIn, size_t _uSkip, const char* _pBad, size_t _uBad,
             std::vector<char>* _pOut)
{
    char* pIn = const_cast<char*>(_pIn);
    char aBuf[256];
    while (_uIn > 0) {
        char* pOut = aBuf;
        size_t uRoom = sizeof(aBuf);
        const size_t uResult = iconv(_cConv, &pIn, &_uIn, &pOut, &uRoom);
        _pOut->insert(_pOut->end(), aBuf, pOut);
        if (uResult != (size_t)-1) break;
        if (errno == E2BIG) continue;
        _pOut->insert(_pOut->end(), _pBad, _pBad + _uBad);
        const size_t uSkip = errno == EINVAL ? _uIn : (_uSkip < _uIn ? _uSkip : _uIn);
        pIn += uSkip;
        _uIn -= uSkip;
        iconv(_cConv, 0, 0, 0, 0);
    }
    char* pOut = aBuf;
    size_t uRoom = sizeof(aBuf);
    iconv(_cConv, 0, 0, &pOut, &uRoom);
    _pOut->insert(_pOut->end(), aBuf, pOut);
}

} // namespace

int CODEPAGE_toWide(unsigned int _uCodePage, const char* _pBytes, int _iBytes, wchar_t* _pOut, int _iOutUnits)
{
    if (!_pBytes) return 0;
    const size_t uIn = _iBytes < 0 ? std::strlen(_pBytes) + 1 : static_cast<size_t>(_iBytes);
    if (uIn == 0) return 0;
    iconv_t cConv = converter(_uCodePage, true);
    if (cConv == (iconv_t)-1) return 0;
    static const char s_aBad932[2] = {'\xFB', '\x30'};
    static const char s_aBadUtf8[2] = {'\xFD', '\xFF'};
    std::vector<char> vOut;
    convert(cConv, _pBytes, uIn, 1, _uCodePage == CODEPAGE_UTF8 ? s_aBadUtf8 : s_aBad932, 2, &vOut);
    const int iUnits = static_cast<int>(vOut.size() / 2);
    if (!_pOut) return iUnits;
    if (iUnits > _iOutUnits) return 0;
    std::memcpy(_pOut, vOut.data(), static_cast<size_t>(iUnits) * 2);
    return iUnits;
}

int CODEPAGE_toBytes(unsigned int _uCodePage, const wchar_t* _pText, int _iUnits, char* _pOut, int _iOutBytes)
{
    if (!_pText) return 0;
    size_t uUnits = 0;
    if (_iUnits < 0) {
        while (_pText[uUnits]) ++uUnits;
        ++uUnits;
    } else {
        uUnits = static_cast<size_t>(_iUnits);
    }
    if (uUnits == 0) return 0;
    iconv_t cConv = converter(_uCodePage, false);
    if (cConv == (iconv_t)-1) return 0;
    std::vector<char> vOut;
    convert(cConv, reinterpret_cast<const char*>(_pText), uUnits * 2, 2, "?", 1, &vOut);
    const int iBytes = static_cast<int>(vOut.size());
    if (!_pOut) return iBytes;
    if (iBytes > _iOutBytes) return 0;
    std::memcpy(_pOut, vOut.data(), static_cast<size_t>(iBytes));
    return iBytes;
}
