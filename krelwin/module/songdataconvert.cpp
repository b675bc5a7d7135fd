#include "krelwin/module/songdataconvert.h"

#include <algorithm>
#include <vector>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(SONGDATACONVERT)

namespace {

const wchar_t* const SONG_PLACEHOLDER = L"wrd01_000.tga";

bool song_isLineEnd(wchar_t _c)
{
    return _c == L'\r' || _c == L'\n';
}

// The position after the line end at _iPos (a CR LF counts once).
int song_skipLineEnd(const wchar_t* _pText, int _iLength, int _iPos)
{
    if (_pText[_iPos] == L'\r' && _iPos + 1 < _iLength && _pText[_iPos + 1] == L'\n') return _iPos + 2;
    return _iPos + 1;
}

// The start of every row of the table.
std::vector<int> song_rowStarts(const wchar_t* _pText, int _iLength)
{
    std::vector<int> vStart;
    int iPos = 0;
    while (iPos < _iLength) {
        vStart.push_back(iPos);
        while (iPos < _iLength && !song_isLineEnd(_pText[iPos])) ++iPos;
        if (iPos < _iLength) iPos = song_skipLineEnd(_pText, _iLength, iPos);
    }
    return vStart;
}

// The template's text, or an empty one when it cannot be read.
std::wstring song_readTemplate(int _iNumber)
{
    wchar_t szPath[FILE_PATH_LENGTH];
    STRING_sprintf(szPath, FILE_PATH_LENGTH, L"baseD2a\\wrd_%03d.d2a", _iNumber);
    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, szPath);
    std::wstring strText;
    if (iLength > 0 && pText) strText.assign(pText, iLength);
    MEM_free(&pText);
    return strText;
}

} // namespace

SONGDATACONVERT::SONGDATACONVERT() : m_iInit(0), m_iActive(0), m_iFirst(0) {}

void SONGDATACONVERT::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    m_iFirst = 1;
}

void SONGDATACONVERT::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

int SONGDATACONVERT::getCsvField(const wchar_t* _pText, int _iLength, int _iRow, int _iColumn, wchar_t* _pOut,
                                 int _iSize)
{
    if (!_pOut || _iSize <= 0) return 0;
    _pOut[0] = 0;
    if (!_pText || _iLength <= 0 || _iRow < 1 || _iColumn < 1) return 0;
    int iPos = 0;
    for (int iRow = 1; iRow < _iRow; ++iRow) {
        while (iPos < _iLength && !song_isLineEnd(_pText[iPos])) ++iPos;
        if (iPos >= _iLength) return 0;
        iPos = song_skipLineEnd(_pText, _iLength, iPos);
    }
    for (int iComma = 1; iComma < _iColumn; ++iPos) {
        if (iPos >= _iLength || song_isLineEnd(_pText[iPos])) return 0;
        if (_pText[iPos] == L',') ++iComma;
    }
    int iEnd = iPos;
    while (iEnd < _iLength && _pText[iEnd] != L',' && !song_isLineEnd(_pText[iEnd])) ++iEnd;
    const int iCount = iEnd - iPos;
    if (iCount >= _iSize) return -2;
    MEM_copy(_pOut, _pText + iPos, iCount * static_cast<int>(sizeof(wchar_t)));
    _pOut[iCount] = 0;
    return iCount;
}

int SONGDATACONVERT::countString(const wchar_t* _pText, const wchar_t* _pString)
{
    if (!_pText || !_pString || !_pString[0]) return 0;
    const std::wstring strText = _pText;
    int iCount = 0;
    for (size_t uAt = strText.find(_pString); uAt != std::wstring::npos; uAt = strText.find(_pString, uAt + 1))
        ++iCount;
    return iCount;
}

int SONGDATACONVERT::CountRows(const wchar_t* _pText, int _iLength)
{
    if (!_pText || _iLength <= 0) return 0;
    return static_cast<int>(song_rowStarts(_pText, _iLength).size());
}

std::wstring SONGDATACONVERT::Fill(const std::wstring& _strTemplate, const std::wstring* _pFields, int _iCount)
{
    const std::wstring strMark = SONG_PLACEHOLDER;
    std::wstring strOut;
    int iField = 0;
    size_t uFrom = 0;
    for (size_t uAt = _strTemplate.find(strMark); uAt != std::wstring::npos; uAt = _strTemplate.find(strMark, uAt)) {
        const size_t uEnd = uAt + strMark.size();
        if (uEnd < _strTemplate.size() && _strTemplate[uEnd] != L'"') {
            uAt = uEnd;  // not a placeholder: stays as it is
            continue;
        }
        strOut.append(_strTemplate, uFrom, uAt - uFrom);
        if (_pFields && iField < _iCount) strOut += _pFields[iField];
        ++iField;
        uFrom = uAt = uEnd;
    }
    strOut.append(_strTemplate, uFrom, std::wstring::npos);
    return strOut;
}

int SONGDATACONVERT::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    Initialize();
    if (!pTarget || !pTarget[0]) return 0;

    wchar_t* pTable = 0;
    const int iLength = MEM_TextRead(&pTable, pTarget);
    std::wstring astrTemplate[TEMPLATE_COUNT];
    for (int i = 0; i < TEMPLATE_COUNT; ++i) astrTemplate[i] = song_readTemplate(i + 1);
    if (iLength <= 0 || !pTable) {
        MEM_free(&pTable);
        Message_err(L"file not found:%s", pTarget);
        return 0;
    }
    m_iActive = 1;
    // The texts are written terminated: a NUL would cut a field or every file there.
    const wchar_t* const NUL_TEXT = L"テキストにNUL文字が含まれています. %s";
    if (std::find(pTable, pTable + iLength, L'\0') != pTable + iLength) {
        MEM_free(&pTable);
        Message_err(NUL_TEXT, Get_FileName(pTarget));
        return 0;
    }

    wchar_t szDrive[FILE_DRIVE_LENGTH] = {0}, szDir[FILE_PART_LENGTH] = {0}, szName[FILE_PART_LENGTH] = {0};
    if (pOutput) FILE_split(pOutput, szDrive, szDir, szName, 0);

    int iResult = 1;
    const std::vector<int> vStart = song_rowStarts(pTable, iLength);
    for (int iRow = 1; iRow <= static_cast<int>(vStart.size()); ++iRow) {
        // Rows without a name log nothing.
        BUSY_poll();
        const wchar_t* pRow = pTable + vStart[iRow - 1];
        const int iRest = iLength - vStart[iRow - 1];
        std::wstring astrField[FIELD_COUNT];
        int iFilled = 0;
        bool bOver = false;
        for (int i = 0; i < FIELD_COUNT; ++i) {
            wchar_t szField[FIELD_LENGTH];
            const int iField = getCsvField(pRow, iRest, 1, i + 1, szField, FIELD_LENGTH);
            if (iField < 0) bOver = true;
            if (iField <= 0) continue;
            astrField[i] = szField;
            ++iFilled;
        }
        if (bOver) {
            // A field longer than its room would be cut into another texture's name.
            Message_err(L"size over");
            iResult = 0;
            break;
        }
        if (iFilled == 0) continue;
        if (astrTemplate[iFilled - 1].find(L'\0') != std::wstring::npos) {
            wchar_t szTemplate[FILE_PART_LENGTH];
            STRING_sprintf(szTemplate, FILE_PART_LENGTH, L"wrd_%03d.d2a", iFilled);
            Message_err(NUL_TEXT, szTemplate);
            iResult = 0;
            break;
        }

        const std::wstring strText = Fill(astrTemplate[iFilled - 1], astrField, FIELD_COUNT);
        wchar_t szFile[FILE_PART_LENGTH];
        wchar_t szPath[FILE_PATH_LENGTH] = {0};
        if (szName[0] && STRING_sprintf(szFile, FILE_PART_LENGTH, L"%s_%03d", szName, iRow) > 0)
            FILE_merge(szPath, szDrive, szDir, szFile, L".d2a", FILE_PATH_LENGTH);
        if (!szPath[0]) {
            Message_err(L"Can't write file.%s", pOutput ? Get_FileName(pOutput) : pTarget);
            iResult = 0;
            break;
        }
        Message_info(L"file:%s", szPath);
        Write_OutText(szPath, strText.c_str());

        if (iRow == s_stGl.m_iLoopPos) {
            if (++s_stGl.m_iLoopCount > 32000) {
                Message_err(L"ERROR : loop over");
                s_stGl.m_iAbort = 1;
                break;
            }
        } else {
            s_stGl.m_iLoopPos = iRow;
        }
    }
    MEM_free(&pTable);
    return iResult;
}
