// The FILT_ rewrites and FILT_Calculate on a text in a block of exactly its length and
// terminator (StringRelief: with a little room after it).
// Input: one byte choosing the quote unit and options, then the text as UTF-16LE.
#include <cstdint>
#include <vector>

#include "kelto/string/filter.h"
#include "tests/fuzz/support/fuzz.h"

namespace {

int checkedLength(int _iLength, int _iRoom)
{
    if (_iLength < 0 || _iLength > _iRoom) __builtin_trap();
    return _iLength;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    const uint8_t uFlags = _pData[0];
    const wchar_t cQuote = (uFlags & 1) ? L'"' : (uFlags & 2) ? L'\'' : 0;
    const std::wstring strText = fuzz_units(_pData + 1, _uSize - 1);
    const int iLength = static_cast<int>(strText.size());

    {
        std::vector<wchar_t> v = fuzz_terminated(strText);
        int n = checkedLength(FILT_deleteREM(v.data(), iLength, L"//", L"/*", L"*/", cQuote), iLength);
        n = checkedLength(FILT_deleteTailSpace(v.data(), n), n);
        n = checkedLength(FILT_deleteEmptyLine(v.data(), n), n);
        FILT_upper(v.data(), n, cQuote);
        FILT_lower(v.data(), n, cQuote);
    }
    {
        std::vector<wchar_t> v = fuzz_terminated(strText);
        checkedLength(FILT_deleteREM(v.data(), iLength, (uFlags & 4) ? L";" : nullptr, L"{", L"}", cQuote), iLength);
    }
    {
        std::vector<wchar_t> v = fuzz_terminated(strText);
        checkedLength(FILT_squeezeSpace(v.data(), iLength, cQuote), iLength);
    }
    {
        // Room for the quotes it adds.
        const int iRoom = iLength * 2 + 8;
        std::vector<wchar_t> v = fuzz_terminated(strText);
        v.resize(iRoom + 1, 0);
        checkedLength(FILT_StringRelief(v.data(), iRoom, (uFlags & 8) ? L';' : 0, uFlags & 16, L'"'), iRoom);
    }
    {
        std::vector<wchar_t> v = fuzz_terminated(strText);
        const int iStart = iLength ? (uFlags >> 5) % (iLength + 1) : 0;
        FILT_Calculate(v.data(), iLength, iStart, cQuote);
        if (v[iLength] != 0) __builtin_trap();
        std::vector<wchar_t> w = fuzz_terminated(strText);
        FILT_Calculate(w.data(), 0, 0, cQuote);
    }
    return 0;
}
