// GDA1 blocks: "GDA1", the expanded size and the payload size (32-bit little-endian
// each), then the compressed stream. Readers are given the block's size and refuse a
// block whose payload runs past it or whose stream does not expand to the size it states.
#ifndef KELTO_PRESS_GDA1_H
#define KELTO_PRESS_GDA1_H

#include <cstdint>
#include <cstdio>

class CUnPress;

#define GDA1_HEADER_SIZE 12
// Largest expanded size the readers accept: sizes are handed out as ints.
#define GDA1_MAX_EXPANDED 0x7FFFFFFFu

// 1 when the _uSize bytes at _pBlock are a GDA1 block whose payload lies within them;
// its expanded and payload sizes then go to the out values (either may be null).
int gda1_check(const void* _pBlock, uint32_t _uSize, uint32_t* _pExpanded, uint32_t* _pPayload);

// Expands the block at *_ppBlock (_uSize bytes) into a new block of exactly the expanded
// size, replacing what *_ppOut held. The expanded size; 0 when the block is not a sound
// GDA1 block, its stream is damaged or memory runs out (the out-pointer is then empty).
int EXPA_GDA1(unsigned char** _ppBlock, uint32_t _uSize, unsigned char** _ppOut);
// EXPA_GDA1 on the block itself.
int gda1_expand(unsigned char** _ppOut, const void* _pBlock, uint32_t _uSize);
// Begins the caller's decoder on the block's payload with _uRoom bytes of output: the
// expanded size, or 0 (nothing begun) for a block that is not sound or more than the room.
int gda1_begin(CUnPress* _pDecoder, void* _pOut, uint32_t _uRoom, const void* _pBlock, uint32_t _uSize);

// Compresses the source file into a destination file that is a whole GDA1 block: 1, with
// the source's byte count and the destination's length; 0 on failure: a source that cannot
// be opened leaves the destination as it was, a later failure leaves a header whose sizes
// no reader accepts.
int GDA1_PressFile(const char* _szSrc, const char* _szDst, uint32_t* _pExpanded, uint32_t* _pGda1Size);
// The stream of the source file onto an open output: 1, or 0 when the source cannot be
// opened or the encoder gets no memory at dictionary bits 13 to 10.
int gda1_pressFile(const char* _szSrc, FILE* _pOut, uint32_t* _pExpanded, uint32_t* _pCompressed);
// *_pSize source bytes into a GDA1 block within _uRoom bytes at _pDst: 1 (the block's length
// in *_pGda1Size), or 0 when the room is too small or the encoder gets no memory.
int GDA1_PressMem(const void* _pSrc, void* _pDst, uint32_t _uRoom, uint32_t* _pSize, uint32_t* _pGda1Size);
int gda1_pressMem(const void* _pSrc, void* _pDst, uint32_t _uRoom, uint32_t* _pSize, uint32_t* _pCompressed);

// Expands a whole payload into _uRoom bytes of output with the decoder copies: 1, with the
// bytes expanded in *_pDone (may be null); 0 when the decoder cannot be set up, the stream
// is damaged or it needs more room.
int gda1_expandMem(const void* _pPayload, void* _pOut, uint32_t _uPayload, uint32_t _uRoom,
                   uint32_t* _pDone = static_cast<uint32_t*>(0));
// The same from a stream positioned at a payload, which is closed at the end.
int gda1_expandFile(FILE* _pIn, void* _pOut, uint32_t _uRoom, uint32_t* _pDone = static_cast<uint32_t*>(0));

#endif
