// Batch file reader: comments, the [SETTING] override, environment references, then the
// [SCRIPT] and [FILES] sections in file order.
#include "krelwin/main/batch.h"

#include <string>

#include "kelto/files/win32/fileload.h"
#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/string.h"
#include "kelto/system/win32/dialog.h"
#include "krelwin/main/message.h"
#include "krelwin/main/setting.h"

namespace {

int batch_isNameChar(wchar_t _c)
{
	return (_c >= L'a' && _c <= L'z') || (_c >= L'A' && _c <= L'Z') || (_c >= L'0' && _c <= L'9') || _c == L'_';
}

int batch_isLineEnd(wchar_t _c)
{
	return _c == L'\r' || _c == L'\n';
}

// Replaces %NAME by the variable's value. The output grows as needed, so a text made
// mostly of short references to long values cannot overrun it.
void batch_expandEnv(const wchar_t *_pText, int _iLength, std::wstring &_strOut)
{
	_strOut.clear();
	_strOut.reserve((size_t)_iLength + (size_t)_iLength / 2 + 16);
	int i = 0;
	while (i < _iLength) {
		const wchar_t c = _pText[i++];
		if (c != L'%') {
			_strOut += c;
			continue;
		}
		wchar_t szName[256];
		int iName = 0;
		while (i < _iLength && iName < 255 && batch_isNameChar(_pText[i])) szName[iName++] = _pText[i++];
		szName[iName] = 0;
		wchar_t szValue[256];
		szValue[0] = 0;
		if (iName > 0 && SYSTEM_GetEnv(szValue, 256, szName, 1) == 1) {
			_strOut += szValue;
		} else {
			_strOut += L'%';
			_strOut.append(szName, (size_t)iName);
		}
	}
}

// The body of a section whose head starts at _pHead: after the next "]" and the control
// characters behind it, up to the next '[' or the end.
void batch_sectionBody(const wchar_t *_pHead, const wchar_t *_pEnd, const wchar_t **_ppBody, int *_pLength)
{
	const wchar_t *p = _pHead;
	while (p < _pEnd && *p != L']') p++;
	if (p < _pEnd) p++;
	while (p < _pEnd && *p < 0x20) p++;
	const wchar_t *q = p;
	while (q < _pEnd && *q != L'[') q++;
	*_ppBody = p;
	*_pLength = (int)(q - p);
}

} // namespace

int Get_SectionKind(const wchar_t *_pPos, const wchar_t *_pEnd)
{
	if (!_pPos || _pPos >= _pEnd || *_pPos != L'[') return 0;
	wchar_t szName[32];
	int iName = 0;
	const wchar_t *p = _pPos + 1;
	while (p < _pEnd && *p != L']' && iName < 31) szName[iName++] = *p++;
	szName[iName] = 0;
	STRING_upper(szName);
	if (STRING_cmp(szName, L"SCRIPT") == 0) return 1;
	if (STRING_cmp(szName, L"FILES") == 0) return 2;
	return 0;
}

void Script_parse(SCRIPT_STAT *_pStat, const wchar_t *_pLine)
{
	if (!_pStat) return;
	_pStat->m_strCommand.clear();
	_pStat->m_strParam.clear();
	if (!_pLine) return;

	const wchar_t *p = _pLine;
	while (*p && *p != L' ' && *p != L'\t' && !batch_isLineEnd(*p)) {
		wchar_t c = *p++;
		if (c >= L'a' && c <= L'z') c = (wchar_t)(c - L'a' + L'A');
		_pStat->m_strCommand += c;
	}
	while (*p == L' ' || *p == L'\t') p++;
	const wchar_t *pParam = p;
	while (*p && !batch_isLineEnd(*p)) p++;
	_pStat->m_strParam.assign(pParam, (size_t)(p - pParam));
}

void Read_ScriptSection(const wchar_t *_pBody, int _iLength)
{
	if (!_pBody || _iLength <= 0 || s_stGl.m_iLock) return;
	int i = 0;
	while (i < _iLength) {
		while (i < _iLength && batch_isLineEnd(_pBody[i])) i++;
		const int iStart = i;
		while (i < _iLength && !batch_isLineEnd(_pBody[i])) i++;
		if (i == iStart) continue;
		// The body may end in the middle of a text (at a '['), so each line gets its own copy.
		std::wstring strLine(_pBody + iStart, (size_t)(i - iStart));
		SCRIPT_STAT stLine;
		Script_parse(&stLine, strLine.c_str());
		s_stGl.m_lstScript.push_back(stLine);
	}
}

void Read_FilesSection(const wchar_t *_pBody, int _iLength)
{
	if (!_pBody || _iLength <= 0) return;
	int i = 0;
	while (i < _iLength) {
		const int iStart = i;
		while (i < _iLength && !batch_isLineEnd(_pBody[i])) i++;
		const int iLine = i - iStart;
		while (i < _iLength && (batch_isLineEnd(_pBody[i]) || _pBody[i] == L'\t')) i++;
		if (iLine == 0) continue;
		if (iLine >= 260) {
			// Cutting it would name some other file; such a line is refused.
			wchar_t szHead[64];
			STRING_cpy(szHead, _pBody + iStart, 60);
			szHead[60] = 0;
			Message_err(L"ERROR : path too long (%d). %s...", iLine, szHead);
			continue;
		}
		wchar_t szLine[260];
		STRING_cpy(szLine, _pBody + iStart, iLine);
		szLine[iLine] = 0;
		s_stGl.m_cFileList.SetCallback(Entry_progress, &s_stMainWnd, 60);
		s_stGl.m_cFileList.Add(szLine);
	}
}

void Set_BatchFolder(const wchar_t *_pPath)
{
	s_stGl.m_szBatchDir[0] = 0;
	if (!_pPath) return;
	// The splitter empties the parts of a path that does not fit them, the joiner a
	// result that does not fit: the batch folder then stays empty.
	wchar_t szDrive[3];
	wchar_t szDir[256];
	FILE_split(_pPath, szDrive, szDir, 0, 0);
	FILE_merge(s_stGl.m_szBatchDir, szDrive, szDir, 0, 0, 260);
}

void Script_print()
{
	for (const SCRIPT_STAT &stLine : s_stGl.m_lstScript) {
		wchar_t szLine[1024];
		STRING_sprintf(szLine, 1024, L"%s %s", stLine.m_strCommand.c_str(), stLine.m_strParam.c_str());
		Message_win(szLine);
	}
}

int Read_KrelwinBatch(const wchar_t *_pPath, void (*_pSettingsRead)(const wchar_t *_pPath))
{
	if (!_pPath) return 0;
	wchar_t *pText = 0;
	int iLength = MEM_TextRead(&pText, _pPath);
	if (iLength <= 0 || !pText) {
		if (pText) MEM_free(&pText);
		return 0;
	}
	iLength = FILT_deleteREM(pText, iLength, L"//", L"/*", L"*/", L'"');
	Read_BatchSetting(pText, iLength);
	if (_pSettingsRead) _pSettingsRead(_pPath);

	std::wstring strText;
	batch_expandEnv(pText, iLength, strText);
	MEM_free(&pText);

	const wchar_t *pPos = strText.c_str();
	const wchar_t *pEnd = pPos + strText.size();
	while (pPos < pEnd) {
		const int iKind = Get_SectionKind(pPos, pEnd);
		if (iKind == 0) {
			pPos++;
			continue;
		}
		const wchar_t *pBody;
		int iBody;
		batch_sectionBody(pPos, pEnd, &pBody, &iBody);
		if (iKind == 1) {
			int iLen = iBody;
			while (iLen > 0 && batch_isLineEnd(pBody[iLen - 1])) iLen--;
			Read_ScriptSection(pBody, iLen);
		} else {
			Read_FilesSection(pBody, iBody);
		}
		// The next head is where this body ended.
		pPos = pBody + iBody;
	}
	Script_print();
	return 1;
}
