// RLSPRESS: run-length codes a whole file as 32-bit values and writes it, behind a 12-byte
// header ("RLS" 0, the output's extension in 4 bytes, the source size), as an ".rls" file
// named after the output argument (or the target).
#pragma once

#include "krelwin/module/module.h"

// Bytes of the header in front of the RLS data.
#define RLSPRESS_HEADER_SIZE 12

class RLSPRESS : public CModule
{
public:
    RLSPRESS() {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;

    // The header for a source of _uSize bytes and the output's extension (with or without its
    // leading '.'): its first 4 bytes in the system code page, zero bytes after a shorter one.
    static void MakeHeader(unsigned char* _pOut, const wchar_t* _pExt, unsigned int _uSize);
};
