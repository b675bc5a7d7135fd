// Registry keys and string values over the platform's A registry functions.
#include <windows.h>

#include <cstring>

#include "krelwin/app/setup/setup.h"

int REG_CreateKey(HKEY__* _hRoot, const char* _szSubKey, HKEY__** _phKey)
{
    if (!_hRoot || !_szSubKey || !_phKey) return 0;
    HKEY hRoot = 0;
    if (RegOpenKeyExA(_hRoot, 0, 0, KEY_ALL_ACCESS, &hRoot) != ERROR_SUCCESS) return 0;
    DWORD dwDisposition = 0;
    const LONG lResult = RegCreateKeyExA(hRoot, _szSubKey, 0, 0, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, 0,
                                         _phKey, &dwDisposition);
    RegCloseKey(hRoot);
    return lResult == ERROR_SUCCESS ? 1 : 0;
}

int REG_SetString(HKEY__* _hKey, const char* _szName, const char* _szText)
{
    if (!_hKey || !_szText) return 0;
    const DWORD dwSize = static_cast<DWORD>(std::strlen(_szText) + 1);
    return RegSetValueExA(_hKey, _szName, 0, REG_SZ, reinterpret_cast<const BYTE*>(_szText), dwSize) ==
                   ERROR_SUCCESS
               ? 1
               : 0;
}

int REG_CloseKey(HKEY__* _hKey)
{
    if (!_hKey) return 0;
    return RegCloseKey(_hKey) == ERROR_SUCCESS ? 1 : 0;
}
