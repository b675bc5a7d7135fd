// Text filters. Each works in place on the caller's buffer: shrinking filters compact with a
// read and a write position, so they never touch a unit past the text's terminator.
#include "kelto/string/filter.h"

#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "kelto/tools/debug.h"

namespace {

inline bool filt_isBlank(wchar_t _c) { return _c == L' ' || _c == L'\t'; }
inline bool filt_isLineEnd(wchar_t _c) { return _c == L'\r' || _c == L'\n'; }
inline bool filt_isAlnum(wchar_t _c)
{
    return (_c >= L'0' && _c <= L'9') || (_c >= L'A' && _c <= L'Z') || (_c >= L'a' && _c <= L'z');
}

// 1 when the mark of _iMarkLen units starts at _pText and fits in the _iAvail units left.
int filt_isMark(const wchar_t* _pText, int _iAvail, const wchar_t* _pMark, int _iMarkLen)
{
    if (_iMarkLen <= 0 || _iMarkLen > _iAvail) return 0;
    for (int i = 0; i < _iMarkLen; ++i) {
        if (_pText[i] != _pMark[i]) return 0;
    }
    return 1;
}

// Position after the quoted stretch opened at _iPos (past its closing quote), or _iEnd when
// the quote is left open.
int filt_skipQuote(const wchar_t* _pText, int _iPos, int _iEnd, wchar_t _cQuote)
{
    int i = _iPos + 1;
    while (i < _iEnd && _pText[i] != _cQuote) ++i;
    return (i < _iEnd) ? i + 1 : _iEnd;
}

// Units of the token at _pText: up to a blank, TAB, line end or the end, a quoted stretch
// taken whole. -1 when a quote is left open.
int filt_tokenLength(const wchar_t* _pText, int _iAvail, wchar_t _cQuote)
{
    int i = 0;
    while (i < _iAvail) {
        const wchar_t c = _pText[i];
        if (filt_isBlank(c) || filt_isLineEnd(c)) break;
        if (_cQuote && c == _cQuote) {
            int j = i + 1;
            while (j < _iAvail && _pText[j] != _cQuote) ++j;
            if (j >= _iAvail) return -1;
            i = j + 1;
            continue;
        }
        ++i;
    }
    return i;
}

// Two tokens that would run together without a separator.
bool filt_isWordPair(wchar_t _cBefore, wchar_t _cAfter)
{
    return filt_isAlnum(_cBefore) && (filt_isAlnum(_cAfter) || _cAfter == L'"' || _cAfter == L'_');
}

inline bool filt_isHalfKana(wchar_t _c) { return _c >= 0xFF61 && _c <= 0xFF9F; }
inline bool filt_isRunUnit(wchar_t _c) { return filt_isHalfKana(_c) || MOJI_isZen(_c) || _c == L'\\'; }

void filt_case(wchar_t* _pText, int _iLength, wchar_t _cQuote, wchar_t _cFrom, wchar_t _cShift)
{
    if (!_pText) return;
    bool bOutside = true;
    for (int i = 0; i < _iLength; ++i) {
        BUSY_poll();
        const wchar_t c = _pText[i];
        if (_cQuote && c == _cQuote) {
            bOutside = !bOutside;
        } else if (bOutside && c >= _cFrom && c < _cFrom + 26) {
            _pText[i] = static_cast<wchar_t>(c + _cShift);
        }
    }
}

}  // namespace

int FILT_deleteREM(wchar_t* _pText, int _iLength, const wchar_t* _pRem, const wchar_t* _pRemStart,
                   const wchar_t* _pRemEnd, wchar_t _cQuote)
{
    if (!_pText || _iLength <= 0) return 0;
    // An empty mark would match everywhere: it means "no such comment", like a null one.
    const int iRemLen = STRING_len(_pRem);
    int iStartLen = STRING_len(_pRemStart);
    int iEndLen = STRING_len(_pRemEnd);
    if (iStartLen == 0 || iEndLen == 0) iStartLen = iEndLen = 0;
    if (iRemLen == 0 && iStartLen == 0) return _iLength;

    // One pass: r reads, w writes (w <= r). Every test looks only forward from r, into
    // units not yet moved, so compacting as we go gives what deleting in place would.
    wchar_t* t = _pText;
    const int n = _iLength;
    int r = 0;
    int w = 0;
    const auto keep = [&](int _iTo) {
        if (w == r) {
            w = r = _iTo;
            return;
        }
        while (r < _iTo) t[w++] = t[r++];
    };
    while (r < n) {
        BUSY_poll();
        if (_cQuote && t[r] == _cQuote) {
            keep(filt_skipQuote(t, r, n, _cQuote));
            continue;
        }
        if (filt_isMark(t + r, n - r, _pRem, iRemLen)) {
            // The line end (LF, or CR directly followed by LF) stays; a lone CR does not end it.
            int e = r + iRemLen;
            while (e < n && !(t[e] == L'\n' || (t[e] == L'\r' && e + 1 < n && t[e + 1] == L'\n'))) ++e;
            r = e;
            continue;
        }
        if (filt_isMark(t + r, n - r, _pRemStart, iStartLen)) {
            int k = r + iStartLen;
            while (k < n && !filt_isMark(t + k, n - k, _pRemEnd, iEndLen)) ++k;
            if (k >= n) {
                keep(n);  // unterminated: the rest of the text stays as it is
                break;
            }
            const int iCmtEnd = k + iEndLen;
            if (iCmtEnd == n) {
                r = n;
                break;
            }
            // Keep the line breaks of the comment so the following lines keep their numbers.
            for (; r < iCmtEnd; ++r) {
                if (filt_isLineEnd(t[r])) t[w++] = t[r];
            }
            continue;
        }
        keep(r + 1);
    }
    if (w < n) t[w] = 0;
    return w;
}

int FILT_deleteTailSpace(wchar_t* _pText, int _iLength)
{
    if (!_pText || _iLength <= 0) return 0;
    int w = 0;
    int iRun = -1;  // write position where the current run of blanks began
    for (int r = 0; r < _iLength; ++r) {
        BUSY_poll();
        const wchar_t c = _pText[r];
        if (filt_isLineEnd(c)) {
            if (iRun >= 0) w = iRun;
            iRun = -1;
        } else if (filt_isBlank(c)) {
            if (iRun < 0) iRun = w;
        } else {
            iRun = -1;
        }
        _pText[w++] = c;
    }
    if (w < _iLength) _pText[w] = 0;
    return w;
}

int FILT_deleteEmptyLine(wchar_t* _pText, int _iLength)
{
    if (!_pText || _iLength <= 0) return 0;
    wchar_t* t = _pText;
    int w = 0;
    int r = 0;
    while (r < _iLength) {
        const wchar_t c = t[r];
        t[w++] = t[r++];
        if (!filt_isLineEnd(c)) continue;
        if (c == L'\r' && r < _iLength && t[r] == L'\n') t[w++] = t[r++];
        while (r < _iLength && filt_isLineEnd(t[r])) ++r;
    }
    if (w < _iLength) t[w] = 0;
    return w;
}

void FILT_upper(wchar_t* _pText, int _iLength, wchar_t _cQuote)
{
    filt_case(_pText, _iLength, _cQuote, L'a', static_cast<wchar_t>(L'A' - L'a'));
}

void FILT_lower(wchar_t* _pText, int _iLength, wchar_t _cQuote)
{
    filt_case(_pText, _iLength, _cQuote, L'A', static_cast<wchar_t>(L'a' - L'A'));
}

int FILT_squeezeSpace(wchar_t* _pText, int _iLength, wchar_t _cQuote)
{
    if (!_pText || _iLength <= 0) return 0;
    wchar_t* t = _pText;
    int n = _iLength;
    while (n > 0 && t[n - 1] < 0x21) --n;
    if (n == 0) {
        t[0] = 0;
        return 0;
    }
    if (_iLength >= n + 2) {
        t[n++] = L'\r';
        t[n++] = L'\n';
    }
    t[n] = 0;

    int r = 0;
    int w = 0;
    while (r < n) {
        if (filt_isLineEnd(t[r])) {
            t[w++] = t[r++];
            continue;
        }
        if (filt_isBlank(t[r])) {  // blanks that begin a line go
            ++r;
            continue;
        }
        // The tokens of one line.
        bool bDefineGap = false;
        for (;;) {
            if (r < n && t[r] == L'@') t[w++] = t[r++];
            if (r + 7 < n && (STRING_isWord(t + r, L"#DEFINE", L" \t\r\n") ||
                              STRING_isWord(t + r, L"#define", L" \t\r\n"))) {
                for (int k = 0; k < 7; ++k) t[w++] = t[r++];
                while (r < n && filt_isBlank(t[r])) t[w++] = t[r++];
                bDefineGap = true;
            }
            const int iTok = filt_tokenLength(t + r, n - r, _cQuote);
            if (iTok < 0) {  // a quote left open ends the work; the rest stays as it is
                while (r < n) t[w++] = t[r++];
                break;
            }
            for (int k = 0; k < iTok; ++k) t[w++] = t[r++];
            if (r >= n) break;
            if (filt_isLineEnd(t[r])) {
                const int iEnd = (t[r] == L'\r' && r + 1 < n && t[r + 1] == L'\n') ? 2 : 1;
                for (int k = 0; k < iEnd; ++k) t[w++] = t[r++];
                break;
            }
            const wchar_t cBefore = (w > 0) ? t[w - 1] : 0;
            while (r < n && filt_isBlank(t[r])) ++r;
            if (r >= n || filt_isLineEnd(t[r])) continue;  // blanks before the line end go
            if (bDefineGap) {
                t[w++] = L'\t';
                bDefineGap = false;
            } else if (filt_isWordPair(cBefore, t[r])) {
                t[w++] = L'\t';
            }
        }
    }
    t[w] = 0;
    return w;
}

int FILT_StringRelief(wchar_t* _pText, int _iSize, wchar_t _cComment, int _iEqual, wchar_t _cQuote)
{
    if (!_pText || _iSize <= 0) return 0;
    wchar_t* t = _pText;
    int iLen = 0;
    while (iLen < _iSize && t[iLen]) ++iLen;
    if (iLen >= _iSize) return 0;  // not terminated inside its buffer
    const wchar_t* pPtr = t;
    if (*pPtr == 0) {
        KELTO_ASSERT((*pPtr != 0));
        if (_iSize < 2) return 0;
        t[0] = L'\t';
        t[1] = 0;
        return 1;
    }
    if (_cQuote == 0) return iLen;

    int i = 0;
    while (i < iLen) {
        BUSY_poll();
        const wchar_t c = t[i];
        if (c == _cQuote) {
            i = filt_skipQuote(t, i, iLen, _cQuote);
            continue;
        }
        if (_cComment && c == _cComment) {
            int j = i + 1;
            while (j < iLen && t[j] != L'\n') ++j;
            i = (j < iLen) ? j + 1 : iLen;
            continue;
        }
        if (c == L'(') {
            int iDepth = 0;
            int j = i;
            while (j < iLen) {
                if (t[j] == L'(') {
                    ++iDepth;
                } else if (t[j] == L')' && --iDepth == 0) {
                    ++j;
                    break;
                }
                ++j;
            }
            i = j;
            continue;
        }
        if (_iEqual && c == L'=') {
            int j = i + 1;
            while (j < iLen) {
                if (t[j] == _cQuote) {
                    j = filt_skipQuote(t, j, iLen, _cQuote);
                    continue;
                }
                if (t[j] == L'\n' || t[j] == L')') {
                    ++j;
                    break;
                }
                ++j;
            }
            i = j;
            continue;
        }
        if (!filt_isRunUnit(c)) {
            ++i;
            continue;
        }
        // A run opens only when both of its quotes and the terminator fit the buffer,
        // so the text never ends with a quote left open.
        if (iLen + 3 > _iSize) break;
        MEM_move(t + i + 1, t + i, (iLen - i + 1) * static_cast<int>(sizeof(wchar_t)));
        t[i] = _cQuote;
        ++iLen;
        const int iOpen = i;
        int iMark = -1;
        for (i = iOpen + 1; i < iLen; ++i) {
            const wchar_t u = t[i];
            if (u == L'\t' || filt_isLineEnd(u)) {
                if (iMark < 0) iMark = i;
            } else if (filt_isRunUnit(u)) {
                iMark = -1;
            } else if (u >= 0x21 && u <= 0x7D && iMark >= 0) {
                break;
            }
        }
        const int iClose = (iMark >= 0) ? iMark : iLen;
        MEM_move(t + iClose + 1, t + iClose, (iLen - iClose + 1) * static_cast<int>(sizeof(wchar_t)));
        t[iClose] = _cQuote;
        ++iLen;
        // TABs inside the run go, so the run reads as one string.
        int w = iOpen + 1;
        for (int r = iOpen + 1; r < iClose; ++r) {
            if (t[r] != L'\t') t[w++] = t[r];
        }
        const int iRemoved = iClose - w;
        if (iRemoved > 0) {
            MEM_move(t + w, t + iClose, (iLen - iClose + 1) * static_cast<int>(sizeof(wchar_t)));
            iLen -= iRemoved;
        }
        i = w + 1;  // after the closing quote
    }
    return iLen;
}
