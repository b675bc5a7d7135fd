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
        --m_iMatchLeft;
        while (m_iMatchLeft >= 0) {
            m_pWindow[r++] = m_pWindow[m_uCopyPos];
            m_uCopyPos = static_cast<uint16_t>((m_uCopyPos + 1) & uMask);
            if (r == m_uWindowSize) break;
            --m_iMatchLeft;
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
                m_uCopyPos = static_cast<uint16_t>((r - uDist - 1u) & uMask);
                m_iMatchLeft = static_cast<int16_t>(uSym - 254);
                bool bFull = false;
                while (m_iMatchLeft >= 0) {
                    m_pWindow[r++] = m_pWindow[m_uCopyPos];
                    m_uCopyPos = static_cast<uint16_t>((m_uCopyPos + 1) & uMask);
                    if (r == m_uWindowSize) { bFull = true; break; }
                    --m_iMatchLeft;
                }
                if (bFull) break;
            }
            if (m_uBlockLeft == 0 && m_iEnd) break;
        }
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
