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
        // A few pixels of every row, corners included.
        const int iStepX = stInfo.iWidth > 16 ? stInfo.iWidth / 16 : 1;
        const int iStepY = stInfo.iHeight > 16 ? stInfo.iHeight / 16 : 1;
        for (int y = -1; y <= stInfo.iHeight; y += (y < 0 || y + iStepY > stInfo.iHeight ? 1 : iStepY))
            for (int x = -1; x <= stInfo.iWidth; x += (x < 0 || x + iStepX > stInfo.iWidth ? 1 : iStepX))
                BMP_GetPixel(&stInfo, x, y);
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
