// Drawing image blocks onto a device context through a device-dependent bitmap.
#include "kelto/graphics/win32/gdi.h"

namespace {

// Copies (srcX, srcY, width, height) of the image, or the whole bitmap when _bWhole is set.
int bmp_blit(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth, int _iHeight,
             const BMP_INFO* _pInfo, DWORD _dwRop, bool _bWhole)
{
    if (!_hDC || !_pInfo || !_pInfo->pInfoHeader || !_pInfo->pBits) return 0;
    const BITMAPINFOHEADER* pHeader = static_cast<const BITMAPINFOHEADER*>(_pInfo->pInfoHeader);
    HBITMAP hBitmap = CreateDIBitmap(_hDC, pHeader, CBM_INIT, _pInfo->pBits,
                                     reinterpret_cast<const BITMAPINFO*>(pHeader), DIB_RGB_COLORS);
    if (!hBitmap) return 0;
    int iResult = 0;
    HDC hMemDC = CreateCompatibleDC(_hDC);
    if (hMemDC) {
        HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
        if (_bWhole) {
            BITMAP stBitmap;
            if (GetObjectW(hBitmap, sizeof stBitmap, &stBitmap)) {
                _iSrcX = _iSrcY = 0;
                _iWidth = stBitmap.bmWidth;
                _iHeight = stBitmap.bmHeight;
            } else {
                _iWidth = _iHeight = 0;
            }
        }
        iResult = BitBlt(_hDC, _iX, _iY, _iWidth, _iHeight, hMemDC, _iSrcX, _iSrcY, _dwRop);
        SelectObject(hMemDC, hOld);
        DeleteDC(hMemDC);
    }
    DeleteObject(hBitmap);
    return iResult;
}

} // namespace

int BMP_Draw(HDC _hDC, int _iX, int _iY, const BMP_INFO* _pInfo)
{
    return bmp_blit(_hDC, _iX, _iY, 0, 0, 0, 0, _pInfo, SRCCOPY, true);
}

int BMP_DrawImage(HDC _hDC, int _iX, int _iY, const void* _pImage)
{
    if (!_pImage) return 0;
    const BMP_INFO stInfo = BMP_GetInfo(_pImage);
    return bmp_blit(_hDC, _iX, _iY, 0, 0, 0, 0, &stInfo, SRCCOPY, true);
}

int BMP_DrawRect(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth, int _iHeight,
                 const BMP_INFO* _pInfo)
{
    return bmp_blit(_hDC, _iX, _iY, _iSrcX, _iSrcY, _iWidth, _iHeight, _pInfo, SRCCOPY, false);
}

int BMP_DrawImageRect(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth,
                      int _iHeight, const void* _pImage)
{
    if (!_pImage) return 0;
    const BMP_INFO stInfo = BMP_GetInfo(_pImage);
    return bmp_blit(_hDC, _iX, _iY, _iSrcX, _iSrcY, _iWidth, _iHeight, &stInfo, SRCCOPY, false);
}

int BMP_DrawRop(HDC _hDC, int _iX, int _iY, const BMP_INFO* _pInfo, DWORD _dwRop)
{
    return bmp_blit(_hDC, _iX, _iY, 0, 0, 0, 0, _pInfo, _dwRop, true);
}

int BMP_DrawRectRop(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth, int _iHeight,
                    const BMP_INFO* _pInfo, DWORD _dwRop)
{
    return bmp_blit(_hDC, _iX, _iY, _iSrcX, _iSrcY, _iWidth, _iHeight, _pInfo, _dwRop, false);
}
