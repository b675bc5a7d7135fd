#include "kelto/system/ezparam.h"

#include "kelto/memory/mem.h"
#include "kelto/string/string.h"

CEzParam::CEzParam(const wchar_t* _pLine)
    : m_pBuffer(0), m_pStart(0), m_iLength(STRING_len(_pLine)), m_iCount(0)
{
    if (m_iLength <= 0) {
        m_iLength = 0;
        return;
    }
    const int iCapacity = ((m_iLength + 64) / 64) * 64;
    m_pBuffer = KELTO_NEW("CEzParam::CEzParam") wchar_t[iCapacity];
    if (!m_pBuffer) {
        m_iLength = 0;
        return;
    }
    MEM_copy(m_pBuffer, _pLine, m_iLength * static_cast<int>(sizeof(wchar_t)));
    m_pBuffer[m_iLength] = 0;
    m_pStart = m_pBuffer;
    Tokenize();
}

CEzParam::~CEzParam()
{
    if (m_pBuffer) {
        delete[] m_pBuffer;
        m_pBuffer = 0;
    }
}

void CEzParam::OnToken(int, int) {}

void CEzParam::Tokenize()
{
    m_iCount = 0;
    if (!m_pStart) return;
    while (m_iLength > 0 && *m_pStart <= 0x20) {
        ++m_pStart;
        --m_iLength;
    }
    while (m_iLength > 0 && m_pStart[m_iLength - 1] <= 0x20) {
        --m_iLength;
        m_pStart[m_iLength] = 0;
    }
    if (m_iLength <= 0) return;

    int iQuote = 0;
    int iFirst = 0;
    int i = 0;
    while (i < m_iLength) {
        const wchar_t c = m_pStart[i];
        if (c == L'"') {
            iQuote = !iQuote;
            ++i;
            continue;
        }
        if (!iQuote && (c == L' ' || c == L'\t')) {
            const int iEnd = i;
            while (i < m_iLength && (m_pStart[i] == L' ' || m_pStart[i] == L'\t')) {
                m_pStart[i] = 0;
                ++i;
            }
            EndToken(iFirst, iEnd);
            iFirst = i;
            continue;
        }
        ++i;
    }
    EndToken(iFirst, m_iLength);
}

void CEzParam::EndToken(int _iFirst, int _iEnd)
{
    // The closing quote goes once, here, so that every lookup sees the same token
    // however often it is asked for.
    if (_iEnd > _iFirst && m_pStart[_iEnd - 1] == L'"') m_pStart[_iEnd - 1] = 0;
    OnToken(_iFirst, _iEnd);
    ++m_iCount;
}

wchar_t* CEzParam::GetToken(int _iNum, wchar_t* _pDefault)
{
    if (!m_pStart || m_iLength <= 0 || _iNum < 0 || _iNum >= m_iCount) return _pDefault;
    int iPos = (m_pStart[0] == L'"') ? 1 : 0;
    for (int n = 0; n < _iNum; ++n) {
        while (iPos < m_iLength && m_pStart[iPos] != 0) ++iPos;
        while (iPos < m_iLength && m_pStart[iPos] == 0) ++iPos;
    }
    return m_pStart + iPos;
}

int CEzParam::IsOption(int _iNum)
{
    const wchar_t* pToken = GetToken(_iNum, 0);
    return (pToken && pToken[0] == L'-') ? 1 : 0;
}

int CEzParam::HasToken(int _iNum)
{
    const wchar_t* pToken = GetToken(_iNum, 0);
    return (pToken && pToken[0] != 0) ? 1 : 0;
}

wchar_t* CEzParam::GetParam(int _iNum)
{
    if (_iNum < 0) return 0;
    int iParam = 0;
    for (int i = 0; i < m_iCount; ++i) {
        wchar_t* pToken = GetToken(i, 0);
        if (!pToken || pToken[0] == L'-') continue;
        if (iParam == _iNum) return pToken;
        ++iParam;
    }
    return 0;
}

wchar_t* CEzParam::GetTarget()
{
    return GetParam(0);
}

int CEzParam::FindOption(wchar_t _cLetter)
{
    for (int i = 0; i < m_iCount; ++i) {
        const wchar_t* pToken = GetToken(i, 0);
        if (pToken && pToken[0] == L'-' && pToken[1] == _cLetter && _cLetter != 0) return i;
    }
    return -1;
}

wchar_t* CEzParam::GetOption(wchar_t _cLetter, wchar_t* _pDefault)
{
    const int iNum = FindOption(_cLetter);
    if (iNum < 0) return _pDefault;
    return GetToken(iNum, 0) + 2;
}

int CEzParam::GetOptionInt(wchar_t _cLetter, int _iDefault)
{
    const wchar_t* pValue = GetOption(_cLetter, 0);
    return pValue ? STRING_toInt(pValue) : _iDefault;
}

int CEzParam::GetArgInt(int _iNum, int _iDefault)
{
    const wchar_t* pToken = GetToken(_iNum, 0);
    return pToken ? STRING_toInt(pToken) : _iDefault;
}
