#include "krelwin/params/kvlparam.h"

#include "kelto/memory/mem.h"
#include "kelto/string/string.h"

namespace {

bool kvl_isSeparator(wchar_t _c)
{
    return _c == L'\\' || _c == L'/';
}

bool kvl_isDriveRoot(const wchar_t* _p)
{
    const wchar_t c = _p[0];
    return ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) && _p[1] == L':' && _p[2] == L'\\';
}

// Start of the last path component (after the last separator and any drive).
const wchar_t* kvl_lastComponent(const wchar_t* _pPath)
{
    const wchar_t* pName = _pPath;
    if (_pPath[0] && _pPath[1] == L':') pName = _pPath + 2;
    for (const wchar_t* p = pName; *p; ++p) {
        if (kvl_isSeparator(*p)) pName = p + 1;
    }
    return pName;
}

// Appends _iCount units to the result; false once the result would not fit.
struct PATH_BUILDER
{
    wchar_t* m_pOut;
    int m_iLen;
    int m_iMax;

    bool Add(const wchar_t* _pText, int _iCount)
    {
        if (_iCount < 0 || m_iLen + _iCount > m_iMax) return false;
        MEM_copy(m_pOut + m_iLen, _pText, _iCount * static_cast<int>(sizeof(wchar_t)));
        m_iLen += _iCount;
        m_pOut[m_iLen] = 0;
        return true;
    }
};

} // namespace

CKvlParam::CKvlParam(const wchar_t* _pLine) : CEzParam(_pLine)
{
    for (int i = 0; i < PATH_CACHE; ++i) m_pPath[i] = 0;
}

CKvlParam::~CKvlParam()
{
    for (int i = 0; i < PATH_CACHE; ++i) {
        if (m_pPath[i]) {
            delete[] m_pPath[i];
            m_pPath[i] = 0;
        }
    }
}

wchar_t* CKvlParam::GetFilePath(int _iNum)
{
    wchar_t* pArg = GetParam(_iNum);
    if (!pArg) return 0;
    if (_iNum == 0) return pArg;
    if (_iNum >= PATH_CACHE) return 0;
    if (m_pPath[_iNum]) return m_pPath[_iNum];

    const wchar_t* pTarget = GetParam(0);
    if (!pTarget) return 0;

    // Target parts, as positions in the target text.
    const wchar_t* pTargetName = kvl_lastComponent(pTarget);
    const int iTargetNameLen = STRING_len(pTargetName);
    int iTargetBaseLen = iTargetNameLen;
    for (int i = iTargetNameLen - 1; i >= 0; --i) {
        if (pTargetName[i] == L'.') {
            iTargetBaseLen = i;
            break;
        }
    }

    wchar_t* pOut = KELTO_NEW("CKvlParam::GetFilePath") wchar_t[PATH_SIZE];
    if (!pOut) return 0;
    pOut[0] = 0;
    PATH_BUILDER cOut = { pOut, 0, PATH_SIZE - 1 };

    // The base: the argument's own drive, nothing, or the target's drive and folder.
    const wchar_t* pTail = pArg;
    bool bOk = true;
    if (kvl_isDriveRoot(pArg)) {
        bOk = cOut.Add(pArg, 2);
        pTail = pArg + 2;
    } else if (pArg[0] == L'\\') {
        pTail = pArg + 1;
    } else {
        bOk = cOut.Add(pTarget, static_cast<int>(pTargetName - pTarget));
    }

    // The tail, with "%1" standing in for a missing name.
    const wchar_t* pTailName = kvl_lastComponent(pTail);
    const int iTailLen = STRING_len(pTail);
    const bool bNoName = (pTailName[0] == 0);

    for (int i = 0; bOk && i <= iTailLen; ++i) {
        if (i == iTailLen) {
            if (bNoName) bOk = cOut.Add(pTargetName, iTargetNameLen);
            break;
        }
        const wchar_t c = pTail[i];
        if (c != L'%') {
            bOk = cOut.Add(&c, 1);
            continue;
        }
        const wchar_t cNext = pTail[i + 1];
        if (cNext == L'0') bOk = cOut.Add(pTargetName, iTargetBaseLen);
        else if (cNext == L'1') bOk = cOut.Add(pTargetName, iTargetNameLen);
        if (cNext != 0) ++i;
    }

    if (!bOk) {
        // Cutting would name another file; refuse instead.
        delete[] pOut;
        return 0;
    }
    m_pPath[_iNum] = pOut;
    return pOut;
}

wchar_t* CKvlParam::GetOutput()
{
    if (GetParam(1)) return GetFilePath(1);
    return GetParam(0);
}

wchar_t* CKvlParam::GetFileName(int _iNum, wchar_t* _pDefault)
{
    if (!HasToken(_iNum)) return _pDefault;
    wchar_t* pPath = GetFilePath(_iNum);
    if (!pPath) return 0;
    return pPath + (kvl_lastComponent(pPath) - pPath);
}

int CKvlParam::CheckOptionChar(int _iNum, wchar_t _cLetter)
{
    const wchar_t* pToken = GetToken(_iNum, 0);
    if (!pToken) return 0;
    const wchar_t* pHit = STRING_chrI(pToken, _cLetter);
    return (pHit && pHit - pToken >= 2) ? 1 : 0;
}
