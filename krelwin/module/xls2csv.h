// XLS2CSV: copies the cells of every sheet of a workbook, read through the spreadsheet
// application's DDE server, into one CSV file per sheet beside the workbook
// (BOOK.xls, sheet S1 -> BOOKS1.csv).
#pragma once

#include "kelto/system/win32/dde.h"
#include "krelwin/module/module.h"

class XLS2CSV : public CModule
{
public:
    XLS2CSV();
    // Token 0 the workbook; token 1, when it begins with "-r", the range ("-rA1C20").
    // Always 1.
    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    ~XLS2CSV() override;

    void Initialize();

    DDEXL_STATE m_stDde;
    int m_iRangeLogged;  // the range line is logged once per process
    int m_iInitialized;
    int m_iActive;
    int m_iFirstUse;
};
