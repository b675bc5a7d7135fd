// SONGDATACONVERT: turns a comma-separated table of texture names into one song text
// (".d2a") per row: the row's k non-empty fields (of at most four) fill the placeholders of
// the template "baseD2a\wrd_00k.d2a" of the current folder, in order. The files are named
// after the output (or the target) with "_%03d" and the row number.
#pragma once

#include <string>

#include "krelwin/module/module.h"

class SONGDATACONVERT : public CModule
{
public:
    enum {
        TEMPLATE_COUNT = 6,  // wrd_001 to wrd_006; rows choose 1 to 4
        FIELD_COUNT = 4,     // fields read from a row
        FIELD_LENGTH = 256   // room of one field, terminator included
    };

    SONGDATACONVERT();
    ~SONGDATACONVERT() override {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // Field _iColumn of row _iRow (both from 1) of a text of _iLength units: every comma
    // separates, a CR, a CR LF or a LF ends a row. Copies it into _pOut (room _iSize units)
    // and gives its length; 0 when the row or column does not exist or the field is empty;
    // -2 when the field does not fit the room (_pOut then empty).
    static int getCsvField(const wchar_t* _pText, int _iLength, int _iRow, int _iColumn, wchar_t* _pOut, int _iSize);
    // Occurrences of the string in the text, each search one unit after the last find.
    static int countString(const wchar_t* _pText, const wchar_t* _pString);
    // Rows of a table: its line ends, and a last row without one.
    static int CountRows(const wchar_t* _pText, int _iLength);
    // The template with each placeholder ("wrd01_000.tga" followed by a double quote or
    // ending the template) replaced by the next of the fields, then by nothing.
    static std::wstring Fill(const std::wstring& _strTemplate, const std::wstring* _pFields, int _iCount);

private:
    int m_iInit;
    int m_iActive;
    int m_iFirst;
};
