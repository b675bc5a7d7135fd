// The MEM_ loaders: a whole file (or part of one) into a new block, and a text file of
// the system code page into a terminated UTF-16 block. Blocks belong to the caller, who
// releases them with MEM_free or delete[]. Files of 2 GiB or more are refused, and whole
// loads of a file of 2 GiB less one byte too (a block stays under the int limit).
#ifndef KELTO_FILES_WIN32_FILELOAD_H
#define KELTO_FILES_WIN32_FILELOAD_H

#include <cstdint>

// The whole file, or with a member name that member of the archive at _szPath. The byte
// count, or 0: the holder is untouched when there is nothing to load (missing or empty
// file), null when the load failed. Call it with two arguments for a plain file.
int MEM_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath,
                   const wchar_t* _szMember = static_cast<const wchar_t*>(0));
// At most *_pCount bytes from the start (or from _iOffset); *_pCount receives the bytes read.
int MEM_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath, uint32_t* _pCount);
int MEM_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath, int _iOffset,
                   uint32_t* _pCount);
// The file's size; the block has room for size x _iMul bytes (_iMul 1 or more).
int MEM_TargetRead2(unsigned char** _ppBuff, const wchar_t* _szPath, int _iMul);

// UTF-16 units loaded, without the terminator, or 0. The holder is overwritten without
// releasing what it held (pass an empty one); on failure it keeps its value.
int MEM_TextRead(wchar_t** _ppText, const wchar_t* _szPath);
// The same with room for units x _iMul + 1 units.
int MEM_TextRead2(wchar_t** _ppText, const wchar_t* _szPath, int _iMul);

#endif
