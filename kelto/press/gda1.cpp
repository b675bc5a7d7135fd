// GDA1 blocks: checks, expansion on CUnPress or the decoder copies, and the writers.
#include "kelto/press/gda1.h"

#include "kelto/memory/mem.h"
#include "kelto/press/press.h"
#include "kelto/press/unpress.h"
#include "kelto/tools/busy.h"

namespace {

uint32_t readLe32(const unsigned char* _p)
{
    return uint32_t(_p[0]) | (uint32_t(_p[1]) << 8) | (uint32_t(_p[2]) << 16) | (uint32_t(_p[3]) << 24);
}

void writeLe32(unsigned char* _p, uint32_t _u)
{
    for (int i = 0; i < 4; ++i) _p[i] = static_cast<unsigned char>(_u >> (8 * i));
}

void writeHeader(unsigned char* _p, uint32_t _uExpanded, uint32_t _uPayload)
{
    _p[0] = 'G'; _p[1] = 'D'; _p[2] = 'A'; _p[3] = '1';
    writeLe32(_p + 4, _uExpanded);
    writeLe32(_p + 8, _uPayload);
}

const uint16_t kPressBits[] = {13, 12, 11, 10};

bool s_bCopyFailed = false;
void noteCopyFailure() { s_bCopyFailed = true; }

} // namespace

int gda1_check(const void* _pBlock, uint32_t _uSize, uint32_t* _pExpanded, uint32_t* _pPayload)
{
    const unsigned char* p = static_cast<const unsigned char*>(_pBlock);
    if (!p || _uSize < GDA1_HEADER_SIZE) return 0;
    if (p[0] != 'G' || p[1] != 'D' || p[2] != 'A' || p[3] != '1') return 0;
    const uint32_t uExpanded = readLe32(p + 4);
    const uint32_t uPayload = readLe32(p + 8);
    if (uPayload > _uSize - GDA1_HEADER_SIZE || uExpanded > GDA1_MAX_EXPANDED) return 0;
    if (_pExpanded) *_pExpanded = uExpanded;
    if (_pPayload) *_pPayload = uPayload;
    return 1;
}

int EXPA_GDA1(unsigned char** _ppBlock, uint32_t _uSize, unsigned char** _ppOut)
{
    if (!_ppBlock || !_ppOut) return 0;
    uint32_t uExpanded = 0, uPayload = 0;
    if (!gda1_check(*_ppBlock, _uSize, &uExpanded, &uPayload)) return 0;
    MEM_free(_ppOut);
    *_ppOut = KELTO_NEW("EXPA_GDA1") unsigned char[uExpanded ? uExpanded : 1];
    if (!*_ppOut) return 0;
    CUnPress cDecoder;
    cDecoder.Begin(*_ppBlock + GDA1_HEADER_SIZE, uPayload, *_ppOut, uExpanded);
    while (!cDecoder.Step()) BUSY_poll();
    if (cDecoder.Failed() || cDecoder.OutCount() != uExpanded) {
        MEM_free(_ppOut);
        return 0;
    }
    return static_cast<int>(uExpanded);
}

int gda1_expand(unsigned char** _ppOut, const void* _pBlock, uint32_t _uSize)
{
    unsigned char* pBlock = static_cast<unsigned char*>(const_cast<void*>(_pBlock));
    if (!gda1_check(pBlock, _uSize, 0, 0)) return 0;
    return EXPA_GDA1(&pBlock, _uSize, _ppOut);
}

int gda1_begin(CUnPress* _pDecoder, void* _pOut, uint32_t _uRoom, const void* _pBlock, uint32_t _uSize)
{
    uint32_t uExpanded = 0, uPayload = 0;
    if (!_pDecoder || !_pOut || !gda1_check(_pBlock, _uSize, &uExpanded, &uPayload)) return 0;
    if (uExpanded > _uRoom) return 0;
    _pDecoder->Begin(static_cast<const unsigned char*>(_pBlock) + GDA1_HEADER_SIZE, uPayload, _pOut, uExpanded);
    return static_cast<int>(uExpanded);
}

int gda1_pressFile(const char* _szSrc, FILE* _pOut, uint32_t* _pExpanded, uint32_t* _pCompressed)
{
    if (!_szSrc || !_pOut) return 0;
    FILE* pSrc = std::fopen(_szSrc, "rb");
    if (!pSrc) return 0;
    bool bStarted = false;
    for (uint16_t uBits : kPressBits) {
        if (PRESS_Start(_pOut, uBits, 0)) { bStarted = true; break; }
    }
    if (!bStarted) {
        std::fclose(pSrc);
        return 0;
    }
    for (int c; (c = std::fgetc(pSrc)) != EOF;) PRESS_Put(static_cast<unsigned char>(c));
    const bool bReadError = std::ferror(pSrc) != 0;
    uint32_t uIn = 0;
    const uint32_t uOut = PRESS_Finish(&uIn);
    std::fclose(pSrc);
    if (bReadError) return 0;
    if (_pExpanded) *_pExpanded = uIn;
    if (_pCompressed) *_pCompressed = uOut;
    return 1;
}

int GDA1_PressFile(const char* _szSrc, const char* _szDst, uint32_t* _pExpanded, uint32_t* _pGda1Size)
{
    if (!_szSrc || !_szDst || !_pGda1Size) return 0;
    // A source that cannot be read must not cost the destination its old contents.
    FILE* pProbe = std::fopen(_szSrc, "rb");
    if (!pProbe) return 0;
    std::fclose(pProbe);
    FILE* pDst = std::fopen(_szDst, "wb");
    if (!pDst) return 0;
    // Placeholders that no reader takes for a block: a file left by a failed run is
    // refused instead of reading as an empty block.
    unsigned char aHeader[GDA1_HEADER_SIZE];
    writeHeader(aHeader, 0xFFFFFFFFu, 0xFFFFFFFFu);
    std::fwrite(aHeader, 1, sizeof(aHeader), pDst);
    uint32_t uExpanded = 0, uCompressed = 0;
    if (!gda1_pressFile(_szSrc, pDst, &uExpanded, &uCompressed)) {
        std::fclose(pDst);
        return 0;
    }
    writeHeader(aHeader, uExpanded, uCompressed);
    bool bOk = std::fflush(pDst) == 0 && std::fseek(pDst, 0, SEEK_SET) == 0 &&
               std::fwrite(aHeader, 1, sizeof(aHeader), pDst) == sizeof(aHeader);
    bOk = std::fclose(pDst) == 0 && bOk;
    if (!bOk) return 0;
    if (_pExpanded) *_pExpanded = uExpanded;
    *_pGda1Size = uCompressed + GDA1_HEADER_SIZE;
    return 1;
}

int gda1_pressMem(const void* _pSrc, void* _pDst, uint32_t _uRoom, uint32_t* _pSize, uint32_t* _pCompressed)
{
    if (!_pDst || !_pSize || (!_pSrc && *_pSize)) return 0;
    bool bStarted = false;
    for (uint16_t uBits : kPressBits) {
        if (PRESS_MemStart(static_cast<unsigned char*>(_pDst), _uRoom, uBits, 0)) { bStarted = true; break; }
    }
    if (!bStarted) return 0;
    const unsigned char* pSrc = static_cast<const unsigned char*>(_pSrc);
    for (uint32_t i = 0; i < *_pSize; ++i) PRESS_MemPut(pSrc[i]);
    uint32_t uIn = 0;
    const uint32_t uOut = PRESS_MemFinish(&uIn);
    if (uIn > 0 && uOut == 0) return 0;  // the stream did not fit the room
    *_pSize = uIn;
    if (_pCompressed) *_pCompressed = uOut;
    return 1;
}

int GDA1_PressMem(const void* _pSrc, void* _pDst, uint32_t _uRoom, uint32_t* _pSize, uint32_t* _pGda1Size)
{
    if (!_pDst || !_pSize || !_pGda1Size || _uRoom < GDA1_HEADER_SIZE) return 0;
    unsigned char* pDst = static_cast<unsigned char*>(_pDst);
    uint32_t uCompressed = 0;
    if (!gda1_pressMem(_pSrc, pDst + GDA1_HEADER_SIZE, _uRoom - GDA1_HEADER_SIZE, _pSize, &uCompressed)) return 0;
    writeHeader(pDst, *_pSize, uCompressed);
    *_pGda1Size = uCompressed + GDA1_HEADER_SIZE;
    return 1;
}

// Copies every chunk of a started decoder copy out of its window; 1, or 0 on damage.
static int gda1_drain(unsigned char* _pWindow, uint16_t (*_pDecode)(UNPRESS_HANDLER), void* _pOut,
                      uint32_t _uRoom, uint32_t* _pDone)
{
    unsigned char* pOut = static_cast<unsigned char*>(_pOut);
    uint32_t uDone = 0;
    s_bCopyFailed = false;
    for (uint16_t n; (n = _pDecode(noteCopyFailure)) != 0;) {
        if (n > _uRoom - uDone) {
            s_bCopyFailed = true;
            break;
        }
        MEM_copy(pOut + uDone, _pWindow, n);
        uDone += n;
    }
    if (_pDone) *_pDone = uDone;
    return s_bCopyFailed ? 0 : 1;
}

int gda1_expandMem(const void* _pPayload, void* _pOut, uint32_t _uPayload, uint32_t _uRoom, uint32_t* _pDone)
{
    if (_pDone) *_pDone = 0;
    if (!_pOut || (!_pPayload && _uPayload)) return 0;
    unsigned char* pWindow = UNPRESS_MemStart(_pPayload, _uPayload);
    if (!pWindow) return 0;
    const int iDone = gda1_drain(pWindow, UNPRESS_MemDecode, _pOut, _uRoom, _pDone);
    UNPRESS_MemEnd();
    return iDone;
}

int gda1_expandFile(FILE* _pIn, void* _pOut, uint32_t _uRoom, uint32_t* _pDone)
{
    if (_pDone) *_pDone = 0;
    if (!_pIn) return 0;
    unsigned char* pWindow = _pOut ? UNPRESS_Start(_pIn) : 0;
    if (!pWindow) {
        std::fclose(_pIn);
        return 0;
    }
    const int iDone = gda1_drain(pWindow, UNPRESS_Decode, _pOut, _uRoom, _pDone);
    UNPRESS_End();
    return iDone;
}
