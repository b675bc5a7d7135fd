// Last-write times over stat and utimensat, in local time as the platform gives them.
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"
#include "kelto/tools/debug.h"

int FILE_GetTime(const wchar_t* _szPath, TIME_INFO* _pFTime)
{
    KELTO_ASSERT(_pFTime);
    if (!_pFTime || !_szPath) return 0;
    struct stat st;
    if (stat(POSIX_path(_szPath).c_str(), &st) != 0) return 0;
    struct tm stLocal;
    if (!localtime_r(&st.st_mtime, &stLocal)) return 0;
    _pFTime->wYear = static_cast<uint16_t>(stLocal.tm_year + 1900);
    _pFTime->byMonth = static_cast<uint8_t>(stLocal.tm_mon + 1);
    _pFTime->byWeek = static_cast<uint8_t>(stLocal.tm_wday);
    _pFTime->byDay = static_cast<uint8_t>(stLocal.tm_mday);
    _pFTime->byHour = static_cast<uint8_t>(stLocal.tm_hour);
    _pFTime->byMinute = static_cast<uint8_t>(stLocal.tm_min);
    _pFTime->bySecond = static_cast<uint8_t>(stLocal.tm_sec);
    return 1;
}

int FILE_SetTime(const wchar_t* _szPath, const TIME_INFO* _pFTime)
{
    KELTO_ASSERT(_pFTime);
    if (!_pFTime || !_szPath) return 0;
    // The fields as the platform checks them: mktime would carry a 31st of February over.
    const TIME_INFO& t = *_pFTime;
    if (t.wYear < 1601 || t.byMonth < 1 || t.byMonth > 12 || t.byDay < 1 || t.byDay > 31 || t.byHour > 23 ||
        t.byMinute > 59 || t.bySecond > 59)
        return 0;
    struct tm stLocal = {};
    stLocal.tm_year = t.wYear - 1900;
    stLocal.tm_mon = t.byMonth - 1;
    stLocal.tm_mday = t.byDay;
    stLocal.tm_hour = t.byHour;
    stLocal.tm_min = t.byMinute;
    stLocal.tm_sec = t.bySecond;
    stLocal.tm_isdst = -1;
    const time_t tWrite = mktime(&stLocal);
    if (tWrite == static_cast<time_t>(-1) || stLocal.tm_mday != t.byDay) return 0;
    struct timespec aTimes[2];
    aTimes[0].tv_sec = 0;
    aTimes[0].tv_nsec = UTIME_OMIT;
    aTimes[1].tv_sec = tWrite;
    aTimes[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, POSIX_path(_szPath).c_str(), aTimes, 0) == 0 ? 1 : 0;
}
