// The installer window: its controls, its window procedure and its buttons.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "krelwin/app/setup/setup.h"

namespace {

const char s_szDefaultDir[] = "C:\\Program Files\\krelwin";
const char s_szFolderName[] = "krelwin";

HWND setupwnd_control(HINSTANCE _hInstance, DWORD _dwExStyle, const char* _pClass, const char* _pText,
                      DWORD _dwStyle, int _iX, int _iY, int _iWidth, int _iHeight, UINT_PTR _uID, HFONT _hFont)
{
    HWND hCtrl = CreateWindowExA(_dwExStyle, _pClass, _pText, _dwStyle, _iX, _iY, _iWidth, _iHeight,
                                 s_stSetup.m_cWinfo.m_hWnd, reinterpret_cast<HMENU>(_uID), _hInstance, 0);
    if (hCtrl && _hFont) SendMessageA(hCtrl, WM_SETFONT, reinterpret_cast<WPARAM>(_hFont), FALSE);
    return hCtrl;
}

void setupwnd_browse(HWND _hWnd)
{
    char szKept[SETUP_PATH_LENGTH];
    std::strcpy(szKept, s_stSetup.m_szInstallDir);
    if (!BrowseForInstallFolder(_hWnd, s_stSetup.m_szInstallDir)) return;

    const int iFree = GetFreeDiskMB();
    const bool bRoom = iFree >= SETUP_NeedMB(s_stSetup.m_iTotalBlocks);
    // The folder with "\krelwin" must still fit.
    const bool bFits = std::strlen(s_stSetup.m_szInstallDir) + 1 + sizeof s_szFolderName <= SETUP_PATH_LENGTH;
    if (!bRoom || !bFits) {
        if (iFree >= 0) g_stSetupHooks.m_pMessageBox("そのフォルダにはインストールできません", "error");
        std::strcpy(s_stSetup.m_szInstallDir, szKept);
        SETUP_ShowInstallDir();
        return;
    }
    FILE_AddSeparator(s_stSetup.m_szInstallDir);
    std::strcat(s_stSetup.m_szInstallDir, s_szFolderName);
    SETUP_ShowInstallDir();
}

LRESULT CALLBACK SetupWndProc(HWND _hWnd, UINT _uMsg, WPARAM _wParam, LPARAM _lParam)
{
    switch (_uMsg) {
    case WM_CREATE:
        SetTimer(_hWnd, SETUP_TIMER_ID, SETUP_TIMER_MS, CopyTimerProc);
        s_stSetup.m_iInstallState = SETUP_IDLE;
        return 0;
    case WM_PAINT:
        PaintSetupWindow(_hWnd);
        return 0;
    case WM_CLOSE:
        DestroyWindow(_hWnd);
        return 0;
    case WM_DESTROY:
        KillTimer(_hWnd, SETUP_TIMER_ID);
        CloseCopyFiles();
        PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        KillTimer(_hWnd, SETUP_TIMER_ID);
        return 1;
    case WM_COMMAND:
        OnSetupCommand(_wParam, _hWnd);
        return 0;
    default:
        return DefWindowProcA(_hWnd, _uMsg, _wParam, _lParam);
    }
}

}  // namespace

void CALLBACK CopyTimerProc(HWND__* _hWnd, unsigned int /*_uMsg*/, uintptr_t /*_uID*/, unsigned long /*_dwTime*/)
{
    // A message box shown during a tick lets further ticks in: they return at once.
    if (s_stSetup.m_iTimerBusy) return;
    s_stSetup.m_iTimerBusy = 1;
    CopyStep(s_stSetup.m_cWinfo.m_hWnd ? s_stSetup.m_cWinfo.m_hWnd : _hWnd);
    s_stSetup.m_iTimerBusy = 0;
}

void PaintSetupWindow(HWND__* _hWnd)
{
    PAINTSTRUCT stPaint;
    BeginPaint(_hWnd, &stPaint);
    EndPaint(_hWnd, &stPaint);
}

void OnSetupCommand(uintptr_t _wParam, HWND__* _hWnd)
{
    switch (LOWORD(_wParam)) {
    case SETUP_ID_START:
        switch (s_stSetup.m_iInstallState) {
        case SETUP_IDLE:
            if (BeginInstall()) {
                SendMessageA(s_stSetup.m_hProgress, PBM_SETPOS, 0, 0);
                s_stSetup.m_iInstallState = SETUP_COPYING;
                SETUP_SetStartText("中止");
            }
            break;
        case SETUP_COPYING:
            // Stopped before the message: the copy must not go on (or finish) behind it.
            // The folder stays as it is, so a new start copies into it again.
            CloseCopyFiles();
            s_stSetup.m_iInstallState = SETUP_IDLE;
            SETUP_SetStartText("開始");
            g_stSetupHooks.m_pMessageBox("インストールは中止されました", "error");
            break;
        default:
            PostQuitMessage(0);
            break;
        }
        break;
    case SETUP_ID_BROWSE:
        setupwnd_browse(_hWnd);
        break;
    default:
        break;
    }
}

void CreateSetupControls(HINSTANCE__* _hInstance)
{
    HFONT hFont = CreateFontA(12, 0, 0, 0, 200, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");

    setupwnd_control(_hInstance, 0, "STATIC", "インストール先フォルダ", WS_CHILD | WS_VISIBLE, 5, 4, 150, 15, 0,
                     hFont);
    s_stSetup.m_hEdit = setupwnd_control(_hInstance, WS_EX_CLIENTEDGE, "EDIT", "",
                                         WS_CHILD | WS_VISIBLE | ES_AUTOVSCROLL, 5, 22, 234, 20, 0, hFont);
    // What is typed must fit the folder text whole, never be cut when it is read.
    SendMessageA(s_stSetup.m_hEdit, EM_LIMITTEXT, SETUP_PATH_LENGTH - 1, 0);

    INITCOMMONCONTROLSEX stInit = {};
    stInit.dwSize = sizeof stInit;
    stInit.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&stInit);
    s_stSetup.m_hProgress = setupwnd_control(_hInstance, 0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH,
                                             5, 54, 310, 15, 0, 0);
    s_stSetup.m_iTotalBlocks = CountCopyBlocks();
    SendMessageA(s_stSetup.m_hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, s_stSetup.m_iTotalBlocks));
    SendMessageA(s_stSetup.m_hProgress, PBM_SETSTEP, 1, 0);
    SendMessageA(s_stSetup.m_hProgress, PBM_SETPOS, 0, 0);

    s_stSetup.m_hStart = setupwnd_control(_hInstance, 0, "BUTTON", "開始", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 246,
                                          82, 66, 20, SETUP_ID_START, hFont);
    s_stSetup.m_hBrowse = setupwnd_control(_hInstance, 0, "BUTTON", "参照", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                           246, 22, 66, 20, SETUP_ID_BROWSE, hFont);

    std::strcpy(s_stSetup.m_szInstallDir, s_szDefaultDir);
    SETUP_ShowInstallDir();
}

int InitSetupWindow(HINSTANCE__* _hInstance)
{
    WINDOW_INFOA& cWin = s_stSetup.m_cWinfo;
    WINDOW_Init(cWin, "PROC", "setup", 1, SetupWndProc, _hInstance, 320, 110);
    if (!WINDOW_Create(cWin)) return 0;
    WINDOW_Show(cWin, SW_SHOW);
    HICON hIcon = LoadIconA(_hInstance, MAKEINTRESOURCEA(102));
    if (hIcon) SetClassLongPtrA(cWin.m_hWnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(hIcon));

    char szModule[SETUP_PATH_LENGTH] = {0};
    const DWORD dwLen = GetModuleFileNameA(0, szModule, SETUP_PATH_LENGTH);
    s_stSetup.m_szSetupDir[0] = 0;
    if (dwLen > 0 && dwLen < SETUP_PATH_LENGTH) {
        char szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH];
        FILE_split(szModule, szDrive, szDir, 0, 0);
        FILE_merge(s_stSetup.m_szSetupDir, szDrive, szDir, "", "", SETUP_PATH_LENGTH);
    }

    CreateSetupControls(_hInstance);
    return 1;
}
