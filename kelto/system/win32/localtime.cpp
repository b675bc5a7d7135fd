// The platform's local time as a TIME_INFO.
#include "kelto/system/win32/dialog.h"

#include <windows.h>

TIME_INFO SYSTEM_GetLocalTime()
{
    SYSTEMTIME stTime = {};
    GetLocalTime(&stTime);
    TIME_INFO stInfo = {};
    stInfo.wYear = stTime.wYear;
    stInfo.byMonth = static_cast<uint8_t>(stTime.wMonth);
    stInfo.byWeek = static_cast<uint8_t>(stTime.wDayOfWeek);
    stInfo.byDay = static_cast<uint8_t>(stTime.wDay);
    stInfo.byHour = static_cast<uint8_t>(stTime.wHour);
    stInfo.byMinute = static_cast<uint8_t>(stTime.wMinute);
    stInfo.bySecond = static_cast<uint8_t>(stTime.wSecond);
    return stInfo;
}
