// The log edit of the main window as the message log uses it, with the clock and the timer
// that pace its updates. Each edit call is one or two window messages to the control; a null
// control does nothing and reads as empty.
#ifndef KRELWIN_MAIN_MSGEDIT_H
#define KRELWIN_MAIN_MSGEDIT_H

#include "krelwin/main/global.h"

int msgedit_GetLength(HWND _hEdit);
// Reads at most _iSize - 1 characters and a terminator; the characters read.
int msgedit_GetText(HWND _hEdit, wchar_t *_pOut, int _iSize);
// Replaces the whole text of the control with the given one.
void msgedit_ReplaceAll(HWND _hEdit, const wchar_t *_pText);
// Removes the first _iCount characters of the control's text.
void msgedit_DeleteHead(HWND _hEdit, int _iCount);
// Puts the caret at the position (clamped by the control) and inserts the text there.
void msgedit_Insert(HWND _hEdit, int _iPos, const wchar_t *_pText);
void msgedit_Clear(HWND _hEdit);
void msgedit_Update(HWND _hEdit);

// Milliseconds of a clock that runs on steadily (it wraps; compare differences).
unsigned int msgedit_Ticks();
// The calling thread: only the thread that owns the control may change it.
unsigned long msgedit_ThreadId();
// Calls _pDone once, about _iMs milliseconds from now, from the message loop of the control's
// thread (also the loop of a modal box); nothing where no control or no loop exists.
void msgedit_CallLater(HWND _hEdit, int _iMs, void (*_pDone)());
// Calls _pSignal once, about _iMs milliseconds from now, on a thread of the system's timer,
// whatever the control's thread is doing: it may only signal, never touch the control.
void msgedit_SignalLater(int _iMs, void (*_pSignal)());

#endif
