// The copy list, the installer's state and the sums taken over the list.
#include <cstring>

#include "krelwin/app/setup/setup.h"

const char COPY_FILE_LIST[][SETUP_NAME_LENGTH] = {"krelwin.exe", "krelwin.ini", "*"};

SETUP_STATE s_stSetup;

int SETUP_JoinPath(char* _szOut, const char* _szFolder, const char* _szName)
{
    if (!_szOut) return 0;
    _szOut[0] = 0;
    if (!_szFolder || !_szName) return 0;
    FILE_merge(_szOut, "", _szFolder, _szName, "", SETUP_PATH_LENGTH);
    return _szOut[0] ? 1 : 0;
}

int CountCopyBlocks()
{
    // Sized in the installer's folder, where the copy takes them from, whatever the
    // current folder is when the window opens.
    int iBlocks = 0;
    for (int i = 0; COPY_FILE_LIST[i][0] != '*'; ++i) {
        char szPath[SETUP_PATH_LENGTH];
        int iSize = SETUP_JoinPath(szPath, s_stSetup.m_szSetupDir, COPY_FILE_LIST[i]) ? FILE_GetSize(szPath) : 0;
        if (iSize < 0) iSize = 0;  // 2 GiB or more: the copy refuses it anyway
        iBlocks += static_cast<int>((static_cast<unsigned int>(iSize) + 0xFFFFu) >> 16);
    }
    return iBlocks;
}

int SETUP_NeedMB(int _iBlocks)
{
    return (_iBlocks * 64 + 1023) / 1024;
}
