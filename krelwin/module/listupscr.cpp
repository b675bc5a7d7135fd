#include "krelwin/module/listupscr.h"

#include <algorithm>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"
#include "krelwin/params/rangecheck.h"

MODULE_DEFINE_CREATOR(LISTUPSCR)

namespace {

// A word starts after one of these (or at the start of the text).
const wchar_t s_szWordStart[] = L" \t\r\n\"()[]+-*/;:@,.!#$%&'=~|^{}?<>\\";
// A word ends before one of these; @, the full stop and \ belong to words.
const wchar_t s_szWordEnd[] = L" \t\r\n\"()[]+-*/;:,!#$%&'=~|^{}?<>";

bool inSet(const wchar_t* _pSet, wchar_t _c)
{
    return _c != 0 && STRING_chr(_pSet, _c) != 0;
}

// The order of the sorted tables; it polls, as a long sort logs nothing.
bool lessThan(const std::wstring& _strA, const std::wstring& _strB)
{
    BUSY_poll();
    return STRING_cmp(_strA.c_str(), _strB.c_str()) < 0;
}

} // namespace

LISTUPSCR::LISTUPSCR() : m_iInit(0), m_iActive(0), m_iFirst(0) {}

void LISTUPSCR::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    if (m_iFirst == 0) m_iFirst = 1;
    for (LISTUPSCR_TABLE& cTable : m_cTable) {
        cTable.m_vEntry.clear();
        cTable.m_setEntry.clear();
    }
}

int LISTUPSCR::isDelimiter(const wchar_t* _pText, int _iPos)
{
    if (!_pText || _iPos < 0) return 0;
    if (_iPos == 0) return 1;
    return inSet(s_szWordStart, _pText[_iPos - 1]) ? 1 : 0;
}

int LISTUPSCR::isDelimiter2(const wchar_t* _pText, int _iLimit, wchar_t* _pWord, int _iSize)
{
    if (!_pText || !_pWord || _iSize <= 0) return 0;
    int iLen = 0;
    while (iLen < _iLimit && _pText[iLen] && !inSet(s_szWordEnd, _pText[iLen])) {
        if (iLen < _iSize - 1) _pWord[iLen] = _pText[iLen];
        ++iLen;
    }
    _pWord[std::min(iLen, _iSize - 1)] = 0;
    return iLen;
}

int LISTUPSCR::addEntry(LISTUPSCR_TABLE& _cTable, int _iMax, const wchar_t* _pText, int _iLength)
{
    const int iCount = static_cast<int>(_cTable.m_vEntry.size());
    if (!_pText) return iCount;
    if (_iLength > ENTRY_LENGTH) {
        Message_err(L"string over.%d", _iLength);
        return iCount;
    }
    // A word already listed is no new entry, even when the table is full.
    if (_cTable.m_setEntry.count(_pText)) return iCount;
    if (iCount >= _iMax) {
        Message_err(L"Entry over.%s", _pText);
        return iCount;
    }
    _cTable.m_setEntry.insert(_pText);
    _cTable.m_vEntry.push_back(_pText);
    return iCount + 1;
}

void LISTUPSCR::sortEntries(std::vector<std::wstring>& _vEntry)
{
    // The entries differ from one another, so any sort gives the one ascending order.
    std::sort(_vEntry.begin(), _vEntry.end(), lessThan);
}

int LISTUPSCR::Func(const wchar_t* _pLine)
{
    CKvlParam cParam(_pLine);
    Initialize();
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) return 0;
    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        return 0;
    }
    m_iActive = 1;
    scanText(pText, iLength);
    MEM_free(&pText);
    return 1;
}

void LISTUPSCR::scanText(const wchar_t* _pText, int _iLength)
{
    if (!_pText) return;
    const wchar_t* t = _pText;
    const int n = _iLength;
    s_cRangeCheck.Init(t, n);
    wchar_t szWord[ENTRY_LENGTH + 1];
    int i = 0;
    while (i < n) {
        BUSY_poll();
        if (s_cRangeCheck.IsSkip(t, i, n)) {
            ++i;
            continue;
        }
        const wchar_t c = t[i];
        const wchar_t cNext = (i + 1 < n) ? t[i + 1] : 0;
        if ((c == L'/' && cNext == L'/') || c == L';') {
            while (i < n && t[i] != L'\n') ++i;
            ++i;
        } else if (c == L'/' && cNext == L'*') {
            int j = i + 2;
            while (j + 1 < n && !(t[j] == L'*' && t[j + 1] == L'/')) ++j;
            i = (j + 1 < n) ? j + 2 : n;
        } else if (MOJI_isZen(c)) {
            while (i < n && MOJI_isZen(t[i])) ++i;
        } else if (c == L'\t' || c == L'\r' || c == L'\n') {
            ++i;
        } else if (!isDelimiter(t, i)) {
            ++i;
        } else {
            const int iLen = isDelimiter2(t + i, n - i, szWord, ENTRY_LENGTH + 1);
            if (iLen == 0) {
                ++i;
                continue;
            }
            i += iLen;
            const wchar_t cAfter = (i < n) ? t[i] : 0;
            int iTable = TABLE_OTHER;
            int iMax = OTHER_MAX;
            if (cAfter == L'(') {
                iTable = TABLE_SCRIPT;
                iMax = SCRIPT_MAX;
            } else if (cAfter == L':') {
                iTable = TABLE_LABEL;
                iMax = LABEL_MAX;
            } else if (cAfter == L'[') {
                iTable = TABLE_FLAG;
                iMax = FLAG_MAX;
            }
            if (iTable != TABLE_OTHER) ++i;
            addEntry(m_cTable[iTable], iMax, szWord, iLen);
        }
    }
}

void LISTUPSCR::Quit(int)
{
    if (m_iActive == 0) return;
    m_iActive = 0;
    m_iInit = 0;
    static const struct {
        int m_iTable;
        const wchar_t* m_pHead;
    } s_astReport[] = {
        {TABLE_SCRIPT, L"●script(s) %d entry"},
        {TABLE_FLAG, L"\n\n●flag(s) %d entry"},
        {TABLE_LABEL, L"\n\n●label(s) %d entry"},
        {TABLE_OTHER, L"\n\n●etc(s) %d entry"},
    };
    for (const auto& stReport : s_astReport) {
        LISTUPSCR_TABLE& cTable = m_cTable[stReport.m_iTable];
        sortEntries(cTable.m_vEntry);
        Message_info(stReport.m_pHead, static_cast<int>(cTable.m_vEntry.size()));
        for (const std::wstring& strEntry : cTable.m_vEntry) Message_info(L"%s", strEntry.c_str());
    }
    for (LISTUPSCR_TABLE& cTable : m_cTable) {
        std::vector<std::wstring>().swap(cTable.m_vEntry);
        std::unordered_set<std::wstring>().swap(cTable.m_setEntry);
    }
}
