#include "krelwin/module/filecheck.h"

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/graphics/bmp.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/module/wavevol.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(FILECHECK)

namespace {

// Bytes read first for a WAVE header.
const uint32_t FILECHECK_WAVE_HEAD = 65536;

struct PATH_PARTS
{
    wchar_t szDrive[FILE_DRIVE_LENGTH];
    wchar_t szDir[FILE_PART_LENGTH];
    wchar_t szName[FILE_PART_LENGTH];
    wchar_t szExt[FILE_PART_LENGTH];
    explicit PATH_PARTS(const wchar_t* _pPath) { FILE_split(_pPath, szDrive, szDir, szName, szExt); }
};

} // namespace

namespace {

WAVE_HEADER filecheck_defaultFormat()
{
    WAVE_HEADER st = {};
    st.wChannels = 1;
    st.uSampleRate = 11025;
    st.wBitsPerSample = 8;
    st.uRiffSize = 11025;
    st.wBlockAlign = 1;
    st.uBytesPerSec = 11025;
    return st;
}

} // namespace

FILECHECK::FILECHECK() : m_iInit(0), m_iActive(0), m_stFormat(filecheck_defaultFormat()) {}

void FILECHECK::Initialize()
{
    if (m_iInit) return;
    m_iInit = 1;
    m_stFormat = filecheck_defaultFormat();
}

void FILECHECK::Quit(int) {}

int FILECHECK::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) pTarget = L"";
    Initialize();
    PATH_PARTS cParts(pTarget);
    STRING_upper(cParts.szExt);
    if (STRING_cmp(cParts.szExt, L".WAV") == 0) printWave(pTarget);
    else if (STRING_cmp(cParts.szExt, L".BMP") == 0) printBmp(pTarget);
    else printFile(pTarget);
    return 1;
}

void FILECHECK::printFile(const wchar_t* _pPath)
{
    PATH_PARTS cParts(_pPath);
    const int iSize = FILE_GetSize(_pPath);
    if (iSize >= 1) Message_info(L"%s%s\t%10d", cParts.szName, cParts.szExt, iSize);
    else if (iSize < 0) Message_info(L"%s%s\t2GB or more", cParts.szName, cParts.szExt);
    else Message_info(L"not found. %s%s", cParts.szName, cParts.szExt);
}

void FILECHECK::printBmp(const wchar_t* _pPath)
{
    PATH_PARTS cParts(_pPath);
    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, _pPath);
    if (iSize <= 0 || !pData) {
        MEM_free(&pData);
        Message_info(L"not found. %s%s", cParts.szName, cParts.szExt);
        return;
    }
    const int iKb = static_cast<int>((static_cast<long long>(iSize) + 1023) / 1024);
    if (iSize >= 2 && (pData[0] != 'B' || pData[1] != 'M')) {
        Message_info(L"%s%s\t%10d\tnot a bitmap", cParts.szName, cParts.szExt, iSize);
    } else if (iSize < BMP_HEADER_SIZE) {
        Message_info(L"%s%s\t%10d\tshorter than a bitmap header", cParts.szName, cParts.szExt, iSize);
    } else {
        // The headers lie inside the file, so the fields can be shown; a file the bitmap
        // commands would refuse (truncated rows, lying offsets, packed pixels) says so.
        const BMP_INFO stInfo = BMP_GetInfo(pData);
        const int iReadable = BMP_Check(pData, iSize, 0) == 1;
        Message_info(iReadable ? L"%s%s\twh(%3d,%3d)%2dbit\t%8dKb" : L"%s%s\twh(%3d,%3d)%2dbit\t%8dKb\tnot readable",
                     cParts.szName, cParts.szExt, stInfo.iWidth, stInfo.iHeight,
                     static_cast<int>(stInfo.wBitCount), iKb);
    }
    MEM_free(&pData);
}

void FILECHECK::printWave(const wchar_t* _pPath)
{
    if (!FILE_IsExist(_pPath)) {
        Message_info(L"%s not read", _pPath);
        return;
    }
    const int iSize = FILE_GetSize(_pPath);
    if (iSize < 0) {
        Message_info(L"%s\t2GB or more", _pPath);
        return;
    }
    // The format chunk lies near the start: the first block serves unless the chunks
    // before it run past that block.
    uint32_t uCount = FILECHECK_WAVE_HEAD;
    unsigned char* pData = 0;
    MEM_TargetRead(&pData, _pPath, &uCount);
    int iRead = WAVEVOL::ReadHeader(pData, pData ? uCount : 0, &m_stFormat, 0);
    if (iRead == WAVE_READ_SHORT && pData && static_cast<uint32_t>(iSize) > uCount) {
        uCount = static_cast<uint32_t>(iSize);
        MEM_TargetRead(&pData, _pPath, &uCount);
        iRead = WAVEVOL::ReadHeader(pData, pData ? uCount : 0, &m_stFormat, 0);
    }
    MEM_free(&pData);
    if (iRead == WAVE_READ_SHORT) {
        Message_info(L"%s\t%10d\tshorter than a wav header", _pPath, iSize);
        return;
    }
    if (iRead != WAVE_READ_OK) {
        Message_info(L"%s\t%10d\tnot a wav", _pPath, iSize);
        return;
    }
    Message_info(L"%s\t%10d\t%dHz %dbit %dch", _pPath, iSize, static_cast<int>(m_stFormat.uSampleRate),
                 static_cast<int>(static_cast<int16_t>(m_stFormat.wBitsPerSample)),
                 static_cast<int>(static_cast<int16_t>(m_stFormat.wChannels)));
}
