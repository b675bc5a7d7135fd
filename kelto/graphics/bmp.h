// In-memory bitmaps: every image is a complete BMP file (file header, 40-byte info header,
// palette, bottom-up rows padded to 4 bytes) held in one block, described by BMP_INFO and
// read and written only through these functions. Colour values are red | green << 8 |
// blue << 16. The drawing, palette, capture and system-colour functions that need GDI are
// declared in kelto/graphics/win32/gdi.h.
#ifndef KELTO_GRAPHICS_BMP_H
#define KELTO_GRAPHICS_BMP_H

#include <cstdint>

// Byte sizes of the two headers at the start of an image block.
#define BMP_FILEHEADER_SIZE 14
#define BMP_INFOHEADER_SIZE 40
#define BMP_HEADER_SIZE 54

// Describes an image block; owns nothing.
struct BMP_INFO {
    void* pImage;          // the block
    void* pInfoHeader;     // block + 14
    unsigned char* pBits;  // block + the stored pixel offset
    int iUnit;             // pixels per byte at 1 and 4 bits, bytes per pixel from 8 bits up
    int iStride;           // bytes per stored row
    int iHeight;
    int iWidth;
    uint16_t wBitCount;
    uint16_t wPalette;     // palette entries: (pixel offset - 54) / 4
};

// A new image of 4, 8, 16, 24 or 32 bits: grey-index palette (entry i = i, i, i), all pixels 0.
// The block goes to *_ppOut (released with delete[]); the result is its size in bytes. 0, and
// *_ppOut null, for another bit count, a negative size, a size past 2 GiB or no memory.
int BMP_Create(void** _ppOut, int _iWidth, int _iHeight, uint16_t _wBits, int _iXResolution,
               int _iYResolution);

// Describes a block without checking it: for blocks made here. A file image is described
// through BMP_Check, which checks its headers against the block's size first.
BMP_INFO BMP_GetInfo(const void* _pImage);
// Describes the _iSize bytes at _pImage the same way, checking nothing and reading nothing
// past them: header bytes past the end count as 0, pBits is null when the pixel offset lies
// past the end and the palette count stops at the entries inside. For showing a file's
// header as it stands; pixels of a file image are read only after BMP_Check.
BMP_INFO BMP_GetInfo(const void* _pImage, int _iSize);

// Checks that the _iSize bytes at _pImage hold a whole uncompressed bottom-up image of 1, 4, 8,
// 16, 24 or 32 bits whose palette and rows lie inside the block, and describes it in *_pOut
// (when given). 1 when it does; 0 for a malformed, truncated or unsupported image (*_pOut
// then all zero); -1 for a null image or a negative size.
int BMP_Check(const void* _pImage, int _iSize, BMP_INFO* _pOut);

// x runs left to right, y top to bottom. GetPixel gives the stored index (1, 4, 8 bits), the
// raw word (16, 32 bits) or the colour value (24 bits), and 0 outside the image; SetPixel
// takes the same forms and ignores a place outside the image.
int BMP_GetPixel(const BMP_INFO* _pInfo, int _iX, int _iY);
void BMP_SetPixel(const BMP_INFO* _pInfo, int _iX, int _iY, int _iValue);

// Palette entry as a colour value; 0 for an index past the palette. SetPalette stores the
// colour's red, green and blue (the fourth byte stays): 1, or 0 for an index past the palette.
uint32_t BMP_GetPalette(const BMP_INFO* _pInfo, unsigned _uIndex);
int BMP_SetPalette(const BMP_INFO* _pInfo, unsigned _uIndex, uint32_t _uColour);

// Copies _uCount palette entries between two images of the same depth (4 or 8 bits), cut
// short at the end of either palette. 1, or 0 for unequal depths or a start or count past
// the depth's 16 or 256 entries.
int BMP_CopyPalette(BMP_INFO _stSrc, BMP_INFO _stDst, unsigned _uSrcStart, unsigned _uDstStart,
                    unsigned _uCount);

// A new 24- or 32-bit copy (resolution 72) of an image; the source stays as it was. The size of
// the new block, or 0 for a null or malformed source or no memory. The sized forms check the
// source against the _iSize bytes given (use them for file images); the others take the block's
// own file-size field for its size.
int BMP_To24(const void* _pImage, void** _ppOut);
int BMP_To24(const void* _pImage, int _iSize, void** _ppOut);
int BMP_To32(const void* _pImage, void** _ppOut);
int BMP_To32(const void* _pImage, int _iSize, void** _ppOut);

// Row stride in bytes of a row of _iWidth pixels at _iBits, by the BMP row rule; 0 for an
// unknown bit count, -1 when the stride would not fit in an int or the width is negative.
int BMP_Stride(int _iWidth, int _iBits);

#endif
