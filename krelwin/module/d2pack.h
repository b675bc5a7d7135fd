// D2PACK: packs a layout text's data into one ".d2c" package in the folder d2c of the
// current folder: the layout's own ".d2b" data ("D2DATA"), every texture its <tex_param>
// elements name (".gim" files beside it or in its "gim" folder) and the table of the
// external names that its <Reference> elements give with a leading "@".
//
// Package (little-endian): "D2C" 0, u16 entry count N, u16 name count M; N entries of
// u32 name CRC (STRING_crc32), u32 offset, u32 size; the name table (each name and a zero
// byte, then 1 to 4 zero bytes to a multiple of 4; nothing without names); the blocks, each
// padded with zeros to a multiple of 4.
#pragma once

#include <string>
#include <vector>

#include "krelwin/module/module.h"

// Limits of one package.
#define D2PACK_ENTRY_MAX 256          // data blocks, D2DATA included
#define D2PACK_NAMETABLE_MAX 1024     // bytes of the name table, padding included
#define D2PACK_VALUE_MAX 255          // characters of one fname or name value
#define D2PACK_FILE_MAX 0x100000      // the package stays below this many bytes

class SMPL_D2PACK : public CModule
{
public:
    SMPL_D2PACK();
    ~SMPL_D2PACK() override {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // Scan results: 1, or the limit a layout went over (nothing else is set then).
    enum { SCAN_OK = 1, SCAN_VALUE_OVER = -1, SCAN_ENTRY_OVER = -2, SCAN_TABLE_OVER = -3 };

    // The fname values of the <tex_param> elements, each once, in order of first
    // appearance, none named "D2DATA".
    static int ScanTextures(const std::wstring& _strText, std::vector<std::wstring>* _pNames);
    // The name table, padded, and its name count: the <data name> values of the
    // <Reference> elements that begin with "@", without it, in the system code page.
    static int ScanNames(const std::wstring& _strText, std::string* _pTable, int* _pCount);

private:
    int m_iInit;
    int m_iActive;
    int m_iFirst;
};
