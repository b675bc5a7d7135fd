// Round trip of the block encoder: the GDA1 block it writes must expand to the input exactly.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "kelto/memory/mem.h"
#include "kelto/press/gda1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize > 65536) return 0;
    const uint32_t uSize = static_cast<uint32_t>(_uSize);
    {
        // Room for any stream: stored-like growth is bounded well below this.
        const uint32_t uRoom = uSize + uSize / 4 + 1024;
        std::vector<unsigned char> vBlock(uRoom);
        uint32_t uIn = uSize, uBlock = 0;
        if (!GDA1_PressMem(_pData, vBlock.data(), uRoom, &uIn, &uBlock)) __builtin_trap();
        if (uIn != uSize || uBlock > uRoom) __builtin_trap();
        unsigned char* pOut = nullptr;
        const int iOut = gda1_expand(&pOut, vBlock.data(), uBlock);
        if (uSize && (iOut != static_cast<int>(uSize) || std::memcmp(pOut, _pData, uSize) != 0)) __builtin_trap();
        MEM_free(&pOut);
    }
    return 0;
}
