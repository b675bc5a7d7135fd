// GDI palettes made from an image's colour table.
#include "kelto/graphics/win32/gdi.h"

#include "kelto/memory/mem.h"

#include <cstring>

int PALETTE_set(PALETTE_INFO* _pOut, HWND _hWnd, unsigned _uEntries)
{
    if (!_pOut) return 0;
    std::memset(_pOut, 0, sizeof *_pOut);
    // The block holds 256 entries; more would make CreatePalette read past it.
    if (_uEntries > PALETTE_MAX_ENTRIES) return 0;
    LOGPALETTE* pBlock = static_cast<LOGPALETTE*>(MEM_allocBytes(PALETTE_BLOCK_SIZE, "PALETTE_set"));
    if (!pBlock) return 0;
    pBlock->palVersion = 0x300;
    pBlock->palNumEntries = static_cast<WORD>(_uEntries);
    HDC hDC = GetDC(_hWnd);
    HPALETTE hPalette = CreatePalette(pBlock);
    if (hDC) ReleaseDC(_hWnd, hDC);
    if (!hPalette) {
        MEM_freeBytes(pBlock);
        return 0;
    }
    _pOut->iEntries = static_cast<int>(_uEntries);
    _pOut->hPalette = hPalette;
    _pOut->pLogPalette = pBlock;
    _pOut->pBlock = pBlock;
    return 1;
}

int PALETTE_SetEntries(PALETTE_INFO _stPalette, BMP_INFO _stImage, WORD _wFirst, WORD _wEnd)
{
    if (!_stPalette.hPalette || !_stPalette.pLogPalette || !_stImage.pImage) return 0;
    unsigned uEnd = _wEnd;
    if (uEnd > static_cast<unsigned>(_stPalette.iEntries)) uEnd = static_cast<unsigned>(_stPalette.iEntries);
    if (uEnd > _stImage.wPalette) uEnd = _stImage.wPalette;
    if (_wFirst >= uEnd) return 0;
    const unsigned char* pSource = static_cast<const unsigned char*>(_stImage.pImage) + BMP_HEADER_SIZE;
    PALETTEENTRY* pEntries = _stPalette.pLogPalette->palPalEntry;
    for (unsigned i = _wFirst; i < uEnd; ++i) {
        pEntries[i].peRed = pSource[4 * i + 2];
        pEntries[i].peGreen = pSource[4 * i + 1];
        pEntries[i].peBlue = pSource[4 * i];
        pEntries[i].peFlags = PC_NOCOLLAPSE;
    }
    return static_cast<int>(SetPaletteEntries(_stPalette.hPalette, _wFirst, uEnd - _wFirst,
                                              pEntries + _wFirst));
}

void PALETTE_Release(HWND, PALETTE_INFO _stPalette)
{
    if (_stPalette.hPalette) DeleteObject(_stPalette.hPalette);
    if (_stPalette.pBlock) MEM_freeBytes(_stPalette.pBlock);
}
