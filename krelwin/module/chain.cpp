#include "krelwin/module/chain.h"

#include <string>

#include "kelto/files/pathkey.h"
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(SMPL_CHAIN)


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
    return FILE_IsSamePath(_pA, _pB);
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
