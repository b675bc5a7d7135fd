// CANZ archives held in memory: header, member lookup by name and by number, sizes and
// the expansion of GDA1 members into a bounded room, and the member read from a file.
// Input: a name of up to 15 bytes ended by a zero byte, then the archive.
#include <cstdint>
#include <cstring>
#include <vector>

#include "kelto/memory/mem.h"
#include "kelto/press/canz.h"
#include "kelto/press/gda1.h"
#include "kelto/press/unpress.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    size_t uName = 0;
    while (uName < _uSize && uName < 15 && _pData[uName]) ++uName;
    wchar_t szName[16];
    for (size_t i = 0; i < uName; ++i) szName[i] = _pData[i];
    szName[uName] = 0;
    const size_t uSkip = uName < _uSize ? uName + 1 : uName;
    std::vector<unsigned char> vArchive(_pData + uSkip, _pData + _uSize);
    const uint32_t uArchive = static_cast<uint32_t>(vArchive.size());
    const unsigned char* pArchive = uArchive ? vArchive.data() : nullptr;

    CANZ_HEADER stHeader;
    if (!canz_readHeader(pArchive, uArchive, &stHeader)) return 0;
    CANZ_ENTRY stEntry;
    canz_findEntry(szName, pArchive, uArchive, &stEntry);
    CANZ_MEM_GetSizeName(pArchive, uArchive, szName);
    const uint32_t uRoom = 4096;
    std::vector<unsigned char> vOut(uRoom);
    for (int i = -1; i <= stHeader.m_uCount && i < 64; ++i) {
        canz_getEntry(i, pArchive, uArchive, &stEntry);
        const uint32_t uSize = CANZ_MEM_GetSizeIndex(pArchive, uArchive, i);
        (void)uSize;
        const int iDone = CANZ_MEM_ExpandIndex(vOut.data(), uRoom, pArchive, uArchive, i);
        if (iDone < 0 || static_cast<uint32_t>(iDone) > uRoom) __builtin_trap();
    }
    if (CANZ_MEM_GetSizeName(pArchive, uArchive, szName) <= (1u << 20)) {
        unsigned char* pOut = nullptr;
        CANZ_MEM_ExpandName(&pOut, pArchive, uArchive, szName);
        MEM_free(&pOut);
        // The same archive as a file: header and index loaded, then the member read.
        const std::wstring strPath = fuzz_file(L"archive.canz", pArchive, uArchive);
        const int iSize = CANZ_ReadFile(&pOut, strPath.c_str(), szName);
        if (iSize > 0 && !pOut) __builtin_trap();
        MEM_free(&pOut);
    }
    CUnPress* pDecoder = new CUnPress;
    if (CANZ_MEM_BeginName(pDecoder, vOut.data(), uRoom, pArchive, uArchive, szName))
        while (!pDecoder->Step()) {}
    delete pDecoder;
    return 0;
}
