// Menu items added, checked, read and removed at run time. Every item the library adds
// is recorded in the window's table so that the menu holding it, its parent and its
// sub-menu can be found again, and removing an item forgets everything below it.
// Items are addressed by command id.
#ifndef KELTO_SYSTEM_WIN32_MENU_H
#define KELTO_SYSTEM_WIN32_MENU_H

#include "kelto/system/win32/window.h"

struct HMENU__;

// Parent id of the items of the menu bar; never an item id.
#define MENU_ID_ROOT 0u

class MENU_HandleManager
{
public:
    enum { enListMax = 1024 };

    struct ITEM
    {
        unsigned int m_uID;        // command id of the menu item
        unsigned int m_uParentID;  // MENU_ID_ROOT for an item of the menu bar
        HMENU__* m_hMenu;          // the menu that holds the item
        int m_iSubMenu;            // a sub-menu was attached to the item
    };

    MENU_HandleManager();

    // Appends an item (table full: nothing is recorded).
    void AddMenu(HMENU__* _hMenu, unsigned int _uID, unsigned int _uParentID);
    // The item's index, or enListMax.
    int GetIndex(unsigned int _uID) const;
    HMENU__* GetHandle(unsigned int _uID) const;
    unsigned int GetParent(unsigned int _uID) const;
    // 1 for a top-level item or one with an attached sub-menu.
    int HasSubMenu(unsigned int _uID) const;
    void SetSubMenu(unsigned int _uID);
    HMENU__* GetSubMenu(WINDOW_INFO& _cWin, unsigned int _uID) const;
    // Entries of the item's sub-menu; -1 when not recorded, 0 without recorded children.
    int GetEntryCount(WINDOW_INFO& _cWin, unsigned int _uID) const;
    // 1 when the item's text and terminator were copied into the buffer.
    int GetString(WINDOW_INFO& _cWin, unsigned int _uID, wchar_t* _pBuffer, int _iSize) const;
    // Forgets the item and everything below it (the last item takes its slot).
    void Delete(unsigned int _uID);
    // Removes every top-level item (and so everything) through WINDOW_MENU_Delete.
    void Clear(WINDOW_INFO& _cWin);

    int GetEntry() const { return m_iMenuHandleEntry; }
    const ITEM& GetItem(int _iIndex) const { return m_stList[_iIndex]; }

private:
    ITEM m_stList[enListMax];
    int m_iMenuHandleEntry;  // items in use, packed at the front
};

// Inserts a string item before the item _uBefore (by command) or at position _uPos.
// Parent MENU_ID_ROOT adds a top-level item with an empty sub-menu to the menu bar
// (created and attached when the window has none); a sub-item goes into its parent's
// sub-menu, which is made on first use.
void WINDOW_MENU_Insert(WINDOW_INFO& _cWin, unsigned int _uParentID, const wchar_t* _pText,
                        unsigned int _uAddID, unsigned int _uBefore);
void WINDOW_MENU_InsertPos(WINDOW_INFO& _cWin, unsigned int _uParentID, const wchar_t* _pText,
                           unsigned int _uAddID, unsigned int _uPos);
void WINDOW_menu_entry(WINDOW_INFO& _cWin, unsigned int _uParentID, const wchar_t* _pText,
                       unsigned int _uAddID, unsigned int _uPlace, int _iByPosition);

HMENU__* WINDOW_MENU_CreateSubMenu(WINDOW_INFO& _cWin, unsigned int _uID);
// Null menu: the window's menu bar. 0 when the item has no sub-menu or cannot be read
// (the last-error text is then shown).
HMENU__* WINDOW_MENU_GetSubMenuHandle(WINDOW_INFO& _cWin, HMENU__* _hMenu, unsigned int _uID);

#define WINDOW_MENU_QUERY 0xFFFFFFFFu
// State 0 clears the check mark, WINDOW_MENU_QUERY asks for it, any other sets it.
// 1 done (or checked), 0 otherwise.
int WINDOW_MENU_Check(WINDOW_INFO& _cWin, unsigned int _uID, unsigned int _uState);
int WINDOW_MENU_GetEntry(WINDOW_INFO& _cWin, unsigned int _uID);
int WINDOW_MENU_GetString(WINDOW_INFO& _cWin, unsigned int _uID, wchar_t* _pBuffer, int _iSize);
void WINDOW_MENU_Delete(WINDOW_INFO& _cWin, unsigned int _uID);
void WINDOW_MENU_Clear(WINDOW_INFO& _cWin);
// Clears and frees the window's table.
void WINDOW_MENU_Release(WINDOW_INFO& _cWin);

#endif
