// The native build starts no programs: every start fails as a missing program does.
#include "krelwin/main/process.h"

void* PROCESS_start(wchar_t*)
{
    return 0;
}

void PROCESS_wait(void*) {}
