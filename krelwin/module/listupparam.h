// LISTUPPARAM: collects, over the target scripts of a script line, the items between the
// parentheses of every call of one named command (a word that holds the name, before a
// "(") and prints them at the end of the line as a sorted C-style array initialiser.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "krelwin/module/module.h"

class LISTUPPARAM : public CModule
{
public:
    enum {
        NAME_MAX = 32768,   // items collected at most
        ITEM_LENGTH = 64,   // an item holds at most ITEM_LENGTH - 1 characters
        WORD_LENGTH = 32,   // a command word holds at most WORD_LENGTH - 1 characters
    };

    LISTUPPARAM();
    // One target script: 1 when scanned, 0 when the name is missing or the target cannot
    // be read.
    int Func(const wchar_t* _pLine) override;
    // Prints the collection of the script line.
    void Quit(int _iFinal) override;
    void Initialize();

    // Scans one text (already upper-cased outside quotes) for calls of the list name. The
    // list of a call runs from its "(" to the next ")", nested calls' lists included; a
    // list that the text ends before its ")" adds nothing (reported) and ends the scan.
    // Linear in the text and the log lines it writes.
    void scanText(const wchar_t* _pText, int _iLength);
    // 1 when the word in front of the "(" at _iOpen holds the list name.
    int matchName(const wchar_t* _pText, int _iOpen);
    // Splits the lists of the calls whose "(" lie from _iFirst (a call's) up to the ")" at
    // _iClose into items and adds them, call by call.
    void parseLists(const wchar_t* _pText, int _iFirst, int _iClose);
    // Adds the item of the text from _iStart to _iEnd, or reports it when it is too long.
    void addItem(const wchar_t* _pText, int _iStart, int _iEnd);
    // Adds an item unless present; 1 when added.
    int addName(const std::wstring& _strItem);

    int m_iInit;
    int m_iActive;
    std::wstring m_strListName;
    std::vector<std::wstring> m_vName;  // in order of first appearance

private:
    // A stretch of a list without commas, from iStart up to iEnd (not included).
    struct PIECE {
        int iStart;
        int iEnd;
    };

    std::unordered_set<std::wstring> m_setName;
    std::vector<PIECE> m_vPiece;     // of the lists in hand (parseLists)
    std::vector<int> m_vLongPiece;   // the pieces too long for an item, in text order
    int m_iFullReported;  // the full collection was reported for this script line
    const wchar_t* m_pTargetName;
};
