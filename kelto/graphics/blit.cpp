// Colour-key block copies between image blocks. Plain C++: no platform calls.
#include "kelto/graphics/blit.h"

#include <cstring>

namespace {

// Whether the mesh phase admits row r (from the rectangle's bottom) and column c.
bool blt_admits(int _iMesh, int _iRow, int _iColumn)
{
    switch (_iMesh) {
    case 0: return true;
    case 1: return !(_iRow & 1) && !(_iColumn & 1);
    case 2: return !(_iRow & 1) && (_iColumn & 1);
    case 3: return (_iRow & 1) && !(_iColumn & 1);
    case 4: return (_iRow & 1) && (_iColumn & 1);
    default: return false;
    }
}

// Pixel x of a 4-bit row: the high nibble for even x.
int blt_nibble(const unsigned char* _pRow, int _iX)
{
    return (_iX & 1) ? (_pRow[_iX / 2] & 0x0F) : (_pRow[_iX / 2] >> 4);
}

void blt_setNibble(unsigned char* _pRow, int _iX, int _iValue)
{
    unsigned char& rByte = _pRow[_iX / 2];
    if (_iX & 1) rByte = static_cast<unsigned char>((rByte & 0xF0) | (_iValue & 0x0F));
    else rByte = static_cast<unsigned char>((rByte & 0x0F) | (_iValue & 0x0F) << 4);
}

// The rows handed to the workers start at the stored row of the rectangle's bottom row; the
// workers step to the next stored row (upwards in the picture) with the strides.
struct Rows {
    const unsigned char* pSrc;
    unsigned char* pDst;
    int iSrcStride, iDstStride;
};

// 4 bits: pixels are addressed by their x in the image, so an odd x keeps its own nibble.
void blt_copy4(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight, bool _bKeyed, int _iKey)
{
    for (int r = 0; r < _iHeight; ++r) {
        const unsigned char* pSrc = _stRows.pSrc + static_cast<long long>(r) * _stRows.iSrcStride;
        unsigned char* pDst = _stRows.pDst + static_cast<long long>(r) * _stRows.iDstStride;
        for (int c = 0; c < _iWidth; ++c) {
            if (!blt_admits(_pReq->iMesh, r, c)) continue;
            const int iValue = blt_nibble(pSrc, _pReq->iSrcX + c);
            if (_bKeyed && iValue == _iKey) continue;
            blt_setNibble(pDst, _pReq->iDstX + c, iValue);
        }
    }
}

void blt_key4(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight, int _iKey)
{
    blt_copy4(_pReq, _stRows, _iWidth, _iHeight, true, _iKey);
}

void blt_copy8(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight, bool _bKeyed, int _iKey)
{
    for (int r = 0; r < _iHeight; ++r) {
        const unsigned char* pSrc = _stRows.pSrc + static_cast<long long>(r) * _stRows.iSrcStride + _pReq->iSrcX;
        unsigned char* pDst = _stRows.pDst + static_cast<long long>(r) * _stRows.iDstStride + _pReq->iDstX;
        for (int c = 0; c < _iWidth; ++c) {
            if (!blt_admits(_pReq->iMesh, r, c)) continue;
            if (_bKeyed && pSrc[c] == _iKey) continue;
            pDst[c] = pSrc[c];
        }
    }
}

void blt_key8(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight, int _iKey)
{
    blt_copy8(_pReq, _stRows, _iWidth, _iHeight, true, _iKey);
}

// 16 bits: whole rows, whatever the mesh.
void blt_copy16(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight)
{
    for (int r = 0; r < _iHeight; ++r)
        std::memmove(_stRows.pDst + static_cast<long long>(r) * _stRows.iDstStride + 2 * _pReq->iDstX,
                     _stRows.pSrc + static_cast<long long>(r) * _stRows.iSrcStride + 2 * _pReq->iSrcX,
                     2 * static_cast<std::size_t>(_iWidth));
}

// 24 bits; the key is a colour value (red in the low byte).
void blt_copy24(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight, bool _bKeyed, uint32_t _uKey)
{
    const unsigned char bBlue = static_cast<unsigned char>(_uKey >> 16);
    const unsigned char bGreen = static_cast<unsigned char>(_uKey >> 8);
    const unsigned char bRed = static_cast<unsigned char>(_uKey);
    for (int r = 0; r < _iHeight; ++r) {
        const unsigned char* pSrc = _stRows.pSrc + static_cast<long long>(r) * _stRows.iSrcStride + 3LL * _pReq->iSrcX;
        unsigned char* pDst = _stRows.pDst + static_cast<long long>(r) * _stRows.iDstStride + 3LL * _pReq->iDstX;
        for (int c = 0; c < _iWidth; ++c) {
            if (!blt_admits(_pReq->iMesh, r, c)) continue;
            const unsigned char* pPixel = pSrc + 3 * c;
            if (_bKeyed && pPixel[0] == bBlue && pPixel[1] == bGreen && pPixel[2] == bRed) continue;
            std::memcpy(pDst + 3 * c, pPixel, 3);
        }
    }
}

void blt_key24(const BLT_REQUEST* _pReq, Rows _stRows, int _iWidth, int _iHeight, uint32_t _uKey)
{
    blt_copy24(_pReq, _stRows, _iWidth, _iHeight, true, _uKey);
}

// Whether the rectangle of _iWidth x _iHeight at (x, y) lies inside the image.
bool blt_inside(const BMP_INFO& _st, int _iX, int _iY, int _iWidth, int _iHeight)
{
    return _st.pBits && _iX >= 0 && _iY >= 0 && static_cast<long long>(_iX) + _iWidth <= _st.iWidth &&
           static_cast<long long>(_iY) + _iHeight <= _st.iHeight;
}

} // namespace

void blt_dispatch(const BLT_REQUEST* _pReq)
{
    if (!_pReq || _pReq->iMesh == BLT_MESH_NONE) return;
    if (_pReq->iMesh < 0 || _pReq->iMesh > 4) return;
    const BMP_INFO& stSrc = _pReq->stSrc;
    const BMP_INFO& stDst = _pReq->stDst;
    const int iWidth = _pReq->iWidth, iHeight = _pReq->iHeight;
    if (iWidth <= 0 || iHeight <= 0 || stSrc.wBitCount != stDst.wBitCount) return;
    // Rectangles reaching outside either image are refused rather than read or written past it.
    if (!blt_inside(stSrc, _pReq->iSrcX, _pReq->iSrcY, iWidth, iHeight) ||
        !blt_inside(stDst, _pReq->iDstX, _pReq->iDstY, iWidth, iHeight))
        return;

    Rows stRows;
    stRows.pSrc = stSrc.pBits + static_cast<long long>(stSrc.iHeight - _pReq->iSrcY - iHeight) * stSrc.iStride;
    stRows.pDst = stDst.pBits + static_cast<long long>(stDst.iHeight - _pReq->iDstY - iHeight) * stDst.iStride;
    stRows.iSrcStride = stSrc.iStride;
    stRows.iDstStride = stDst.iStride;
    const bool bKeyed = _pReq->iKeyMode >= BLT_KEY_COLOUR && _pReq->iKeyMode <= BLT_KEY_RECT;

    // The key of modes 2 and 3 is the bottom-left pixel of the image or of the rectangle.
    const int iKeyX = _pReq->iKeyMode == BLT_KEY_RECT ? _pReq->iSrcX : 0;
    const unsigned char* pKeyRow = _pReq->iKeyMode == BLT_KEY_RECT ? stRows.pSrc : stSrc.pBits;

    switch (stSrc.wBitCount) {
    case 4:
        if (!bKeyed) blt_copy4(_pReq, stRows, iWidth, iHeight, false, 0);
        else blt_key4(_pReq, stRows, iWidth, iHeight,
                      _pReq->iKeyMode == BLT_KEY_COLOUR ? static_cast<int>(_pReq->uKeyColour & 0xFF)
                                                        : blt_nibble(pKeyRow, iKeyX));
        break;
    case 8:
        if (!bKeyed) blt_copy8(_pReq, stRows, iWidth, iHeight, false, 0);
        else blt_key8(_pReq, stRows, iWidth, iHeight,
                      _pReq->iKeyMode == BLT_KEY_COLOUR ? static_cast<int>(_pReq->uKeyColour & 0xFF)
                                                        : pKeyRow[iKeyX]);
        break;
    case 16:
        if (!bKeyed) blt_copy16(_pReq, stRows, iWidth, iHeight);
        break;
    case 24:
        if (!bKeyed) {
            blt_copy24(_pReq, stRows, iWidth, iHeight, false, 0);
        } else if (_pReq->iKeyMode == BLT_KEY_COLOUR) {
            blt_key24(_pReq, stRows, iWidth, iHeight, _pReq->uKeyColour);
        } else {
            const unsigned char* pKey = pKeyRow + 3LL * iKeyX;
            blt_key24(_pReq, stRows, iWidth, iHeight,
                      pKey[2] | pKey[1] << 8 | static_cast<uint32_t>(pKey[0]) << 16);
        }
        break;
    default:
        break;
    }
}

void BLT_Copy(BMP_INFO _stSrc, int _iSrcX, int _iSrcY, BMP_INFO _stDst, int _iDstX, int _iDstY,
              int _iWidth, int _iHeight, int _iKeyMode)
{
    BLT_REQUEST stReq;
    std::memset(&stReq, 0, sizeof stReq);
    stReq.iSrcX = _iSrcX;
    stReq.iSrcY = _iSrcY;
    stReq.iDstX = _iDstX;
    stReq.iDstY = _iDstY;
    stReq.iWidth = _iWidth;
    stReq.iHeight = _iHeight;
    stReq.stSrc = _stSrc;
    stReq.stDst = _stDst;
    stReq.iKeyMode = _iKeyMode;
    stReq.iMesh = 0;
    blt_dispatch(&stReq);
}
