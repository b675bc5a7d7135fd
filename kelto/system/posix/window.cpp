// The native build opens no windows; only the window record exists, empty.
#include "kelto/system/win32/window.h"

WINDOW_INFO::WINDOW_INFO()
    : m_pClassName(0), m_pTitle(0), m_hWnd(0), m_hInstance(0), m_uReserved2(0), m_iPopup(0),
      m_hStatus(0), m_pMenuHdMgr(0)
{
}
