// The spreadsheet stand-in: the DDEXL_ client functions over workbook files of the run.
#include "tests/fuzz/support/dde_standin.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/system/win32/dde.h"
#include "krelwin/module/xlsheet.h"
#include "krelwin/params/kvlparam.h"
#include "tests/fuzz/support/fuzz_run.h"

namespace {

struct XL_SHEET
{
    std::wstring m_strName;
    std::vector<std::vector<std::string>> m_vRows;
};

struct XL_BOOK
{
    std::vector<XL_SHEET> m_vSheets;
};

// What a client state is connected to: its workbook and sheet (-1 none).
struct XL_SERVED
{
    XL_BOOK m_cBook;
    int m_iSheet;
};

std::map<const DDEXL_STATE*, XL_SERVED> s_mapServed;
int s_iRequests = 0;
// Handles of the conversations: only whether they are null is looked at.
int s_iBookConv = 0;
int s_iSheetConv = 0;

bool gone()
{
    return s_iRequests >= FUZZ_DDE_REQUESTS;
}

std::vector<std::string> split(const std::string& _str, char _c)
{
    std::vector<std::string> v;
    size_t uStart = 0;
    for (size_t u; (u = _str.find(_c, uStart)) != std::string::npos; uStart = u + 1)
        v.push_back(_str.substr(uStart, u - uStart));
    v.push_back(_str.substr(uStart));
    return v;
}

// The workbook of a file; false when the file cannot be read (the server knows no such book).
bool loadBook(const wchar_t* _pPath, XL_BOOK* _pBook)
{
    _pBook->m_vSheets.clear();
    if (!_pPath) return false;
    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, _pPath);
    if (!pData) return FILE_IsExist(_pPath) != 0;
    const std::string strData(reinterpret_cast<const char*>(pData), static_cast<size_t>(iSize));
    MEM_free(&pData);
    for (const std::string& strSheet : split(strData, '\f')) {
        if (_pBook->m_vSheets.size() >= FUZZ_DDE_SHEETS) break;
        std::vector<std::string> vLines = split(strSheet, '\n');
        XL_SHEET cSheet;
        std::string strName = vLines[0];
        if (!strName.empty() && strName.back() == '\r') strName.pop_back();
        cSheet.m_strName = fuzz_text(strName);
        for (size_t i = 1; i < vLines.size(); ++i) cSheet.m_vRows.push_back(split(vLines[i], '\t'));
        _pBook->m_vSheets.push_back(cSheet);
    }
    return true;
}

// The workbook's file name, as its sheet topics name it.
std::wstring bookFile(const wchar_t* _pBook)
{
    wchar_t szName[FILE_PART_LENGTH], szExt[FILE_PART_LENGTH], szFile[FILE_PATH_LENGTH];
    FILE_split(_pBook, 0, 0, szName, szExt);
    FILE_merge(szFile, 0, 0, szName, szExt, FILE_PATH_LENGTH);
    return szFile;
}

// The sheet a topic "[BOOK]sheet" names, -1 when none or it refuses its conversation.
int findSheet(const XL_BOOK& _cBook, const wchar_t* _pBook, const wchar_t* _pTopic)
{
    const std::wstring strHead = L"[" + bookFile(_pBook) + L"]";
    const std::wstring strTopic = _pTopic;
    if (strTopic.compare(0, strHead.size(), strHead) != 0) return -1;
    const std::wstring strName = strTopic.substr(strHead.size());
    for (size_t i = 0; i < _cBook.m_vSheets.size(); ++i) {
        const std::wstring& strSheet = _cBook.m_vSheets[i].m_strName;
        if (strSheet == strName) return strSheet[0] == L'!' ? -1 : static_cast<int>(i);
    }
    return -1;
}

} // namespace

void fuzz_ddeBegin()
{
    s_mapServed.clear();
    s_iRequests = 0;
}

int fuzz_ddeRequests()
{
    return s_iRequests;
}

bool fuzz_ddeTooWide(const wchar_t* _pLine, int _iCheckExcel)
{
    CKvlParam cParam(_pLine);
    const wchar_t* pText = 0;
    if (_iCheckExcel) {
        pText = cParam.GetOption(L'r', 0);
    } else {
        const wchar_t* pToken = cParam.GetToken(1, 0);
        if (pToken && pToken[0] == L'-' && pToken[1] == L'r') pText = pToken + 2;
    }
    XL_RANGE stRange = XL_defaultRange();
    if (pText && XL_parseRange(pText, &stRange) != 1) return false;
    return static_cast<long long>(stRange.m_iCol2) - stRange.m_iCol1 >= FUZZ_DDE_COLUMNS;
}

int DDEXL_Connect(DDEXL_STATE* _pState, const wchar_t* _pTopic, const wchar_t* _pTopic2)
{
    if (!_pState) return 0;
    _pState->m_dwInst = 1;
    _pState->m_hConv = 0;
    _pState->m_hConv2 = 0;
    XL_SERVED& cServed = s_mapServed[_pState];
    cServed.m_iSheet = -1;
    if (gone() || !loadBook(_pTopic, &cServed.m_cBook)) return 1;
    _pState->m_hConv = reinterpret_cast<HCONV__*>(&s_iBookConv);
    // A DDE topic holds 255 units at most.
    if (_pTopic2 && STRING_len(_pTopic2) < 256) {
        cServed.m_iSheet = findSheet(cServed.m_cBook, _pTopic, _pTopic2);
        if (cServed.m_iSheet >= 0) _pState->m_hConv2 = reinterpret_cast<HCONV__*>(&s_iSheetConv);
    }
    return 1;
}

int DDEXL_GetData(DDEXL_STATE* _pState, int _iRow, int _iCol, wchar_t* _pOut, int _iOutChars)
{
    if (!_pState || _iRow < 1 || _iCol < 1 || !_pOut || _iOutChars <= 0) return -1;
    _pOut[0] = 0;
    if (gone()) return -1;
    ++s_iRequests;
    if (!_pState->m_hConv2 && !_pState->m_hConv) return -1;
    const auto it = s_mapServed.find(_pState);
    if (it == s_mapServed.end()) return -1;
    const XL_BOOK& cBook = it->second.m_cBook;
    const int iSheet = _pState->m_hConv2 ? it->second.m_iSheet : 0;
    std::string strCell;
    if (iSheet >= 0 && iSheet < static_cast<int>(cBook.m_vSheets.size())) {
        const std::vector<std::vector<std::string>>& vRows = cBook.m_vSheets[iSheet].m_vRows;
        if (static_cast<size_t>(_iRow) <= vRows.size() && static_cast<size_t>(_iCol) <= vRows[_iRow - 1].size())
            strCell = vRows[_iRow - 1][_iCol - 1];
    }
    if (strCell == "\x07") return -2;
    std::wstring strText = fuzz_text(strCell);
    for (wchar_t& c : strText)
        if (c == L'\v') c = L'\n';
    // The server's text ends at its first NUL.
    strText = strText.c_str();
    strText += L"\r\n";
    int i = 0;
    for (; i < static_cast<int>(strText.size()) && i < _iOutChars - 1; ++i) _pOut[i] = strText[i];
    _pOut[i] = 0;
    return 0;
}

int DDEXL_GetSheetList(const wchar_t* _pBook, std::wstring* _pOut)
{
    if (_pOut) _pOut->clear();
    XL_BOOK cBook;
    if (gone() || !_pBook || !loadBook(_pBook, &cBook)) return 0;
    int iCount = 0;
    for (const XL_SHEET& cSheet : cBook.m_vSheets) {
        // As the client takes topics: a name after the "]", of any length.
        if (cSheet.m_strName.empty() || cSheet.m_strName.find(L'\0') != std::wstring::npos) continue;
        if (_pOut) {
            _pOut->append(cSheet.m_strName);
            _pOut->push_back(L'\0');
        }
        ++iCount;
    }
    return iCount;
}

int DDEXL_Disconnect(DDEXL_STATE* _pState)
{
    if (!_pState) return -1;
    const int iResult = _pState->m_hConv ? 0 : -1;
    _pState->m_hConv = 0;
    _pState->m_hConv2 = 0;
    return iResult;
}

int DDEXL_ErrorBox(HWND__*, DDEXL_STATE*)
{
    return 0;
}

int DDEXL_ShellOpen(const wchar_t* _pFile)
{
    return _pFile && FILE_IsExist(_pFile) ? 1 : 0;
}

int DDEXL_WaitServer(int)
{
    return 1;
}
