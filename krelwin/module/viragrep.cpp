#include "krelwin/module/viragrep.h"

#include <cstring>
#include <iterator>
#include <new>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(VIRAGREP)

namespace {

// Separators of whole-word mode: ".,-+/*=;:<>()[] ", the double quote, TAB, CR and LF.
const wchar_t s_szSeparator[] = L".,-+/*=;:<>()[] \"\t\r\n";

inline int grep_isSeparator(wchar_t _c)
{
    // The terminator of an embedded NUL counts as the end of a word as well.
    return _c == 0 || STRING_chrIndex(_c, s_szSeparator) >= 0;
}

// Hit lines wait in memory and go to the work files at the end of each script line or when
// this many units wait, so that many small targets do not cost a file append per word each.
const size_t GREP_FLUSH_UNITS = 1u << 22;

} // namespace

VIRAGREP::VIRAGREP()
    : m_iInit(0), m_iActive(0), m_iFirstUse(0), m_iWordCount(0), m_uPending(0), m_uGathered(0), m_iOverLimit(0),
      m_uRunTimer(0), m_iRunLine(-1), m_iRunFile(-1)
{
    std::memset(m_aFirst, 0, sizeof(m_aFirst));
}

const wchar_t* VIRAGREP::GetWord(int _iIndex) const
{
    return (_iIndex >= 0 && _iIndex < m_iWordCount) ? m_aszWord[_iIndex] : 0;
}

int VIRAGREP::LoadWords(const wchar_t* _pText, int _iLength)
{
    // Words too long are named one by one up to this many, then counted.
    const int iNamedLong = 10;
    m_iWordCount = 0;
    int iOverflow = 0;
    int iLong = 0;
    // Only the room of a word is kept: a list with a huge line costs no copy of it.
    std::wstring strWord;
    int iWordLen = 0;
    // One past the end closes a last word that has no line break after it.
    for (int i = 0; _pText && i <= _iLength; ++i) {
        BUSY_poll();
        const wchar_t c = i < _iLength ? _pText[i] : 0;
        if (i < _iLength && c >= 0x20) {
            if (iWordLen < WORD_ROOM) strWord += c;
            iWordLen++;
            continue;
        }
        if (iWordLen == 0) continue;
        if (iWordLen >= WORD_ROOM) {
            if (++iLong <= iNamedLong)
                Message_err(L"GrepList: word too long (%d characters at most):%s%s", WORD_ROOM - 1, strWord.c_str(),
                            iWordLen > WORD_ROOM ? L"..." : L"");
        } else if (m_iWordCount >= WORD_COUNT) {
            iOverflow++;
        } else {
            STRING_cpy(m_aszWord[m_iWordCount], strWord.c_str());
            m_iWordCount++;
        }
        strWord.clear();
        iWordLen = 0;
    }
    if (iLong > iNamedLong) Message_err(L"GrepList: %d more words too long, not used", iLong - iNamedLong);
    if (iOverflow > 0)
        Message_err(L"GrepList: too many words (%d at most), %d not used", static_cast<int>(WORD_COUNT), iOverflow);
    buildIndex();
    return m_iWordCount;
}

void VIRAGREP::buildIndex()
{
    m_mapChild.clear();
    m_vEnds.assign(1, std::vector<int>());
    std::memset(m_aFirst, 0, sizeof(m_aFirst));
    for (int i = 0; i < m_iWordCount; ++i) {
        BUSY_poll();
        const wchar_t c = m_aszWord[i][0];
        m_aFirst[static_cast<unsigned short>(c) >> 5] |= 1u << (static_cast<unsigned short>(c) & 31);
        // At most 1,024 x 63 nodes: a node number shifted by 16 still fits in 32 bits.
        int iNode = 0;
        for (const wchar_t* p = m_aszWord[i]; *p; ++p) {
            const uint32_t uKey = static_cast<uint32_t>(iNode) << 16 | static_cast<unsigned short>(*p);
            const auto it = m_mapChild.find(uKey);
            if (it != m_mapChild.end()) {
                iNode = it->second;
            } else {
                const int iChild = static_cast<int>(m_vEnds.size());
                m_vEnds.push_back(std::vector<int>());
                m_mapChild[uKey] = iChild;
                iNode = iChild;
            }
        }
        m_vEnds[iNode].push_back(i);
    }
    m_vPending.assign(m_iWordCount, std::wstring());
    m_uPending = 0;
    m_vFailed.assign(m_iWordCount, 0);
}

void VIRAGREP::Initialize(const wchar_t* _pListFile)
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    if (m_iFirstUse != 0) return;
    m_iFirstUse = 1;
    if (!_pListFile) _pListFile = L"";
    Message_info(L"GrepList:%s", _pListFile);
    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, _pListFile);
    LoadWords(pText, iLength > 0 ? iLength : 0);
    MEM_free(&pText);
}

int VIRAGREP::HitFileName(wchar_t* _pOut, int _iSize, int _iIndex, const wchar_t* _pWord)
{
    if (!_pOut || _iSize <= 0 || !_pWord) return 0;
    _pOut[0] = 0;
    std::wstring strName;
    wchar_t szUnit[16];
    STRING_sprintf(szUnit, 16, L"%d", _iIndex);
    strName = szUnit;
    for (int i = 0; _pWord[i]; ++i) {
        const wchar_t c = _pWord[i];
        if (STRING_chrIndex(c, L"\\/:*?\"<>|%") >= 0 || (i == 0 && c >= L'0' && c <= L'9')) {
            STRING_sprintf(szUnit, 16, L"%%%02X", static_cast<unsigned int>(c));
            strName += szUnit;
        } else {
            strName += c;
        }
    }
    strName += L".viraGrep";
    if (static_cast<int>(strName.size()) >= _iSize) return 0;
    STRING_cpy(_pOut, strName.c_str());
    return 1;
}

std::wstring VIRAGREP::hitPath(int _iIndex) const
{
    wchar_t szName[FILE_PATH_LENGTH];
    if (m_strWorkDir.empty() || !HitFileName(szName, FILE_PATH_LENGTH, _iIndex, m_aszWord[_iIndex])) return L"";
    std::wstring strPath = m_strWorkDir + szName;
    return strPath.size() < FILE_PATH_LENGTH ? strPath : L"";
}

void VIRAGREP::removeHits()
{
    for (int i = 0; i < m_iWordCount; ++i) {
        BUSY_poll();
        const std::wstring strPath = hitPath(i);
        if (!strPath.empty()) FILE_Delete(strPath.c_str());
        m_vPending[i].clear();
        m_vFailed[i] = 0;
    }
    m_uPending = 0;
    m_uGathered = 0;
    m_iOverLimit = 0;
}

void VIRAGREP::beginHits()
{
    wchar_t szDir[FILE_PATH_LENGTH + 1];
    const int iLength = FILE_GetCurrentDirectory(szDir, FILE_PATH_LENGTH);
    m_strWorkDir.clear();
    if (iLength > 0 && iLength < FILE_PATH_LENGTH - 1) {
        FILE_AddSeparator(szDir);
        m_strWorkDir = szDir;
    }
    // Files of a run that never reached its end would otherwise take this run's hits.
    removeHits();
}

void VIRAGREP::checkNewRun()
{
    if (!s_stGl.m_iRunning || s_stGl.TimerID == 0 || s_stGl.m_itScript == s_stGl.m_lstScript.end()) return;
    const unsigned int uTimer = s_stGl.TimerID;
    const int iLine = static_cast<int>(std::distance(s_stGl.m_lstScript.begin(), s_stGl.m_itScript));
    const int iFile = s_stGl.m_iFileIndex;
    // Within a run every target of every line comes once, in order, under one timer.
    const int iNewRun = uTimer != m_uRunTimer || iLine < m_iRunLine || (iLine == m_iRunLine && iFile <= m_iRunFile);
    if (m_iActive && iNewRun) {
        removeHits();
        m_iActive = 0;
    }
    m_uRunTimer = uTimer;
    m_iRunLine = iLine;
    m_iRunFile = iFile;
}

void VIRAGREP::flushHits()
{
    for (int i = 0; i < m_iWordCount; ++i) {
        BUSY_poll();
        std::wstring& strHits = m_vPending[i];
        if (strHits.empty()) continue;
        const std::wstring strPath = hitPath(i);
        if (strPath.empty() || FILE_TextWriteMerge(strPath.c_str(), strHits.c_str(), 0) <= 0) {
            if (!m_vFailed[i]) {
                m_vFailed[i] = 1;
                Message_err(L"VIRAGREP: the hits of \"%s\" cannot be written", m_aszWord[i]);
            }
        }
        strHits.clear();
    }
    m_uPending = 0;
}

void VIRAGREP::scan(const wchar_t* _pTarget, const wchar_t* _pText, int _iLength, int _iWhole)
{
    int iLineNo = 1;
    int iLineTop = 0;
    int iLineEnd = -1;  // end of the current line once a hit needed it
    wchar_t szNumber[16];
    if (m_iOverLimit) return;
    for (int i = 0; i < _iLength; ++i) {
        BUSY_poll();
        const wchar_t c = _pText[i];
        if (c == L'\n') {
            iLineNo++;
            iLineTop = i + 1;
            iLineEnd = -1;
            continue;
        }
        const unsigned int uUnit = static_cast<unsigned short>(c);
        if ((m_aFirst[uUnit >> 5] & (1u << (uUnit & 31))) && (!_iWhole || i == 0 || grep_isSeparator(_pText[i - 1]))) {
            // Each step takes one more unit of the text: the words of the node reached end there.
            int iNode = 0;
            for (int k = i; k < _iLength; ++k) {
                const auto itChild =
                    m_mapChild.find(static_cast<uint32_t>(iNode) << 16 | static_cast<unsigned short>(_pText[k]));
                if (itChild == m_mapChild.end()) break;
                iNode = itChild->second;
                if (m_vEnds[iNode].empty()) continue;
                if (_iWhole && k + 1 < _iLength && !grep_isSeparator(_pText[k + 1])) continue;
                for (int iWord : m_vEnds[iNode]) {
                    if (iLineEnd < 0) {
                        // The whole line, however long; it ends at CR, LF or an embedded NUL.
                        iLineEnd = iLineTop;
                        while (iLineEnd < _iLength && _pText[iLineEnd] != L'\r' && _pText[iLineEnd] != L'\n' &&
                               _pText[iLineEnd] != 0)
                            iLineEnd++;
                    }
                    STRING_sprintf(szNumber, 16, L"(%d): ", iLineNo);
                    const size_t uHit = STRING_len(_pTarget) + STRING_len(szNumber) + (iLineEnd - iLineTop) + 2;
                    if (uHit > HIT_LIMIT - m_uGathered) {
                        m_iOverLimit = 1;
                        Message_err(L"VIRAGREP: hits over %d characters in this run, the rest are not gathered:%s",
                                    static_cast<int>(HIT_LIMIT), _pTarget);
                        return;
                    }
                    m_uGathered += uHit;
                    std::wstring& strHits = m_vPending[iWord];
                    const size_t uBefore = strHits.size();
                    strHits += _pTarget;
                    strHits += szNumber;
                    strHits.append(_pText + iLineTop, iLineEnd - iLineTop);
                    strHits += L"\r\n";
                    m_uPending += strHits.size() - uBefore;
                }
            }
            if (m_uPending >= GREP_FLUSH_UNITS) flushHits();
        }
        // The loop watch of every scan loop.
        const int iNext = i + 1;
        if (iNext == s_stGl.m_iLoopPos) {
            if (++s_stGl.m_iLoopCount > 32000) {
                Message_err(L"ERROR : loop over");
                s_stGl.m_iAbort = 1;
                break;
            }
        } else {
            s_stGl.m_iLoopPos = iNext;
        }
    }
}

int VIRAGREP::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pList = cParam.GetParam(1);
    const int iWhole = cParam.GetArgInt(2, 0);
    Initialize(pList);
    checkNewRun();
    if (!pTarget) pTarget = L"";

    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        Message_err(L"file not found:%s", pTarget);
        return 0;
    }
    if (!m_iActive) beginHits();
    m_iActive = 1;
    try {
        scan(pTarget, pText, iLength, iWhole);
    } catch (const std::bad_alloc&) {
        // The rest of this text is not searched; what was gathered is kept where it can be.
        Message_err(L"VIRAGREP: out of memory:%s", pTarget);
        try {
            flushHits();
        } catch (const std::bad_alloc&) {
            for (std::wstring& str : m_vPending) std::wstring().swap(str);
            m_uPending = 0;
        }
    }
    MEM_free(&pText);
    return 1;
}

void VIRAGREP::report()
{
    for (int i = 0; i < m_iWordCount; ++i) {
        const std::wstring strPath = hitPath(i);
        if (strPath.empty()) continue;
        wchar_t* pText = 0;
        if (MEM_TextRead(&pText, strPath.c_str()) > 0 && pText && pText[0]) {
            Message_info(L"%s", m_aszWord[i]);
            // The whole file as one entry, without the cut of a formatted line.
            Message_win(pText);
        }
        MEM_free(&pText);
        FILE_Delete(strPath.c_str());
    }
}

void VIRAGREP::Quit(int _iFinal)
{
    if (!m_iActive) return;
    m_iInit = 0;
    flushHits();
    // The hits of every VIRAGREP line gather until the run ends, whichever line is last.
    if (_iFinal != 1) return;
    m_iActive = 0;
    // Hits left by a run that was stopped belong to no report of a later run.
    if (s_stGl.m_iRunning && s_stGl.TimerID != 0 && s_stGl.TimerID != m_uRunTimer) removeHits();
    else report();
    m_vFailed.assign(m_iWordCount, 0);
    m_uGathered = 0;
    m_iOverLimit = 0;
    m_strWorkDir.clear();
}
