// Commands that rewrite their own target: a text (or a block of bytes) that comes out as it
// went in is not written, so the file keeps its bytes (valid codes with a twin code among
// them) and gets no backup or question; the command's log line stays. An output that goes
// to another file is written as ever.
#pragma once

// 1 when the output names the target file (FILE_IsSamePath: full paths, case folded as
// the file system compares names), else 0.
int Output_IsTarget(const wchar_t* _pOutput, const wchar_t* _pTarget);
// Write_OutText of the terminated _pText to _pOutput, for a command that read _pOld
// (_iOldLength units) from _pTarget. When the output is the target and the text equals
// what was read, nothing is written and the result is the target's size (at least 1).
int Write_OutTextChanged(const wchar_t* _pOutput, const wchar_t* _pTarget, const wchar_t* _pOld, int _iOldLength,
                         const wchar_t* _pText);
// Write_OutFile of _iSize bytes to _pOutput; with _iChanged 0 (the bytes are those read from
// _pTarget) and the output the target, nothing is written and the result is _iSize.
int Write_OutFileChanged(const wchar_t* _pOutput, const wchar_t* _pTarget, int _iChanged, const void* _pData,
                         int _iSize);
// A text that holds a NUL character would be written only up to it: 1 with the counted
// error "テキストにNUL文字が含まれています. %s" (the target's name), else 0.
int Output_HoldsNul(const wchar_t* _pText, int _iLength, const wchar_t* _pTarget);
