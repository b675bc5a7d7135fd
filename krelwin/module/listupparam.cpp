#include "krelwin/module/listupparam.h"

#include <algorithm>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(LISTUPPARAM)

namespace {

bool lessThan(const std::wstring& _strA, const std::wstring& _strB)
{
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
    for (int i = 0; i < _iLength; ++i) {
        // A list without its ")" leaves none in the rest of the text: every later list
        // would run to the end again and be reported again.
        if (_pText[i] == L'(' && matchName(_pText, i) && !parseList(_pText, i + 1, _iLength)) break;
    }
}

int LISTUPPARAM::matchName(const wchar_t* _pText, int _iOpen)
{
    if (!_pText || _iOpen <= 0) return 0;
    int iStart = _iOpen;
    while (iStart > 0 && static_cast<unsigned short>(_pText[iStart - 1]) > 0x20) --iStart;
    const int iLen = _iOpen - iStart;
    if (iLen <= 0 || iLen >= WORD_LENGTH) return 0;
    const std::wstring strWord(_pText + iStart, _pText + _iOpen);
    return (!m_strListName.empty() && strWord.find(m_strListName) != std::wstring::npos) ? 1 : 0;
}

int LISTUPPARAM::parseList(const wchar_t* _pText, int _iPos, int _iLength)
{
    if (!_pText) return 0;
    std::vector<std::wstring> vItem;
    std::wstring strItem;
    int i = _iPos;
    while (i < _iLength && _pText[i] != L')') {
        // A comma that would end an empty item begins the next one instead.
        if (_pText[i] == L',') {
            ++i;
            continue;
        }
        // An item of ITEM_LENGTH characters is refused already: the rest is not kept.
        if (strItem.size() < ITEM_LENGTH) strItem += _pText[i];
        ++i;
        if (i < _iLength && _pText[i] == L',') {
            vItem.push_back(strItem);
            strItem.clear();
            ++i;
        }
    }
    if (i >= _iLength) {
        // Without its ")" the rest of the text would be taken for parameters.
        Message_err(L"%s の括弧が閉じていません. %s", m_strListName.c_str(), m_pTargetName);
        return 0;
    }
    vItem.push_back(strItem);
    for (const std::wstring& strOne : vItem) {
        if (static_cast<int>(strOne.size()) >= ITEM_LENGTH) {
            // Cutting it could make two parameters one; it is left out instead.
            Message_err(L"パラメータが長すぎます(%d文字まで). %s...", ITEM_LENGTH - 1,
                        strOne.substr(0, ITEM_LENGTH - 1).c_str());
            continue;
        }
        addName(strOne);
    }
    return 1;
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
