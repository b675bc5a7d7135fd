// Run-length coding of 32- and 16-bit values as RLS data: a header of two words (payload
// length P in 32-bit words, 0 for the stored form; source length in 32-bit words), then
// either the source bytes (stored) or the run count, the runs (16-bit position, 16-bit
// repeat count) and the value list with each run of equal neighbours kept once.
#ifndef KELTO_PRESS_RLS_H
#define KELTO_PRESS_RLS_H

#include <cstdint>

// Bytes of each work list of the encoders; a source must fit in it.
#define RLS_WORKLIST_SIZE 0x800000
#define RLS_MAX_REPEAT 65535
#define RLS_MAX_POSITION 65535

// *_pSize on entry: 0 asks for the stored form, anything else for the coded form. Results:
// 2 stored (*_pSize its byte count); 1 coded (*_pSize = run table + values + 8); 0 when the
// source holds no run (nothing written, *_pSize = 8); -2 when a work list cannot be allocated;
// -1 for a null pointer, a negative byte count or a source past the work lists (*_pSize kept).
// Position mode 1 counts each run's position from the value list's start, 0 from the previous
// run's position.
// The output needs room for 16 + 2 x _iBytes bytes at most.
int RLS_encodeDWORD(const uint32_t* _pSrc, uint32_t* _pOut, int* _pSize, int _iPositionMode, int _iBytes);
int RLS_encodeWORD(const uint16_t* _pSrc, void* _pOut, int* _pSize, int _iPositionMode, int _iBytes);

// Decoders of RLS data of _iBytes bytes into room for _iCount values (32-bit, or 16-bit for
// the WORD forms); absolute or relative run positions. The number of values walked in the
// value list (for the stored form the 32-bit words copied), or -1 for a null pointer, data that
// does not fit its _iBytes or output that would not fit in _iCount values. The 16-bit value list
// is padded to 4 bytes; that padding value is written only where there is room for it.
int RLS_decodeDWORD(const void* _pData, int _iBytes, uint32_t* _pOut, int _iCount);
int RLS_decodeDWORDRel(const void* _pData, int _iBytes, uint32_t* _pOut, int _iCount);
int RLS_decodeWORD(const void* _pData, int _iBytes, uint16_t* _pOut, int _iCount);
int RLS_decodeWORDRel(const void* _pData, int _iBytes, uint16_t* _pOut, int _iCount);

// Workers of the encoders. The packers fill a run table (count word, then the runs) and a value
// list, each of RLS_WORKLIST_SIZE bytes; 1 when a run was found (both byte counts set), else 0.
int rls_packDWORD(const uint32_t* _pSrc, int _iBytes, uint32_t* _pRuns, int* _pRunBytes,
                  uint32_t* _pValues, int* _pValueBytes, int _iPositionMode);
int rls_packWORD(const uint16_t* _pSrc, int _iBytes, uint32_t* _pRuns, int* _pRunBytes,
                 uint16_t* _pValues, int* _pValueBytes, int _iPositionMode);
void rls_store(const void* _pSrc, int _iBytes, void* _pOut, int* _pSize);
void rls_join(void* _pOut, const void* _pRuns, int _iRunBytes, const void* _pValues,
              int _iValueBytes, int _iBytes);

#endif
