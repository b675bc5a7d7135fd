#include "kelto/files/profile_text.h"

#include <vector>

namespace {

template <class CH>
bool pt_isBlank(CH _c)
{
    return _c == CH(' ') || _c == CH('\t');
}

template <class CH>
CH pt_fold(CH _c)
{
    return (_c >= CH('a') && _c <= CH('z')) ? CH(_c - CH('a') + CH('A')) : _c;
}

// The text between the blanks at both ends of [_uFrom, _uTo).
template <class CH>
std::basic_string<CH> pt_trim(const std::basic_string<CH>& _str, size_t _uFrom, size_t _uTo)
{
    while (_uFrom < _uTo && pt_isBlank(_str[_uFrom])) ++_uFrom;
    while (_uTo > _uFrom && pt_isBlank(_str[_uTo - 1])) --_uTo;
    return _str.substr(_uFrom, _uTo - _uFrom);
}

template <class CH>
bool pt_same(const std::basic_string<CH>& _strA, const CH* _pB)
{
    size_t i = 0;
    for (; i < _strA.size() && _pB[i]; ++i) {
        if (pt_fold(_strA[i]) != pt_fold(_pB[i])) return false;
    }
    return i == _strA.size() && !_pB[i];
}

// One line of the text: where it starts, where its content ends and where the next begins.
struct PT_LINE {
    size_t m_uStart;
    size_t m_uEnd;
    size_t m_uNext;
};

template <class CH>
std::vector<PT_LINE> pt_lines(const std::basic_string<CH>& _str)
{
    std::vector<PT_LINE> vLines;
    size_t uPos = 0;
    while (uPos < _str.size()) {
        size_t uEnd = uPos;
        while (uEnd < _str.size() && _str[uEnd] != CH('\r') && _str[uEnd] != CH('\n')) ++uEnd;
        size_t uNext = uEnd;
        if (uNext < _str.size() && _str[uNext] == CH('\r')) ++uNext;
        if (uNext < _str.size() && _str[uNext] == CH('\n')) ++uNext;
        vLines.push_back({uPos, uEnd, uNext});
        uPos = uNext;
    }
    return vLines;
}

// The section name of a header line ("[name]", blanks around), or false for other lines.
template <class CH>
bool pt_header(const std::basic_string<CH>& _str, const PT_LINE& _stLine, std::basic_string<CH>* _pName)
{
    const std::basic_string<CH> strLine = pt_trim(_str, _stLine.m_uStart, _stLine.m_uEnd);
    if (strLine.empty() || strLine[0] != CH('[')) return false;
    const size_t uClose = strLine.find(CH(']'));
    *_pName = pt_trim(strLine, 1, uClose == std::basic_string<CH>::npos ? strLine.size() : uClose);
    return true;
}

template <class CH>
void pt_edit(std::basic_string<CH>& _str, const CH* _pSec, const CH* _pKey, const CH* _pValue)
{
    if (!_pSec) return;
    static const CH s_szEol[] = {CH('\r'), CH('\n'), CH(0)};
    const std::vector<PT_LINE> vLines = pt_lines(_str);

    // The first section of the name: its header line and the lines up to the next header.
    size_t uHeader = vLines.size(), uEndLine = vLines.size();
    for (size_t i = 0; i < vLines.size(); ++i) {
        std::basic_string<CH> strName;
        if (!pt_header(_str, vLines[i], &strName)) continue;
        if (uHeader < vLines.size()) {
            uEndLine = i;
            break;
        }
        if (pt_same(strName, _pSec)) uHeader = i;
    }
    const std::basic_string<CH> strNew = _pKey && _pValue ? std::basic_string<CH>(_pKey) + CH('=') + _pValue : std::basic_string<CH>();

    if (uHeader == vLines.size()) {
        if (!_pKey || !_pValue) return;  // nothing to remove
        std::basic_string<CH> strAdd;
        if (!_str.empty() && _str.back() != CH('\n') && _str.back() != CH('\r')) strAdd += s_szEol;
        strAdd += CH('[');
        strAdd += _pSec;
        strAdd += CH(']');
        strAdd += s_szEol;
        strAdd += strNew;
        strAdd += s_szEol;
        _str += strAdd;
        return;
    }
    const size_t uSectionEnd = uEndLine < vLines.size() ? vLines[uEndLine].m_uStart : _str.size();
    if (!_pKey) {
        _str.erase(vLines[uHeader].m_uStart, uSectionEnd - vLines[uHeader].m_uStart);
        return;
    }

    // Lines of the key, from the last so the earlier positions hold; the last line with
    // content, where a new key goes after.
    size_t uLastContent = uHeader;
    std::vector<size_t> vKeyLines;
    for (size_t i = uHeader + 1; i < uEndLine; ++i) {
        const PT_LINE& stLine = vLines[i];
        const std::basic_string<CH> strLine = pt_trim(_str, stLine.m_uStart, stLine.m_uEnd);
        if (strLine.empty()) continue;
        uLastContent = i;
        const size_t uEq = strLine.find(CH('='));
        if (strLine[0] == CH(';') || uEq == std::basic_string<CH>::npos) continue;
        if (pt_same(pt_trim(strLine, 0, uEq), _pKey)) vKeyLines.push_back(i);
    }
    if (!_pValue) {
        for (size_t k = vKeyLines.size(); k-- > 0;) {
            const PT_LINE& stLine = vLines[vKeyLines[k]];
            _str.erase(stLine.m_uStart, stLine.m_uNext - stLine.m_uStart);
        }
        return;
    }
    if (!vKeyLines.empty()) {
        // The key keeps the name it has in the file; only its value changes.
        const PT_LINE& stLine = vLines[vKeyLines[0]];
        const std::basic_string<CH> strLine = _str.substr(stLine.m_uStart, stLine.m_uEnd - stLine.m_uStart);
        const size_t uEq = strLine.find(CH('='));
        const std::basic_string<CH> strKey = pt_trim(strLine, 0, uEq);
        _str.replace(stLine.m_uStart, stLine.m_uEnd - stLine.m_uStart, strKey + CH('=') + _pValue);
        return;
    }
    const PT_LINE& stAfter = vLines[uLastContent];
    std::basic_string<CH> strAdd = strNew + s_szEol;
    if (stAfter.m_uNext == stAfter.m_uEnd) strAdd = s_szEol + strNew;  // the text's last line has no end
    _str.insert(stAfter.m_uNext, strAdd);
}

} // namespace

void PROFILE_EditText(std::string& _strText, const char* _pSec, const char* _pKey, const char* _pValue)
{
    pt_edit(_strText, _pSec, _pKey, _pValue);
}

void PROFILE_EditText(std::wstring& _strText, const wchar_t* _pSec, const wchar_t* _pKey, const wchar_t* _pValue)
{
    pt_edit(_strText, _pSec, _pKey, _pValue);
}
