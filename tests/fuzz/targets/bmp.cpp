// BMP file images: the check against the image's size, pixel and palette reads of a checked
// image, and the 24- and 32-bit conversions.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kelto/graphics/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::vector<unsigned char> vImage(_pData, _pData + _uSize);
    const int iSize = static_cast<int>(vImage.size());
    const void* pImage = iSize ? vImage.data() : nullptr;
    BMP_INFO stInfo;
    if (BMP_Check(pImage, iSize, &stInfo) == 1) {
        // 18 places on each axis, the first and last outside the image.
        for (int j = 0; j < 18; ++j) {
            const int y = static_cast<int>(-1 + (static_cast<long long>(stInfo.iHeight) + 1) * j / 17);
            for (int k = 0; k < 18; ++k) {
                const int x = static_cast<int>(-1 + (static_cast<long long>(stInfo.iWidth) + 1) * k / 17);
                BMP_GetPixel(&stInfo, x, y);
            }
        }
        for (unsigned i = 0; i <= stInfo.wPalette && i < 300; ++i) BMP_GetPalette(&stInfo, i);
    }
    void* pOut = nullptr;
    // A conversion gives a sound image of the size it states.
    const int iOut = BMP_To24(pImage, iSize, &pOut);
    if (iOut > 0 && BMP_Check(pOut, iOut, nullptr) != 1) __builtin_trap();
    delete[] static_cast<unsigned char*>(pOut);
    pOut = nullptr;
    const int iOut32 = BMP_To32(pImage, iSize, &pOut);
    if (iOut32 > 0 && BMP_Check(pOut, iOut32, nullptr) != 1) __builtin_trap();
    delete[] static_cast<unsigned char*>(pOut);
    return 0;
}
