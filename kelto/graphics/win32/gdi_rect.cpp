// Outline and filled rectangles in one colour.
#include "kelto/graphics/win32/gdi.h"

namespace {

int rect_draw(HDC _hDC, int _iLeft, int _iTop, int _iRight, int _iBottom, COLORREF _crColour,
              bool _bFill)
{
    if (!_hDC) return 0;
    HPEN hPen = CreatePen(PS_SOLID, 1, _crColour);
    HBRUSH hBrush = _bFill ? CreateSolidBrush(_crColour) : 0;
    HGDIOBJ hOldPen = SelectObject(_hDC, hPen ? static_cast<HGDIOBJ>(hPen) : GetStockObject(BLACK_PEN));
    HGDIOBJ hOldBrush = SelectObject(_hDC, hBrush ? static_cast<HGDIOBJ>(hBrush) : GetStockObject(HOLLOW_BRUSH));
    const int iResult = Rectangle(_hDC, _iLeft, _iTop, _iRight, _iBottom);
    SelectObject(_hDC, hOldPen);
    SelectObject(_hDC, hOldBrush);
    if (hPen) DeleteObject(hPen);
    if (hBrush) DeleteObject(hBrush);
    return iResult;
}

} // namespace

int GDI_Rectangle(HDC _hDC, int _iLeft, int _iTop, int _iRight, int _iBottom, COLORREF _crColour)
{
    return rect_draw(_hDC, _iLeft, _iTop, _iRight, _iBottom, _crColour, false);
}

int GDI_FillRectangle(HDC _hDC, int _iLeft, int _iTop, int _iRight, int _iBottom,
                      COLORREF _crColour)
{
    return rect_draw(_hDC, _iLeft, _iTop, _iRight, _iBottom, _crColour, true);
}
