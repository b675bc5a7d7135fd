// Batch file (.kvl) reader: [SCRIPT], [FILES] and [SETTING] sections, comments and
// environment references, into the script and the file list of s_stGl.
#ifndef KRELWIN_MAIN_BATCH_H
#define KRELWIN_MAIN_BATCH_H

#include "krelwin/main/global.h"

// Reads a batch file, adding to the current script and file list. 1 when read, 0 when the
// file could not be read or holds no text. _pSettingsRead, when given, is called with the
// path once the batch's [SETTING] is in force and before any [FILES] line is listed (start-up
// chooses the current folder there, so relative lines are listed where they are processed).
int Read_KrelwinBatch(const wchar_t *_pPath, void (*_pSettingsRead)(const wchar_t *_pPath) = 0);
// Section head at the position (text up to _pEnd): 1 [SCRIPT], 2 [FILES], 0 otherwise.
int Get_SectionKind(const wchar_t *_pPos, const wchar_t *_pEnd);
// Appends the body's lines to the script (nothing while LOCK is set).
void Read_ScriptSection(const wchar_t *_pBody, int _iLength);
// Fills the record from one script line (up to its CR, LF or terminator).
void Script_parse(SCRIPT_STAT *_pStat, const wchar_t *_pLine);
// Adds the body's lines to the file list.
void Read_FilesSection(const wchar_t *_pBody, int _iLength);
// Progress callback of the file list while folders are scanned; the argument is the
// main window record.
int Entry_progress(void *_pWinfo);
// Sets s_stGl.m_szBatchDir to the drive and folder of the path.
void Set_BatchFolder(const wchar_t *_pPath);
// Writes the script into the message log, one "command parameters" line each.
void Script_print();

#endif
