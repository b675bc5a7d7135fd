#include "krelwin/module/utter.h"

#include <memory>
#include <new>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(UTTER)

namespace {

const wchar_t* const s_apTypeName[WAVEVOL::TYPE_COUNT] = {L"平均", L"最大", L"２値"};

} // namespace

UTTER::UTTER() : m_iInit(0), m_iActive(0), m_iFirst(0) {}

void UTTER::Initialize()
{
    if (!m_iFirst) m_iFirst = 1;
    m_iInit = 1;
}

void UTTER::Quit(int) {}

const wchar_t* UTTER::TypeName(int _iType)
{
    return (_iType >= 0 && _iType < WAVEVOL::TYPE_COUNT) ? s_apTypeName[_iType] : 0;
}

int UTTER::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) pTarget = L"";
    const int iFps = cParam.GetOptionInt(L'f', 30);
    const int iType = cParam.GetOptionInt(L't', WAVEVOL::TYPE_TWO_VALUED);
    const int iPercent = cParam.GetOptionInt(L'p', 30);
    Initialize();
    if (iFps == 0) return 0;
    // Another type would write a file of zeros under no name.
    if (!TypeName(iType)) {
        Message_err(L"%s -t%d : level type 0, 1 or 2", pTarget, iType);
        return 1;
    }

    const int iStep = 60 / iFps;
    int iResult = m_cWave.Convert(pTarget, 0, 0, iStep, iPercent, iType);
    const int iNeed = iResult;
    std::unique_ptr<unsigned char[]> pOut;
    if (iNeed > 0) {
        pOut.reset(new (std::nothrow) unsigned char[iNeed]);
        iResult = pOut ? m_cWave.Convert(pTarget, pOut.get(), iNeed, iStep, iPercent, iType) : 0;
    }

    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH],
        szExt[FILE_PART_LENGTH];
    FILE_split(pTarget, szDrive, szDir, szName, szExt);
    wchar_t szOut[FILE_PATH_LENGTH];
    FILE_merge(szOut, szDrive, szDir, szName, L".bin", FILE_PATH_LENGTH);
    // A target whose ".bin" name does not fit, or a ".bin" target itself, has nowhere to go.
    if (iResult > 0 && (!szOut[0] || STRING_cmpI(szOut, pTarget) == 0)) iResult = 0;

    if (iResult == -1) {
        Message_info(L"%s は有効なwavではありません", pTarget);
    } else if (iResult == 0) {
        Message_info(L"%s は変換されませんでした", pTarget);
    } else {
        Message_info(L"%s -> %s %dfrm %s(%d%%)", pTarget, szOut, iFps, TypeName(iType), iPercent);
        Write_OutFile(szOut, pOut.get(), iNeed);
    }
    return 1;
}
