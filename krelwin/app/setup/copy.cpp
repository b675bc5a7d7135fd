// The copy run: preparing it, one 64 KiB block per timer tick, and its failure.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "krelwin/app/setup/setup.h"

namespace {

bool copy_isOpen(FILE_HANDLE _hFile)
{
    return _hFile && _hFile != FILE_INVALID_HANDLE;
}

void copy_enableFolder(BOOL _bEnable)
{
    EnableWindow(s_stSetup.m_hBrowse, _bEnable);
    EnableWindow(s_stSetup.m_hEdit, _bEnable);
}

}  // namespace

void SETUP_SetStartText(const char* _pText)
{
    SetWindowTextA(s_stSetup.m_hStart, _pText);
}

void SETUP_ShowInstallDir()
{
    SetWindowTextA(s_stSetup.m_hEdit, s_stSetup.m_szInstallDir);
}

void CloseCopyFiles()
{
    if (copy_isOpen(s_stSetup.m_hSrc)) FILE_HdClose(s_stSetup.m_hSrc);
    if (copy_isOpen(s_stSetup.m_hDst)) {
        FILE_HdClose(s_stSetup.m_hDst);
        // A partly written file must not pass for an installed one.
        FILE_Delete(s_stSetup.m_szDstPath);
    }
    s_stSetup.m_hSrc = 0;
    s_stSetup.m_hDst = 0;
    s_stSetup.m_iFileOpen = 0;
}

int BeginInstall()
{
    s_stSetup.m_iFileCount = 0;
    while (COPY_FILE_LIST[s_stSetup.m_iFileCount][0] != '*') ++s_stSetup.m_iFileCount;
    s_stSetup.m_iFileIndex = 0;
    s_stSetup.m_iFileOpen = 0;
    s_stSetup.m_hSrc = 0;
    s_stSetup.m_hDst = 0;

    // A typed folder counts.
    GetWindowTextA(s_stSetup.m_hEdit, s_stSetup.m_szInstallDir, SETUP_PATH_LENGTH);

    const int iFree = GetFreeDiskMB();
    if (iFree < 0) return 0;  // the drive-type message was shown
    if (iFree < SETUP_NeedMB(s_stSetup.m_iTotalBlocks)) {
        g_stSetupHooks.m_pMessageBox("そのフォルダにはインストールできません", "error");
        return 0;
    }

    char szFolder[SETUP_PATH_LENGTH];
    if (std::strlen(s_stSetup.m_szInstallDir) >= SETUP_PATH_LENGTH - 1) {
        g_stSetupHooks.m_pMessageBox("そのフォルダにはインストールできません", "error");
        return 0;
    }
    std::strcpy(szFolder, s_stSetup.m_szInstallDir);
    FILE_AddSeparator(szFolder);
    // A folder that cannot be made shows when the first file is created there.
    FILE_MakeDirectory(szFolder);

    copy_enableFolder(FALSE);
    return 1;
}

void FailInstall()
{
    // The run stops before the message, so no tick copies on while it is open.
    CloseCopyFiles();
    s_stSetup.m_iInstallState = SETUP_IDLE;
    SETUP_SetStartText("開始");
    // The folder may be what failed: let the user choose another.
    copy_enableFolder(TRUE);
    g_stSetupHooks.m_pMessageBox("インストールエラー", "error");
}

void CopyStep(HWND__* _hWnd)
{
    if (s_stSetup.m_iInstallState != SETUP_COPYING) return;

    if (!s_stSetup.m_iFileOpen) {
        const char* pName = COPY_FILE_LIST[s_stSetup.m_iFileIndex];
        char szSrc[SETUP_PATH_LENGTH];
        if (!SETUP_JoinPath(szSrc, s_stSetup.m_szSetupDir, pName)) {
            FailInstall();
            return;
        }
        s_stSetup.m_iFileSize = FILE_GetSize(szSrc);
        FILE_HANDLE hSrc = FILE_Open(szSrc, 0);
        if (!copy_isOpen(hSrc)) {
            FailInstall();
            return;
        }
        s_stSetup.m_hSrc = hSrc;
        if (s_stSetup.m_iFileSize < 0 || !SETUP_JoinPath(s_stSetup.m_szDstPath, s_stSetup.m_szInstallDir, pName)) {
            FailInstall();
            return;
        }
        FILE_HANDLE hDst = FILE_Create(s_stSetup.m_szDstPath);
        if (!copy_isOpen(hDst)) {
            FailInstall();
            return;
        }
        s_stSetup.m_hDst = hDst;
        s_stSetup.m_iCopied = 0;
        s_stSetup.m_iFileOpen = 1;
    }

    uint32_t uRead = 0;
    if (!FILE_HdRead(s_stSetup.m_hSrc, s_stSetup.m_byBuff, SETUP_BLOCK_SIZE, &uRead)) {
        FailInstall();
        return;
    }
    // A source that ends before its size would otherwise be read for ever.
    if (uRead == 0 && s_stSetup.m_iCopied < s_stSetup.m_iFileSize) {
        FailInstall();
        return;
    }
    uint32_t uWritten = 0;
    if (uRead && (!FILE_HdWrite(s_stSetup.m_hDst, s_stSetup.m_byBuff, uRead, &uWritten) || uWritten != uRead)) {
        FailInstall();
        return;
    }
    s_stSetup.m_iCopied += static_cast<int>(uRead);

    if (s_stSetup.m_iCopied >= s_stSetup.m_iFileSize) {
        FILE_HdClose(s_stSetup.m_hSrc);
        s_stSetup.m_hSrc = 0;
        // The last data may only fail to reach the disk on closing.
        const int iClosed = FILE_HdClose(s_stSetup.m_hDst);
        s_stSetup.m_hDst = 0;
        s_stSetup.m_iFileOpen = 0;
        if (!iClosed) {
            FILE_Delete(s_stSetup.m_szDstPath);
            FailInstall();
            return;
        }
        ++s_stSetup.m_iFileIndex;
    }

    // One step per block read, so the bar ends at its range: an empty file has no block.
    if (uRead) SendMessageA(s_stSetup.m_hProgress, PBM_STEPIT, 0, 0);

    if (s_stSetup.m_iFileIndex >= s_stSetup.m_iFileCount) {
        s_stSetup.m_iInstallState = SETUP_DONE;
        SETUP_SetStartText("終了");
        FinishInstall(s_stSetup.m_szInstallDir);
        KillTimer(_hWnd, SETUP_TIMER_ID);
        g_stSetupHooks.m_pMessageBox("インストールが完了しました", "情報");
    }
}
