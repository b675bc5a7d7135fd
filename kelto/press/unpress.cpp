// The block decoder. Every count and code read from the stream is checked against the
// tables before it is used, so a damaged stream ends decoding instead of writing outside
// them; the output is bounded by the room given to Begin.
#include "kelto/press/unpress.h"

#include <cstring>

#include "kelto/memory/mem.h"
#include "kelto/tools/debug.h"

CUnPress::CUnPress()
{
    m_pChunk = 0;
    m_pOut = 0;
    m_uOutRoom = 0;
    m_uOutCount = 0;
    m_iState = 0;
    std::memset(m_aLiteralTable, 0, sizeof(m_aLiteralTable));
    std::memset(m_aPosTable, 0, sizeof(m_aPosTable));
    std::memset(m_aLiteralFast, 0, sizeof(m_aLiteralFast));
    std::memset(m_aPosFast, 0, sizeof(m_aPosFast));
    std::memset(m_aLeft, 0, sizeof(m_aLeft));
    std::memset(m_aRight, 0, sizeof(m_aRight));
    std::memset(m_aLiteralLen, 0, sizeof(m_aLiteralLen));
    std::memset(m_aPosLen, 0, sizeof(m_aPosLen));
    std::memset(m_aWindow, 0, sizeof(m_aWindow));
    m_uChunk = 0;
    m_uCopyPos = 0;
    m_uBitBuf = 0;
    m_uBitBufSize = 16;
    m_uBlockLeft = 0;
    m_pWindow = m_aWindow;
    m_pIn = 0;
    m_pStream = 0;
    m_uInPos = 0;
    m_uInSize = 0;
    m_uPastEnd = 0;
    m_iEnd = 0;
    m_uDecoded = 0;
    m_bFailed = false;
    m_bFastValid = false;
    m_uBitsLeft = 0;
    m_uLastByte = 0;
    m_iMatchLeft = 0;
    SetWindowBits(UNPRESS_WINDOW_BITS);
}

void CUnPress::SetWindowBits(uint16_t _uBits)
{
    if (_uBits > UNPRESS_WINDOW_BITS) _uBits = UNPRESS_WINDOW_BITS;
    m_uWindowSize = static_cast<uint16_t>(1u << _uBits);
    m_uNp = static_cast<uint16_t>(_uBits + 1);
    m_uNc = UNPRESS_NC;
}

// The next input byte; past the end a 0, with the end flag set.
int CUnPress::fetchByte()
{
    if (m_pStream) {
        int iByte = std::fgetc(m_pStream);
        if (iByte != EOF) return iByte;
        m_iEnd = 1;
        ++m_uPastEnd;
        return 0;
    }
    if (m_uInPos < m_uInSize) return m_pIn[m_uInPos++];
    m_iEnd = 1;
    ++m_uPastEnd;
    return 0;
}

void CUnPress::ShiftBits(int _iBits)
{
    m_uBitBuf = static_cast<uint16_t>(m_uBitBuf << _iBits);
    while (_iBits > m_uBitsLeft) {
        _iBits -= m_uBitsLeft;
        m_uBitBuf = static_cast<uint16_t>(m_uBitBuf | (m_uLastByte << _iBits));
        m_uLastByte = static_cast<uint16_t>(fetchByte());
        m_uBitsLeft = 8;
    }
    m_uBitsLeft = static_cast<uint16_t>(m_uBitsLeft - _iBits);
    m_uBitBuf = static_cast<uint16_t>(m_uBitBuf | (m_uLastByte >> m_uBitsLeft));
    // The bit buffer runs at most 16 bits (3 fetched bytes) ahead of the last code; more
    // means codes were taken from beyond the input: the stream is cut short.
    if (m_uPastEnd > 3) fail();
}

uint16_t CUnPress::TakeBits(int _iBits)
{
    uint16_t uValue = static_cast<uint16_t>(m_uBitBuf >> (16 - _iBits));
    ShiftBits(_iBits);
    return uValue;
}

void CUnPress::ResetBits()
{
    m_uBitBuf = 0;
    m_uLastByte = 0;
    m_uBitsLeft = 0;
    ShiftBits(16);
}

void CUnPress::ResetBlock()
{
    ResetBits();
    m_uBlockLeft = 0;
}

unsigned char* CUnPress::Init(const void* _pIn, uint32_t _uInSize)
{
    m_pIn = static_cast<const unsigned char*>(_pIn);
    m_pStream = 0;
    m_uInSize = m_pIn ? _uInSize : 0;
    m_uInPos = 0;
    m_uPastEnd = 0;
    m_uBitBufSize = 16;
    SetWindowBits(UNPRESS_WINDOW_BITS);
    m_pWindow = m_aWindow;
    m_iMatchLeft = 0;
    m_iEnd = 0;
    m_uDecoded = 0;
    m_bFailed = false;
    ResetBlock();
    return m_pWindow;
}

unsigned char* CUnPress::InitStream(FILE* _pStream)
{
    unsigned char* pWindow = Init(0, 0);
    m_pStream = _pStream;
    m_iEnd = 0;
    m_uPastEnd = 0;
    ResetBlock();
    return pWindow;
}

bool CUnPress::Begin(const void* _pIn, uint32_t _uInSize, void* _pOut, uint32_t _uOutSize)
{
    m_pChunk = Init(_pIn, _uInSize);
    m_pOut = static_cast<unsigned char*>(_pOut);
    m_uOutRoom = m_pOut ? _uOutSize : 0;
    m_uOutCount = 0;
    m_iState = 1;
    m_uCopyPos = 0;
    return true;
}

void CUnPress::BuildTable(int _iSize, const unsigned char* _pLengths, int _iBits, uint16_t* _pTable)
{
    m_bFastValid = false;
    uint32_t aCount[17] = {0};
    uint32_t aStart[18];
    uint32_t aWeight[17];
    for (int i = 0; i < _iSize; ++i) {
        if (_pLengths[i] > 16) { fail(); return; }
        aCount[_pLengths[i]]++;
    }
    aStart[1] = 0;
    for (int i = 1; i <= 16; ++i) aStart[i + 1] = aStart[i] + (aCount[i] << (16 - i));
    // The lengths must fill the code space exactly; the sum is kept whole so that an
    // over-full set cannot pass by wrapping.
    if (aStart[17] != 0x10000u) { fail(); return; }
    const int iJut = 16 - _iBits;
    for (int i = 1; i <= _iBits; ++i) {
        aStart[i] >>= iJut;
        aWeight[i] = 1u << (_iBits - i);
    }
    for (int i = _iBits + 1; i <= 16; ++i) aWeight[i] = 1u << (16 - i);
    const uint32_t uTableSize = 1u << _iBits;
    for (uint32_t k = aStart[_iBits + 1] >> iJut; k < uTableSize; ++k) _pTable[k] = 0;

    uint32_t uAvail = static_cast<uint32_t>(_iSize);
    for (int iSym = 0; iSym < _iSize; ++iSym) {
        const int iLen = _pLengths[iSym];
        if (iLen == 0) continue;
        const uint32_t uNext = aStart[iLen] + aWeight[iLen];
        if (iLen <= _iBits) {
            for (uint32_t k = aStart[iLen]; k < uNext; ++k) _pTable[k] = static_cast<uint16_t>(iSym);
        } else {
            uint32_t uCode = aStart[iLen];
            uint16_t* pLink = &_pTable[uCode >> iJut];
            for (int i = iLen - _iBits; i > 0; --i) {
                if (*pLink == 0) {
                    if (uAvail >= UNPRESS_NODES) { fail(); return; }
                    m_aLeft[uAvail] = 0;
                    m_aRight[uAvail] = 0;
                    *pLink = static_cast<uint16_t>(uAvail++);
                } else if (*pLink < _iSize) {  // a leaf where a node belongs
                    fail();
                    return;
                }
                pLink = (uCode & (1u << (15 - _iBits))) ? &m_aRight[*pLink] : &m_aLeft[*pLink];
                uCode <<= 1;
            }
            *pLink = static_cast<uint16_t>(iSym);
        }
        aStart[iLen] = uNext;
    }
}

void CUnPress::ReadCodeLengths(int _iSize, int _iWidth, int _iSpecial)
{
    m_bFastValid = false;
    const int iCount = TakeBits(_iWidth);
    if (iCount == 0) {
        const uint16_t uOnly = TakeBits(_iWidth);
        if (uOnly >= _iSize) { fail(); return; }
        std::memset(m_aPosLen, 0, sizeof(m_aPosLen));
        for (int i = 0; i < 256; ++i) m_aPosTable[i] = uOnly;
        return;
    }
    if (iCount > _iSize) { fail(); return; }
    int i = 0;
    while (i < iCount && !m_bFailed) {
        int iLen = m_uBitBuf >> 13;
        if (iLen == 7) {
            for (uint16_t uMask = 1u << 12; uMask & m_uBitBuf; uMask >>= 1) ++iLen;
            if (iLen > 16) { fail(); return; }
        }
        ShiftBits(iLen < 7 ? 3 : iLen - 3);
        m_aPosLen[i++] = static_cast<unsigned char>(iLen);
        if (i == _iSpecial) {
            for (int iZeros = TakeBits(2); iZeros > 0 && i < _iSize; --iZeros) m_aPosLen[i++] = 0;
        }
    }
    while (i < _iSize) m_aPosLen[i++] = 0;
    if (!m_bFailed) BuildTable(_iSize, m_aPosLen, 8, m_aPosTable);
}

void CUnPress::ReadLiteralLengths()
{
    m_bFastValid = false;
    const int iCount = TakeBits(9);
    if (iCount == 0) {
        const uint16_t uOnly = TakeBits(9);
        if (uOnly >= m_uNc) { fail(); return; }
        std::memset(m_aLiteralLen, 0, sizeof(m_aLiteralLen));
        for (int i = 0; i < 4096; ++i) m_aLiteralTable[i] = uOnly;
        return;
    }
    if (iCount > m_uNc) { fail(); return; }
    int i = 0;
    while (i < iCount && !m_bFailed) {
        int iSym = m_aPosTable[m_uBitBuf >> 8];
        for (uint16_t uMask = 0x80; iSym >= UNPRESS_NT; uMask >>= 1) {
            if (!uMask) { fail(); return; }
            iSym = (m_uBitBuf & uMask) ? m_aRight[iSym] : m_aLeft[iSym];
        }
        ShiftBits(m_aPosLen[iSym]);
        if (iSym <= 2) {
            int iZeros = iSym == 0 ? 1 : iSym == 1 ? TakeBits(4) + 3 : TakeBits(9) + 20;
            if (i + iZeros > iCount) { fail(); return; }
            while (iZeros-- > 0) m_aLiteralLen[i++] = 0;
        } else {
            m_aLiteralLen[i++] = static_cast<unsigned char>(iSym - 2);
        }
    }
    while (i < m_uNc) m_aLiteralLen[i++] = 0;
    if (!m_bFailed) BuildTable(m_uNc, m_aLiteralLen, 12, m_aLiteralTable);
}

uint16_t CUnPress::DecodeLiteral()
{
    if (m_uBlockLeft == 0) {
        m_uBlockLeft = TakeBits(16);
        ReadCodeLengths(UNPRESS_NT, 5, 3);
        if (!m_bFailed) ReadLiteralLengths();
        if (!m_bFailed) ReadCodeLengths(m_uNp, 4, -1);
        if (m_bFailed) return 0;
    }
    --m_uBlockLeft;
    uint16_t uSym = m_aLiteralTable[m_uBitBuf >> 4];
    for (uint16_t uMask = 8; uSym >= m_uNc; uMask >>= 1) {
        if (!uMask) { fail(); return 0; }
        uSym = (m_uBitBuf & uMask) ? m_aRight[uSym] : m_aLeft[uSym];
    }
    ShiftBits(m_aLiteralLen[uSym]);
    return uSym;
}

uint16_t CUnPress::DecodeDistance()
{
    uint16_t uSym = m_aPosTable[m_uBitBuf >> 8];
    for (uint16_t uMask = 0x80; uSym >= m_uNp; uMask >>= 1) {
        if (!uMask) { fail(); return 0; }
        uSym = (m_uBitBuf & uMask) ? m_aRight[uSym] : m_aLeft[uSym];
    }
    ShiftBits(m_aPosLen[uSym]);
    if (uSym == 0) return 0;
    return static_cast<uint16_t>((1u << (uSym - 1)) + TakeBits(uSym - 1));
}

uint16_t CUnPress::uncompress(UNPRESS_HANDLER _pHandler)
{
    const uint32_t uMask = m_uWindowSize - 1u;
    uint32_t r = 0;
    if (!m_bFailed) {
        // The rest of a match that the previous call left at the end of the window.
        if (m_iMatchLeft > 0) {
            uint32_t uLeft = static_cast<uint32_t>(m_iMatchLeft);
            if (uLeft > m_uWindowSize) uLeft = m_uWindowSize;
            uint32_t uFrom = m_uCopyPos;
            for (uint32_t i = 0; i < uLeft; ++i) {
                m_pWindow[r++] = m_pWindow[uFrom];
                uFrom = (uFrom + 1) & uMask;
            }
            m_uCopyPos = static_cast<uint16_t>(uFrom);
            m_iMatchLeft = static_cast<int16_t>(m_iMatchLeft - static_cast<int>(uLeft));
        }
        if (r == m_uWindowSize) {
            m_uDecoded += r;
            return static_cast<uint16_t>(r);
        }
        // The stream ends where its last block ends within the final bits of the input.
        // (Stopping at any code followed by zero bits would cut a stream whose last codes
        // are all-zero codes and restart the window in the middle of its history.)
        if (m_uBlockLeft == 0 && m_iEnd) {
            m_uDecoded += r;
            return static_cast<uint16_t>(r);
        }
        // (Bit counts of inputs up to 256 MB fit the memory reader's 32 bits.)
        r = (m_pStream || m_uInSize >= (1u << 28) || m_pWindow != m_aWindow) ? decodeLoop(r) : decodeMemory(r);
    }
    if (m_bFailed) {
        KELTO_ASSERT(0);
        if (_pHandler) _pHandler();
        m_iMatchLeft = 0;
        return 0;
    }
    m_uDecoded += r;
    return static_cast<uint16_t>(r);
}

// Copies _uCount bytes forward, four at a time: right also where the bytes overlap, as long
// as the source is at least four bytes behind the destination (each group is read before it
// is written over). Inline, as a match is mostly a few bytes and a library call costs more.
static inline void unpress_copy(unsigned char* _pTo, const unsigned char* _pFrom, uint32_t _uCount)
{
    while (_uCount >= 4) {
        uint32_t uWord;
        std::memcpy(&uWord, _pFrom, 4);
        std::memcpy(_pTo, &uWord, 4);
        _pTo += 4;
        _pFrom += 4;
        _uCount -= 4;
    }
    switch (_uCount) {
    case 3: _pTo[2] = _pFrom[2]; // fall through
    case 2: _pTo[1] = _pFrom[1]; // fall through
    case 1: _pTo[0] = _pFrom[0]; break;
    default: break;
    }
}

// Copies a match of _uLen bytes from _uDist + 1 bytes back to window position r, as far as the
// window goes; what is left waits in m_iMatchLeft for the next call. The new r.
uint32_t CUnPress::copyMatch(uint32_t r, uint32_t _uDist, uint32_t _uLen)
{
    const uint32_t uMask = m_uWindowSize - 1u;
    uint32_t uFrom = (r - _uDist - 1u) & uMask;
    uint32_t uCount = _uLen;
    if (uCount > m_uWindowSize - r) uCount = m_uWindowSize - r;
    unsigned char* const pWindow = m_pWindow;
    if (uFrom + uCount <= m_uWindowSize) {
        // Forward, byte by byte: a match may overlap the bytes it writes.
        const unsigned char* pFrom = pWindow + uFrom;
        unsigned char* pTo = pWindow + r;
        if (uFrom + uCount <= r || uFrom >= r + uCount) {
            unpress_copy(pTo, pFrom, uCount);
        } else {
            for (uint32_t i = 0; i < uCount; ++i) pTo[i] = pFrom[i];
        }
        uFrom = (uFrom + uCount) & uMask;
    } else {
        for (uint32_t i = 0; i < uCount; ++i) {
            pWindow[r + i] = pWindow[uFrom];
            uFrom = (uFrom + 1) & uMask;
        }
    }
    m_uCopyPos = static_cast<uint16_t>(uFrom);
    m_iMatchLeft = static_cast<int16_t>(_uLen - uCount);
    return r + uCount;
}

// The codes of a byte stream, one call per code.
uint32_t CUnPress::decodeLoop(uint32_t r)
{
    for (;;) {
        const uint16_t uSym = DecodeLiteral();
        if (m_bFailed) break;
        if (uSym < 256) {
            m_pWindow[r++] = static_cast<unsigned char>(uSym);
            if (r == m_uWindowSize) break;
        } else {
            const uint32_t uDist = DecodeDistance();
            if (m_bFailed) break;
            if (uDist + 1u > m_uDecoded + r) {  // before the first byte of the output
                fail();
                break;
            }
            r = copyMatch(r, uDist, uSym - 253u);
            if (r == m_uWindowSize) break;
        }
        if (m_uBlockLeft == 0 && m_iEnd) break;
    }
    return r;
}

// The tables of a block for the memory reader: symbol and code length in one unit, or
// UNPRESS_LONG_CODE where the code is longer than the table's bits (its tree is walked).
void CUnPress::buildFastTables()
{
    m_bFastValid = true;
    for (uint32_t k = 0; k < 4096; ++k) {
        const uint32_t uSym = m_aLiteralTable[k];
        m_aLiteralFast[k] = uSym < m_uNc ? static_cast<uint16_t>(uSym | (m_aLiteralLen[uSym] << 9))
                                         : static_cast<uint16_t>(UNPRESS_LONG_CODE);
    }
    for (uint32_t k = 0; k < 256; ++k) {
        const uint32_t uSym = m_aPosTable[k];
        m_aPosFast[k] = uSym < m_uNp ? static_cast<uint16_t>(uSym | (m_aPosLen[uSym] << 9))
                                     : static_cast<uint16_t>(UNPRESS_LONG_CODE);
    }
}

// The same codes from memory, with the bit reader in locals: a 32-bit reserve of the bits
// ahead. ShiftBits fetches a byte only when its bits are needed, so after C bits (the 16 of
// the bit buffer included) it has fetched ceil(C / 8) bytes, the input's or zeros past its
// end. Here C is 8 times the bytes read into the reserve, less the bits still in it, plus 16:
// the end and the damage checks follow from it at the points where the member reader's are
// looked at, and the members are set from it when the loop hands over to them (a block's
// tables) or ends.
uint32_t CUnPress::decodeMemory(uint32_t r)
{
    const unsigned char* const pIn = m_pIn;
    const uint32_t uInSize = m_uInSize;
    const uint32_t uEndBits = uInSize * 8;        // C past it: a byte was fetched past the end
    const uint32_t uFailBits = uInSize * 8 + 24;  // C past it: more than 3 were
    const unsigned char* const pEnd = pIn + uInSize;
    const unsigned char* pRead = pIn;  // next input byte for the reserve
    uint32_t uZeros = 0;               // zeros read into it past the end
    uint32_t uReserve = 0;  // the bits from the bit buffer's first on, from the top
    uint32_t uReserveBits = 0;
    uint32_t uBlockLeft = 0;
    bool bFailed = false;
    unsigned char* const pWindow = m_aWindow;  // (m_pWindow, as checked by the caller)
    const uint32_t uWindowSize = m_uWindowSize;

    auto refill = [&]() {
        if (uReserveBits > 24) return;
        if (pEnd - pRead >= 4) {
            // The whole bytes that fit, at once; the bits of a byte taken in part are taken
            // again with it next time, at the same place.
            const unsigned char* p = pRead;
            const uint32_t uWord = (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
                                   (static_cast<uint32_t>(p[2]) << 8) | p[3];
            uReserve |= uWord >> uReserveBits;
            const uint32_t uBytes = (32 - uReserveBits) >> 3;
            pRead += uBytes;
            uReserveBits += uBytes * 8;
            return;
        }
        while (uReserveBits <= 24) {
            uint32_t uByte = 0;
            if (pRead < pEnd) uByte = *pRead++;
            else ++uZeros;
            uReserve |= uByte << (24 - uReserveBits);
            uReserveBits += 8;
        }
    };
    auto taken = [&]() { return (static_cast<uint32_t>(pRead - pIn) + uZeros) * 8 - uReserveBits + 16; };
    auto shift = [&](uint32_t _uBits) {
        // At most 16 bits: a code length, or the extra bits of a distance (14 at most).
        uReserve <<= _uBits;
        uReserveBits -= _uBits;
    };
    auto load = [&]() {
        const uint32_t uTaken = (m_uInPos + m_uPastEnd) * 8 - m_uBitsLeft;
        const uint32_t uFrom = (uTaken - 16) / 8;
        pRead = pIn + (uFrom < uInSize ? uFrom : uInSize);
        uZeros = uFrom < uInSize ? 0 : uFrom - uInSize;
        uReserve = 0;
        uReserveBits = 0;
        refill();
        const uint32_t uSkip = (uTaken - 16) % 8;
        uReserve <<= uSkip;
        uReserveBits -= uSkip;
        uBlockLeft = m_uBlockLeft;
        bFailed = m_bFailed;
    };
    auto store = [&]() {
        const uint32_t uTaken = taken();
        const uint32_t uFetched = (uTaken + 7) / 8;
        const uint32_t uInPos = uFetched < uInSize ? uFetched : uInSize;
        m_uInPos = uInPos;
        m_uPastEnd = uFetched - uInPos;
        m_uBitsLeft = static_cast<uint16_t>(uFetched * 8 - uTaken);
        m_uLastByte = static_cast<uint16_t>(uFetched >= 1 && uFetched - 1 < uInSize ? pIn[uFetched - 1] : 0);
        refill();
        m_uBitBuf = static_cast<uint16_t>(uReserve >> 16);
        if (m_uPastEnd) m_iEnd = 1;
        m_uBlockLeft = static_cast<uint16_t>(uBlockLeft);
        if (bFailed) fail();
    };

    load();
    if (uBlockLeft != 0 && !m_bFastValid) buildFastTables();
    for (;;) {
        uint32_t uSym;
        if (uBlockLeft == 0) {
            // A block's tables: read by the members' own reader.
            store();
            uSym = DecodeLiteral();
            load();
            if (bFailed) break;
            buildFastTables();
        } else {
            refill();
            --uBlockLeft;
            const uint32_t uBits = uReserve >> 16;
            uSym = m_aLiteralFast[uBits >> 4];
            if (uSym != UNPRESS_LONG_CODE) {
                shift(uSym >> 9);
                uSym &= 0x1FF;
                // A second literal from the same reserve, where none of the checks between
                // the two can stop: within the input, the block and the window. Its code
                // must lie within the bits in hand (those below are zeros, not the stream's).
                if (uSym < 256 && uBlockLeft != 0 && uZeros == 0 && r + 1 < uWindowSize) {
                    const uint32_t uNext = m_aLiteralFast[uReserve >> 20];
                    if (uNext != UNPRESS_LONG_CODE && (uNext & 0x1FF) < 256 && (uNext >> 9) <= uReserveBits) {
                        pWindow[r++] = static_cast<unsigned char>(uSym);
                        --uBlockLeft;
                        shift(uNext >> 9);
                        uSym = uNext & 0x1FF;
                    }
                }
            } else {
                uSym = m_aLiteralTable[uBits >> 4];
                for (uint32_t uBit = 8; uSym >= m_uNc; uBit >>= 1) {
                    if (!uBit) { bFailed = true; break; }
                    uSym = (uBits & uBit) ? m_aRight[uSym] : m_aLeft[uSym];
                }
                if (bFailed) break;
                shift(m_aLiteralLen[uSym]);
            }
            if (uZeros && taken() > uFailBits) { bFailed = true; break; }
        }
        if (uSym < 256) {
            pWindow[r++] = static_cast<unsigned char>(uSym);
            if (r == uWindowSize) break;
        } else {
            refill();
            uint32_t uBits = uReserve >> 16;
            uint32_t uCode = m_aPosFast[uBits >> 8];
            if (uCode != UNPRESS_LONG_CODE) {
                shift(uCode >> 9);
                uCode &= 0x1FF;
            } else {
                uCode = m_aPosTable[uBits >> 8];
                for (uint32_t uBit = 0x80; uCode >= m_uNp; uBit >>= 1) {
                    if (!uBit) { bFailed = true; break; }
                    uCode = (uBits & uBit) ? m_aRight[uCode] : m_aLeft[uCode];
                }
                if (bFailed) break;
                shift(m_aPosLen[uCode]);
            }
            uint32_t uDist = 0;
            if (uCode != 0) {
                const uint32_t uExtra = uCode - 1;
                refill();
                uBits = uReserve >> 16;
                shift(uExtra);
                uDist = ((1u << uExtra) + (uBits >> (16 - uExtra))) & 0xFFFFu;
            }
            if (uZeros && taken() > uFailBits) { bFailed = true; break; }
            if (uDist + 1u > m_uDecoded + r) {  // before the first byte of the output
                bFailed = true;
                break;
            }
            const uint32_t uLen = uSym - 253u;
            if (uLen <= uWindowSize - r && uDist + 1u <= r && uDist >= 3u) {
                // Wholly inside the window, at least four bytes behind the write position.
                // (Nothing is left over, so m_iMatchLeft stays 0 and m_uCopyPos is not needed.)
                unpress_copy(pWindow + r, pWindow + r - uDist - 1u, uLen);
                r += uLen;
            } else {
                r = copyMatch(r, uDist, uLen);
            }
            if (r == uWindowSize) break;
        }
        if (uBlockLeft == 0 && taken() > uEndBits) break;
    }
    store();
    return r;
}

bool CUnPress::Step()
{
    switch (m_iState) {
    case 1:
        m_uChunk = uncompress(0);
        if (m_uChunk == 0) {
            m_iState = 0;
            return true;
        }
        m_iState = 2;
        return false;
    case 2:
        if (m_uChunk > m_uOutRoom - m_uOutCount) {  // more than the output holds
            fail();
            m_iState = 0;
            return true;
        }
        MEM_copy(m_pOut + m_uOutCount, m_pChunk, m_uChunk);
        m_uOutCount += m_uChunk;
        m_iState = 1;
        return false;
    default:
        return true;
    }
}
