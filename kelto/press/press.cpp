// The two encoder copies: to a byte stream and to memory.
#include "kelto/press/press.h"

#include "kelto/press/press_encoder.h"

static CPressEncoder s_cStreamEncoder;
static CPressEncoder s_cMemEncoder;

int PRESS_Start(FILE* _pStream, uint16_t _uBits, uint16_t _uVerbose)
{
    if (!_pStream) return 0;
    return s_cStreamEncoder.Start(_pStream, 0, 0, _uBits, _uVerbose);
}

void PRESS_Put(unsigned char _uByte) { s_cStreamEncoder.Put(_uByte); }

uint32_t PRESS_Finish(uint32_t* _pInCount) { return s_cStreamEncoder.Finish(_pInCount); }

int PRESS_MemStart(unsigned char* _pOut, uint32_t _uRoom, uint16_t _uBits, uint16_t _uVerbose)
{
    if (!_pOut) return 0;
    return s_cMemEncoder.Start(0, _pOut, _uRoom, _uBits, _uVerbose);
}

void PRESS_MemPut(unsigned char _uByte) { s_cMemEncoder.Put(_uByte); }

uint32_t PRESS_MemFinish(uint32_t* _pInCount) { return s_cMemEncoder.Finish(_pInCount); }
