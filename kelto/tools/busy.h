// BUSY_poll: long work that logs nothing (a search, a sort, a scan of a whole text or folder,
// a conversion of a whole file) calls it now and then, on the thread that runs the work, so
// that the program can do meanwhile what cannot wait for the work's end (the message log
// shows its waiting lines there). The program sets a hook only while it has something to do;
// without one a call is a load and a test, so a loop may call it on every step.
#ifndef KELTO_TOOLS_BUSY_H
#define KELTO_TOOLS_BUSY_H

#include <atomic>

typedef void (*BUSY_HOOK)();

// The function BUSY_poll calls, or 0 for none; the previous one.
BUSY_HOOK BUSY_setHook(BUSY_HOOK _pHook);
// Removes the hook when it is _pHook; another one stays.
void BUSY_removeHook(BUSY_HOOK _pHook);

// Set through BUSY_setHook only.
extern std::atomic<BUSY_HOOK> s_pBusyHook;

inline void BUSY_poll()
{
    const BUSY_HOOK pHook = s_pBusyHook.load(std::memory_order_relaxed);
    if (pHook) pHook();
}

#endif
