// Block decoder: GDA1 blocks (check, expansion into a block of the stated size, the stepped
// decoder within a bounded room) and raw streams through the decoder copies.
// Input: one byte of room (in 256-byte steps), then a GDA1 block or a raw stream.
#include <cstdint>
#include <cstring>
#include <vector>

#include "kelto/memory/mem.h"
#include "kelto/press/gda1.h"
#include "kelto/press/unpress.h"

// Blocks that state more than this are checked and begun, but not expanded whole.
static const uint32_t kExpandLimit = 1u << 20;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    const uint32_t uRoom = uint32_t(_pData[0]) * 256u + 1u;
    // The block in a copy of exactly its size, so a read past it is a report.
    std::vector<unsigned char> vBlock(_pData + 1, _pData + _uSize);
    const uint32_t uBlock = static_cast<uint32_t>(vBlock.size());
    const unsigned char* pBlock = uBlock ? vBlock.data() : nullptr;

    uint32_t uExpanded = 0, uPayload = 0;
    if (gda1_check(pBlock, uBlock, &uExpanded, &uPayload)) {
        if (uExpanded <= kExpandLimit) {
            unsigned char* pOut = nullptr;
            const int iSize = gda1_expand(&pOut, pBlock, uBlock);
            if (iSize > 0 && static_cast<uint32_t>(iSize) != uExpanded) __builtin_trap();
            MEM_free(&pOut);
        }
        std::vector<unsigned char> vOut(uRoom);
        CUnPress* pDecoder = new CUnPress;
        if (gda1_begin(pDecoder, vOut.data(), uRoom, pBlock, uBlock)) {
            while (!pDecoder->Step()) {}
            if (pDecoder->OutCount() > uRoom) __builtin_trap();
        }
        delete pDecoder;
    }

    // The same bytes as a raw stream: the decoder on a bounded output, then the memory copy.
    {
        std::vector<unsigned char> vOut(uRoom);
        CUnPress* pDecoder = new CUnPress;
        pDecoder->Begin(pBlock, uBlock, vOut.data(), uRoom);
        while (!pDecoder->Step()) {}
        if (pDecoder->OutCount() > uRoom) __builtin_trap();
        delete pDecoder;
        uint32_t uDone = 0;
        gda1_expandMem(pBlock, vOut.data(), uBlock, uRoom, &uDone);
        if (uDone > uRoom) __builtin_trap();
    }
    return 0;
}
