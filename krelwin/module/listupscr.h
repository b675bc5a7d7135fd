// LISTUPSCR: lists the words of the target scripts in four kinds by the character after
// each word: script calls "(", flags "[", labels ":" and all others. The lists gather
// over the targets of a script line and are printed, sorted and without repeats, when
// the line ends.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "krelwin/module/module.h"

// One kind of word: the entries in the order first met and, for the repeat test, the set
// of them.
struct LISTUPSCR_TABLE
{
    std::vector<std::wstring> m_vEntry;
    std::unordered_set<std::wstring> m_setEntry;
};

class LISTUPSCR : public CModule
{
public:
    enum {
        ENTRY_LENGTH = 256,  // longest word kept
        SCRIPT_MAX = 1024,
        FLAG_MAX = 1024,
        LABEL_MAX = 16384,
        OTHER_MAX = 32768,
    };
    enum { TABLE_SCRIPT, TABLE_FLAG, TABLE_LABEL, TABLE_OTHER, TABLE_COUNT };

    LISTUPSCR();
    // One target script: 1 when it was scanned, 0 when it was unreadable or empty.
    int Func(const wchar_t* _pLine) override;
    // Prints the four tables sorted and releases them.
    void Quit(int _iFinal) override;

    void Initialize();
    // Scans one script text into the tables.
    void scanText(const wchar_t* _pText, int _iLength);
    // Adds the word unless the table holds it; a full table or a word too long is
    // reported. The new count.
    int addEntry(LISTUPSCR_TABLE& _cTable, int _iMax, const wchar_t* _pText, int _iLength);
    static void sortEntries(std::vector<std::wstring>& _vEntry);
    // 1 when the position starts a word: the start of the text or after a character of
    // the word-start set.
    static int isDelimiter(const wchar_t* _pText, int _iPos);
    // The length of the word at the text (up to a character of the word-end set, the end
    // of the text, or _iLimit units); at most _iSize - 1 units of it are copied into the
    // word and terminated.
    static int isDelimiter2(const wchar_t* _pText, int _iLimit, wchar_t* _pWord, int _iSize);

    int m_iInit;
    int m_iActive;
    int m_iFirst;
    LISTUPSCR_TABLE m_cTable[TABLE_COUNT];
};
