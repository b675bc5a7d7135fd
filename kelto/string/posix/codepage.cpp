// The code-page conversions over iconv: code page 0 is 932 (CP932), 65001 UTF-8, and the
// wide side UTF-16LE. As on the platform with flags 0: a byte sequence that does not
// convert becomes U+30FB (932) or U+FFFD (UTF-8) and a unit without a mapping '?'; the
// strict form fails instead. A length of -1 takes the text with its terminator; an output
// too small gives 0. The platform's code page 932 also has the single bytes 0x80 (U+0080)
// and, outside the strict form, 0xA0 and 0xFD to 0xFF (U+F8F0 to U+F8F3), which iconv
// has not: they are mapped here both ways.
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

// What the platform gives for a sequence iconv refuses: the bytes to put out and the input
// bytes they stand for, or 0 when the sequence is to fail (strict) or get the default.
struct FALLBACK
{
    unsigned int uCodePage;
    bool bToWide;
    bool bStrict;
};

size_t platformExtra(const FALLBACK& _stWay, const unsigned char* _pIn, size_t _uIn, std::vector<char>* _pOut)
{
    if (_stWay.uCodePage == CODEPAGE_UTF8) return 0;
    static const unsigned char s_aByte[] = {0xA0, 0xFD, 0xFE, 0xFF};
    if (_stWay.bToWide) {
        const unsigned int b = _pIn[0];
        unsigned int uUnit = 0;
        if (b == 0x80) uUnit = 0x80;
        for (unsigned int i = 0; i < 4 && !_stWay.bStrict; ++i)
            if (b == s_aByte[i]) uUnit = 0xF8F0 + i;
        if (!uUnit) return 0;
        _pOut->push_back(static_cast<char>(uUnit & 0xFF));
        _pOut->push_back(static_cast<char>(uUnit >> 8));
        return 1;
    }
    if (_uIn < 2) return 0;
    const unsigned int uUnit = _pIn[0] | (static_cast<unsigned int>(_pIn[1]) << 8);
    if (uUnit == 0x80) {
        _pOut->push_back('\x80');
        return 2;
    }
    if (uUnit >= 0xF8F0 && uUnit <= 0xF8F3) {
        _pOut->push_back(static_cast<char>(s_aByte[uUnit - 0xF8F0]));
        return 2;
    }
    return 0;
}

// Converts _uIn bytes; each sequence iconv refuses gives the platform's extra mapping, or
// fails the whole conversion (strict), or gives _pBad (_uBad bytes) and is passed over by
// _uSkip bytes (the whole rest when it is cut short at the end). False when it failed.
bool convert(iconv_t _cConv, const FALLBACK& _stWay, const char* _pIn, size_t _uIn, size_t _uSkip,
             const char* _pBad, size_t _uBad, std::vector<char>* _pOut)
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
        const bool bCut = errno == EINVAL;
        iconv(_cConv, 0, 0, 0, 0);
        size_t uTaken = bCut ? 0 : platformExtra(_stWay, reinterpret_cast<const unsigned char*>(pIn), _uIn, _pOut);
        if (!uTaken) {
            if (_stWay.bStrict) return false;
            _pOut->insert(_pOut->end(), _pBad, _pBad + _uBad);
            uTaken = bCut ? _uIn : (_uSkip < _uIn ? _uSkip : _uIn);
        }
        pIn += uTaken;
        _uIn -= uTaken;
    }
    char* pOut = aBuf;
    size_t uRoom = sizeof(aBuf);
    iconv(_cConv, 0, 0, &pOut, &uRoom);
    _pOut->insert(_pOut->end(), aBuf, pOut);
    return true;
}

int toWide(unsigned int _uCodePage, bool _bStrict, const char* _pBytes, int _iBytes, wchar_t* _pOut, int _iOutUnits)
{
    if (!_pBytes) return 0;
    const size_t uIn = _iBytes < 0 ? std::strlen(_pBytes) + 1 : static_cast<size_t>(_iBytes);
    if (uIn == 0) return 0;
    iconv_t cConv = converter(_uCodePage, true);
    if (cConv == (iconv_t)-1) return 0;
    static const char s_aBad932[2] = {'\xFB', '\x30'};
    static const char s_aBadUtf8[2] = {'\xFD', '\xFF'};
    std::vector<char> vOut;
    const FALLBACK stWay = {_uCodePage, true, _bStrict};
    if (!convert(cConv, stWay, _pBytes, uIn, 1, _uCodePage == CODEPAGE_UTF8 ? s_aBadUtf8 : s_aBad932, 2, &vOut))
        return 0;
    const int iUnits = static_cast<int>(vOut.size() / 2);
    if (!_pOut) return iUnits;
    if (iUnits > _iOutUnits) return 0;
    std::memcpy(_pOut, vOut.data(), static_cast<size_t>(iUnits) * 2);
    return iUnits;
}

} // namespace

int CODEPAGE_toWide(unsigned int _uCodePage, const char* _pBytes, int _iBytes, wchar_t* _pOut, int _iOutUnits)
{
    return toWide(_uCodePage, false, _pBytes, _iBytes, _pOut, _iOutUnits);
}

int CODEPAGE_toWideStrict(unsigned int _uCodePage, const char* _pBytes, int _iBytes, wchar_t* _pOut,
                          int _iOutUnits)
{
    return toWide(_uCodePage, true, _pBytes, _iBytes, _pOut, _iOutUnits);
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
    const FALLBACK stWay = {_uCodePage, false, false};
    convert(cConv, stWay, reinterpret_cast<const char*>(_pText), uUnits * 2, 2, "?", 1, &vOut);
    const int iBytes = static_cast<int>(vOut.size());
    if (!_pOut) return iBytes;
    if (iBytes > _iOutBytes) return 0;
    std::memcpy(_pOut, vOut.data(), static_cast<size_t>(iBytes));
    return iBytes;
}
