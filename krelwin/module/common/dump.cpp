#include "krelwin/module/common/dump.h"

#include <new>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(DUMP)

DUMP::DUMP() : m_iInit(0), m_iActive(0) {}

void DUMP::Initialize()
{
    m_iInit = 1;
}

void DUMP::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

std::wstring DUMP::MakeText(const unsigned char* _pData, int _iSize, int _iUnit)
{
    int iBytes = 1;
    int iPerLine = 16;
    const wchar_t* pFormat = L"0x%02x,";
    if (_iUnit == 2) {
        iBytes = 2;
        pFormat = L"0x%04x,";
    } else if (_iUnit == 4) {
        iBytes = 4;
        iPerLine = 8;
        pFormat = L"0x%08x,";
    }
    const int iValues = _iSize > 0 ? (_iSize + iBytes - 1) / iBytes : 0;

    std::wstring strText;
    strText.reserve(static_cast<size_t>(iValues) * (3 + 2 * iBytes) + iValues / iPerLine * 2 + 2);
    wchar_t szValue[16];
    for (int i = 0; i < iValues; ++i) {
        BUSY_poll();
        unsigned int uValue = 0;
        for (int b = iBytes - 1; b >= 0; --b) {
            const int iAt = i * iBytes + b;
            uValue = (uValue << 8) | (iAt < _iSize ? _pData[iAt] : 0u);
        }
        STRING_sprintf(szValue, 16, pFormat, uValue);
        strText += szValue;
        if ((i + 1) % iPerLine == 0) strText += L"\r\n";
    }
    strText += L"\r\n";
    return strText;
}

int DUMP::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutName = 0;
    int iUnit = 0;
    if (cParam.HasToken(2)) {
        pOutName = cParam.GetParam(1);
        // A quoted name (one with blanks) keeps its opening quote in the token.
        if (pOutName && pOutName[0] == L'"') ++pOutName;
        iUnit = cParam.GetArgInt(2, 0);
    } else {
        iUnit = cParam.GetArgInt(1, 0);
    }
    Initialize();
    if (!pTarget) return 0;

    // 0 for a missing or empty file, -1 for one too large to hold.
    const int iSize = FILE_GetSize(pTarget);
    if (iSize <= 0) return 0;
    // Read at most the measured size, so a file that grew meanwhile cannot overrun.
    uint32_t uCount = static_cast<uint32_t>(iSize);
    unsigned char* pData = 0;
    MEM_TargetRead(&pData, pTarget, &uCount);
    if (!pData || uCount == 0) {
        MEM_free(&pData);
        return 0;
    }
    m_iActive = 1;

    std::wstring strText;
    try {
        strText = MakeText(pData, static_cast<int>(uCount), iUnit);
    } catch (const std::bad_alloc&) {
        MEM_free(&pData);
        Message_info(L"dump failed. %s", pTarget);
        return 0;
    }
    MEM_free(&pData);

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH + 2],
        szExt[FILE_PART_LENGTH];
    FILE_split((pOutName && pOutName[0]) ? pOutName : pTarget, szDrive, szDir, szName, szExt);
    // Any case of ".txt": a target "a.Txt" must not be overwritten by its own dump.
    if (STRING_cmpI(szExt, L".txt") == 0) STRING_cat(szName, L"_d");
    wchar_t szPath[FILE_PATH_LENGTH];
    FILE_merge(szPath, szDrive, szDir, szName, L".txt", FILE_PATH_LENGTH);
    if (!szPath[0] || !szName[0] || STRING_cmpI(szPath, pTarget) == 0) {
        Message_info(L"dump failed. %s", pTarget);
        return 0;
    }

    Message_info(L"dump:%s %s.txt", pTarget, szName);
    Write_OutText(szPath, strText.c_str());
    return 1;
}
