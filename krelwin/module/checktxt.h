// CHECKTXT: checks the string literals of script and text files against the rules of a
// settings file (start and end characters, blanks after symbols, bracket pairs, word
// lists) and tracks the longest text segments. Findings go to the message log.
// CHECKEXCEL derives from it and feeds spreadsheet cells to checkLine.
#ifndef KRELWIN_MODULE_CHECKTXT_H
#define KRELWIN_MODULE_CHECKTXT_H

#include <vector>

#include "krelwin/module/module.h"

// One word list of the settings file: pairs of NUL-terminated strings (word, then
// explanation, empty when the line had none), one pair per list line, and a final NUL.
struct WORD_LIST {
	wchar_t	*m_pWords;			// released by CHECKTXT::Quit; null for a list without words
	int		m_iCount;			// pairs in m_pWords
	wchar_t	m_szName[64];
};

// One of the longest segments seen, longest first.
struct BESTLONG_RECORD {
	wchar_t	m_szText[1024];		// the segment's first 1,023 characters at most
	int		m_iLength;			// the segment's whole length; 0 marks an empty record
	int		m_iLine;
	wchar_t	m_szFile[260];
};

class CHECKTXT : public CModule {
public:
	enum {
		WORD_LIST_MAX	= 256,
		BESTLONG_MAX	= 4,
		SET_LENGTH		= 256,	// character sets, terminator included
		MARK_LENGTH		= 8,	// comment markers, terminator included
		TEXT_LENGTH		= 1024,	// found texts and line texts, terminator included
	};

	CHECKTXT();
	int Func(const wchar_t *_pLine) override;
	void Quit(int _iFinal) override;
	~CHECKTXT() override;

	CHECKTXT(const CHECKTXT &) = delete;
	CHECKTXT &operator=(const CHECKTXT &) = delete;

	void Initialize(const wchar_t *_pIniFile, int _iExtra);
	int setup(const wchar_t *_pIniFile);
	int readInit(wchar_t **_ppOut, const wchar_t *_pIniFile);

	int checkLine(const wchar_t *_pFile, const wchar_t *_pText, int _iRemain);
	void printError(int _iKind, const wchar_t *_pFile, const wchar_t *_pMessage,
					const wchar_t *_pLiteral);
	int matchPattern(const wchar_t *_pText, const wchar_t *_pPattern);
	int isCharIn(const wchar_t *_pChar, const wchar_t *_pSet);
	void mojiCpy(wchar_t *_pOut, int *_pOutIndex, const wchar_t *_pIn, int *_pInIndex);
	int filt_StringLine(wchar_t *_pText, int _iCapacity);
	int filt_StringLine2(wchar_t *_pText, int _iCapacity);
	void SetMode(int _iLine) { m_iLine = _iLine; }

protected:
	int				m_iInit;
	int				m_iActive;
	int				m_iFirst;
	int				m_iLine;
	int				m_iNoteType;
	int				m_iParentNoStart;
	int				m_iParentNoMatch;
	int				m_iBestLongAll;
	BESTLONG_RECORD	m_stBestLong[BESTLONG_MAX];
	wchar_t			m_szParentPear[SET_LENGTH];
	wchar_t			m_szLineTopChar[SET_LENGTH];
	wchar_t			m_szIllegalSymbol[SET_LENGTH];
	wchar_t			m_szEnableEndChar[SET_LENGTH];
	wchar_t			m_szSymbleSpace[SET_LENGTH];
	wchar_t			m_szSymbleOk[SET_LENGTH];
	wchar_t			m_szSymBestLong[SET_LENGTH];
	WORD_LIST		*m_stWdCt;
	int				m_iWdCtCount;
	wchar_t			m_szRemLine[MARK_LENGTH];
	wchar_t			m_szRemStart[MARK_LENGTH];
	wchar_t			m_szRemEnd[MARK_LENGTH];

private:
	// Lookup tables built from the settings, so that each text position costs a few
	// table reads instead of a scan of every set and every word.
	enum {
		SET_PARENT = 0x01, SET_TOP = 0x02, SET_ILLEGAL = 0x04, SET_END = 0x08,
		SET_SPACE = 0x10, SET_OK = 0x20, SET_LONG = 0x40,
	};
	struct WORD_ENTRY {
		const wchar_t	*m_pWord;
		const wchar_t	*m_pNote;
		int				m_iList;
	};
	void buildTables();
	void releaseLists();
	void clearBestLong();
	void printBestLong();
	bool inSet(wchar_t _c, int _iSet) const { return (m_byCharSet[_c] & _iSet) != 0; }
	void wordFindings(const wchar_t *_pFile, const wchar_t *_pText, const wchar_t *_pLiteral);
	int lineText(const wchar_t *_pFile, const wchar_t *_pLiteral, wchar_t *_pOut);
	int filtLines(wchar_t *_pText, int _iCapacity, bool _bBrackets);

	std::vector<unsigned char>	m_byCharSet;	// SET_ bits per character
	std::vector<unsigned char>	m_byParent;		// first index in PARENTPEAR + 1; 0 none
	std::vector<WORD_ENTRY>		m_vWords;		// every word, list by list, in file order
	std::vector<int>			m_vFirstStart;	// words by their first character: offsets
	std::vector<int>			m_vFirstIndex;	// into this index of m_vWords
	std::vector<int>			m_vClassWords;	// words that begin with a class
	std::vector<int>			m_vCandidates;

	// The target in hand, as read, for the line texts of its findings.
	const wchar_t				*m_pTargetName;
	wchar_t						*m_pTargetText;
	int							m_iTargetLength;
	std::vector<int>			m_vLineStart;
};

#endif
