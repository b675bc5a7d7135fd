// UTF-16 <-> system code page / UTF-8 converters and the encoding guess.
#include "kelto/string/moji.h"

#include "kelto/memory/mem.h"
#include "kelto/string/win32/codepage.h"

// ---- CTOSJIS ---------------------------------------------------------------

CTOSJIS::CTOSJIS() : m_pText(0) {}

CTOSJIS::CTOSJIS(const wchar_t* _pText) : m_pText(0)
{
    if (_pText) From(_pText);
}

CTOSJIS::~CTOSJIS()
{
    delete[] m_pText;
}

char* CTOSJIS::From(const wchar_t* _pText)
{
    delete[] m_pText;
    m_pText = 0;
    const int iBytes = CODEPAGE_toBytes(CODEPAGE_ANSI, _pText, -1, 0, 0);
    if (iBytes <= 0) {
        m_pText = KELTO_NEW("CTOSJIS::From") char[1];
        if (m_pText) m_pText[0] = 0;
        return m_pText;
    }
    m_pText = KELTO_NEW("CTOSJIS::From") char[iBytes];
    if (!m_pText) return 0;
    if (CODEPAGE_toBytes(CODEPAGE_ANSI, _pText, -1, m_pText, iBytes) <= 0) m_pText[0] = 0;
    m_pText[iBytes - 1] = 0;
    return m_pText;
}

// ---- CTOUTF16 --------------------------------------------------------------

CTOUTF16::CTOUTF16() : m_pText(0) {}

CTOUTF16::CTOUTF16(const char* _pText) : m_pText(0)
{
    if (_pText) From(_pText);
}

CTOUTF16::~CTOUTF16()
{
    delete[] m_pText;
}

wchar_t* CTOUTF16::From(const char* _pText)
{
    delete[] m_pText;
    m_pText = 0;
    const int iUnits = CODEPAGE_toWide(CODEPAGE_ANSI, _pText, -1, 0, 0);
    const int iAlloc = iUnits > 0 ? iUnits + 1 : 1;
    m_pText = KELTO_NEW("CTOUTF16::From") wchar_t[iAlloc];
    if (!m_pText) return 0;
    m_pText[0] = 0;
    if (iUnits > 0) {
        if (CODEPAGE_toWide(CODEPAGE_ANSI, _pText, -1, m_pText, iUnits) <= 0) m_pText[0] = 0;
        m_pText[iUnits] = 0;
    }
    return m_pText;
}

// ---- CMOJIUTIL: conversions ------------------------------------------------

namespace {

const wchar_t BOM_UNIT = 0xFEFF;

int toWideSize(unsigned int _uCodePage, int _iBom, const char* _pBytes, int _iN)
{
    if (!_pBytes || _iN <= 0) return 0;
    return CODEPAGE_toWide(_uCodePage, _pBytes, _iN, 0, 0) + (_iBom ? 1 : 0);
}

int toWide(unsigned int _uCodePage, int _iBom, const char* _pBytes, int _iN, wchar_t* _pOut)
{
    if (!_pBytes || !_pOut || _iN <= 0) return 0;
    int iPos = 0;
    if (_iBom) _pOut[iPos++] = BOM_UNIT;
    const int iUnits = CODEPAGE_toWide(_uCodePage, _pBytes, _iN, 0, 0);
    if (iUnits > 0) iPos += CODEPAGE_toWide(_uCodePage, _pBytes, _iN, _pOut + iPos, iUnits);
    return iPos;
}

// A leading U+FEFF is a mark, not text: it is neither converted nor counted.
void skipBom(const wchar_t*& _pText, int& _iN)
{
    if (_iN > 0 && _pText[0] == BOM_UNIT) {
        ++_pText;
        --_iN;
    }
}

int toBytesSize(unsigned int _uCodePage, const wchar_t* _pText, int _iN)
{
    if (!_pText || _iN <= 0) return 0;
    skipBom(_pText, _iN);
    if (_iN <= 0) return 0;
    return CODEPAGE_toBytes(_uCodePage, _pText, _iN, 0, 0);
}

int toBytes(unsigned int _uCodePage, const wchar_t* _pText, int _iN, char* _pOut)
{
    if (!_pText || !_pOut || _iN <= 0) return 0;
    skipBom(_pText, _iN);
    if (_iN <= 0) return 0;
    const int iBytes = CODEPAGE_toBytes(_uCodePage, _pText, _iN, 0, 0);
    if (iBytes <= 0) return 0;
    return CODEPAGE_toBytes(_uCodePage, _pText, _iN, _pOut, iBytes);
}

} // namespace

CMOJIUTIL::CMOJIUTIL() : m_iBom(0) {}

int CMOJIUTIL::MbToWcSize(const char* _pBytes, int _iN)
{
    return toWideSize(CODEPAGE_ANSI, m_iBom, _pBytes, _iN);
}

int CMOJIUTIL::MbToWc(const char* _pBytes, int _iN, wchar_t* _pOut)
{
    return toWide(CODEPAGE_ANSI, m_iBom, _pBytes, _iN, _pOut);
}

int CMOJIUTIL::WcToMbSize(const wchar_t* _pText, int _iN)
{
    return toBytesSize(CODEPAGE_ANSI, _pText, _iN);
}

int CMOJIUTIL::WcToMb(const wchar_t* _pText, int _iN, char* _pOut)
{
    return toBytes(CODEPAGE_ANSI, _pText, _iN, _pOut);
}

int CMOJIUTIL::Utf8ToWcSize(const char* _pBytes, int _iN)
{
    return toWideSize(CODEPAGE_UTF8, m_iBom, _pBytes, _iN);
}

int CMOJIUTIL::Utf8ToWc(const char* _pBytes, int _iN, wchar_t* _pOut)
{
    return toWide(CODEPAGE_UTF8, m_iBom, _pBytes, _iN, _pOut);
}

int CMOJIUTIL::WcToUtf8Size(const wchar_t* _pText, int _iN)
{
    return toBytesSize(CODEPAGE_UTF8, _pText, _iN);
}

int CMOJIUTIL::WcToUtf8(const wchar_t* _pText, int _iN, char* _pOut)
{
    return toBytes(CODEPAGE_UTF8, _pText, _iN, _pOut);
}

int CMOJIUTIL::SwapByte(wchar_t* _pUnits, int _iN)
{
    if (!_pUnits || _iN <= 0) return 0;
    for (int i = 0; i < _iN; ++i) {
        const unsigned int u = static_cast<unsigned short>(_pUnits[i]);
        _pUnits[i] = static_cast<wchar_t>(((u & 0xFFu) << 8) | (u >> 8));
    }
    return _iN;
}

// ---- CMOJIUTIL: scans ------------------------------------------------------

namespace {

bool isPlainByte(unsigned int _b)
{
    return (_b >= 7 && _b <= 13) || (_b >= 32 && _b <= 126);
}

bool isSjisLead(unsigned int _b)
{
    return (_b >= 0x81 && _b <= 0x9F) || (_b >= 0xE0 && _b <= 0xEF);
}

bool isSjisTrail(unsigned int _b)
{
    return (_b >= 0x40 && _b <= 0x7E) || (_b >= 0x80 && _b <= 0xFC);
}

} // namespace

int CMOJIUTIL::SjisCharSize(const void* _pBytes)
{
    return SjisCharSize(_pBytes, 2);
}

int CMOJIUTIL::SjisCharSize(const void* _pBytes, int _iAvail)
{
    if (!_pBytes || _iAvail < 1) return -1;
    const unsigned char* p = static_cast<const unsigned char*>(_pBytes);
    const unsigned int b = p[0];
    if (b == 0) return 0;
    if (isPlainByte(b)) return 1;
    // The second byte is looked at only when it lies inside what the caller gave.
    if (isSjisLead(b) && _iAvail >= 2 && isSjisTrail(p[1])) return 2;
    if (b >= 0xA1 && b <= 0xDF) return 1;
    return -1;
}

int CMOJIUTIL::SjisLength(const void* _pBytes, int _iN)
{
    if (!_pBytes || _iN < 0) return -1;
    const unsigned char* p = static_cast<const unsigned char*>(_pBytes);
    int iCount = 0;
    for (int iPos = 0; iPos < _iN; ++iCount) {
        const int iSize = SjisCharSize(p + iPos, _iN - iPos);
        if (iSize < 1) return -1;
        iPos += iSize;
    }
    return iCount;
}

int CMOJIUTIL::Utf8CharSize(const void* _pBytes)
{
    if (!_pBytes) return -1;
    const unsigned int b = *static_cast<const unsigned char*>(_pBytes);
    if (b == 0) return 0;
    if (isPlainByte(b)) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return -1;
}

int CMOJIUTIL::Utf8Length(const void* _pBytes, int _iN)
{
    if (!_pBytes || _iN < 0) return -1;
    const unsigned char* p = static_cast<const unsigned char*>(_pBytes);
    int iCount = 0;
    // Only first bytes are read, so a character may end beyond n without a read past it.
    for (int iPos = 0; iPos < _iN; ++iCount) {
        const int iSize = Utf8CharSize(p + iPos);
        if (iSize < 1) return -1;
        iPos += iSize;
    }
    return iCount;
}

int CMOJIUTIL::ScanJisEuc(const void* _pBytes, int _iN)
{
    if (!_pBytes) return -1;
    enum { NONE, ESCAPE, DOLLAR, PAREN } eState = NONE;
    const unsigned char* p = static_cast<const unsigned char*>(_pBytes);
    int iResult = 0;
    for (int i = 0; i < _iN; ++i) {
        const unsigned int b = p[i];
        switch (eState) {
        case ESCAPE:
            eState = (b == '$') ? DOLLAR : (b == '(') ? PAREN : NONE;
            continue;
        case DOLLAR:
            if (b == 0x40 || b == 'B') return 1;
            eState = NONE;
            continue;
        case PAREN:
            if (b == 'B' || b == 'I' || b == 'J') return 1;
            eState = NONE;
            continue;
        case NONE:
            break;
        }
        if (isPlainByte(b)) continue;
        if (b == 27) {
            eState = ESCAPE;
            iResult = 4;
            continue;
        }
        if (b < 32 || b == 127 || b == 255) return -1; // 7 to 13 and ESC were taken above
        if ((b >= 0x80 && b <= 0x8D) || (b >= 0x90 && b <= 0xA0)) return 2;
        if (b == 0xFE) return 3;
        iResult = 4;
    }
    return iResult;
}

namespace {

// Reads the bytes as UTF-16 units, converts them to the system code page and tells
// whether the first n / 2 bytes of that text are n / 2 valid Shift-JIS characters.
bool looksLikeUtf16(CMOJIUTIL& _cUtil, const unsigned char* _pBytes, int _iN, bool _bBigEndian)
{
    const int iUnits = _iN / 2;
    if (iUnits <= 0) return false;
    wchar_t* pUnits = KELTO_NEW("CMOJIUTIL::CheckCodeType") wchar_t[iUnits];
    if (!pUnits) return false;
    for (int i = 0; i < iUnits; ++i) {
        const unsigned int uLow = _pBytes[2 * i + (_bBigEndian ? 1 : 0)];
        const unsigned int uHigh = _pBytes[2 * i + (_bBigEndian ? 0 : 1)];
        pUnits[i] = static_cast<wchar_t>(uLow + 256u * uHigh);
    }
    bool bResult = false;
    const int iBytes = _cUtil.WcToMbSize(pUnits, iUnits);
    // Room for at least n / 2 bytes, zero-filled, so the length check stays inside the block.
    const int iAlloc = (iBytes > iUnits ? iBytes : iUnits) + 1;
    char* pText = KELTO_NEW("CMOJIUTIL::CheckCodeType") char[iAlloc];
    if (pText) {
        for (int i = 0; i < iAlloc; ++i) pText[i] = 0;
        _cUtil.WcToMb(pUnits, iUnits, pText);
        // Characters that start in the first n / 2 bytes; the last one may end beyond them
        // (a double-byte character converted from a unit), but never beyond the block.
        int iCount = 0;
        for (int iPos = 0; iPos < iUnits; ++iCount) {
            const int iSize = _cUtil.SjisCharSize(pText + iPos, iAlloc - iPos);
            if (iSize < 1) {
                iCount = -1;
                break;
            }
            iPos += iSize;
        }
        bResult = iCount == iUnits;
        delete[] pText;
    }
    delete[] pUnits;
    return bResult;
}

} // namespace

int CMOJIUTIL::CheckCodeType(const void* _pBytes, int _iN)
{
    if (!_pBytes || _iN <= 0) return MOJI_CODE_UNKNOWN;
    const unsigned char* p = static_cast<const unsigned char*>(_pBytes);
    if (_iN >= 2) {
        if (p[0] == 0xFF && p[1] == 0xFE) return MOJI_CODE_UTF16LE;
        if (p[0] == 0xFE && p[1] == 0xFF) return MOJI_CODE_UTF16BE;
    }
    switch (ScanJisEuc(p, _iN)) {
    case 0: return MOJI_CODE_ASCII;
    case 1: return MOJI_CODE_JIS;
    case 3: return MOJI_CODE_EUC;
    default: break;
    }
    if (Utf8Length(p, _iN) != -1) return MOJI_CODE_UTF8;
    if (SjisLength(p, _iN) != -1) return MOJI_CODE_SJIS;
    if (looksLikeUtf16(*this, p, _iN, false)) return MOJI_CODE_UTF16LE;
    if (looksLikeUtf16(*this, p, _iN, true)) return MOJI_CODE_UTF16BE;
    return MOJI_CODE_UNKNOWN;
}
