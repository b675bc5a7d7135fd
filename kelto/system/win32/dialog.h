// The common open and save dialogs, the help viewer and small system queries
// (physical memory, local time, weekday names, environment variables).
#ifndef KELTO_SYSTEM_WIN32_DIALOG_H
#define KELTO_SYSTEM_WIN32_DIALOG_H

#include <cstdint>

#include "kelto/files/win32/file.h"

struct HWND__;

// Argument record of FILE_SelectOpen and FILE_SelectSave.
struct FILE_SELECT
{
    HWND__* m_hOwner;          // may be null
    const wchar_t* m_pTitle;   // dialog title
    wchar_t* m_pPath;          // out: full path, room for 260 units, written on success
    const wchar_t* m_pInitial; // initial file name, or null
    const wchar_t* m_pFilter;  // description/pattern pairs, each ended by 0, the list by an empty one
};

// 1 when a file was chosen and its full path copied to the out path; 0 on cancel or
// failure (the out path is then left as it was). The open dialog adds "bmp" to a name
// typed without extension and wants an existing file; the save dialog wants an
// existing folder only.
int FILE_SelectOpen(FILE_SELECT _stSelect);
int FILE_SelectSave(FILE_SELECT _stSelect);
// The same on all files, titled "Open File" / "Save File".
int FILE_SelectOpenFile(HWND__* _hOwner, wchar_t* _pPath);
int FILE_SelectSaveFile(HWND__* _hOwner, wchar_t* _pPath);

// WinHelpW with HELP_QUIT and HELP_FORCEFILE.
int HELP_Quit(HWND__* _hOwner, const wchar_t* _pHelpFile);
int HELP_ForceFile(HWND__* _hOwner, const wchar_t* _pHelpFile);

// Physical memory in bytes; 0 when the query fails.
uint64_t SYSTEM_GetAvailPhys();
uint64_t SYSTEM_GetTotalPhys();

TIME_INFO SYSTEM_GetLocalTime();

#define SYSTEM_WEEK_KANJI 0
#define SYSTEM_WEEK_ENGLISH 1
// Name of the day of week (0 Sunday .. 6 Saturday) in the system's 8-bit code page:
// language 0 one kanji ("日" .. "土"), 1 three English letters. Null outside those ranges.
const char* SYSTEM_GetWeekName(uint8_t _byWeek, int _iLanguage);

// Copies the variable's value into _pOut (room _uOutSize units, terminator counted).
// An unset variable gives an empty text, or 0 when _iRequired is set. 0 when the value
// does not fit (the buffer is then left unchanged) or the query fails.
int SYSTEM_GetEnv(wchar_t* _pOut, unsigned int _uOutSize, const wchar_t* _pName, int _iRequired);

#endif
