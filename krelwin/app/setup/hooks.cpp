// What the installer reaches by default: message boxes without owner, the classes root of
// the registry and the shell's desktop folder.
#include <windows.h>

#include "krelwin/app/setup/setup.h"

namespace {

void hooks_messageBox(const char* _pText, const char* _pCaption)
{
    MessageBoxA(0, _pText, _pCaption, MB_OK);
}

}  // namespace

SETUP_HOOKS g_stSetupHooks = {hooks_messageBox, SETUP_ShellDesktopFolder, HKEY_CLASSES_ROOT};
