#include "krelwin/module/listsort.h"

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/output_inplace.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(LISTSORT)

namespace {

// Character code order: the 16-bit units one by one, a prefix before the longer text.
int codeCompare(const std::wstring& _strA, const std::wstring& _strB)
{
    const size_t uCount = std::min(_strA.size(), _strB.size());
    for (size_t i = 0; i < uCount; ++i) {
        const unsigned int uA = static_cast<unsigned short>(_strA[i]);
        const unsigned int uB = static_cast<unsigned short>(_strB[i]);
        if (uA != uB) return uA < uB ? -1 : 1;
    }
    if (_strA.size() == _strB.size()) return 0;
    return _strA.size() < _strB.size() ? -1 : 1;
}

// The part of the line that is compared: from the key text on, or the whole line.
std::wstring sortKey(const std::wstring& _strLine, const std::wstring& _strKey)
{
    if (_strKey.empty()) return _strLine;
    const size_t uPos = _strLine.find(_strKey);
    return uPos == std::wstring::npos ? _strLine : _strLine.substr(uPos);
}

bool isBreak(wchar_t _c)
{
    return _c == L'\r' || _c == L'\n';
}

} // namespace

LISTSORT::LISTSORT() : m_iInit(0), m_iActive(0) {}

void LISTSORT::Initialize()
{
    m_iInit = 1;
}

void LISTSORT::Quit(int)
{
    if (m_iActive == 0) return;
    m_iActive = 0;
    m_iInit = 0;
}

void LISTSORT::sortLines(const wchar_t* _pText, int _iLength, int _iKind, int _iUnique,
                         const std::wstring& _strKey, const std::wstring& _strCut)
{
    m_lstLine.clear();
    if (!_pText) return;
    // Each line with its key, in file order.
    std::vector<std::pair<std::wstring, std::wstring>> vLine;
    std::unordered_set<std::wstring> setSeen;
    int i = 0;
    while (i < _iLength) {
        BUSY_poll();
        int j = i;
        while (j < _iLength && !isBreak(_pText[j])) ++j;
        std::wstring strLine(_pText + i, _pText + j);
        if (!_strCut.empty()) {
            const size_t uPos = strLine.find(_strCut);
            if (uPos != std::wstring::npos) strLine.erase(0, uPos + _strCut.size());
        }
        while (j < _iLength && isBreak(_pText[j])) ++j;
        i = j;
        if (_iUnique && !setSeen.insert(strLine).second) continue;
        std::wstring strKey = sortKey(strLine, _strKey);
        vLine.emplace_back(std::move(strKey), std::move(strLine));
    }

    // A stable sort keeps lines with equal keys in file order, as inserting each line
    // after the ones that do not follow it would. Every comparison polls: the sort of a long
    // list logs nothing.
    typedef std::pair<std::wstring, std::wstring> LINE;
    switch (_iKind) {
    case SORT_LENGTH:
        std::stable_sort(vLine.begin(), vLine.end(),
                         [](const LINE& _a, const LINE& _b) {
                             BUSY_poll();
                             return _a.first.size() < _b.first.size();
                         });
        break;
    case SORT_CODE_DESC:
        std::stable_sort(vLine.begin(), vLine.end(),
                         [](const LINE& _a, const LINE& _b) {
                             BUSY_poll();
                             return codeCompare(_a.first, _b.first) > 0;
                         });
        break;
    case SORT_LENGTH_DESC:
        std::stable_sort(vLine.begin(), vLine.end(),
                         [](const LINE& _a, const LINE& _b) {
                             BUSY_poll();
                             return _a.first.size() > _b.first.size();
                         });
        break;
    default:
        std::stable_sort(vLine.begin(), vLine.end(),
                         [](const LINE& _a, const LINE& _b) {
                             BUSY_poll();
                             return codeCompare(_a.first, _b.first) < 0;
                         });
        break;
    }
    for (LINE& stLine : vLine) m_lstLine.push_back(std::move(stLine.second));
}

std::wstring LISTSORT::joinLines() const
{
    size_t uSize = 0;
    for (const std::wstring& strLine : m_lstLine) uSize += strLine.size() + 2;
    std::wstring strOut;
    strOut.reserve(uSize);
    for (const std::wstring& strLine : m_lstLine) {
        BUSY_poll();
        strOut += strLine;
        strOut += L"\r\n";
    }
    return strOut;
}

int LISTSORT::Func(const wchar_t* _pLine)
{
    CKvlParam cParam(_pLine);
    int iKind = SORT_CODE;
    int iUnique = 0;
    const int iOption = cParam.FindOption(L'o');
    if (iOption >= 0) {
        if (cParam.CheckOptionChar(iOption, L'l')) iKind |= 1;
        if (cParam.CheckOptionChar(iOption, L'r')) iKind |= 2;
        iUnique = cParam.CheckOptionChar(iOption, L'p');
    }
    const std::wstring strKey = cParam.GetOption(L's', const_cast<wchar_t*>(L""));
    const std::wstring strCut = cParam.GetOption(L'c', const_cast<wchar_t*>(L""));

    Initialize();
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) return 0;
    wchar_t* pText = 0;
    const int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        return 0;
    }
    // The output is written as a terminated text: a NUL would cut the file there.
    if (Output_HoldsNul(pText, iLength, pTarget)) {
        MEM_free(&pText);
        return 0;
    }

    m_iActive = 1;
    static const wchar_t* const s_apKind[] = {
        L"文字コードで昇順ソートします.", L"長さで昇順ソートします.",
        L"文字コードで降順ソートします.", L"長さで降順ソートします.",
    };
    Message_win(s_apKind[iKind]);
    if (iUnique) Message_win(L"同じ項目は除外されます.");
    if (!strKey.empty()) Message_info(L" \"%s\"以降の文字を対象にソートします.", strKey.c_str());
    if (!strCut.empty()) Message_info(L"行頭から \"%s\" までは削除されます.", strCut.c_str());

    sortLines(pText, iLength, iKind, iUnique, strKey, strCut);
    const std::wstring strOut = joinLines();
    m_lstLine.clear();
    const int iWritten = Write_OutTextChanged(pTarget, pTarget, pText, iLength, strOut.c_str());
    MEM_free(&pText);
    return iWritten > 0 ? 1 : 0;
}
