// CHECKEXCEL: the text checker's per-literal checks (CHECKTXT) on every cell of a range of
// every sheet of a workbook, read through the spreadsheet application's DDE server.
// Findings name "[workbook]sheet" and the cell's row.
#pragma once

#include "kelto/system/win32/dde.h"
#include "krelwin/module/checktxt.h"

class CHECKEXCEL : public CHECKTXT
{
public:
    CHECKEXCEL();
    // Token 0 the workbook; the first non-option argument the checker's settings file;
    // option -r the range ("-rA1C20"). Always 1.
    int Func(const wchar_t* _pParam) override;
    ~CHECKEXCEL() override;

    DDEXL_STATE m_stDde;
    int m_iRangeLogged;  // the range line is logged once per process
};
