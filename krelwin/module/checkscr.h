// CHECKSCR: which files of a data folder the scripts name. The first target of a script
// line lists the folder (with its subfolders); every target script is scanned for words
// that can be file names; at the end of the line the log gets the names that no folder
// file answers, the folder files that no script names and those named more than once.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "krelwin/module/module.h"

class CHECKSCR : public CModule
{
public:
    enum {
        NAME_LENGTH = 16,  // names and words: at most 15 characters
    };
    enum { REM_NONE, REM_C, REM_ASM, REM_PERL };

    CHECKSCR();
    // One target script: 1 when it was scanned, 0 otherwise.
    int Func(const wchar_t* _pLine) override;
    // The report of the script line; final 1 also releases the tables.
    void Quit(int _iFinal) override;

    // Lists the folder and reads the options, once per script line.
    void Initialize(const wchar_t* _pFolder, const wchar_t* _pOptions);
    // Applies an options token ("-" and letters) to the flags.
    void setOptions(const wchar_t* _pOptions);
    // Appends a folder file's name (with its extension) to the table; a name too long
    // for it is reported and left out. 1 when kept.
    int addFolderName(const wchar_t* _pName);
    // Scans one script text (already filtered and upper-cased) and counts its names;
    // positions that the range markers leave alone are passed over.
    void scanText(const wchar_t* _pText, int _iLength);
    // Tests a candidate word and counts it (found) or records it (not found).
    void checkWord(wchar_t* _pWord);
    // The index of the folder name that the word names, -1 when none; upper-cases the
    // word in place (ASCII).
    int findFile(wchar_t* _pWord);
    // 1 when the word was appended to the names not found, 0 when it was there already.
    int addNotFound(const wchar_t* _pWord);
    // Empties the tables and makes them ready for a new folder.
    void resetTables();
    void releaseTables();

    int m_iInit;
    int m_iActive;
    int m_iFirst;
    // The folder names as listed, their use counts, and the names not found in the
    // order first met. The tables grow with the folder and the scripts.
    std::vector<std::wstring> m_vName;
    std::vector<int> m_vCount;
    std::vector<std::wstring> m_vNotFound;
    int m_iReady;  // the tables of the script line are in hand
    int m_iRemMode;
    int m_iSort;
    int m_iDigitsOnly;
    int m_iExtension;

private:
    // Lookup keys (ASCII upper case) to the first name in list order: whole names and
    // base names without their extension.
    std::unordered_map<std::wstring, int> m_mapWhole;
    std::unordered_map<std::wstring, int> m_mapBase;
    std::unordered_set<std::wstring> m_setNotFound;
};
