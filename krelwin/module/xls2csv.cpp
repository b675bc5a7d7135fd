// XLS2CSV: each sheet's cells of the range become the rows of a CSV file: cells of a row
// separated by ",", rows ended by CR LF, an empty cell an empty field (trailing empty
// cells and rows dropped), a cell holding ",", '"' or a line break in double quotes with
// '"' doubled. A cell's text is taken without the spreadsheet's own quoting. Each run
// writes the files anew, each only once its sheet was read whole.
#include "krelwin/module/xls2csv.h"

#include <algorithm>
#include <string>
#include <vector>

#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/module/xlsheet.h"
#include "krelwin/params/kvlparam.h"

namespace {

struct XL_CELL
{
    int m_iRow;
    int m_iCol;
    std::wstring m_strText;
};

std::wstring csv_field(const std::wstring& _strText)
{
    if (_strText.find_first_of(L",\"\r\n") == std::wstring::npos) return _strText;
    std::wstring strOut = L"\"";
    for (wchar_t c : _strText) {
        if (c == L'"') strOut += L'"';
        strOut += c;
    }
    return strOut + L"\"";
}

// The CSV text of the cells (any order) of a range whose first row and column are given.
std::wstring csv_text(std::vector<XL_CELL>& _vCells, int _iRow1, int _iCol1)
{
    std::sort(_vCells.begin(), _vCells.end(), [](const XL_CELL& a, const XL_CELL& b) {
        BUSY_poll();
        return a.m_iRow != b.m_iRow ? a.m_iRow < b.m_iRow : a.m_iCol < b.m_iCol;
    });
    std::wstring strText;
    long long llRow = _iRow1;
    for (size_t i = 0; i < _vCells.size();) {
        for (; llRow < _vCells[i].m_iRow; ++llRow) strText += L"\r\n";
        long long llCol = _iCol1;
        for (; i < _vCells.size() && _vCells[i].m_iRow == llRow; ++i) {
            for (; llCol < _vCells[i].m_iCol; ++llCol) strText += L",";
            strText += csv_field(_vCells[i].m_strText);
        }
        strText += L"\r\n";
        ++llRow;
    }
    return strText;
}

// The CSV is written whole beside its place and then put there in one step, so that an
// earlier file is either replaced whole or, on any failure, left as it was.
bool csv_write(const wchar_t* _pPath, const std::wstring& _strText)
{
    char* pBytes = 0;
    const int iBytes = FILE_TextToBytes(_strText.c_str(), &pBytes);
    CFileStage cStage;
    const bool bWritten = (_strText.empty() || iBytes > 0) && cStage.Open(_pPath) && cStage.Write(pBytes, iBytes) &&
                          cStage.Commit();
    MEM_free(&pBytes);
    return bWritten;
}

class XLS2CSV_WALK : public XL_SHEETWALK
{
public:
    XLS2CSV_WALK(const wchar_t* _pBook, const XL_RANGE& _stRange) : m_pBook(_pBook), m_stRange(_stRange)
    {
        m_szPath[0] = 0;
    }

    int BeginSheet(const wchar_t* _pSheet) override
    {
        m_vCells.clear();
        // BOOK.xls, sheet S1: BOOKS1.csv beside the workbook. A sheet whose file cannot be
        // named within a path is not read at all.
        wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH];
        FILE_split(m_pBook, szDrive, szDir, szName, 0);
        m_szPath[0] = 0;
        if (STRING_cat(szName, _pSheet, FILE_PART_LENGTH - 1)) {
            FILE_merge(m_szPath, szDrive, szDir, szName, L".csv", FILE_PATH_LENGTH);
        }
        if (m_szPath[0]) return 1;
        Message_err(L"(%s)シート %s のCSVファイル名が長すぎます", m_pBook, _pSheet);
        return 0;
    }
    void Cell(const wchar_t*, int _iRow, int _iCol, wchar_t* _pText) override
    {
        if (XL_cellText(_pText) > 0) m_vCells.push_back({_iRow, _iCol, _pText});
    }
    void EndSheet(const wchar_t*, int _iWhole) override
    {
        // A sheet not read whole leaves an earlier file of it as it was.
        if (!_iWhole) return;
        const std::wstring strText = csv_text(m_vCells, m_stRange.m_iRow1, m_stRange.m_iCol1);
        if (!csv_write(m_szPath, strText)) Message_err(L"Can't write file.%s", Get_FileName(m_szPath));
    }

private:
    const wchar_t* m_pBook;
    XL_RANGE m_stRange;
    std::vector<XL_CELL> m_vCells;
    wchar_t m_szPath[FILE_PATH_LENGTH];  // the sheet's CSV file
};

}  // namespace

MODULE_DEFINE_CREATOR(XLS2CSV)

XLS2CSV::XLS2CSV() : m_iRangeLogged(0), m_iInitialized(0), m_iActive(0), m_iFirstUse(0) {}

XLS2CSV::~XLS2CSV()
{
    DDEXL_Disconnect(&m_stDde);
}

void XLS2CSV::Initialize()
{
    if (!m_iFirstUse) m_iFirstUse = 1;
    m_iInitialized = 1;
}

int XLS2CSV::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pBook = cParam.GetTarget();
    Initialize();
    if (!pBook || !*pBook) return 1;

    XL_RANGE stRange = XL_defaultRange();
    const wchar_t* pToken = cParam.GetToken(1, 0);
    if (pToken && *pToken) {
        if (pToken[0] != L'-' || pToken[1] != L'r') return 1;
        const int iRange = XL_parseRange(pToken + 2, &stRange);
        if (iRange < 0) {
            Message_info(L"未対応");
            return 1;
        }
        if (iRange == 0) return 1;
    }
    m_iActive = 1;
    XLS2CSV_WALK cWalk(pBook, stRange);
    XL_walkBook(pBook, stRange, &m_stDde, &m_iRangeLogged, &cWalk, XL_XLS2CSV);
    return 1;
}

void XLS2CSV::Quit(int /*_iFinal*/)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInitialized = 0;
}
