// The texts of the spreadsheet commands that need no platform: the cell range text and what
// is kept of a cell's text as the spreadsheet sends it.
#ifndef KRELWIN_MODULE_XLCELL_H
#define KRELWIN_MODULE_XLCELL_H

// A cell range, all 1-based and inclusive; cells are visited column by column.
struct XL_RANGE
{
    int m_iCol1;
    int m_iRow1;
    int m_iCol2;
    int m_iRow2;
};

// Columns 1 to 256, rows 1 to 4,096.
XL_RANGE XL_defaultRange();
// Reads a range text such as "A1Z100" (columns in letters, A 1 ... Z 26, AA 27).
// 1 when all four values are above 0; 0 when a part is missing or 0; -1 when the text
// does not begin with a letter A to Z or a value overflows.
int XL_parseRange(const wchar_t* _pText, XL_RANGE* _pRange);
// Drops double quotes and characters of code 32 or below from the end; the new length.
int XL_trim(wchar_t* _pCell);
// Undoes the spreadsheet's quoting of a cell as received: a text that, its line end aside,
// stands in double quotes with every quote inside doubled becomes the text inside, those
// quotes made single. 1 when the cell was so quoted; 0 when it is left as it is.
int XL_unquote(wchar_t* _pCell);
// The cell's own text from a cell as received: unquoted (XL_unquote) and then without
// characters of code 32 or below at its end, or, when it was not quoted, trimmed
// (XL_trim). The new length.
int XL_cellText(wchar_t* _pCell);

#endif
