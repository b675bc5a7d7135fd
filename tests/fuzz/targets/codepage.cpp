// The code-page converters: counted conversions between UTF-16, the system code page (932)
// and UTF-8 with their size queries, the character-size and length scans, the encoding
// guess and the owning converters.
// Input: one byte of flags, then the bytes (read as 8-bit text and as UTF-16LE units).
#include <cstdint>
#include <cstring>
#include <vector>

#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "tests/fuzz/support/fuzz.h"

namespace {

void checkSize(int _iSize, int _iWritten)
{
    // A conversion writes no more than its size query said.
    if (_iWritten > _iSize) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    CMOJIUTIL cMoji;
    cMoji.m_iBom = _pData[0] & 1;
    std::vector<char> vBytes(_pData + 1, _pData + _uSize);
    const int iBytes = static_cast<int>(vBytes.size());
    const char* pBytes = iBytes ? vBytes.data() : "";
    const std::wstring strUnits = fuzz_units(_pData + 1, _uSize - 1);
    std::vector<wchar_t> vUnits(strUnits.begin(), strUnits.end());
    const int iUnits = static_cast<int>(vUnits.size());

    {
        const int iSize = cMoji.MbToWcSize(pBytes, iBytes);
        std::vector<wchar_t> vOut(iSize > 0 ? iSize : 1);
        checkSize(iSize, cMoji.MbToWc(pBytes, iBytes, vOut.data()));
        // Any bytes come back from their text byte for byte, unit by unit, but for valid
        // codes that have a twin (two bytes for two, which decode to the same unit).
        CMOJIUTIL cPlain;
        const int iUnits0 = cPlain.MbToWcSize(pBytes, iBytes);
        std::vector<wchar_t> vText(iUnits0 > 0 ? iUnits0 : 1);
        if (cPlain.MbToWc(pBytes, iBytes, vText.data()) != iUnits0) __builtin_trap();
        const int iBack = cPlain.WcToMbSize(vText.data(), iUnits0);
        std::vector<char> vBack(iBack > 0 ? iBack : 1);
        if (cPlain.WcToMb(vText.data(), iUnits0, vBack.data()) != iBack) __builtin_trap();
        if (iBack != iBytes) __builtin_trap();
        int iPos = 0;
        for (int i = 0; i < iUnits0; ++i) {
            char aOne[4];
            const int iOne = cPlain.WcToMb(&vText[i], 1, aOne);
            if (iOne < 1 || iOne > 2 || iPos + iOne > iBack) __builtin_trap();
            if (std::memcmp(vBack.data() + iPos, aOne, static_cast<size_t>(iOne)) != 0) __builtin_trap();
            if (std::memcmp(pBytes + iPos, aOne, static_cast<size_t>(iOne)) != 0) {
                wchar_t aAgain[2];
                if (iOne != 2 || MOJI_isByteEscape(vText[i]) || cPlain.MbToWc(pBytes + iPos, 2, aAgain) != 1 ||
                    aAgain[0] != vText[i])
                    __builtin_trap();
            }
            iPos += iOne;
        }
        if (iPos != iBytes) __builtin_trap();
    }
    {
        const int iSize = cMoji.Utf8ToWcSize(pBytes, iBytes);
        std::vector<wchar_t> vOut(iSize > 0 ? iSize : 1);
        checkSize(iSize, cMoji.Utf8ToWc(pBytes, iBytes, vOut.data()));
    }
    if (iUnits) {
        const int iSize = cMoji.WcToMbSize(vUnits.data(), iUnits);
        std::vector<char> vOut(iSize > 0 ? iSize : 1);
        checkSize(iSize, cMoji.WcToMb(vUnits.data(), iUnits, vOut.data()));
        const int iSize8 = cMoji.WcToUtf8Size(vUnits.data(), iUnits);
        std::vector<char> vOut8(iSize8 > 0 ? iSize8 : 1);
        checkSize(iSize8, cMoji.WcToUtf8(vUnits.data(), iUnits, vOut8.data()));
        std::vector<wchar_t> vSwap(vUnits);
        cMoji.SwapByte(vSwap.data(), iUnits);
    }
    for (int i = 0; i < iBytes && i < 64; ++i) cMoji.SjisCharSize(pBytes + i, iBytes - i);
    cMoji.SjisLength(pBytes, iBytes);
    cMoji.Utf8Length(pBytes, iBytes);
    cMoji.ScanJisEuc(pBytes, iBytes);
    cMoji.CheckCodeType(pBytes, iBytes);

    // The owning converters take terminated texts.
    std::vector<char> vText(vBytes);
    vText.push_back(0);
    CTOUTF16 cWide(vText.data());
    std::vector<wchar_t> vWide = fuzz_terminated(strUnits);
    CTOSJIS cNarrow(vWide.data());
    if (cNarrow.Get()) {
        CTOUTF16 cBack(cNarrow.Get());
    }
    return 0;
}
