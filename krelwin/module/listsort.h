// LISTSORT: sorts the lines of a list file and writes them back over it, by character
// code or by length, ascending or descending (-o with l, r), optionally without repeated
// lines (-o with p), comparing from a key text on (-s) and cutting each line up to a
// text first (-c). Empty lines between lines go; every line ends with CR LF.
#pragma once

#include <list>
#include <string>

#include "krelwin/module/module.h"

class LISTSORT : public CModule
{
public:
    enum { SORT_CODE, SORT_LENGTH, SORT_CODE_DESC, SORT_LENGTH_DESC };

    LISTSORT();
    // One target: 1 when it was sorted and written, 0 when it could not be read, was
    // empty, or was left alone.
    int Func(const wchar_t* _pLine) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // The lines of a text in their sorted order (the list is emptied first).
    void sortLines(const wchar_t* _pText, int _iLength, int _iKind, int _iUnique, const std::wstring& _strKey,
                   const std::wstring& _strCut);
    // The output text: every line of the list followed by CR LF.
    std::wstring joinLines() const;

    int m_iInit;
    int m_iActive;
    std::list<std::wstring> m_lstLine;
};
