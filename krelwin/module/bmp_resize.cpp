#include "krelwin/module/bmp_resize.h"

#include <climits>

#include "kelto/files/win32/file.h"
#include "kelto/graphics/bmp.h"
#include "kelto/graphics/bmp_read.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

namespace {

BMP_RESIZE s_cResize;

// A run of decimal digits as a value that stops growing past the int range, so a long
// run reads as "too large" instead of wrapping round.
long long resize_digits(const wchar_t*& _p)
{
    long long llValue = 0;
    for (; *_p >= L'0' && *_p <= L'9'; ++_p) {
        if (llValue <= INT_MAX) llValue = llValue * 10 + (*_p - L'0');
    }
    return llValue;
}

// One side of the size text; false for a factor of 0. *_pOut may lie outside the
// int range: the caller checks it.
bool resize_side(const wchar_t*& _p, long long _llSource, long long* _pOut)
{
    const wchar_t c = *_p;
    if (c == L'%') {
        ++_p;
        const long long llStep = resize_digits(_p);
        if (llStep == 0) return false;
        *_pOut = (_llSource + llStep - 1) / llStep * llStep;
    } else if (c == L'+') {
        ++_p;
        *_pOut = _llSource + resize_digits(_p);
    } else if (c == L'-') {
        ++_p;
        *_pOut = _llSource - resize_digits(_p);
    } else {
        *_pOut = resize_digits(_p);
    }
    return true;
}

} // namespace

CModule* Module_static_BMP_RESIZE()
{
    return &s_cResize;
}

BMP_RESIZE::BMP_RESIZE() : m_iInit(0), m_iActive(0) {}

void BMP_RESIZE::Initialize()
{
    if (m_iInit != 1) m_iInit = 1;
}

void BMP_RESIZE::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

int BMP_RESIZE::ParseSize(const wchar_t* _pSpec, int _iWidth, int _iHeight, int* _pW, int* _pH)
{
    if (!_pSpec) _pSpec = L"";
    if (!_pW || !_pH) return 0;
    const wchar_t* p = _pSpec;
    while (*p && *p <= 32) ++p;
    long long llW = _iWidth, llH = _iHeight;
    if (*p != L',') {
        if (!resize_side(p, _iWidth, &llW)) return 0;
    }
    // The text after the number is not looked at, except for the comma before H.
    if (*p == L',') {
        ++p;
        if (!resize_side(p, _iHeight, &llH)) return 0;
    }
    if (llW < 0 || llH < 0 || llW > INT_MAX || llH > INT_MAX) return 0;
    *_pW = static_cast<int>(llW);
    *_pH = static_cast<int>(llH);
    return 1;
}

int BMP_RESIZE::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    const wchar_t* pSpec = cParam.GetParam(2);
    if (!pSpec) pSpec = L"";
    if (pSpec[0] == L'"') ++pSpec;
    if (!pTarget) return 0;

    unsigned char* pData = 0;
    int iSize = 0;
    BMP_INFO stSrc;
    // The headers are checked against the file's size: a short or lying file is no bitmap.
    const int iRead = BMP_ReadFile(pTarget, &pData, &iSize, &stSrc);
    if (iRead == 0) return 0;
    m_iActive = 1;
    if (iRead != 1) {
        Message_err(L"ビットマップでないファイル");
        return 0;
    }

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH],
        szExt[FILE_PART_LENGTH];
    FILE_split(pTarget, szDrive, szDir, szName, szExt);

    int iWidth = 0, iHeight = 0;
    if (!ParseSize(pSpec, stSrc.iWidth, stSrc.iHeight, &iWidth, &iHeight)) {
        MEM_free(&pData);
        Message_err(L"%s サイズの指定が正しくありません \"%s\"", szName, pSpec);
        return 0;
    }
    Message_info(L"%s(%d,%d)->(%d,%d)", szName, stSrc.iWidth, stSrc.iHeight, iWidth, iHeight);
    if (!pOutput) {
        MEM_free(&pData);
        Message_err(L"%s 出力ファイル名が長すぎます", szName);
        return 0;
    }

    void* pNew = 0;
    const int iNewSize = BMP_Create(&pNew, iWidth, iHeight, stSrc.wBitCount, 72, 72);
    if (iNewSize <= 0) {
        MEM_free(&pData);
        Message_err(L"%s (%d,%d) の画像を作れません", szName, iWidth, iHeight);
        return 0;
    }
    const BMP_INFO stDst = BMP_GetInfo(pNew);
    // A new block is all index 0 already; only the palette comes from the source.
    if (stSrc.wBitCount == 4) BMP_CopyPalette(stSrc, stDst, 0, 0, 16);
    else if (stSrc.wBitCount == 8) BMP_CopyPalette(stSrc, stDst, 0, 0, 256);
    const int iCopyW = iWidth < stSrc.iWidth ? iWidth : stSrc.iWidth;
    const int iCopyH = iHeight < stSrc.iHeight ? iHeight : stSrc.iHeight;
    for (int y = 0; y < iCopyH; ++y) {
        BUSY_poll();
        for (int x = 0; x < iCopyW; ++x) BMP_SetPixel(&stDst, x, y, BMP_GetPixel(&stSrc, x, y));
    }
    MEM_free(&pData);

    unsigned char* pBlock = static_cast<unsigned char*>(pNew);
    const int iWritten = Write_OutFile(pOutput, pBlock, iNewSize);
    delete[] pBlock;
    return iWritten > 0 ? 1 : 0;
}
