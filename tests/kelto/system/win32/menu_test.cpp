// Run-time menu items on a real window, and the table that records them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "gui_support.h"
#include "kelto/system/win32/menu.h"

namespace {

const unsigned kFile = 100, kOpen = 101, kSave = 102, kRecent = 103, kRecent1 = 104, kEdit = 200;

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_class = gui::UniqueClassName();
        WINDOW_Init(m_win, m_class.c_str(), L"メニュー試験", 0, DefWindowProcW, GetModuleHandleW(nullptr),
                    480, 240);
        ASSERT_NE(nullptr, WINDOW_Create(m_win));
    }
    void TearDown() override {
        WINDOW_Release(m_win);
        DestroyWindow(m_win.m_hWnd);
        gui::Pump();
        UnregisterClassW(m_class.c_str(), GetModuleHandleW(nullptr));
    }
    // ファイル(開く, 保存, 最近(一つ目)), 編集
    void BuildTree() {
        WINDOW_MENU_InsertPos(m_win, MENU_ID_ROOT, L"ファイル", kFile, 0xFFFFFFFFu);
        WINDOW_MENU_InsertPos(m_win, kFile, L"開く", kOpen, 0xFFFFFFFFu);
        WINDOW_MENU_InsertPos(m_win, kFile, L"保存", kSave, 0xFFFFFFFFu);
        WINDOW_MENU_InsertPos(m_win, kFile, L"最近", kRecent, 0xFFFFFFFFu);
        WINDOW_MENU_InsertPos(m_win, kRecent, L"一つ目", kRecent1, 0xFFFFFFFFu);
        WINDOW_MENU_InsertPos(m_win, MENU_ID_ROOT, L"編集", kEdit, 0xFFFFFFFFu);
    }
    int Recorded() const { return m_win.m_pMenuHdMgr ? m_win.m_pMenuHdMgr->GetEntry() : 0; }
    // The text the system holds for a command id anywhere in the menu bar, or "<none>".
    std::wstring SystemText(unsigned id) const {
        wchar_t text[64] = {0};
        HMENU bar = GetMenu(m_win.m_hWnd);
        if (!bar || GetMenuStringW(bar, id, text, 64, MF_BYCOMMAND) <= 0) return L"<none>";
        return text;
    }
    HMENU SystemSubMenu(HMENU menu, unsigned id) const {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, id, FALSE, &info)) return nullptr;
        return info.hSubMenu;
    }

    std::wstring m_class;
    WINDOW_INFO m_win;
    gui::Deadline m_deadline{60};
};

TEST_F(MenuTest, FirstTopLevelItemAttachesAMenuBarAndKeepsTheClientSize) {
    ASSERT_EQ(nullptr, GetMenu(m_win.m_hWnd));
    WINDOW_MENU_InsertPos(m_win, MENU_ID_ROOT, L"ファイル", kFile, 0);
    HMENU bar = GetMenu(m_win.m_hWnd);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(1, m_win.m_iHasMenu);
    EXPECT_EQ(1, m_win.m_iMenuChanged);
    ASSERT_NE(nullptr, m_win.m_pMenuHdMgr);
    EXPECT_EQ(1, Recorded());
    EXPECT_EQ(1, GetMenuItemCount(bar));
    EXPECT_EQ(L"ファイル", SystemText(kFile));
    EXPECT_NE(nullptr, SystemSubMenu(bar, kFile)) << "a top-level item comes with its sub-menu";

    RECT rc = {};
    GetClientRect(m_win.m_hWnd, &rc);
    EXPECT_EQ(480, rc.right);
    EXPECT_EQ(240, rc.bottom);

    WINDOW_Show(m_win, SW_SHOWNORMAL);
    EXPECT_EQ(0, m_win.m_iMenuChanged) << "showing redraws the bar";
}

TEST_F(MenuTest, ItemsLandInTheirParentsSubMenusOnTwoLevels) {
    BuildTree();
    EXPECT_EQ(6, Recorded());
    HMENU bar = GetMenu(m_win.m_hWnd);
    ASSERT_EQ(2, GetMenuItemCount(bar));
    HMENU file = SystemSubMenu(bar, kFile);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(file, GetSubMenu(bar, 0));
    ASSERT_EQ(3, GetMenuItemCount(file));
    EXPECT_EQ(kOpen, GetMenuItemID(file, 0));
    EXPECT_EQ(kSave, GetMenuItemID(file, 1));
    HMENU recent = SystemSubMenu(file, kRecent);
    ASSERT_NE(nullptr, recent) << "the sub-menu is made on the first child";
    ASSERT_EQ(1, GetMenuItemCount(recent));
    EXPECT_EQ(kRecent1, GetMenuItemID(recent, 0));
    EXPECT_EQ(L"一つ目", SystemText(kRecent1));

    EXPECT_EQ(file, m_win.m_pMenuHdMgr->GetHandle(kOpen));
    EXPECT_EQ(recent, m_win.m_pMenuHdMgr->GetHandle(kRecent1));
    EXPECT_EQ(kRecent, m_win.m_pMenuHdMgr->GetParent(kRecent1));
    EXPECT_EQ(1, m_win.m_pMenuHdMgr->HasSubMenu(kRecent));
    EXPECT_EQ(0, m_win.m_pMenuHdMgr->HasSubMenu(kSave));
}

TEST_F(MenuTest, InsertBeforeAnItemByCommand) {
    BuildTree();
    WINDOW_MENU_Insert(m_win, kFile, L"新規", 105, kSave);
    HMENU file = SystemSubMenu(GetMenu(m_win.m_hWnd), kFile);
    ASSERT_EQ(4, GetMenuItemCount(file));
    EXPECT_EQ(kOpen, GetMenuItemID(file, 0));
    EXPECT_EQ(105u, GetMenuItemID(file, 1));
    EXPECT_EQ(kSave, GetMenuItemID(file, 2));
}

TEST_F(MenuTest, EntryCountsOfRecordedAndUnknownItems) {
    EXPECT_EQ(0, WINDOW_MENU_GetEntry(m_win, kFile)) << "no table yet";
    BuildTree();
    struct Row {
        unsigned id;
        int count;
    } rows[] = {{kFile, 3}, {kRecent, 1}, {kEdit, 0}, {kSave, 0}, {999, -1}};
    for (const Row& row : rows) EXPECT_EQ(row.count, WINDOW_MENU_GetEntry(m_win, row.id)) << "id " << row.id;
}

TEST_F(MenuTest, DeletingATopLevelItemForgetsEverythingBelowIt) {
    BuildTree();
    WINDOW_MENU_Delete(m_win, kFile);
    EXPECT_EQ(1, Recorded()) << "five items removed";
    for (unsigned id : {kFile, kOpen, kSave, kRecent, kRecent1}) {
        EXPECT_EQ(MENU_HandleManager::enListMax, m_win.m_pMenuHdMgr->GetIndex(id)) << "id " << id;
        EXPECT_EQ(L"<none>", SystemText(id)) << "id " << id;
    }
    EXPECT_EQ(L"編集", SystemText(kEdit));
    EXPECT_EQ(1, GetMenuItemCount(GetMenu(m_win.m_hWnd)));
}

TEST_F(MenuTest, DeletingASubItemLeavesItsSiblings) {
    BuildTree();
    WINDOW_MENU_Delete(m_win, kRecent);
    EXPECT_EQ(4, Recorded());
    EXPECT_EQ(L"<none>", SystemText(kRecent));
    EXPECT_EQ(L"<none>", SystemText(kRecent1));
    EXPECT_EQ(L"開く", SystemText(kOpen));
    EXPECT_EQ(2, WINDOW_MENU_GetEntry(m_win, kFile));
}

TEST_F(MenuTest, InsertingARecordedIdChangesNothing) {
    BuildTree();
    HMENU file = SystemSubMenu(GetMenu(m_win.m_hWnd), kFile);
    WINDOW_MENU_InsertPos(m_win, kFile, L"二度目", kOpen, 0);
    WINDOW_MENU_InsertPos(m_win, MENU_ID_ROOT, L"二度目", kEdit, 0);
    EXPECT_EQ(6, Recorded());
    EXPECT_EQ(3, GetMenuItemCount(file));
    EXPECT_EQ(2, GetMenuItemCount(GetMenu(m_win.m_hWnd)));
    EXPECT_EQ(L"開く", SystemText(kOpen));
    EXPECT_EQ(L"編集", SystemText(kEdit));
}

TEST_F(MenuTest, RootIdAndSubItemsWithoutATableAreRefused) {
    WINDOW_MENU_InsertPos(m_win, kFile, L"開く", kOpen, 0);  // no table yet
    EXPECT_EQ(nullptr, m_win.m_pMenuHdMgr);
    EXPECT_EQ(nullptr, GetMenu(m_win.m_hWnd));
    WINDOW_MENU_InsertPos(m_win, MENU_ID_ROOT, L"根", MENU_ID_ROOT, 0);
    EXPECT_EQ(nullptr, m_win.m_pMenuHdMgr);
    EXPECT_EQ(nullptr, GetMenu(m_win.m_hWnd));
}

TEST_F(MenuTest, SubItemOfAnUnknownParentIsNotRecorded) {
    BuildTree();
    // The lookup of the missing parent reports the system's error in a box: close it.
    gui::WindowDriver closer(L"Error", [](HWND box) { gui::PressButton(box, IDOK); }, 10);
    WINDOW_MENU_InsertPos(m_win, 555, L"迷子", 556, 0);
    closer.Join();
    EXPECT_TRUE(closer.Done());
    EXPECT_EQ(6, Recorded());
    EXPECT_EQ(MENU_HandleManager::enListMax, m_win.m_pMenuHdMgr->GetIndex(556));
    EXPECT_EQ(L"<none>", SystemText(556));
}

TEST_F(MenuTest, GetStringNeedsRoomForTheTerminator) {
    BuildTree();
    wchar_t buf[16];
    for (wchar_t& c : buf) c = L'#';
    EXPECT_EQ(0, WINDOW_MENU_GetString(m_win, kRecent1, buf, 3)) << "exactly the text's length";
    EXPECT_EQ(L'#', buf[0]);
    EXPECT_EQ(1, WINDOW_MENU_GetString(m_win, kRecent1, buf, 4));
    EXPECT_STREQ(L"一つ目", buf);
    EXPECT_EQ(1, WINDOW_MENU_GetString(m_win, kFile, buf, 16)) << "top-level item";
    EXPECT_STREQ(L"ファイル", buf);
    EXPECT_EQ(0, WINDOW_MENU_GetString(m_win, 999, buf, 16));
    EXPECT_EQ(0, WINDOW_MENU_GetString(m_win, kOpen, nullptr, 16));
}

TEST_F(MenuTest, CheckSetsQueriesAndClearsTheMark) {
    BuildTree();
    HMENU file = SystemSubMenu(GetMenu(m_win.m_hWnd), kFile);
    auto state = [&](unsigned id) { return GetMenuState(file, id, MF_BYCOMMAND); };

    EXPECT_EQ(0, WINDOW_MENU_Check(m_win, kSave, WINDOW_MENU_QUERY));
    EXPECT_EQ(1, WINDOW_MENU_Check(m_win, kSave, 5));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), state(kSave) & MF_CHECKED);
    EXPECT_EQ(1, WINDOW_MENU_Check(m_win, kSave, WINDOW_MENU_QUERY));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), state(kSave) & MF_CHECKED) << "a query changes nothing";
    EXPECT_EQ(0u, state(kOpen) & MF_CHECKED);
    EXPECT_EQ(1, WINDOW_MENU_Check(m_win, kSave, 0));
    EXPECT_EQ(0u, state(kSave) & MF_CHECKED);
    EXPECT_EQ(0, WINDOW_MENU_Check(m_win, kSave, WINDOW_MENU_QUERY));
}

TEST_F(MenuTest, CheckedItemReadsCheckedWhateverItsOtherStateBits) {
    BuildTree();
    HMENU file = SystemSubMenu(GetMenu(m_win.m_hWnd), kFile);
    ASSERT_EQ(1, WINDOW_MENU_Check(m_win, kOpen, 1));
    EnableMenuItem(file, kOpen, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_EQ(1, WINDOW_MENU_Check(m_win, kOpen, WINDOW_MENU_QUERY));
}

TEST_F(MenuTest, CheckNeedsARecordedItemBelowAParent) {
    EXPECT_EQ(0, WINDOW_MENU_Check(m_win, kOpen, 1)) << "no table";
    BuildTree();
    EXPECT_EQ(0, WINDOW_MENU_Check(m_win, 0, 1));
    EXPECT_EQ(0, WINDOW_MENU_Check(m_win, kFile, 1)) << "top-level item";
    EXPECT_EQ(0, WINDOW_MENU_Check(m_win, 999, 1));
}

TEST_F(MenuTest, ReleaseRemovesEveryItemAndFreesTheTable) {
    WINDOW_MENU_Release(m_win);  // no table: nothing happens
    EXPECT_EQ(nullptr, m_win.m_pMenuHdMgr);
    EXPECT_EQ(nullptr, GetMenu(m_win.m_hWnd));

    BuildTree();
    HMENU bar = GetMenu(m_win.m_hWnd);
    WINDOW_Release(m_win);
    EXPECT_EQ(nullptr, m_win.m_pMenuHdMgr);
    EXPECT_EQ(0, GetMenuItemCount(bar));
    EXPECT_EQ(0, WINDOW_MENU_GetString(m_win, kOpen, nullptr, 0));
}

TEST_F(MenuTest, ClearRemovesTheItemsButKeepsTheTable) {
    BuildTree();
    WINDOW_MENU_Clear(m_win);
    ASSERT_NE(nullptr, m_win.m_pMenuHdMgr);
    EXPECT_EQ(0, Recorded());
    EXPECT_EQ(0, GetMenuItemCount(GetMenu(m_win.m_hWnd)));
    WINDOW_MENU_InsertPos(m_win, MENU_ID_ROOT, L"ファイル", kFile, 0);
    EXPECT_EQ(1, Recorded());
}

// The table on its own.
TEST(MenuTable, DeletingSlotZeroOfThreeMovesTheLastItemIntoIt) {
    MENU_HandleManager table;
    table.AddMenu(nullptr, 1, 0);
    table.AddMenu(nullptr, 2, 0);
    table.AddMenu(nullptr, 3, 0);
    table.Delete(1);
    ASSERT_EQ(2, table.GetEntry());
    EXPECT_EQ(3u, table.GetItem(0).m_uID);
    EXPECT_EQ(2u, table.GetItem(1).m_uID);
    EXPECT_EQ(0u, table.GetItem(2).m_uID) << "the freed slot is zeroed";
    EXPECT_EQ(0, table.GetIndex(3));
}

TEST(MenuTable, DeletingForgetsChildrenAtAnyDepthWhereverTheyLie) {
    MENU_HandleManager table;
    // Children recorded before and after their parents, in mixed order.
    table.AddMenu(nullptr, 30, 20);
    table.AddMenu(nullptr, 10, 0);
    table.AddMenu(nullptr, 20, 10);
    table.AddMenu(nullptr, 50, 0);
    table.AddMenu(nullptr, 21, 10);
    table.AddMenu(nullptr, 31, 20);
    table.AddMenu(nullptr, 40, 30);
    table.AddMenu(nullptr, 51, 50);
    table.Delete(10);
    ASSERT_EQ(2, table.GetEntry());
    EXPECT_NE(MENU_HandleManager::enListMax, table.GetIndex(50));
    EXPECT_NE(MENU_HandleManager::enListMax, table.GetIndex(51));
    table.Delete(777);  // not recorded
    EXPECT_EQ(2, table.GetEntry());
}

TEST(MenuTable, LookupsOfUnknownIds) {
    MENU_HandleManager table;
    table.Delete(5);  // empty table
    EXPECT_EQ(MENU_HandleManager::enListMax, table.GetIndex(5));
    EXPECT_EQ(nullptr, table.GetHandle(5));
    EXPECT_EQ(0u, table.GetParent(5));
    EXPECT_EQ(0, table.HasSubMenu(5));
    table.SetSubMenu(5);
    EXPECT_EQ(0, table.GetEntry());
}

TEST(MenuTable, AFullTableRecordsNothingMore) {
    MENU_HandleManager* table = new MENU_HandleManager;
    for (unsigned id = 1; id <= MENU_HandleManager::enListMax; ++id) table->AddMenu(nullptr, id, 0);
    EXPECT_EQ(MENU_HandleManager::enListMax, table->GetEntry());
    EXPECT_EQ(MENU_HandleManager::enListMax - 1, table->GetIndex(MENU_HandleManager::enListMax));
    table->AddMenu(nullptr, 5000, 0);
    EXPECT_EQ(MENU_HandleManager::enListMax, table->GetEntry());
    EXPECT_EQ(MENU_HandleManager::enListMax, table->GetIndex(5000));
    delete table;
}

}  // namespace
