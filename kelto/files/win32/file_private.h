// Workers shared by the file and loader sources; not part of the library's interface.
#ifndef KELTO_FILES_WIN32_FILE_PRIVATE_H
#define KELTO_FILES_WIN32_FILE_PRIVATE_H

#include <cstdint>

#include "kelto/files/win32/file.h"

// Largest file size the library gives or opens a file of: sizes are ints.
#define FILE_SIZE_MAX 0x7FFFFFFFLL
// Blocks the loaders make stay below this: sizes and counts are ints, so under 2 GiB.
#define FILE_LOAD_LIMIT 0x7FFFFFFFLL

// Size of an open file in bytes (all 64 bits); -1 when it cannot be taken.
int64_t file_hdSize(FILE_HANDLE _hFile);

// Cuts (or extends) an open file to _llSize bytes; 1 or 0.
int file_hdSetSize(FILE_HANDLE _hFile, int64_t _llSize);

// The seams' verdicts: how many of _uCount bytes a write at _llPos may put down (all of
// them when no limit is set), and whether this move must fail.
bool file_faultLimited();
uint32_t file_faultWriteRoom(int64_t _llPos, uint32_t _uCount);
bool file_faultMove();

// A new file of a name of its own in the folder (empty: the current one), created
// exclusively and left open; its path into _szOut (260 units). The invalid handle
// (_szOut empty) when none can be made.
FILE_HANDLE file_createTemp(const wchar_t* _szFolder, wchar_t* _szOut);

// Opens the file for reading and gives its size in *_pSize; the handle, or the invalid
// value (handle closed) when it cannot be opened, is empty or is larger than FILE_SIZE_MAX.
FILE_HANDLE file_openSized(const wchar_t* _szPath, int* _pSize);

// Reads exactly _iCount bytes from the handle's position; 1 when all came in.
int file_readAll(FILE_HANDLE _hFile, void* _pBuff, int _iCount);

// The whole file into a new block of size x _iMul bytes tagged _pTag; the size, or 0.
// Nothing to load (missing, empty, too large): the holder is untouched. Otherwise its old
// block is released, and on failure the holder is null.
int mem_loadWhole(unsigned char** _ppBuff, const wchar_t* _szPath, int _iMul, const char* _pTag);

// The archive-member road of MEM_TargetRead.
int mem_TargetReadMember(unsigned char** _ppBuff, const wchar_t* _szPath, const wchar_t* _szMember);

#endif
