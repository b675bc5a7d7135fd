// Entry point of the installer.
#include <windows.h>

#include "krelwin/app/setup/setup.h"

int WINAPI WinMain(HINSTANCE _hInstance, HINSTANCE, LPSTR, int)
{
    if (!InitSetupWindow(_hInstance)) return 1;
    MSG stMsg;
    while (GetMessageA(&stMsg, 0, 0, 0) > 0) {
        TranslateMessage(&stMsg);
        DispatchMessageA(&stMsg);
    }
    return static_cast<int>(stMsg.wParam);
}
