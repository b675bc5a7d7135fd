// Decoder of the compressed stream of GDA1 blocks: LZSS with static Huffman codes in
// blocks (-lh5- layout, 32,768-byte window). CUnPress holds its whole state and allocates
// nothing; it hands the output out in chunks of at most one window through Begin/Step.
// The UNPRESS_ copies decode the same stream with one file-static decoder each, from a
// byte stream or from memory, and leave copying out of the window to their caller.
#ifndef KELTO_PRESS_UNPRESS_H
#define KELTO_PRESS_UNPRESS_H

#include <cstdint>
#include <cstdio>

#define UNPRESS_WINDOW_BITS 15
#define UNPRESS_WINDOW_SIZE (1u << UNPRESS_WINDOW_BITS)
#define UNPRESS_NC 510          // literal/length alphabet: 256 bytes, lengths 3..256
#define UNPRESS_NT 19           // pre-code alphabet
#define UNPRESS_NODES (2 * UNPRESS_NC - 1)
#define UNPRESS_LONG_CODE 0xFFFFu  // fast-table entry of a code longer than the table's bits

typedef void (*UNPRESS_HANDLER)();

class CUnPress
{
public:
    CUnPress();

    // Sets up the decoder on _uInSize bytes of stream and an output of _uOutSize bytes.
    // A stream that decodes to more than the output holds fails instead of writing past it.
    bool Begin(const void* _pIn, uint32_t _uInSize, void* _pOut, uint32_t _uOutSize);
    // One step of work; true when decoding has ended (finished or failed).
    bool Step();
    // Decodes the next chunk into the window from its first byte: its byte count, or 0 at
    // the end of the stream or on a damaged stream (the handler, when given, is called).
    uint16_t uncompress(UNPRESS_HANDLER _pHandler);
    void End() {}

    // True once the stream was found damaged: a code table that does not fill its code
    // space or overruns its alphabet, a reference before the start of the output, codes
    // read past the end of the input, or more output than Begin allowed.
    bool Failed() const { return m_bFailed; }
    // Bytes copied to the output since Begin.
    uint32_t OutCount() const { return m_uOutCount; }

    unsigned char* Init(const void* _pIn, uint32_t _uInSize);
    unsigned char* InitStream(FILE* _pStream);
    void SetWindowBits(uint16_t _uBits);
    void ResetBits();
    void ResetBlock();
    void ShiftBits(int _iBits);
    uint16_t TakeBits(int _iBits);
    uint16_t DecodeLiteral();
    uint16_t DecodeDistance();
    void ReadCodeLengths(int _iSize, int _iWidth, int _iSpecial);
    void ReadLiteralLengths();
    void BuildTable(int _iSize, const unsigned char* _pLengths, int _iBits, uint16_t* _pTable);

private:
    void fail() { m_bFailed = true; }
    uint32_t copyMatch(uint32_t r, uint32_t _uDist, uint32_t _uLen);
    uint32_t decodeLoop(uint32_t r);
    uint32_t decodeMemory(uint32_t r);
    void buildFastTables();
    int fetchByte();

    unsigned char* m_pChunk;
    unsigned char* m_pOut;
    uint32_t m_uOutRoom;
    uint32_t m_uOutCount;
    int32_t m_iState;             // 0 finished, 1 decode next, 2 copy out
    uint16_t m_aLiteralTable[4096];
    uint16_t m_aPosTable[256];
    uint16_t m_aLiteralFast[4096];  // the memory reader's: symbol | length << 9
    uint16_t m_aPosFast[256];
    uint16_t m_aLeft[UNPRESS_NODES];
    uint16_t m_aRight[UNPRESS_NODES];
    unsigned char m_aLiteralLen[UNPRESS_NC];
    unsigned char m_aPosLen[UNPRESS_NT];
    unsigned char m_aWindow[UNPRESS_WINDOW_SIZE];
    uint16_t m_uChunk;
    uint16_t m_uCopyPos;
    uint16_t m_uBitBuf;
    uint16_t m_uBitBufSize;
    uint16_t m_uBlockLeft;
    unsigned char* m_pWindow;
    const unsigned char* m_pIn;
    FILE* m_pStream;
    uint32_t m_uInPos;
    uint32_t m_uInSize;
    uint32_t m_uPastEnd;          // bytes fetched after the input ran out
    int32_t m_iEnd;
    uint32_t m_uDecoded;          // bytes decoded by earlier calls, for the reference check
    bool m_bFailed;
    bool m_bFastValid;            // the fast tables follow the tables (rebuilt when false)
    uint16_t m_uBitsLeft;
    uint16_t m_uLastByte;
    uint16_t m_uWindowSize;
    int16_t m_iMatchLeft;
    uint16_t m_uNp;
    uint16_t m_uNc;
};

// The copies: the window, whose first bytes each decoding call fills, or null when the
// decoder's memory cannot be had. A stream copy reads from _pStream and closes it at the end.
unsigned char* UNPRESS_Start(FILE* _pStream);
uint16_t UNPRESS_Decode(UNPRESS_HANDLER _pHandler);
void UNPRESS_End();
unsigned char* UNPRESS_MemStart(const void* _pIn, uint32_t _uInSize);
uint16_t UNPRESS_MemDecode(UNPRESS_HANDLER _pHandler);
void UNPRESS_MemEnd();

#endif
