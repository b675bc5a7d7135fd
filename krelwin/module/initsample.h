// INITSAMPLE: does no work on the target files; it prints a line at each step of the
// module life cycle (set-up once per process, set-up per script line, each file, end of
// the line, end of the run), so that a user can see when set-up and reports happen.
#pragma once

#include "krelwin/module/module.h"

class INITSAMPLE : public CModule
{
public:
    INITSAMPLE();
    // Always 1; no file is read or written.
    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    ~INITSAMPLE() override;

    void Initialize();

    int m_iInitialized;
    int m_iActive;
    int m_iFirstUse;
};
