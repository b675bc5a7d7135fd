// MAKEMASK: writes the pixel values of a BMP target (the palette indexes of an 8-bit image)
// as a raw mask file beside it, "<name>.msk", one byte per pixel without a header: rows from
// the top, or for a 272- or 288-row image 9 x 15 tiles of 32 x 32 pixels over 480 x 288.
#pragma once

#include <vector>

#include "krelwin/module/module.h"

struct BMP_INFO;

class MAKEMASK : public CModule
{
public:
    MAKEMASK() {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;

    // The mask bytes of a described image (the low 8 bits of each pixel value). False when
    // the mask would not fit in memory or in an int.
    static bool MakeMask(const BMP_INFO& _stInfo, std::vector<unsigned char>* _pOut);
};
