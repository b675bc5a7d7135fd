// BMP_RESIZE: puts the picture of a BMP target on a canvas of a new size, anchored at the
// top-left corner (new pixels index 0 / black), and writes it to the output file. The one
// object is static: it lives from start-up to exit and the dispatcher never creates it.
#pragma once

#include "krelwin/module/module.h"

class BMP_RESIZE : public CModule
{
public:
    BMP_RESIZE();
    ~BMP_RESIZE() override {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // The new size from the size text "W[,H]" for a source of _iWidth x _iHeight:
    // "%N" rounds up to a multiple of N, "+N" and "-N" add and take, N is the size, an
    // empty W keeps the width, a missing ",H" keeps the height, any other start gives the
    // digits found there (0 without). 1 when the size is usable; 0 for a factor of 0, a
    // negative size or one past the int range (*_pW and *_pH then undefined).
    static int ParseSize(const wchar_t* _pSpec, int _iWidth, int _iHeight, int* _pW, int* _pH);

private:
    int m_iInit;
    int m_iActive;
};
