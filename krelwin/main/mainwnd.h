// The main window of krelwin: Start button, batch line, target file list, message log,
// the menu with its one-touch commands, dropped files, and the properties and About
// dialogs. Everything runs on the user-interface thread.
#ifndef KRELWIN_MAIN_MAINWND_H
#define KRELWIN_MAIN_MAINWND_H

#include <windows.h>

// Drops below this line (client pixels) add files; above it they open a batch.
#define MAINWND_DROP_LIST_TOP	60

// Creates and shows the main window with its log (before the batch is read).
void Init_MainWnd();
// Font, log label, message log and log buffer.
void Init_ChildWnd();
// Start button, batch line, file list and entry count (after the batch was read).
void Init_Controls();

LRESULT CALLBACK WndProc(HWND _hWnd, UINT _uMsg, WPARAM _wParam, LPARAM _lParam);
void Wnd_command(HWND _hWnd, WPARAM _wParam, LPARAM _lParam);
void Wnd_dropfiles(HWND _hWnd, HDROP _hDrop);
void Wnd_paint(HWND _hWnd);
// Releases the log buffer and the font and writes the settings file.
void Wnd_destroy(HWND _hWnd);

// Open-file dialog for a batch file, read on top of the current script and files.
// 1 when a batch was chosen, 0 when the dialog was cancelled.
int Open_Batch(HWND _hWnd);

// The list box follows s_stGl.m_cFileList entry by entry.
void List_refresh();
void List_setEntry(int _iIndex);
void List_clear();
void List_delete();
void List_deleteOtherExt();
void List_deleteExt();

// Modal dialogs over the main window; 1 when the dialog ran, 0 when it could not be made.
int Open_Property();
INT_PTR CALLBACK PropertyDlgProc(HWND _hDlg, UINT _uMsg, WPARAM _wParam, LPARAM _lParam);
int Open_About();
INT_PTR CALLBACK AboutDlgProc(HWND _hDlg, UINT _uMsg, WPARAM _wParam, LPARAM _lParam);

#endif
