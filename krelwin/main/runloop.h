// The run loop: a periodic multimedia timer posts WM_USER to the main window, and each
// WM_USER applies the script line in hand to one target file through the dispatcher.
// Script lines are the outer loop, target files the inner one.
#ifndef KRELWIN_MAIN_RUNLOOP_H
#define KRELWIN_MAIN_RUNLOOP_H

#include <windows.h>

#include <atomic>

// Period of the run timer in milliseconds.
#define RUNLOOP_TICK_MS	66

// Starts a run; with mode 1 during a run, stops it instead.
void Batch_start(int _iMode);
// One step: 1 while the run goes on, 0 when it has ended, was stopped or none is in progress.
int Batch_step(HWND _hWnd);
// What the main window does on WM_USER: a step, and at the end of the run the timer
// stop and the close after an automatic run.
void Batch_tick(HWND _hWnd);

// Starts the periodic timer that ticks the window; its id (also in s_stGl.TimerID).
unsigned int Timer_start(HWND _hWnd);
void CALLBACK TimerFunc_conv(UINT _uTimerID, UINT _uMsg, DWORD_PTR _dwUser, DWORD_PTR _dw1,
							 DWORD_PTR _dw2);
// Stops the timer named by *_pTimerID, if any, and sets the id to 0.
void Timer_stop(HWND _hWnd, std::atomic<unsigned int> *_pTimerID);

#endif
