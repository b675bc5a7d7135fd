// UTF-16 <-> system code page / UTF-8 converters and the encoding guess.
#include "kelto/string/moji.h"

#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/string/win32/codepage.h"

// ---- the system code page, byte for byte --------------------------------------
//
// A byte that the code page cannot decode (a lead byte without its trail byte or at the
// end, a pair the code page has no character for, a byte it does not use) becomes the
// lone low surrogate U+DC00 + byte, which no decoded text holds, and goes back to its
// byte when the text is encoded: such bytes come back unchanged and never take the byte
// after them (a line end) with them. Only bytes 0x80 to 0xFF need it (U+DC80 to U+DCFF).

namespace {

const unsigned int MOJI_ESCAPE_BASE = 0xDC00;

// A byte below 0x40 is a whole character in every code page the system has (no trail
// byte is that low): a text that does not decode is cut after one, about every
// MOJI_CHUNK bytes, and only the pieces that hold a bad byte are walked.
const int MOJI_CHUNK = 4096;

bool isHighSurrogate(wchar_t _c)
{
    const unsigned int u = static_cast<unsigned short>(_c);
    return u >= 0xD800 && u <= 0xDBFF;
}

// The escape of a byte at i; a low surrogate after a high one is half of a character.
bool isEscapeAt(const wchar_t* _pText, int _i)
{
    return MOJI_isByteEscape(_pText[_i]) && !(_i > 0 && isHighSurrogate(_pText[_i - 1]));
}

void putUnit(wchar_t* _pOut, int _iAt, unsigned int _uUnit)
{
    if (_pOut) _pOut[_iAt] = static_cast<wchar_t>(_uUnit);
}

// One piece that does not decode as a whole, character by character.
int decodeWalk(const unsigned char* _pBytes, int _iN, wchar_t* _pOut)
{
    const char* p = reinterpret_cast<const char*>(_pBytes);
    int iUnits = 0;
    for (int i = 0; i < _iN;) {
        const unsigned int b = _pBytes[i];
        if (b < 0x80) {
            putUnit(_pOut, iUnits++, b);
            ++i;
            continue;
        }
        wchar_t aUnit[2];
        if (CODEPAGE_toWideStrict(CODEPAGE_ANSI, p + i, 1, aUnit, 2) == 1) {
            putUnit(_pOut, iUnits++, static_cast<unsigned short>(aUnit[0]));
            ++i;
        } else if (i + 1 < _iN && CODEPAGE_toWideStrict(CODEPAGE_ANSI, p + i, 2, aUnit, 2) == 1) {
            putUnit(_pOut, iUnits++, static_cast<unsigned short>(aUnit[0]));
            i += 2;
        } else {
            putUnit(_pOut, iUnits++, MOJI_ESCAPE_BASE + b);
            ++i;
        }
    }
    return iUnits;
}

// Units of n bytes of the system code page, written to out unless it is null (it holds
// what the counting call gave).
int decodeAnsi(const char* _pBytes, int _iN, wchar_t* _pOut)
{
    if (!_pBytes || _iN <= 0) return 0;
    // A text that decodes whole takes one call. No byte gives more than one unit, and the
    // system writes only the units it converts, so n is room enough for the output, which
    // holds what the counting call gave.
    const int iWhole = CODEPAGE_toWideStrict(CODEPAGE_ANSI, _pBytes, _iN, _pOut, _pOut ? _iN : 0);
    if (iWhole > 0) return iWhole;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(_pBytes);
    int iUnits = 0;
    for (int iStart = 0; iStart < _iN;) {
        int iEnd = _iN - iStart > MOJI_CHUNK ? iStart + MOJI_CHUNK : _iN;
        while (iEnd < _iN && p[iEnd - 1] >= 0x40) ++iEnd;
        wchar_t* pAt = _pOut ? _pOut + iUnits : 0;
        const int iPiece = CODEPAGE_toWideStrict(CODEPAGE_ANSI, _pBytes + iStart, iEnd - iStart, pAt,
                                                 pAt ? iEnd - iStart : 0);
        iUnits += iPiece > 0 ? iPiece : decodeWalk(p + iStart, iEnd - iStart, pAt);
        iStart = iEnd;
    }
    return iUnits;
}

// Bytes of n units in the system code page, written to out unless it is null (it holds
// what the counting call gave).
int encodeAnsi(const wchar_t* _pText, int _iN, char* _pOut)
{
    if (!_pText || _iN <= 0) return 0;
    // The usual text holds no escape: one quick look over it, then one call.
    int iFirst = 0;
    for (;; ++iFirst) {
        while (iFirst < _iN && static_cast<unsigned short>(_pText[iFirst] - 0xDC80) > 0x7F) ++iFirst;
        if (iFirst == _iN || isEscapeAt(_pText, iFirst)) break;
    }
    if (iFirst == _iN) {
        const int iBytes = CODEPAGE_toBytes(CODEPAGE_ANSI, _pText, _iN, 0, 0);
        if (iBytes <= 0 || !_pOut) return iBytes;
        return CODEPAGE_toBytes(CODEPAGE_ANSI, _pText, _iN, _pOut, iBytes);
    }
    int iBytes = 0;
    for (int i = 0; i < _iN;) {
        if (isEscapeAt(_pText, i)) {
            if (_pOut) _pOut[iBytes] = static_cast<char>(static_cast<unsigned short>(_pText[i]) - MOJI_ESCAPE_BASE);
            ++iBytes;
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < _iN && !isEscapeAt(_pText, j)) ++j;
        const int iRun = CODEPAGE_toBytes(CODEPAGE_ANSI, _pText + i, j - i, 0, 0);
        if (iRun > 0 && _pOut) CODEPAGE_toBytes(CODEPAGE_ANSI, _pText + i, j - i, _pOut + iBytes, iRun);
        if (iRun > 0) iBytes += iRun;
        i = j;
    }
    return iBytes;
}

} // namespace

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
    int iUnits = 0;
    if (_pText)
        while (_pText[iUnits]) ++iUnits;
    const int iBytes = _pText ? encodeAnsi(_pText, iUnits + 1, 0) : 0;
    if (iBytes <= 0) {
        m_pText = KELTO_NEW("CTOSJIS::From") char[1];
        if (m_pText) m_pText[0] = 0;
        return m_pText;
    }
    m_pText = KELTO_NEW("CTOSJIS::From") char[iBytes];
    if (!m_pText) return 0;
    if (encodeAnsi(_pText, iUnits + 1, m_pText) <= 0) m_pText[0] = 0;
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
    int iBytes = 0;
    if (_pText)
        while (_pText[iBytes]) ++iBytes;
    const int iUnits = _pText ? decodeAnsi(_pText, iBytes + 1, 0) : 0;
    const int iAlloc = iUnits > 0 ? iUnits + 1 : 1;
    m_pText = KELTO_NEW("CTOUTF16::From") wchar_t[iAlloc];
    if (!m_pText) return 0;
    m_pText[0] = 0;
    if (iUnits > 0) {
        if (decodeAnsi(_pText, iBytes + 1, m_pText) <= 0) m_pText[0] = 0;
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
    const int iUnits = _uCodePage == CODEPAGE_ANSI ? decodeAnsi(_pBytes, _iN, 0)
                                                   : CODEPAGE_toWide(_uCodePage, _pBytes, _iN, 0, 0);
    return iUnits + (_iBom ? 1 : 0);
}

int toWide(unsigned int _uCodePage, int _iBom, const char* _pBytes, int _iN, wchar_t* _pOut)
{
    if (!_pBytes || !_pOut || _iN <= 0) return 0;
    int iPos = 0;
    if (_iBom) _pOut[iPos++] = BOM_UNIT;
    if (_uCodePage == CODEPAGE_ANSI) return iPos + decodeAnsi(_pBytes, _iN, _pOut + iPos);
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
    if (_uCodePage == CODEPAGE_ANSI) return encodeAnsi(_pText, _iN, 0);
    return CODEPAGE_toBytes(_uCodePage, _pText, _iN, 0, 0);
}

int toBytes(unsigned int _uCodePage, const wchar_t* _pText, int _iN, char* _pOut)
{
    if (!_pText || !_pOut || _iN <= 0) return 0;
    skipBom(_pText, _iN);
    if (_iN <= 0) return 0;
    if (_uCodePage == CODEPAGE_ANSI) return encodeAnsi(_pText, _iN, _pOut);
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
