// A stand-in of the spreadsheet application behind the DDEXL_ client functions, for the
// native build, which has no DDE. A workbook is a file of the run folder, bytes of the
// system code page:
//   sheets separated by form feeds (0x0C); a sheet's first line is its name, the lines after
//   it its rows (line feeds; a CR before one stays in the row's last cell), cells separated
//   by TABs; a vertical tab (0x0B) in a cell stands for a line feed inside it;
//   a sheet whose name begins with '!' refuses a conversation of its own (cells then come
//   from the workbook's conversation: its first sheet); a cell of the one byte 0x07 fails
//   its request.
// A cell request gives the cell's text and CR LF, as the server's text of a cell reads (an
// empty cell gives CR LF alone). Only the first FUZZ_DDE_SHEETS sheets are served.
#ifndef TESTS_FUZZ_SUPPORT_DDE_STANDIN_H
#define TESTS_FUZZ_SUPPORT_DDE_STANDIN_H

#define FUZZ_DDE_SHEETS 8
// Cell requests answered per input. A range may ask for millions of cells (the default
// range alone is a million): past this many the server is gone, no conversation is made and
// every request fails, so that such an input costs one failed request per column.
#define FUZZ_DDE_REQUESTS 16384

// Columns of a range that a target runs at most: each column costs a request at least, and
// a range may name two thousand million of them.
#define FUZZ_DDE_COLUMNS 1024

// A new input: the server is back with its full count of requests.
void fuzz_ddeBegin();
// Cell requests answered since the input began.
int fuzz_ddeRequests();
// True when the range that XLS2CSV (_iCheckExcel 0) or CHECKEXCEL (1) reads from the
// parameter line has more than FUZZ_DDE_COLUMNS columns.
bool fuzz_ddeTooWide(const wchar_t* _pLine, int _iCheckExcel);

#endif
