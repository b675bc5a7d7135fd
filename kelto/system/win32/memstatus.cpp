// Physical memory figures of the platform's memory status.
#include "kelto/system/win32/dialog.h"

#include <windows.h>

namespace {

MEMORYSTATUSEX memstatus_query()
{
    MEMORYSTATUSEX stStatus = {};  // a failed query leaves the figures 0
    stStatus.dwLength = sizeof(stStatus);
    GlobalMemoryStatusEx(&stStatus);
    return stStatus;
}

}  // namespace

uint64_t SYSTEM_GetAvailPhys()
{
    return memstatus_query().ullAvailPhys;
}

uint64_t SYSTEM_GetTotalPhys()
{
    return memstatus_query().ullTotalPhys;
}
