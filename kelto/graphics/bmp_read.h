// A BMP file read whole into an image block, its headers checked against the file's size
// before anything in it is used.
#ifndef KELTO_GRAPHICS_BMP_READ_H
#define KELTO_GRAPHICS_BMP_READ_H

#include "kelto/graphics/bmp.h"

// A palette image with a longer info header (108 or 124 bytes) comes back in the 40-byte
// form, with the same palette and pixels.
// 1 with the block in *_ppBlock (released with MEM_free or delete[]), its size in *_pSize
// and its description in *_pInfo; 0 when the file cannot be read or is empty, -2 when it
// holds no image BMP_Check accepts, -1 for a null argument. On failure nothing is held.
int BMP_ReadFile(const wchar_t* _pPath, unsigned char** _ppBlock, int* _pSize, BMP_INFO* _pInfo);

// The same reading and check, the file's bytes kept as the file holds them (a longer info
// header stays): for copying an image unchanged. The results of BMP_ReadFile.
int BMP_ReadFileBytes(const wchar_t* _pPath, unsigned char** _ppFile, int* _pSize);

#endif
