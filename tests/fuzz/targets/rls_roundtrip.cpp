// Round trip of the run-length encoders: what they write must decode to the input exactly,
// in both widths and both position modes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "kelto/press/rls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize > 65536) return 0;
    const uint32_t uSize = static_cast<uint32_t>(_uSize);
    {
        // Whole 32-bit values; both position modes, coded form.
        const int iBytes = static_cast<int>(uSize & ~3u);
        std::vector<uint32_t> vSrc(iBytes / 4 + 1);
        std::memcpy(vSrc.data(), _pData, iBytes);
        for (int iMode = 0; iMode < 2; ++iMode) {
            std::vector<uint32_t> vOut((16 + 2 * iBytes) / 4 + 1);
            int iSize = 1;
            const int iResult = RLS_encodeDWORD(vSrc.data(), vOut.data(), &iSize, iMode, iBytes);
            if (iResult != 1 && iResult != 2) continue;
            std::vector<uint32_t> vBack(iBytes / 4 + 1);
            const int iDone = iMode ? RLS_decodeDWORD(vOut.data(), iSize, vBack.data(), iBytes / 4)
                                    : RLS_decodeDWORDRel(vOut.data(), iSize, vBack.data(), iBytes / 4);
            if (iDone < 0 || std::memcmp(vBack.data(), vSrc.data(), iBytes) != 0) __builtin_trap();
        }
        std::vector<uint16_t> vSrc16(iBytes / 2 + 1);
        std::memcpy(vSrc16.data(), _pData, iBytes);
        for (int iMode = 0; iMode < 2; ++iMode) {
            std::vector<uint32_t> vOut((16 + 2 * iBytes) / 4 + 1);
            int iSize = 1;
            const int iResult = RLS_encodeWORD(vSrc16.data(), vOut.data(), &iSize, iMode, iBytes);
            if (iResult != 1 && iResult != 2) continue;
            std::vector<uint16_t> vBack(iBytes / 2 + 2);
            const int iDone = iMode ? RLS_decodeWORD(vOut.data(), iSize, vBack.data(), iBytes / 2)
                                    : RLS_decodeWORDRel(vOut.data(), iSize, vBack.data(), iBytes / 2);
            if (iDone < 0 || std::memcmp(vBack.data(), vSrc16.data(), iBytes) != 0) __builtin_trap();
        }
    }
    return 0;
}
