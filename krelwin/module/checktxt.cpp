// CHECKTXT: the per-file scan, the checks of one literal, word patterns, finding lines,
// the line filters of NOTETYPE 1 and 2 and the longest-segment report.
#include "krelwin/module/checktxt.h"

#include <algorithm>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/string/filter.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "kelto/tools/debug.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"
#include "krelwin/params/rangecheck.h"

namespace {

const int CHAR_COUNT = 0x10000;
// Found texts are at most 1,023 characters, list names 63; explanations may be longer
// and are cut with the message.
const int MESSAGE_LENGTH = 4096;

bool isBlank(wchar_t _c)
{
	return _c == L'\t' || _c == L'\r' || _c == L'\n' || _c == L' ' || _c == 0x3000;
}

bool isBreak(wchar_t _c)
{
	return _c == L'\r' || _c == L'\n';
}

// The "]" that closes a class opened by the "[" at _pOpen, or null when none does.
const wchar_t *classEnd(const wchar_t *_pOpen)
{
	const wchar_t *p = _pOpen + 1;
	if (*p == L'^') ++p;
	while (*p && *p != L']') ++p;
	return *p ? p : 0;
}

}  // namespace

MODULE_DEFINE_CREATOR(CHECKTXT)

CHECKTXT::CHECKTXT()
	: m_iInit(0), m_iActive(0), m_iFirst(0), m_iLine(1), m_iNoteType(0), m_iParentNoStart(0),
	  m_iParentNoMatch(0), m_iBestLongAll(1), m_stWdCt(0), m_iWdCtCount(0),
	  m_byCharSet(CHAR_COUNT, 0), m_byParent(CHAR_COUNT, 0), m_vFirstStart(CHAR_COUNT + 1, 0),
	  m_pTargetName(0), m_pTargetText(0), m_iTargetLength(0)
{
	clearBestLong();
	m_szParentPear[0] = m_szLineTopChar[0] = m_szIllegalSymbol[0] = m_szEnableEndChar[0] = 0;
	m_szSymbleSpace[0] = m_szSymbleOk[0] = m_szSymBestLong[0] = 0;
	m_szRemLine[0] = m_szRemStart[0] = m_szRemEnd[0] = 0;
}

CHECKTXT::~CHECKTXT()
{
	releaseLists();
	MEM_free(&m_pTargetText);
}

void CHECKTXT::clearBestLong()
{
	for (BESTLONG_RECORD &stRec : m_stBestLong) {
		stRec.m_szText[0] = 0;
		stRec.m_iLength = 0;
		stRec.m_iLine = 0;
		stRec.m_szFile[0] = 0;
	}
}

// A record is emptied once printed, so that it is not reported again for later files,
// script lines or runs.
void CHECKTXT::printBestLong()
{
	for (BESTLONG_RECORD &stRec : m_stBestLong) {
		if (stRec.m_iLength <= 0) continue;
		Message_info(L"長\t%s(%d): %s", stRec.m_szFile, stRec.m_iLine, stRec.m_szText);
		stRec.m_iLength = 0;
	}
}

void CHECKTXT::buildTables()
{
	std::fill(m_byCharSet.begin(), m_byCharSet.end(), 0);
	std::fill(m_byParent.begin(), m_byParent.end(), 0);
	struct { const wchar_t *m_pSet; int m_iBit; } const astSet[] = {
		{ m_szLineTopChar, SET_TOP }, { m_szIllegalSymbol, SET_ILLEGAL },
		{ m_szEnableEndChar, SET_END }, { m_szSymbleSpace, SET_SPACE },
		{ m_szSymbleOk, SET_OK }, { m_szSymBestLong, SET_LONG },
	};
	for (const auto &stSet : astSet) {
		for (const wchar_t *p = stSet.m_pSet; *p; ++p) {
			if (static_cast<unsigned>(*p) < CHAR_COUNT) m_byCharSet[*p] |= stSet.m_iBit;
		}
	}
	for (int i = 0; m_szParentPear[i]; ++i) {
		const wchar_t c = m_szParentPear[i];
		if (static_cast<unsigned>(c) >= CHAR_COUNT) continue;
		m_byCharSet[c] |= SET_PARENT;
		if (!m_byParent[c]) m_byParent[c] = static_cast<unsigned char>(i + 1);
	}

	// Words in list order and, within a list, in file order; the buckets by first
	// character keep that order, so findings come out as if every word were tried.
	m_vWords.clear();
	m_vClassWords.clear();
	for (int iList = 0; m_stWdCt && iList < m_iWdCtCount; ++iList) {
		const wchar_t *p = m_stWdCt[iList].m_pWords;
		if (!p) continue;
		for (int k = 0; k < m_stWdCt[iList].m_iCount; ++k) {
			const wchar_t *pWord = p;
			p += STRING_len(p) + 1;
			const wchar_t *pNote = p;
			p += STRING_len(p) + 1;
			if (*pWord) m_vWords.push_back({ pWord, pNote, iList });
		}
	}
	std::vector<int> vCount(CHAR_COUNT + 1, 0);
	for (int i = 0; i < static_cast<int>(m_vWords.size()); ++i) {
		const wchar_t *pWord = m_vWords[i].m_pWord;
		if (pWord[0] == L'[' && classEnd(pWord)) {
			m_vClassWords.push_back(i);
		} else if (static_cast<unsigned>(pWord[0]) < CHAR_COUNT) {
			++vCount[pWord[0] + 1];
		}
	}
	for (int c = 0; c < CHAR_COUNT; ++c) vCount[c + 1] += vCount[c];
	m_vFirstStart = vCount;
	m_vFirstIndex.assign(vCount[CHAR_COUNT], 0);
	for (int i = 0; i < static_cast<int>(m_vWords.size()); ++i) {
		const wchar_t *pWord = m_vWords[i].m_pWord;
		if (pWord[0] == L'[' && classEnd(pWord)) continue;
		if (static_cast<unsigned>(pWord[0]) < CHAR_COUNT) m_vFirstIndex[vCount[pWord[0]]++] = i;
	}
}

int CHECKTXT::isCharIn(const wchar_t *_pChar, const wchar_t *_pSet)
{
	if (!_pChar || !_pSet || !*_pChar) return 0;
	return STRING_chr(_pSet, *_pChar) ? 1 : 0;
}

void CHECKTXT::mojiCpy(wchar_t *_pOut, int *_pOutIndex, const wchar_t *_pIn, int *_pInIndex)
{
	KELTO_ASSERT_MSG(_pOut != 0, L"_out");
	KELTO_ASSERT_MSG(_pIn != 0, L"_mem");
	if (!_pOut || !_pIn || !_pOutIndex || !_pInIndex) return;
	_pOut[(*_pOutIndex)++] = _pIn[(*_pInIndex)++];
}

int CHECKTXT::matchPattern(const wchar_t *_pText, const wchar_t *_pPattern)
{
	if (!_pText || !_pPattern || !*_pPattern || isBlank(*_pText)) return 0;
	int t = 0;
	const wchar_t *q = _pPattern;
	while (*q) {
		while (isBlank(_pText[t])) ++t;
		const wchar_t c = _pText[t];
		if (c == 0) return 0;
		const wchar_t *pClose = (*q == L'[') ? classEnd(q) : 0;
		if (pClose) {
			const bool bNegate = q[1] == L'^';
			bool bIn = false;
			for (const wchar_t *r = q + (bNegate ? 2 : 1); r < pClose; ++r) {
				if (*r == c) bIn = true;
			}
			if (bIn == bNegate) return 0;
			q = pClose + 1;
		} else {
			// A "[" without its "]" stands for itself.
			if (*q != c) return 0;
			++q;
		}
		++t;
	}
	return t;
}

// Copies the line text of a finding into _pOut (TEXT_LENGTH): the line of the file at
// the line counter, or, when the file cannot be read, the literal's printable characters.
int CHECKTXT::lineText(const wchar_t *_pFile, const wchar_t *_pLiteral, wchar_t *_pOut)
{
	_pOut[0] = 0;
	const wchar_t *pText = 0;
	int iLength = 0;
	wchar_t *pOwn = 0;
	std::vector<int> vOwnStart;
	const std::vector<int> *pStart = 0;
	if (_pFile && m_pTargetName && STRING_cmp(_pFile, m_pTargetName) == 0) {
		// The target in hand is read once, however many findings it has.
		if (!m_pTargetText && m_iTargetLength == 0) {
			m_iTargetLength = MEM_TextRead(&m_pTargetText, _pFile);
			if (m_iTargetLength <= 0 || !m_pTargetText) m_iTargetLength = -1;
			m_vLineStart.assign(1, 0);
			for (int i = 0; i < m_iTargetLength; ++i) {
				if (m_pTargetText[i] == L'\n') m_vLineStart.push_back(i + 1);
			}
		}
		if (m_iTargetLength > 0) {
			pText = m_pTargetText;
			iLength = m_iTargetLength;
			pStart = &m_vLineStart;
		}
	} else if (_pFile) {
		iLength = MEM_TextRead(&pOwn, _pFile);
		if (iLength > 0 && pOwn) {
			pText = pOwn;
			vOwnStart.assign(1, 0);
			for (int i = 0; i < iLength; ++i) {
				if (pOwn[i] == L'\n') vOwnStart.push_back(i + 1);
			}
			pStart = &vOwnStart;
		}
	}

	int iOut = 0;
	if (pText) {
		// A line counter past the file's last line gives an empty line text.
		const long long llIndex = static_cast<long long>(m_iLine) - 1;
		if (llIndex >= 0 && llIndex < static_cast<long long>(pStart->size())) {
			for (int i = (*pStart)[static_cast<size_t>(llIndex)];
				 i < iLength && !isBreak(pText[i]) && iOut < TEXT_LENGTH - 1; ++i) {
				_pOut[iOut++] = pText[i];
			}
		}
	} else if (_pLiteral) {
		for (const wchar_t *p = _pLiteral; *p && iOut < TEXT_LENGTH - 1; ++p) {
			if (*p >= 32) _pOut[iOut++] = *p;
		}
	}
	_pOut[iOut] = 0;
	MEM_free(&pOwn);
	return iOut;
}

void CHECKTXT::printError(int _iKind, const wchar_t *_pFile, const wchar_t *_pMessage,
						  const wchar_t *_pLiteral)
{
	wchar_t szLine[TEXT_LENGTH];
	lineText(_pFile, _pLiteral, szLine);
	wchar_t szPrefix[16] = { 0 };
	if (_iKind >= 0 && _iKind <= 5) {
		STRING_sprintf(szPrefix, 16, L"%d\t", _iKind);
	} else if (_iKind > 5) {
		STRING_sprintf(szPrefix, 16, L"%c\t", _iKind);
	}
	Message_info(L"%s%s(%d): %s%s%s", szPrefix, _pFile ? _pFile : L"", m_iLine, szLine,
				 L"\t\t←", _pMessage ? _pMessage : L"");
}

// Every word that matches at _pText, list by list and word by word.
void CHECKTXT::wordFindings(const wchar_t *_pFile, const wchar_t *_pText, const wchar_t *_pLiteral)
{
	const wchar_t c = *_pText;
	if (c == 0 || isBlank(c) || static_cast<unsigned>(c) >= CHAR_COUNT) return;
	const int *pFirst = m_vFirstIndex.data() + m_vFirstStart[c];
	const int *pFirstEnd = m_vFirstIndex.data() + m_vFirstStart[c + 1];
	if (pFirst == pFirstEnd && m_vClassWords.empty()) return;
	const int *pClass = m_vClassWords.data();
	const int *pClassEnd = pClass + m_vClassWords.size();
	while (pFirst < pFirstEnd || pClass < pClassEnd) {
		int iWord;
		if (pClass == pClassEnd || (pFirst < pFirstEnd && *pFirst < *pClass)) {
			iWord = *pFirst++;
		} else {
			iWord = *pClass++;
		}
		const WORD_ENTRY &stWord = m_vWords[iWord];
		const int iMatch = matchPattern(_pText, stWord.m_pWord);
		if (iMatch <= 0) continue;
		wchar_t szFound[TEXT_LENGTH];
		int iFound = 0;
		for (int k = 0; k < iMatch && iFound < TEXT_LENGTH - 1; ++k) {
			if (!isBreak(_pText[k])) szFound[iFound++] = _pText[k];
		}
		szFound[iFound] = 0;
		wchar_t szMessage[MESSAGE_LENGTH];
		STRING_sprintf(szMessage, MESSAGE_LENGTH, L"%sの可能性\"%s\"を含む%s%s",
					   m_stWdCt[stWord.m_iList].m_szName, szFound,
					   stWord.m_pNote[0] ? L"  " : L"", stWord.m_pNote);
		printError(65 + stWord.m_iList, _pFile, szMessage, _pLiteral);
	}
}

int CHECKTXT::checkLine(const wchar_t *_pFile, const wchar_t *_pText, int _iRemain)
{
	if (!_pText || _iRemain <= 0) return _iRemain > 0 ? _iRemain : 0;
	int aiCount[256] = { 0 };
	wchar_t szMessage[MESSAGE_LENGTH];
	bool bIllegal = false;

	const wchar_t cFirst = _pText[0];
	if (MOJI_isZen(cFirst)) {
		if (m_szIllegalSymbol[0] && inSet(cFirst, SET_ILLEGAL)) {
			printError(1, _pFile, L"注釈記号抜けの可能性", 0);
			bIllegal = true;
		}
		if (m_szLineTopChar[0] && !inSet(cFirst, SET_TOP)) {
			printError(2, _pFile, L"行頭に無効な文字", 0);
		}
	}
	// Every line feed of the literal counts once, the first character included.
	if (cFirst == L'\n') ++m_iLine;

	const bool bLong = m_szSymBestLong[0] != 0;
	const bool bWords = !m_vWords.empty();
	int i = 0;
	int iLast = -1;
	int iSegment = 0;
	while (i < _iRemain && _pText[i] != L'"') {
		BUSY_poll();
		const wchar_t c = _pText[i];
		if (bWords) wordFindings(_pFile, _pText + i, _pText);

		if (m_szSymbleSpace[0] && inSet(c, SET_SPACE)) {
			const wchar_t cNext = (i + 1 < _iRemain) ? _pText[i + 1] : 0;
			if (cNext != 0 && cNext != L'"' && !isBreak(cNext) && cNext != 0x3000 &&
				!(m_szSymbleOk[0] && inSet(cNext, SET_OK))) {
				STRING_sprintf(szMessage, MESSAGE_LENGTH, L"'%c'の後に空白が無い", c);
				printError(4, _pFile, szMessage, 0);
			}
		}

		if (MOJI_isZen(c) && inSet(c, SET_PARENT)) {
			const int iAt = m_byParent[c] - 1;
			const int iPair = iAt / 2;
			if ((iAt & 1) == 0) {
				++aiCount[iPair];
			} else if (m_iParentNoStart && aiCount[iPair] == 0) {
				STRING_sprintf(szMessage, MESSAGE_LENGTH, L"'%c'で始まっていない'%c'",
							   m_szParentPear[iPair * 2], m_szParentPear[iPair * 2 + 1]);
				printError(3, _pFile, szMessage, 0);
			} else {
				--aiCount[iPair];
			}
		}

		iLast = i;
		++i;

		if (bLong) {
			const int s = inSet(_pText[iLast], SET_LONG) ? 1 : 0;
			const wchar_t cNow = (i < _iRemain) ? _pText[i] : 0;
			if (i >= _iRemain || cNow == L'"' || cNow == L'\n' || s) {
				const int iLength = i - s - iSegment;
				if (iLength > m_stBestLong[0].m_iLength) {
					for (int k = BESTLONG_MAX - 1; k > 0; --k) m_stBestLong[k] = m_stBestLong[k - 1];
					BESTLONG_RECORD &stRec = m_stBestLong[0];
					const int iCopy = iLength < TEXT_LENGTH - 1 ? iLength : TEXT_LENGTH - 1;
					for (int k = 0; k < iCopy; ++k) stRec.m_szText[k] = _pText[iSegment + k];
					stRec.m_szText[iCopy] = 0;
					stRec.m_iLength = iLength;
					stRec.m_iLine = m_iLine;
					const int iName = STRING_len(_pFile);
					const int iNameCopy = iName < 259 ? iName : 259;
					for (int k = 0; k < iNameCopy; ++k) stRec.m_szFile[k] = _pFile[k];
					stRec.m_szFile[iNameCopy] = 0;
				}
				iSegment = i;
				while (iSegment < _iRemain && _pText[iSegment] == L'\n') ++iSegment;
			}
		}

		if (i < _iRemain && _pText[i] == L'\n') ++m_iLine;
	}

	if (m_iParentNoMatch) {
		const int iPairs = STRING_len(m_szParentPear) / 2;
		for (int k = 0; k < iPairs; ++k) {
			if (aiCount[k] <= 0) continue;
			STRING_sprintf(szMessage, MESSAGE_LENGTH, L"%c%cの数が合っていない",
						   m_szParentPear[k * 2], m_szParentPear[k * 2 + 1]);
			printError(3, _pFile, szMessage, 0);
		}
	}

	if (iLast >= 0 && !bIllegal && m_szEnableEndChar[0] && !inSet(_pText[iLast], SET_END)) {
		printError(0, _pFile, L"末尾が有効な文字で終っていない", 0);
	}
	return i;
}

int CHECKTXT::filt_StringLine(wchar_t *_pText, int _iCapacity)
{
	return filtLines(_pText, _iCapacity, false);
}

int CHECKTXT::filt_StringLine2(wchar_t *_pText, int _iCapacity)
{
	return filtLines(_pText, _iCapacity, true);
}

// Every line becomes one double-quoted literal; with _bBrackets a line break inside a
// bracket pair of PARENTPEAR does not end it. The work buffer is never written past
// its capacity.
int CHECKTXT::filtLines(wchar_t *_pText, int _iCapacity, bool _bBrackets)
{
	if (!_pText || _iCapacity <= 0) return 0;
	wchar_t *pWork = KELTO_NEW("CHECKTXT::filt_StringLine") wchar_t[_iCapacity];
	if (!pWork) return STRING_len(_pText);
	int iOut = 0;
	auto put = [&](wchar_t _c) {
		if (iOut < _iCapacity - 1) pWork[iOut++] = _c;
	};
	int j = 0;
	while (isBreak(_pText[j])) put(_pText[j++]);
	bool bOpen = false;
	if (_pText[j]) {
		put(L'"');
		bOpen = true;
	}
	int iDepth = 0;
	while (_pText[j]) {
		BUSY_poll();
		const wchar_t c = _pText[j];
		if (_bBrackets && static_cast<unsigned>(c) < CHAR_COUNT && m_byParent[c]) {
			if (((m_byParent[c] - 1) & 1) == 0) {
				++iDepth;
			} else if (iDepth > 0) {
				--iDepth;
			}
		}
		if (!isBreak(c) || iDepth > 0) {
			put(c);
			++j;
			continue;
		}
		if (bOpen) put(L'"');
		bOpen = false;
		while (isBreak(_pText[j])) put(_pText[j++]);
		if (_pText[j]) {
			put(L'"');
			bOpen = true;
		}
	}
	if (bOpen) put(L'"');
	pWork[iOut] = 0;
	for (int k = 0; k <= iOut; ++k) _pText[k] = pWork[k];
	FILE_TextWrite(L"buff.txt", _pText, 0);
	delete[] pWork;
	return iOut;
}

int CHECKTXT::Func(const wchar_t *_pLine)
{
	CKvlParam cParam(_pLine);
	const wchar_t *pTarget = cParam.GetTarget();
	const wchar_t *pIniFile = cParam.GetParam(1);
	Initialize(pIniFile, 0);
	if (!pTarget || !*pTarget) return 0;

	// The settings file itself is never checked.
	if (pIniFile && STRING_len(pIniFile) < 260) {
		wchar_t szName[256], szExt[256], szTarget[260], szIni[260];
		FILE_split(pTarget, 0, 0, szName, szExt);
		FILE_merge(szTarget, 0, 0, szName, szExt, 260);
		STRING_cpy(szIni, pIniFile);
		STRING_upper(szTarget);
		STRING_upper(szIni);
		if (STRING_cmp(szTarget, szIni) == 0) return 0;
	}

	// Room for the literal filters, which add two quotes per line or run: a text of n
	// characters grows to at most 2n + 1 and its terminator.
	const int FACTOR = 3;
	wchar_t *pText = 0;
	int iLength = MEM_TextRead2(&pText, pTarget, FACTOR);
	if (iLength <= 0 || !pText) {
		MEM_free(&pText);
		return 0;
	}
	const int iCapacity = iLength * FACTOR + 1;
	m_iActive = 1;

	// An empty marker is no marker; a block comment needs both of its markers.
	const bool bBlock = m_szRemStart[0] && m_szRemEnd[0];
	if (m_szRemLine[0] || bBlock) {
		iLength = FILT_deleteREM(pText, iLength, m_szRemLine[0] ? m_szRemLine : 0,
								 bBlock ? m_szRemStart : 0, bBlock ? m_szRemEnd : 0, L'"');
	}

	// Single-quoted strings become double-quoted ones.
	for (int i = 0; i < iLength; ++i) {
		if (pText[i] == L'"') {
			++i;
			while (i < iLength && pText[i] != L'"') ++i;
		} else if (pText[i] == L'\'') {
			pText[i] = L'"';
		}
	}

	switch (m_iNoteType) {
	case 0:
		iLength = FILT_StringRelief(pText, iCapacity - 1, 0, 0, L'"');
		break;
	case 1:
		iLength = filt_StringLine(pText, iCapacity);
		break;
	case 2:
		iLength = filt_StringLine2(pText, iCapacity);
		break;
	default:
		break;
	}

	m_pTargetName = pTarget;
	m_iTargetLength = 0;
	CRangeCheck &cRange = s_cRangeCheck;
	cRange.Init(pText, iLength);
	m_iLine = 1;
	// The literals are found from the text's own quotes; the range markers decide which of
	// them are checked. Every position is shown to the range object in increasing order, so
	// that it sees the end of a marked stretch as well as its start.
	int i = 0;
	while (i < iLength) {
		BUSY_poll();
		const bool bSkip = cRange.IsSkip(pText, i, iLength) != 0;
		if (pText[i] != L'"') {
			if (pText[i] == L'\n') ++m_iLine;
			++i;
			continue;
		}
		++i;
		if (i >= iLength) break;
		int iClose = i;
		bool bCheck = false;
		bool bInRange = !bSkip;
		while (iClose < iLength && pText[iClose] != L'"') {
			if (!cRange.IsSkip(pText, iClose, iLength)) bInRange = true;
			if (pText[iClose] == L'\\' || MOJI_isZen(pText[iClose])) bCheck = true;
			++iClose;
		}
		if (bCheck && bInRange) {
			i += checkLine(pTarget, pText + i, iLength - i);
		} else {
			for (; i < iClose; ++i) {
				if (pText[i] == L'\n') ++m_iLine;
			}
		}
		++i;
	}

	MEM_free(&pText);
	MEM_free(&m_pTargetText);
	m_pTargetName = 0;
	m_iTargetLength = 0;
	m_vLineStart.clear();

	if (m_iBestLongAll == 0 && m_szSymBestLong[0]) printBestLong();
	return 1;
}

void CHECKTXT::Quit(int /*_iFinal*/)
{
	if (m_iActive == 0) return;
	m_iActive = 0;
	m_iInit = 0;
	if (m_iBestLongAll != 0 && m_szSymBestLong[0]) printBestLong();
	releaseLists();
}
