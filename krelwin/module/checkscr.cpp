#include "krelwin/module/checkscr.h"

#include <algorithm>
#include <numeric>

#include "kelto/files/filelist.h"
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"
#include "krelwin/params/rangecheck.h"

MODULE_DEFINE_CREATOR(CHECKSCR)

namespace {

bool isBlank(wchar_t _c)
{
    return _c == L' ' || _c == L'\t';
}

// Ends an unquoted word after "(" or ",".
bool isWordEnd(wchar_t _c)
{
    return STRING_chr(L",()[]\\|&+-*/:=?@ \t\r\n", _c) != 0 && _c != 0;
}

// A word followed by one of these is part of an expression, not a name.
bool isOperator(wchar_t _c)
{
    return STRING_chr(L"[]\\|&+-*/:=?@", _c) != 0 && _c != 0;
}

// The order of the sorted reports; it polls, as a long sort logs nothing.
bool lessThan(const std::wstring& _strA, const std::wstring& _strB)
{
    BUSY_poll();
    return STRING_cmp(_strA.c_str(), _strB.c_str()) < 0;
}

std::wstring upperKey(const wchar_t* _pText)
{
    std::wstring strKey = _pText;
    for (wchar_t& c : strKey) c = STRING_toupper(c);
    return strKey;
}

// The folder argument made absolute against the batch folder. Unlike Make_BatchPath,
// which keeps only a relative path's last part, the subfolders stay: data\bgm is the
// batch folder's data\bgm, not its bgm. Without a batch folder a relative folder is
// taken from the current folder. Empty when the result would not fit.
void batchFolder(wchar_t* _pOut, const wchar_t* _pFolder)
{
    _pOut[0] = 0;
    if (!_pFolder || !_pFolder[0]) return;
    const bool bRelative = !(_pFolder[0] && _pFolder[1] == L':') && _pFolder[0] != L'\\';
    const wchar_t* pBase = bRelative ? s_stGl.m_szBatchDir : L"";
    if (STRING_len(pBase) + STRING_len(_pFolder) >= FILE_PATH_LENGTH) return;
    STRING_cpy(_pOut, pBase);
    STRING_cat(_pOut, _pFolder);
}

} // namespace

CHECKSCR::CHECKSCR()
    : m_iInit(0), m_iActive(0), m_iFirst(0), m_iReady(0), m_iRemMode(REM_C), m_iSort(1),
      m_iDigitsOnly(1), m_iExtension(0)
{
}

void CHECKSCR::releaseTables()
{
    m_vName.clear();
    m_vName.shrink_to_fit();
    m_vCount.clear();
    m_vCount.shrink_to_fit();
    m_vNotFound.clear();
    m_vNotFound.shrink_to_fit();
    m_mapWhole.clear();
    m_mapBase.clear();
    m_setNotFound.clear();
    m_iReady = 0;
}

void CHECKSCR::resetTables()
{
    releaseTables();
    m_iReady = 1;
}

int CHECKSCR::addFolderName(const wchar_t* _pName)
{
    if (!_pName) return 0;
    if (STRING_len(_pName) >= NAME_LENGTH) {
        Message_err(L"ファイル名が長すぎます %s", _pName);
        return 0;
    }
    const int iIndex = static_cast<int>(m_vName.size());
    m_vName.push_back(_pName);
    m_vCount.push_back(0);
    // File names are compared as the script's words are: ASCII upper case, so that a
    // folder file title.bmp answers TITLE.BMP as Windows itself would.
    const std::wstring strKey = upperKey(_pName);
    wchar_t szBase[FILE_PART_LENGTH];
    FILE_split(strKey.c_str(), 0, 0, szBase, 0);
    m_mapWhole.emplace(strKey, iIndex);  // the first in list order stays
    m_mapBase.emplace(szBase, iIndex);
    return 1;
}

void CHECKSCR::setOptions(const wchar_t* _pOptions)
{
    if (!_pOptions || _pOptions[0] != L'-') return;
    m_iRemMode = REM_NONE;
    m_iSort = 0;
    m_iDigitsOnly = 0;
    m_iExtension = 0;
    if (STRING_chr(_pOptions, L'c')) m_iRemMode = REM_C;
    if (STRING_chr(_pOptions, L'a')) m_iRemMode = REM_ASM;
    if (STRING_chr(_pOptions, L'p')) m_iRemMode = REM_PERL;
    if (STRING_chr(_pOptions, L's')) m_iSort = 1;
    if (STRING_chr(_pOptions, L'n')) m_iDigitsOnly = 1;
    if (STRING_chr(_pOptions, L'e')) m_iExtension = 1;
}

void CHECKSCR::Initialize(const wchar_t* _pFolder, const wchar_t* _pOptions)
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    if (m_iFirst == 0) m_iFirst = 1;
    // The options are the line's even when its folder cannot be listed: a later line
    // without options keeps them.
    setOptions(_pOptions);

    wchar_t szFolder[FILE_PATH_LENGTH];
    batchFolder(szFolder, _pFolder);
    if (!szFolder[0]) {
        releaseTables();
        Message_err(L"フォルダ名が長すぎます %s", _pFolder ? _pFolder : L"");
        return;
    }
    const unsigned int uAttr = FILE_GetAttribute(szFolder);
    if (uAttr == FILE_ATTR_INVALID || !(uAttr & FILE_ATTR_FOLDER)) {
        // Listing a missing folder would report every name of the scripts as missing.
        releaseTables();
        Message_err(L"フォルダが見つかりません %s", szFolder);
        return;
    }

    CFileList cList;
    cList.Clear();
    cList.SetSearchSub(1);
    cList.Add(szFolder);
    const int iFiles = cList.GetCount();

    resetTables();
    m_vName.reserve(iFiles);
    m_vCount.reserve(iFiles);
    for (int i = 0; i < iFiles; ++i) {
        BUSY_poll();
        addFolderName(cList.GetNameStr(i));
    }

    Message_info(L"path:%s  %d files", _pFolder, static_cast<int>(m_vName.size()));
    if (m_iRemMode == REM_C) Message_win(L"C言語注釈を除外");
    else if (m_iRemMode == REM_ASM) Message_win(L"アセンブラ注釈を除外");
    else if (m_iRemMode == REM_PERL) Message_win(L"Perl注釈を除外");
    if (m_iSort) Message_win(L"結果はソートされます");
    if (m_iDigitsOnly) Message_win(L"数値のみはファイル名と判断しません");
    if (m_iExtension) Message_win(L"拡張子(ピリオド)のある物のみ判定します");
}

int CHECKSCR::Func(const wchar_t* _pLine)
{
    CKvlParam cParam(_pLine);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOptions = 0;
    for (int i = 1; i < cParam.GetCount() && !pOptions; ++i) {
        if (cParam.IsOption(i)) pOptions = cParam.GetToken(i, 0);
    }
    // The folder is the first plain argument after the target, taken from the batch
    // folder: one folder for every target of the script line, wherever the target lies.
    const wchar_t* pFolder = cParam.GetParam(1);
    if (!pFolder || !pFolder[0]) {
        Message_err(L"フォルダが指定されていません");
        return 0;
    }

    Initialize(pFolder, pOptions);
    if (!m_iReady || !pTarget) return 0;

    wchar_t* pText = 0;
    int iLength = MEM_TextRead(&pText, pTarget);
    if (iLength <= 0 || !pText) {
        MEM_free(&pText);
        return 0;
    }

    switch (m_iRemMode) {
    case REM_C: iLength = FILT_deleteREM(pText, iLength, L"//", L"/*", L"*/", L'"'); break;
    case REM_ASM: iLength = FILT_deleteREM(pText, iLength, L";", 0, 0, L'"'); break;
    case REM_PERL: iLength = FILT_deleteREM(pText, iLength, L"#", 0, 0, L'"'); break;
    default: break;
    }
    FILT_upper(pText, iLength, 0);

    m_iActive = 1;
    scanText(pText, iLength);
    MEM_free(&pText);
    return 1;
}

void CHECKSCR::scanText(const wchar_t* _pText, int _iLength)
{
    if (!_pText) return;
    const wchar_t* t = _pText;
    const int n = _iLength;
    s_cRangeCheck.Init(t, n);
    wchar_t szWord[NAME_LENGTH];
    int i = 0;
    while (i < n) {
        BUSY_poll();
        if (s_cRangeCheck.IsSkip(t, i, n)) {
            ++i;
            continue;
        }
        const wchar_t c = t[i];
        if (MOJI_isZen(c)) {
            ++i;
        } else if (c == L'"') {
            int iLen = 0;
            bool bDrop = false;
            int j = i + 1;
            for (; j < n && t[j] != L'"'; ++j) {
                if (isBlank(t[j])) {
                    if (iLen > 0) bDrop = true;  // a blank inside: a text, not a name
                } else if (iLen >= NAME_LENGTH - 1) {
                    bDrop = true;
                } else {
                    szWord[iLen++] = t[j];
                }
            }
            if (j >= n) return;  // no closing quote: the rest is no name
            i = j + 1;
            szWord[iLen] = 0;
            if (!bDrop && iLen > 0) checkWord(szWord);
        } else if (c == L'(' || c == L',') {
            ++i;
            while (i < n && isBlank(t[i])) ++i;
            if (i >= n) return;
            if (t[i] == L'"' || MOJI_isZen(t[i])) continue;
            int iLen = 0;
            bool bDrop = false;
            for (; i < n && !isWordEnd(t[i]); ++i) {
                if (iLen >= NAME_LENGTH - 1) bDrop = true;
                else szWord[iLen++] = t[i];
            }
            szWord[iLen] = 0;
            while (i < n && isBlank(t[i])) ++i;
            if (i < n && isOperator(t[i])) bDrop = true;
            if (!bDrop && iLen > 0) checkWord(szWord);
        } else {
            ++i;
        }
    }
}

void CHECKSCR::checkWord(wchar_t* _pWord)
{
    bool bJapanese = false;
    bool bExt = false;
    bool bDigits = true;
    for (const wchar_t* p = _pWord; *p; ++p) {
        if (MOJI_isZen(*p)) bJapanese = true;
        if (*p == L'.') bExt = true;
        if (*p < L'0' || *p > L'9') bDigits = false;
    }
    if (bJapanese && !bExt) return;
    if (m_iDigitsOnly && bDigits) return;
    if (m_iExtension && !bExt) return;

    const int iIndex = findFile(_pWord);
    if (iIndex >= 0) ++m_vCount[iIndex];
    else addNotFound(_pWord);
}

int CHECKSCR::findFile(wchar_t* _pWord)
{
    if (!_pWord) return -1;
    STRING_upper(_pWord);
    const std::unordered_map<std::wstring, int>& mapKeys = STRING_chr(_pWord, L'.') ? m_mapWhole : m_mapBase;
    const auto it = mapKeys.find(_pWord);
    return it == mapKeys.end() ? -1 : it->second;
}

int CHECKSCR::addNotFound(const wchar_t* _pWord)
{
    if (!_pWord || !m_setNotFound.insert(_pWord).second) return 0;
    m_vNotFound.push_back(_pWord);
    return 1;
}

void CHECKSCR::Quit(int _iFinal)
{
    // The folder belongs to its script line even when no script of it was scanned (a
    // missing folder, unreadable scripts): the next line lists its own.
    m_iInit = 0;
    if (m_iActive == 0) return;
    m_iActive = 0;
    if (!m_iReady) return;

    if (!m_vNotFound.empty()) {
        if (m_iSort) std::stable_sort(m_vNotFound.begin(), m_vNotFound.end(), lessThan);
        Message_win(L"\r\n以下のファイルは見つかりません");
        for (const std::wstring& strName : m_vNotFound) Message_info(L"%s", strName.c_str());
    }

    // The report order of the folder names; their counts go with them.
    std::vector<int> vOrder(m_vName.size());
    std::iota(vOrder.begin(), vOrder.end(), 0);
    if (m_iSort) {
        std::stable_sort(vOrder.begin(), vOrder.end(),
                         [this](int _iA, int _iB) { return lessThan(m_vName[_iA], m_vName[_iB]); });
    }
    bool bHead = false;
    for (int i : vOrder) {
        if (m_vCount[i] != 0) continue;
        if (!bHead) Message_win(L"\r\n以下のファイルは使用されていません");
        bHead = true;
        Message_info(L"\t%s", m_vName[i].c_str());
    }
    bHead = false;
    for (int i : vOrder) {
        if (m_vCount[i] <= 1) continue;
        if (!bHead) Message_win(L"\r\n以下のファイルは複数回使用されています");
        bHead = true;
        Message_info(L"\t%s  %d(s)", m_vName[i].c_str(), m_vCount[i]);
    }

    if (_iFinal == 1) releaseTables();
}
