// Window messages to the log edit, and the timers that pace them.
#include <windows.h>
#include <mmsystem.h>

#include "krelwin/main/msgedit.h"

namespace {

// The edit's own timers (the scrolling of a mouse selection) use small ids.
const UINT_PTR MSGEDIT_TIMER_ID = 0x4B4C;
void (*s_pLater)() = 0;

void CALLBACK msgedit_timer(HWND _hWnd, UINT, UINT_PTR _uID, DWORD)
{
	KillTimer(_hWnd, _uID);
	if (s_pLater) s_pLater();
}

void CALLBACK msgedit_signal(UINT, UINT, DWORD_PTR _dwUser, DWORD_PTR, DWORD_PTR)
{
	void (*pSignal)() = reinterpret_cast<void (*)()>(_dwUser);
	if (pSignal) pSignal();
}

} // namespace

int msgedit_GetLength(HWND _hEdit)
{
	if (!_hEdit) return 0;
	return (int)SendMessageW(_hEdit, WM_GETTEXTLENGTH, 0, 0);
}

int msgedit_GetText(HWND _hEdit, wchar_t *_pOut, int _iSize)
{
	if (!_pOut || _iSize < 1) return 0;
	_pOut[0] = 0;
	if (!_hEdit) return 0;
	return (int)SendMessageW(_hEdit, WM_GETTEXT, (WPARAM)_iSize, (LPARAM)_pOut);
}

void msgedit_ReplaceAll(HWND _hEdit, const wchar_t *_pText)
{
	if (!_hEdit) return;
	SendMessageW(_hEdit, EM_SETSEL, 0, -1);
	SendMessageW(_hEdit, EM_REPLACESEL, 0, (LPARAM)(_pText ? _pText : L""));
}

void msgedit_DeleteHead(HWND _hEdit, int _iCount)
{
	if (!_hEdit || _iCount <= 0) return;
	SendMessageW(_hEdit, EM_SETSEL, 0, (LPARAM)_iCount);
	SendMessageW(_hEdit, EM_REPLACESEL, 0, (LPARAM)L"");
}

void msgedit_Insert(HWND _hEdit, int _iPos, const wchar_t *_pText)
{
	if (!_hEdit) return;
	SendMessageW(_hEdit, EM_SETSEL, (WPARAM)_iPos, (LPARAM)_iPos);
	SendMessageW(_hEdit, EM_REPLACESEL, 0, (LPARAM)(_pText ? _pText : L""));
}

void msgedit_Clear(HWND _hEdit)
{
	if (!_hEdit) return;
	SendMessageW(_hEdit, WM_SETTEXT, 0, (LPARAM)L"");
	UpdateWindow(_hEdit);
}

void msgedit_Update(HWND _hEdit)
{
	if (_hEdit) UpdateWindow(_hEdit);
}

unsigned int msgedit_Ticks()
{
	return GetTickCount();
}

unsigned long msgedit_ThreadId()
{
	return GetCurrentThreadId();
}

void msgedit_CallLater(HWND _hEdit, int _iMs, void (*_pDone)())
{
	if (!_hEdit) return;
	s_pLater = _pDone;
	SetTimer(_hEdit, MSGEDIT_TIMER_ID, (UINT)(_iMs > 0 ? _iMs : 1), msgedit_timer);
}

void msgedit_SignalLater(int _iMs, void (*_pSignal)())
{
	if (!_pSignal) return;
	// One shot: the timer ends by itself once it has called.
	timeSetEvent((UINT)(_iMs > 0 ? _iMs : 1), 1, msgedit_signal, reinterpret_cast<DWORD_PTR>(_pSignal),
				 TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
}
