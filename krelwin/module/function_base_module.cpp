#include "krelwin/module/function_base_module.h"

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/output_inplace.h"
#include "krelwin/params/kvlparam.h"
#include "krelwin/params/rangecheck.h"

MODULE_DEFINE_CREATOR(FUNCTION_BASE)

namespace {

// A scan position that repeats this often means the scan no longer advances.
const int LOOP_LIMIT = 32000;

// The loop watch: false when the scan must stop (the run is then aborted). A scan that
// logs nothing polls here too, so that waiting log lines are shown meanwhile.
bool fb_loopWatch(int _iPos)
{
    BUSY_poll();
    if (_iPos == s_stGl.m_iLoopPos) {
        if (++s_stGl.m_iLoopCount > LOOP_LIMIT) {
            Message_err(L"ERROR : loop over");
            s_stGl.m_iAbort = 1;
            return false;
        }
    } else {
        s_stGl.m_iLoopPos = _iPos;
    }
    return true;
}

} // namespace

FUNCTION_BASE::FUNCTION_BASE() : m_iInitialized(0), m_iActive(0), m_iFirstUse(0) {}

FUNCTION_BASE::~FUNCTION_BASE() {}

void FUNCTION_BASE::Initialize()
{
    if (m_iInitialized == 1) return;
    m_iInitialized = 1;
    if (m_iFirstUse == 0) m_iFirstUse = 1;
}

int FUNCTION_BASE::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    if (!pTarget) pTarget = L"";

    Initialize();

    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0) {
        Message_err(L"file not found:%s", pTarget);
        return 0;
    }
    m_iActive = 1;

    // Twice the text, in whole steps of 1,024 characters: always room for the copy and
    // its terminator.
    const long long llRoom = ((static_cast<long long>(iLength) * 2 + 1023) / 1024) * 1024;
    wchar_t* pOut = 0;
    if (llRoom > 0x7FFFFFFF || !MEM_alloc(&pOut, static_cast<int>(llRoom))) {
        MEM_free(&pText);
        Message_err(L"スクリプトの実行に失敗しました");
        return 0;
    }

    int iPos = 0;
    int iOut = 0;
    s_cRangeCheck.Init(pText, iLength);
    while (iPos < iLength && s_cRangeCheck.IsSkip(pText, iPos, iLength) == 1) ++iPos;
    while (iPos < iLength) {
        while (iPos < iLength && s_cRangeCheck.IsSkip(pText, iPos, iLength) == 1) ++iPos;
        if (iPos >= iLength) break;
        pOut[iOut++] = pText[iPos++];
        if (!fb_loopWatch(iPos)) break;
    }
    pOut[iOut] = 0;

    Message_info(L"file:%s %s", pTarget, pOutput ? pOutput : L"");

    // The output path through its parts, as a new module would build a path of its own.
    wchar_t szPath[FILE_PATH_LENGTH] = {0};
    if (pOutput) {
        wchar_t szDrive[FILE_DRIVE_LENGTH];
        wchar_t szDir[FILE_PART_LENGTH];
        wchar_t szName[FILE_PART_LENGTH];
        wchar_t szExt[FILE_PART_LENGTH];
        FILE_split(pOutput, szDrive, szDir, szName, szExt);
        FILE_merge(szPath, szDrive, szDir, szName, szExt, FILE_PATH_LENGTH);
    }
    if (szPath[0]) {
        Write_OutTextChanged(szPath, pTarget, pText, iLength, pOut);
    } else {
        // An output argument that does not make a path is never replaced by another file.
        Message_err(L"Can't write file.%s", Get_FileName(pOutput ? pOutput : cParam.GetParam(1)));
    }

    MEM_free(&pText);
    MEM_free(&pOut);
    return 1;
}

void FUNCTION_BASE::Quit(int)
{
    if (m_iActive != 1) return;
    m_iActive = 0;
    m_iInitialized = 0;
}
