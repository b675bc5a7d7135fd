#include "krelwin/module/chain.h"

#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(SMPL_CHAIN)

namespace {

// The path from the current folder's root, with '\' only and no "." or ".." folders.
std::wstring chain_fullPath(const wchar_t* _pPath)
{
    std::wstring strPath = _pPath;
    for (wchar_t& c : strPath) {
        if (c == L'/') c = L'\\';
    }
    const bool bDrive = strPath.size() >= 2 && strPath[1] == L':';
    if (!bDrive) {
        wchar_t szCwd[FILE_PATH_LENGTH] = {0};
        const int iCwd = FILE_GetCurrentDirectory(szCwd, FILE_PATH_LENGTH);
        if (iCwd > 0 && iCwd < FILE_PATH_LENGTH) {
            std::wstring strCwd = szCwd;
            if (!strPath.empty() && strPath[0] == L'\\') strCwd = strCwd.substr(0, 2);  // the drive's root
            else if (strCwd.empty() || strCwd.back() != L'\\') strCwd += L'\\';
            strPath = strCwd + strPath;
        }
    }
    for (size_t uAt; (uAt = strPath.find(L"\\.\\")) != std::wstring::npos;) strPath.erase(uAt, 2);
    strPath.push_back(0);
    STRING_normalizePath(&strPath[0]);
    return strPath.c_str();
}

} // namespace

SMPL_CHAIN::SMPL_CHAIN() : m_iInit(0), m_iActive(0), m_iFirst(0) {}

void SMPL_CHAIN::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    m_iFirst = 1;
}

void SMPL_CHAIN::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

int SMPL_CHAIN::IsSameFile(const wchar_t* _pA, const wchar_t* _pB)
{
    if (!_pA || !_pB) return 0;
    return STRING_cmpI(chain_fullPath(_pA).c_str(), chain_fullPath(_pB).c_str()) == 0 ? 1 : 0;
}

int SMPL_CHAIN::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    Initialize();
    if (!pTarget || !pTarget[0]) return 0;

    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, pTarget);
    if (iSize <= 0 || !pData) {
        MEM_free(&pData);
        Message_err(L"file not found:%s", pTarget);
        return 0;
    }
    m_iActive = 1;

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH];
    wchar_t szPath[FILE_PATH_LENGTH] = {0};
    if (pOutput) {
        FILE_split(pOutput, szDrive, szDir, szName, 0);
        if (szName[0]) FILE_merge(szPath, szDrive, szDir, szName, L".bin", FILE_PATH_LENGTH);
    }
    int iResult = 0;
    if (!szPath[0]) {
        Message_err(L"Can't write file.%s", pOutput ? Get_FileName(pOutput) : pTarget);
    } else if (IsSameFile(szPath, pTarget)) {
        // Appending a file to itself would double it, and the next run again.
        Message_err(L"same file:%s", szPath);
    } else if (FILE_WriteMerge(szPath, pData, iSize) != iSize) {
        Message_err(L"Can't write file.%s", Get_FileName(szPath));
    } else {
        iResult = 1;
    }
    MEM_free(&pData);
    return iResult;
}
