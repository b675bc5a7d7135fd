// The spreadsheet commands' texts: a range text and a cell as the spreadsheet sends it
// (unquoted, then trimmed). Input: the text as UTF-16LE.
#include <cstdint>
#include <vector>

#include "kelto/string/string.h"
#include "krelwin/module/xlcell.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    const std::wstring strText = fuzz_units(_pData, _uSize);
    std::vector<wchar_t> vRange = fuzz_terminated(strText);
    XL_RANGE stRange;
    const int iRange = XL_parseRange(vRange.data(), &stRange);
    if (iRange == 1 && (stRange.m_iCol1 <= 0 || stRange.m_iRow1 <= 0 || stRange.m_iCol2 <= 0 || stRange.m_iRow2 <= 0))
        __builtin_trap();

    std::vector<wchar_t> vCell = fuzz_terminated(strText);
    const int iBefore = STRING_len(vCell.data());
    std::vector<wchar_t> vQuoted = vCell;
    // Unquoting only ever shortens the text: the two quotes at least go.
    if (XL_unquote(vQuoted.data()) && STRING_len(vQuoted.data()) > iBefore - 2) __builtin_trap();
    const int iKept = XL_cellText(vCell.data());
    if (iKept != STRING_len(vCell.data()) || iKept > iBefore) __builtin_trap();
    // What is kept never ends in a blank or a control character.
    if (iKept > 0 && vCell[iKept - 1] <= 32) __builtin_trap();
    return 0;
}
