// The range text, cell trimming and the sheet walk of the spreadsheet commands.
#include "krelwin/module/xlsheet.h"

#include <climits>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"

namespace {

// A spreadsheet started by the shell is waited for this long before the sheets are asked.
const int XL_SERVER_WAIT_MS = 10000;

// Reads letters A to Z as a bijective base-26 number into *_pValue (0 when none); false
// when the value overflows.
bool xl_letters(const wchar_t*& _p, int* _pValue)
{
    int iValue = 0;
    for (; *_p >= L'A' && *_p <= L'Z'; ++_p) {
        const int iDigit = *_p - L'A' + 1;
        if (iValue > (INT_MAX - iDigit) / 26) return false;
        iValue = iValue * 26 + iDigit;
    }
    *_pValue = iValue;
    return true;
}

bool xl_digits(const wchar_t*& _p, int* _pValue)
{
    int iValue = 0;
    for (; *_p >= L'0' && *_p <= L'9'; ++_p) {
        const int iDigit = *_p - L'0';
        if (iValue > (INT_MAX - iDigit) / 10) return false;
        iValue = iValue * 10 + iDigit;
    }
    *_pValue = iValue;
    return true;
}

}  // namespace

XL_RANGE XL_defaultRange()
{
    XL_RANGE stRange = {1, 1, 256, 4096};
    return stRange;
}

int XL_parseRange(const wchar_t* _pText, XL_RANGE* _pRange)
{
    if (!_pText || !_pRange) return -1;
    if (!(*_pText >= L'A' && *_pText <= L'Z')) return -1;
    const wchar_t* p = _pText;
    XL_RANGE stRange = {0, 0, 0, 0};
    if (!xl_letters(p, &stRange.m_iCol1) || !xl_digits(p, &stRange.m_iRow1) || !xl_letters(p, &stRange.m_iCol2) ||
        !xl_digits(p, &stRange.m_iRow2))
        return -1;
    *_pRange = stRange;
    return (stRange.m_iCol1 > 0 && stRange.m_iRow1 > 0 && stRange.m_iCol2 > 0 && stRange.m_iRow2 > 0) ? 1 : 0;
}

int XL_trim(wchar_t* _pCell)
{
    if (!_pCell) return 0;
    int iLength = STRING_len(_pCell);
    while (iLength > 0 && (_pCell[iLength - 1] == L'"' || _pCell[iLength - 1] <= 32)) --iLength;
    _pCell[iLength] = 0;
    return iLength;
}

void XL_walkBook(const wchar_t* _pBook, const XL_RANGE& _stRange, DDEXL_STATE* _pState, int* _pRangeLogged,
                 XL_SHEETWALK* _pWalk, int _iCommand)
{
    if (!_pBook || !_pState || !_pRangeLogged || !_pWalk) return;
    if (DDEXL_ShellOpen(_pBook)) DDEXL_WaitServer(XL_SERVER_WAIT_MS);

    // The state keeps its DDE instance from one workbook to the next (a second start on it
    // would be refused); each connection drops whatever the last one left open.
    wchar_t szList[XL_SHEETLIST_LENGTH];
    const int iSheets = DDEXL_GetSheetList(_pBook, szList, XL_SHEETLIST_LENGTH);
    if (!*_pRangeLogged) {
        Message_info(L"Cell(%d,%d)-(%d,%d)", _stRange.m_iCol1, _stRange.m_iRow1, _stRange.m_iCol2, _stRange.m_iRow2);
        *_pRangeLogged = 1;
    }

    // Sheet topics name their workbook, so that a sheet of another open workbook with the
    // same name is never read in its place.
    wchar_t szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH], szFile[FILE_PATH_LENGTH];
    FILE_split(_pBook, 0, 0, szName, szExt);
    FILE_merge(szFile, 0, 0, szName, szExt, FILE_PATH_LENGTH);
    wchar_t szCell[XL_CELL_LENGTH];
    const wchar_t* pSheet = szList;
    for (int iSheet = 0; iSheet < iSheets && *pSheet; ++iSheet, pSheet += STRING_len(pSheet) + 1) {
        wchar_t szTopic[FILE_PATH_LENGTH + XL_SHEETLIST_LENGTH + 2];
        STRING_sprintf(szTopic, FILE_PATH_LENGTH + XL_SHEETLIST_LENGTH + 2, L"[%s]%s", szFile, pSheet);
        DDEXL_Connect(_pState, _pBook, szTopic);
        const int iConnected = _pState->m_hConv2 ? 1 : 0;
        _pWalk->BeginSheet(pSheet, iConnected);
        int iRead = 0;
        for (int iCol = _stRange.m_iCol1; iCol <= _stRange.m_iCol2; ++iCol) {
            for (int iRow = _stRange.m_iRow1; iRow <= _stRange.m_iRow2; ++iRow) {
                if (DDEXL_GetData(_pState, iRow, iCol, szCell, XL_CELL_LENGTH) < 0) {
                    Message_info(L"(%s)DDEが開始されていません", _pBook);
                    break;
                }
                iRead = 1;
                if (STRING_len(szCell) <= 2) continue;
                _pWalk->Cell(pSheet, iRow, iCol, szCell);
                if (iRow == INT_MAX) break;
            }
            if (iCol == INT_MAX) break;
        }
        DDEXL_Disconnect(_pState);
        _pWalk->EndSheet(pSheet, iConnected && iRead);
    }
    XL_closeSpreadsheet(_iCommand);
}
