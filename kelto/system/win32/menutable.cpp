// The run-time menu table: plain bookkeeping of the items the library added.
#include "kelto/memory/mem.h"
#include "kelto/system/win32/menu.h"
#include "kelto/tools/debug.h"

MENU_HandleManager::MENU_HandleManager() : m_iMenuHandleEntry(0)
{
    MEM_clear(m_stList, static_cast<int>(sizeof(m_stList)));
}

void MENU_HandleManager::AddMenu(HMENU__* _hMenu, unsigned int _uID, unsigned int _uParentID)
{
    if (m_iMenuHandleEntry >= enListMax) return;
    KELTO_ASSERT(_uID != _uParentID);
    ITEM& stItem = m_stList[m_iMenuHandleEntry];
    stItem.m_uID = _uID;
    stItem.m_uParentID = _uParentID;
    stItem.m_hMenu = _hMenu;
    stItem.m_iSubMenu = 0;
    ++m_iMenuHandleEntry;
    // The item that takes the last slot is kept, and reported.
    KELTO_ASSERT(m_iMenuHandleEntry < enListMax);
}

int MENU_HandleManager::GetIndex(unsigned int _uID) const
{
    for (int ii = 0; ii < m_iMenuHandleEntry; ++ii) {
        if (m_stList[ii].m_uID == _uID) return ii;
    }
    return enListMax;
}

HMENU__* MENU_HandleManager::GetHandle(unsigned int _uID) const
{
    const int iIndex = GetIndex(_uID);
    return iIndex < enListMax ? m_stList[iIndex].m_hMenu : 0;
}

unsigned int MENU_HandleManager::GetParent(unsigned int _uID) const
{
    const int iIndex = GetIndex(_uID);
    return iIndex < enListMax ? m_stList[iIndex].m_uParentID : 0;
}

int MENU_HandleManager::HasSubMenu(unsigned int _uID) const
{
    const int iIndex = GetIndex(_uID);
    if (iIndex >= enListMax) return 0;
    // A top-level item gets its sub-menu when it is inserted.
    return (m_stList[iIndex].m_iSubMenu || m_stList[iIndex].m_uParentID == MENU_ID_ROOT) ? 1 : 0;
}

void MENU_HandleManager::SetSubMenu(unsigned int _uID)
{
    const int iIndex = GetIndex(_uID);
    if (iIndex < enListMax) m_stList[iIndex].m_iSubMenu = 1;
}

void MENU_HandleManager::Delete(unsigned int _uID)
{
    if (m_iMenuHandleEntry <= 0) return;
    const int iIndex = GetIndex(_uID);
    if (iIndex >= enListMax) return;
    const int iLast = m_iMenuHandleEntry - 1;
    m_stList[iIndex] = m_stList[iLast];
    MEM_clear(&m_stList[iLast], static_cast<int>(sizeof(ITEM)));
    --m_iMenuHandleEntry;

    // Children go too (and theirs, recursively); each removal reorders the table,
    // so the scan starts again from the front.
    for (int ii = 0; ii < m_iMenuHandleEntry;) {
        if (m_stList[ii].m_uParentID == _uID) {
            Delete(m_stList[ii].m_uID);
            ii = 0;
        } else {
            ++ii;
        }
    }
}
