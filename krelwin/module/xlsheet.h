// What the spreadsheet commands CHECKEXCEL and XLS2CSV share: the cell range text, the
// trimming of a cell, and the walk over every sheet of a workbook through the DDE client,
// which opens the workbook, hands each cell to the command and closes the spreadsheet.
#ifndef KRELWIN_MODULE_XLSHEET_H
#define KRELWIN_MODULE_XLSHEET_H

#include "kelto/system/win32/dde.h"

// A cell range, all 1-based and inclusive; cells are visited column by column.
struct XL_RANGE
{
    int m_iCol1;
    int m_iRow1;
    int m_iCol2;
    int m_iRow2;
};

#define XL_SHEETLIST_LENGTH 256
#define XL_CELL_LENGTH 4096
#define XL_LABEL_LENGTH 256

// Columns 1 to 256, rows 1 to 4,096.
XL_RANGE XL_defaultRange();
// Reads a range text such as "A1Z100" (columns in letters, A 1 ... Z 26, AA 27).
// 1 when all four values are above 0; 0 when a part is missing or 0; -1 when the text
// does not begin with a letter A to Z or a value overflows.
int XL_parseRange(const wchar_t* _pText, XL_RANGE* _pRange);
// Drops double quotes and characters of code 32 or below from the end; the new length.
int XL_trim(wchar_t* _pCell);

// What a command does with the cells of a workbook's sheets.
class XL_SHEETWALK
{
public:
    virtual ~XL_SHEETWALK() {}
    // A sheet begins; _iConnected 0 when the sheet's own conversation was not made.
    virtual void BeginSheet(const wchar_t* _pSheet, int _iConnected) = 0;
    // A cell of more than 2 characters (an empty cell is its line end), as received.
    virtual void Cell(const wchar_t* _pSheet, int _iRow, int _iCol, wchar_t* _pText) = 0;
    // The sheet has ended; _iRead 0 when not one of its cells could be read.
    virtual void EndSheet(const wchar_t* _pSheet, int _iRead) = 0;
};

// The spreadsheet windows of the two commands (each command keeps its own).
enum XL_COMMAND
{
    XL_CHECKEXCEL,
    XL_XLS2CSV
};

// Opens the workbook, waits for the spreadsheet's server when the shell started one,
// logs the range once per process (*_pRangeLogged), walks every sheet of the workbook
// column by column, then closes the command's spreadsheet window.
void XL_walkBook(const wchar_t* _pBook, const XL_RANGE& _stRange, DDEXL_STATE* _pState, int* _pRangeLogged,
                 XL_SHEETWALK* _pWalk, int _iCommand);

// Finds the command's spreadsheet window (title with "Microsoft" and "Excel") and posts
// it WM_CLOSE; 1 when one was found.
int XL_closeSpreadsheet(int _iCommand);

#endif
