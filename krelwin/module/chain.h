// CHAIN: appends the bytes of every target to one ".bin" file named after the output
// argument (or the target); the file grows with every target and every run.
#pragma once

#include "krelwin/module/module.h"

class SMPL_CHAIN : public CModule
{
public:
    SMPL_CHAIN();
    ~SMPL_CHAIN() override {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // 1 when the two paths name the same file: both taken from the current folder when
    // relative, "." and ".." folded, either separator, ASCII case ignored.
    static int IsSameFile(const wchar_t* _pA, const wchar_t* _pB);

private:
    int m_iInit;
    int m_iActive;
    int m_iFirst;
};
