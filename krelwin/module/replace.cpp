// REPLASE: one target per Func, the rule matching and the writing of replacements.
#include "krelwin/module/replace.h"

#include <new>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/output_inplace.h"
#include "krelwin/params/kvlparam.h"
#include "krelwin/params/rangecheck.h"

namespace {

const wchar_t CHAR_TAB = L'\t';
const wchar_t CHAR_CR = L'\r';
const wchar_t CHAR_LF = L'\n';
const wchar_t* const REMARK_OPEN = L"\t//R:";

bool rep_isDigit(wchar_t _c)
{
    return _c >= L'0' && _c <= L'9';
}

bool rep_isWordUnit(wchar_t _c)
{
    return _c >= L'0' && _c <= L'z';
}

bool rep_isZen(wchar_t _c)
{
    return MOJI_isZen(_c) != 0;
}

// The end of the run of units of one class that starts at _iPos; _iPos when none is there.
int rep_run(const wchar_t* _pText, int _iPos, int _iLength, bool (*_pIs)(wchar_t))
{
    while (_iPos < _iLength && _pIs(_pText[_iPos])) ++_iPos;
    return _iPos;
}

bool rep_isTab(wchar_t _c)
{
    return _c == CHAR_TAB;
}

// Where the block that starts at _iPos ends: at the CR of the next blank line, or the end.
int rep_blockEnd(const wchar_t* _pText, int _iPos, int _iLength)
{
    while (_iPos < _iLength && !(_pText[_iPos] == CHAR_CR && _iPos + 2 < _iLength && _pText[_iPos + 2] == CHAR_CR))
        ++_iPos;
    return _iPos;
}

// The TABs that indent the line of a match: those that end at the nearest control unit
// before it.
int rep_indent(const wchar_t* _pText, int _iPos)
{
    if (_iPos <= 0) return 0;
    int j = _iPos - 1;
    while (j > 0 && _pText[j] >= 0x20) --j;
    int iIndent = 0;
    while (j >= 0 && _pText[j] == CHAR_TAB) {
        ++iIndent;
        --j;
    }
    return iIndent;
}

} // namespace

MODULE_DEFINE_CREATOR(REPLASE)

REPLASE::REPLASE()
    : m_pRule(0), m_iRuleCount(0), m_iStop(0), m_iReplaced(0), m_iNumber(0), m_iMode(0), m_iWord(0),
      m_iTried(0), m_iLoaded(0)
{
    m_szRuleFile[0] = 0;
    resetRemark();
}

REPLASE::~REPLASE()
{
    freeRules();
}

void REPLASE::freeRules()
{
    if (m_pRule) {
        delete[] m_pRule;
        m_pRule = 0;
    }
    m_iRuleCount = 0;
}

void REPLASE::Quit(int)
{
    freeRules();
    m_szRuleFile[0] = 0;
    m_iTried = 0;
    m_iLoaded = 0;
}

void REPLASE::resetRemark()
{
    STRING_cpy(m_szRemark, REMARK_OPEN);
}

int REPLASE::Init(const wchar_t* _pRuleFile)
{
    wchar_t szName[NAME_LENGTH];
    STRING_cpy(szName, _pRuleFile ? _pRuleFile : L"", NAME_LENGTH - 1);
    szName[NAME_LENGTH - 1] = 0;
    if (m_iTried && STRING_cmp(szName, m_szRuleFile) == 0) return m_iLoaded;

    // A failed load is remembered too, so the other targets of the line do not log it again.
    m_iTried = 1;
    STRING_cpy(m_szRuleFile, szName);
    freeRules();

    wchar_t* pText = 0;
    const int iLength = szName[0] ? MEM_TextRead(&pText, szName) : 0;
    if (iLength <= 0) {
        MEM_free(&pText);
        Message_err(L"no inifile.%s", szName);
        m_iLoaded = 0;
        return m_iLoaded;
    }
    m_iLoaded = loadRules(pText, iLength, szName) ? 1 : -1;
    MEM_free(&pText);
    return m_iLoaded;
}

int REPLASE::Func(const wchar_t* _pLine)
{
    CKvlParam cParam(_pLine);
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) pTarget = L"";
    const wchar_t* pRuleFile = cParam.GetParam(1);
    const wchar_t* pOutput = 0;
    if (cParam.GetParam(2)) {
        pOutput = cParam.GetFilePath(2);
        if (!pOutput) {
            // Writing over the target instead would lose it.
            Message_err(L"出力ファイル名が長すぎます. %s", cParam.GetParam(2));
            return 0;
        }
    }
    const int iMode = cParam.GetOptionInt(L'm', 0);
    const int iOption = cParam.FindOption(L'o');
    m_iWord = (iOption >= 0 && cParam.CheckOptionChar(iOption, L'p')) ? 1 : 0;

    // A malformed rule file leaves the target as it is; without a rule file the text
    // passes unchanged (no table: no rule matches).
    if (Init(pRuleFile) < 0) return 0;

    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0) {
        MEM_free(&pText);
        Message_err(L"file read error.%s", Get_FileName(pTarget));
        return 0;
    }
    // The text is written up to its first NUL: the rest would be lost.
    if (Output_HoldsNul(pText, iLength, pTarget)) {
        MEM_free(&pText);
        return 0;
    }

    m_iReplaced = 0;
    m_iStop = 0;
    const long long llCap = ((static_cast<long long>(OUT_ALLOC) * iLength + 1023) / 1024) * 1024;
    wchar_t* pOut = (llCap < 0x40000000LL) ? KELTO_NEW("REPLASE::Func") wchar_t[static_cast<int>(llCap)] : 0;
    if (!pOut) {
        MEM_free(&pText);
        Message_err(L"メモリ割り当てに失敗しました. %s", Get_FileName(pTarget));
        return 0;
    }
    const int iCap = static_cast<int>(llCap);
    pOut[0] = 0;

    if (iMode == 2) {
        MEM_copy(pOut, pText, (iLength + 1) * static_cast<int>(sizeof(wchar_t)));
        if (Regex_replace(pOut, iCap, m_pRule, m_iRuleCount) < 0)
            Message_err(L"正規表現が無効です。USE_BOOSTを有効にしてビルドして下さい.");
    } else {
        m_iMode = iMode;
        if (m_iMode == 1) resetRemark();
        replaceText(pText, iLength, pOut, iCap);
    }

    if (m_iStop) {
        // A cut text is not written over the target; the overflow is logged.
        MEM_free(&pText);
        delete[] pOut;
        return 0;
    }
    Message_info(L"%s replaced.%d", Get_FileName(pTarget), m_iReplaced);
    const int iWritten = Write_OutTextChanged(pOutput ? pOutput : pTarget, pTarget, pText, iLength, pOut);
    MEM_free(&pText);
    delete[] pOut;
    return iWritten > 0 ? 1 : 0;
}

int REPLASE::isDelimiter(wchar_t _c)
{
    if (_c == L' ' || _c == CHAR_TAB || _c == CHAR_CR || _c == CHAR_LF) return 1;
    for (const wchar_t* p = L"+-*/;:@[]|!#$%&'()=^<>?,.\\"; *p; ++p) {
        if (*p == _c) return 1;
    }
    return 0;
}

int REPLASE::matchOne(const REPLASE_RULE& _stRule, const wchar_t* _pText, int _iPos, int _iLength,
                      REPLASE_MATCH* _pMatch)
{
    const wchar_t* s = _stRule.m_szSearch;
    int t = _iPos;
    _pMatch->m_iSpanCount = 0;
    while (*s) {
        if (t < _iLength && *s == _pText[t]) {
            ++s;
            ++t;
            continue;
        }
        if (*s != L'\\') return 0;
        const int k = escapeIndex(s + 1);
        const int iStart = t;
        switch (k) {
        case ESC_TS:
            t = rep_run(_pText, t, _iLength, rep_isTab);
            break;
        case ESC_STR:
            if (t < _iLength) ++t;
            else return 0;
            break;
        case ESC_VAL:
            t = rep_run(_pText, t, _iLength, rep_isDigit);
            break;
        case ESC_KNJ:
            t = rep_run(_pText, t, _iLength, rep_isZen);
            break;
        case ESC_WRD:
            t = rep_run(_pText, t, _iLength, rep_isWordUnit);
            break;
        case ESC_BLK:
            break;
        default:
            return 0;
        }
        // Every escape but the marker takes one unit at least.
        if (k != ESC_BLK && t == iStart) return 0;
        const int n = _pMatch->m_iSpanCount;
        if (n < REPLASE_MATCH::SPAN_MAX) {
            _pMatch->m_aKeyword[n] = k;
            _pMatch->m_aStart[n] = iStart;
            _pMatch->m_aEnd[n] = t;
            _pMatch->m_iSpanCount = n + 1;
        }
        s += 1 + escapeLength(k);
    }
    // A pattern of markers alone takes nothing and would never move on.
    if (t == _iPos) return 0;
    if (m_iWord) {
        if (_iPos > 0 && !isDelimiter(_pText[_iPos - 1])) return 0;
        if (t >= _iLength || !isDelimiter(_pText[t])) return 0;
    }
    _pMatch->m_iEnd = t;
    return 1;
}

int REPLASE::matchRule(const wchar_t* _pText, int _iPos, int _iLength, REPLASE_MATCH* _pMatch)
{
    if (!m_pRule || !_pText || !_pMatch) return -1;
    for (int i = 0; i < m_iRuleCount; ++i) {
        if (matchOne(m_pRule[i], _pText, _iPos, _iLength, _pMatch)) return i;
    }
    return -1;
}

bool REPLASE::buildIndex()
{
    try {
        buildIndexTables();
        return true;
    } catch (const std::bad_alloc&) {
        // Without memory for the index every rule is tried, as matchRule does.
        m_vFirstBegin.clear();
        m_vFirstRule.clear();
        m_vAnyRule.clear();
        return false;
    }
}

void REPLASE::buildIndexTables()
{
    const int iUnits = 0x10000;
    m_vFirstBegin.assign(iUnits + 1, 0);
    m_vFirstRule.clear();
    m_vAnyRule.clear();
    if (!m_pRule) return;
    // Counting sort by first unit: each bucket keeps table order.
    for (int i = 0; i < m_iRuleCount; ++i) {
        const wchar_t c = m_pRule[i].m_szSearch[0];
        if (c && c != L'\\') ++m_vFirstBegin[static_cast<unsigned short>(c) + 1];
    }
    for (int u = 0; u < iUnits; ++u) m_vFirstBegin[u + 1] += m_vFirstBegin[u];
    m_vFirstRule.resize(m_vFirstBegin[iUnits]);
    std::vector<int> vNext(m_vFirstBegin.begin(), m_vFirstBegin.end() - 1);
    for (int i = 0; i < m_iRuleCount; ++i) {
        const wchar_t c = m_pRule[i].m_szSearch[0];
        if (c == L'\\') m_vAnyRule.push_back(i);
        else if (c) m_vFirstRule[vNext[static_cast<unsigned short>(c)]++] = i;
    }
}

int REPLASE::matchIndexed(const wchar_t* _pText, int _iPos, int _iLength, REPLASE_MATCH* _pMatch)
{
    // A pattern whose first unit is not '\' matches only where the text holds that unit; the
    // rules of both lists are tried in merged table order, so the first match is matchRule's.
    const unsigned short u = static_cast<unsigned short>(_pText[_iPos]);
    const int* pFirst = m_vFirstRule.data() + m_vFirstBegin[u];
    const int* const pFirstEnd = m_vFirstRule.data() + m_vFirstBegin[u + 1];
    const int* pAny = m_vAnyRule.data();
    const int* const pAnyEnd = pAny + m_vAnyRule.size();
    while (pFirst != pFirstEnd || pAny != pAnyEnd) {
        int i;
        if (pAny == pAnyEnd || (pFirst != pFirstEnd && *pFirst < *pAny)) i = *pFirst++;
        else i = *pAny++;
        if (matchOne(m_pRule[i], _pText, _iPos, _iLength, _pMatch)) return i;
    }
    return -1;
}

int REPLASE::put(wchar_t* _pOut, int _iCap, int* _pOutLen, const wchar_t* _pUnits, int _iCount)
{
    for (int i = 0; i < _iCount; ++i) {
        if (*_pOutLen >= _iCap - 1) {
            if (!m_iStop) {
                Message_err(L"容量をオーバーしました。replase の OUT_ALLOC(%d) を増やしてリビルドして下さい",
                            static_cast<int>(OUT_ALLOC));
                m_iStop = 1;
            }
            return 0;
        }
        _pOut[(*_pOutLen)++] = _pUnits[i];
    }
    return 1;
}

int REPLASE::putReplace(const wchar_t* _pText, int _iPos, int _iLength, wchar_t* _pOut, int _iCap,
                        int* _pOutLen, const REPLASE_RULE& _stRule, const REPLASE_MATCH& _stMatch)
{
    if (m_iMode == 1) {
        // Only whole patterns go into the remark; those that no longer fit are left out.
        if (STRING_len(m_szRemark) + STRING_len(_stRule.m_szSearch) < REMARK_LENGTH)
            STRING_cat(m_szRemark, _stRule.m_szSearch);
    }
    const int iIndent = rep_indent(_pText, _iPos);
    static const wchar_t s_cTab = CHAR_TAB;

    int iResume = _stMatch.m_iEnd;
    int iSpan = 0;  // captures are taken from the pattern's escapes in order
    const wchar_t* r = _stRule.m_szReplace;
    while (*r && !m_iStop) {
        if (rep_isZen(*r) || *r != L'\\') {
            put(_pOut, _iCap, _pOutLen, r, 1);
            ++r;
            continue;
        }
        if (r[1] == L'\\') {
            put(_pOut, _iCap, _pOutLen, r, 1);
            ++r;
            continue;
        }
        const int k = escapeIndex(r + 1);
        switch (k) {
        case ESC_N:
            put(_pOut, _iCap, _pOutLen, L"\r\n", 2);
            for (int i = 0; i < iIndent; ++i) put(_pOut, _iCap, _pOutLen, &s_cTab, 1);
            break;
        case ESC_T:
            put(_pOut, _iCap, _pOutLen, &s_cTab, 1);
            break;
        case ESC_STR:
            put(_pOut, _iCap, _pOutLen, r + 1, 3);
            break;
        case -1:
            if (r[1]) put(_pOut, _iCap, _pOutLen, r + 1, 1);
            r += r[1] ? 2 : 1;
            continue;
        default: {
            // A capture: what the pattern's next escape of the same keyword took; empty
            // when the pattern has none.
            int n = iSpan;
            while (n < _stMatch.m_iSpanCount && _stMatch.m_aKeyword[n] != k) ++n;
            if (n < _stMatch.m_iSpanCount) {
                iSpan = n + 1;
                const int iStart = _stMatch.m_aStart[n];
                int iEnd = _stMatch.m_aEnd[n];
                if (k == ESC_BLK) {
                    iEnd = rep_blockEnd(_pText, iStart, _iLength);
                    if (iEnd > iResume) iResume = iEnd;
                }
                put(_pOut, _iCap, _pOutLen, _pText + iStart, iEnd - iStart);
            }
            break;
        }
        }
        r += 1 + escapeLength(k);
    }
    return iResume;
}

int REPLASE::replaceText(const wchar_t* _pText, int _iLength, wchar_t* _pOut, int _iCap)
{
    if (!_pText || _iLength <= 0 || !_pOut || _iCap <= 0) return -1;
    s_cRangeCheck.Init(_pText, _iLength);
    const bool bIndexed = buildIndex();
    int iOutLen = 0;
    REPLASE_MATCH stMatch;
    int i = 0;
    while (i < _iLength && !m_iStop) {
        BUSY_poll();
        if (s_cRangeCheck.IsSkip(_pText, i, _iLength)) {
            put(_pOut, _iCap, &iOutLen, _pText + i, 1);
            ++i;
            continue;
        }
        const int iRule = !m_pRule ? -1
                          : bIndexed ? matchIndexed(_pText, i, _iLength, &stMatch)
                                     : matchRule(_pText, i, _iLength, &stMatch);
        if (iRule >= 0) {
            i = putReplace(_pText, i, _iLength, _pOut, _iCap, &iOutLen, m_pRule[iRule], stMatch);
            ++m_iReplaced;
            continue;
        }
        const wchar_t c = _pText[i];
        if (m_iMode == 1 && (c == CHAR_CR || c == CHAR_LF) && STRING_len(m_szRemark) > STRING_len(REMARK_OPEN)) {
            put(_pOut, _iCap, &iOutLen, m_szRemark, STRING_len(m_szRemark));
            resetRemark();
        }
        put(_pOut, _iCap, &iOutLen, _pText + i, 1);
        ++i;
    }
    _pOut[iOutLen] = 0;
    return iOutLen;
}

int Regex_replace(wchar_t*, int, const REPLASE_RULE*, int)
{
    return -1;
}
