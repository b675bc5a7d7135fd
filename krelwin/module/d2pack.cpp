#include "krelwin/module/d2pack.h"

#include <cstdint>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(SMPL_D2PACK)

namespace {

const wchar_t* const D2PACK_DATA_NAME = L"D2DATA";

struct D2PACK_ENTRY
{
    std::wstring m_strName;
    std::wstring m_strPath;
    int m_iSize;
    uint32_t m_uOffset;
};

void d2pack_putU32(unsigned char* _pOut, uint32_t _uValue)
{
    for (int i = 0; i < 4; ++i) _pOut[i] = static_cast<unsigned char>(_uValue >> (8 * i));
}

uint32_t d2pack_align4(uint32_t _u)
{
    return (_u + 3u) & ~3u;
}

// The next value of _pAttr (which ends in its opening quote) after the next _pElement from
// _uPos on; false when either is missing or the value has no closing quote. _uPos moves
// past the value.
bool d2pack_nextValue(const std::wstring& _strText, size_t* _pPos, const wchar_t* _pElement,
                      const wchar_t* _pAttr, std::wstring* _pValue)
{
    const size_t uElement = _strText.find(_pElement, *_pPos);
    if (uElement == std::wstring::npos) return false;
    const size_t uAttr = _strText.find(_pAttr, uElement);
    if (uAttr == std::wstring::npos) return false;
    const size_t uStart = uAttr + STRING_len(_pAttr);
    const size_t uEnd = _strText.find(L'"', uStart);
    if (uEnd == std::wstring::npos) return false;
    _pValue->assign(_strText, uStart, uEnd - uStart);
    *_pPos = uEnd + 1;
    return true;
}

// The path of a file of the target's folder with another name and extension, or an empty
// text when it does not fit.
std::wstring d2pack_besideTarget(const wchar_t* _pDrive, const wchar_t* _pDir, const wchar_t* _pSub,
                                 const wchar_t* _pName, const wchar_t* _pExt)
{
    std::wstring strDir = _pDir;
    if (_pSub) strDir += _pSub;
    if (strDir.size() >= FILE_PART_LENGTH) return std::wstring();
    wchar_t szPath[FILE_PATH_LENGTH];
    FILE_merge(szPath, _pDrive, strDir.c_str(), _pName, _pExt, FILE_PATH_LENGTH);
    return szPath;
}

} // namespace

SMPL_D2PACK::SMPL_D2PACK() : m_iInit(0), m_iActive(0), m_iFirst(0) {}

void SMPL_D2PACK::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    m_iFirst = 1;
}

void SMPL_D2PACK::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

int SMPL_D2PACK::ScanTextures(const std::wstring& _strText, std::vector<std::wstring>* _pNames)
{
    std::vector<std::wstring> vNames;
    std::wstring strValue;
    size_t uPos = 0;
    while (d2pack_nextValue(_strText, &uPos, L"<tex_param", L"fname=\"", &strValue)) {
        BUSY_poll();
        if (strValue.size() > D2PACK_VALUE_MAX) return SCAN_VALUE_OVER;
        if (strValue == D2PACK_DATA_NAME) continue;
        bool bKnown = false;
        for (const std::wstring& strName : vNames) bKnown = bKnown || strName == strValue;
        if (bKnown) continue;
        if (vNames.size() + 1 >= D2PACK_ENTRY_MAX) return SCAN_ENTRY_OVER;
        vNames.push_back(strValue);
    }
    if (_pNames) _pNames->swap(vNames);
    return SCAN_OK;
}

int SMPL_D2PACK::ScanNames(const std::wstring& _strText, std::string* _pTable, int* _pCount)
{
    std::string strTable;
    int iCount = 0;
    std::wstring strValue;
    size_t uPos = 0;
    while (d2pack_nextValue(_strText, &uPos, L"<Reference", L"<data name=\"", &strValue)) {
        if (strValue.empty() || strValue[0] != L'@') continue;
        if (strValue.size() > D2PACK_VALUE_MAX) return SCAN_VALUE_OVER;
        CTOSJIS cName(strValue.c_str() + 1);
        if (cName.Get()) strTable += cName.Get();
        strTable += '\0';
        ++iCount;
        // Checked on the way: the padding adds 1 to 4 bytes.
        if ((strTable.size() & ~static_cast<size_t>(3)) + 4 > D2PACK_NAMETABLE_MAX) return SCAN_TABLE_OVER;
    }
    if (!strTable.empty()) strTable.append(4 - (strTable.size() & 3), '\0');
    if (_pTable) _pTable->swap(strTable);
    if (_pCount) *_pCount = iCount;
    return SCAN_OK;
}

int SMPL_D2PACK::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    Initialize();
    if (!pTarget || !pTarget[0]) return 0;

    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        Message_err(L"file not found:%s", pTarget);
        return 0;
    }
    const std::wstring strText(pText, iLength);
    MEM_free(&pText);
    m_iActive = 1;
    Message_info(L"\r\n%s(%d)", pTarget, iLength);

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH];
    FILE_split(pTarget, szDrive, szDir, szName, szExt);
    if (!szDrive[0] && !szDir[0] && !szName[0] && !szExt[0]) {
        // A path whose parts do not fit: its files beside it cannot be named.
        Message_err(L"not found:%s", pTarget);
        return 0;
    }

    // Entry 0: the layout's own data.
    std::vector<D2PACK_ENTRY> vEntry(1);
    vEntry[0].m_strName = D2PACK_DATA_NAME;
    vEntry[0].m_strPath = d2pack_besideTarget(szDrive, szDir, 0, szName, L".d2b");
    vEntry[0].m_iSize = vEntry[0].m_strPath.empty() ? 0 : FILE_GetSize(vEntry[0].m_strPath.c_str());
    if (vEntry[0].m_iSize == 0) {
        Message_err(L"not found:%s", vEntry[0].m_strPath.c_str());
        return 0;
    }

    std::vector<std::wstring> vTexture;
    std::string strTable;
    int iNames = 0;
    int iScan = ScanTextures(strText, &vTexture);
    if (iScan == SCAN_OK) iScan = ScanNames(strText, &strTable, &iNames);
    if (iScan != SCAN_OK) {
        // Over the package's limits: refused whole rather than cut or wrapped.
        if (iScan == SCAN_VALUE_OVER) Message_err(L"name too long:%s", pTarget);
        else if (iScan == SCAN_ENTRY_OVER) Message_err(L"entry over:%s", pTarget);
        else Message_err(L"name table over:%s", pTarget);
        return 0;
    }

    // The list of texture names grows across runs; it is never the layout itself.
    const std::wstring strList = d2pack_besideTarget(szDrive, szDir, 0, szName, L".txt");
    const bool bList = !strList.empty() && STRING_cmpI(strList.c_str(), pTarget) != 0;
    if (!vTexture.empty() && !bList) Message_err(L"Can't write file.%s", Get_FileName(strList.c_str()));

    for (const std::wstring& strTexture : vTexture) {
        BUSY_poll();
        if (bList && !FILE_printf(strList.c_str(), L"%s\r\n", strTexture.c_str()))
            Message_err(L"Can't write file.%s", Get_FileName(strList.c_str()));
        wchar_t szTexName[FILE_PART_LENGTH];
        FILE_split(strTexture.c_str(), 0, 0, szTexName, 0);
        D2PACK_ENTRY cEntry;
        cEntry.m_strName = strTexture;
        cEntry.m_strPath = d2pack_besideTarget(szDrive, szDir, 0, szTexName, L".gim");
        cEntry.m_iSize = cEntry.m_strPath.empty() ? 0 : FILE_GetSize(cEntry.m_strPath.c_str());
        if (cEntry.m_iSize == 0) {
            cEntry.m_strPath = d2pack_besideTarget(szDrive, szDir, L"gim\\", szTexName, L".gim");
            cEntry.m_iSize = cEntry.m_strPath.empty() ? 0 : FILE_GetSize(cEntry.m_strPath.c_str());
            if (cEntry.m_iSize == 0) Message_err(L"not found:%s", cEntry.m_strPath.c_str());
        }
        vEntry.push_back(cEntry);
    }

    // Offsets: the blocks follow the header, the entries and the name table.
    const int iCount = static_cast<int>(vEntry.size());
    const uint32_t uStart = 8 + 12 * static_cast<uint32_t>(iCount) + static_cast<uint32_t>(strTable.size());
    uint32_t uPos = uStart;
    for (D2PACK_ENTRY& cEntry : vEntry) {
        const uint32_t uSize = cEntry.m_iSize > 0 ? static_cast<uint32_t>(cEntry.m_iSize) : 0;
        cEntry.m_uOffset = uPos;
        Message_info(L"%-24s 0x%08X,0x%08X,0x%08X", cEntry.m_strName.c_str(), STRING_crc32(cEntry.m_strName.c_str()),
                     uPos, uSize);
        // Sizes past the package's room stop growing here; the data step refuses them.
        if (uSize < D2PACK_FILE_MAX && uPos < D2PACK_FILE_MAX) uPos += d2pack_align4(uSize);
        else uPos = D2PACK_FILE_MAX;
    }

    unsigned char* pPack = static_cast<unsigned char*>(MEM_allocBytes(D2PACK_FILE_MAX, "SMPL_D2PACK::Func"));
    if (!pPack) {
        Message_err(L"buff over:%s", pTarget);
        return 0;
    }
    pPack[0] = 'D';
    pPack[1] = '2';
    pPack[2] = 'C';
    pPack[4] = static_cast<unsigned char>(iCount);
    pPack[5] = static_cast<unsigned char>(iCount >> 8);
    pPack[6] = static_cast<unsigned char>(iNames);
    pPack[7] = static_cast<unsigned char>(iNames >> 8);
    for (int i = 0; i < iCount; ++i) {
        unsigned char* pEntry = pPack + 8 + 12 * i;
        d2pack_putU32(pEntry, STRING_crc32(vEntry[i].m_strName.c_str()));
        d2pack_putU32(pEntry + 4, vEntry[i].m_uOffset);
        d2pack_putU32(pEntry + 8, vEntry[i].m_iSize > 0 ? static_cast<uint32_t>(vEntry[i].m_iSize) : 0);
    }
    if (!strTable.empty()) MEM_copy(pPack + 8 + 12 * iCount, strTable.data(), static_cast<int>(strTable.size()));

    // Data: exactly the sizes the index holds, or no package at all.
    uPos = uStart;
    for (const D2PACK_ENTRY& cEntry : vEntry) {
        BUSY_poll();
        if (cEntry.m_iSize == 0) continue;
        if (cEntry.m_iSize < 0 || uPos + static_cast<uint32_t>(cEntry.m_iSize) >= D2PACK_FILE_MAX) {
            MEM_freeBytes(pPack);
            Message_err(L"buff over:%s", cEntry.m_strPath.c_str());
            return 0;
        }
        uint32_t uCount = static_cast<uint32_t>(cEntry.m_iSize);
        unsigned char* pData = 0;
        MEM_TargetRead(&pData, cEntry.m_strPath.c_str(), &uCount);
        if (!pData || uCount != static_cast<uint32_t>(cEntry.m_iSize)) {
            MEM_free(&pData);
            MEM_freeBytes(pPack);
            Message_err(L"not found:%s", cEntry.m_strPath.c_str());
            return 0;
        }
        MEM_copy(pPack + uPos, pData, static_cast<int>(uCount));
        MEM_free(&pData);
        uPos += d2pack_align4(uCount);
    }

    wchar_t szCwd[FILE_PATH_LENGTH] = {0};
    wchar_t szOutName[FILE_PART_LENGTH] = {0};
    if (pOutput) FILE_split(pOutput, 0, 0, szOutName, 0);
    wchar_t szPack[FILE_PATH_LENGTH] = {0};
    const int iCwd = FILE_GetCurrentDirectory(szCwd, FILE_PATH_LENGTH);
    const bool bPath = pOutput && szOutName[0] && iCwd > 0 && iCwd < FILE_PATH_LENGTH &&
                       STRING_sprintf(szPack, FILE_PATH_LENGTH, L"%s\\d2c\\%s.d2c", szCwd, szOutName) > 0;
    const int iWritten = bPath ? FILE_Write(szPack, pPack, static_cast<int>(uPos)) : 0;
    MEM_freeBytes(pPack);
    if (iWritten != static_cast<int>(uPos)) {
        Message_err(L"Can't write file.%s", bPath ? Get_FileName(szPack) : (pOutput ? pOutput : pTarget));
        return 0;
    }
    return 1;
}
