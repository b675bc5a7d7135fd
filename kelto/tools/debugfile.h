// Small debug files: texts appended in the system's 8-bit code page to a named file
// (a name without a drive is taken from the program's folder), and the log "D.TXT".
// Nothing adds line ends: callers put "\r\n" where they want lines.
#ifndef KELTO_TOOLS_DEBUGFILE_H
#define KELTO_TOOLS_DEBUGFILE_H

// Room of every formatted text, in UTF-16 units.
#define FILESTREAM_LENGTH 1024

// 1 written, 0 when the text does not fit or the file cannot be opened.
int DEBUG_printf(const wchar_t* _pFile, const wchar_t* _pFormat, ...);
// 1 written (or a null text, nothing to write), 0 when the file cannot be opened.
int DEBUG_puts(const wchar_t* _pFile, const wchar_t* _pText);
// The byte, and the bytes, are written as they are.
int DEBUG_putc(const wchar_t* _pFile, char _cChar);
int DEBUG_putBytes(const wchar_t* _pFile, const void* _pBytes, int _iCount);
// " 0x%x\r\n"
int DEBUG_putHex(const wchar_t* _pFile, unsigned int _uValue);
// The value's text and "\r\n".
int DEBUG_putFloat(const wchar_t* _pFile, float _fValue);
// Appends to "D.TXT" in the program's folder.
int DEBUG_log(const wchar_t* _pFormat, ...);

#endif
