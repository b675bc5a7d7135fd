// CHECKEXCEL: each cell of the range, trimmed, is checked as one literal; the row is the
// line number of its findings. The module marks itself active, so that CHECKTXT::Quit
// reports the longest segments and reads the settings again for the next script line.
#include "krelwin/module/checkexcel.h"

#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/module/xlsheet.h"
#include "krelwin/params/kvlparam.h"

namespace {

class CHECKEXCEL_WALK : public XL_SHEETWALK
{
public:
    CHECKEXCEL_WALK(CHECKEXCEL* _pCheck, const wchar_t* _pBook) : m_pCheck(_pCheck), m_pBook(_pBook) {}

    int BeginSheet(const wchar_t*) override { return 1; }
    void Cell(const wchar_t* _pSheet, int _iRow, int, wchar_t* _pText) override
    {
        m_pCheck->SetMode(_iRow);
        // The label stands in for the file name of the findings.
        wchar_t szLabel[XL_LABEL_LENGTH];
        STRING_sprintf(szLabel, XL_LABEL_LENGTH, L"[%s]%s", m_pBook, _pSheet);
        int iLength = XL_trim(_pText);
        const wchar_t* pText = _pText;
        if (iLength > 0 && pText[0] == L'"') {
            ++pText;
            --iLength;
        }
        if (iLength > 0) m_pCheck->checkLine(szLabel, pText, iLength);
    }
    void EndSheet(const wchar_t*, int) override {}

private:
    CHECKEXCEL* m_pCheck;
    const wchar_t* m_pBook;
};

}  // namespace

MODULE_DEFINE_CREATOR(CHECKEXCEL)

CHECKEXCEL::CHECKEXCEL() : m_iRangeLogged(0) {}

CHECKEXCEL::~CHECKEXCEL()
{
    DDEXL_Disconnect(&m_stDde);
}

int CHECKEXCEL::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pBook = cParam.GetTarget();
    Initialize(cParam.GetParam(1), 0);
    if (!pBook || !*pBook) return 1;

    XL_RANGE stRange = XL_defaultRange();
    const wchar_t* pRange = cParam.GetOption(L'r', 0);
    if (pRange) {
        const int iRange = XL_parseRange(pRange, &stRange);
        if (iRange < 0) {
            Message_info(L"未対応");
            return 1;
        }
        if (iRange == 0) return 1;
    }
    m_iActive = 1;
    CHECKEXCEL_WALK cWalk(this, pBook);
    XL_walkBook(pBook, stRange, &m_stDde, &m_iRangeLogged, &cWalk, XL_CHECKEXCEL);
    return 1;
}
