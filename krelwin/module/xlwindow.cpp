// Finding and closing the spreadsheet application's window: the first top-level window
// whose title holds both "Microsoft" and "Excel". Each command keeps its own handle.
#include "krelwin/module/xlsheet.h"

#include <windows.h>

#include "kelto/string/string.h"

namespace {

HWND s_hCheckExcelWindow = 0;
HWND s_hXls2csvWindow = 0;

BOOL xl_visit(HWND _hWnd, HWND* _pFound)
{
    wchar_t szTitle[1024];
    szTitle[0] = 0;
    if (GetWindowTextW(_hWnd, szTitle, 1024) <= 0 || !szTitle[0]) return TRUE;
    if (!STRING_findWord(szTitle, L"Microsoft", 0, 0) || !STRING_findWord(szTitle, L"Excel", 0, 0)) return TRUE;
    *_pFound = _hWnd;
    return FALSE;
}

}  // namespace

BOOL CALLBACK CHECKEXCEL_EnumWindowsProc(HWND _hWnd, LPARAM)
{
    return xl_visit(_hWnd, &s_hCheckExcelWindow);
}

BOOL CALLBACK XLS2CSV_EnumWindowsProc(HWND _hWnd, LPARAM)
{
    return xl_visit(_hWnd, &s_hXls2csvWindow);
}

int XL_closeSpreadsheet(int _iCommand)
{
    HWND* pWindow = _iCommand == XL_CHECKEXCEL ? &s_hCheckExcelWindow : &s_hXls2csvWindow;
    *pWindow = 0;
    EnumWindows(_iCommand == XL_CHECKEXCEL ? CHECKEXCEL_EnumWindowsProc : XLS2CSV_EnumWindowsProc, 0);
    if (!*pWindow) return 0;
    PostMessageW(*pWindow, WM_CLOSE, 0, 0);
    return 1;
}
