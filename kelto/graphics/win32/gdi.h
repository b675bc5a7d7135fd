// The bitmap functions that need GDI: drawing image blocks onto a device context, GDI palettes
// made from an image's colour table, capturing a window rectangle into a new image block,
// rectangles, system-colour schemes and grids of colour swatches.
#ifndef KELTO_GRAPHICS_WIN32_GDI_H
#define KELTO_GRAPHICS_WIN32_GDI_H

#include <windows.h>

#include "kelto/graphics/bmp.h"

// Bytes of the LOGPALETTE block that PALETTE_set allocates: room for 256 entries.
#define PALETTE_BLOCK_SIZE 1040
#define PALETTE_MAX_ENTRIES 256

struct PALETTE_INFO {
    int iEntries;
    HPALETTE hPalette;
    DWORD dwReserved;
    LOGPALETTE* pLogPalette;
    LOGPALETTE* pBlock; // the same block; PALETTE_Release frees it
};

#define SYSCOLOR_COUNT 20

struct SYSCOLOR_INFO {
    int iCount;
    int aiElement[SYSCOLOR_COUNT];
    COLORREF acrColour[SYSCOLOR_COUNT];
};

// Each makes a device-dependent bitmap of the image, copies it onto the DC with BitBlt and
// deletes it again. The whole-image forms copy the bitmap's own size. Results are BitBlt's
// (0 also for a null image or DC, or when the bitmap cannot be made).
int BMP_Draw(HDC _hDC, int _iX, int _iY, const BMP_INFO* _pInfo);
int BMP_DrawImage(HDC _hDC, int _iX, int _iY, const void* _pImage);
int BMP_DrawRect(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth, int _iHeight,
                 const BMP_INFO* _pInfo);
int BMP_DrawImageRect(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth,
                      int _iHeight, const void* _pImage);
int BMP_DrawRop(HDC _hDC, int _iX, int _iY, const BMP_INFO* _pInfo, DWORD _dwRop);
int BMP_DrawRectRop(HDC _hDC, int _iX, int _iY, int _iSrcX, int _iSrcY, int _iWidth, int _iHeight,
                    const BMP_INFO* _pInfo, DWORD _dwRop);

// A GDI palette of _uEntries entries (at most 256; all black until PALETTE_SetEntries) made
// with the window's DC. 1, or 0 (the record zeroed) for a null record, too many entries or
// a failure.
int PALETTE_set(PALETTE_INFO* _pOut, HWND _hWnd, unsigned _uEntries);
// Entries _wFirst to _wEnd - 1 from the image's palette, cut short at the end of either palette.
// The result is SetPaletteEntries' (0 also when nothing can be set).
int PALETTE_SetEntries(PALETTE_INFO _stPalette, BMP_INFO _stImage, WORD _wFirst, WORD _wEnd);
void PALETTE_Release(HWND _hWnd, PALETTE_INFO _stPalette);

// Captures {x, y, width, height} of the window's client area into a new image block at the
// display's depth. The block's size, or -1 for a bad argument or when the capture cannot be made.
int BMP_windowshot(HWND _hWnd, const int _aiRect[4], void** _ppOut);

// Outline (hollow brush) or filled rectangle in _crColour; the DC's pen and brush are restored.
int GDI_Rectangle(HDC _hDC, int _iLeft, int _iTop, int _iRight, int _iBottom, COLORREF _crColour);
int GDI_FillRectangle(HDC _hDC, int _iLeft, int _iTop, int _iRight, int _iBottom,
                      COLORREF _crColour);

SYSCOLOR_INFO* SYSCOLOR_Save(SYSCOLOR_INFO* _pOut);
int SYSCOLOR_Restore(SYSCOLOR_INFO _stSaved);
int SYSCOLOR_SetMono();

// 16 x 16 swatches, cell k at (x + (k % 16) * w, y + (k / 16) * h), each w - 2 by h - 2.
void PALETTE_DrawGrid(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight,
                      PALETTE_INFO _stPalette);
void PALETTE_DrawIndexGrid(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight);
void PALETTE_DrawSystemGrid(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight);

#endif
