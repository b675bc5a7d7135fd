#include "krelwin/module/common/kanji_check.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "kelto/tools/debug.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(KANJI_CHECK)

namespace {

const unsigned char KIND_UNKNOWN = 0xFF;

// Rooms of the collections, in the order of the sets.
const int s_aRoom[] = {
    KANJI_CHECK::ROOM_ALL1, KANJI_CHECK::ROOM_ALL, KANJI_CHECK::ROOM_ALL, KANJI_CHECK::ROOM_ALL,
    KANJI_CHECK::ROOM_ALL, KANJI_CHECK::ROOM_SUB, KANJI_CHECK::ROOM_SUB, KANJI_CHECK::ROOM_SUB,
    KANJI_CHECK::ROOM_SUB,
};

} // namespace

KANJI_CHECK::KANJI_CHECK()
{
    // The whole object starts cleared; the conversion cache starts unknown.
    m_iInit = 0;
    m_iActive = 0;
    pKnjall1 = pKnjall2 = pKnjallNEC = pKnjallIBM = pKnjallEXT = 0;
    pKnjsub2 = pKnjsubNEC = pKnjsubIBM = pKnjsubEXT = 0;
    std::memset(m_aFile, 0, sizeof(m_aFile));
    std::memset(m_aTotal, 0, sizeof(m_aTotal));
    m_iDetail = 0;
    std::memset(m_aLength, 0, sizeof(m_aLength));
    std::memset(m_aHeld, 0, sizeof(m_aHeld));
    std::memset(m_aKind, KIND_UNKNOWN, sizeof(m_aKind));
    m_uRunTimer = 0;
    m_iRunLine = -1;
    m_iRunFile = -1;
}

KANJI_CHECK::~KANJI_CHECK()
{
    release();
}

wchar_t** KANJI_CHECK::setText(int _iSet)
{
    switch (_iSet) {
    case SET_ALL1: return &pKnjall1;
    case SET_ALL2: return &pKnjall2;
    case SET_ALLNEC: return &pKnjallNEC;
    case SET_ALLIBM: return &pKnjallIBM;
    case SET_ALLEXT: return &pKnjallEXT;
    case SET_SUB2: return &pKnjsub2;
    case SET_SUBNEC: return &pKnjsubNEC;
    case SET_SUBIBM: return &pKnjsubIBM;
    default: return &pKnjsubEXT;
    }
}

void KANJI_CHECK::release()
{
    for (int i = 0; i < SET_COUNT; ++i) {
        MEM_free(setText(i));
        m_aLength[i] = 0;
    }
    std::memset(m_aHeld, 0, sizeof(m_aHeld));
}

void KANJI_CHECK::emptySet(int _iSet)
{
    wchar_t* pText = *setText(_iSet);
    if (pText) pText[0] = 0;
    m_aLength[_iSet] = 0;
    std::memset(m_aHeld[_iSet], 0, sizeof(m_aHeld[_iSet]));
}

int KANJI_CHECK::Initialize()
{
    if (m_iInit == 1) return 1;
    m_iInit = 1;
    release();
    static const wchar_t* const s_apName[] = {
        L"pKnjall1", L"pKnjall2", L"pKnjallNEC", L"pKnjallIBM", L"pKnjallEXT",
        L"pKnjsub2", L"pKnjsubNEC", L"pKnjsubIBM", L"pKnjsubEXT",
    };
    for (int i = 0; i < SET_COUNT; ++i) {
        wchar_t** ppText = setText(i);
        *ppText = KELTO_NEW("KANJI_CHECK::Initialize") wchar_t[s_aRoom[i] + 1];
        KELTO_ASSERT_MSG(NULL != *ppText, L"NULL != %s", s_apName[i]);
    }
    for (int i = 0; i < SET_COUNT; ++i) {
        if (!*setText(i)) {
            // Set-up is tried again at the next target.
            release();
            m_iInit = 0;
            return 0;
        }
    }
    for (int i = 0; i < SET_COUNT; ++i) emptySet(i);
    std::memset(m_aFile, 0, sizeof(m_aFile));
    std::memset(m_aTotal, 0, sizeof(m_aTotal));
    return 1;
}

int KANJI_CHECK::Category(unsigned int _uCode)
{
    if (_uCode >= 0x8140 && _uCode <= 0x9872) return KIND_LEVEL1;
    if (_uCode >= 0x9890 && _uCode <= 0xEAA4) return KIND_LEVEL2;
    if (_uCode >= 0xED40 && _uCode <= 0xEEFB) return KIND_NEC;
    if (_uCode >= 0xFA40 && _uCode <= 0xFC4B) return KIND_IBM;
    // The whole user-defined area of code page 932 (U+E000 to U+E757).
    if (_uCode >= 0xF040 && _uCode <= 0xF9FC) return KIND_EXT;
    return KIND_NONE;
}

int KANJI_CHECK::Classify(wchar_t _cUnit)
{
    unsigned char& cKind = m_aKind[static_cast<unsigned short>(_cUnit)];
    if (cKind == KIND_UNKNOWN) {
        const wchar_t szOne[2] = {_cUnit, 0};
        CTOSJIS cBytes(szOne);
        const char* pBytes = cBytes.Get();
        int iKind = KIND_NONE;
        // One byte (ASCII, half-width katakana, the replacement character) is no kind.
        if (pBytes && pBytes[0] && pBytes[1]) {
            iKind = Category(static_cast<unsigned char>(pBytes[0]) * 256u + static_cast<unsigned char>(pBytes[1]));
        } else if (!pBytes) {
            return KIND_NONE;  // out of memory: not cached, tried again next time
        }
        cKind = static_cast<unsigned char>(iKind);
    }
    return cKind;
}

int KANJI_CHECK::isNew(const wchar_t* _pCollection, const wchar_t* _pOne)
{
    if (!_pCollection || !_pOne || !_pOne[0]) return 0;
    return STRING_chr(_pCollection, _pOne[0]) ? 0 : 1;
}

void KANJI_CHECK::collect(int _iSet, wchar_t _cUnit)
{
    wchar_t* pText = *setText(_iSet);
    if (!pText) return;
    // The room is tested first: a full collection reports every further character.
    if (m_aLength[_iSet] >= s_aRoom[_iSet]) {
        Message_win(L"領域オーバー");
        return;
    }
    const unsigned int uUnit = static_cast<unsigned short>(_cUnit);
    uint32_t& uWord = m_aHeld[_iSet][uUnit >> 5];
    const uint32_t uBit = 1u << (uUnit & 31);
    if (uWord & uBit) return;
    uWord |= uBit;
    pText[m_aLength[_iSet]++] = _cUnit;
    pText[m_aLength[_iSet]] = 0;
}

int KANJI_CHECK::checkMoji(const wchar_t* _pChar)
{
    if (!_pChar) return 1;
    const int iKind = Classify(_pChar[0]);
    if (iKind == KIND_NONE) return 1;
    m_aFile[iKind]++;
    m_aTotal[iKind]++;
    if (iKind == KIND_LEVEL1) {
        if (m_iDetail >= 2) collect(SET_ALL1, _pChar[0]);
        return 1;
    }
    // Level 2, NEC, IBM and user-defined: run set SET_ALL2 + n, file set SET_SUB2 + n.
    const int iOffset = iKind - KIND_LEVEL2;
    if (m_iDetail >= 1) collect(SET_SUB2 + iOffset, _pChar[0]);
    collect(SET_ALL2 + iOffset, _pChar[0]);
    return 1;
}

void KANJI_CHECK::printFile(const wchar_t* _pTarget)
{
    if (m_iDetail >= 1) {
        Message_info(L"<%s>", _pTarget ? _pTarget : L"");
        if (m_aFile[KIND_LEVEL1] > 0) Message_info(L"第1水準 = %d", m_aFile[KIND_LEVEL1]);
        static const wchar_t* const s_apFormat[] = {
            L"第2水準 = %d\r\n\t%s %d(s)",
            L"NEC選定IBM拡張 = %d\r\n\t%s %d(s)",
            L"IBM拡張 = %d\r\n\t%s %d(s)",
            L"外字 = %d\r\n\t%s %d(s)",
        };
        for (int i = 0; i < 4; ++i) {
            const int iKind = KIND_LEVEL2 + i;
            const int iSet = SET_SUB2 + i;
            const wchar_t* pText = *setText(iSet);
            if (m_aFile[iKind] > 0) Message_info(s_apFormat[i], m_aFile[iKind], pText ? pText : L"", m_aLength[iSet]);
        }
        Message_win(L"");
    }
    for (int i = 0; i < 4; ++i) emptySet(SET_SUB2 + i);
    std::memset(m_aFile, 0, sizeof(m_aFile));
}

void KANJI_CHECK::checkNewRun()
{
    if (!s_stGl.m_iRunning || s_stGl.TimerID == 0 || s_stGl.m_itScript == s_stGl.m_lstScript.end()) return;
    const unsigned int uTimer = s_stGl.TimerID;
    const int iLine = static_cast<int>(std::distance(s_stGl.m_lstScript.begin(), s_stGl.m_itScript));
    const int iFile = s_stGl.m_iFileIndex;
    // Within a line every target comes once, in order; the end of a line calls Quit.
    if (uTimer != m_uRunTimer || iLine != m_iRunLine || iFile <= m_iRunFile) {
        m_iInit = 0;
        m_iActive = 0;
    }
    m_uRunTimer = uTimer;
    m_iRunLine = iLine;
    m_iRunFile = iFile;
}

int KANJI_CHECK::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    m_iDetail = cParam.GetArgInt(1, 0);
    checkNewRun();
    if (!Initialize()) return 0;
    if (!pTarget) return 0;

    wchar_t* pText = 0;
    int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        return 0;
    }
    m_iActive = 1;
    iLength = FILT_deleteREM(pText, iLength, L"//", L"/*", L"*/", L'"');
    iLength = FILT_deleteTailSpace(pText, iLength);
    for (int i = 0; i < iLength;) {
        BUSY_poll();
        i += checkMoji(pText + i);
    }
    printFile(pTarget);
    MEM_free(&pText);
    return 1;
}

void KANJI_CHECK::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
    // Left by a run that was stopped: no report at the end of a line of this one.
    if (s_stGl.m_iRunning && s_stGl.TimerID != 0 && s_stGl.TimerID != m_uRunTimer) {
        release();
        return;
    }
    Message_win(L"\r\n---TOTAL---");
    if (m_aTotal[KIND_LEVEL1] > 0) {
        if (m_aLength[SET_ALL1] == 0)
            Message_info(L"第1水準漢字    = %dｹ所", m_aTotal[KIND_LEVEL1]);
        else
            Message_info(L"第1水準漢字    = %dｹ所\r\n%s %d(s)", m_aTotal[KIND_LEVEL1], pKnjall1, m_aLength[SET_ALL1]);
    }
    static const wchar_t* const s_apFormat[] = {
        L"第2水準漢字    = %dｹ所\r\n%s %d(s)",
        L"NEC選定IBM拡張 = %dｹ所\r\n%s %d(s)",
        L"IBM拡張        = %dｹ所\r\n%s %d(s)",
        L"外字           = %dｹ所\r\n%s %d(s)",
    };
    for (int i = 0; i < 4; ++i) {
        const int iKind = KIND_LEVEL2 + i;
        const int iSet = SET_ALL2 + i;
        const wchar_t* pText = *setText(iSet);
        if (m_aTotal[iKind] > 0) Message_info(s_apFormat[i], m_aTotal[iKind], pText ? pText : L"", m_aLength[iSet]);
    }
    release();
}
