// UTTER: turns a WAVE voice recording into per-frame levels beside it (".bin", no header):
// -f frames a second (default 30), -t level type (0 mean, 1 peak, 2 two-valued, one bit a
// frame; default 2), -p threshold percent of the two-valued type (default 30).
#pragma once

#include "krelwin/module/module.h"
#include "krelwin/module/wavevol.h"

class UTTER : public CModule
{
public:
    UTTER();
    ~UTTER() override {}

    // 0 for -f0 (nothing done), otherwise 1; every outcome is logged.
    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // The type's name in the report; null for a type outside 0-2.
    static const wchar_t* TypeName(int _iType);

private:
    int m_iInit;
    [[maybe_unused]] int m_iActive;  // the module pattern's flag; nothing here sets it
    int m_iFirst;
    WAVEVOL m_cWave;
};
