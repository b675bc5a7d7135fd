// SAMESIZE: measures the largest of the targets of a script line and, when the line
// ends, pads every file of the run's target list with zero bytes to that size. Writes
// with the library's file functions: no backup, no question.
#pragma once

#include "krelwin/module/module.h"

class SAMESIZE : public CModule
{
public:
    SAMESIZE();
    ~SAMESIZE() override {}

    int Func(const wchar_t* _pParam) override;
    // The padding pass, when active.
    void Quit(int _iFinal) override;
    void Initialize();

private:
    int m_iInit;
    int m_iActive;
    int m_iFirst;
    int m_iMaxSize;
};
