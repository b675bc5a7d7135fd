// A top-level window described by one plain record, and the helpers that register,
// create, size and show it, add a status bar and release what the record owns.
// The platform handle types are declared as the platform declares them, so this header
// does not pull in the platform headers.
#ifndef KELTO_SYSTEM_WIN32_WINDOW_H
#define KELTO_SYSTEM_WIN32_WINDOW_H

struct HWND__;
struct HINSTANCE__;
struct HBRUSH__;
struct HICON__;

class MENU_HandleManager;

// Window procedure: the platform's WNDPROC.
#ifdef _WIN64
typedef long long (*WINDOW_PROC)(HWND__*, unsigned int, unsigned long long, long long);
#else
typedef long(__stdcall* WINDOW_PROC)(HWND__*, unsigned int, unsigned int, long);
#endif

// 27 fields of 32 bits on the 32-bit target.
struct WINDOW_INFO
{
    const wchar_t* m_pClassName;   // not owned
    const wchar_t* m_pTitle;       // not owned
    HWND__* m_hWnd;                // set by WINDOW_Create
    HINSTANCE__* m_hInstance;      // for the class, the window and the icons
    unsigned int m_uStyle;
    const wchar_t* m_pMenuName;    // menu resource of the class (integer id in pointer form)
    int m_iShowCmd;                // used by WINDOW_Show for a negative command
    int m_iX;                      // popup windows only
    int m_iY;
    int m_iWidth;                  // client size in pixels
    int m_iHeight;
    int m_iRectLeft;               // work area of the window-size computation
    int m_iRectTop;
    int m_iRectRight;
    int m_iRectBottom;
    HBRUSH__* m_hBrush;            // class background; WINDOW_Init stores a system colour index + 1
    int m_iType;                   // 0, 1 or other: chooses style and brush in WINDOW_Init
    unsigned int m_uReserved1;
    int m_iHasMenu;                // the window has a menu bar
    int m_iMenuChanged;            // the menu bar is redrawn at the next WINDOW_Show
    HICON__* m_hIcon;
    HICON__* m_hIconSm;
    unsigned int m_uReserved2;
    int m_iPopup;                  // WINDOW_Create makes a borderless popup at x, y
    HWND__* m_hStatus;             // status bar, or 0
    WINDOW_PROC m_pWndProc;
    MENU_HandleManager* m_pMenuHdMgr;  // owned: run-time menu table, or 0

    WINDOW_INFO();
};

// Fills the record afresh (every earlier field is replaced) and returns it.
// Type 0: overlapped window on the button face colour; 1: caption, system menu and
// minimise box on the button face colour; other: overlapped window on the window colour.
WINDOW_INFO& WINDOW_Init(WINDOW_INFO& _cWin, const wchar_t* _pClassName, const wchar_t* _pTitle,
                         int _iType, WINDOW_PROC _pWndProc, HINSTANCE__* _hInstance,
                         int _iWidth, int _iHeight);
// Before WINDOW_Create: the class's menu resource and background.
void WINDOW_SetMenu(WINDOW_INFO& _cWin, const wchar_t* _pMenuName);
HBRUSH__* WINDOW_SetStockBrush(WINDOW_INFO& _cWin, int _iStockObject);

// Registers the class and creates the window; the handle, or null.
HWND__* WINDOW_Create(WINDOW_INFO& _cWin);
// A negative command uses the record's own; the result of UpdateWindow.
int WINDOW_Show(WINDOW_INFO& _cWin, int _iShowCmd);
// 0 keeps the stored width or height. The window grows by the status bar, if any.
void WINDOW_SetClientSize(WINDOW_INFO& _cWin, int _iWidth, int _iHeight);

// Right edges of the parts, ended by the first negative entry (at most 255 before it);
// null gives one part. 1, or 0 when the list is too long or the bar cannot be made.
int WINDOW_CreateStatusBar(WINDOW_INFO& _cWin, const int* _pParts, unsigned int _uID);
int WINDOW_SetStatusText(WINDOW_INFO& _cWin, const wchar_t* _pText, unsigned int _uPart);
int WINDOW_FillClient(WINDOW_INFO& _cWin);
// _piSize[0] width, _piSize[1] height of the screen; returns the height.
int WINDOW_GetScreenSize(int* _piSize);
// Frees the run-time menu table.
void WINDOW_Release(WINDOW_INFO& _cWin);

// Symbolic name (or, with _iDescription, a Japanese line on when it arrives) of a window
// message; "UNKNOWN MASSAGE" for codes without a name. At most _iOutChars units are
// written: the whole text with its terminator when it fits, else the first _iOutChars
// units without terminator. 1, or 0 for a null buffer or no room.
int WINDOW_GetMessageName(unsigned int _uMessage, wchar_t* _pOut, int _iOutChars, int _iDescription);

// 8-bit form of the record for programs built with 8-bit texts (the system code page):
// no popup windows and no status bar, so 24 fields of 32 bits on the 32-bit target.
// The window is created at the record's x and y.
struct WINDOW_INFOA
{
    const char* m_pClassName;   // not owned
    const char* m_pTitle;       // not owned
    HWND__* m_hWnd;
    HINSTANCE__* m_hInstance;
    unsigned int m_uStyle;
    const char* m_pMenuName;
    int m_iShowCmd;
    int m_iX;
    int m_iY;
    int m_iWidth;
    int m_iHeight;
    int m_iRectLeft;
    int m_iRectTop;
    int m_iRectRight;
    int m_iRectBottom;
    HBRUSH__* m_hBrush;
    int m_iType;
    int m_iHasMenu;
    int m_iMenuChanged;
    HICON__* m_hIcon;
    HICON__* m_hIconSm;
    unsigned int m_uReserved2;
    WINDOW_PROC m_pWndProc;
    MENU_HandleManager* m_pMenuHdMgr;

    WINDOW_INFOA();
};

WINDOW_INFOA& WINDOW_Init(WINDOW_INFOA& _cWin, const char* _pClassName, const char* _pTitle, int _iType,
                          WINDOW_PROC _pWndProc, HINSTANCE__* _hInstance, int _iWidth, int _iHeight);
HWND__* WINDOW_Create(WINDOW_INFOA& _cWin);
int WINDOW_Show(WINDOW_INFOA& _cWin, int _iShowCmd);

#endif
