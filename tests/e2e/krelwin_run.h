// Runs the real krelwin.exe in a fresh folder of its own (a copy of the program with its
// own krelwin.ini beside it) and drives its window from outside. Every wait is bounded;
// a program still running when the run object goes is ended.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "tests/support/testdir.h"

namespace e2e {

// The system code page's bytes of a text (Shift-JIS under the test locale).
inline std::string Ansi(const std::wstring& _str)
{
    if (_str.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, _str.c_str(), static_cast<int>(_str.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, _str.c_str(), static_cast<int>(_str.size()), &s[0], n, nullptr, nullptr);
    return s;
}

// Bound of one wait for the program (start-up under Wine included).
const DWORD kWaitMs = 30000;

class KrelwinRun {
public:
    KrelwinRun() {
        if (!dir_.Ok()) {
            fprintf(stderr, "no test folder could be made\n");
            return;
        }
        std::wstring src = std::wstring(KRELWIN_BIN_DIR) + L"\\krelwin.exe";
        copied_ = testdir::CopyOver(src, Exe(), &lastError_);
        if (!copied_) fprintf(stderr, "krelwin.exe not copied into the test folder: error %lu\n", lastError_);
    }
    ~KrelwinRun() {
        // A limited start whose window never came has no handle: the host ends it.
        if (fileLimitKib_ > 0 && !process_) testdir::RunHost(L"Z:\\usr\\bin\\pkill", "-f " + testdir::UnixPath(Exe()));
        if (process_) {
            if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
                Close();
                if (WaitForSingleObject(process_, 5000) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
                WaitForSingleObject(process_, 5000);
            }
            CloseHandle(process_);
        }
    }
    KrelwinRun(const KrelwinRun&) = delete;
    KrelwinRun& operator=(const KrelwinRun&) = delete;

    bool Ok() const { return dir_.Ok() && copied_; }
    // The platform's error of the last failed start.
    DWORD LastError() const { return lastError_; }
    const testdir::TestDir& Dir() const { return dir_; }
    std::wstring Exe() const { return dir_.Path(L"krelwin.exe"); }

    // From now on the program starts under a host limit on the size of every file it writes
    // (the shell's ulimit -f in KiB, with SIGXFSZ ignored so that a write past it fails as on
    // a full disk or a quota, instead of ending the program). The process is then found by
    // its window: only for runs that keep their window open (they end with errors).
    void SetFileLimit(int kib) { fileLimitKib_ = kib; }

    // Starts the program with the arguments, in the given folder (default: its own).
    bool Start(const std::wstring& args, const std::wstring& cwd = L"") {
        if (fileLimitKib_ > 0) return StartLimited(args, cwd.empty() ? dir_.Path() : cwd);
        std::wstring line = L"\"" + Exe() + L"\"";
        if (!args.empty()) line += L" " + args;
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::wstring folder = cwd.empty() ? dir_.Path() : cwd;
        // Wine under a loaded machine now and then refuses a start: try a few times.
        bool started = false;
        for (int attempt = 0; attempt < 5 && !started; ++attempt) {
            std::wstring copy = line;
            started = CreateProcessW(nullptr, &copy[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                     &si, &pi) != 0;
            if (!started) {
                lastError_ = GetLastError();
                Sleep(500);
            }
        }
        if (!started) return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        pid_ = pi.dwProcessId;
        return true;
    }

    // True with the exit code when the program ended within the bound.
    bool WaitExit(DWORD* code, DWORD ms = kWaitMs) {
        if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
        GetExitCodeProcess(process_, code);
        return true;
    }
    bool IsRunning() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

    // The program's visible top-level window of the class, waited for within the bound.
    HWND FindWindowOf(const wchar_t* cls, DWORD ms = kWaitMs) {
        const DWORD start = GetTickCount();
        do {
            Search s = {pid_, cls, nullptr};
            EnumWindows(&KrelwinRun::EnumProc, reinterpret_cast<LPARAM>(&s));
            if (s.found) return s.found;
            Sleep(20);
        } while (GetTickCount() - start < ms && IsRunning());
        return nullptr;
    }
    HWND Main() { return FindWindowOf(L"PROC"); }

    // The text of the main window's message log (the read-only multi-line edit).
    std::wstring LogEdit() {
        HWND edit = ChildWithStyle(Main(), L"Edit", ES_READONLY);
        if (!edit) return L"";
        wchar_t buf[32768] = {0};
        SendMessageTimeoutW(edit, WM_GETTEXT, 32768, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 5000, nullptr);
        return buf;
    }
    // Waits until the log edit holds the text.
    bool WaitLogHas(const std::wstring& text, DWORD ms = kWaitMs) {
        const DWORD start = GetTickCount();
        do {
            if (LogEdit().find(text) != std::wstring::npos) return true;
            Sleep(20);
        } while (GetTickCount() - start < ms && IsRunning());
        return false;
    }
    // Waits until the log file holds the text (ASCII, such as the run's last line). The
    // program writes its files without sharing, so a read while it writes would make its
    // write fail: the file is read once, after the text has reached the log window and the
    // window has handled everything it was doing then (the log file is written there).
    bool WaitLogFileHas(const std::wstring& rel, const std::string& text, DWORD ms = kWaitMs) {
        std::wstring wide(text.begin(), text.end());
        while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r')) wide.pop_back();
        if (!WaitLogHas(wide, ms) || !Settle(ms)) return false;
        return dir_.Read(rel).find(text) != std::string::npos;
    }
    // Waits until the window has handled what it was handling when asked; false after the bound.
    bool Settle(DWORD ms = kWaitMs) {
        HWND w = Main();
        DWORD_PTR result = 0;
        return w && SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
    }

    void Command(WORD id) { PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // A command handled before this returns (for commands that open no dialog).
    bool SendCommand(WORD id, DWORD ms = kWaitMs) {
        HWND w = Main();
        DWORD_PTR result = 0;
        return w && SendMessageTimeoutW(w, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, ms, &result) != 0;
    }
    void Close() {
        HWND w = FindWindowOf(L"PROC", 0);
        if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    }
    // Closes the window and waits for the end; true when it ended within the bound.
    bool CloseAndWait() {
        Close();
        DWORD code = 0;
        return WaitExit(&code);
    }

    static HWND ChildWithStyle(HWND parent, const wchar_t* cls, LONG style) {
        if (!parent) return nullptr;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t name[64] = {0};
            GetClassNameW(c, name, 64);
            if (lstrcmpiW(name, cls) == 0 && (GetWindowLongW(c, GWL_STYLE) & style) == style) return c;
        }
        return nullptr;
    }

private:
    bool StartLimited(const std::wstring& args, const std::wstring& folder) {
        const std::string exe = testdir::UnixPath(Exe()), cwd = testdir::UnixPath(folder);
        if (exe.empty() || cwd.empty()) return false;
        // Wine's own settings do not reach a host program: they are given to the shell.
        std::string settings;
        for (const wchar_t* name : {L"WINEPREFIX", L"WINEARCH", L"WINEDEBUG", L"WINEDLLOVERRIDES", L"LANG", L"LC_ALL"}) {
            wchar_t value[1024] = {0};
            if (GetEnvironmentVariableW(name, value, 1024) > 0)
                settings += Ansi(name) + "='" + Ansi(value) + "' ";
        }
        wchar_t loader[1024] = {0};
        if (!GetEnvironmentVariableW(L"WINELOADER", loader, 1024)) return false;
        std::string script = "cd '" + cwd + "' && ulimit -f " + std::to_string(fileLimitKib_) +
                             " && trap '' XFSZ && " + settings + "exec '" + Ansi(loader) + "' '" + exe + "' " + Ansi(args);
        std::wstring line = L"sh -c \"";
        for (char c : script) {
            if (c == '"') line += L'\\';
            line += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        line += L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            lastError_ = GetLastError();
            return false;
        }
        if (pi.hThread) CloseHandle(pi.hThread);
        if (pi.hProcess) CloseHandle(pi.hProcess);
        // The program's window: the one whose process runs this folder's copy.
        const std::wstring name = dir_.Path().substr(dir_.Path().rfind(L'\\') + 1);
        const DWORD start = GetTickCount();
        do {
            Search s = {0, L"PROC", nullptr};
            s.image = name.c_str();
            EnumWindows(&KrelwinRun::EnumProc, reinterpret_cast<LPARAM>(&s));
            if (s.found) {
                GetWindowThreadProcessId(s.found, &pid_);
                process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid_);
                return process_ != nullptr;
            }
            Sleep(20);
        } while (GetTickCount() - start < kWaitMs);
        return false;
    }
    // Whether the process runs a program whose path holds the text.
    static bool ImageHas(DWORD pid, const wchar_t* text) {
        HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (!h) return false;
        typedef BOOL(WINAPI * ImageName)(HANDLE, DWORD, LPWSTR, PDWORD);
        static const ImageName s_imageName = reinterpret_cast<ImageName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "QueryFullProcessImageNameW")));
        wchar_t image[MAX_PATH * 2] = {0};
        DWORD size = MAX_PATH * 2;
        const bool has = s_imageName && s_imageName(h, 0, image, &size) && wcsstr(image, text);
        CloseHandle(h);
        return has;
    }

    struct Search {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
        const wchar_t* image = nullptr;  // else a text of the program's path (a limited start)
    };
    static BOOL CALLBACK EnumProc(HWND w, LPARAM p) {
        Search* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t name[64] = {0};
        GetClassNameW(w, name, 64);
        if ((s->image ? ImageHas(pid, s->image) : pid == s->pid) && IsWindowVisible(w) && lstrcmpW(name, s->cls) == 0) {
            s->found = w;
            return FALSE;
        }
        return TRUE;
    }

    testdir::TestDir dir_;
    bool copied_ = false;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    DWORD lastError_ = 0;
    int fileLimitKib_ = 0;
};

// The settings of an automatic run that writes its message log to log.txt: the batch runs
// at once, and a run without errors closes the program at its end.
const char kAutoIni[] = "[MAIN]\r\nAUTOEXEC=1\r\nATEXIT=1\r\nOUTINFO=1\r\nOUTINFONAME=log.txt\r\n";

// The [FILES] section naming files of the folder by their full paths.
inline std::string Files(const testdir::TestDir& dir, std::initializer_list<const wchar_t*> names)
{
    std::string s = "[FILES]\r\n";
    for (const wchar_t* name : names) s += Ansi(dir.Path(name)) + "\r\n";
    return s;
}

// Runs the batch as job.kvl of the run's folder, with kAutoIni and the extra settings as its
// krelwin.ini, and gives the log file. A run without errors must close the program with 0
// by itself; a run with errors keeps it open until its log ends in "error(s).<n>", then it
// is closed. Each wait is bounded by ms.
inline ::testing::AssertionResult RunJob(KrelwinRun& run, const std::string& batch, int errors,
                                         std::string* log, const std::string& ini = "", DWORD ms = kWaitMs)
{
    const testdir::TestDir& d = run.Dir();
    if (!d.Write(L"krelwin.ini", kAutoIni + ini) || !d.Write(L"job.kvl", batch))
        return ::testing::AssertionFailure() << "krelwin.ini or job.kvl not written";
    if (!run.Start(L"job.kvl")) return ::testing::AssertionFailure() << "not started: error " << run.LastError();
    if (errors == 0) {
        DWORD code = 99;
        if (!run.WaitExit(&code, ms))
            return ::testing::AssertionFailure() << "an error-free run closes the program; its log window:\n"
                                                 << ::testing::PrintToString(run.LogEdit());
        *log = d.Read(L"log.txt");
        if (code != 0) return ::testing::AssertionFailure() << "the program ended with " << code << ":\n" << *log;
        return ::testing::AssertionSuccess();
    }
    const std::string end = "error(s)." + std::to_string(errors) + "\r\n";
    const bool logged = run.WaitLogFileHas(L"log.txt", end, ms);
    *log = d.Read(L"log.txt");
    if (!run.CloseAndWait()) return ::testing::AssertionFailure() << "the program did not close";
    if (!logged) return ::testing::AssertionFailure() << "no " << end << " in:\n" << *log;
    return ::testing::AssertionSuccess();
}

}  // namespace e2e
