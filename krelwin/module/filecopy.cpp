#include "krelwin/module/filecopy.h"

#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(FILECOPY)

FILECOPY::FILECOPY() : m_iInit(0), m_iActive(0), m_iFirst(0) {}

void FILECOPY::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    if (m_iFirst == 0) {
        m_iFirst = 1;
        Message_win(L"copying");
    }
}

void FILECOPY::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

// With a root text: the part of the target after the first place where the root text
// stands (ASCII case ignored); no tail when it does not stand there. Without one (or with
// an empty one, which would otherwise keep the drive in the middle of the path): the
// target from its first backslash on. Root and tail are joined by exactly one backslash.
void FILECOPY::MakeDestination(wchar_t* _pOut, const wchar_t* _pRoot, const wchar_t* _pTarget,
                               const wchar_t* _pRootText)
{
    _pOut[0] = 0;
    const std::wstring strTarget = _pTarget;
    std::wstring strTail;
    if (_pRootText && _pRootText[0]) {
        std::wstring strUpperTarget = strTarget;
        std::wstring strUpperRoot = _pRootText;
        STRING_upper(&strUpperTarget[0]);
        STRING_upper(&strUpperRoot[0]);
        const size_t uAt = strUpperTarget.find(strUpperRoot);
        if (uAt != std::wstring::npos) strTail = strTarget.substr(uAt + strUpperRoot.size());
    } else {
        const size_t uAt = strTarget.find(L'\\');
        if (uAt != std::wstring::npos) strTail = strTarget.substr(uAt);
    }

    std::wstring strPath = _pRoot;
    if (!strTail.empty()) {
        const bool bRootSep = !strPath.empty() && (strPath.back() == L'\\' || strPath.back() == L'/');
        const bool bTailSep = strTail[0] == L'\\' || strTail[0] == L'/';
        if (bRootSep && bTailSep) strPath.pop_back();
        else if (!bRootSep && !bTailSep && !strPath.empty()) strPath += L'\\';
        strPath += strTail;
    }
    if (strPath.size() >= FILE_PATH_LENGTH) return;
    STRING_cpy(_pOut, strPath.c_str());
}

int FILECOPY::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pRoot = cParam.GetParam(1);
    // A quoted folder (one with blanks) keeps its opening quote in the token.
    if (pRoot && pRoot[0] == L'"') ++pRoot;
    Initialize();
    if (!pTarget || !pRoot || !pRoot[0]) return 0;
    m_iActive = 1;

    // Targets of a batch's file list may be relative to the current (batch) folder; the
    // folder tail and a -r root text are taken from the full path, as the user sees it.
    std::wstring strFull = pTarget;
    const bool bRooted = (pTarget[0] && pTarget[1] == L':') || pTarget[0] == L'\\' || pTarget[0] == L'/';
    if (!bRooted) {
        wchar_t szCwd[FILE_PATH_LENGTH] = {0};
        const int iCwd = FILE_GetCurrentDirectory(szCwd, FILE_PATH_LENGTH);
        if (iCwd > 0 && iCwd < FILE_PATH_LENGTH) {
            strFull = szCwd;
            if (strFull.back() != L'\\') strFull += L'\\';
            strFull += pTarget;
        }
    }

    wchar_t szDest[FILE_PATH_LENGTH];
    const wchar_t* pRootText = cParam.FindOption(L'r') >= 0 ? cParam.GetOption(L'r', 0) : 0;
    MakeDestination(szDest, pRoot, strFull.c_str(), pRootText);
    if (!szDest[0]) {
        Message_info(L"copy failed. %s\\%s", pRoot, Get_FileName(pTarget));
        return 0;
    }
    // Writing a file over itself would empty it the moment it is opened for writing.
    if (STRING_cmpI(szDest, strFull.c_str()) == 0) {
        Message_info(L"copy failed. %s", szDest);
        return 0;
    }

    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, pTarget);
    if (iSize <= 0 || !pData) {
        MEM_free(&pData);
        Message_info(L"not found. %s", Get_FileName(pTarget));
        return 0;
    }

    TIME_INFO stTime = {};
    const int iTime = FILE_GetTime(pTarget, &stTime);
    FILE_MakeDirectory(szDest);
    const int iWritten = FILE_Write(szDest, pData, iSize);
    MEM_free(&pData);
    if (iWritten != iSize) {
        // An earlier copy stays whole; that this one is not there is an error.
        Message_err(L"copy failed. %s", szDest);
        return 0;
    }
    if (iTime == 1) FILE_SetTime(szDest, &stTime);
    Message_info(L"copy %s->%s", Get_FileName(pTarget), szDest);
    return 1;
}
