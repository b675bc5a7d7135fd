// Weekday names in the system's 8-bit code page.
#include "kelto/system/win32/dialog.h"

namespace {

// Row 0 holds the kanji as Shift-JIS bytes: 日 月 火 水 木 金 土.
const char s_szWeekName[2 * 7][4] = {
    "\x93\xfa", "\x8c\x8e", "\x89\xce", "\x90\x85", "\x96\xd8", "\x8b\xe0", "\x93\x79",
    "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
};

}  // namespace

const char* SYSTEM_GetWeekName(uint8_t _byWeek, int _iLanguage)
{
    if (_byWeek > 6 || _iLanguage < 0 || _iLanguage > 1) return 0;
    return s_szWeekName[_iLanguage * 7 + _byWeek];
}
