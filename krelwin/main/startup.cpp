// The command line: quotes, options and the temporary batch.
#include "krelwin/main/startup.h"

#include <cwchar>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/main/global.h"

int Strip_Quote(const wchar_t *_pSrc, wchar_t *_pDst, int _iSize)
{
	if (!_pSrc || !_pDst || _iSize <= 0) return 0;
	const wchar_t *pFrom = _pSrc;
	int iLen;
	if (*pFrom == L'"') {
		++pFrom;
		const wchar_t *pClose = std::wcschr(pFrom, L'"');
		iLen = pClose ? (int)(pClose - pFrom) : STRING_len(pFrom);
	} else {
		iLen = STRING_len(pFrom);
	}
	_pDst[0] = 0;
	if (iLen >= _iSize) return -2;
	for (int i = 0; i < iLen; ++i) _pDst[i] = pFrom[i];
	_pDst[iLen] = 0;
	return 1;
}

int Get_OptionSection(const wchar_t *_pSection, wchar_t *_pText, int _iLimit, const wchar_t *_pLine,
					  const wchar_t *_pOption)
{
	if (!_pSection || !_pText || !_pLine || !_pOption || !_pOption[0] || _iLimit <= 0) return 0;
	const wchar_t *pFound = std::wcsstr(_pLine, _pOption);
	if (!pFound) return 0;

	const int iOld = STRING_len(_pText);
	int iLen = iOld;
	// Room for the terminator and the closing CR LF is kept from the start.
	const int iMax = _iLimit - 3;
	wchar_t szHead[64];
	const int iHead = STRING_sprintf(szHead, 64, L"[%s]\r\n", _pSection);
	if (iHead < 0 || iLen + iHead > iMax) return -2;
	for (int i = 0; i < iHead; ++i) _pText[iLen++] = szHead[i];
	const int iValue = iLen;

	int iQuote = 0;
	for (const wchar_t *p = pFound + STRING_len(_pOption); *p; ++p) {
		if (*p == L'-' && !iQuote) break;
		if (*p == L'"') {
			// An escaped quote (\") stands for itself: it takes the copied backslash's place.
			if (p[-1] == L'\\' && iLen > iValue) _pText[iLen - 1] = L'"';
			else iQuote = !iQuote;
			continue;
		}
		const int iNeed = (*p == L';') ? 2 : 1;
		if (iLen + iNeed > iMax) {
			_pText[iOld] = 0;
			return -2;
		}
		if (*p == L';') {
			_pText[iLen++] = L'\r';
			_pText[iLen++] = L'\n';
		} else {
			_pText[iLen++] = *p;
		}
	}
	while (iLen > 1 && (unsigned)_pText[iLen - 1] <= 0x20) --iLen;
	if (iLen - iValue >= 2 && _pText[iValue] == L'"' && _pText[iLen - 1] == L'"') {
		for (int i = iValue; i < iLen - 2; ++i) _pText[i] = _pText[i + 1];
		iLen -= 2;
	}
	_pText[iLen++] = L'\r';
	_pText[iLen++] = L'\n';
	_pText[iLen] = 0;
	return 1;
}

int MakeTempScript(const wchar_t *_pLine)
{
	wchar_t szText[STARTUP_SCRIPT_LENGTH] = { 0 };
	static const struct { const wchar_t *pSection, *pOption; } s_aOption[] = {
		{ L"script", L"-s" }, { L"files", L"-f" }, { L"setting", L"-o" },
	};
	int iRefused = 0;
	for (const auto &cOption : s_aOption) {
		if (Get_OptionSection(cOption.pSection, szText, STARTUP_SCRIPT_LENGTH, _pLine, cOption.pOption) == -2)
			iRefused = 1;
	}
	if (iRefused) return -2;
	if (szText[0] == 0) return 0;

	wchar_t szPath[FILE_PATH_LENGTH] = { 0 };
	FILE_GetCurrentDirectory(szPath, FILE_PATH_LENGTH);
	FILE_AddSeparator(szPath);
	if (!STRING_cat(szPath, L"temp.kvl", FILE_PATH_LENGTH - 1)) return -2;
	STRING_cpy(s_szTempBatch, szPath);
	// Replaced whole, never cut short; when it cannot be written, an earlier one is not run
	// in its place (the batch then cannot be read, which the log says).
	if (!FILE_TextWrite(szPath, szText, 0)) FILE_Delete(szPath);
	STRING_cpy(s_stGl.m_szBatchPath, szPath);
	// The block in force is still the settings-file block, so krelwin.ini keeps these.
	s_stGl.m_pSetting->AUTOEXEC = 1;
	s_stGl.m_pSetting->ATEXIT = 1;
	return 1;
}
