// DUMP: writes the bytes of each target as C-style hexadecimal text in units of 1, 2 or
// 4 bytes (little-endian) into a ".txt" file beside the target or at a given name.
#pragma once

#include <string>

#include "krelwin/module/module.h"

class DUMP : public CModule
{
public:
    DUMP();
    ~DUMP() override {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // The text of _iSize bytes: unit 2 or 4 gives 16- or 32-bit values (a last partial
    // one completed with zero bytes), any other unit single bytes; a CR LF after every
    // 16 values (8 of 32 bits) and one more at the end.
    static std::wstring MakeText(const unsigned char* _pData, int _iSize, int _iUnit);

private:
    int m_iInit;
    int m_iActive;
};
