// Helpers of the window, menu and dialog tests: a deadline that ends a hung test
// program, a fresh window-class name per test, and a driver thread that finds a
// dialog of this process by its title and acts on it.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace gui {

// Ends the whole program with a failure when the guarded scope is still running after
// the bound: a blocked dialog or message loop must never hang the test run.
class Deadline {
public:
    explicit Deadline(int seconds) : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this, seconds] {
            if (WaitForSingleObject(m_event, static_cast<DWORD>(seconds) * 1000) == WAIT_TIMEOUT) {
                std::fprintf(stderr, "test deadline of %d s passed: ending the program\n", seconds);
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 99);
            }
        });
    }
    ~Deadline() {
        SetEvent(m_event);
        m_thread.join();
        CloseHandle(m_event);
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    HANDLE m_event;
    std::thread m_thread;
};

inline std::wstring UniqueClassName() {
    static int s_serial = 0;
    return L"KeltoTestWindow_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++s_serial);
}

// Handles the messages that arrive while a window is tested.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct FindArg {
    const wchar_t* title;
    HWND found;
};

inline BOOL CALLBACK FindOwnTopLevel(HWND hwnd, LPARAM lparam) {
    FindArg* arg = reinterpret_cast<FindArg*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t text[256] = {0};
    GetWindowTextW(hwnd, text, 256);
    if (std::wstring(text) == arg->title) {
        arg->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of this process with exactly this title, or null.
inline HWND FindOwnWindow(const wchar_t* title) {
    FindArg arg = {title, nullptr};
    EnumWindows(FindOwnTopLevel, reinterpret_cast<LPARAM>(&arg));
    return arg.found;
}

inline void PressButton(HWND dialog, int id);

// Waits, within the bound, until the window's thread takes messages: a window that shows
// itself while it is created has then finished what its creator ran before the message loop.
inline bool Settled(HWND hwnd, DWORD ms = 10000) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

// Waits, within the bound, for a condition; true when it came.
inline bool WaitFor(const std::function<bool()>& condition, DWORD ms = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
}

struct CloseArg {
    HWND keep;
    int others;
};

// Presses OK on every visible dialog of this process but one (error boxes of a dialog),
// counting them.
inline BOOL CALLBACK CloseOtherDialogs(HWND hwnd, LPARAM lparam) {
    CloseArg* arg = reinterpret_cast<CloseArg*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[16] = {0};
    GetClassNameW(hwnd, name, 16);
    if (pid == GetCurrentProcessId() && hwnd != arg->keep && IsWindowVisible(hwnd) &&
        lstrcmpW(name, L"#32770") == 0) {
        PressButton(hwnd, IDOK);
        ++arg->others;
    }
    return TRUE;
}

struct OtherArg {
    HWND keep;
    bool found;
};

inline BOOL CALLBACK FindOtherDialog(HWND hwnd, LPARAM lparam) {
    OtherArg* arg = reinterpret_cast<OtherArg*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[16] = {0};
    GetClassNameW(hwnd, name, 16);
    if (pid == GetCurrentProcessId() && hwnd != arg->keep && IsWindowVisible(hwnd) && lstrcmpW(name, L"#32770") == 0) {
        arg->found = true;
        return FALSE;
    }
    return TRUE;
}

// True while a visible dialog of this process other than `keep` is shown (an error box).
inline bool OtherDialogShown(HWND keep) {
    OtherArg arg = {keep, false};
    EnumWindows(FindOtherDialog, reinterpret_cast<LPARAM>(&arg));
    return arg.found;
}

// Waits on its own thread for a window of this process titled `title` and hands it to
// `act`, which should close it, once the window has settled and `ready` (when given) holds.
// When the window is still there some seconds later, or at once when it answered with an
// error box of its own (it will not close then), the driver closes what it opened and
// cancels the window, so the test goes on and fails: `Done()` is true only when the window
// appeared and `act` closed it.
class WindowDriver {
public:
    WindowDriver(std::wstring title, std::function<void(HWND)> act, int seconds = 20,
                 std::function<bool(HWND)> ready = nullptr)
        : m_title(std::move(title)), m_act(std::move(act)), m_ready(std::move(ready)) {
        m_thread = std::thread([this, seconds] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
            while (!m_stop && std::chrono::steady_clock::now() < until) {
                HWND hwnd = FindOwnWindow(m_title.c_str());
                if (!hwnd) {
                    Sleep(20);
                    continue;
                }
                Settled(hwnd);
                if (m_ready && !WaitFor([&] { return m_ready(hwnd); }))
                    std::fprintf(stderr, "the window never became ready: acting on it anyway\n");
                m_act(hwnd);
                WaitFor([hwnd] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd) || OtherDialogShown(hwnd); },
                        5000);
                if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) {
                    m_done = true;
                    return;
                }
                std::fprintf(stderr, "the window was not closed by the test's action: cancelling it\n");
                WaitFor([hwnd] {
                    CloseArg arg = {hwnd, 0};
                    EnumWindows(CloseOtherDialogs, reinterpret_cast<LPARAM>(&arg));
                    return arg.others == 0;
                });
                PressButton(hwnd, IDCANCEL);
                return;
            }
        });
    }
    ~WindowDriver() { Join(); }
    void Join() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    bool Done() const { return m_done; }

private:
    std::wstring m_title;
    std::function<void(HWND)> m_act;
    std::function<bool(HWND)> m_ready;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

inline void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace gui
