// The installer: copies the program and its settings file from the installer's own folder
// into an install folder on a 10 ms window timer, then registers the batch file type,
// makes the desktop shortcut and records the backup folder. Texts are 8-bit (the system
// code page). The platform handle types are declared as the platform declares them.
#ifndef KRELWIN_APP_SETUP_SETUP_H
#define KRELWIN_APP_SETUP_SETUP_H

#include "kelto/files/win32/file.h"
#include "kelto/system/win32/window.h"

struct HKEY__;

#define SETUP_NAME_LENGTH 256
#define SETUP_PATH_LENGTH 260
#define SETUP_BLOCK_SIZE 65536

#define SETUP_ID_START 100
#define SETUP_ID_BROWSE 101
#define SETUP_TIMER_ID 1
#define SETUP_TIMER_MS 10

// Names read from the first slot up to the first one starting with '*'. The first is the
// program that is registered and linked, the second the settings file that is written.
extern const char COPY_FILE_LIST[][SETUP_NAME_LENGTH];

enum
{
    SETUP_IDLE = 0,     // Start reads "開始"
    SETUP_COPYING = 1,  // "中止"
    SETUP_DONE = 2      // "終了"
};

struct SETUP_STATE
{
    char m_szSetupDir[SETUP_PATH_LENGTH];    // the installer's own folder, ending in '\'
    char m_szInstallDir[SETUP_PATH_LENGTH];  // as the user gave it
    HWND__* m_hEdit;
    HWND__* m_hStart;
    HWND__* m_hBrowse;
    HWND__* m_hProgress;
    WINDOW_INFOA m_cWinfo;
    int m_iInstallState;
    int m_iTotalBlocks;
    int m_iFileCount;
    int m_iFileIndex;
    int m_iFileOpen;
    int m_iFileSize;
    int m_iCopied;
    FILE_HANDLE m_hSrc;  // null when closed
    FILE_HANDLE m_hDst;
    char m_szDstPath[SETUP_PATH_LENGTH];  // of the file being written, so a partial one can go
    int m_iTimerBusy;
    unsigned char m_byBuff[SETUP_BLOCK_SIZE];
};
extern SETUP_STATE s_stSetup;

// What the installer reaches outside its own window, replaceable by tests so that they
// see the messages and never touch the shell's real associations or desktop.
struct SETUP_HOOKS
{
    void (*m_pMessageBox)(const char* _pText, const char* _pCaption);
    // Fills _szOut (SETUP_PATH_LENGTH bytes) with the desktop folder; 1, or 0 when unknown.
    int (*m_pDesktopFolder)(char* _szOut);
    HKEY__* m_hClassesRoot;
};
extern SETUP_HOOKS g_stSetupHooks;

// Window and copy loop.
int InitSetupWindow(HINSTANCE__* _hInstance);
void CreateSetupControls(HINSTANCE__* _hInstance);
void __stdcall CopyTimerProc(HWND__* _hWnd, unsigned int _uMsg, uintptr_t _uID, unsigned long _dwTime);
void PaintSetupWindow(HWND__* _hWnd);
void OnSetupCommand(uintptr_t _wParam, HWND__* _hWnd);
int BeginInstall();
void CopyStep(HWND__* _hWnd);
void FailInstall();
// Closes the files of a copy in progress; a partly written destination is deleted.
void CloseCopyFiles();
int BrowseForInstallFolder(HWND__* _hOwner, char* _szFolder);
int CountCopyBlocks();
// Free megabytes on the install folder's drive; -1 (after a message) when the folder is
// not on a fixed drive.
int GetFreeDiskMB();
// Megabytes that the given number of 64 KiB blocks needs, rounded up.
int SETUP_NeedMB(int _iBlocks);
// Shows the text of Start in the button and the folder in the edit field.
void SETUP_SetStartText(const char* _pText);
void SETUP_ShowInstallDir();

// Registration, shortcut and settings key.
void FinishInstall(const char* _szInstallDir);
int RegisterBatchFileType(const char* _szProgram);
int CreateDesktopShortcut(const char* _szProgram);
// The shell's desktop folder (the default of the desktop hook).
int SETUP_ShellDesktopFolder(char* _szOut);
int CreateShellLink(const char* _szTarget, const char* _szWorkDir, const char* _szLink);
void WriteBackupPath(const char* _szInstallDir);
int REG_CreateKey(HKEY__* _hRoot, const char* _szSubKey, HKEY__** _phKey);
int REG_SetString(HKEY__* _hKey, const char* _szName, const char* _szText);
int REG_CloseKey(HKEY__* _hKey);

// Path helpers: _szOut gets folder + '\' (when missing) + name; 1, or 0 (empty out) when
// it does not fit in SETUP_PATH_LENGTH bytes.
int SETUP_JoinPath(char* _szOut, const char* _szFolder, const char* _szName);

#endif
