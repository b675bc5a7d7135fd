// D2PACK layout texts: the texture and external-name scans.
// Input: the layout text as UTF-16LE.
#include <cstdint>
#include <string>
#include <vector>

#include "krelwin/module/d2pack.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    const std::wstring strText = fuzz_units(_pData, _uSize);
    std::vector<std::wstring> vNames;
    if (SMPL_D2PACK::ScanTextures(strText, &vNames) == SMPL_D2PACK::SCAN_OK && vNames.size() > D2PACK_ENTRY_MAX)
        __builtin_trap();
    std::string strTable;
    int iCount = 0;
    if (SMPL_D2PACK::ScanNames(strText, &strTable, &iCount) == SMPL_D2PACK::SCAN_OK &&
        (strTable.size() > D2PACK_NAMETABLE_MAX || strTable.size() % 4 != 0))
        __builtin_trap();
    return 0;
}
