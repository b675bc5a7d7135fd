// WAVE files in memory: the header readers (UTTER, FILECHECK) and the frame levels.
// Input: one byte of frame step, percent and type, then the file.
#include <cstdint>
#include <vector>

#include "krelwin/module/wavevol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    const uint8_t uFlags = _pData[0];
    std::vector<unsigned char> vFile(_pData + 1, _pData + _uSize);
    const uint32_t uFile = static_cast<uint32_t>(vFile.size());
    const unsigned char* pFile = uFile ? vFile.data() : nullptr;

    WAVE_HEADER stHeader;
    for (int iWantData = 0; iWantData < 2; ++iWantData) {
        const int iRead = WAVEVOL::ReadHeader(pFile, uFile, &stHeader, iWantData);
        // A format chunk it names starts inside the file (its body may be cut by the end).
        if (stHeader.uFormatOffset > uFile) __builtin_trap();
        if (iRead == WAVE_READ_OK && iWantData) {
            // The samples it points at lie inside the file.
            if (static_cast<uint64_t>(stHeader.uDataOffset) + stHeader.uDataSize > uFile) __builtin_trap();
        }
    }
    WAVEVOL::ReadFixedHeader(pFile, uFile, &stHeader);
    WAVEVOL cWave;
    const int iStep = uFlags % 61;
    const int iType = (uFlags >> 6) % 4;
    const int iPercent = (uFlags & 0x20) ? 50 : 100;
    const int iNeed = cWave.ConvertData(pFile, uFile, nullptr, 0, iStep, iPercent, iType);
    if (iNeed > 0 && iNeed <= (1 << 20)) {
        std::vector<unsigned char> vOut(iNeed);
        cWave.ConvertData(pFile, uFile, vOut.data(), iNeed, iStep, iPercent, iType);
    }
    return 0;
}
