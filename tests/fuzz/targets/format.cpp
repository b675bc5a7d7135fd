// STRING_vsprintf: formats written in the text, each conversion given an argument of the
// kind it takes, into an output block of exactly the room given.
// Input: one byte of room, then the format as UTF-16LE; the arguments come from the format's
// own units. The format is cut at each '%' and each piece formatted on its own, so that
// every conversion meets the argument it reads. On x86-64 an integer, a pointer and a
// '*' value each take one 64-bit slot, and doubles and long doubles slots of their own,
// so one call form serves every piece.
#include <cstdint>
#include <cstring>
#include <vector>

#include "kelto/string/string.h"
#include "tests/fuzz/support/fuzz.h"

namespace {

bool isSpecUnit(wchar_t _c)
{
    return _c == L'-' || _c == L'+' || _c == L' ' || _c == L'#' || _c == L'.' || _c == L'*' ||
           (_c >= L'0' && _c <= L'9') || _c == L'h' || _c == L'l' || _c == L'w' || _c == L'I' || _c == L'L';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    const int iRoom = _pData[0] % 80 + 1;
    const std::wstring strFormat = fuzz_units(_pData + 1, _uSize - 1);

    // Text arguments readable as wide or as 8-bit text: the format's bytes, then four zeros.
    std::vector<unsigned char> vText(_pData + 1, _pData + _uSize);
    if (vText.size() > 64) vText.resize(64);
    vText.insert(vText.end(), 4, 0);

    size_t uPos = 0;
    unsigned uSeed = 0;
    while (uPos < strFormat.size()) {
        size_t uEnd = strFormat.find(L'%', uPos + 1);
        if (uEnd == std::wstring::npos) uEnd = strFormat.size();
        std::vector<wchar_t> vPiece = fuzz_terminated(strFormat.substr(uPos, uEnd - uPos));
        uPos = uEnd;

        // The conversion: first unit after the flags, width, precision and size.
        int iStars = 0;
        bool bLongDouble = false;
        size_t i = 1;
        while (i + 1 < vPiece.size() && isSpecUnit(vPiece[i])) {
            if (vPiece[i] == L'*') ++iStars;
            if (vPiece[i] == L'L') bLongDouble = true;
            ++i;
        }
        const wchar_t cConv = vPiece[0] == L'%' && i < vPiece.size() ? vPiece[i] : 0;
        long long aArg[3];
        for (int k = 0; k < 3; ++k) {
            uSeed = uSeed * 1103515245u + 12345u + vPiece[0];
            // Widths and precisions as callers give them; values of any size.
            aArg[k] = k < iStars ? static_cast<long long>(uSeed % 2001) - 1000
                                 : static_cast<long long>(uSeed) * 0x10001LL - (1LL << 40);
        }
        if (cConv == L's' || cConv == L'S' || cConv == L'p' || cConv == L'n')
            aArg[iStars < 3 ? iStars : 2] = reinterpret_cast<long long>(vText.data());
        const double dValue = static_cast<double>(aArg[iStars < 3 ? iStars : 2]) / 7.0;

        std::vector<wchar_t> vOut(iRoom);
        int iResult;
        if (bLongDouble)
            iResult = STRING_sprintf(vOut.data(), iRoom, vPiece.data(), aArg[0], aArg[1], aArg[2],
                                     static_cast<long double>(dValue));
        else
            iResult = STRING_sprintf(vOut.data(), iRoom, vPiece.data(), aArg[0], aArg[1], aArg[2], dValue);
        if (iResult < -1 || iResult >= iRoom) __builtin_trap();
        size_t uLen = 0;
        while (uLen < static_cast<size_t>(iRoom) && vOut[uLen]) ++uLen;
        if (uLen == static_cast<size_t>(iRoom)) __builtin_trap();  // not terminated within the room
    }
    return 0;
}
