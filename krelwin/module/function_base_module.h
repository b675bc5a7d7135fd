// FUNCTION_BASE: the template from which new command modules are made. It reads the
// target as text, copies it to the output honouring the range markers and the loop
// watch, and writes the output through the output services.
#pragma once

#include "krelwin/module/module.h"

class FUNCTION_BASE : public CModule
{
public:
    FUNCTION_BASE();
    // 1 done, 0 target not read.
    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    ~FUNCTION_BASE() override;

    // Per-line set-up (and, once per process, first-use set-up) goes here.
    void Initialize();

    int m_iInitialized;
    int m_iActive;
    int m_iFirstUse;
};
