// For tests of long work and the log window: a clock that moves on a millisecond each time the
// log reads it, and a watch on a real edit control that notes the log at the moment the edit
// first shows each of some lines.
//
// With that clock time passes for the log only while it looks, so work that never lets the log
// look keeps a waiting line out of the edit to the step's end, however long the work is. A line
// shown while it was still the log's last line was shown while the work after it ran.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"

namespace edit_watch {

inline unsigned int& Ticks()
{
    static unsigned int s_uTicks = 100000;
    return s_uTicks;
}
inline unsigned int TickingClock() { return Ticks()++; }

inline std::wstring EditText(HWND _hEdit)
{
    const int n = (int)SendMessageW(_hEdit, WM_GETTEXTLENGTH, 0, 0);
    std::wstring s((size_t)n + 1, L'\0');
    GetWindowTextW(_hEdit, &s[0], n + 1);
    s.resize((size_t)n);
    return s;
}

struct WATCH {
    std::vector<std::wstring> vLines;   // with their CR LF
    std::vector<std::wstring> vLogThen; // the log when the edit first showed the line
    std::vector<bool> vShown;
    HWND hEdit = 0;
    WNDPROC pOldProc = 0;
};
inline WATCH& Watch()
{
    static WATCH s_stWatch;
    return s_stWatch;
}

inline LRESULT CALLBACK WatchingProc(HWND _hWnd, UINT _uMsg, WPARAM _wParam, LPARAM _lParam)
{
    WATCH& st = Watch();
    const LRESULT lResult = CallWindowProcW(st.pOldProc, _hWnd, _uMsg, _wParam, _lParam);
    if (_uMsg == EM_REPLACESEL) {
        const std::wstring strText = EditText(_hWnd);
        for (size_t i = 0; i < st.vLines.size(); ++i) {
            if (st.vShown[i] || strText.find(st.vLines[i]) == std::wstring::npos) continue;
            st.vShown[i] = true;
            st.vLogThen[i] = s_stGl.m_memMsg ? s_stGl.m_memMsg : L"";
        }
    }
    return lResult;
}

// Watches the edit for the lines (given without their CR LF), forgetting earlier ones.
inline void Start(HWND _hEdit, const std::vector<std::wstring>& _vLines)
{
    WATCH& st = Watch();
    st.vLines.clear();
    for (const std::wstring& strLine : _vLines) st.vLines.push_back(strLine + L"\r\n");
    st.vLogThen.assign(_vLines.size(), L"");
    st.vShown.assign(_vLines.size(), false);
    if (st.hEdit != _hEdit) {
        st.hEdit = _hEdit;
        st.pOldProc = (WNDPROC)SetWindowLongPtrW(_hEdit, GWLP_WNDPROC, (LONG_PTR)WatchingProc);
    }
}

inline void Stop()
{
    WATCH& st = Watch();
    if (st.hEdit && IsWindow(st.hEdit)) SetWindowLongPtrW(st.hEdit, GWLP_WNDPROC, (LONG_PTR)st.pOldProc);
    st.hEdit = 0;
    st.pOldProc = 0;
}

// The line was shown before the work after it ended: while nothing had been logged after it.
inline ::testing::AssertionResult ShownWhileLast(size_t _uLine)
{
    const WATCH& st = Watch();
    const std::wstring& strLine = st.vLines[_uLine];
    if (!st.vShown[_uLine]) return ::testing::AssertionFailure() << "not shown before the step ended";
    const std::wstring& strLog = st.vLogThen[_uLine];
    if (strLog.size() >= strLine.size() && strLog.compare(strLog.size() - strLine.size(), strLine.size(), strLine) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shown only with later lines, at " << strLog.size() << " characters of log";
}

// A read-only multi-line edit as the log's (without word wrap, which is slow under Wine).
inline HWND MakeLogEdit()
{
    HWND hEdit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                 ES_READONLY, 0, 0, 300, 200, 0, 0, GetModuleHandleW(0), 0);
    if (hEdit) SendMessageW(hEdit, EM_SETLIMITTEXT, 0, 0);
    return hEdit;
}

} // namespace edit_watch
