// The sheet walk of the spreadsheet commands.
#include "krelwin/module/xlsheet.h"

#include <climits>
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"

namespace {

// A spreadsheet started by the shell is waited for this long before the sheets are asked.
const int XL_SERVER_WAIT_MS = 10000;

}  // namespace

void XL_walkBook(const wchar_t* _pBook, const XL_RANGE& _stRange, DDEXL_STATE* _pState, int* _pRangeLogged,
                 XL_SHEETWALK* _pWalk, int _iCommand)
{
    if (!_pBook || !_pState || !_pRangeLogged || !_pWalk) return;
    if (DDEXL_ShellOpen(_pBook)) DDEXL_WaitServer(XL_SERVER_WAIT_MS);

    // The state keeps its DDE instance from one workbook to the next (a second start on it
    // would be refused); each connection drops whatever the last one left open.
    std::wstring strList;
    const int iSheets = DDEXL_GetSheetList(_pBook, &strList);
    if (!*_pRangeLogged) {
        Message_info(L"Cell(%d,%d)-(%d,%d)", _stRange.m_iCol1, _stRange.m_iRow1, _stRange.m_iCol2, _stRange.m_iRow2);
        *_pRangeLogged = 1;
    }
    if (iSheets <= 0) {
        // No spreadsheet answers for the workbook: none could be started, none serves DDE
        // (in time), or it does not have the workbook open; or memory ran out.
        Message_err(L"(%s)シートの一覧を取得できません", _pBook);
        XL_closeSpreadsheet(_iCommand);
        return;
    }

    // Sheet topics name their workbook, so that a sheet of another open workbook with the
    // same name is never read in its place.
    wchar_t szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH], szFile[FILE_PATH_LENGTH];
    FILE_split(_pBook, 0, 0, szName, szExt);
    FILE_merge(szFile, 0, 0, szName, szExt, FILE_PATH_LENGTH);
    wchar_t szCell[XL_CELL_LENGTH];
    // The names follow one another, each ended by a NUL.
    for (size_t uSheet = 0; uSheet < strList.size(); uSheet += STRING_len(strList.c_str() + uSheet) + 1) {
        const wchar_t* pSheet = strList.c_str() + uSheet;
        if (!_pWalk->BeginSheet(pSheet)) continue;
        const std::wstring strTopic = L"[" + std::wstring(szFile) + L"]" + pSheet;
        DDEXL_Connect(_pState, _pBook, strTopic.c_str());
        const int iConnected = _pState->m_hConv2 ? 1 : 0;
        int iFailed = 0;
        for (int iCol = _stRange.m_iCol1; iCol <= _stRange.m_iCol2; ++iCol) {
            for (int iRow = _stRange.m_iRow1; iRow <= _stRange.m_iRow2; ++iRow) {
                // A request is a round trip to the spreadsheet; a range holds up to a million.
                BUSY_poll();
                if (DDEXL_GetData(_pState, iRow, iCol, szCell, XL_CELL_LENGTH) < 0) {
                    Message_info(L"(%s)DDEが開始されていません", _pBook);
                    iFailed = 1;
                    break;
                }
                if (STRING_len(szCell) <= 2) continue;
                _pWalk->Cell(pSheet, iRow, iCol, szCell);
                if (iRow == INT_MAX) break;
            }
            if (iCol == INT_MAX) break;
        }
        DDEXL_Disconnect(_pState);
        // The spreadsheet went away or refused cells on the way: the sheet was read in part.
        if (iConnected && iFailed) Message_err(L"(%s)シート %s を最後まで読めませんでした", _pBook, pSheet);
        _pWalk->EndSheet(pSheet, iConnected && !iFailed);
    }
    XL_closeSpreadsheet(_iCommand);
}
