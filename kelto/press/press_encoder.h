// The encoder behind both PRESS_ copies; they differ only in where bytes go.
#ifndef KELTO_PRESS_PRESS_ENCODER_H
#define KELTO_PRESS_PRESS_ENCODER_H

#include <cstdint>
#include <cstdio>

class CPressEncoder
{
public:
    CPressEncoder();
    ~CPressEncoder();

    // Output to a stream, or to memory within a room.
    int Start(FILE* _pStream, unsigned char* _pMem, uint32_t _uRoom, uint16_t _uBits, uint16_t _uVerbose);
    void Put(unsigned char _uByte);
    uint32_t Finish(uint32_t* _pInCount);
    bool Running() const { return m_pText != 0; }

private:
    CPressEncoder(const CPressEncoder&) = delete;
    CPressEncoder& operator=(const CPressEncoder&) = delete;

    // The four table groups; each returns the bytes it asked for.
    uint32_t Alloc(uint16_t _uBits);
    uint32_t AllocFreq();
    uint32_t AllocTree();
    uint32_t AllocBuffer();
    void Free();

    // Matching over the window.
    void startEncoding();
    void refilled();
    void encode(int _iEntry);
    bool advance();
    void deleteNode();
    void insertNode();
    uint32_t child(uint32_t _q, uint32_t _c);
    void makeChild(uint32_t _q, uint32_t _c, uint32_t _r);
    void split(uint32_t _uOld);
    uint32_t hash(uint32_t _q, uint32_t _c) const { return _q + (_c << (m_uBits - 9)) + m_uDict2; }

    // Codes and blocks.
    void output(uint32_t _c, uint32_t _p);
    void sendBlock();
    void countTFreq();
    void writePtLen(int _n, int _iWidth, int _iSpecial);
    void writeCLen();
    void encodeP(uint32_t _p);
    int makeTree(int _n, uint16_t* _pFreq, unsigned char* _pLen, uint16_t* _pCode);
    void countLen(int _i);
    void makeLen(int _iRoot);
    void downHeap(int _i);
    void makeCode(int _n, const unsigned char* _pLen, uint16_t* _pCode);
    void putBits(int _n, uint32_t _x);
    void putByte(unsigned char _uByte);
    void dot();

    // Output.
    FILE* m_pStream;
    unsigned char* m_pMem;
    uint32_t m_uRoom;
    bool m_bOverflow;
    uint16_t m_uVerbose;
    int m_iState;

    // Sizes: D = 2^bits, np = bits + 1.
    uint32_t m_uBits;
    uint32_t m_uDict;
    uint32_t m_uDict2;
    uint32_t m_uNp;
    uint32_t m_uPtSize;         // the larger of np and 19
    uint32_t m_uMaxHash;        // last hash head

    // Matching state; positions are window offsets D .. 2D - 1, leaves of the tree.
    int m_iMatchLen;
    uint32_t m_uMatchPos;
    int m_iPrevLen;
    uint32_t m_uPrevPos;
    int m_iRemainder;           // bytes in the window not yet coded
    uint32_t m_uRefill;         // bytes received since the window last slid
    uint32_t m_uPos;
    uint32_t m_uAvail;          // head of the free inner-node list
    uint32_t m_uInCount;
    uint32_t m_uOutCount;

    // Codes of the block being gathered: a flag byte before each group of 8 (bit 7 for the
    // first code; set for a match); a literal is its byte, a match its symbol - 256 and p,
    // high byte first.
    unsigned char* m_pBuf;
    uint32_t m_uBufSize;
    uint32_t m_uBufPos;
    uint32_t m_uFlagPos;
    uint32_t m_uFlagBit;

    // Bit writer.
    int m_iBitFree;
    uint32_t m_uPending;

    // Huffman construction of the alphabet in hand.
    int m_iDepth;
    int m_iHeapSize;
    int m_iAlphabet;
    uint16_t* m_pHFreq;
    unsigned char* m_pHLen;
    uint16_t* m_pSort;
    uint16_t m_aLenCount[17];

    // Group 1.
    unsigned char* m_pCLen;
    unsigned char* m_pPtLen;
    uint16_t* m_pLeft;
    uint16_t* m_pRight;
    // Group 2.
    uint16_t* m_pCFreq;
    uint16_t* m_pCCode;
    uint16_t* m_pPFreq;
    uint16_t* m_pPtCode;
    uint16_t* m_pTFreq;
    // Group 3.
    unsigned char* m_pText;
    unsigned char* m_pChildCount;
    unsigned char* m_pLevel;
    uint16_t* m_pNext;
    uint16_t* m_pPosition;
    uint16_t* m_pParent;
    uint16_t* m_pPrev;
    uint16_t* m_pHeap;
};

#endif
