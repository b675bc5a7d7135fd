// Grids of 16 x 16 colour swatches: a palette's entries, palette indexes, the system palette.
#include "kelto/graphics/win32/gdi.h"

namespace {

void grid_draw(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight,
               const COLORREF* _pColours)
{
    if (!_hDC) return;
    HGDIOBJ hOld = SelectObject(_hDC, GetStockObject(WHITE_BRUSH));
    for (int k = 0; k < 256; ++k) {
        HBRUSH hBrush = CreateSolidBrush(_pColours[k]);
        if (!hBrush) continue;
        HGDIOBJ hPrev = SelectObject(_hDC, hBrush);
        const int iLeft = _iX + (k % 16) * _iCellWidth;
        const int iTop = _iY + (k / 16) * _iCellHeight;
        Rectangle(_hDC, iLeft, iTop, iLeft + _iCellWidth - 2, iTop + _iCellHeight - 2);
        SelectObject(_hDC, hPrev);
        DeleteObject(hBrush);
    }
    SelectObject(_hDC, hOld);
}

} // namespace

void PALETTE_DrawGrid(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight,
                      PALETTE_INFO _stPalette)
{
    if (!_stPalette.pLogPalette) return;
    // The block always has room for 256 entries; those past the count are black.
    COLORREF acr[256];
    const PALETTEENTRY* pEntries = _stPalette.pLogPalette->palPalEntry;
    for (int k = 0; k < 256; ++k)
        acr[k] = RGB(pEntries[k].peRed, pEntries[k].peGreen, pEntries[k].peBlue);
    grid_draw(_hDC, _iX, _iY, _iCellWidth, _iCellHeight, acr);
}

void PALETTE_DrawIndexGrid(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight)
{
    COLORREF acr[256];
    for (int k = 0; k < 256; ++k) acr[k] = PALETTEINDEX(k);
    grid_draw(_hDC, _iX, _iY, _iCellWidth, _iCellHeight, acr);
}

void PALETTE_DrawSystemGrid(HDC _hDC, int _iX, int _iY, int _iCellWidth, int _iCellHeight)
{
    if (!_hDC) return;
    PALETTEENTRY astEntries[256] = {};
    GetSystemPaletteEntries(_hDC, 0, 256, astEntries);
    COLORREF acr[256];
    for (int k = 0; k < 256; ++k)
        acr[k] = RGB(astEntries[k].peRed, astEntries[k].peGreen, astEntries[k].peBlue);
    grid_draw(_hDC, _iX, _iY, _iCellWidth, _iCellHeight, acr);
}
