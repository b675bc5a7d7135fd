// Assertion reports, the formatted trace and the small tools.
#include "kelto/tools/debug.h"

#include <cstdlib>
#include <ctime>

#include "kelto/memory/mem.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "kelto/tools/debug_platform.h"

namespace {

const wchar_t* const TRACE_OVERFLOW_TEXT = L"assertion!! テンポラリバッファをオーバー\n";

DEBUG_OUTPUT_HOOK s_pOutputHook = 0;

} // namespace

DEBUG_OUTPUT_HOOK DEBUG_setOutputHook(DEBUG_OUTPUT_HOOK _pHook)
{
    const DEBUG_OUTPUT_HOOK pPrevious = s_pOutputHook;
    s_pOutputHook = _pHook;
    return pPrevious;
}

void DEBUG_outputString(const wchar_t* _pText)
{
    if (!_pText) return;
    if (s_pOutputHook) {
        s_pOutputHook(_pText);
        return;
    }
    debug_writeOutput(_pText);
}

void DEBUG_assert(int _iOk, const char* _pExpr, const char* _pFile, int _iLine, const char* _pFunc,
                  const wchar_t* _pMessage)
{
    if (_iOk) return;
    CTOUTF16 cExpr(_pExpr ? _pExpr : "");
    CTOUTF16 cFile(_pFile ? _pFile : "");
    CTOUTF16 cFunc(_pFunc ? _pFunc : "");
    DEBUG_trace(L"assertion!!%s\n%s(%d):%s\n", cExpr.Get(), cFile.Get(), _iLine, cFunc.Get());
    if (_pMessage) DEBUG_trace(L"%s\n", _pMessage);
}

void DEBUG_assertMsg(int _iOk, const char* _pExpr, const char* _pFile, int _iLine, const char* _pFunc,
                     const wchar_t* _pFormat, ...)
{
    wchar_t szMessage[DEBUG_MESSAGE_LENGTH];
    va_list vaArgs;
    va_start(vaArgs, _pFormat);
    const int iLen = STRING_vsprintf(szMessage, DEBUG_MESSAGE_LENGTH, _pFormat, vaArgs);
    va_end(vaArgs);
    // A message that does not fit suppresses the report.
    if (iLen < 0) return;
    DEBUG_assert(_iOk, _pExpr, _pFile, _iLine, _pFunc, szMessage);
}

void DEBUG_trace(const wchar_t* _pFormat, ...)
{
    if (!_pFormat) return;
    if (STRING_len(_pFormat) >= DEBUG_TRACE_LENGTH) {
        DEBUG_outputString(TRACE_OVERFLOW_TEXT);
        return;
    }
    wchar_t szText[DEBUG_TRACE_LENGTH];
    va_list vaArgs;
    va_start(vaArgs, _pFormat);
    const int iLen = DEBUG_vsprintf(szText, _pFormat, vaArgs);
    va_end(vaArgs);
    DEBUG_outputString(iLen >= 0 ? szText : TRACE_OVERFLOW_TEXT);
}

int DEBUG_vsprintf(wchar_t* _pOut, const wchar_t* _pFormat, va_list _vaArgs)
{
    return STRING_vsprintf(_pOut, DEBUG_TRACE_LENGTH, _pFormat, _vaArgs);
}

// ---- tools --------------------------------------------------------------------

namespace {

template <class T>
void swapValues(T* _pA, T* _pB)
{
    if (!_pA || !_pB) return;
    const T tTemp = *_pA;
    *_pA = *_pB;
    *_pB = tTemp;
}

} // namespace

void _swap(int* _pA, int* _pB) { swapValues(_pA, _pB); }
void _swap(unsigned int* _pA, unsigned int* _pB) { swapValues(_pA, _pB); }
void _swap(float* _pA, float* _pB) { swapValues(_pA, _pB); }
void _swap(double* _pA, double* _pB) { swapValues(_pA, _pB); }

void _swap(wchar_t* _pA, wchar_t* _pB)
{
    if (!_pA || !_pB || _pA == _pB) return;
    const int iLenA = STRING_len(_pA);
    const int iLenB = STRING_len(_pB);
    wchar_t* pTemp = KELTO_NEW("_swap") wchar_t[(iLenA > iLenB ? iLenA : iLenB) + 1];
    if (!pTemp) return;
    STRING_cpy(pTemp, _pA);
    STRING_cpy(_pA, _pB);
    STRING_cpy(_pB, pTemp);
    delete[] pTemp;
}

int _nextPow2(int _iN)
{
    if (_iN <= 0) return 0;
    // 2^30 is the largest power of two an int holds; beyond it there is no answer: 0.
    if (_iN > (1 << 30)) return 0;
    int iValue = 1;
    while (iValue < _iN) iValue <<= 1;
    return iValue;
}

int _random(int _iN)
{
    if (_iN == 0) return 0;
    const int r = std::rand();
    if (_iN > 0) return r % _iN;
    // -(r % -n) without negating n, which overflows for INT_MIN.
    return -static_cast<int>(static_cast<unsigned int>(r) % (0u - static_cast<unsigned int>(_iN)));
}

void _randomize()
{
    std::srand(static_cast<unsigned int>(std::time(0)));
}
