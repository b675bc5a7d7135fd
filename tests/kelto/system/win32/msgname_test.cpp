// Window-message names and descriptions.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "kelto/system/win32/window.h"

namespace {

std::wstring Name(unsigned message, int description = 0) {
    wchar_t out[300];
    if (WINDOW_GetMessageName(message, out, 300, description) != 1) return L"<failed>";
    return out;
}

// Every named message answers with its own name, so each row carries the platform's code.
TEST(MessageName, EveryNamedMessageAnswersWithItsName) {
    struct Row {
        unsigned code;
        const wchar_t* name;
    } rows[] = {
        {WM_ACTIVATE, L"WM_ACTIVATE"},
        {WM_ACTIVATEAPP, L"WM_ACTIVATEAPP"},
        {WM_ASKCBFORMATNAME, L"WM_ASKCBFORMATNAME"},
        {WM_CANCELMODE, L"WM_CANCELMODE"},
        {WM_CHANGECBCHAIN, L"WM_CHANGECBCHAIN"},
        {WM_CHAR, L"WM_CHAR"},
        {WM_CHARTOITEM, L"WM_CHARTOITEM"},
        {WM_CHILDACTIVATE, L"WM_CHILDACTIVATE"},
        {WM_CHOOSEFONT_GETLOGFONT, L"WM_CHOOSEFONT_GETLOGFONT"},
        {WM_CLEAR, L"WM_CLEAR"},
        {WM_CLOSE, L"WM_CLOSE"},
        {WM_COMMAND, L"WM_COMMAND"},
        {WM_COMPAREITEM, L"WM_COMPAREITEM"},
        {WM_COMPACTING, L"WM_COMPACTING"},
        {WM_COPY, L"WM_COPY"},
        {WM_COPYDATA, L"WM_COPYDATA"},
        {WM_CREATE, L"WM_CREATE"},
        {WM_CTLCOLORBTN, L"WM_CTLCOLORBTN"},
        {WM_CTLCOLORDLG, L"WM_CTLCOLORDLG"},
        {WM_CTLCOLOREDIT, L"WM_CTLCOLOREDIT"},
        {WM_CTLCOLORLISTBOX, L"WM_CTLCOLORLISTBOX"},
        {WM_CTLCOLORMSGBOX, L"WM_CTLCOLORMSGBOX"},
        {WM_CTLCOLORSCROLLBAR, L"WM_CTLCOLORSCROLLBAR"},
        {WM_CTLCOLORSTATIC, L"WM_CTLCOLORSTATIC"},
        {WM_CUT, L"WM_CUT"},
        {WM_DEADCHAR, L"WM_DEADCHAR"},
        {WM_DELETEITEM, L"WM_DELETEITEM"},
        {WM_DESTROY, L"WM_DESTROY"},
        {WM_DESTROYCLIPBOARD, L"WM_DESTROYCLIPBOARD"},
        {WM_DEVICECHANGE, L"WM_DEVICECHANGE"},
        {WM_DEVMODECHANGE, L"WM_DEVMODECHANGE"},
        {WM_DISPLAYCHANGE, L"WM_DISPLAYCHANGE"},
        {WM_DRAWCLIPBOARD, L"WM_DRAWCLIPBOARD"},
        {WM_DRAWITEM, L"WM_DRAWITEM"},
        {WM_DROPFILES, L"WM_DROPFILES"},
        {WM_ENABLE, L"WM_ENABLE"},
        {WM_ENDSESSION, L"WM_ENDSESSION"},
        {WM_ENTERIDLE, L"WM_ENTERIDLE"},
        {WM_ENTERMENULOOP, L"WM_ENTERMENULOOP"},
        {WM_ENTERSIZEMOVE, L"WM_ENTERSIZEMOVE"},
        {WM_ERASEBKGND, L"WM_ERASEBKGND"},
        {WM_EXITMENULOOP, L"WM_EXITMENULOOP"},
        {WM_EXITSIZEMOVE, L"WM_EXITSIZEMOVE"},
        {WM_FONTCHANGE, L"WM_FONTCHANGE"},
        {WM_GETDLGCODE, L"WM_GETDLGCODE"},
        {WM_GETFONT, L"WM_GETFONT"},
        {WM_GETHOTKEY, L"WM_GETHOTKEY"},
        {WM_GETICON, L"WM_GETICON"},
        {WM_GETMINMAXINFO, L"WM_GETMINMAXINFO"},
        {WM_GETTEXT, L"WM_GETTEXT"},
        {WM_GETTEXTLENGTH, L"WM_GETTEXTLENGTH"},
        {WM_HELP, L"WM_HELP"},
        {WM_HOTKEY, L"WM_HOTKEY"},
        {WM_HSCROLL, L"WM_HSCROLL"},
        {WM_HSCROLLCLIPBOARD, L"WM_HSCROLLCLIPBOARD"},
        {WM_ICONERASEBKGND, L"WM_ICONERASEBKGND"},
        {WM_IME_CHAR, L"WM_IME_CHAR"},
        {WM_IME_COMPOSITION, L"WM_IME_COMPOSITION"},
        {WM_IME_COMPOSITIONFULL, L"WM_IME_COMPOSITIONFULL"},
        {WM_IME_CONTROL, L"WM_IME_CONTROL"},
        {WM_IME_ENDCOMPOSITION, L"WM_IME_ENDCOMPOSITION"},
        {WM_IME_KEYDOWN, L"WM_IME_KEYDOWN"},
        {WM_IME_KEYUP, L"WM_IME_KEYUP"},
        {WM_IME_NOTIFY, L"WM_IME_NOTIFY"},
        {WM_IME_REQUEST, L"WM_IME_REQUEST"},
        {WM_IME_SELECT, L"WM_IME_SELECT"},
        {WM_IME_SETCONTEXT, L"WM_IME_SETCONTEXT"},
        {WM_IME_STARTCOMPOSITION, L"WM_IME_STARTCOMPOSITION"},
        {WM_INITDIALOG, L"WM_INITDIALOG"},
        {WM_INITMENU, L"WM_INITMENU"},
        {WM_INITMENUPOPUP, L"WM_INITMENUPOPUP"},
        {WM_INPUTLANGCHANGE, L"WM_INPUTLANGCHANGE"},
        {WM_INPUTLANGCHANGEREQUEST, L"WM_INPUTLANGCHANGEREQUEST"},
        {WM_KEYDOWN, L"WM_KEYDOWN"},
        {WM_KEYUP, L"WM_KEYUP"},
        {WM_KILLFOCUS, L"WM_KILLFOCUS"},
        {WM_LBUTTONDBLCLK, L"WM_LBUTTONDBLCLK"},
        {WM_LBUTTONDOWN, L"WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, L"WM_LBUTTONUP"},
        {WM_MBUTTONDBLCLK, L"WM_MBUTTONDBLCLK"},
        {WM_MBUTTONDOWN, L"WM_MBUTTONDOWN"},
        {WM_MBUTTONUP, L"WM_MBUTTONUP"},
        {WM_MDIACTIVATE, L"WM_MDIACTIVATE"},
        {WM_MDICASCADE, L"WM_MDICASCADE"},
        {WM_MDICREATE, L"WM_MDICREATE"},
        {WM_MDIDESTROY, L"WM_MDIDESTROY"},
        {WM_MDIGETACTIVE, L"WM_MDIGETACTIVE"},
        {WM_MDIICONARRANGE, L"WM_MDIICONARRANGE"},
        {WM_MDIMAXIMIZE, L"WM_MDIMAXIMIZE"},
        {WM_MDINEXT, L"WM_MDINEXT"},
        {WM_MDIRESTORE, L"WM_MDIRESTORE"},
        {WM_MDISETMENU, L"WM_MDISETMENU"},
        {WM_MDITILE, L"WM_MDITILE"},
        {WM_MEASUREITEM, L"WM_MEASUREITEM"},
        {WM_MENUCHAR, L"WM_MENUCHAR"},
        {WM_MENUSELECT, L"WM_MENUSELECT"},
        {WM_MOUSEACTIVATE, L"WM_MOUSEACTIVATE"},
        {WM_MOUSEMOVE, L"WM_MOUSEMOVE"},
        {WM_MOVE, L"WM_MOVE"},
        {WM_MOVING, L"WM_MOVING"},
        {WM_NCACTIVATE, L"WM_NCACTIVATE"},
        {WM_NCCALCSIZE, L"WM_NCCALCSIZE"},
        {WM_NCCREATE, L"WM_NCCREATE"},
        {WM_NCDESTROY, L"WM_NCDESTROY"},
        {WM_NCHITTEST, L"WM_NCHITTEST"},
        {WM_NCLBUTTONDOWN, L"WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, L"WM_NCLBUTTONUP"},
        {WM_NCMBUTTONDOWN, L"WM_NCMBUTTONDOWN"},
        {WM_NCMBUTTONUP, L"WM_NCMBUTTONUP"},
        {WM_NCMOUSEMOVE, L"WM_NCMOUSEMOVE"},
        {WM_NCPAINT, L"WM_NCPAINT"},
        {WM_NCRBUTTONDOWN, L"WM_NCRBUTTONDOWN"},
        {WM_NCRBUTTONUP, L"WM_NCRBUTTONUP"},
        {WM_NEXTDLGCTL, L"WM_NEXTDLGCTL"},
        {WM_NEXTMENU, L"WM_NEXTMENU"},
        {WM_NOTIFY, L"WM_NOTIFY"},
        {WM_NULL, L"WM_NULL"},
        {WM_PAINT, L"WM_PAINT"},
        {WM_PAINTCLIPBOARD, L"WM_PAINTCLIPBOARD"},
        {WM_PAINTICON, L"WM_PAINTICON"},
        {WM_PALETTECHANGED, L"WM_PALETTECHANGED"},
        {WM_PALETTEISCHANGING, L"WM_PALETTEISCHANGING"},
        {WM_PASTE, L"WM_PASTE"},
        {WM_PARENTNOTIFY, L"WM_PARENTNOTIFY"},
        {WM_POWER, L"WM_POWER"},
        {WM_POWERBROADCAST, L"WM_POWERBROADCAST"},
        {WM_PRINT, L"WM_PRINT"},
        {WM_PRINTCLIENT, L"WM_PRINTCLIENT"},
        {WM_QUERYDRAGICON, L"WM_QUERYDRAGICON"},
        {WM_QUERYENDSESSION, L"WM_QUERYENDSESSION"},
        {WM_QUERYNEWPALETTE, L"WM_QUERYNEWPALETTE"},
        {WM_QUERYOPEN, L"WM_QUERYOPEN"},
        {WM_QUEUESYNC, L"WM_QUEUESYNC"},
        {WM_QUIT, L"WM_QUIT"},
        {WM_RBUTTONDOWN, L"WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, L"WM_RBUTTONUP"},
        {WM_RENDERALLFORMATS, L"WM_RENDERALLFORMATS"},
        {WM_RENDERFORMAT, L"WM_RENDERFORMAT"},
        {WM_SETCURSOR, L"WM_SETCURSOR"},
        {WM_SETFOCUS, L"WM_SETFOCUS"},
        {WM_SETFONT, L"WM_SETFONT"},
        {WM_SETHOTKEY, L"WM_SETHOTKEY"},
        {WM_SETICON, L"WM_SETICON"},
        {WM_SETREDRAW, L"WM_SETREDRAW"},
        {WM_SETTEXT, L"WM_SETTEXT"},
        {WM_SETTINGCHANGE, L"WM_SETTINGCHANGE"},
        {WM_SHOWWINDOW, L"WM_SHOWWINDOW"},
        {WM_SIZE, L"WM_SIZE"},
        {WM_SIZECLIPBOARD, L"WM_SIZECLIPBOARD"},
        {WM_SIZING, L"WM_SIZING"},
        {WM_SPOOLERSTATUS, L"WM_SPOOLERSTATUS"},
        {WM_STYLECHANGED, L"WM_STYLECHANGED"},
        {WM_STYLECHANGING, L"WM_STYLECHANGING"},
        {WM_SYNCPAINT, L"WM_SYNCPAINT"},
        {WM_SYSCHAR, L"WM_SYSCHAR"},
        {WM_SYSCOLORCHANGE, L"WM_SYSCOLORCHANGE"},
        {WM_SYSCOMMAND, L"WM_SYSCOMMAND"},
        {WM_SYSDEADCHAR, L"WM_SYSDEADCHAR"},
        {WM_SYSKEYDOWN, L"WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, L"WM_SYSKEYUP"},
        {WM_TIMECHANGE, L"WM_TIMECHANGE"},
        {WM_TIMER, L"WM_TIMER"},
        {WM_UNDO, L"WM_UNDO"},
        {WM_USER, L"WM_USER"},
        {WM_USERCHANGED, L"WM_USERCHANGED"},
        {WM_VKEYTOITEM, L"WM_VKEYTOITEM"},
        {WM_VSCROLL, L"WM_VSCROLL"},
        {WM_VSCROLLCLIPBOARD, L"WM_VSCROLLCLIPBOARD"},
        {WM_WINDOWPOSCHANGED, L"WM_WINDOWPOSCHANGED"},
        {WM_WINDOWPOSCHANGING, L"WM_WINDOWPOSCHANGING"},
    };
    for (const Row& row : rows) EXPECT_EQ(std::wstring(row.name), Name(row.code)) << "code " << row.code;
}

TEST(MessageName, TellingRows) {
    struct Row {
        unsigned code;
        int description;
        const wchar_t* text;
    } rows[] = {
        {0x1A, 0, L"WM_SETTINGCHANGE"},  // shared with WM_WININICHANGE: the first row answers
        {0x1A, 1, L"システム全体の設定が変更されたとき"},
        {0, 0, L"WM_NULL"},
        {0x401, 0, L"WM_CHOOSEFONT_GETLOGFONT"},
        {0x400, 0, L"WM_USER"},
        {0x402, 0, L"UNKNOWN MASSAGE"},
        {0x402, 1, L"不明なメッセージ"},
        {0xFFFFFFFFu, 0, L"UNKNOWN MASSAGE"},
        {WM_ACTIVATE, 1, L"ウインドウがアクティブ・非アクティブになるとき"},
        {WM_TIMER, 1, L"SetTimer()で設定した時間を経過"},
        {WM_USER, 1, L"ユーザーが定義できるメッセージの使用領域を表すだけでこれ自体に意味はない"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.text), Name(row.code, row.description))
            << "code " << row.code << " description " << row.description;
}

TEST(MessageName, EveryDescriptionIsOneShortJapaneseLine) {
    for (unsigned code = 0; code < 0x420; ++code) {
        const std::wstring text = Name(code, 1);
        EXPECT_FALSE(text.empty()) << "code " << code;
        EXPECT_LE(text.size(), 46u) << "code " << code;
        EXPECT_EQ(std::wstring::npos, text.find_first_of(L"\r\n")) << "code " << code;
    }
}

TEST(MessageName, NeverWritesPastTheRoom) {
    struct Row {
        const char* name;
        int room;
        const wchar_t* expect;  // the units in the buffer
        bool terminated;
    } rows[] = {
        {"room below the length: that many units, no terminator", 4, L"WM_A", false},
        {"room of exactly the length: no terminator", 11, L"WM_ACTIVATE", false},
        {"room for the terminator too", 12, L"WM_ACTIVATE", true},
        {"one unit", 1, L"W", false},
    };
    for (const Row& row : rows) {
        wchar_t out[32];
        for (wchar_t& c : out) c = L'#';
        EXPECT_EQ(1, WINDOW_GetMessageName(WM_ACTIVATE, out, row.room, 0)) << row.name;
        const int length = static_cast<int>(wcslen(row.expect));
        EXPECT_EQ(std::wstring(row.expect), std::wstring(out, length)) << row.name;
        EXPECT_EQ(row.terminated ? L'\0' : L'#', out[length]) << row.name;
        for (int i = row.room; i < 32; ++i) ASSERT_EQ(L'#', out[i]) << row.name << " unit " << i;
    }
}

TEST(MessageName, NullBufferOrNoRoomWritesNothing) {
    wchar_t out[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(0, WINDOW_GetMessageName(WM_PAINT, nullptr, 10, 0));
    EXPECT_EQ(0, WINDOW_GetMessageName(WM_PAINT, out, 0, 0));
    EXPECT_EQ(0, WINDOW_GetMessageName(WM_PAINT, out, -5, 0));
    EXPECT_EQ(L'#', out[0]);
}

}  // namespace
