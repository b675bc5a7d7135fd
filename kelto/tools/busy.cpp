// The hook of long work.
#include "kelto/tools/busy.h"

std::atomic<BUSY_HOOK> s_pBusyHook(0);

BUSY_HOOK BUSY_setHook(BUSY_HOOK _pHook)
{
    return s_pBusyHook.exchange(_pHook);
}

void BUSY_removeHook(BUSY_HOOK _pHook)
{
    BUSY_HOOK pExpected = _pHook;
    s_pBusyHook.compare_exchange_strong(pExpected, 0);
}
