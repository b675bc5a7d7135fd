// The stream encoder: the -lh5- method. Matches come from a PATRICIA tree over a sliding
// window of 2D + 256 bytes whose inner nodes keep the latest position that passed through
// them (updated lazily: bit 15 marks a position not yet carried to the parent); the codes
// are gathered in a buffer and sent as blocks of static Huffman codes.
//
// Bytes arrive one at a time, so the coding loop stops where it needs input (the look-ahead
// filling, the window sliding) and a state says where it goes on.
#include "kelto/press/press_encoder.h"

#include <cstring>

#include "kelto/memory/mem.h"
#include "kelto/press/press.h"
#include "kelto/string/moji.h"

namespace {

const uint32_t kNc = 510;          // literal/length alphabet: bytes and lengths 3..256
const uint32_t kNt = 19;           // pre-code alphabet
const uint32_t kNodes = 2 * kNc - 1;
const uint32_t kMaxMatch = 256;
const int kThreshold = 3;
const uint32_t kNil = 0;
const uint16_t kPercFlag = 0x8000;
const uint32_t kBufferFirst = 16384;
const uint32_t kBufferLeast = 4096;

// States between calls: 0 filling the look-ahead, 2 and 3 refilling after a slide (in the
// main loop, in a match's positions), 999 done. 1, 4, 5 and 6 last one call only.
enum { kFill = 0, kEncode = 1, kSlidMain = 2, kSlidMatch = 3, kLastMain = 4, kLastMatch = 5,
       kReset = 6, kDone = 999 };

} // namespace

CPressEncoder::CPressEncoder()
    : m_pStream(0), m_pMem(0), m_uRoom(0), m_bOverflow(false), m_uVerbose(0), m_iState(kDone),
      m_uBits(0), m_uDict(0), m_uDict2(0), m_uNp(0), m_uPtSize(0), m_uMaxHash(0), m_iMatchLen(0),
      m_uMatchPos(0), m_iPrevLen(0), m_uPrevPos(0), m_iRemainder(0), m_uRefill(0), m_uPos(0),
      m_uAvail(0), m_uInCount(0), m_uOutCount(0), m_pBuf(0), m_uBufSize(0), m_uBufPos(0),
      m_uFlagPos(0), m_uFlagBit(0), m_iBitFree(8), m_uPending(0), m_iDepth(0), m_iHeapSize(0),
      m_iAlphabet(0), m_pHFreq(0), m_pHLen(0), m_pSort(0), m_pCLen(0), m_pPtLen(0), m_pLeft(0),
      m_pRight(0), m_pCFreq(0), m_pCCode(0), m_pPFreq(0), m_pPtCode(0), m_pTFreq(0), m_pText(0),
      m_pChildCount(0), m_pLevel(0), m_pNext(0), m_pPosition(0), m_pParent(0), m_pPrev(0), m_pHeap(0)
{
    std::memset(m_aLenCount, 0, sizeof(m_aLenCount));
}

CPressEncoder::~CPressEncoder() { Free(); }

uint32_t CPressEncoder::Alloc(uint16_t _uBits)
{
    m_uBits = _uBits;
    m_uDict = 1u << _uBits;
    m_uDict2 = 2 * m_uDict;
    m_uNp = _uBits + 1u;
    m_uPtSize = m_uNp > kNt ? m_uNp : kNt;
    m_uMaxHash = 3 * m_uDict + (m_uDict / 512 + 1) * 255;
    m_pCLen = KELTO_NEW("PRESS_Alloc") unsigned char[kNc];
    m_pPtLen = KELTO_NEW("PRESS_Alloc") unsigned char[m_uPtSize];
    m_pLeft = KELTO_NEW("PRESS_Alloc") uint16_t[kNodes];
    m_pRight = KELTO_NEW("PRESS_Alloc") uint16_t[kNodes];
    return kNc + m_uPtSize + 2 * kNodes * 2;
}

uint32_t CPressEncoder::AllocFreq()
{
    m_pCFreq = KELTO_NEW("PRESS_AllocFreq") uint16_t[kNodes];
    m_pCCode = KELTO_NEW("PRESS_AllocFreq") uint16_t[kNc];
    m_pPFreq = KELTO_NEW("PRESS_AllocFreq") uint16_t[2 * m_uNp - 1];
    m_pPtCode = KELTO_NEW("PRESS_AllocFreq") uint16_t[m_uPtSize];
    m_pTFreq = KELTO_NEW("PRESS_AllocFreq") uint16_t[2 * kNt - 1];
    return (kNodes + kNc + (2 * m_uNp - 1) + m_uPtSize + (2 * kNt - 1)) * 2;
}

uint32_t CPressEncoder::AllocTree()
{
    const uint32_t uText = m_uDict2 + kMaxMatch;
    const uint32_t uNodes = m_uDict + 256;
    m_pText = KELTO_NEW("PRESS_AllocTree") unsigned char[uText];
    m_pChildCount = KELTO_NEW("PRESS_AllocTree") unsigned char[uNodes];
    m_pLevel = KELTO_NEW("PRESS_AllocTree") unsigned char[uNodes];
    m_pNext = KELTO_NEW("PRESS_AllocTree") uint16_t[m_uMaxHash + 1];
    m_pPosition = KELTO_NEW("PRESS_AllocTree") uint16_t[uNodes];
    m_pParent = KELTO_NEW("PRESS_AllocTree") uint16_t[m_uDict2];
    m_pPrev = KELTO_NEW("PRESS_AllocTree") uint16_t[m_uDict2];
    m_pHeap = KELTO_NEW("PRESS_AllocTree") uint16_t[kNc + 1];
    return uText + 2 * uNodes + ((m_uMaxHash + 1) + uNodes + 2 * m_uDict2 + (kNc + 1)) * 2;
}

uint32_t CPressEncoder::AllocBuffer()
{
    // 16,384 bytes, else 9/10 of the last size tried while that is at least 4,096.
    m_uBufSize = kBufferFirst;
    while ((m_pBuf = KELTO_NEW("PRESS_AllocBuffer") unsigned char[m_uBufSize]) == 0) {
        m_uBufSize = m_uBufSize / 10 * 9;
        if (m_uBufSize < kBufferLeast) break;
    }
    const uint32_t uSize = m_uBufSize;
    if (!m_pCLen || !m_pPtLen || !m_pLeft || !m_pRight || !m_pCFreq || !m_pCCode || !m_pPFreq ||
        !m_pPtCode || !m_pTFreq || !m_pText || !m_pChildCount || !m_pLevel || !m_pNext ||
        !m_pPosition || !m_pParent || !m_pPrev || !m_pHeap || !m_pBuf)
        Free();
    return uSize;
}

void CPressEncoder::Free()
{
    MEM_free(&m_pCLen);
    MEM_free(&m_pPtLen);
    MEM_free(&m_pLeft);
    MEM_free(&m_pRight);
    MEM_free(&m_pCFreq);
    MEM_free(&m_pCCode);
    MEM_free(&m_pPFreq);
    MEM_free(&m_pPtCode);
    MEM_free(&m_pTFreq);
    MEM_free(&m_pText);
    MEM_free(&m_pChildCount);
    MEM_free(&m_pLevel);
    MEM_free(&m_pNext);
    MEM_free(&m_pPosition);
    MEM_free(&m_pParent);
    MEM_free(&m_pPrev);
    MEM_free(&m_pHeap);
    MEM_free(&m_pBuf);
}

int CPressEncoder::Start(FILE* _pStream, unsigned char* _pMem, uint32_t _uRoom, uint16_t _uBits,
                         uint16_t _uVerbose)
{
    Free();
    m_iState = kDone;
    if ((!_pStream && !_pMem) || _uBits < PRESS_MIN_BITS || _uBits > PRESS_MAX_BITS) return 0;
    const unsigned long a = Alloc(_uBits);
    const unsigned long b = AllocFreq();
    const unsigned long c = AllocTree();
    const unsigned long d = AllocBuffer();
    if (_uVerbose) {
        CTOSJIS cLine(L"使用メモリ:");
        CTOSJIS cUnit(L"バイト");
        std::printf("%s%lu+%lu+%lu+%lu=%lu%s\n", cLine.Get() ? cLine.Get() : "", a, b, c, d, a + b + c + d,
                    cUnit.Get() ? cUnit.Get() : "");
        std::fflush(stdout);
    }
    if (!m_pBuf) return 0;

    m_pStream = _pStream;
    m_pMem = _pStream ? 0 : _pMem;
    m_uRoom = _uRoom;
    m_bOverflow = false;
    m_uVerbose = _uVerbose;

    // Every table starts cleared, so that what the window holds past the input (which the
    // tree compares against) and every field read before it is written are the same on
    // every run: the output depends on the input alone.
    std::memset(m_pCLen, 0, kNc);
    std::memset(m_pPtLen, 0, m_uPtSize);
    std::memset(m_pLeft, 0, kNodes * 2);
    std::memset(m_pRight, 0, kNodes * 2);
    std::memset(m_pCFreq, 0, kNodes * 2);
    std::memset(m_pCCode, 0, kNc * 2);
    std::memset(m_pPFreq, 0, (2 * m_uNp - 1) * 2);
    std::memset(m_pPtCode, 0, m_uPtSize * 2);
    std::memset(m_pTFreq, 0, (2 * kNt - 1) * 2);
    std::memset(m_pText, 0, m_uDict2 + kMaxMatch);
    std::memset(m_pChildCount, 0, m_uDict + 256);
    std::memset(m_pLevel, 0, m_uDict + 256);
    std::memset(m_pNext, 0, (m_uMaxHash + 1) * 2);
    std::memset(m_pPosition, 0, (m_uDict + 256) * 2);
    std::memset(m_pParent, 0, m_uDict2 * 2);
    std::memset(m_pPrev, 0, m_uDict2 * 2);
    std::memset(m_pHeap, 0, (kNc + 1) * 2);
    std::memset(m_pBuf, 0, m_uBufSize);

    // The 256 roots (one per first byte) at depth 1; leaves without parents; the free list
    // of inner nodes 1 .. D - 1; empty hash heads.
    for (uint32_t i = m_uDict; i < m_uDict + 256; ++i) {
        m_pLevel[i] = 1;
        m_pPosition[i] = kNil;
    }
    for (uint32_t i = m_uDict; i < m_uDict2; ++i) m_pParent[i] = kNil;
    for (uint32_t i = 1; i < m_uDict - 1; ++i) m_pNext[i] = static_cast<uint16_t>(i + 1);
    m_pNext[m_uDict - 1] = kNil;
    for (uint32_t i = m_uDict2; i <= m_uMaxHash; ++i) m_pNext[i] = kNil;

    m_pBuf[0] = 0;
    m_iBitFree = 8;
    m_uPending = 0;
    m_uOutCount = 0;

    m_iState = kReset;
    Put(0);
    m_iState = kFill;
    m_iRemainder = 0;
    m_uRefill = 0;
    m_uInCount = 0;
    m_uOutCount = 0;
    m_iDepth = 0;
    m_iMatchLen = 0;
    m_uMatchPos = 0;
    m_iPrevLen = 0;
    m_uPrevPos = 0;
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
    switch (m_iState) {
    case kFill:
        m_pText[m_uDict + m_iRemainder] = _uByte;
        if (++m_iRemainder < static_cast<int>(m_uDict + kMaxMatch)) return;
        m_iState = kEncode;
        startEncoding();
        return;
    case kSlidMain:
    case kSlidMatch:
        m_pText[m_uDict + kMaxMatch + m_uRefill] = _uByte;
        if (++m_uRefill < m_uDict) return;
        refilled();
        return;
    case kLastMain:
    case kLastMatch:
        m_iState -= 2;
        refilled();
        return;
    case kReset:
        m_uPos = 0;
        m_uAvail = 1;
        m_uBufPos = 0;
        m_uFlagBit = 0;
        return;
    case kDone:
        return;  // the stream is complete: nothing may follow it
    default:
        startEncoding();
        return;
    }
}

uint32_t CPressEncoder::Finish(uint32_t* _pInCount)
{
    if (!m_pText) {
        if (_pInCount) *_pInCount = 0;
        return 0;
    }
    if (m_uInCount == 0 && m_iRemainder == 0) {
        if (_pInCount) *_pInCount = 0;
        Free();
        return 0;
    }
    while (m_iState != kDone) {
        if (m_iState == kFill) m_iState = kEncode;
        else if (m_iState == kSlidMain) m_iState = kLastMain;
        else if (m_iState == kSlidMatch) m_iState = kLastMatch;
        else break;
        Put(0);
    }
    if (_pInCount) *_pInCount = m_uInCount;
    Free();
    m_iState = kDone;
    return m_bOverflow ? 0 : m_uOutCount;
}

void CPressEncoder::startEncoding()
{
    dot();
    m_uInCount += static_cast<uint32_t>(m_iRemainder);
    m_iMatchLen = 0;
    m_uPos = m_uDict;
    insertNode();
    if (m_iMatchLen > m_iRemainder) m_iMatchLen = m_iRemainder;
    encode(kEncode);
}

// The refill after a slide is complete (or Finish takes what came): go on where the slide
// stopped the loop.
void CPressEncoder::refilled()
{
    m_iRemainder += static_cast<int>(m_uRefill);
    m_uInCount += m_uRefill;
    m_uRefill = 0;
    m_uPos = m_uDict;
    dot();
    encode(m_iState);
}

// One position on; at the window's end slide it down by D (the caller then waits for D
// bytes) and report true.
bool CPressEncoder::advance()
{
    --m_iRemainder;
    if (++m_uPos == m_uDict2) {
        std::memmove(m_pText, m_pText + m_uDict, m_uDict + kMaxMatch);
        return true;
    }
    return false;
}

// The lazy-matching loop: a match is coded only when the next position does not find a
// longer one. Entered at the top (kEncode) or after the slide that stopped it.
void CPressEncoder::encode(int _iEntry)
{
    if (_iEntry == kSlidMain) goto resumeMain;
    if (_iEntry == kSlidMatch) goto resumeMatch;
    for (;;) {
        if (m_iRemainder <= 0) {
            sendBlock();
            putBits(7, 0);
            m_iState = kDone;
            return;
        }
        m_iPrevLen = m_iMatchLen;
        m_uPrevPos = m_uMatchPos;
        if (advance()) {
            m_iState = kSlidMain;
            return;
        }
    resumeMain:
        deleteNode();
        insertNode();
        if (m_iMatchLen > m_iRemainder) m_iMatchLen = m_iRemainder;
        if (m_iMatchLen > m_iPrevLen || m_iPrevLen < kThreshold) {
            output(m_pText[m_uPos - 1], 0);
            continue;
        }
        output(static_cast<uint32_t>(m_iPrevLen) + 256 - kThreshold,
               (m_uPos - m_uPrevPos - 2) & (m_uDict - 1));
        while (--m_iPrevLen > 0) {
            if (advance()) {
                m_iState = kSlidMatch;
                return;
            }
        resumeMatch:
            deleteNode();
            insertNode();
        }
        if (m_iMatchLen > m_iRemainder) m_iMatchLen = m_iRemainder;
    }
}

// Node q's child for byte c, or nil; node 0's parent serves as the chain's sentinel.
uint32_t CPressEncoder::child(uint32_t _q, uint32_t _c)
{
    uint32_t r = m_pNext[hash(_q, _c)];
    m_pParent[kNil] = static_cast<uint16_t>(_q);
    while (m_pParent[r] != _q) r = m_pNext[r];
    return r;
}

void CPressEncoder::makeChild(uint32_t _q, uint32_t _c, uint32_t _r)
{
    const uint32_t h = hash(_q, _c);
    const uint32_t t = m_pNext[h];
    m_pNext[h] = static_cast<uint16_t>(_r);
    m_pNext[_r] = static_cast<uint16_t>(t);
    m_pPrev[t] = static_cast<uint16_t>(_r);
    m_pPrev[_r] = static_cast<uint16_t>(h);
    m_pParent[_r] = static_cast<uint16_t>(_q);
    ++m_pChildCount[_q];
}

// A new inner node at the match length between _uOld and its parent, with _uOld and the
// current position as its children.
void CPressEncoder::split(uint32_t _uOld)
{
    const uint32_t uNew = m_uAvail;
    m_uAvail = m_pNext[uNew];
    m_pChildCount[uNew] = 0;
    uint32_t t = m_pPrev[_uOld];
    m_pPrev[uNew] = static_cast<uint16_t>(t);
    m_pNext[t] = static_cast<uint16_t>(uNew);
    t = m_pNext[_uOld];
    m_pNext[uNew] = static_cast<uint16_t>(t);
    m_pPrev[t] = static_cast<uint16_t>(uNew);
    m_pParent[uNew] = m_pParent[_uOld];
    m_pLevel[uNew] = static_cast<unsigned char>(m_iMatchLen);
    m_pPosition[uNew] = static_cast<uint16_t>(m_uPos);
    makeChild(uNew, m_pText[m_uMatchPos + m_iMatchLen], _uOld);
    makeChild(uNew, m_pText[m_uPos + m_iMatchLen], m_uPos);
}

// Enters the current position and leaves the longest match found in the match length and
// position.
void CPressEncoder::insertNode()
{
    uint32_t q, r, t;
    if (m_iMatchLen >= 4) {
        // The text from here matches the last match shifted by one: start below the deepest
        // node of that match's successor that is shallower than the match less one byte.
        --m_iMatchLen;
        r = (m_uMatchPos + 1) | m_uDict;
        while ((q = m_pParent[r]) == kNil) r = m_pNext[r];
        while (m_pLevel[q] >= m_iMatchLen) {
            r = q;
            q = m_pParent[q];
        }
        t = q;
        while (m_pPosition[t] & kPercFlag) {
            m_pPosition[t] = static_cast<uint16_t>(m_uPos);
            t = m_pParent[t];
        }
        if (t < m_uDict) m_pPosition[t] = static_cast<uint16_t>(m_uPos | kPercFlag);
    } else {
        q = m_pText[m_uPos] + m_uDict;
        const uint32_t c = m_pText[m_uPos + 1];
        if ((r = child(q, c)) == kNil) {
            makeChild(q, c, m_uPos);
            m_iMatchLen = 1;
            return;
        }
        m_iMatchLen = 2;
    }
    for (;;) {
        int j;
        if (r >= m_uDict) {
            j = static_cast<int>(kMaxMatch);
            m_uMatchPos = r;
        } else {
            j = m_pLevel[r];
            m_uMatchPos = m_pPosition[r] & ~kPercFlag;
        }
        if (m_uMatchPos >= m_uPos) m_uMatchPos -= m_uDict;
        const unsigned char* t1 = m_pText + m_uPos + m_iMatchLen;
        const unsigned char* t2 = m_pText + m_uMatchPos + m_iMatchLen;
        while (m_iMatchLen < j) {
            if (*t1 != *t2) {
                split(r);
                return;
            }
            ++m_iMatchLen;
            ++t1;
            ++t2;
        }
        if (m_iMatchLen >= static_cast<int>(kMaxMatch)) break;
        m_pPosition[r] = static_cast<uint16_t>(m_uPos);
        q = r;
        if ((r = child(q, *t1)) == kNil) {
            makeChild(q, *t1, m_uPos);
            return;
        }
        ++m_iMatchLen;
    }
    // The whole longest match: the new leaf takes the old one's place, and the old one
    // points at it for later walks that start from it.
    t = m_pPrev[r];
    m_pPrev[m_uPos] = static_cast<uint16_t>(t);
    m_pNext[t] = static_cast<uint16_t>(m_uPos);
    t = m_pNext[r];
    m_pNext[m_uPos] = static_cast<uint16_t>(t);
    m_pPrev[t] = static_cast<uint16_t>(m_uPos);
    m_pParent[m_uPos] = static_cast<uint16_t>(q);
    m_pParent[r] = kNil;
    m_pNext[r] = static_cast<uint16_t>(m_uPos);
}

// Takes the oldest position (the leaf of the current one, D bytes back) out of the tree;
// a parent left with one child is merged into it and freed.
void CPressEncoder::deleteNode()
{
    if (m_pParent[m_uPos] == kNil) return;
    uint32_t r = m_pPrev[m_uPos];
    uint32_t s = m_pNext[m_uPos];
    m_pNext[r] = static_cast<uint16_t>(s);
    m_pPrev[s] = static_cast<uint16_t>(r);
    r = m_pParent[m_uPos];
    m_pParent[m_uPos] = kNil;
    if (r >= m_uDict || --m_pChildCount[r] > 1) return;
    uint32_t t = m_pPosition[r] & ~kPercFlag;
    if (t >= m_uPos) t -= m_uDict;
    s = t;
    uint32_t q = m_pParent[r];
    uint32_t u;
    while ((u = m_pPosition[q]) & kPercFlag) {
        u &= ~kPercFlag;
        if (u >= m_uPos) u -= m_uDict;
        if (u > s) s = u;
        m_pPosition[q] = static_cast<uint16_t>(s | m_uDict);
        q = m_pParent[q];
    }
    if (q < m_uDict) {
        if (u >= m_uPos) u -= m_uDict;
        if (u > s) s = u;
        m_pPosition[q] = static_cast<uint16_t>(s | m_uDict | kPercFlag);
    }
    s = child(r, m_pText[t + m_pLevel[r]]);
    t = m_pPrev[s];
    u = m_pNext[s];
    m_pNext[t] = static_cast<uint16_t>(u);
    m_pPrev[u] = static_cast<uint16_t>(t);
    t = m_pPrev[r];
    m_pNext[t] = static_cast<uint16_t>(s);
    m_pPrev[s] = static_cast<uint16_t>(t);
    t = m_pNext[r];
    m_pPrev[t] = static_cast<uint16_t>(s);
    m_pNext[s] = static_cast<uint16_t>(t);
    m_pParent[s] = m_pParent[r];
    m_pParent[r] = kNil;
    m_pNext[r] = static_cast<uint16_t>(m_uAvail);
    m_uAvail = r;
}

void CPressEncoder::output(uint32_t _c, uint32_t _p)
{
    if ((m_uFlagBit >>= 1) == 0) {
        m_uFlagBit = 0x80;
        if (m_uBufPos >= m_uBufSize - 24) {
            sendBlock();
            m_uBufPos = 0;
        }
        m_uFlagPos = m_uBufPos++;
        m_pBuf[m_uFlagPos] = 0;
    }
    m_pBuf[m_uBufPos++] = static_cast<unsigned char>(_c);
    ++m_pCFreq[_c];
    if (_c >= 256) {
        m_pBuf[m_uFlagPos] = static_cast<unsigned char>(m_pBuf[m_uFlagPos] | m_uFlagBit);
        m_pBuf[m_uBufPos++] = static_cast<unsigned char>(_p >> 8);
        m_pBuf[m_uBufPos++] = static_cast<unsigned char>(_p);
        uint32_t c = 0;
        while (_p) {
            _p >>= 1;
            ++c;
        }
        ++m_pPFreq[c];
    }
}

void CPressEncoder::countTFreq()
{
    std::memset(m_pTFreq, 0, kNt * 2);
    int n = kNc;
    while (n > 0 && m_pCLen[n - 1] == 0) --n;
    int i = 0;
    while (i < n) {
        const int k = m_pCLen[i++];
        if (k == 0) {
            int iCount = 1;
            while (i < n && m_pCLen[i] == 0) {
                ++i;
                ++iCount;
            }
            if (iCount <= 2) m_pTFreq[0] = static_cast<uint16_t>(m_pTFreq[0] + iCount);
            else if (iCount <= 18) ++m_pTFreq[1];
            else if (iCount == 19) {
                ++m_pTFreq[0];
                ++m_pTFreq[1];
            } else ++m_pTFreq[2];
        } else {
            ++m_pTFreq[k + 2];
        }
    }
}

void CPressEncoder::writePtLen(int _n, int _iWidth, int _iSpecial)
{
    while (_n > 0 && m_pPtLen[_n - 1] == 0) --_n;
    putBits(_iWidth, static_cast<uint32_t>(_n));
    int i = 0;
    while (i < _n) {
        const int k = m_pPtLen[i++];
        if (k <= 6) putBits(3, static_cast<uint32_t>(k));
        else putBits(k - 3, (1u << (k - 3)) - 2);
        if (i == _iSpecial) {
            while (i < 6 && m_pPtLen[i] == 0) ++i;
            putBits(2, static_cast<uint32_t>(i - 3) & 3);
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
            int iCount = 1;
            while (i < n && m_pCLen[i] == 0) {
                ++i;
                ++iCount;
            }
            if (iCount <= 2) {
                for (int j = 0; j < iCount; ++j) putBits(m_pPtLen[0], m_pPtCode[0]);
            } else if (iCount <= 18) {
                putBits(m_pPtLen[1], m_pPtCode[1]);
                putBits(4, static_cast<uint32_t>(iCount - 3));
            } else if (iCount == 19) {
                putBits(m_pPtLen[0], m_pPtCode[0]);
                putBits(m_pPtLen[1], m_pPtCode[1]);
                putBits(4, 15);
            } else {
                putBits(m_pPtLen[2], m_pPtCode[2]);
                putBits(9, static_cast<uint32_t>(iCount - 20));
            }
        } else {
            putBits(m_pPtLen[k + 2], m_pPtCode[k + 2]);
        }
    }
}

void CPressEncoder::encodeP(uint32_t _p)
{
    uint32_t c = 0;
    for (uint32_t q = _p; q; q >>= 1) ++c;
    putBits(m_pPtLen[c], m_pPtCode[c]);
    if (c > 1) putBits(static_cast<int>(c - 1), _p & (0xFFFFu >> (17 - c)));
}

void CPressEncoder::sendBlock()
{
    uint32_t uRoot = static_cast<uint32_t>(makeTree(kNc, m_pCFreq, m_pCLen, m_pCCode));
    const uint32_t uSize = m_pCFreq[uRoot];
    putBits(16, uSize);
    if (uRoot >= kNc) {
        countTFreq();
        uRoot = static_cast<uint32_t>(makeTree(kNt, m_pTFreq, m_pPtLen, m_pPtCode));
        if (uRoot >= kNt) {
            writePtLen(kNt, 5, 3);
        } else {
            putBits(5, 0);
            putBits(5, uRoot);
        }
        writeCLen();
    } else {
        putBits(5, 0);
        putBits(5, 0);
        putBits(9, 0);
        putBits(9, uRoot);
    }
    uRoot = static_cast<uint32_t>(makeTree(static_cast<int>(m_uNp), m_pPFreq, m_pPtLen, m_pPtCode));
    if (uRoot >= m_uNp) {
        writePtLen(static_cast<int>(m_uNp), 4, -1);
    } else {
        putBits(4, 0);
        putBits(4, uRoot);
    }
    uint32_t uPos = 0;
    uint32_t uFlags = 0;
    for (uint32_t i = 0; i < uSize; ++i) {
        if (i % 8 == 0) uFlags = m_pBuf[uPos++];
        else uFlags <<= 1;
        if (uFlags & 0x80) {
            const uint32_t c = m_pBuf[uPos++] + 256u;
            putBits(m_pCLen[c], m_pCCode[c]);
            uint32_t k = static_cast<uint32_t>(m_pBuf[uPos++]) << 8;
            k += m_pBuf[uPos++];
            encodeP(k);
        } else {
            const uint32_t c = m_pBuf[uPos++];
            putBits(m_pCLen[c], m_pCCode[c]);
        }
    }
    std::memset(m_pCFreq, 0, kNc * 2);
    std::memset(m_pPFreq, 0, m_uNp * 2);
}

// Huffman code of one alphabet: lengths of at most 16 bits and canonical codes. Returns
// the root: a node number from the alphabet size up, or the one symbol (code 0, length 0)
// when fewer than two occur.
int CPressEncoder::makeTree(int _n, uint16_t* _pFreq, unsigned char* _pLen, uint16_t* _pCode)
{
    m_iAlphabet = _n;
    m_pHFreq = _pFreq;
    m_pHLen = _pLen;
    int iAvail = _n;
    m_iHeapSize = 0;
    m_pHeap[1] = 0;
    for (int i = 0; i < _n; ++i) {
        _pLen[i] = 0;
        if (_pFreq[i]) m_pHeap[++m_iHeapSize] = static_cast<uint16_t>(i);
    }
    if (m_iHeapSize < 2) {
        _pCode[m_pHeap[1]] = 0;
        return m_pHeap[1];
    }
    for (int i = m_iHeapSize / 2; i >= 1; --i) downHeap(i);
    m_pSort = _pCode;  // the symbols in the order they leave the heap
    int k;
    do {
        const int i = m_pHeap[1];
        if (i < _n) *m_pSort++ = static_cast<uint16_t>(i);
        m_pHeap[1] = m_pHeap[m_iHeapSize--];
        downHeap(1);
        const int j = m_pHeap[1];
        if (j < _n) *m_pSort++ = static_cast<uint16_t>(j);
        k = iAvail++;
        _pFreq[k] = static_cast<uint16_t>(_pFreq[i] + _pFreq[j]);
        m_pHeap[1] = static_cast<uint16_t>(k);
        downHeap(1);
        m_pLeft[k] = static_cast<uint16_t>(i);
        m_pRight[k] = static_cast<uint16_t>(j);
    } while (m_iHeapSize > 1);
    m_pSort = _pCode;
    makeLen(k);
    makeCode(_n, _pLen, _pCode);
    return k;
}

void CPressEncoder::countLen(int _i)
{
    if (_i < m_iAlphabet) {
        ++m_aLenCount[m_iDepth < 16 ? m_iDepth : 16];
    } else {
        ++m_iDepth;
        countLen(m_pLeft[_i]);
        countLen(m_pRight[_i]);
        --m_iDepth;
    }
}

void CPressEncoder::makeLen(int _iRoot)
{
    std::memset(m_aLenCount, 0, sizeof(m_aLenCount));
    countLen(_iRoot);
    uint32_t uCum = 0;
    for (int i = 16; i > 0; --i) uCum += static_cast<uint32_t>(m_aLenCount[i]) << (16 - i);
    // Depths past 16 were counted as 16: trade codes until the lengths fill the space.
    while (uCum > (1u << 16)) {
        --m_aLenCount[16];
        for (int i = 15; i > 0; --i) {
            if (m_aLenCount[i] != 0) {
                --m_aLenCount[i];
                m_aLenCount[i + 1] = static_cast<uint16_t>(m_aLenCount[i + 1] + 2);
                break;
            }
        }
        --uCum;
    }
    for (int i = 16; i > 0; --i) {
        for (int k = m_aLenCount[i]; k > 0; --k) m_pHLen[*m_pSort++] = static_cast<unsigned char>(i);
    }
}

// Sends heap entry _i down: past a child only when strictly more frequent; of two children
// the right one only when strictly less frequent than the left.
void CPressEncoder::downHeap(int _i)
{
    const int k = m_pHeap[_i];
    int j;
    while ((j = 2 * _i) <= m_iHeapSize) {
        if (j < m_iHeapSize && m_pHFreq[m_pHeap[j]] > m_pHFreq[m_pHeap[j + 1]]) ++j;
        if (m_pHFreq[k] <= m_pHFreq[m_pHeap[j]]) break;
        m_pHeap[_i] = m_pHeap[j];
        _i = j;
    }
    m_pHeap[_i] = static_cast<uint16_t>(k);
}

void CPressEncoder::makeCode(int _n, const unsigned char* _pLen, uint16_t* _pCode)
{
    uint16_t aStart[18];
    aStart[0] = 0;  // symbols of length 0 get a code that is never written
    aStart[1] = 0;
    for (int i = 1; i <= 16; ++i) aStart[i + 1] = static_cast<uint16_t>((aStart[i] + m_aLenCount[i]) << 1);
    for (int i = 0; i < _n; ++i) _pCode[i] = aStart[_pLen[i]]++;
}

// The low _n bits of _x (n at most 16), most significant first.
void CPressEncoder::putBits(int _n, uint32_t _x)
{
    _x &= (1u << _n) - 1;
    if (_n < m_iBitFree) {
        m_iBitFree -= _n;
        m_uPending |= _x << m_iBitFree;
        return;
    }
    _n -= m_iBitFree;
    putByte(static_cast<unsigned char>(m_uPending | (_x >> _n)));
    if (_n >= 8) {
        _n -= 8;
        putByte(static_cast<unsigned char>(_x >> _n));
    }
    m_iBitFree = 8 - _n;
    m_uPending = (_x << m_iBitFree) & 0xFFu;
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
