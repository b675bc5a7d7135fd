// The log edit without windows: no control exists natively, so every handle is a null
// control, which does nothing and reads as empty.
#include "krelwin/main/msgedit.h"

#include <chrono>
#include <functional>
#include <thread>

int msgedit_GetLength(HWND)
{
	return 0;
}

int msgedit_GetText(HWND, wchar_t *_pOut, int _iSize)
{
	if (!_pOut || _iSize < 1) return 0;
	_pOut[0] = 0;
	return 0;
}

void msgedit_ReplaceAll(HWND, const wchar_t *) {}

void msgedit_DeleteHead(HWND, int) {}

void msgedit_Insert(HWND, int, const wchar_t *) {}

void msgedit_Clear(HWND) {}

void msgedit_Update(HWND) {}

unsigned int msgedit_Ticks()
{
	using namespace std::chrono;
	return (unsigned int)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

unsigned long msgedit_ThreadId()
{
	return (unsigned long)std::hash<std::thread::id>()(std::this_thread::get_id());
}

void msgedit_CallLater(HWND, int, void (*)()) {}

void msgedit_SignalLater(int, void (*)()) {}
