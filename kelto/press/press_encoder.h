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
    struct Match { uint32_t uLen; uint32_t uDist; };

    void free();
    void encode(bool _bFinal);
    Match find(uint32_t _uPos) const;
    void insert(uint32_t _uPos);
    void slide();
    void outLiteral(unsigned char _uByte);
    void outMatch(uint32_t _uLen, uint32_t _uDist);
    void sendBlock();
    void putBits(int _iBits, uint32_t _uValue);
    void putByte(unsigned char _uByte);
    int makeTree(int _iSize, const uint16_t* _pFreq, unsigned char* _pLen, uint16_t* _pCode);
    void writePtLen(int _iCount, int _iWidth, int _iSpecial);
    void writeCLen();
    void dot();

    // Output.
    FILE* m_pStream;
    unsigned char* m_pMem;
    uint32_t m_uRoom;
    bool m_bOverflow;
    uint32_t m_uOutCount;
    uint32_t m_uBitAcc;
    int m_iBitCount;
    uint16_t m_uVerbose;

    // Window: bytes [m_uBase, m_uBase + m_uFill) of the input; positions are absolute.
    uint32_t m_uBits;
    uint32_t m_uDict;
    uint32_t m_uNp;
    unsigned char* m_pText;
    uint32_t* m_pHead;
    uint32_t* m_pPrev;
    uint32_t m_uBase;
    uint32_t m_uFill;
    uint32_t m_uPos;        // next absolute position to code
    uint32_t m_uInCount;
    uint32_t m_uSinceDot;
    bool m_bStarted;
    bool m_bPending;        // m_cPending was found at m_uPos by the lazy look
    Match m_cPending;

    // Codes of the block being gathered: flag byte before each group of 8; a literal is
    // its byte, a match its length symbol - 256 and the distance - 1, high byte first.
    unsigned char* m_pBuf;
    uint32_t m_uBufSize;
    uint32_t m_uBufPos;
    uint32_t m_uFlagPos;
    unsigned m_uFlagBit;
    uint32_t m_uCodes;

    uint16_t* m_pCFreq;
    uint16_t* m_pCCode;
    unsigned char* m_pCLen;
    uint16_t m_aPFreq[32];
    uint16_t m_aPtCode[32];
    unsigned char m_aPtLen[32];
    uint16_t m_aTFreq[19];
};

#endif
