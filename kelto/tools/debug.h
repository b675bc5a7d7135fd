// Assertion reports, the debugger trace, debugging message boxes and small tools.
// Reports never stop the program: the caller's own error return decides what happens next.
#ifndef KELTO_TOOLS_DEBUG_H
#define KELTO_TOOLS_DEBUG_H

#include <cassert>
#include <cstdarg>

// Size of the trace and message buffers, in UTF-16 units.
#define DEBUG_TRACE_LENGTH 1024
#define DEBUG_MESSAGE_LENGTH 256
#define DEBUG_LASTERROR_LENGTH 256

// Reports a false condition through DEBUG_assert, then raises the standard assertion
// (compiled out under NDEBUG, as products are built). The function's own error return follows.
#define KELTO_ASSERT(cond)                                                           \
    do {                                                                             \
        const int kelto_assert_ok_ = (cond) ? 1 : 0;                                 \
        DEBUG_assert(kelto_assert_ok_, #cond, __FILE__, __LINE__, __FUNCTION__, 0);  \
        assert(kelto_assert_ok_ && #cond);                                           \
    } while (0)

// KELTO_ASSERT_MSG(cond, fmt, ...): the same with a message, formatted by the
// STRING_vsprintf rules ("%s" is a wide string).
#define KELTO_ASSERT_MSG(cond, ...)                                                  \
    do {                                                                             \
        const int kelto_assert_ok_ = (cond) ? 1 : 0;                                 \
        DEBUG_assertMsg(kelto_assert_ok_, #cond, __FILE__, __LINE__, __FUNCTION__,   \
                        __VA_ARGS__);                                                \
        assert(kelto_assert_ok_ && #cond);                                           \
    } while (0)

// Assertions: expression, file and function are 8-bit texts of the system code page.
void DEBUG_assert(int _iOk, const char* _pExpr, const char* _pFile, int _iLine,
                  const char* _pFunc, const wchar_t* _pMessage);
void DEBUG_assertMsg(int _iOk, const char* _pExpr, const char* _pFile, int _iLine,
                     const char* _pFunc, const wchar_t* _pFormat, ...);

// Debugger output.
void DEBUG_trace(const wchar_t* _pFormat, ...);
void DEBUG_outputString(const wchar_t* _pText);
int DEBUG_messageBox(const wchar_t* _pText);
wchar_t* DEBUG_lastErrorText();
void DEBUG_errorBox(wchar_t* _pOut);
int DEBUG_vsprintf(wchar_t* _pOut, const wchar_t* _pFormat, va_list _vaArgs);

// Test seam: while a hook is set, DEBUG_outputString hands its text to the hook
// instead of the debugger. Returns the previous hook; pass 0 to restore the debugger.
typedef void (*DEBUG_OUTPUT_HOOK)(const wchar_t* _pText);
DEBUG_OUTPUT_HOOK DEBUG_setOutputHook(DEBUG_OUTPUT_HOOK _pHook);

// Tools.
void _swap(int* _pA, int* _pB);
void _swap(unsigned int* _pA, unsigned int* _pB);
void _swap(float* _pA, float* _pB);
void _swap(double* _pA, double* _pB);
// Exchanges two texts; both buffers must have room for the longer one.
void _swap(wchar_t* _pA, wchar_t* _pB);
int _nextPow2(int _iN);
int _random(int _iN);
void _randomize();

#endif
