// Shared by the installer tests: the messages the installer shows, a registry key of
// the test standing in for the classes root, and 8-bit (code page 932) texts.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "krelwin/app/setup/setup.h"

namespace setuptest {

inline std::string ToAnsi(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
    s.resize(n - 1);
    return s;
}

inline std::wstring FromAnsi(const std::string& s) {
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    w.resize(n - 1);
    return w;
}

// Each message as "caption|text" in UTF-16.
inline std::vector<std::wstring>& Messages() {
    static std::vector<std::wstring> s_messages;
    return s_messages;
}

inline void RecordMessage(const char* text, const char* caption) {
    Messages().push_back(FromAnsi(caption) + L"|" + FromAnsi(text));
}

inline std::string& DesktopFolder() {
    static std::string s_folder;
    return s_folder;
}

inline int TestDesktop(char* out) {
    if (DesktopFolder().empty()) {
        out[0] = 0;
        return 0;
    }
    lstrcpyA(out, DesktopFolder().c_str());
    return 1;
}

// Removes the key with every key below it.
inline void DeleteKeyTree(HKEY parent, const std::string& sub) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        char name[256];
        DWORD len = sizeof name;
        while (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            DeleteKeyTree(key, name);
            len = sizeof name;
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(parent, sub.c_str());
}

// A fresh key under HKEY_CURRENT_USER that the installer takes for the classes root.
class TestRoot {
public:
    TestRoot() {
        m_path = "Software\\krelwin_setup_test_" + std::to_string(GetCurrentProcessId());
        DeleteKeyTree(HKEY_CURRENT_USER, m_path);
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        m_saved = g_stSetupHooks;
        g_stSetupHooks.m_hClassesRoot = m_key;
        g_stSetupHooks.m_pMessageBox = RecordMessage;
        g_stSetupHooks.m_pDesktopFolder = TestDesktop;
        Messages().clear();
    }
    ~TestRoot() {
        g_stSetupHooks = m_saved;
        RegCloseKey(m_key);
        DeleteKeyTree(HKEY_CURRENT_USER, m_path);
    }
    HKEY Key() const { return m_key; }

    // Default value of a key below the root, in UTF-16; "<none>" when absent.
    std::wstring Value(const std::wstring& sub) const {
        wchar_t buf[1024] = {};
        DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
        HKEY key = nullptr;
        if (RegOpenKeyExW(m_key, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<none>";
        LONG r = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(key);
        if (r != ERROR_SUCCESS || type != REG_SZ) return L"<none>";
        return buf;
    }

private:
    std::string m_path;
    HKEY m_key = nullptr;
    SETUP_HOOKS m_saved;
};

}  // namespace setuptest
