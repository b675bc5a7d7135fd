// Start-up of krelwin: settings, command line, main window, batch, current folder and
// the [EXTRA] preset, up to the message loop.
#ifndef KRELWIN_MAIN_STARTUP_INSTANCE_H
#define KRELWIN_MAIN_STARTUP_INSTANCE_H

#include <windows.h>

// 1 when the program is ready for its message loop; 0 when a previous instance is given.
int Init_Instance(HINSTANCE _hInst, HINSTANCE _hPrevInst, const char *_pCmdLine);

#endif
