// What the spreadsheet commands CHECKEXCEL and XLS2CSV share: the cell texts (xlcell.h) and
// the walk over every sheet of a workbook through the DDE client, which opens the
// workbook, hands each cell to the command and closes the spreadsheet.
#ifndef KRELWIN_MODULE_XLSHEET_H
#define KRELWIN_MODULE_XLSHEET_H

#include "kelto/system/win32/dde.h"
#include "krelwin/module/xlcell.h"

#define XL_CELL_LENGTH 4096
#define XL_LABEL_LENGTH 256

// What a command does with the cells of a workbook's sheets.
class XL_SHEETWALK
{
public:
    virtual ~XL_SHEETWALK() {}
    // A sheet begins, before its conversation is made. 0 passes the sheet over: the command
    // cannot take it and has logged so as a counted error.
    virtual int BeginSheet(const wchar_t* _pSheet) = 0;
    // A cell of more than 2 characters (an empty cell is its line end), as received.
    virtual void Cell(const wchar_t* _pSheet, int _iRow, int _iCol, wchar_t* _pText) = 0;
    // The sheet has ended; _iWhole 1 when every cell of the range was read from the
    // sheet's own conversation (a sheet read in part has been logged as an error).
    virtual void EndSheet(const wchar_t* _pSheet, int _iWhole) = 0;
};

// The spreadsheet windows of the two commands (each command keeps its own).
enum XL_COMMAND
{
    XL_CHECKEXCEL,
    XL_XLS2CSV
};

// Opens the workbook, waits for the spreadsheet's server when the shell started one,
// logs the range once per process (*_pRangeLogged), walks every sheet of the workbook
// column by column (every sheet the spreadsheet lists, however many and however long their
// names), then closes the command's spreadsheet window. A workbook of which no sheet is
// listed, and a sheet whose cells could not all be read once its conversation was made,
// are counted errors.
void XL_walkBook(const wchar_t* _pBook, const XL_RANGE& _stRange, DDEXL_STATE* _pState, int* _pRangeLogged,
                 XL_SHEETWALK* _pWalk, int _iCommand);

// Finds the command's spreadsheet window (title with "Microsoft" and "Excel") and posts
// it WM_CLOSE; 1 when one was found.
int XL_closeSpreadsheet(int _iCommand);

#endif
