// The FILT_ family: in-place rewrites of a UTF-16 text before it is parsed (comments,
// trailing blanks, empty lines, case, token spacing, quoting of Japanese runs) and the
// evaluator of arithmetic written in the text. None allocates; every function stays
// inside the caller's text and its terminator.
#ifndef KELTO_STRING_FILTER_H
#define KELTO_STRING_FILTER_H

// Most open parenthesis groups FILT_Calculate tracks at a time (the whole text is the first).
#define FILT_CALC_GROUPS 1024

// Removes line comments (mark to the line end, which stays) and block comments (replaced by
// the CR and LF units they held, so line numbers keep); quoted stretches are not searched.
// A null or empty mark means that kind of comment is not removed. The new length; 0 for a
// null text or length 0.
int FILT_deleteREM(wchar_t* _pText, int _iLength, const wchar_t* _pRem, const wchar_t* _pRemStart,
                   const wchar_t* _pRemEnd, wchar_t _cQuote);

// Removes the blanks and TABs directly before each CR or LF; the new length.
int FILT_deleteTailSpace(wchar_t* _pText, int _iLength);

// Shrinks every run of line ends to its first line end; the new length.
int FILT_deleteEmptyLine(wchar_t* _pText, int _iLength);

// Normalises the blanks between tokens line by line (one TAB between two words, nothing
// elsewhere) and ends the text with CR LF when the length leaves room for it. The new length;
// 0 for a null text, length 0 or a text of blanks only.
int FILT_squeezeSpace(wchar_t* _pText, int _iLength, wchar_t _cQuote);

// Puts the quote unit around runs of Japanese text (full-width, half-width katakana, '\')
// inside a buffer of _iSize units. _cComment (or 0) starts a comment to the line end;
// _iEqual non-zero passes over '=' up to the line end or ')'. The new length; 0 for a null text.
int FILT_StringRelief(wchar_t* _pText, int _iSize, wchar_t _cComment, int _iEqual, wchar_t _cQuote);

// ASCII letters to upper / lower case outside quoted stretches (_cQuote 0: everywhere).
void FILT_upper(wchar_t* _pText, int _iLength, wchar_t _cQuote);
void FILT_lower(wchar_t* _pText, int _iLength, wchar_t _cQuote);

// Evaluates the arithmetic (* / % | & - +, parentheses, integers and decimals) written in
// the text from _iStart on, in place and without changing the length: "2*3+4" becomes "10"
// and blanks. _iLength 0 means the whole text. Returns _iLength; 0 for a null text.
int FILT_Calculate(wchar_t* _pText, int _iLength, int _iStart, wchar_t _cQuote);

#endif
