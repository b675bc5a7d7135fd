// Saving, restoring and a black-and-white scheme of the system colours.
#include "kelto/graphics/win32/gdi.h"

namespace {

// The elements in the order they are saved and set.
const int c_aiElement[SYSCOLOR_COUNT] = {10, 2, 12, 1, 15, 16, 18, 9, 17, 13,
                                         14, 11, 3, 19, 4, 7, 0, 5, 6, 8};

} // namespace

SYSCOLOR_INFO* SYSCOLOR_Save(SYSCOLOR_INFO* _pOut)
{
    if (!_pOut) return _pOut;
    _pOut->iCount = SYSCOLOR_COUNT;
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) {
        _pOut->aiElement[i] = c_aiElement[i];
        _pOut->acrColour[i] = GetSysColor(c_aiElement[i]);
    }
    return _pOut;
}

int SYSCOLOR_Restore(SYSCOLOR_INFO _stSaved)
{
    if (_stSaved.iCount <= 0 || _stSaved.iCount > SYSCOLOR_COUNT) return 0;
    return SetSysColors(_stSaved.iCount, _stSaved.aiElement, _stSaved.acrColour);
}

int SYSCOLOR_SetMono()
{
    const COLORREF crBlack = RGB(0, 0, 0), crWhite = RGB(255, 255, 255);
    static const int aiElement[SYSCOLOR_COUNT] = {5, 8, 10, 2, 12, 1, 15, 16, 18, 9,
                                                  17, 13, 14, 11, 3, 19, 4, 7, 0, 6};
    const COLORREF acrColour[SYSCOLOR_COUNT] = {
        crBlack, crWhite, crBlack, crBlack, crBlack, crBlack, crBlack, crBlack, crBlack, crWhite,
        crBlack, crBlack, crWhite, crBlack, crBlack, crWhite, crBlack, crWhite, crWhite, crBlack};
    return SetSysColors(SYSCOLOR_COUNT, aiElement, acrColour);
}
