// The log edit of the main window as the message log uses it. Each call is one or two
// window messages to the control; a null control does nothing and reads as empty.
#ifndef KRELWIN_MAIN_MSGEDIT_H
#define KRELWIN_MAIN_MSGEDIT_H

#include "krelwin/main/global.h"

int msgedit_GetLength(HWND _hEdit);
// Reads at most _iSize - 1 characters and a terminator; the characters read.
int msgedit_GetText(HWND _hEdit, wchar_t *_pOut, int _iSize);
// Replaces the whole text of the control with the given one.
void msgedit_ReplaceAll(HWND _hEdit, const wchar_t *_pText);
// Puts the caret at the position (clamped by the control) and inserts the text, then CR LF.
void msgedit_AppendLine(HWND _hEdit, int _iPos, const wchar_t *_pText);
void msgedit_Clear(HWND _hEdit);
void msgedit_Update(HWND _hEdit);

#endif
