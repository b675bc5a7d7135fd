// The one call behind DEBUG_outputString that each platform supplies (win32/, posix/).
#pragma once

// Hands a text to the debugger's output (standard error where there is no debugger).
void debug_writeOutput(const wchar_t* _pText);
