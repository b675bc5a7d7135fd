// Window messages to the log edit.
#include <windows.h>

#include "krelwin/main/msgedit.h"

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

void msgedit_AppendLine(HWND _hEdit, int _iPos, const wchar_t *_pText)
{
	if (!_hEdit) return;
	SendMessageW(_hEdit, EM_SETSEL, (WPARAM)_iPos, (LPARAM)_iPos);
	SendMessageW(_hEdit, EM_REPLACESEL, 0, (LPARAM)(_pText ? _pText : L""));
	SendMessageW(_hEdit, EM_REPLACESEL, 0, (LPARAM)L"\r\n");
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
