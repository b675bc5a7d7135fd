// Capturing a rectangle of a window's client area into a new image block.
#include "kelto/graphics/win32/gdi.h"

#include "kelto/memory/mem.h"

#include <climits>
#include <cstring>

int BMP_windowshot(HWND _hWnd, const int _aiRect[4], void** _ppOut)
{
    if (!_aiRect || !_ppOut) return -1;
    *_ppOut = 0;
    const int iWidth = _aiRect[2], iHeight = _aiRect[3];
    if (iWidth <= 0 || iHeight <= 0) return -1;

    HDC hWndDC = GetDC(_hWnd);
    if (!hWndDC) return -1;
    HDC hMemDC = CreateCompatibleDC(hWndDC);
    HBITMAP hBitmap = hMemDC ? CreateCompatibleBitmap(hWndDC, iWidth, iHeight) : 0;
    int iResult = -1;
    if (hBitmap) {
        HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
        BITMAP stBitmap;
        std::memset(&stBitmap, 0, sizeof stBitmap);
        GetObjectW(hBitmap, sizeof stBitmap, &stBitmap);
        const int iBits = stBitmap.bmBitsPixel;
        const int iEntries = iBits == 4 ? 16 : iBits == 8 ? 256 : 0;
        const int iStride = BMP_Stride(iWidth, iBits);
        const long long llSize = static_cast<long long>(iStride) * iHeight + 4 * iEntries + BMP_HEADER_SIZE;
        unsigned char* pBlock = 0;
        if (iStride > 0 && llSize <= INT_MAX)
            pBlock = KELTO_NEW("BMP_windowshot") unsigned char[static_cast<std::size_t>(llSize)];
        if (pBlock) {
            std::memset(pBlock, 0, static_cast<std::size_t>(llSize));
            BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pBlock + BMP_FILEHEADER_SIZE);
            pHeader->biSize = BMP_INFOHEADER_SIZE;
            pHeader->biWidth = iWidth;
            pHeader->biHeight = iHeight;
            pHeader->biPlanes = stBitmap.bmPlanes;
            pHeader->biBitCount = stBitmap.bmBitsPixel;
            pHeader->biCompression = BI_RGB;
            pHeader->biSizeImage = static_cast<DWORD>(stBitmap.bmHeight) * static_cast<DWORD>(iStride);
            const int iOffset = BMP_HEADER_SIZE + 4 * iEntries;
            BitBlt(hMemDC, 0, 0, stBitmap.bmWidth, stBitmap.bmHeight, hWndDC, _aiRect[0], _aiRect[1],
                   SRCCOPY);
            // GetDIBits wants the bitmap deselected.
            SelectObject(hMemDC, hOld);
            hOld = 0;
            GetDIBits(hMemDC, hBitmap, 0, static_cast<UINT>(iHeight), pBlock + iOffset,
                      reinterpret_cast<BITMAPINFO*>(pHeader), DIB_RGB_COLORS);
            pBlock[0] = 'B';
            pBlock[1] = 'M';
            const DWORD dwSize = static_cast<DWORD>(llSize), dwOffset = static_cast<DWORD>(iOffset);
            std::memcpy(pBlock + 2, &dwSize, 4);
            std::memcpy(pBlock + 10, &dwOffset, 4);
            *_ppOut = pBlock;
            iResult = static_cast<int>(llSize);
        }
        if (hOld) SelectObject(hMemDC, hOld);
        DeleteObject(hBitmap);
    }
    if (hMemDC) DeleteDC(hMemDC);
    ReleaseDC(_hWnd, hWndDC);
    return iResult;
}
