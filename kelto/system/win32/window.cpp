// Window record helpers over the platform's window, GDI and common-controls calls.
#include "kelto/system/win32/window.h"

#include <windows.h>
#include <commctrl.h>

#include <type_traits>

#include "kelto/system/win32/menu.h"

static_assert(std::is_same<WINDOW_PROC, WNDPROC>::value, "WINDOW_PROC must be the platform's WNDPROC");
#ifndef _WIN64
static_assert(sizeof(WINDOW_INFO) == 27 * 4, "WINDOW_INFO is 27 fields of 32 bits");
#endif

namespace {

const int kMaxStatusEdges = 256;  // leading non-negative right edges refused from here on

// Class backgrounds may be a system colour index + 1 rather than a brush.
HBRUSH window_paintBrush(HBRUSH _hBrush)
{
    const UINT_PTR uValue = reinterpret_cast<UINT_PTR>(_hBrush);
    if (uValue >= 1 && uValue <= COLOR_MENUBAR + 1) return GetSysColorBrush(static_cast<int>(uValue - 1));
    return _hBrush;
}

}  // namespace

WINDOW_INFO::WINDOW_INFO()
    : m_pClassName(0), m_pTitle(0), m_hWnd(0), m_hInstance(0), m_uReserved2(0), m_iPopup(0),
      m_hStatus(0), m_pMenuHdMgr(0)
{
}

WINDOW_INFO& WINDOW_Init(WINDOW_INFO& _cWin, const wchar_t* _pClassName, const wchar_t* _pTitle,
                         int _iType, WINDOW_PROC _pWndProc, HINSTANCE__* _hInstance,
                         int _iWidth, int _iHeight)
{
    WINDOW_INFO cNew;
    cNew.m_pClassName = _pClassName;
    cNew.m_pTitle = _pTitle;
    cNew.m_hInstance = _hInstance;
    cNew.m_pWndProc = _pWndProc;
    cNew.m_iType = _iType;
    cNew.m_iWidth = _iWidth;
    cNew.m_iHeight = _iHeight;
    cNew.m_hWnd = 0;
    cNew.m_pMenuName = 0;
    cNew.m_iShowCmd = SW_SHOWNORMAL;
    cNew.m_iX = CW_USEDEFAULT;
    cNew.m_iY = CW_USEDEFAULT;
    cNew.m_iRectLeft = cNew.m_iRectTop = cNew.m_iRectRight = cNew.m_iRectBottom = 0;
    cNew.m_uReserved1 = 0;
    cNew.m_iHasMenu = 0;
    cNew.m_iMenuChanged = 0;
    cNew.m_hIcon = LoadIconW(_hInstance, MAKEINTRESOURCEW(1));
    cNew.m_hIconSm = cNew.m_hIcon;
    switch (_iType) {
    case 0:
        cNew.m_uStyle = WS_OVERLAPPEDWINDOW;
        cNew.m_hBrush = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        break;
    case 1:
        cNew.m_uStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        cNew.m_hBrush = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        break;
    default:
        cNew.m_uStyle = WS_OVERLAPPEDWINDOW;
        cNew.m_hBrush = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        break;
    }
    _cWin = cNew;
    return _cWin;
}

void WINDOW_SetMenu(WINDOW_INFO& _cWin, const wchar_t* _pMenuName)
{
    _cWin.m_pMenuName = _pMenuName;
    _cWin.m_iHasMenu = 1;
}

HBRUSH__* WINDOW_SetStockBrush(WINDOW_INFO& _cWin, int _iStockObject)
{
    _cWin.m_hBrush = static_cast<HBRUSH>(GetStockObject(_iStockObject));
    return _cWin.m_hBrush;
}

HWND__* WINDOW_Create(WINDOW_INFO& _cWin)
{
    WNDCLASSEXW stClass = {};
    stClass.cbSize = sizeof(stClass);
    stClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    stClass.lpfnWndProc = _cWin.m_pWndProc;
    stClass.hInstance = _cWin.m_hInstance;
    stClass.hIcon = _cWin.m_hIcon;
    stClass.hCursor = LoadCursorW(0, IDC_ARROW);
    stClass.hbrBackground = _cWin.m_hBrush;
    stClass.lpszMenuName = _cWin.m_pMenuName;
    stClass.lpszClassName = _cWin.m_pClassName;
    stClass.hIconSm = _cWin.m_hIconSm;
    if (!RegisterClassExW(&stClass)) return 0;

    RECT stRect = {0, 0, _cWin.m_iWidth, _cWin.m_iHeight};
    AdjustWindowRect(&stRect, _cWin.m_uStyle, _cWin.m_iHasMenu ? TRUE : FALSE);
    _cWin.m_iRectLeft = 0;
    _cWin.m_iRectTop = 0;
    _cWin.m_iRectRight = stRect.right - stRect.left;
    _cWin.m_iRectBottom = stRect.bottom - stRect.top;

    if (!_cWin.m_iPopup) {
        _cWin.m_hWnd = CreateWindowExW(0, _cWin.m_pClassName, _cWin.m_pTitle, _cWin.m_uStyle,
                                       CW_USEDEFAULT, CW_USEDEFAULT, _cWin.m_iRectRight,
                                       _cWin.m_iRectBottom, 0, 0, _cWin.m_hInstance, 0);
    } else {
        _cWin.m_hWnd = CreateWindowExW(0, _cWin.m_pClassName, _cWin.m_pTitle, WS_POPUP, _cWin.m_iX,
                                       _cWin.m_iY, _cWin.m_iWidth, _cWin.m_iHeight, 0, 0,
                                       _cWin.m_hInstance, 0);
    }
    return _cWin.m_hWnd;
}

int WINDOW_Show(WINDOW_INFO& _cWin, int _iShowCmd)
{
    if (_cWin.m_iMenuChanged) {
        DrawMenuBar(_cWin.m_hWnd);
        _cWin.m_iMenuChanged = 0;
    }
    ShowWindow(_cWin.m_hWnd, _iShowCmd >= 0 ? _iShowCmd : _cWin.m_iShowCmd);
    return UpdateWindow(_cWin.m_hWnd);
}

void WINDOW_SetClientSize(WINDOW_INFO& _cWin, int _iWidth, int _iHeight)
{
    if (_iWidth) _cWin.m_iWidth = _iWidth;
    if (_iHeight) _cWin.m_iHeight = _iHeight;

    RECT stRect = {};
    GetWindowRect(_cWin.m_hWnd, &stRect);
    const int iLeft = stRect.left;
    const int iTop = stRect.top;

    stRect.left = 0;
    stRect.top = 0;
    stRect.right = _cWin.m_iWidth;
    stRect.bottom = _cWin.m_iHeight;
    AdjustWindowRect(&stRect, _cWin.m_uStyle, _cWin.m_iHasMenu ? TRUE : FALSE);
    if (_cWin.m_hStatus) {
        RECT stBar = {};
        GetWindowRect(_cWin.m_hStatus, &stBar);
        stRect.bottom += stBar.bottom - stBar.top;
    }
    _cWin.m_iRectLeft = stRect.left;
    _cWin.m_iRectTop = stRect.top;
    _cWin.m_iRectRight = stRect.right;
    _cWin.m_iRectBottom = stRect.bottom;

    SetWindowPos(_cWin.m_hWnd, 0, iLeft, iTop, stRect.right - stRect.left, stRect.bottom - stRect.top,
                 SWP_SHOWWINDOW);
    if (_cWin.m_hStatus) SendMessageW(_cWin.m_hStatus, WM_SIZE, 0, 0);
}

int WINDOW_CreateStatusBar(WINDOW_INFO& _cWin, const int* _pParts, unsigned int _uID)
{
    static const int s_iWhole[1] = {-1};
    if (!_pParts) _pParts = s_iWhole;
    int iEdges = 0;
    while (_pParts[iEdges] >= 0) {
        if (++iEdges >= kMaxStatusEdges) return 0;
    }
    const int iParts = iEdges + 1;  // the negative entry reaches the right border

    INITCOMMONCONTROLSEX stInit = {};
    stInit.dwSize = sizeof(stInit);
    stInit.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&stInit);

    HWND hBar = CreateWindowExW(0, STATUSCLASSNAMEW, 0, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0,
                                _cWin.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(_uID)),
                                _cWin.m_hInstance, 0);
    if (!hBar) return 0;
    _cWin.m_hStatus = hBar;
    SendMessageW(hBar, SB_SETPARTS, iParts, reinterpret_cast<LPARAM>(_pParts));
    WINDOW_SetClientSize(_cWin, 0, 0);
    return 1;
}

int WINDOW_SetStatusText(WINDOW_INFO& _cWin, const wchar_t* _pText, unsigned int _uPart)
{
    if (!_cWin.m_hStatus || !_pText) return 0;
    SendMessageW(_cWin.m_hStatus, SB_SETTEXTW, _uPart, reinterpret_cast<LPARAM>(_pText));
    return 1;
}

int WINDOW_FillClient(WINDOW_INFO& _cWin)
{
    HDC hDC = GetDC(_cWin.m_hWnd);
    if (!hDC) return 0;
    HGDIOBJ hOld = SelectObject(hDC, window_paintBrush(_cWin.m_hBrush));
    const BOOL bDrawn = Rectangle(hDC, 0, 0, _cWin.m_iWidth, _cWin.m_iHeight);
    if (hOld) SelectObject(hDC, hOld);
    ReleaseDC(_cWin.m_hWnd, hDC);
    if (bDrawn) WINDOW_Show(_cWin, SW_SHOWNORMAL);
    return bDrawn;
}

int WINDOW_GetScreenSize(int* _piSize)
{
    const int iWidth = GetSystemMetrics(SM_CXSCREEN);
    const int iHeight = GetSystemMetrics(SM_CYSCREEN);
    if (_piSize) {
        _piSize[0] = iWidth;
        _piSize[1] = iHeight;
    }
    return iHeight;
}

void WINDOW_Release(WINDOW_INFO& _cWin)
{
    WINDOW_MENU_Release(_cWin);
}
