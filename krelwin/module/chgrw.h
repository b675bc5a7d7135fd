// CHGRW: sets (argument 1) or clears (anything else, or nothing) the read-only
// attribute of the target file. The object has no state.
#pragma once

#include "krelwin/module/module.h"

class CHGRW : public CModule
{
public:
    // Always 1; the outcome is logged.
    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
};
