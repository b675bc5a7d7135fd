// Debug files appended in the system's 8-bit code page.
#include "kelto/tools/debugfile.h"

#include <cassert>
#include <cstdarg>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "kelto/tools/debug.h"

namespace {

// A name with a drive is used as it is; any other goes into the program's folder.
// 0 when the name is null or the joined path does not fit.
int debug_path(wchar_t* _pOut, const wchar_t* _pFile)
{
    if (!_pFile) return 0;
    if (_pFile[0] != L'\0' && _pFile[1] == L':') {
        if (STRING_len(_pFile) >= FILE_PATH_LENGTH) return 0;
        return STRING_cpy(_pOut, _pFile);
    }
    if (FILE_GetModuleDirectory(_pOut, FILE_PATH_LENGTH) <= 0) return 0;
    const int iDir = STRING_len(_pOut);
    if (iDir > 0 && _pOut[iDir - 1] != L':' && _pOut[iDir - 1] != L'\\') {
        if (!STRING_cat(_pOut, L"\\", FILE_PATH_LENGTH - 1)) return 0;
    }
    return STRING_cat(_pOut, _pFile, FILE_PATH_LENGTH - 1);
}

int debug_vprintf(const wchar_t* _pFile, const wchar_t* _pFormat, va_list _vaArgs, int _iReport)
{
    wchar_t sStr[FILESTREAM_LENGTH];
    sStr[0] = L'\0';
    const int iLength = DEBUG_vsprintf(sStr, _pFormat, _vaArgs);
    const int iFits = (iLength >= 0 && STRING_len(sStr) < FILESTREAM_LENGTH) ? 1 : 0;
    if (!iFits) {
        if (_iReport) {
            DEBUG_assert(0, "STRING_len(sStr) < FILESTREAM_LENGTH", __FILE__, __LINE__, "DEBUG_printf", 0);
            assert(!"STRING_len(sStr) < FILESTREAM_LENGTH");
        }
        return 0;
    }
    return DEBUG_puts(_pFile, sStr);
}

}  // namespace

int DEBUG_puts(const wchar_t* _pFile, const wchar_t* _pText)
{
    if (!_pText) return 1;
    wchar_t szPath[FILE_PATH_LENGTH];
    if (!debug_path(szPath, _pFile)) return 0;
    return FILE_puts(szPath, _pText) ? 1 : 0;
}

int DEBUG_printf(const wchar_t* _pFile, const wchar_t* _pFormat, ...)
{
    if (!_pFormat) return 0;
    va_list vaArgs;
    va_start(vaArgs, _pFormat);
    const int iResult = debug_vprintf(_pFile, _pFormat, vaArgs, 1);
    va_end(vaArgs);
    return iResult;
}

int DEBUG_log(const wchar_t* _pFormat, ...)
{
    if (!_pFormat) return 0;
    va_list vaArgs;
    va_start(vaArgs, _pFormat);
    const int iResult = debug_vprintf(L"D.TXT", _pFormat, vaArgs, 0);
    va_end(vaArgs);
    return iResult;
}

int DEBUG_putBytes(const wchar_t* _pFile, const void* _pBytes, int _iCount)
{
    if (!_pBytes) return 0;
    if (_iCount <= 0) return 1;
    wchar_t szPath[FILE_PATH_LENGTH];
    if (!debug_path(szPath, _pFile)) return 0;
    // Raw bytes: a code-page round trip would drop zeros and mangle lead bytes.
    return FILE_WriteMerge(szPath, _pBytes, _iCount) == _iCount ? 1 : 0;
}

int DEBUG_putc(const wchar_t* _pFile, char _cChar)
{
    return DEBUG_putBytes(_pFile, &_cChar, 1);
}

int DEBUG_putHex(const wchar_t* _pFile, unsigned int _uValue)
{
    return DEBUG_printf(_pFile, L" 0x%x\r\n", _uValue);
}

int DEBUG_putFloat(const wchar_t* _pFile, float _fValue)
{
    wchar_t szValue[32];
    STRING_ftoa(szValue, _fValue, 32);
    const int iValue = DEBUG_puts(_pFile, szValue);
    const int iEnd = DEBUG_puts(_pFile, L"\r\n");
    return (iValue && iEnd) ? 1 : 0;
}
