#include "kelto/graphics/bmp_read.h"

#include <cstdint>
#include <cstring>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"

namespace {

uint32_t bmpread_get32(const unsigned char* _p)
{
    return static_cast<uint32_t>(_p[0]) | static_cast<uint32_t>(_p[1]) << 8 |
           static_cast<uint32_t>(_p[2]) << 16 | static_cast<uint32_t>(_p[3]) << 24;
}

void bmpread_put32(unsigned char* _p, uint32_t _u)
{
    for (int i = 0; i < 4; ++i) _p[i] = static_cast<unsigned char>(_u >> (8 * i));
}

// The palette of a longer info header (the 108- and 124-byte forms) follows that header,
// while the image functions look for it right after 40 bytes. Such a palette image is
// brought into the 40-byte form, with the same palette and pixels; the fields past the
// first 40 bytes (colour space, masks of packed forms that are refused anyway) are left
// out. 1 when *_ppData now holds that form (or needed none), 0 when memory ran out.
int bmpread_shortenInfo(unsigned char** _ppData, int* _pSize)
{
    unsigned char* p = *_ppData;
    const int iSize = *_pSize;
    if (iSize < BMP_HEADER_SIZE || p[0] != 'B' || p[1] != 'M') return 1;
    const uint32_t uInfo = bmpread_get32(p + BMP_FILEHEADER_SIZE);
    const uint32_t uOffset = bmpread_get32(p + 10);
    const unsigned uBits = static_cast<unsigned>(p[28] | p[29] << 8);
    if (uInfo <= BMP_INFOHEADER_SIZE || uBits > 8) return 1;
    // A header or offset that does not fit is left for BMP_Check to refuse.
    if (uInfo > static_cast<uint32_t>(iSize) - BMP_FILEHEADER_SIZE || uOffset > static_cast<uint32_t>(iSize) ||
        uOffset < BMP_FILEHEADER_SIZE + uInfo)
        return 1;
    const uint32_t uExtra = uInfo - BMP_INFOHEADER_SIZE;
    const int iNew = iSize - static_cast<int>(uExtra);
    unsigned char* pNew = KELTO_NEW("BMP_ReadFile") unsigned char[iNew];
    if (!pNew) return 0;
    std::memcpy(pNew, p, BMP_HEADER_SIZE);
    std::memcpy(pNew + BMP_HEADER_SIZE, p + BMP_FILEHEADER_SIZE + uInfo,
                static_cast<size_t>(iSize) - BMP_FILEHEADER_SIZE - uInfo);
    bmpread_put32(pNew + 2, static_cast<uint32_t>(iNew));
    bmpread_put32(pNew + 10, uOffset - uExtra);
    bmpread_put32(pNew + BMP_FILEHEADER_SIZE, BMP_INFOHEADER_SIZE);
    MEM_free(_ppData);
    *_ppData = pNew;
    *_pSize = iNew;
    return 1;
}

// The whole file into *_ppData: its size, or 0 with nothing held when it cannot be read or
// is empty.
int bmpread_load(const wchar_t* _pPath, unsigned char** _ppData)
{
    *_ppData = 0;
    const int iSize = _pPath[0] ? MEM_TargetRead(_ppData, _pPath) : 0;
    if (!*_ppData || iSize <= 0) {
        MEM_free(_ppData);
        return 0;
    }
    return iSize;
}

} // namespace

int BMP_ReadFile(const wchar_t* _pPath, unsigned char** _ppBlock, int* _pSize, BMP_INFO* _pInfo)
{
    if (!_pPath || !_ppBlock || !_pSize || !_pInfo) return -1;
    *_ppBlock = 0;
    *_pSize = 0;
    unsigned char* pData = 0;
    int iSize = bmpread_load(_pPath, &pData);
    if (!iSize) return 0;
    if (!bmpread_shortenInfo(&pData, &iSize)) {
        MEM_free(&pData);
        return 0;
    }
    if (BMP_Check(pData, iSize, _pInfo) != 1) {
        MEM_free(&pData);
        return -2;
    }
    *_ppBlock = pData;
    *_pSize = iSize;
    return 1;
}

int BMP_ReadFileBytes(const wchar_t* _pPath, unsigned char** _ppFile, int* _pSize)
{
    if (!_pPath || !_ppFile || !_pSize) return -1;
    *_ppFile = 0;
    *_pSize = 0;
    unsigned char* pData = 0;
    const int iSize = bmpread_load(_pPath, &pData);
    if (!iSize) return 0;
    // The check takes the file's own pixel offset, so a longer header passes it just as its
    // 40-byte form would; only the palette's place differs, and nothing here reads it.
    if (BMP_Check(pData, iSize, 0) != 1) {
        MEM_free(&pData);
        return -2;
    }
    *_ppFile = pData;
    *_pSize = iSize;
    return 1;
}
