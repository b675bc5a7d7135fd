// Encoder of the compressed stream of GDA1 blocks (the stream that CUnPress decodes):
// bytes are pushed one at a time and coded as they arrive, with a dictionary of 2^bits
// bytes (bits 9 to 14). Two copies with one encoding each at a time: PRESS_ writes to a
// byte stream, PRESS_Mem to memory within a room the caller gives.
#ifndef KELTO_PRESS_PRESS_H
#define KELTO_PRESS_PRESS_H

#include <cstdint>
#include <cstdio>

#define PRESS_MIN_BITS 9
#define PRESS_MAX_BITS 14

// 1: ready for puts; 0: bits outside 9..14, no stream, or the tables cannot be had.
// A verbose flag prints the memory of the four table groups to standard output (printed
// before the start can fail); 2 also prints "." to standard error when coding starts and
// each time the window, slid by D bytes, takes its refill (the partial one at Finish too).
int PRESS_Start(FILE* _pStream, uint16_t _uBits, uint16_t _uVerbose);
void PRESS_Put(unsigned char _uByte);
// Codes what is left and releases the tables: the compressed bytes written; *_pInCount
// (may be null) gets the bytes put. Nothing put: nothing written, 0.
uint32_t PRESS_Finish(uint32_t* _pInCount);

// The same into memory: at most _uRoom bytes from _pOut on. When the stream does not fit,
// PRESS_MemFinish returns 0 (what fitted is written, nothing beyond the room).
int PRESS_MemStart(unsigned char* _pOut, uint32_t _uRoom, uint16_t _uBits, uint16_t _uVerbose);
void PRESS_MemPut(unsigned char _uByte);
uint32_t PRESS_MemFinish(uint32_t* _pInCount);

#endif
