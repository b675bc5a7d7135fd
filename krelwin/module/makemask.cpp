#include "krelwin/module/makemask.h"

#include <climits>
#include <new>

#include "kelto/files/win32/file.h"
#include "kelto/graphics/bmp.h"
#include "kelto/graphics/bmp_read.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(MAKEMASK)

namespace {

// The tiled form: 15 x 9 tiles of 32 x 32 pixels, always 480 x 288 pixels whatever the
// image's width; rows 272 and below, and places outside the image, are 0.
const int MASK_TILE = 32;
const int MASK_TILES_X = 15;
const int MASK_TILES_Y = 9;
const int MASK_TILED_ROWS = 272;

} // namespace

void MAKEMASK::Quit(int) {}

bool MAKEMASK::MakeMask(const BMP_INFO& _stInfo, std::vector<unsigned char>* _pOut)
{
    if (!_pOut) return false;
    _pOut->clear();
    const int iWidth = _stInfo.iWidth, iHeight = _stInfo.iHeight;
    if (iWidth < 0 || iHeight < 0) return false;
    try {
        if (iHeight == MASK_TILED_ROWS || iHeight == MASK_TILE * MASK_TILES_Y) {
            _pOut->assign(static_cast<size_t>(MASK_TILE * MASK_TILES_X) * MASK_TILE * MASK_TILES_Y, 0);
            unsigned char* p = _pOut->data();
            for (int ty = 0; ty < MASK_TILES_Y; ++ty) {
                for (int tx = 0; tx < MASK_TILES_X; ++tx) {
                    BUSY_poll();
                    for (int y = 0; y < MASK_TILE; ++y) {
                        const int iY = ty * MASK_TILE + y;
                        for (int x = 0; x < MASK_TILE; ++x, ++p) {
                            // BMP_GetPixel gives 0 outside the image.
                            if (iY < MASK_TILED_ROWS)
                                *p = static_cast<unsigned char>(BMP_GetPixel(&_stInfo, tx * MASK_TILE + x, iY));
                        }
                    }
                }
            }
            return true;
        }
        const long long llSize = static_cast<long long>(iWidth) * iHeight;
        if (llSize > INT_MAX) return false;
        _pOut->resize(static_cast<size_t>(llSize));
        unsigned char* p = _pOut->data();
        for (int y = 0; y < iHeight; ++y) {
            BUSY_poll();
            for (int x = 0; x < iWidth; ++x) *p++ = static_cast<unsigned char>(BMP_GetPixel(&_stInfo, x, y));
        }
    } catch (const std::bad_alloc&) {
        _pOut->clear();
        return false;
    }
    return true;
}

int MAKEMASK::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) return 0;
    unsigned char* pData = 0;
    int iSize = 0;
    BMP_INFO stInfo;
    // The headers are checked against the file's size: a short or lying file is no bitmap.
    const int iRead = BMP_ReadFile(pTarget, &pData, &iSize, &stInfo);
    if (iRead == 0) return 0;
    if (iRead != 1) {
        Message_err(L"ビットマップでないファイル %s", Get_FileName(pTarget));
        return 0;
    }
    std::vector<unsigned char> vMask;
    const bool bMade = MakeMask(stInfo, &vMask);
    MEM_free(&pData);
    if (!bMade) {
        Message_err(L"マスクを作れません %s", Get_FileName(pTarget));
        return 0;
    }

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH],
        szExt[FILE_PART_LENGTH];
    FILE_split(pTarget, szDrive, szDir, szName, szExt);
    wchar_t szPath[FILE_PATH_LENGTH];
    FILE_merge(szPath, szDrive, szDir, szName, L".msk", FILE_PATH_LENGTH);
    if (!szPath[0] || !szName[0]) {
        Message_err(L"Can't write file.%s", Get_FileName(pTarget));
        return 0;
    }
    return Write_OutFile(szPath, vMask.data(), static_cast<int>(vMask.size())) > 0 ? 1 : 0;
}
