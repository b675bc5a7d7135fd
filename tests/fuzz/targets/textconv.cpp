// Target-text converters of the commands: ZEN2HAN on a Shift-JIS text and the DUMP text of
// a file's bytes in each unit.
// Input: the file's bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "krelwin/module/common/dump.h"
#include "krelwin/module/zen2han.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::vector<unsigned char> vText(_pData, _pData + _uSize);
    const int iLength = static_cast<int>(vText.size());
    const int iNew = FILT_zen2han(iLength ? vText.data() : nullptr, iLength);
    if (iNew < 0 || iNew > iLength) __builtin_trap();
    for (int iUnit : {1, 2, 4, 3}) DUMP::MakeText(iLength ? _pData : nullptr, iLength, iUnit);
    return 0;
}
