// The decoder copies with file-static state: one from a byte stream, one from memory.
// Each keeps its decoder from the first start until its end operation releases it.
#include <new>

#include "kelto/press/unpress.h"

static CUnPress* s_pStreamDecoder = 0;
static FILE* s_pStreamInput = 0;
static CUnPress* s_pMemDecoder = 0;

unsigned char* UNPRESS_Start(FILE* _pStream)
{
    if (!_pStream) return 0;
    if (!s_pStreamDecoder) s_pStreamDecoder = new (std::nothrow) CUnPress;
    if (!s_pStreamDecoder) return 0;
    s_pStreamInput = _pStream;
    return s_pStreamDecoder->InitStream(_pStream);
}

uint16_t UNPRESS_Decode(UNPRESS_HANDLER _pHandler)
{
    return s_pStreamDecoder ? s_pStreamDecoder->uncompress(_pHandler) : 0;
}

void UNPRESS_End()
{
    if (s_pStreamInput) std::fclose(s_pStreamInput);
    s_pStreamInput = 0;
    delete s_pStreamDecoder;
    s_pStreamDecoder = 0;
}

unsigned char* UNPRESS_MemStart(const void* _pIn, uint32_t _uInSize)
{
    if (!s_pMemDecoder) s_pMemDecoder = new (std::nothrow) CUnPress;
    if (!s_pMemDecoder) return 0;
    return s_pMemDecoder->Init(_pIn, _uInSize);
}

uint16_t UNPRESS_MemDecode(UNPRESS_HANDLER _pHandler)
{
    return s_pMemDecoder ? s_pMemDecoder->uncompress(_pHandler) : 0;
}

void UNPRESS_MemEnd()
{
    delete s_pMemDecoder;
    s_pMemDecoder = 0;
}
