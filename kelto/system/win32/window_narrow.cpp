// The 8-bit window record over the platform's A window functions.
#include "kelto/system/win32/window.h"

#include <windows.h>

#ifndef _WIN64
static_assert(sizeof(WINDOW_INFOA) == 24 * 4, "WINDOW_INFOA is 24 fields of 32 bits");
#endif

WINDOW_INFOA::WINDOW_INFOA()
    : m_pClassName(0), m_pTitle(0), m_hWnd(0), m_hInstance(0), m_uReserved2(0), m_pMenuHdMgr(0)
{
}

WINDOW_INFOA& WINDOW_Init(WINDOW_INFOA& _cWin, const char* _pClassName, const char* _pTitle, int _iType,
                          WINDOW_PROC _pWndProc, HINSTANCE__* _hInstance, int _iWidth, int _iHeight)
{
    // Styles and brushes as the wide record has them for the same type.
    WINDOW_INFO cWide;
    WINDOW_Init(cWide, 0, 0, _iType, _pWndProc, _hInstance, _iWidth, _iHeight);
    WINDOW_INFOA cNew;
    cNew.m_pClassName = _pClassName;
    cNew.m_pTitle = _pTitle;
    cNew.m_hWnd = 0;
    cNew.m_hInstance = _hInstance;
    cNew.m_uStyle = cWide.m_uStyle;
    cNew.m_pMenuName = 0;
    cNew.m_iShowCmd = cWide.m_iShowCmd;
    cNew.m_iX = cWide.m_iX;
    cNew.m_iY = cWide.m_iY;
    cNew.m_iWidth = _iWidth;
    cNew.m_iHeight = _iHeight;
    cNew.m_iRectLeft = cNew.m_iRectTop = cNew.m_iRectRight = cNew.m_iRectBottom = 0;
    cNew.m_hBrush = cWide.m_hBrush;
    cNew.m_iType = _iType;
    cNew.m_iHasMenu = 0;
    cNew.m_iMenuChanged = 0;
    cNew.m_hIcon = cWide.m_hIcon;
    cNew.m_hIconSm = cWide.m_hIconSm;
    cNew.m_pWndProc = _pWndProc;
    _cWin = cNew;
    return _cWin;
}

HWND__* WINDOW_Create(WINDOW_INFOA& _cWin)
{
    WNDCLASSEXA stClass = {};
    stClass.cbSize = sizeof(stClass);
    stClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    stClass.lpfnWndProc = _cWin.m_pWndProc;
    stClass.hInstance = _cWin.m_hInstance;
    stClass.hIcon = _cWin.m_hIcon;
    stClass.hCursor = LoadCursorA(0, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    stClass.hbrBackground = _cWin.m_hBrush;
    stClass.lpszMenuName = _cWin.m_pMenuName;
    stClass.lpszClassName = _cWin.m_pClassName;
    stClass.hIconSm = _cWin.m_hIconSm;
    if (!RegisterClassExA(&stClass)) return 0;

    RECT stRect = {0, 0, _cWin.m_iWidth, _cWin.m_iHeight};
    AdjustWindowRect(&stRect, _cWin.m_uStyle, _cWin.m_iHasMenu ? TRUE : FALSE);
    _cWin.m_iRectLeft = 0;
    _cWin.m_iRectTop = 0;
    _cWin.m_iRectRight = stRect.right - stRect.left;
    _cWin.m_iRectBottom = stRect.bottom - stRect.top;
    _cWin.m_hWnd = CreateWindowExA(0, _cWin.m_pClassName, _cWin.m_pTitle, _cWin.m_uStyle, _cWin.m_iX, _cWin.m_iY,
                                   _cWin.m_iRectRight, _cWin.m_iRectBottom, 0, 0, _cWin.m_hInstance, 0);
    return _cWin.m_hWnd;
}

int WINDOW_Show(WINDOW_INFOA& _cWin, int _iShowCmd)
{
    if (_cWin.m_iMenuChanged) {
        DrawMenuBar(_cWin.m_hWnd);
        _cWin.m_iMenuChanged = 0;
    }
    ShowWindow(_cWin.m_hWnd, _iShowCmd >= 0 ? _iShowCmd : _cWin.m_iShowCmd);
    return UpdateWindow(_cWin.m_hWnd);
}
