// The stream encoder: greedy matching with a one-step lazy look over hash chains,
// codes gathered in a buffer and sent as blocks of static Huffman codes.
#include "kelto/press/press_encoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "kelto/memory/mem.h"
#include "kelto/press/press.h"
#include "kelto/string/moji.h"

namespace {

const uint32_t kNc = 510;
const uint32_t kNt = 19;
const uint32_t kMaxMatch = 256;
const uint32_t kMinMatch = 3;
const uint32_t kHashSize = 1u << 15;
const uint32_t kNone = 0xFFFFFFFFu;
const uint32_t kChainDepth = 256;
const uint32_t kBufferSizes[] = {16384, 14742, 13266, 11934, 10737, 9657, 8685, 7812,
                                 7029, 6318, 5679, 5103, 4590, 4131};

uint32_t hash3(const unsigned char* _p)
{
    return ((uint32_t(_p[0]) << 10) ^ (uint32_t(_p[1]) << 5) ^ _p[2]) & (kHashSize - 1);
}

int bitLength(uint32_t _u)
{
    int n = 0;
    while (_u) { ++n; _u >>= 1; }
    return n;
}

} // namespace

CPressEncoder::CPressEncoder()
    : m_pStream(0), m_pMem(0), m_uRoom(0), m_bOverflow(false), m_uOutCount(0), m_uBitAcc(0),
      m_iBitCount(0), m_uVerbose(0), m_uBits(0), m_uDict(0), m_uNp(0), m_pText(0), m_pHead(0),
      m_pPrev(0), m_uBase(0), m_uFill(0), m_uPos(0), m_uInCount(0), m_uSinceDot(0),
      m_bStarted(false), m_bPending(false), m_pBuf(0), m_uBufSize(0), m_uBufPos(0),
      m_uFlagPos(0), m_uFlagBit(0), m_uCodes(0), m_pCFreq(0), m_pCCode(0), m_pCLen(0)
{
    m_cPending.uLen = m_cPending.uDist = 0;
}

CPressEncoder::~CPressEncoder() { free(); }

void CPressEncoder::free()
{
    MEM_free(&m_pText);
    MEM_free(&m_pHead);
    MEM_free(&m_pPrev);
    MEM_free(&m_pBuf);
    MEM_free(&m_pCFreq);
    MEM_free(&m_pCCode);
    MEM_free(&m_pCLen);
}

int CPressEncoder::Start(FILE* _pStream, unsigned char* _pMem, uint32_t _uRoom, uint16_t _uBits,
                         uint16_t _uVerbose)
{
    free();
    if ((!_pStream && !_pMem) || _uBits < PRESS_MIN_BITS || _uBits > PRESS_MAX_BITS) return 0;
    m_uBits = _uBits;
    m_uDict = 1u << _uBits;
    m_uNp = _uBits + 1u;
    const uint32_t uTextSize = 2 * m_uDict + kMaxMatch;
    m_pCLen = KELTO_NEW("PRESS_Alloc") unsigned char[kNc];
    m_pCFreq = KELTO_NEW("PRESS_AllocFreq") uint16_t[kNc];
    m_pCCode = KELTO_NEW("PRESS_AllocFreq") uint16_t[kNc];
    m_pText = KELTO_NEW("PRESS_AllocTree") unsigned char[uTextSize];
    m_pHead = KELTO_NEW("PRESS_AllocTree") uint32_t[kHashSize];
    m_pPrev = KELTO_NEW("PRESS_AllocTree") uint32_t[m_uDict];
    m_uBufSize = 0;
    for (uint32_t uSize : kBufferSizes) {
        m_pBuf = KELTO_NEW("PRESS_AllocBuffer") unsigned char[uSize];
        if (m_pBuf) { m_uBufSize = uSize; break; }
    }
    if (_uVerbose) {
        const unsigned long a = kNc + sizeof(m_aPtLen);
        const unsigned long b = 2 * kNc * 2 + sizeof(m_aPFreq) + sizeof(m_aPtCode) + sizeof(m_aTFreq);
        const unsigned long c = uTextSize + kHashSize * 4 + m_uDict * 4;
        const unsigned long d = m_uBufSize;
        CTOSJIS cLine(L"使用メモリ:");
        CTOSJIS cUnit(L"バイト");
        std::printf("%s%lu+%lu+%lu+%lu=%lu%s\n", cLine.Get(), a, b, c, d, a + b + c + d, cUnit.Get());
        std::fflush(stdout);
    }
    if (!m_pCLen || !m_pCFreq || !m_pCCode || !m_pText || !m_pHead || !m_pPrev || !m_pBuf) {
        free();
        return 0;
    }
    m_pStream = _pStream;
    m_pMem = _pStream ? 0 : _pMem;
    m_uRoom = _uRoom;
    m_bOverflow = false;
    m_uOutCount = 0;
    m_uBitAcc = 0;
    m_iBitCount = 0;
    m_uVerbose = _uVerbose;
    for (uint32_t i = 0; i < kHashSize; ++i) m_pHead[i] = kNone;
    for (uint32_t i = 0; i < m_uDict; ++i) m_pPrev[i] = kNone;
    m_uBase = m_uFill = m_uPos = 0;
    m_uInCount = 0;
    m_uSinceDot = 0;
    m_bStarted = false;
    m_bPending = false;
    std::memset(m_pCFreq, 0, kNc * sizeof(uint16_t));
    std::memset(m_aPFreq, 0, sizeof(m_aPFreq));
    m_pBuf[0] = 0;
    m_uBufPos = 0;
    m_uFlagPos = 0;
    m_uFlagBit = 0;
    m_uCodes = 0;
    return 1;
}

void CPressEncoder::dot()
{
    if (m_uVerbose == 2) {
        std::fputc('.', stderr);
        std::fflush(stderr);
    }
}

void CPressEncoder::Put(unsigned char _uByte)
{
    if (!m_pText) return;
    m_pText[m_uFill++] = _uByte;
    ++m_uInCount;
    ++m_uSinceDot;
    if (!m_bStarted && m_uFill == m_uDict + kMaxMatch) {
        m_bStarted = true;
        m_uSinceDot = 0;
        dot();
    } else if (m_bStarted && m_uSinceDot == m_uDict) {
        m_uSinceDot = 0;
        dot();
    }
    if (m_uFill == 2 * m_uDict + kMaxMatch) {
        encode(false);
        slide();
    }
}

uint32_t CPressEncoder::Finish(uint32_t* _pInCount)
{
    if (!m_pText) {
        if (_pInCount) *_pInCount = 0;
        return 0;
    }
    uint32_t uOut = 0;
    if (m_uInCount > 0) {
        if (!m_bStarted || m_uSinceDot > 0) dot();
        encode(true);
        sendBlock();
        putBits(7, 0);
        uOut = m_bOverflow ? 0 : m_uOutCount;
    }
    if (_pInCount) *_pInCount = m_uInCount;
    free();
    return uOut;
}

void CPressEncoder::slide()
{
    // Keep the last dictionary's worth of text and the look-ahead; hash chains hold
    // absolute positions, so they stay valid.
    std::memmove(m_pText, m_pText + m_uDict, m_uFill - m_uDict);
    m_uFill -= m_uDict;
    m_uBase += m_uDict;
}

void CPressEncoder::insert(uint32_t _uPos)
{
    const uint32_t uRel = _uPos - m_uBase;
    if (uRel + kMinMatch > m_uFill) return;
    const uint32_t h = hash3(m_pText + uRel);
    m_pPrev[_uPos & (m_uDict - 1)] = m_pHead[h];
    m_pHead[h] = _uPos;
}

CPressEncoder::Match CPressEncoder::find(uint32_t _uPos) const
{
    Match cBest = {0, 0};
    const uint32_t uRel = _uPos - m_uBase;
    const uint32_t uAvail = m_uFill - uRel;
    if (uAvail < kMinMatch) return cBest;
    const uint32_t uMax = std::min(uAvail, kMaxMatch);
    const unsigned char* pCur = m_pText + uRel;
    uint32_t uCand = m_pHead[hash3(pCur)];
    for (uint32_t uDepth = 0; uDepth < kChainDepth && uCand != kNone; ++uDepth) {
        if (uCand >= _uPos || _uPos - uCand > m_uDict || uCand < m_uBase) break;
        const unsigned char* pOld = m_pText + (uCand - m_uBase);
        if (pOld[cBest.uLen] == pCur[cBest.uLen]) {
            uint32_t uLen = 0;
            while (uLen < uMax && pOld[uLen] == pCur[uLen]) ++uLen;
            if (uLen > cBest.uLen) {
                cBest.uLen = uLen;
                cBest.uDist = _uPos - uCand;
                if (uLen == uMax) break;
            }
        }
        const uint32_t uNext = m_pPrev[uCand & (m_uDict - 1)];
        if (uNext == kNone || uNext >= uCand) break;
        uCand = uNext;
    }
    if (cBest.uLen < kMinMatch) cBest.uLen = 0;
    return cBest;
}

void CPressEncoder::encode(bool _bFinal)
{
    // Unless finishing, code only while a whole longest match and the lazy look's extra
    // byte are in the window.
    for (;;) {
        const uint32_t uAvail = m_uBase + m_uFill - m_uPos;
        if (uAvail == 0 || (!_bFinal && uAvail < kMaxMatch + 2)) break;
        Match cCur;
        if (m_bPending) {
            cCur = m_cPending;
            m_bPending = false;
        } else {
            cCur = find(m_uPos);
            insert(m_uPos);
        }
        if (cCur.uLen < kMinMatch) {
            outLiteral(m_pText[m_uPos - m_uBase]);
            ++m_uPos;
            continue;
        }
        uint32_t uInserted = 1;
        if (cCur.uLen < kMaxMatch && uAvail > 1) {
            Match cNext = find(m_uPos + 1);
            insert(m_uPos + 1);
            uInserted = 2;
            if (cNext.uLen > cCur.uLen) {
                outLiteral(m_pText[m_uPos - m_uBase]);
                ++m_uPos;
                m_cPending = cNext;
                m_bPending = true;
                continue;
            }
        }
        outMatch(cCur.uLen, cCur.uDist);
        for (uint32_t i = uInserted; i < cCur.uLen; ++i) insert(m_uPos + i);
        m_uPos += cCur.uLen;
    }
}

void CPressEncoder::outLiteral(unsigned char _uByte)
{
    m_uFlagBit >>= 1;
    if (m_uFlagBit == 0) {
        if (m_uBufPos + 24 >= m_uBufSize) sendBlock();
        m_uFlagBit = 0x80;
        m_uFlagPos = m_uBufPos++;
        m_pBuf[m_uFlagPos] = 0;
    }
    m_pBuf[m_uBufPos++] = _uByte;
    m_pCFreq[_uByte]++;
    ++m_uCodes;
}

void CPressEncoder::outMatch(uint32_t _uLen, uint32_t _uDist)
{
    outLiteral(static_cast<unsigned char>(_uLen - kMinMatch));
    m_pCFreq[_uLen - kMinMatch]--;
    m_pCFreq[_uLen - kMinMatch + 256]++;
    m_pBuf[m_uFlagPos] = static_cast<unsigned char>(m_pBuf[m_uFlagPos] | m_uFlagBit);
    const uint32_t p = _uDist - 1;
    m_pBuf[m_uBufPos++] = static_cast<unsigned char>(p >> 8);
    m_pBuf[m_uBufPos++] = static_cast<unsigned char>(p);
    m_aPFreq[bitLength(p)]++;
}

void CPressEncoder::putByte(unsigned char _uByte)
{
    if (m_pStream) {
        std::fputc(_uByte, m_pStream);
    } else if (m_uOutCount < m_uRoom) {
        m_pMem[m_uOutCount] = _uByte;
    } else {
        m_bOverflow = true;
    }
    ++m_uOutCount;
}

void CPressEncoder::putBits(int _iBits, uint32_t _uValue)
{
    for (int i = _iBits - 1; i >= 0; --i) {
        m_uBitAcc = (m_uBitAcc << 1) | ((_uValue >> i) & 1u);
        if (++m_iBitCount == 8) {
            putByte(static_cast<unsigned char>(m_uBitAcc));
            m_uBitAcc = 0;
            m_iBitCount = 0;
        }
    }
}

// Huffman code lengths of at most 16 bits and canonical codes; the root symbol when fewer
// than two symbols occur (its length stays 0), else _iSize.
int CPressEncoder::makeTree(int _iSize, const uint16_t* _pFreq, unsigned char* _pLen, uint16_t* _pCode)
{
    std::memset(_pLen, 0, _iSize);
    std::memset(_pCode, 0, _iSize * sizeof(uint16_t));
    std::vector<int> vSyms;
    for (int i = 0; i < _iSize; ++i)
        if (_pFreq[i]) vSyms.push_back(i);
    if (vSyms.size() < 2) return vSyms.empty() ? 0 : vSyms[0];

    // Tree by repeated joining of the two least frequent; nodes past the leaves.
    const int n = static_cast<int>(vSyms.size());
    std::vector<uint32_t> vFreq(2 * n);
    std::vector<int> vParent(2 * n, -1);
    typedef std::pair<uint32_t, int> Entry;
    std::vector<Entry> vHeap;
    for (int i = 0; i < n; ++i) {
        vFreq[i] = _pFreq[vSyms[i]];
        vHeap.push_back(Entry(vFreq[i], i));
    }
    std::greater<Entry> cmp;
    std::make_heap(vHeap.begin(), vHeap.end(), cmp);
    int iNext = n;
    while (vHeap.size() > 1) {
        std::pop_heap(vHeap.begin(), vHeap.end(), cmp);
        Entry a = vHeap.back();
        vHeap.pop_back();
        std::pop_heap(vHeap.begin(), vHeap.end(), cmp);
        Entry b = vHeap.back();
        vHeap.pop_back();
        vFreq[iNext] = a.first + b.first;
        vParent[a.second] = vParent[b.second] = iNext;
        vHeap.push_back(Entry(vFreq[iNext], iNext));
        std::push_heap(vHeap.begin(), vHeap.end(), cmp);
        ++iNext;
    }
    uint32_t aCount[17] = {0};
    std::vector<int> vDepth(n);
    for (int i = 0; i < n; ++i) {
        int d = 0;
        for (int j = i; vParent[j] >= 0; j = vParent[j]) ++d;
        vDepth[i] = d;
        aCount[std::min(d, 16)]++;
    }
    // Depths beyond 16 were cut to 16: give codes back until the lengths fit exactly.
    uint32_t uSum = 0;
    for (int i = 1; i <= 16; ++i) uSum += aCount[i] << (16 - i);
    while (uSum > 0x10000u) {
        aCount[16]--;
        for (int i = 15; i > 0; --i) {
            if (aCount[i]) {
                aCount[i]--;
                aCount[i + 1] += 2;
                break;
            }
        }
        --uSum;
    }
    // Longest lengths to the least frequent symbols.
    std::vector<int> vOrder(n);
    for (int i = 0; i < n; ++i) vOrder[i] = i;
    std::stable_sort(vOrder.begin(), vOrder.end(), [&](int x, int y) {
        return vDepth[x] != vDepth[y] ? vDepth[x] > vDepth[y] : vFreq[x] < vFreq[y];
    });
    int k = 0;
    for (int len = 16; len >= 1; --len)
        for (uint32_t c = 0; c < aCount[len]; ++c) _pLen[vSyms[vOrder[k++]]] = static_cast<unsigned char>(len);
    // Canonical codes: by length, then by symbol.
    uint32_t aStart[18];
    aStart[1] = 0;
    uint32_t aLenCount[17] = {0};
    for (int i = 0; i < _iSize; ++i) aLenCount[_pLen[i]]++;
    for (int i = 1; i <= 16; ++i) aStart[i + 1] = (aStart[i] + aLenCount[i]) << 1;
    for (int i = 0; i < _iSize; ++i)
        if (_pLen[i]) _pCode[i] = static_cast<uint16_t>(aStart[_pLen[i]]++);
    return _iSize;
}

void CPressEncoder::writePtLen(int _iCount, int _iWidth, int _iSpecial)
{
    while (_iCount > 0 && m_aPtLen[_iCount - 1] == 0) --_iCount;
    putBits(_iWidth, static_cast<uint32_t>(_iCount));
    int i = 0;
    while (i < _iCount) {
        const int k = m_aPtLen[i++];
        if (k <= 6) {
            putBits(3, static_cast<uint32_t>(k));
        } else {
            putBits(k - 3, (1u << (k - 3)) - 2);
        }
        if (i == _iSpecial) {
            while (i < 6 && m_aPtLen[i] == 0) ++i;
            putBits(2, static_cast<uint32_t>(i - 3));
        }
    }
}

void CPressEncoder::writeCLen()
{
    int n = kNc;
    while (n > 0 && m_pCLen[n - 1] == 0) --n;
    putBits(9, static_cast<uint32_t>(n));
    int i = 0;
    while (i < n) {
        const int k = m_pCLen[i++];
        if (k == 0) {
            int iRun = 1;
            while (i < n && m_pCLen[i] == 0) { ++i; ++iRun; }
            if (iRun <= 2) {
                for (int j = 0; j < iRun; ++j) putBits(m_aPtLen[0], m_aPtCode[0]);
            } else if (iRun <= 18) {
                putBits(m_aPtLen[1], m_aPtCode[1]);
                putBits(4, static_cast<uint32_t>(iRun - 3));
            } else if (iRun == 19) {
                putBits(m_aPtLen[0], m_aPtCode[0]);
                putBits(m_aPtLen[1], m_aPtCode[1]);
                putBits(4, 15);
            } else {
                putBits(m_aPtLen[2], m_aPtCode[2]);
                putBits(9, static_cast<uint32_t>(iRun - 20));
            }
        } else {
            putBits(m_aPtLen[k + 2], m_aPtCode[k + 2]);
        }
    }
}

void CPressEncoder::sendBlock()
{
    if (m_uCodes == 0) return;
    const int iRoot = makeTree(kNc, m_pCFreq, m_pCLen, m_pCCode);
    putBits(16, m_uCodes);
    if (iRoot >= static_cast<int>(kNc)) {
        // Pre-code frequencies of the literal/length lengths.
        std::memset(m_aTFreq, 0, sizeof(m_aTFreq));
        int n = kNc;
        while (n > 0 && m_pCLen[n - 1] == 0) --n;
        for (int i = 0; i < n;) {
            const int k = m_pCLen[i++];
            if (k == 0) {
                int iRun = 1;
                while (i < n && m_pCLen[i] == 0) { ++i; ++iRun; }
                if (iRun <= 2) m_aTFreq[0] = static_cast<uint16_t>(m_aTFreq[0] + iRun);
                else if (iRun <= 18) m_aTFreq[1]++;
                else if (iRun == 19) { m_aTFreq[0]++; m_aTFreq[1]++; }
                else m_aTFreq[2]++;
            } else {
                m_aTFreq[k + 2]++;
            }
        }
        const int iTRoot = makeTree(kNt, m_aTFreq, m_aPtLen, m_aPtCode);
        if (iTRoot >= static_cast<int>(kNt)) {
            writePtLen(kNt, 5, 3);
        } else {
            putBits(5, 0);
            putBits(5, static_cast<uint32_t>(iTRoot));
        }
        writeCLen();
    } else {
        putBits(5, 0);
        putBits(5, 0);
        putBits(9, 0);
        putBits(9, static_cast<uint32_t>(iRoot));
    }
    const int iPRoot = makeTree(static_cast<int>(m_uNp), m_aPFreq, m_aPtLen, m_aPtCode);
    if (iPRoot >= static_cast<int>(m_uNp)) {
        writePtLen(static_cast<int>(m_uNp), 4, -1);
    } else {
        putBits(4, 0);
        putBits(4, static_cast<uint32_t>(iPRoot));
    }
    // Replay the gathered codes.
    uint32_t uPos = 0;
    unsigned uFlags = 0;
    for (uint32_t i = 0; i < m_uCodes; ++i) {
        if ((i & 7) == 0) uFlags = m_pBuf[uPos++];
        else uFlags <<= 1;
        if (uFlags & 0x80) {
            const uint32_t uSym = m_pBuf[uPos++] + 256u;
            const uint32_t p = (uint32_t(m_pBuf[uPos]) << 8) | m_pBuf[uPos + 1];
            uPos += 2;
            putBits(m_pCLen[uSym], m_pCCode[uSym]);
            const int q = bitLength(p);
            putBits(m_aPtLen[q], m_aPtCode[q]);
            if (q > 1) putBits(q - 1, p & ((1u << (q - 1)) - 1));
        } else {
            const uint32_t uSym = m_pBuf[uPos++];
            putBits(m_pCLen[uSym], m_pCCode[uSym]);
        }
    }
    std::memset(m_pCFreq, 0, kNc * sizeof(uint16_t));
    std::memset(m_aPFreq, 0, sizeof(m_aPFreq));
    m_uBufPos = 0;
    m_uFlagBit = 0;
    m_uCodes = 0;
}
