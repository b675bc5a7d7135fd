// Debugger output to standard error, the message boxes as lines there, and the last
// system error text from errno.
#include "kelto/tools/debug.h"
#include "kelto/tools/debug_platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "kelto/files/posix/posix_path.h"
#include "kelto/string/string.h"

namespace {

wchar_t s_szLastError[DEBUG_LASTERROR_LENGTH];

} // namespace

void debug_writeOutput(const wchar_t* _pText)
{
    std::fputs(POSIX_toUtf8(_pText).c_str(), stderr);
}

int DEBUG_messageBox(const wchar_t* _pText)
{
    if (!_pText) return 0;
    std::fprintf(stderr, "%s\n", POSIX_toUtf8(_pText).c_str());
    return 1;
}

wchar_t* DEBUG_lastErrorText()
{
    const std::wstring strText = POSIX_fromUtf8(std::strerror(errno));
    if (strText.size() >= DEBUG_LASTERROR_LENGTH) return 0;
    STRING_cpy(s_szLastError, strText.c_str());
    return s_szLastError;
}

void DEBUG_errorBox(wchar_t* _pOut)
{
    const wchar_t* pText = DEBUG_lastErrorText();
    if (!pText) pText = L"";
    if (_pOut) {
        STRING_cpy(_pOut, pText);
        return;
    }
    DEBUG_messageBox(pText);
}
