// setup.exe run as a user would: a fresh folder holds the installer and the files it
// copies; the test types the install folder, presses Start, answers the completion
// message and presses the button again, within time bounds.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/krelwin/app/setup/setup_support.h"
#include "tests/support/testdir.h"

namespace {

struct FindArg {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lparam) {
    FindArg* arg = reinterpret_cast<FindArg*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (pid == arg->pid && IsWindowVisible(hwnd) && lstrcmpW(cls, arg->cls) == 0) {
        arg->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process with this class, waited for up to the bound.
HWND WaitForWindow(DWORD pid, const wchar_t* cls, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        FindArg arg = {pid, cls, nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&arg));
        if (arg.found) return arg.found;
        Sleep(100);
    }
    return nullptr;
}

std::wstring Text(HWND hwnd) {
    // Asked by message: the window belongs to another process.
    wchar_t buf[300] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 300, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, &got);
    return buf;
}

std::wstring ClassesValue(const wchar_t* sub) {
    wchar_t buf[600] = {};
    LONG size = sizeof buf - sizeof(wchar_t);
    if (RegQueryValueW(HKEY_CLASSES_ROOT, sub, buf, &size) != ERROR_SUCCESS) return L"<none>";
    return buf;
}

TEST(SetupProgram, InstallsIntoAFreshFolderAndRegistersTheProgram) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"media"));
    ASSERT_TRUE(testdir::CopyOver(KRELWIN_BIN_DIR L"\\setup.exe", dir.Path() + L"\\media\\setup.exe"));
    std::string program(70000, '\0');
    for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 13 + i / 256);
    ASSERT_TRUE(dir.Write(L"media\\krelwin.exe", program));
    ASSERT_TRUE(dir.Write(L"media\\krelwin.ini", "[MAIN]\r\nAUTOEXEC=0\r\n"));
    const std::wstring target = dir.Path() + L"\\inst\\krelwin";

    std::wstring cmd = L"\"" + dir.Path() + L"\\media\\setup.exe\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // Started from another current folder: the files are taken from the installer's own.
    ASSERT_TRUE(CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi));
    struct Ender {
        PROCESS_INFORMATION& pi;
        ~Ender() {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    } ender{pi};

    HWND main = WaitForWindow(pi.dwProcessId, L"PROC", 30);
    ASSERT_NE(nullptr, main) << "the installer window did not appear";
    EXPECT_EQ(L"setup", Text(main));
    HWND edit = FindWindowExW(main, nullptr, L"Edit", nullptr);
    HWND start = GetDlgItem(main, 100);
    ASSERT_NE(nullptr, edit);
    ASSERT_NE(nullptr, start);
    EXPECT_EQ(L"C:\\Program Files\\krelwin", Text(edit));

    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(start));

    HWND box = WaitForWindow(pi.dwProcessId, L"#32770", 30);
    ASSERT_NE(nullptr, box) << "no message after the copy";
    EXPECT_EQ(L"情報", Text(box));
    wchar_t message[200] = {};
    GetDlgItemTextW(box, 0xFFFF, message, 200);
    EXPECT_EQ(std::wstring(L"インストールが完了しました"), message);
    // The button already reads "終了" while the message is open.
    EXPECT_EQ(L"終了", Text(start));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(50);

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(start));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 20000)) << "the installer did not end";
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);

    std::string got;
    ASSERT_TRUE(testdir::ReadBytes(target + L"\\krelwin.exe", &got));
    EXPECT_TRUE(got == program);
    ASSERT_TRUE(testdir::ReadBytes(target + L"\\krelwin.ini", &got));
    EXPECT_EQ(0u, got.find("[MAIN]\r\nAUTOEXEC=0\r\n")) << got;
    EXPECT_NE(std::string::npos, got.find("BACKUPPATH=" + setuptest::ToAnsi(target) + "\\backfile")) << got;
    EXPECT_TRUE(testdir::IsDir(target + L"\\backfile"));

    // The registration lands in the test prefix's registry.
    EXPECT_EQ(L"kvl_auto_file", ClassesValue(L".kvl"));
    EXPECT_EQ(target + L"\\krelwin.exe \"%1\"", ClassesValue(L"kvl_auto_file\\shell\\open\\command"));
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    const std::wstring link = std::wstring(desktop) + L"\\DravikVO.lnk";
    EXPECT_TRUE(testdir::IsFile(link));
    DeleteFileW(link.c_str());
    setuptest::DeleteKeyTree(HKEY_CLASSES_ROOT, ".kvl");
    setuptest::DeleteKeyTree(HKEY_CLASSES_ROOT, "kvl_auto_file");
}

}  // namespace
