// The spreadsheet DDE client: starting DDEML as a client, the workbook and sheet
// conversations, cell requests and the sheet-topic list.
#include "kelto/system/win32/dde.h"

#include <climits>
#include <new>

#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "kelto/system/win32/ddeplatform.h"
#include "kelto/tools/debug.h"

namespace {

const DWORD DDEXL_TIMEOUT_MS = 1000;
const int DDEXL_NAME_LENGTH = 256;  // service and topic names, terminator included
const int DDEXL_ITEM_LENGTH = 16;   // "R%dC%d", terminator included
// The DDE client of Wine keeps a string handle for every item an instance is answered on,
// and a process has room for some 16,000 of them: an instance is started anew after this
// many requests.
const int DDEXL_RESTART_REQUESTS = 4000;

// Starts DDE for a state that has no instance (yet, or again after ddexl_stop): a second
// DdeInitializeW on a live instance identifier is refused, so a live identifier is kept.
// When DDEML cannot be started, the file is opened in the shell and DDEML tried once more.
int ddexl_start(DDEXL_STATE* _pState, const wchar_t* _pOpen)
{
    if (_pState->m_dwInst) return 1;
    for (int iTry = 0; iTry < 2; ++iTry) {
        DWORD dwInst = 0;
        if (DdeInitializeW(&dwInst, DDEXL_Callback, APPCMD_CLIENTONLY, 0) == DMLERR_NO_ERROR) {
            _pState->m_dwInst = dwInst;
            return 1;
        }
        if (iTry == 0 && _pOpen) DDEXL_ShellOpen(_pOpen);
    }
    return 0;
}

// Ends the state's instance with whatever conversations and string handles it still holds;
// the next start makes a new one.
void ddexl_stop(DDEXL_STATE* _pState)
{
    if (_pState->m_dwInst) DdeUninitialize(_pState->m_dwInst);
    _pState->m_dwInst = 0;
    _pState->m_hszService = 0;
    _pState->m_hszTopic = 0;
    _pState->m_hConv = 0;
    _pState->m_hszTopic2 = 0;
    _pState->m_hConv2 = 0;
    _pState->m_iRequests = 0;
}

bool ddexl_isDue(const DDEXL_STATE* _pState)
{
    return _pState->m_iRequests >= DDEXL_RESTART_REQUESTS;
}

HSZ ddexl_string(DWORD _dwInst, const wchar_t* _pText)
{
    return _pText ? DdeCreateStringHandleW(_dwInst, _pText, CP_WINUNICODE) : 0;
}

void ddexl_freeString(DWORD _dwInst, HSZ__** _ppHsz)
{
    if (*_ppHsz) DdeFreeStringHandle(_dwInst, *_ppHsz);
    *_ppHsz = 0;
}

// A conversation that its partner has ended (the spreadsheet closed) is not dropped by
// DdeDisconnect under Wine: it stays in the instance and keeps its topic from being
// connected again, so the instance is due for a fresh start.
void ddexl_disconnect(DDEXL_STATE* _pState, HCONV__** _ppConv)
{
    if (*_ppConv && !DdeDisconnect(*_ppConv)) _pState->m_iRequests = DDEXL_RESTART_REQUESTS;
    *_ppConv = 0;
}

// Drops whatever an earlier connection of the state left open.
void ddexl_release(DDEXL_STATE* _pState)
{
    ddexl_disconnect(_pState, &_pState->m_hConv);
    ddexl_disconnect(_pState, &_pState->m_hConv2);
    ddexl_freeString(_pState->m_dwInst, &_pState->m_hszService);
    ddexl_freeString(_pState->m_dwInst, &_pState->m_hszTopic);
    ddexl_freeString(_pState->m_dwInst, &_pState->m_hszTopic2);
}

// Connects the started state to "Excel" on the topic and, when given, on the sheet topic.
void ddexl_connect(DDEXL_STATE* _pState, const wchar_t* _pTopic, const wchar_t* _pTopic2)
{
    const DWORD dwInst = _pState->m_dwInst;
    _pState->m_hszService = ddexl_string(dwInst, DDEXL_SERVICE);
    _pState->m_hszTopic = ddexl_string(dwInst, _pTopic);
    if (_pState->m_hszService && _pState->m_hszTopic) {
        _pState->m_hConv = DdeConnect(dwInst, _pState->m_hszService, _pState->m_hszTopic, 0);
    }
    if (_pTopic2) {
        _pState->m_hszTopic2 = ddexl_string(dwInst, _pTopic2);
        if (_pState->m_hszService && _pState->m_hszTopic2) {
            _pState->m_hConv2 = DdeConnect(dwInst, _pState->m_hszService, _pState->m_hszTopic2, 0);
        }
    }
}

// The text of a string handle; 0 when it is missing or longer than the room.
int ddexl_query(DWORD _dwInst, HSZ _hsz, wchar_t* _pOut)
{
    _pOut[0] = 0;
    if (!_hsz) return 0;
    const DWORD dwLength = DdeQueryStringW(_dwInst, _hsz, 0, 0, CP_WINUNICODE);
    if (dwLength == 0 || dwLength >= static_cast<DWORD>(DDEXL_NAME_LENGTH)) return 0;
    DdeQueryStringW(_dwInst, _hsz, _pOut, DDEXL_NAME_LENGTH, CP_WINUNICODE);
    _pOut[DDEXL_NAME_LENGTH - 1] = 0;
    return 1;
}

// Starts the state's instance anew and connects it again on the topics it had; every
// string handle and conversation of the old instance goes with it.
void ddexl_restart(DDEXL_STATE* _pState)
{
    wchar_t szTopic[DDEXL_NAME_LENGTH], szTopic2[DDEXL_NAME_LENGTH];
    const int iTopic = ddexl_query(_pState->m_dwInst, _pState->m_hszTopic, szTopic);
    const int iTopic2 = ddexl_query(_pState->m_dwInst, _pState->m_hszTopic2, szTopic2);
    const bool bSheet = _pState->m_hszTopic2 != 0;
    ddexl_release(_pState);
    ddexl_stop(_pState);
    // A sheet whose topic is not had again is left without conversations rather than read
    // from the workbook's.
    if (bSheet && !iTopic2) return;
    if (ddexl_start(_pState, 0)) ddexl_connect(_pState, iTopic ? szTopic : 0, iTopic2 ? szTopic2 : 0);
}

// Makes the conversation anew after a request timed out: its late reply would otherwise be
// taken as the answer to the next request on it.
void ddexl_reconnect(DDEXL_STATE* _pState, HCONV _hConv)
{
    HCONV__** ppConv = (_hConv == _pState->m_hConv2) ? &_pState->m_hConv2 : &_pState->m_hConv;
    HSZ hszTopic = (ppConv == &_pState->m_hConv2) ? _pState->m_hszTopic2 : _pState->m_hszTopic;
    ddexl_disconnect(_pState, ppConv);
    if (ddexl_isDue(_pState)) {
        ddexl_restart(_pState);
        return;
    }
    *ppConv = (_pState->m_hszService && hszTopic) ? DdeConnect(_pState->m_dwInst, _pState->m_hszService, hszTopic, 0) : 0;
}

// True when the topic "[NAME]sheet" names the workbook: NAME is the book as given or its
// file name (ASCII case ignored, as the server's names are).
bool ddexl_isOfBook(const wchar_t* _pTopic, const wchar_t* _pClose, const wchar_t* _pBook)
{
    if (!_pBook || !*_pBook) return true;
    if (_pTopic[0] != L'[') return false;
    wchar_t szInner[DDEXL_NAME_LENGTH];
    const int iInner = static_cast<int>(_pClose - _pTopic) - 1;
    if (iInner <= 0 || iInner >= DDEXL_NAME_LENGTH) return false;
    STRING_cpy(szInner, _pTopic + 1, iInner);
    szInner[iInner] = 0;
    if (STRING_cmpI(szInner, _pBook) == 0) return true;
    if (STRING_len(_pBook) >= FILE_PATH_LENGTH) return false;
    wchar_t szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH], szFile[FILE_PATH_LENGTH];
    FILE_split(_pBook, 0, 0, szName, szExt);
    FILE_merge(szFile, 0, 0, szName, szExt, FILE_PATH_LENGTH);
    return szFile[0] && STRING_cmpI(szInner, szFile) == 0;
}

// The text of a reply, of at most _dwMax bytes, as UTF-16 in *_pText. Its reported size
// may run past the text: the text ends at its first NUL. 0 when memory runs out.
int ddexl_text(HDDEDATA _hData, DWORD _dwMax, CTOUTF16* _pText)
{
    DWORD dwSize = DdeGetData(_hData, 0, 0, 0);
    if (dwSize > _dwMax) dwSize = _dwMax;
    if (dwSize >= static_cast<DWORD>(INT_MAX)) return 0;
    char* pBytes = 0;
    if (!MEM_alloc(&pBytes, static_cast<int>(dwSize) + 1)) return 0;
    const DWORD dwGot = dwSize ? DdeGetData(_hData, reinterpret_cast<LPBYTE>(pBytes), dwSize, 0) : 0;
    pBytes[dwGot <= dwSize ? dwGot : dwSize] = 0;
    const int iOk = _pText->From(pBytes) ? 1 : 0;
    MEM_free(&pBytes);
    return iOk;
}

// The sheet list in the making: names each followed by a NUL, as many and as long as the
// server offers (a spreadsheet of this trade holds dozens of sheets with long names).
struct DDEXL_SHEETS
{
    const wchar_t* m_pBook;
    std::wstring* m_pOut;
    int m_iCount;
};

// Takes one topic of the server into the list when it is a sheet of the book. Throws
// std::bad_alloc when memory runs out.
void ddexl_takeTopic(DDEXL_SHEETS* _pSheets, const wchar_t* _pTopic)
{
    if (STRING_cmpI(_pTopic, L"System") == 0) return;
    // Sheet topics read "[BOOK.xls]Sheet"; anything else is no sheet.
    const wchar_t* pClose = STRING_chr(_pTopic, L']');
    if (!pClose || !pClose[1]) return;
    if (!ddexl_isOfBook(_pTopic, pClose, _pSheets->m_pBook)) return;
    if (_pSheets->m_iCount == INT_MAX) return;
    if (_pSheets->m_pOut) {
        _pSheets->m_pOut->append(pClose + 1);
        _pSheets->m_pOut->push_back(L'\0');
    }
    ++_pSheets->m_iCount;
}

// The "Topics" item of the server's "System" topic, taken whole: topic names separated by
// TABs. Throws std::bad_alloc when memory runs out.
void ddexl_systemTopics(DWORD _dwInst, HSZ _hszService, DDEXL_SHEETS* _pSheets)
{
    HSZ hszSystem = ddexl_string(_dwInst, L"System");
    HSZ hszItem = ddexl_string(_dwInst, L"Topics");
    HCONV hConv = (hszSystem && hszItem) ? DdeConnect(_dwInst, _hszService, hszSystem, 0) : 0;
    HDDEDATA hData = hConv ? DdeClientTransaction(0, 0, hConv, hszItem, CF_TEXT, XTYP_REQUEST, DDEXL_TIMEOUT_MS, 0) : 0;
    CTOUTF16 cText;
    const bool bText = hData && ddexl_text(hData, static_cast<DWORD>(INT_MAX), &cText);
    // The data handle is let go first: a topic taken may run out of memory.
    if (hData) DdeFreeDataHandle(hData);
    wchar_t* p = bText ? cText.Get() : 0;
    while (p && *p) {
        // Each name is ended in place for the while it is taken.
        wchar_t* pEnd = p;
        while (*pEnd && *pEnd != L'\t' && *pEnd != L'\r' && *pEnd != L'\n') ++pEnd;
        const wchar_t cEnd = *pEnd;
        *pEnd = 0;
        if (pEnd > p) ddexl_takeTopic(_pSheets, p);
        *pEnd = cEnd;
        p = pEnd;
        while (*p == L'\t' || *p == L'\r' || *p == L'\n') ++p;
    }
    if (hConv) DdeDisconnect(hConv);
    if (hszSystem) DdeFreeStringHandle(_dwInst, hszSystem);
    if (hszItem) DdeFreeStringHandle(_dwInst, hszItem);
}

// A conversation list of the platform table, disconnected when it goes.
struct DDEXL_LIST
{
    const DDEXL_PLATFORM& m_rPlatform;
    HCONVLIST m_hList;
    ~DDEXL_LIST()
    {
        if (m_hList) m_rPlatform.m_pDisconnectList(m_hList);
    }
};

// The sheet list of the book on a started instance; the count. Throws std::bad_alloc when
// memory runs out.
int ddexl_sheets(DWORD _dwInst, const wchar_t* _pBook, std::wstring* _pOut)
{
    DDEXL_SHEETS stSheets = {_pBook, _pOut, 0};
    HSZ hszService = ddexl_string(_dwInst, DDEXL_SERVICE);
    if (!hszService) return 0;
    int iListed = 0;
    {
        const DDEXL_PLATFORM& stPlatform = DDEXL_platform();
        DDEXL_LIST stList = {stPlatform, stPlatform.m_pConnectList(_dwInst, hszService, 0, 0, 0)};
        HCONV hConv = 0;
        while (stList.m_hList && (hConv = stPlatform.m_pQueryNextServer(stList.m_hList, hConv)) != 0) {
            ++iListed;
            CONVINFO stInfo;
            MEM_clear(&stInfo, sizeof stInfo);
            stInfo.cb = sizeof stInfo;
            if (!DdeQueryConvInfo(hConv, QID_SYNC, &stInfo)) continue;
            // String handles hold 255 units at most: the rooms take any.
            wchar_t szService[DDEXL_NAME_LENGTH], szTopic[DDEXL_NAME_LENGTH];
            if (!ddexl_query(_dwInst, stInfo.hszServiceReq, szService)) continue;
            if (STRING_cmpI(szService, DDEXL_SERVICE) != 0) continue;
            if (!ddexl_query(_dwInst, stInfo.hszTopic, szTopic)) continue;
            ddexl_takeTopic(&stSheets, szTopic);
        }
    }
    // Where the platform lists no conversation at all (its list calls may be mere stubs),
    // the server's own topic list of its "System" topic stands in.
    if (iListed == 0) ddexl_systemTopics(_dwInst, hszService, &stSheets);
    DdeFreeStringHandle(_dwInst, hszService);
    return stSheets.m_iCount;
}

}  // namespace

HDDEDATA CALLBACK DDEXL_Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}

int DDEXL_Connect(DDEXL_STATE* _pState, const wchar_t* _pTopic, const wchar_t* _pTopic2)
{
    if (!_pState) return 0;
    if (_pState->m_dwInst) {
        // A second conversation on a topic still open from this instance would not be made.
        ddexl_release(_pState);
        if (ddexl_isDue(_pState)) ddexl_stop(_pState);
    }
    if (!ddexl_start(_pState, _pTopic)) return 0;
    ddexl_connect(_pState, _pTopic, _pTopic2);
    return 1;
}

int DDEXL_GetData(DDEXL_STATE* _pState, int _iRow, int _iCol, wchar_t* _pOut, int _iOutChars)
{
    if (!_pState || _iRow < 1 || _iCol < 1) return -1;
    KELTO_ASSERT_MSG(_pOut != 0, L"_pReceiptBuff");
    if (!_pOut || _iOutChars <= 0) return -1;
    _pOut[0] = 0;
    // A sheet asked for is read from its own conversation only: the workbook's would answer
    // with another sheet's cells.
    HCONV hConv = _pState->m_hszTopic2 ? _pState->m_hConv2 : _pState->m_hConv;
    if (!hConv) return -1;

    wchar_t szItem[DDEXL_ITEM_LENGTH];
    if (STRING_sprintf(szItem, DDEXL_ITEM_LENGTH, L"R%dC%d", _iRow, _iCol) < 0) return -1;
    if (ddexl_isDue(_pState)) {
        ddexl_restart(_pState);
        hConv = _pState->m_hszTopic2 ? _pState->m_hConv2 : _pState->m_hConv;
        if (!hConv) return -1;
    }
    HSZ hszItem = ddexl_string(_pState->m_dwInst, szItem);
    if (!hszItem) return -2;
    ++_pState->m_iRequests;
    HDDEDATA hData = DdeClientTransaction(0, 0, hConv, hszItem, CF_TEXT, XTYP_REQUEST, DDEXL_TIMEOUT_MS, 0);
    if (!hData) {
        const UINT uError = DdeGetLastError(_pState->m_dwInst);
        DdeFreeStringHandle(_pState->m_dwInst, hszItem);
        if (uError == DMLERR_DATAACKTIMEOUT) ddexl_reconnect(_pState, hConv);
        return uError ? -2 : 0;
    }

    // No more bytes than the out room can hold as characters are taken.
    CTOUTF16 cText;
    int iResult = -2;
    if (ddexl_text(hData, static_cast<DWORD>(_iOutChars) * 2u, &cText)) {
        const wchar_t* pText = cText.Get();
        int i = 0;
        for (; pText && pText[i] && i < _iOutChars - 1; ++i) _pOut[i] = pText[i];
        _pOut[i] = 0;
        iResult = 0;
    }
    DdeFreeDataHandle(hData);
    DdeFreeStringHandle(_pState->m_dwInst, hszItem);
    return iResult;
}

int DDEXL_GetSheetList(const wchar_t* _pBook, std::wstring* _pOut)
{
    if (_pOut) _pOut->clear();
    DDEXL_STATE stState;
    if (!ddexl_start(&stState, _pBook)) return 0;
    const DWORD dwInst = stState.m_dwInst;
    int iCount = 0;
    try {
        iCount = ddexl_sheets(dwInst, _pBook, _pOut);
    } catch (const std::bad_alloc&) {
        // No list cut short is handed out as if whole.
        if (_pOut) std::wstring().swap(*_pOut);
        iCount = -2;
    }
    // The instance was this call's own: its conversations and string handles go with it.
    DdeUninitialize(dwInst);
    return iCount;
}

int DDEXL_Disconnect(DDEXL_STATE* _pState)
{
    if (!_pState || !_pState->m_hConv) return -1;
    const DWORD dwInst = _pState->m_dwInst;
    ddexl_freeString(dwInst, &_pState->m_hszService);
    ddexl_freeString(dwInst, &_pState->m_hszTopic);
    ddexl_freeString(dwInst, &_pState->m_hszTopic2);
    ddexl_disconnect(_pState, &_pState->m_hConv);
    ddexl_disconnect(_pState, &_pState->m_hConv2);
    return 0;
}
