// The platform's help viewer.
#include "kelto/system/win32/dialog.h"

#include <windows.h>

int HELP_Quit(HWND__* _hOwner, const wchar_t* _pHelpFile)
{
    return WinHelpW(_hOwner, _pHelpFile, HELP_QUIT, 0);
}

int HELP_ForceFile(HWND__* _hOwner, const wchar_t* _pHelpFile)
{
    return WinHelpW(_hOwner, _pHelpFile, HELP_FORCEFILE, 0);
}
