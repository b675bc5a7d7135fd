// Window record helpers on real windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "gui_support.h"
#include "kelto/system/win32/window.h"

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_class = gui::UniqueClassName(); }
    void TearDown() override {
        WINDOW_Release(m_win);
        if (m_win.m_hWnd) DestroyWindow(m_win.m_hWnd);
        gui::Pump();
        UnregisterClassW(m_class.c_str(), GetModuleHandleW(nullptr));
    }
    // A record of the given type and client size; nothing is created yet.
    WINDOW_INFO& Init(int type, int width, int height) {
        return WINDOW_Init(m_win, m_class.c_str(), L"ウインドウ試験", type, DefWindowProcW,
                           GetModuleHandleW(nullptr), width, height);
    }
    HWND Create(int type, int width, int height) {
        Init(type, width, height);
        return WINDOW_Create(m_win);
    }
    SIZE Client() const {
        RECT rc = {};
        GetClientRect(m_win.m_hWnd, &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    SIZE Outer() const {
        RECT rc = {};
        GetWindowRect(m_win.m_hWnd, &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }

    std::wstring m_class;
    WINDOW_INFO m_win;
    gui::Deadline m_deadline{60};
};

TEST(WindowInfo, ConstructorClearsWhatTheRecordOwnsOrPointsTo) {
    WINDOW_INFO win;
    EXPECT_EQ(nullptr, win.m_pClassName);
    EXPECT_EQ(nullptr, win.m_pTitle);
    EXPECT_EQ(nullptr, win.m_hWnd);
    EXPECT_EQ(nullptr, win.m_hStatus);
    EXPECT_EQ(nullptr, win.m_pMenuHdMgr);
    EXPECT_EQ(0, win.m_iPopup);
}

TEST_F(WindowTest, InitChoosesStyleAndBackgroundByWindowType) {
    struct Row {
        int type;
        unsigned style;
        INT_PTR brush;
    } rows[] = {
        {0, WS_OVERLAPPEDWINDOW, COLOR_BTNFACE + 1},
        {1, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, COLOR_BTNFACE + 1},
        {2, WS_OVERLAPPEDWINDOW, COLOR_WINDOW + 1},
        {-7, WS_OVERLAPPEDWINDOW, COLOR_WINDOW + 1},
    };
    for (const Row& row : rows) {
        WINDOW_INFO& win = Init(row.type, 320, 200);
        EXPECT_EQ(row.style, win.m_uStyle) << "type " << row.type;
        EXPECT_EQ(row.brush, reinterpret_cast<INT_PTR>(win.m_hBrush)) << "type " << row.type;
        EXPECT_EQ(SW_SHOWNORMAL, win.m_iShowCmd);
        EXPECT_EQ(static_cast<int>(CW_USEDEFAULT), win.m_iX);
        EXPECT_EQ(static_cast<int>(CW_USEDEFAULT), win.m_iY);
        EXPECT_EQ(0, win.m_iHasMenu);
        EXPECT_EQ(0, win.m_iMenuChanged);
        EXPECT_EQ(320, win.m_iWidth);
        EXPECT_EQ(200, win.m_iHeight);
    }
}

TEST_F(WindowTest, InitReplacesEveryEarlierField) {
    m_win.m_iPopup = 1;
    m_win.m_hStatus = reinterpret_cast<HWND>(0x1234);
    m_win.m_hWnd = reinterpret_cast<HWND>(0x5678);
    m_win.m_iHasMenu = 1;
    Init(0, 100, 100);
    EXPECT_EQ(0, m_win.m_iPopup);
    EXPECT_EQ(nullptr, m_win.m_hStatus);
    EXPECT_EQ(nullptr, m_win.m_hWnd);
    EXPECT_EQ(0, m_win.m_iHasMenu);
}

TEST_F(WindowTest, CreatedWindowHasTheRequestedClientSizeAndTitle) {
    ASSERT_NE(nullptr, Create(0, 400, 300));
    SIZE client = Client();
    EXPECT_EQ(400, client.cx);
    EXPECT_EQ(300, client.cy);
    wchar_t title[64] = {0};
    GetWindowTextW(m_win.m_hWnd, title, 64);
    EXPECT_STREQ(L"ウインドウ試験", title);
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW), GetWindowLongW(m_win.m_hWnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW);
}

TEST_F(WindowTest, CreateReturnsNullWhenTheClassCannotBeRegistered) {
    ASSERT_NE(nullptr, Create(0, 200, 100));
    WINDOW_INFO second;
    WINDOW_Init(second, m_class.c_str(), L"二つ目", 0, DefWindowProcW, GetModuleHandleW(nullptr), 200, 100);
    EXPECT_EQ(nullptr, WINDOW_Create(second));
    EXPECT_EQ(nullptr, second.m_hWnd);
}

TEST_F(WindowTest, PopupWindowIsBorderlessAtItsPosition) {
    Init(0, 120, 80);
    m_win.m_iPopup = 1;
    m_win.m_iX = 30;
    m_win.m_iY = 40;
    ASSERT_NE(nullptr, WINDOW_Create(m_win));
    RECT rc = {};
    GetWindowRect(m_win.m_hWnd, &rc);
    EXPECT_EQ(30, rc.left);
    EXPECT_EQ(40, rc.top);
    EXPECT_EQ(120, rc.right - rc.left);
    EXPECT_EQ(80, rc.bottom - rc.top);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP), GetWindowLongW(m_win.m_hWnd, GWL_STYLE) & (WS_POPUP | WS_CAPTION));
}

TEST_F(WindowTest, ShowWithNegativeCommandUsesTheRecordsCommand) {
    ASSERT_NE(nullptr, Create(0, 200, 100));
    EXPECT_FALSE(IsWindowVisible(m_win.m_hWnd));
    EXPECT_NE(0, WINDOW_Show(m_win, -1));
    EXPECT_TRUE(IsWindowVisible(m_win.m_hWnd));
    EXPECT_FALSE(IsIconic(m_win.m_hWnd));
    WINDOW_Show(m_win, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(m_win.m_hWnd));
}

TEST_F(WindowTest, WindowWithMenuResourceStillGetsTheRequestedClientSize) {
    // A menu made at run time stands in for a resource; the has-menu flag is what
    // the size computation reads.
    Init(0, 500, 240);
    WINDOW_SetMenu(m_win, nullptr);
    EXPECT_EQ(1, m_win.m_iHasMenu);
    ASSERT_NE(nullptr, WINDOW_Create(m_win));
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 10, L"ファイル");
    SetMenu(m_win.m_hWnd, bar);
    WINDOW_SetClientSize(m_win, 0, 0);
    SIZE client = Client();
    EXPECT_EQ(500, client.cx);
    EXPECT_EQ(240, client.cy);
}

TEST_F(WindowTest, SetClientSizeKeepsZeroDimensionsAndThePosition) {
    ASSERT_NE(nullptr, Create(0, 300, 200));
    SetWindowPos(m_win.m_hWnd, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    WINDOW_SetClientSize(m_win, 360, 0);
    SIZE client = Client();
    EXPECT_EQ(360, client.cx);
    EXPECT_EQ(200, client.cy);
    WINDOW_SetClientSize(m_win, 0, 150);
    client = Client();
    EXPECT_EQ(360, client.cx);
    EXPECT_EQ(150, client.cy);
    RECT rc = {};
    GetWindowRect(m_win.m_hWnd, &rc);
    EXPECT_EQ(50, rc.left);
    EXPECT_EQ(60, rc.top);
    EXPECT_TRUE(IsWindowVisible(m_win.m_hWnd));
}

TEST_F(WindowTest, StatusBarPartsFollowTheList) {
    struct Row {
        const char* name;
        std::vector<int> list;  // empty: a null list
        int parts;
    } rows[] = {
        {"three parts", {100, 200, -1}, 3},
        {"null list", {}, 1},
        {"first negative ends the list", {50, -1, 300, -1}, 2},
        {"255 edges", {}, 256},
    };
    rows[3].list.resize(256);
    for (int i = 0; i < 255; ++i) rows[3].list[i] = i + 1;
    rows[3].list[255] = -1;

    for (const Row& row : rows) {
        m_class = gui::UniqueClassName();
        ASSERT_NE(nullptr, Create(0, 400, 200)) << row.name;
        ASSERT_EQ(1, WINDOW_CreateStatusBar(m_win, row.list.empty() ? nullptr : row.list.data(), 77))
            << row.name;
        ASSERT_NE(nullptr, m_win.m_hStatus) << row.name;
        EXPECT_EQ(m_win.m_hStatus, GetDlgItem(m_win.m_hWnd, 77)) << row.name;
        EXPECT_EQ(row.parts, SendMessageW(m_win.m_hStatus, SB_GETPARTS, 0, 0)) << row.name;
        DestroyWindow(m_win.m_hWnd);
        m_win.m_hWnd = nullptr;
        UnregisterClassW(m_class.c_str(), GetModuleHandleW(nullptr));
    }
}

TEST_F(WindowTest, StatusBarListWith256EdgesIsRefused) {
    ASSERT_NE(nullptr, Create(0, 400, 200));
    std::vector<int> list(257);
    for (int i = 0; i < 256; ++i) list[i] = i + 1;
    list[256] = -1;
    EXPECT_EQ(0, WINDOW_CreateStatusBar(m_win, list.data(), 1));
    EXPECT_EQ(nullptr, m_win.m_hStatus);
    EXPECT_EQ(nullptr, FindWindowExW(m_win.m_hWnd, nullptr, STATUSCLASSNAMEW, nullptr));
}

TEST_F(WindowTest, StatusBarGrowsTheWindowAndKeepsTheClientAreaAboveIt) {
    ASSERT_NE(nullptr, Create(0, 400, 200));
    const SIZE before = Outer();
    ASSERT_EQ(1, WINDOW_CreateStatusBar(m_win, nullptr, 1));
    RECT bar = {};
    GetWindowRect(m_win.m_hStatus, &bar);
    const int barHeight = bar.bottom - bar.top;
    ASSERT_GT(barHeight, 0);
    const SIZE after = Outer();
    EXPECT_EQ(before.cx, after.cx);
    EXPECT_EQ(before.cy + barHeight, after.cy);
    SIZE client = Client();
    EXPECT_EQ(400, client.cx);
    EXPECT_EQ(200 + barHeight, client.cy);

    // Later resizes keep the bar out of the requested client size too.
    WINDOW_SetClientSize(m_win, 300, 120);
    client = Client();
    GetWindowRect(m_win.m_hStatus, &bar);
    EXPECT_EQ(300, client.cx);
    EXPECT_EQ(120 + (bar.bottom - bar.top), client.cy);
}

TEST_F(WindowTest, StatusTextGoesToThePartAndNeedsABarAndText) {
    ASSERT_NE(nullptr, Create(0, 400, 200));
    EXPECT_EQ(0, WINDOW_SetStatusText(m_win, L"準備完了", 0));
    const int parts[] = {150, -1};
    ASSERT_EQ(1, WINDOW_CreateStatusBar(m_win, parts, 1));
    EXPECT_EQ(0, WINDOW_SetStatusText(m_win, nullptr, 0));
    EXPECT_EQ(1, WINDOW_SetStatusText(m_win, L"準備完了", 1));
    wchar_t text[64] = {0};
    SendMessageW(m_win.m_hStatus, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"準備完了", text);
    text[0] = L'\0';
    SendMessageW(m_win.m_hStatus, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"", text);
}

TEST_F(WindowTest, FillClientPaintsWithTheRecordsBrush) {
    struct Row {
        const char* name;
        int stockBrush;  // -1: the system colour that WINDOW_Init chose
        COLORREF colour;
    } rows[] = {
        {"system colour index", -1, GetSysColor(COLOR_BTNFACE)},
        {"stock brush", BLACK_BRUSH, RGB(0, 0, 0)},
    };
    for (const Row& row : rows) {
        m_class = gui::UniqueClassName();
        Init(0, 200, 120);
        if (row.stockBrush >= 0) {
            EXPECT_EQ(GetStockObject(row.stockBrush), WINDOW_SetStockBrush(m_win, row.stockBrush)) << row.name;
        }
        ASSERT_NE(nullptr, WINDOW_Create(m_win)) << row.name;
        WINDOW_Show(m_win, SW_SHOWNORMAL);
        gui::Pump();
        EXPECT_NE(0, WINDOW_FillClient(m_win)) << row.name;
        HDC dc = GetDC(m_win.m_hWnd);
        EXPECT_EQ(row.colour, GetPixel(dc, 100, 60)) << row.name;
        ReleaseDC(m_win.m_hWnd, dc);
        DestroyWindow(m_win.m_hWnd);
        m_win.m_hWnd = nullptr;
        UnregisterClassW(m_class.c_str(), GetModuleHandleW(nullptr));
    }
}

TEST(WindowScreen, ScreenSizeIsTheSystemsAndTheHeightIsReturned) {
    int size[2] = {-1, -1};
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), WINDOW_GetScreenSize(size));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), size[0]);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), size[1]);
    EXPECT_GT(size[0], 0);
}

}  // namespace
