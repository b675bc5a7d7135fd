// Block copies between the pixel areas of two images of the same depth (4, 8, 16 or 24 bits),
// optionally leaving out pixels of a key colour and optionally only one pixel of each 2 x 2 cell.
#ifndef KELTO_GRAPHICS_BLIT_H
#define KELTO_GRAPHICS_BLIT_H

#include "kelto/graphics/bmp.h"

#include <cstdint>

// Key modes.
#define BLT_KEY_NONE 0
#define BLT_KEY_COLOUR 1  // uKeyColour: a colour value at 24 bits, its low byte the index at 4 and 8 bits
#define BLT_KEY_IMAGE 2   // the source's bottom-left pixel
#define BLT_KEY_RECT 3    // the source rectangle's bottom-left pixel
// Mesh: 0 every pixel; 1 to 4 one pixel of each 2 x 2 cell (rows from the rectangle's bottom row
// upwards, columns from its left: 1 even/even, 2 even row/odd column, 3 odd/even, 4 odd/odd);
// BLT_MESH_NONE nothing.
#define BLT_MESH_NONE (-1)

struct BLT_REQUEST {
    int iSrcX, iSrcY;  // top-left of the rectangle in the source, y from the top
    int iDstX, iDstY;  // top-left of its place in the destination
    int iWidth, iHeight;
    BMP_INFO stSrc;
    BMP_INFO stDst;
    int iKeyMode;
    uint32_t uKeyColour;
    int iMesh;
};

// Copies the rectangle with the key mode given (key colour 0, every pixel).
void BLT_Copy(BMP_INFO _stSrc, int _iSrcX, int _iSrcY, BMP_INFO _stDst, int _iDstX, int _iDstY,
              int _iWidth, int _iHeight, int _iKeyMode);
// Performs a request. Nothing is copied when the depths differ or are 32 bits, when the rectangle
// is empty or reaches outside either image, or, at 16 bits, when a key is asked for.
void blt_dispatch(const BLT_REQUEST* _pRequest);

#endif
