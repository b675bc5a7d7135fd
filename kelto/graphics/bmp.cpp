// Image blocks: creation, description, checks against the block size, pixels, palettes and
// conversion to 24 and 32 bits. Plain C++: no platform calls.
#include "kelto/graphics/bmp.h"

#include "kelto/memory/mem.h"
#include "kelto/tools/busy.h"

#include <climits>
#include <cstring>

namespace {

uint32_t bmp_read32(const unsigned char* _p)
{
    return static_cast<uint32_t>(_p[0]) | static_cast<uint32_t>(_p[1]) << 8 |
           static_cast<uint32_t>(_p[2]) << 16 | static_cast<uint32_t>(_p[3]) << 24;
}

uint16_t bmp_read16(const unsigned char* _p)
{
    return static_cast<uint16_t>(_p[0] | _p[1] << 8);
}

void bmp_write32(unsigned char* _p, uint32_t _u)
{
    _p[0] = static_cast<unsigned char>(_u);
    _p[1] = static_cast<unsigned char>(_u >> 8);
    _p[2] = static_cast<unsigned char>(_u >> 16);
    _p[3] = static_cast<unsigned char>(_u >> 24);
}

void bmp_write16(unsigned char* _p, uint16_t _w)
{
    _p[0] = static_cast<unsigned char>(_w);
    _p[1] = static_cast<unsigned char>(_w >> 8);
}

int bmp_unit(int _iBits)
{
    switch (_iBits) {
    case 1: return 8;
    case 4: return 2;
    case 8: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
    }
}

// Stored 32-bit pixel (bytes b, g, r, a) <-> colour value (r | g << 8 | b << 16).
uint32_t bmp_swapRedBlue(uint32_t _u)
{
    return ((_u >> 16) & 0xFFu) | (_u & 0xFF00u) | ((_u & 0xFFu) << 16);
}

// A 16-bit pixel of an uncompressed image is 5-5-5 (blue in the low bits); each channel is
// widened to 8 bits by repeating its top bits.
uint32_t bmp_colourOf555(uint32_t _u)
{
    const uint32_t uR = (_u >> 10) & 31u, uG = (_u >> 5) & 31u, uB = _u & 31u;
    return ((uR << 3) | (uR >> 2)) | ((uG << 3) | (uG >> 2)) << 8 | ((uB << 3) | (uB >> 2)) << 16;
}

int bmp_convert(const void* _pImage, int _iSize, void** _ppOut, uint16_t _wBits)
{
    if (_ppOut) *_ppOut = 0;
    if (!_pImage || !_ppOut) return 0;
    BMP_INFO stSrc;
    if (BMP_Check(_pImage, _iSize, &stSrc) != 1) return 0;
    void* pNew = 0;
    const int iSize = BMP_Create(&pNew, stSrc.iWidth, stSrc.iHeight, _wBits, 72, 72);
    if (iSize <= 0) return 0;
    const BMP_INFO stDst = BMP_GetInfo(pNew);
    // Rows of width 0 hold nothing, and their count is bounded by no byte of the file.
    for (int y = 0; stSrc.iWidth > 0 && y < stSrc.iHeight; ++y) {
        BUSY_poll();
        for (int x = 0; x < stSrc.iWidth; ++x) {
            const uint32_t uPixel = static_cast<uint32_t>(BMP_GetPixel(&stSrc, x, y));
            uint32_t uColour; // colour value of the pixel
            if (stSrc.wBitCount == 32) {
                if (_wBits == 32) {
                    BMP_SetPixel(&stDst, x, y, static_cast<int>(uPixel));
                    continue;
                }
                uColour = bmp_swapRedBlue(uPixel);
            } else if (stSrc.wBitCount == 24) {
                uColour = uPixel;
            } else if (stSrc.wBitCount == 16) {
                uColour = bmp_colourOf555(uPixel);
            } else {
                uColour = BMP_GetPalette(&stSrc, uPixel);
            }
            const uint32_t uOut = _wBits == 24 ? uColour : (bmp_swapRedBlue(uColour) | 0xFF000000u);
            BMP_SetPixel(&stDst, x, y, static_cast<int>(uOut));
        }
    }
    *_ppOut = pNew;
    return iSize;
}

// The fields of BMP_INFO that the 54 header bytes at _p give, pointers left as they are.
void bmp_describe(const unsigned char* _p, BMP_INFO* _pInfo)
{
    const unsigned char* pInfo = _p + BMP_FILEHEADER_SIZE;
    const uint32_t uOffset = bmp_read32(_p + 10);
    _pInfo->iWidth = static_cast<int32_t>(bmp_read32(pInfo + 4));
    _pInfo->iHeight = static_cast<int32_t>(bmp_read32(pInfo + 8));
    _pInfo->wBitCount = bmp_read16(pInfo + 14);
    const uint32_t uEntries = uOffset >= BMP_HEADER_SIZE ? (uOffset - BMP_HEADER_SIZE) / 4 : 0;
    _pInfo->wPalette = static_cast<uint16_t>(uEntries > 0xFFFFu ? 0xFFFFu : uEntries);
    _pInfo->iUnit = bmp_unit(_pInfo->wBitCount);
    if (_pInfo->iUnit) {
        const int iStride = BMP_Stride(_pInfo->iWidth, _pInfo->wBitCount);
        _pInfo->iStride = iStride > 0 ? iStride : 0;
    }
}

// The block's size as its own file header states it, for the unsized conversions.
int bmp_statedSize(const void* _pImage)
{
    if (!_pImage) return 0;
    const unsigned char* p = static_cast<const unsigned char*>(_pImage);
    if (p[0] != 'B' || p[1] != 'M') return 0;
    const uint32_t uSize = bmp_read32(p + 2);
    return uSize > static_cast<uint32_t>(INT_MAX) ? 0 : static_cast<int>(uSize);
}

} // namespace

int BMP_Stride(int _iWidth, int _iBits)
{
    if (_iWidth < 0) return -1;
    const long long llWidth = _iWidth;
    long long llBytes;
    switch (_iBits) {
    case 1: llBytes = (llWidth + 7) / 8; break;
    case 4: llBytes = (llWidth + 1) / 2; break;
    case 8: llBytes = llWidth; break;
    case 16: llBytes = 2 * llWidth; break;
    case 24: llBytes = 3 * llWidth; break;
    case 32: llBytes = 4 * llWidth; break;
    default: return 0;
    }
    llBytes = (llBytes + 3) & ~3LL;
    return llBytes > INT_MAX ? -1 : static_cast<int>(llBytes);
}

int BMP_Create(void** _ppOut, int _iWidth, int _iHeight, uint16_t _wBits, int _iXResolution,
               int _iYResolution)
{
    if (!_ppOut) return 0;
    *_ppOut = 0;
    if (_wBits != 4 && _wBits != 8 && _wBits != 16 && _wBits != 24 && _wBits != 32) return 0;
    if (_iHeight < 0) return 0;
    const int iStride = BMP_Stride(_iWidth, _wBits);
    if (iStride < 0) return 0;
    const int iEntries = _wBits == 4 ? 16 : _wBits == 8 ? 256 : 0;
    const int iOffset = BMP_HEADER_SIZE + 4 * iEntries;
    long long llSize = iOffset + static_cast<long long>(iStride) * _iHeight;
    llSize = (llSize + 3) & ~3LL;
    if (llSize > INT_MAX) return 0;
    const int iSize = static_cast<int>(llSize);

    unsigned char* p = KELTO_NEW("BMP_Create") unsigned char[iSize];
    if (!p) return 0;
    std::memset(p, 0, static_cast<std::size_t>(iSize));
    p[0] = 'B';
    p[1] = 'M';
    bmp_write32(p + 2, static_cast<uint32_t>(iSize));
    bmp_write32(p + 10, static_cast<uint32_t>(iOffset));
    unsigned char* pInfo = p + BMP_FILEHEADER_SIZE;
    bmp_write32(pInfo + 0, BMP_INFOHEADER_SIZE);
    bmp_write32(pInfo + 4, static_cast<uint32_t>(_iWidth));
    bmp_write32(pInfo + 8, static_cast<uint32_t>(_iHeight));
    bmp_write16(pInfo + 12, 1);
    bmp_write16(pInfo + 14, _wBits);
    bmp_write32(pInfo + 24, static_cast<uint32_t>(_iXResolution));
    bmp_write32(pInfo + 28, static_cast<uint32_t>(_iYResolution));
    for (int i = 0; i < iEntries; ++i) {
        unsigned char* pEntry = p + BMP_HEADER_SIZE + 4 * i;
        pEntry[0] = pEntry[1] = pEntry[2] = static_cast<unsigned char>(i);
    }
    *_ppOut = p;
    return iSize;
}

BMP_INFO BMP_GetInfo(const void* _pImage)
{
    BMP_INFO stInfo;
    std::memset(&stInfo, 0, sizeof stInfo);
    if (!_pImage) return stInfo;
    unsigned char* p = static_cast<unsigned char*>(const_cast<void*>(_pImage));
    bmp_describe(p, &stInfo);
    stInfo.pImage = p;
    stInfo.pInfoHeader = p + BMP_FILEHEADER_SIZE;
    stInfo.pBits = p + bmp_read32(p + 10);
    return stInfo;
}

BMP_INFO BMP_GetInfo(const void* _pImage, int _iSize)
{
    BMP_INFO stInfo;
    std::memset(&stInfo, 0, sizeof stInfo);
    if (!_pImage || _iSize < 0) return stInfo;
    unsigned char* p = static_cast<unsigned char*>(const_cast<void*>(_pImage));
    unsigned char aHead[BMP_HEADER_SIZE] = {};
    std::memcpy(aHead, p, static_cast<std::size_t>(_iSize < BMP_HEADER_SIZE ? _iSize : BMP_HEADER_SIZE));
    bmp_describe(aHead, &stInfo);
    const uint32_t uSize = static_cast<uint32_t>(_iSize);
    const uint32_t uOffset = bmp_read32(aHead + 10);
    stInfo.pImage = p;
    stInfo.pInfoHeader = uSize >= BMP_HEADER_SIZE ? p + BMP_FILEHEADER_SIZE : 0;
    stInfo.pBits = uOffset <= uSize ? p + uOffset : 0;
    const uint32_t uInside = uSize > BMP_HEADER_SIZE ? (uSize - BMP_HEADER_SIZE) / 4 : 0;
    if (stInfo.wPalette > uInside) stInfo.wPalette = static_cast<uint16_t>(uInside);
    return stInfo;
}

int BMP_Check(const void* _pImage, int _iSize, BMP_INFO* _pOut)
{
    if (_pOut) std::memset(_pOut, 0, sizeof *_pOut);
    if (!_pImage || _iSize < 0) return -1;
    if (_iSize < BMP_HEADER_SIZE) return 0;
    const unsigned char* p = static_cast<const unsigned char*>(_pImage);
    if (p[0] != 'B' || p[1] != 'M') return 0;
    const unsigned char* pInfo = p + BMP_FILEHEADER_SIZE;
    const long long llOffset = bmp_read32(p + 10);
    const long long llInfoSize = bmp_read32(pInfo);
    const int32_t iWidth = static_cast<int32_t>(bmp_read32(pInfo + 4));
    const int32_t iHeight = static_cast<int32_t>(bmp_read32(pInfo + 8));
    const int iBits = bmp_read16(pInfo + 14);
    const uint32_t uCompression = bmp_read32(pInfo + 16);
    if (llInfoSize < BMP_INFOHEADER_SIZE || llOffset < BMP_FILEHEADER_SIZE + llInfoSize ||
        llOffset > _iSize)
        return 0;
    // Top-down images (negative height) and packed pixel forms are not handled here; an
    // image without pixels has nothing to convert (and a zero width would let a huge height pass).
    if (iWidth <= 0 || iHeight <= 0 || uCompression != 0 || !bmp_unit(iBits)) return 0;
    const int iStride = BMP_Stride(iWidth, iBits);
    if (iStride < 0) return 0;
    if (static_cast<long long>(iStride) * iHeight > _iSize - llOffset) return 0;
    if (_pOut) *_pOut = BMP_GetInfo(_pImage);
    return 1;
}

int BMP_GetPixel(const BMP_INFO* _pInfo, int _iX, int _iY)
{
    if (!_pInfo || !_pInfo->pBits) return 0;
    if (_iX < 0 || _iX >= _pInfo->iWidth || _iY < 0 || _iY >= _pInfo->iHeight) return 0;
    const unsigned char* pRow =
        _pInfo->pBits + static_cast<std::size_t>(_pInfo->iHeight - 1 - _iY) * _pInfo->iStride;
    switch (_pInfo->wBitCount) {
    case 1: return (pRow[_iX / 8] >> (7 - _iX % 8)) & 1;
    case 4: return (_iX & 1) ? (pRow[_iX / 2] & 0x0F) : (pRow[_iX / 2] >> 4);
    case 8: return pRow[_iX];
    case 16: return bmp_read16(pRow + 2 * _iX);
    case 24: {
        const unsigned char* pPixel = pRow + 3 * _iX;
        return pPixel[2] | pPixel[1] << 8 | pPixel[0] << 16;
    }
    case 32: return static_cast<int>(bmp_read32(pRow + 4 * _iX));
    default: return 0;
    }
}

void BMP_SetPixel(const BMP_INFO* _pInfo, int _iX, int _iY, int _iValue)
{
    if (!_pInfo || !_pInfo->pBits) return;
    if (_iX < 0 || _iX >= _pInfo->iWidth || _iY < 0 || _iY >= _pInfo->iHeight) return;
    unsigned char* pRow =
        _pInfo->pBits + static_cast<std::size_t>(_pInfo->iHeight - 1 - _iY) * _pInfo->iStride;
    const uint32_t uValue = static_cast<uint32_t>(_iValue);
    switch (_pInfo->wBitCount) {
    case 4: {
        unsigned char& rByte = pRow[_iX / 2];
        // Only the low 4 bits: a wider value would spill into the neighbouring pixel.
        if (_iX & 1) rByte = static_cast<unsigned char>((rByte & 0xF0) | (uValue & 0x0F));
        else rByte = static_cast<unsigned char>((rByte & 0x0F) | (uValue & 0x0F) << 4);
        break;
    }
    case 8: pRow[_iX] = static_cast<unsigned char>(uValue); break;
    case 16: bmp_write16(pRow + 2 * _iX, static_cast<uint16_t>(uValue)); break;
    case 24: {
        unsigned char* pPixel = pRow + 3 * _iX;
        pPixel[0] = static_cast<unsigned char>(uValue >> 16);
        pPixel[1] = static_cast<unsigned char>(uValue >> 8);
        pPixel[2] = static_cast<unsigned char>(uValue);
        break;
    }
    case 32: bmp_write32(pRow + 4 * _iX, uValue); break;
    default: break;
    }
}

uint32_t BMP_GetPalette(const BMP_INFO* _pInfo, unsigned _uIndex)
{
    if (!_pInfo || !_pInfo->pImage || _uIndex >= _pInfo->wPalette) return 0;
    const unsigned char* pEntry =
        static_cast<const unsigned char*>(_pInfo->pImage) + BMP_HEADER_SIZE + 4 * _uIndex;
    return pEntry[2] | pEntry[1] << 8 | static_cast<uint32_t>(pEntry[0]) << 16;
}

int BMP_SetPalette(const BMP_INFO* _pInfo, unsigned _uIndex, uint32_t _uColour)
{
    if (!_pInfo || !_pInfo->pImage || _uIndex >= _pInfo->wPalette) return 0;
    unsigned char* pEntry =
        static_cast<unsigned char*>(_pInfo->pImage) + BMP_HEADER_SIZE + 4 * _uIndex;
    pEntry[0] = static_cast<unsigned char>(_uColour >> 16);
    pEntry[1] = static_cast<unsigned char>(_uColour >> 8);
    pEntry[2] = static_cast<unsigned char>(_uColour);
    return 1;
}

int BMP_CopyPalette(BMP_INFO _stSrc, BMP_INFO _stDst, unsigned _uSrcStart, unsigned _uDstStart,
                    unsigned _uCount)
{
    if (!_stSrc.pImage || !_stDst.pImage || _stSrc.wBitCount != _stDst.wBitCount) return 0;
    const unsigned uMax = _stSrc.wBitCount == 4 ? 16u : _stSrc.wBitCount == 8 ? 256u : 0u;
    if (_uSrcStart > uMax || _uDstStart > uMax || _uCount > uMax) return 0;
    // A file image may carry fewer entries than its depth allows: stay inside each palette.
    const unsigned uSrcEnd = _stSrc.wPalette < uMax ? _stSrc.wPalette : uMax;
    const unsigned uDstEnd = _stDst.wPalette < uMax ? _stDst.wPalette : uMax;
    unsigned uCount = _uCount;
    if (_uSrcStart + uCount > uSrcEnd) uCount = _uSrcStart < uSrcEnd ? uSrcEnd - _uSrcStart : 0;
    if (_uDstStart + uCount > uDstEnd) uCount = _uDstStart < uDstEnd ? uDstEnd - _uDstStart : 0;
    std::memmove(static_cast<unsigned char*>(_stDst.pImage) + BMP_HEADER_SIZE + 4 * _uDstStart,
                 static_cast<const unsigned char*>(_stSrc.pImage) + BMP_HEADER_SIZE + 4 * _uSrcStart,
                 4 * uCount);
    return 1;
}

int BMP_To24(const void* _pImage, void** _ppOut)
{
    return bmp_convert(_pImage, bmp_statedSize(_pImage), _ppOut, 24);
}

int BMP_To24(const void* _pImage, int _iSize, void** _ppOut)
{
    return bmp_convert(_pImage, _iSize, _ppOut, 24);
}

int BMP_To32(const void* _pImage, void** _ppOut)
{
    return bmp_convert(_pImage, bmp_statedSize(_pImage), _ppOut, 32);
}

int BMP_To32(const void* _pImage, int _iSize, void** _ppOut)
{
    return bmp_convert(_pImage, _iSize, _ppOut, 32);
}
