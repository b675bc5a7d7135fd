// Free space of the install folder's drive over GetDiskFreeSpaceEx (or GetDiskFreeSpace
// where the system lacks it).
#include <windows.h>

#include <climits>

#include "krelwin/app/setup/setup.h"

namespace {

typedef BOOL(WINAPI* DISKFREEEX)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

int GetFreeDiskMB()
{
    const char* pFolder = s_stSetup.m_szInstallDir;
    char szRoot[4] = {pFolder[0], ':', '\\', 0};
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Only a drive path can be checked (a relative or network path has no drive of its own).
    if (pFolder[1] != ':' || FILE_GetDriveType(pFolder[0]) != DRIVE_FIXED) {
        g_stSetupHooks.m_pMessageBox("そのフォルダにはインストールできません", "error");
        return -1;
    }

    unsigned long long uFree = 0;
    bool bKnown = false;
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    DISKFREEEX pFreeEx = hKernel ? reinterpret_cast<DISKFREEEX>(
                                       reinterpret_cast<void*>(GetProcAddress(hKernel, "GetDiskFreeSpaceExA")))
                                 : 0;
    if (pFreeEx) {
        ULARGE_INTEGER stAvail, stTotal, stFree;
        if (pFreeEx(szRoot, &stAvail, &stTotal, &stFree)) {
            uFree = stFree.QuadPart;
            bKnown = true;
        }
    } else {
        DWORD dwSectors = 0, dwBytes = 0, dwFree = 0, dwClusters = 0;
        if (GetDiskFreeSpaceA(szRoot, &dwSectors, &dwBytes, &dwFree, &dwClusters)) {
            uFree = static_cast<unsigned long long>(dwSectors) * dwBytes * dwFree;
            bKnown = true;
        }
    }
    // An unknown figure does not hold the install back: a full disk still shows when a
    // write fails.
    if (!bKnown) return INT_MAX;
    const unsigned long long uMB = uFree >> 20;
    return uMB > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(uMB);
}
