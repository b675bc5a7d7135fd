// Run-time menu items over the platform's menu calls, recorded in the window's table.
#include "kelto/system/win32/menu.h"

#include <windows.h>

#include "kelto/memory/mem.h"
#include "kelto/tools/debug.h"

namespace {

MENUITEMINFOW menu_info(UINT _uMask)
{
    MENUITEMINFOW stInfo = {};
    stInfo.cbSize = sizeof(stInfo);
    stInfo.fMask = _uMask;
    return stInfo;
}

}  // namespace

HMENU__* MENU_HandleManager::GetSubMenu(WINDOW_INFO& _cWin, unsigned int _uID) const
{
    return WINDOW_MENU_GetSubMenuHandle(_cWin, GetHandle(_uID), _uID);
}

int MENU_HandleManager::GetEntryCount(WINDOW_INFO& _cWin, unsigned int _uID) const
{
    (void)_cWin;
    if (GetIndex(_uID) >= enListMax) return -1;
    for (int ii = 0; ii < m_iMenuHandleEntry; ++ii) {
        if (m_stList[ii].m_uParentID == _uID) {
            const int iCount = GetMenuItemCount(m_stList[ii].m_hMenu);
            return iCount < 0 ? 0 : iCount;
        }
    }
    return 0;
}

int MENU_HandleManager::GetString(WINDOW_INFO& _cWin, unsigned int _uID, wchar_t* _pBuffer,
                                  int _iSize) const
{
    if (!_pBuffer || GetIndex(_uID) >= enListMax) return 0;
    // Searching by command reaches into sub-menus, so the parent's holding menu will do.
    const unsigned int uParent = GetParent(_uID);
    HMENU hMenu = GetIndex(uParent) < enListMax ? GetHandle(uParent) : GetMenu(_cWin.m_hWnd);

    MENUITEMINFOW stInfo = menu_info(MIIM_STRING);
    if (!GetMenuItemInfoW(hMenu, _uID, FALSE, &stInfo)) return 0;
    if (_iSize <= static_cast<int>(stInfo.cch)) return 0;  // text and terminator must fit
    stInfo.dwTypeData = _pBuffer;
    stInfo.cch += 1;
    return GetMenuItemInfoW(hMenu, _uID, FALSE, &stInfo) ? 1 : 0;
}

void MENU_HandleManager::Clear(WINDOW_INFO& _cWin)
{
    while (m_iMenuHandleEntry > 0) {
        const int iEntry = m_iMenuHandleEntry;
        int ii = 0;
        while (ii < iEntry && m_stList[ii].m_uParentID != MENU_ID_ROOT) ++ii;
        KELTO_ASSERT(ii != iEntry);
        if (ii == iEntry) return;
        WINDOW_MENU_Delete(_cWin, m_stList[ii].m_uID);
    }
}

void WINDOW_MENU_Insert(WINDOW_INFO& _cWin, unsigned int _uParentID, const wchar_t* _pText,
                        unsigned int _uAddID, unsigned int _uBefore)
{
    WINDOW_menu_entry(_cWin, _uParentID, _pText, _uAddID, _uBefore, 0);
}

void WINDOW_MENU_InsertPos(WINDOW_INFO& _cWin, unsigned int _uParentID, const wchar_t* _pText,
                           unsigned int _uAddID, unsigned int _uPos)
{
    WINDOW_menu_entry(_cWin, _uParentID, _pText, _uAddID, _uPos, 1);
}

void WINDOW_menu_entry(WINDOW_INFO& _cWin, unsigned int _uParentID, const wchar_t* _pText,
                       unsigned int _uAddID, unsigned int _uPlace, int _iByPosition)
{
    KELTO_ASSERT(_uAddID != MENU_ID_ROOT);
    if (_uAddID == MENU_ID_ROOT) return;  // the root id marks top-level parents, never an item
    if (_cWin.m_pMenuHdMgr) {
        KELTO_ASSERT(_cWin.m_pMenuHdMgr->GetIndex(_uAddID) == MENU_HandleManager::enListMax);
        if (_cWin.m_pMenuHdMgr->GetIndex(_uAddID) != MENU_HandleManager::enListMax) return;
    }
    const BOOL bByPosition = _iByPosition ? TRUE : FALSE;

    if (_uParentID != MENU_ID_ROOT) {
        MENU_HandleManager* pMgr = _cWin.m_pMenuHdMgr;
        if (!pMgr) return;
        if (!pMgr->HasSubMenu(_uParentID)) {
            WINDOW_MENU_CreateSubMenu(_cWin, _uParentID);
            pMgr->SetSubMenu(_uParentID);
        }
        HMENU hSub = pMgr->GetSubMenu(_cWin, _uParentID);
        if (!hSub) return;
        MENUITEMINFOW stInfo = menu_info(MIIM_STATE | MIIM_ID | MIIM_STRING);
        stInfo.fType = MFT_STRING;
        stInfo.fState = 0;
        stInfo.wID = _uAddID;
        stInfo.dwTypeData = const_cast<wchar_t*>(_pText);
        // Only what the menu really holds is recorded.
        if (!InsertMenuItemW(hSub, _uPlace, bByPosition, &stInfo)) return;
        pMgr->AddMenu(hSub, _uAddID, _uParentID);
    } else {
        HMENU hBar = GetMenu(_cWin.m_hWnd);
        const bool bNewBar = !hBar;
        if (bNewBar) hBar = CreateMenu();
        if (!hBar) return;
        HMENU hSub = CreatePopupMenu();
        MENUITEMINFOW stInfo = menu_info(MIIM_ID | MIIM_SUBMENU | MIIM_TYPE);
        stInfo.fType = MFT_STRING;
        stInfo.wID = _uAddID;
        stInfo.hSubMenu = hSub;
        stInfo.dwTypeData = const_cast<wchar_t*>(_pText);
        if (!hSub || !InsertMenuItemW(hBar, _uPlace, bByPosition, &stInfo)) {
            if (hSub) DestroyMenu(hSub);
            if (bNewBar) DestroyMenu(hBar);
            return;
        }
        if (!_cWin.m_pMenuHdMgr) {
            _cWin.m_pMenuHdMgr = KELTO_NEW("WINDOW_menu_entry") MENU_HandleManager;
            KELTO_ASSERT(_cWin.m_pMenuHdMgr);
            if (!_cWin.m_pMenuHdMgr) {
                // Attach a bar made here anyway, so that the inserted item is not lost.
                if (bNewBar) SetMenu(_cWin.m_hWnd, hBar);
                return;
            }
        }
        _cWin.m_pMenuHdMgr->AddMenu(hBar, _uAddID, MENU_ID_ROOT);
        if (!_cWin.m_iHasMenu || bNewBar) {
            SetMenu(_cWin.m_hWnd, hBar);
            _cWin.m_iHasMenu = 1;
            WINDOW_SetClientSize(_cWin, 0, 0);
        }
    }
    _cWin.m_iMenuChanged = 1;
}

HMENU__* WINDOW_MENU_CreateSubMenu(WINDOW_INFO& _cWin, unsigned int _uID)
{
    MENU_HandleManager* pMgr = _cWin.m_pMenuHdMgr;
    if (!pMgr) return 0;
    HMENU hSub = CreatePopupMenu();
    HMENU hHolder = pMgr->GetSubMenu(_cWin, pMgr->GetParent(_uID));
    MENUITEMINFOW stInfo = menu_info(MIIM_SUBMENU);
    stInfo.hSubMenu = hSub;
    SetMenuItemInfoW(hHolder, _uID, FALSE, &stInfo);
    return hSub;
}

HMENU__* WINDOW_MENU_GetSubMenuHandle(WINDOW_INFO& _cWin, HMENU__* _hMenu, unsigned int _uID)
{
    if (!_cWin.m_iHasMenu || _uID == 0) return 0;
    if (!_hMenu) _hMenu = GetMenu(_cWin.m_hWnd);
    MENUITEMINFOW stInfo = menu_info(MIIM_SUBMENU);
    if (GetMenuItemInfoW(_hMenu, _uID, FALSE, &stInfo)) return stInfo.hSubMenu;
    DEBUG_errorBox(0);
    return 0;
}

int WINDOW_MENU_Check(WINDOW_INFO& _cWin, unsigned int _uID, unsigned int _uState)
{
    MENU_HandleManager* pMgr = _cWin.m_pMenuHdMgr;
    if (!pMgr || _uID == 0) return 0;
    const unsigned int uParent = pMgr->GetParent(_uID);
    if (uParent == MENU_ID_ROOT) return 0;  // only items below a recorded parent
    HMENU hHolder = pMgr->GetSubMenu(_cWin, uParent);
    if (!hHolder) return 0;
    MENUITEMINFOW stInfo = menu_info(MIIM_STATE);
    if (!GetMenuItemInfoW(hHolder, _uID, FALSE, &stInfo)) return 0;
    if (_uState == WINDOW_MENU_QUERY) return (stInfo.fState & MFS_CHECKED) ? 1 : 0;
    stInfo.fState = _uState ? MFS_CHECKED : 0;
    return SetMenuItemInfoW(hHolder, _uID, FALSE, &stInfo) ? 1 : 0;
}

int WINDOW_MENU_GetEntry(WINDOW_INFO& _cWin, unsigned int _uID)
{
    KELTO_ASSERT(_cWin.m_pMenuHdMgr);
    if (!_cWin.m_pMenuHdMgr) return 0;
    return _cWin.m_pMenuHdMgr->GetEntryCount(_cWin, _uID);
}

int WINDOW_MENU_GetString(WINDOW_INFO& _cWin, unsigned int _uID, wchar_t* _pBuffer, int _iSize)
{
    KELTO_ASSERT(_cWin.m_pMenuHdMgr);
    if (!_cWin.m_pMenuHdMgr) return 0;
    return _cWin.m_pMenuHdMgr->GetString(_cWin, _uID, _pBuffer, _iSize);
}

void WINDOW_MENU_Delete(WINDOW_INFO& _cWin, unsigned int _uID)
{
    MENU_HandleManager* pMgr = _cWin.m_pMenuHdMgr;
    if (!pMgr) return;
    const unsigned int uParent = pMgr->GetParent(_uID);
    HMENU hHolder = uParent != MENU_ID_ROOT ? pMgr->GetSubMenu(_cWin, uParent) : GetMenu(_cWin.m_hWnd);
    DeleteMenu(hHolder, _uID, MF_BYCOMMAND);
    pMgr->Delete(_uID);
    _cWin.m_iMenuChanged = 1;
}

void WINDOW_MENU_Clear(WINDOW_INFO& _cWin)
{
    if (_cWin.m_pMenuHdMgr) _cWin.m_pMenuHdMgr->Clear(_cWin);
}

void WINDOW_MENU_Release(WINDOW_INFO& _cWin)
{
    if (!_cWin.m_pMenuHdMgr) return;
    _cWin.m_pMenuHdMgr->Clear(_cWin);
    delete _cWin.m_pMenuHdMgr;
    _cWin.m_pMenuHdMgr = 0;
}
