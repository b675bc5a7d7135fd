#include "krelwin/module/listupparam.h"

#include <algorithm>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(LISTUPPARAM)

namespace {

// The order of the sorted list; it polls, as a long sort logs nothing.
bool lessThan(const std::wstring& _strA, const std::wstring& _strB)
{
    BUSY_poll();
    return STRING_cmp(_strA.c_str(), _strB.c_str()) < 0;
}

} // namespace

LISTUPPARAM::LISTUPPARAM() : m_iInit(0), m_iActive(0), m_iFullReported(0), m_pTargetName(L"") {}

void LISTUPPARAM::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    m_vName.clear();
    m_setName.clear();
    m_iFullReported = 0;
}

int LISTUPPARAM::Func(const wchar_t* _pLine)
{
    CKvlParam cParam(_pLine);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pName = cParam.GetParam(1);
    Initialize();
    if (!pName || !pName[0]) {
        Message_err(L"検索するコマンドが指定されていません");
        return 0;
    }
    if (!pTarget) return 0;
    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        return 0;
    }
    m_iActive = 1;
    FILT_upper(pText, iLength, L'"');
    m_strListName = pName;
    m_pTargetName = Get_FileName(pTarget);
    scanText(pText, iLength);
    m_pTargetName = L"";
    MEM_free(&pText);
    return 1;
}

void LISTUPPARAM::scanText(const wchar_t* _pText, int _iLength)
{
    if (!_pText || m_strListName.empty()) return;
    int i = 0;
    while (i < _iLength) {
        int iOpen = i;
        while (iOpen < _iLength && !(_pText[iOpen] == L'(' && matchName(_pText, iOpen))) {
            BUSY_poll();
            ++iOpen;
        }
        if (iOpen >= _iLength) return;
        int iClose = iOpen + 1;
        while (iClose < _iLength && _pText[iClose] != L')') ++iClose;
        if (iClose >= _iLength) {
            // Without its ")" the rest of the text would be taken for parameters; no later
            // "(" has one either, and each would take the rest again and be reported again.
            Message_err(L"%s の括弧が閉じていません. %s", m_strListName.c_str(), m_pTargetName);
            return;
        }
        parseLists(_pText, iOpen, iClose);
        i = iClose + 1;
    }
}

int LISTUPPARAM::matchName(const wchar_t* _pText, int _iOpen)
{
    if (!_pText || _iOpen <= 0 || m_strListName.empty()) return 0;
    // A word of WORD_LENGTH characters or more is no call: the walk back stops there.
    int iStart = _iOpen;
    while (iStart > 0 && _iOpen - iStart < WORD_LENGTH && static_cast<unsigned short>(_pText[iStart - 1]) > 0x20) {
        --iStart;
    }
    const int iLen = _iOpen - iStart;
    if (iLen <= 0 || iLen >= WORD_LENGTH) return 0;
    const wchar_t* pEnd = _pText + _iOpen;
    return std::search(_pText + iStart, pEnd, m_strListName.begin(), m_strListName.end()) != pEnd ? 1 : 0;
}

void LISTUPPARAM::parseLists(const wchar_t* _pText, int _iFirst, int _iClose)
{
    // Every "(" from _iFirst on ends at the ")" at _iClose: the list of a later one is the
    // end of the list of the first. The stretch from the first "(" to the ")" is split
    // into pieces at runs of commas, once; the list of the "(" inside piece k is the rest
    // of piece k after it, then the pieces after k.
    if (!_pText || _iFirst < 0 || _iClose <= _iFirst) return;
    m_vPiece.clear();
    int iStart = _iFirst;
    for (int i = _iFirst; i < _iClose;) {
        if (_pText[i] != L',') {
            ++i;
            continue;
        }
        m_vPiece.push_back(PIECE{iStart, i});
        while (i < _iClose && _pText[i] == L',') ++i;
        iStart = i;
    }
    m_vPiece.push_back(PIECE{iStart, _iClose});
    const int iLast = static_cast<int>(m_vPiece.size()) - 1;
    // The pieces too long to be items, after the first (which begins with the "(").
    m_vLongPiece.clear();
    for (int k = 1; k <= iLast; ++k) {
        if (m_vPiece[k].iEnd - m_vPiece[k].iStart >= ITEM_LENGTH) m_vLongPiece.push_back(k);
    }

    size_t uLong = 0;  // the first long piece after the piece in hand
    int k = 0;
    for (int i = _iFirst; i < _iClose; ++i) {
        BUSY_poll();
        if (_pText[i] != L'(') continue;
        if (i != _iFirst && !matchName(_pText, i)) continue;
        while (m_vPiece[k].iEnd <= i) ++k;  // a "(" is no comma: it lies inside piece k
        while (uLong < m_vLongPiece.size() && m_vLongPiece[uLong] <= k) ++uLong;
        // A "," right after the "(" begins the next item instead of ending one; a ")"
        // right after it ends an empty one.
        if (m_vPiece[k].iEnd > i + 1 || k == iLast) addItem(_pText, i + 1, m_vPiece[k].iEnd);
        if (i == _iFirst) {
            for (int m = k + 1; m <= iLast; ++m) addItem(_pText, m_vPiece[m].iStart, m_vPiece[m].iEnd);
        } else {
            // The first list added these pieces already; only their refusals are
            // reported again, as each list that holds them reports them.
            for (size_t u = uLong; u < m_vLongPiece.size(); ++u) {
                const PIECE& st = m_vPiece[m_vLongPiece[u]];
                addItem(_pText, st.iStart, st.iEnd);
            }
        }
    }
}

void LISTUPPARAM::addItem(const wchar_t* _pText, int _iStart, int _iEnd)
{
    if (_iEnd - _iStart >= ITEM_LENGTH) {
        // Cutting it could make two parameters one; it is left out instead.
        const std::wstring strHead(_pText + _iStart, _pText + _iStart + (ITEM_LENGTH - 1));
        Message_err(L"パラメータが長すぎます(%d文字まで). %s...", ITEM_LENGTH - 1, strHead.c_str());
        return;
    }
    addName(std::wstring(_pText + _iStart, _pText + _iEnd));
}

int LISTUPPARAM::addName(const std::wstring& _strItem)
{
    if (m_setName.count(_strItem)) return 0;
    if (static_cast<int>(m_vName.size()) >= NAME_MAX) return 0;  // reported when it became full
    m_setName.insert(_strItem);
    m_vName.push_back(_strItem);
    if (static_cast<int>(m_vName.size()) >= NAME_MAX && !m_iFullReported) {
        m_iFullReported = 1;
        Message_err(L"LISTUP登録数がオーバーしました");
    }
    return 1;
}

void LISTUPPARAM::Quit(int)
{
    const int iActive = m_iActive;
    m_iActive = 0;
    m_iInit = 0;
    if (!iActive) return;
    Message_info(L"%s[%d] = {", m_strListName.c_str(), static_cast<int>(m_vName.size()));
    // The items differ from one another, so any sort gives the one ascending order.
    std::sort(m_vName.begin(), m_vName.end(), lessThan);
    for (const std::wstring& strItem : m_vName) Message_info(L"\t%s,", strItem.c_str());
    Message_win(L"};\n");
}
