// Keys that name a file whatever its spelling: its full path, with the letters folded the
// way the file system compares names. "a.txt", ".\a.txt" and "C:\WORK\A.TXT" give one key
// when the current folder is C:\work. Nothing here asks the file system: links, short names
// and other drives that lead to the same file keep keys of their own.
#ifndef KELTO_FILES_PATHKEY_H
#define KELTO_FILES_PATHKEY_H

#include <string>

// The key of a path ('.', '..' and '/' resolved against the current folder, a trailing
// separator kept); empty for a null or empty path.
std::wstring FILE_PathKey(const wchar_t* _szPath);
// Folds the letters of _iLength units in place as FILE_PathKey folds them: a name joined to
// a folder's key gives the key of the file.
void FILE_FoldCase(wchar_t* _szText, int _iLength);
// 1 when both paths name one file by their keys, else 0 (also for a null or empty path).
int FILE_IsSamePath(const wchar_t* _szA, const wchar_t* _szB);

#endif
