#include "kelto/graphics/bmp_read.h"

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"

int BMP_ReadFile(const wchar_t* _pPath, unsigned char** _ppBlock, int* _pSize, BMP_INFO* _pInfo)
{
    if (!_pPath || !_ppBlock || !_pSize || !_pInfo) return -1;
    *_ppBlock = 0;
    *_pSize = 0;
    unsigned char* pData = 0;
    const int iSize = _pPath[0] ? MEM_TargetRead(&pData, _pPath) : 0;
    if (!pData || iSize <= 0) {
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
