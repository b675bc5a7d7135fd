// Run settings: krelwin.ini beside the program ([MAIN] options and window size,
// [EXTRA] LOCK and the locked preset) and the batch's [SETTING] override.
#ifndef KRELWIN_MAIN_SETTING_H
#define KRELWIN_MAIN_SETTING_H

// Reads [MAIN] into s_stGl.m_stIniSetting and the window size, [EXTRA] LOCK into
// s_stGl.m_iLock; returns LOCK.
int Read_Setting();
// Overrides a copy of the settings-file block with the [SETTING] section of the
// comment-free batch text (length in characters) and puts it in force when present.
void Read_BatchSetting(const wchar_t *_pText, int _iLength);
// Writes m_stIniSetting and the window size to [MAIN].
void Write_Setting();
// Applies the [EXTRA] preset (batch name and one command) when LOCK is set or no batch
// path was given.
void Read_ExtraScript();

// Tests point the settings file at a file of their own (a full path); null or an empty
// path gives back the program's own settings file.
void Setting_useFile(const wchar_t *_pPath);

#endif
