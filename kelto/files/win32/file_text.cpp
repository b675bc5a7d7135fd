// Text files: UTF-16 in memory, the system's 8-bit code page (or UTF-16LE) on disk.
// No byte-order mark is looked for or written.
#include <cstdarg>
#include <cstring>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"

#define FILE_PRINTF_LENGTH 1024

int FILE_TextRead(const wchar_t* _szPath, wchar_t* _szOut)
{
    if (!_szOut) return 0;
    unsigned char* pBytes = 0;
    int iBytes = MEM_TargetRead(&pBytes, _szPath);
    if (iBytes == 0) return 0;
    CMOJIUTIL cMoji;
    const char* pText = reinterpret_cast<const char*>(pBytes);
    int iUnits = cMoji.MbToWcSize(pText, iBytes);
    if (iUnits > 0) cMoji.MbToWc(pText, iBytes, _szOut);
    _szOut[iUnits] = 0;
    MEM_free(&pBytes);
    return iUnits;
}

int FILE_TextToBytes(const wchar_t* _szText, char** _ppBytes)
{
    if (!_ppBytes) return 0;
    *_ppBytes = 0;
    const int iLen = STRING_len(_szText);
    if (iLen == 0) return 0;
    CMOJIUTIL cMoji;
    const int iBytes = cMoji.WcToMbSize(_szText, iLen);
    if (iBytes <= 0) return 0;
    char* pBytes = KELTO_NEW("FILE_TextToBytes") char[iBytes];
    if (!pBytes) return 0;
    if (cMoji.WcToMb(_szText, iLen, pBytes) != iBytes) {
        MEM_free(&pBytes);
        return 0;
    }
    *_ppBytes = pBytes;
    return iBytes;
}

static int file_textWrite(const wchar_t* _szPath, const wchar_t* _szText, int _iUnicode, int _iMerge)
{
    int iLen = STRING_len(_szText);
    if (iLen == 0) return 0;  // the file is neither created nor emptied
    if (_iUnicode) {
        if (iLen > 0x3FFFFFFF) return 0;
        int iBytes = iLen * static_cast<int>(sizeof(wchar_t));
        return _iMerge ? FILE_WriteMerge(_szPath, _szText, iBytes) : FILE_Write(_szPath, _szText, iBytes);
    }
    char* pBytes = 0;
    const int iBytes = FILE_TextToBytes(_szText, &pBytes);
    if (iBytes <= 0) return 0;
    const int iResult = _iMerge ? FILE_WriteMerge(_szPath, pBytes, iBytes) : FILE_Write(_szPath, pBytes, iBytes);
    MEM_free(&pBytes);
    return iResult;
}

int FILE_TextWrite(const wchar_t* _szPath, const wchar_t* _szText, int _iUnicode)
{
    return file_textWrite(_szPath, _szText, _iUnicode, 0);
}

int FILE_TextWriteMerge(const wchar_t* _szPath, const wchar_t* _szText, int _iUnicode)
{
    return file_textWrite(_szPath, _szText, _iUnicode, 1);
}

int FILE_puts(const wchar_t* _szPath, const wchar_t* _szText)
{
    if (!_szText) return 0;
    CTOSJIS cText(_szText);
    const char* pBytes = cText.Get();
    const int iBytes = pBytes ? static_cast<int>(std::strlen(pBytes)) : 0;
    if (iBytes > 0) return FILE_WriteMerge(_szPath, pBytes, iBytes) == iBytes ? 1 : 0;
    // Nothing to add: the file is only made when missing.
    FILE_HANDLE hFile = FILE_OpenWrite(_szPath);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    FILE_HdClose(hFile);
    return 1;
}

int FILE_printf(const wchar_t* _szPath, const wchar_t* _szFormat, ...)
{
    if (!_szFormat) return 0;
    wchar_t szText[FILE_PRINTF_LENGTH];
    va_list vaArgs;
    va_start(vaArgs, _szFormat);
    int iLen = STRING_vsprintf(szText, FILE_PRINTF_LENGTH, _szFormat, vaArgs);
    va_end(vaArgs);
    if (iLen < 0) return 0;  // does not fit: nothing is written
    return FILE_puts(_szPath, szText);
}
