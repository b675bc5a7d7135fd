// REPLASE: reading a rule file's text into the rule table.
// A rule line is a search text, one or more TABs and a replacement text; a field ends at
// any unit below 0x20. A line with a search text alone deletes that text.
#include "krelwin/module/replace.h"

#include <climits>
#include <new>
#include <vector>

#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"

namespace {

const wchar_t* const s_apKeyword[REPLASE::ESC_COUNT] = {
    L"n", L"ts", L"t", L"str", L"val", L"knj", L"wrd", L"blk",
};

const wchar_t CHAR_TAB = L'\t';

// Line number (from 1) of a position, for messages.
int rule_lineOf(const wchar_t* _pText, int _iPos)
{
    int iLine = 1;
    for (int i = 0; i < _iPos; ++i) {
        if (_pText[i] == L'\n') ++iLine;
    }
    return iLine;
}

// The position after the TABs that follow _iPos (within the text).
int rule_skipTabs(const wchar_t* _pText, int _iPos, int _iLength)
{
    while (_iPos < _iLength && _pText[_iPos] == CHAR_TAB) ++_iPos;
    return _iPos;
}

bool rule_isDigit(wchar_t _c)
{
    return _c >= L'0' && _c <= L'9';
}

// The decimal value of the digits at the text, held at INT_MAX.
int rule_digits(const wchar_t* _pText)
{
    long long llValue = 0;
    for (; rule_isDigit(*_pText); ++_pText) {
        llValue = llValue * 10 + (*_pText - L'0');
        if (llValue > INT_MAX) llValue = INT_MAX;
    }
    return static_cast<int>(llValue);
}

// "\num" at the start of a replacement.
bool rule_isNumber(const wchar_t* _pReplace)
{
    return _pReplace[0] == L'\\' && _pReplace[1] == L'n' && _pReplace[2] == L'u' && _pReplace[3] == L'm';
}

} // namespace

int REPLASE::escapeIndex(const wchar_t* _pText)
{
    if (!_pText) return -1;
    for (int k = 0; k < ESC_COUNT; ++k) {
        const wchar_t* pKey = s_apKeyword[k];
        int i = 0;
        while (pKey[i] && _pText[i] == pKey[i]) ++i;
        if (!pKey[i]) return k;
    }
    return -1;
}

int REPLASE::escapeLength(int _iKeyword)
{
    return (_iKeyword >= 0 && _iKeyword < ESC_COUNT) ? STRING_len(s_apKeyword[_iKeyword]) : 0;
}

int REPLASE::readField(const wchar_t* _pText, int _iPos, int _iLength, wchar_t* _pField, int* _pFull)
{
    int iFull = 0;
    while (_iPos < _iLength && _pText[_iPos] >= 0x20) {
        if (iFull < FIELD_LENGTH - 1) _pField[iFull] = _pText[_iPos];
        ++iFull;
        ++_iPos;
    }
    _pField[iFull < FIELD_LENGTH - 1 ? iFull : FIELD_LENGTH - 1] = 0;
    if (_pFull) *_pFull = iFull;
    if (_iPos >= _iLength) return _iPos;
    return rule_skipTabs(_pText, _iPos + 1, _iLength);
}

void REPLASE::convEscape(wchar_t* _pSearch)
{
    wchar_t szCopy[FIELD_LENGTH];
    STRING_cpy(szCopy, _pSearch, FIELD_LENGTH - 1);
    szCopy[FIELD_LENGTH - 1] = 0;
    int iOut = 0;
    for (int i = 0; szCopy[i]; ++i) {
        if (szCopy[i] == L'\\' && szCopy[i + 1] == L'n') {
            _pSearch[iOut++] = L'\r';
            _pSearch[iOut++] = L'\n';
            ++i;
        } else if (szCopy[i] == L'\\' && szCopy[i + 1] == L't' && szCopy[i + 2] != L's') {
            _pSearch[iOut++] = CHAR_TAB;
            ++i;
        } else {
            _pSearch[iOut++] = szCopy[i];
        }
    }
    _pSearch[iOut] = 0;
}

int REPLASE::loadRules(const wchar_t* _pText, int _iLength, const wchar_t* _pName)
{
    freeRules();
    if (!_pText || _iLength <= 0) return 0;
    try {
        return buildRules(_pText, _iLength, _pName);
    } catch (const std::bad_alloc&) {
        freeRules();
        Message_err(L"メモリ割り当てに失敗しました. %s", _pName);
        return 0;
    }
}

int REPLASE::buildRules(const wchar_t* _pText, int _iLength, const wchar_t* _pName)
{
    for (int i = 0; i < _iLength; ++i) {
        if (_pText[i] == 0) {
            // Not a text of this code page (UTF-16, say): every unit would end a field and
            // the file would turn into rules that delete single letters.
            Message_err(L"テキストにNUL文字が含まれています. %s", _pName);
            return 0;
        }
    }

    std::vector<REPLASE_RULE> vRules;
    REPLASE_RULE stRule;
    int iPos = 0;
    while (iPos < _iLength) {
        BUSY_poll();
        const int iStart = iPos;
        int iFull = 0;
        iPos = readField(_pText, iPos, _iLength, stRule.m_szSearch, &iFull);
        if (iFull >= FIELD_LENGTH) {
            Message_err(L"置換定義が長すぎます(%d文字まで). %s(%d)", FIELD_LENGTH - 1, _pName,
                        rule_lineOf(_pText, iStart));
            return 0;
        }
        if (iFull == 0) {
            // Blank lines and line ends give no rule; a replacement with nothing to search
            // for would otherwise be read as a search text that deletes itself.
            const bool bTabs = _pText[iStart] == CHAR_TAB || iPos > iStart + 1;
            if (bTabs && iPos < _iLength && _pText[iPos] >= 0x20) {
                Message_err(L"検索文字列が空の定義があります. %s(%d)", _pName, rule_lineOf(_pText, iPos));
                return 0;
            }
            continue;
        }
        convEscape(stRule.m_szSearch);

        const int iReplaceStart = iPos;
        iPos = readField(_pText, iPos, _iLength, stRule.m_szReplace, &iFull);
        if (iFull >= FIELD_LENGTH) {
            Message_err(L"置換定義が長すぎます(%d文字まで). %s(%d)", FIELD_LENGTH - 1, _pName,
                        rule_lineOf(_pText, iReplaceStart));
            return 0;
        }
        const int iEnd = iReplaceStart + iFull;
        if (iEnd < _iLength && _pText[iEnd] == CHAR_TAB && iPos < _iLength && _pText[iPos] >= 0x20) {
            // The third field is read as the search text of a further rule.
            Message_err(L"１行内に定義が複数存在します. %s", stRule.m_szReplace);
        }

        if (rule_isNumber(stRule.m_szReplace)) {
            if (rule_isDigit(stRule.m_szReplace[4])) {
                // Sets the next number; the line itself replaces nothing.
                m_iNumber = rule_digits(stRule.m_szReplace + 4);
                continue;
            }
            STRING_sprintf(stRule.m_szReplace, FIELD_LENGTH, L"%d", m_iNumber);
            if (m_iNumber < INT_MAX) ++m_iNumber;
        }
        vRules.push_back(stRule);
    }

    if (vRules.empty()) {
        Message_err(L"置換定義がありません. %s", _pName);
        return 0;
    }

    // Longest search first, by this exchange procedure (run on the lengths, so that each
    // record is moved once): records of equal length keep the order it leaves them in.
    const int iCount = static_cast<int>(vRules.size());
    std::vector<int> vOrder(iCount);
    std::vector<int> vLen(iCount);
    for (int i = 0; i < iCount; ++i) {
        vOrder[i] = i;
        vLen[i] = STRING_len(vRules[i].m_szSearch);
    }
    for (int i = 0; i < iCount - 1; ++i) {
        BUSY_poll();
        for (int j = i + 1; j < iCount; ++j) {
            if (vLen[vOrder[i]] < vLen[vOrder[j]]) {
                const int iSwap = vOrder[i];
                vOrder[i] = vOrder[j];
                vOrder[j] = iSwap;
            }
        }
    }

    m_pRule = KELTO_NEW("REPLASE::Init") REPLASE_RULE[iCount];
    if (!m_pRule) {
        Message_err(L"メモリ割り当てに失敗しました. %s", _pName);
        return 0;
    }
    for (int i = 0; i < iCount; ++i) m_pRule[i] = vRules[vOrder[i]];
    m_iRuleCount = iCount;
    return 1;
}
