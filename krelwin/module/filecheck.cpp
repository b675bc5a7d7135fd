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

// A file whose size does not fit the line's number, whatever layout its extension names.
void filecheck_printLarge(const PATH_PARTS& _cParts)
{
    Message_info(L"%s%s\t2GB or more", _cParts.szName, _cParts.szExt);
}

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
    if (iSize < 0) filecheck_printLarge(cParts);
    else if (iSize >= 1) Message_info(L"%s%s\t%10d", cParts.szName, cParts.szExt, iSize);
    else Message_info(L"not found. %s%s", cParts.szName, cParts.szExt);
}

void FILECHECK::printBmp(const wchar_t* _pPath)
{
    PATH_PARTS cParts(_pPath);
    const int iSize = FILE_GetSize(_pPath);
    if (iSize < 0) {
        filecheck_printLarge(cParts);
        return;
    }
    // Only the headers are shown, so only they are read: a file too large to load is
    // described as well.
    uint32_t uCount = BMP_HEADER_SIZE;
    unsigned char* pHead = 0;
    if (iSize < 1 || MEM_TargetRead(&pHead, _pPath, &uCount) < 1 || !pHead) {
        MEM_free(&pHead);
        Message_info(L"not found. %s%s", cParts.szName, cParts.szExt);
        return;
    }
    // Nothing is checked: the fields are shown as the header holds them, and those past the
    // end of a short file as 0.
    const BMP_INFO stInfo = BMP_GetInfo(pHead, static_cast<int>(uCount));
    const int iKb = static_cast<int>((static_cast<long long>(iSize) + 1023) / 1024);
    Message_info(L"%s%s\twh(%3d,%3d)%2dbit\t%8dKb", cParts.szName, cParts.szExt, stInfo.iWidth, stInfo.iHeight,
                 static_cast<int>(stInfo.wBitCount), iKb);
    MEM_free(&pHead);
}

void FILECHECK::printWave(const wchar_t* _pPath)
{
    if (!FILE_IsExist(_pPath)) {
        Message_info(L"%s not read", _pPath);
        return;
    }
    const int iSize = FILE_GetSize(_pPath);
    if (iSize < 0) {
        filecheck_printLarge(PATH_PARTS(_pPath));
        return;
    }
    // The format chunk lies near the start: the first block serves unless the chunks
    // before it run past that block.
    uint32_t uCount = FILECHECK_WAVE_HEAD;
    unsigned char* pHead = 0;
    if (iSize > 0) MEM_TargetRead(&pHead, _pPath, &uCount);
    if (!pHead) uCount = 0;
    if (WAVEVOL::ReadHeader(pHead, uCount, &m_stFormat, 0) == WAVE_READ_SHORT &&
        static_cast<uint32_t>(iSize) > uCount) {
        unsigned char* pWhole = 0;
        const int iWhole = MEM_TargetRead(&pWhole, _pPath);
        if (pWhole) WAVEVOL::ReadHeader(pWhole, static_cast<uint32_t>(iWhole), &m_stFormat, 0);
        else m_stFormat.uFormatOffset = 0;  // a format chunk cut by the block, not by the file
        MEM_free(&pWhole);
    }
    // A file whose chunks give no format chunk (not a RIFF file, cut short, lying sizes)
    // is read by the plain header's fixed places, zeros where the file has ended.
    if (!m_stFormat.uFormatOffset) WAVEVOL::ReadFixedHeader(pHead, uCount, &m_stFormat);
    MEM_free(&pHead);
    Message_info(L"%s\t%10d\t%dHz %dbit %dch", _pPath, iSize, static_cast<int>(m_stFormat.uSampleRate),
                 static_cast<int>(static_cast<int16_t>(m_stFormat.wBitsPerSample)),
                 static_cast<int>(static_cast<int16_t>(m_stFormat.wChannels)));
}
