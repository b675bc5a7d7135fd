// CHECKTXT set-up: the settings file with its include lines, the [MAIN] keys and the
// word lists that follow "STRING=" lines.
#include "krelwin/module/checktxt.h"

#include <vector>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/probuff.h"
#include "kelto/string/string.h"
#include "kelto/tools/debug.h"
#include "krelwin/main/message.h"

namespace {

// First place of _pWord in _pText[_iFrom, _iLength), or -1. The text may hold NULs.
int findPlain(const wchar_t *_pText, int _iFrom, int _iLength, const wchar_t *_pWord)
{
	const int iWord = STRING_len(_pWord);
	for (int i = _iFrom; i + iWord <= _iLength; ++i) {
		int k = 0;
		while (k < iWord && _pText[i + k] == _pWord[k]) ++k;
		if (k == iWord) return i;
	}
	return -1;
}

// One include line: the stretch it takes out of the text and the text put in its place.
struct INCLUDE {
	int		m_iStart;
	int		m_iEnd;
	wchar_t	*m_pText;
	int		m_iLength;
};

}  // namespace

int CHECKTXT::readInit(wchar_t **_ppOut, const wchar_t *_pIniFile)
{
	if (!_ppOut) return 0;
	MEM_free(_ppOut);
	if (!_pIniFile || !*_pIniFile || STRING_len(_pIniFile) >= 260) return 0;

	wchar_t szDrive[3], szDir[256];
	FILE_split(_pIniFile, szDrive, szDir, 0, 0);

	wchar_t *pText = 0;
	const int iLength = MEM_TextRead(&pText, _pIniFile);
	if (iLength <= 0 || !pText) return 0;

	// Only the settings file itself is searched: includes do not nest, so an include of
	// the file itself adds its text once.
	std::vector<INCLUDE> vInclude;
	long long llTotal = iLength;
	for (int iPos = findPlain(pText, 0, iLength, L"FILE"); iPos >= 0;
		 iPos = findPlain(pText, iPos, iLength, L"FILE")) {
		INCLUDE stInc = { iPos, iPos + 4, 0, 0 };
		int j = iPos + 4;
		// The name stands on the same line: TABs and other controls are passed over,
		// line breaks are not.
		while (j < iLength && pText[j] < 32 && pText[j] != L'\r' && pText[j] != L'\n') ++j;
		if (j < iLength && pText[j] == L'=') ++j;
		while (j < iLength && pText[j] < 32 && pText[j] != L'\r' && pText[j] != L'\n') ++j;
		const int iName = j;
		while (j < iLength && pText[j] >= 32) ++j;
		stInc.m_iEnd = j;
		const int iNameLength = j - iName;
		// A name that cannot be a path adds nothing, like a missing file.
		if (iNameLength > 0 && iNameLength < 260) {
			wchar_t szName[260], szPath[260];
			STRING_cpy(szName, pText + iName, iNameLength);
			szName[iNameLength] = 0;
			FILE_merge(szPath, szDrive, szDir, szName, 0, 260);
			if (szPath[0]) {
				stInc.m_iLength = MEM_TextRead(&stInc.m_pText, szPath);
				if (stInc.m_iLength <= 0) stInc.m_iLength = 0;
			}
		}
		llTotal += stInc.m_iLength - (stInc.m_iEnd - stInc.m_iStart);
		vInclude.push_back(stInc);
		iPos = j;
	}

	int iOut = 0;
	if (llTotal < 0x7FFFFFF0LL) {
		*_ppOut = KELTO_NEW("CHECKTXT::readInit") wchar_t[static_cast<size_t>(llTotal) + 1];
	}
	if (*_ppOut) {
		wchar_t *pOut = *_ppOut;
		int iFrom = 0;
		for (const INCLUDE &stInc : vInclude) {
			for (int k = iFrom; k < stInc.m_iStart; ++k) pOut[iOut++] = pText[k];
			for (int k = 0; k < stInc.m_iLength; ++k) pOut[iOut++] = stInc.m_pText[k];
			iFrom = stInc.m_iEnd;
		}
		for (int k = iFrom; k < iLength; ++k) pOut[iOut++] = pText[k];
		pOut[iOut] = 0;
	}
	for (INCLUDE &stInc : vInclude) MEM_free(&stInc.m_pText);
	MEM_free(&pText);
	return iOut;
}

int CHECKTXT::setup(const wchar_t *_pIniFile)
{
	wchar_t *pText = 0;
	int iLength = readInit(&pText, _pIniFile);
	if (iLength <= 0) {
		MEM_free(&pText);
		return 0;
	}
	FILE_TextWrite(L"initFile.txt", pText, 0);

	// The markers are read while the comments are still there: they may be "//" themselves.
	PROBUFF_GetString(pText, iLength, L"MAIN", L"REMLINE", m_szRemLine, MARK_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"REMSTART", m_szRemStart, MARK_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"REMEND", m_szRemEnd, MARK_LENGTH, L"");

	iLength = FILT_deleteREM(pText, iLength, L"//", L"/*", L"*/", L'"');
	iLength = FILT_deleteTailSpace(pText, iLength);

	m_iNoteType = PROBUFF_GetInt(pText, iLength, L"MAIN", L"NOTETYPE", 0);
	m_iParentNoStart = PROBUFF_GetInt(pText, iLength, L"MAIN", L"PARENTNOSTART", 0);
	m_iParentNoMatch = PROBUFF_GetInt(pText, iLength, L"MAIN", L"PARENTNOMATCH", 0);
	PROBUFF_GetString(pText, iLength, L"MAIN", L"PARENTPEAR", m_szParentPear, SET_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"ILLEGALSYMBOL", m_szIllegalSymbol, SET_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"LINETOPCHAR", m_szLineTopChar, SET_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"ENABLEENDCHAR", m_szEnableEndChar, SET_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"SYMBLESPACE", m_szSymbleSpace, SET_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"SYMBLEOK", m_szSymbleOk, SET_LENGTH, L"");
	PROBUFF_GetString(pText, iLength, L"MAIN", L"SYMBESTLONG", m_szSymBestLong, SET_LENGTH, L"");
	m_iBestLongAll = PROBUFF_GetInt(pText, iLength, L"MAIN", L"BESTLONGALL", 1);

	int iList = 0;
	int iPos = m_stWdCt ? findPlain(pText, 0, iLength, L"STRING=") : -1;
	while (iPos >= 0 && iList < WORD_LIST_MAX) {
		WORD_LIST &stList = m_stWdCt[iList++];
		int j = iPos + 7;
		int iName = 0;
		while (j < iLength && iName < 63 && pText[j] != L'\t' && pText[j] != L'\r' &&
			   pText[j] != L'\n') {
			mojiCpy(stList.m_szName, &iName, pText, &j);
		}
		stList.m_szName[iName] = 0;
		while (j < iLength && (pText[j] == L'\r' || pText[j] == L'\n')) ++j;

		const int iNext = findPlain(pText, j, iLength, L"STRING=");
		int iEnd = iNext >= 0 ? iNext : iLength;
		while (iEnd > j && (pText[iEnd - 1] == L'\t' || pText[iEnd - 1] == L'\r' ||
							pText[iEnd - 1] == L'\n')) {
			--iEnd;
		}
		iPos = iNext;
		if (iEnd <= j) continue;

		// Each character is written at most once and every line end or TAB run adds at
		// most two NULs, so twice the list text and the closing NULs always fit.
		const int iCapacity = 2 * (iEnd - j) + 4;
		wchar_t *pWords = KELTO_NEW("CHECKTXT::setup") wchar_t[iCapacity];
		KELTO_ASSERT_MSG(pWords != 0, L"領域が確保できなかった");
		if (!pWords) continue;
		int iOut = 0;
		auto put = [&](wchar_t _c) {
			KELTO_ASSERT_MSG(iOut < iCapacity, L"領域をオーバー");
			if (iOut < iCapacity) pWords[iOut++] = _c;
		};
		int iPairs = 1;
		bool bNote = false;
		bool bCopied = false;
		while (j < iEnd) {
			const wchar_t c = pText[j];
			if (c != L'\t' && c != L'\r' && c != L'\n') {
				put(c);
				bCopied = true;
				++j;
				continue;
			}
			++j;
			bool bLineEnd = (c == L'\n');
			if (!bLineEnd) {
				while (j < iEnd && pText[j] == L'\t') ++j;
				if (j < iEnd && pText[j] == L'\n') {
					bLineEnd = true;
					++j;
				}
			}
			if (bLineEnd) {
				put(0);
				if (!bNote) put(0);
				bNote = false;
				++iPairs;
			} else if (bNote) {
				// A second explanation continues the first, so that the strings of the
				// block stay in word and explanation pairs.
				Message_err(L"設定ファイルに複数の解説が記述されています");
				put(L' ');
			} else {
				put(0);
				bNote = true;
			}
		}
		put(0);
		if (!bNote) put(0);
		put(0);
		stList.m_pWords = pWords;
		stList.m_iCount = bCopied ? iPairs : 0;
	}
	m_iWdCtCount = iList;
	MEM_free(&pText);
	return 1;
}

void CHECKTXT::Initialize(const wchar_t *_pIniFile, int /*_iExtra*/)
{
	if (m_iInit == 1) return;
	m_iInit = 1;
	if (m_iFirst == 0) m_iFirst = 1;
	releaseLists();
	m_stWdCt = KELTO_NEW("CHECKTXT::Initialize") WORD_LIST[WORD_LIST_MAX];
	if (m_stWdCt) MEM_clear(m_stWdCt, static_cast<int>(sizeof(WORD_LIST)) * WORD_LIST_MAX);
	m_iWdCtCount = 0;
	if (!setup(_pIniFile)) {
		Message_err(L"設定ファイル %s が読めません", _pIniFile ? _pIniFile : L"");
	}
	buildTables();
}

void CHECKTXT::releaseLists()
{
	if (m_stWdCt) {
		for (int i = 0; i < WORD_LIST_MAX; ++i) MEM_free(&m_stWdCt[i].m_pWords);
		delete[] m_stWdCt;
		m_stWdCt = 0;
	}
	m_iWdCtCount = 0;
	m_vWords.clear();
}
