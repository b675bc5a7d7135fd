// Run-length decoders: the 32- and 16-bit forms with absolute and relative positions.
// Input: one byte of room (values), then the RLS data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kelto/press/rls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    const int iCount = _pData[0] * 4;
    std::vector<unsigned char> vData(_pData + 1, _pData + _uSize);
    const int iBytes = static_cast<int>(vData.size());
    const void* pData = iBytes ? vData.data() : nullptr;
    std::vector<uint32_t> vDword(iCount ? iCount : 1);
    std::vector<uint16_t> vWord(iCount ? iCount : 1);
    RLS_decodeDWORD(pData, iBytes, vDword.data(), iCount);
    RLS_decodeDWORDRel(pData, iBytes, vDword.data(), iCount);
    RLS_decodeWORD(pData, iBytes, vWord.data(), iCount);
    RLS_decodeWORDRel(pData, iBytes, vWord.data(), iCount);
    return 0;
}
