// The message log: the whole log in s_stGl.m_memMsg and its newest lines in the log edit.
#include "krelwin/main/message.h"

#include <atomic>
#include <cstdarg>
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "kelto/tools/debug.h"
#include "krelwin/main/global.h"
#include "krelwin/main/msgedit.h"

namespace {

// Length of the log text, kept so that an append does not scan the whole log. It is
// trusted only while it still matches the buffer; anything that empties or replaces the
// buffer behind the log's back (Batch_reset, a new buffer) is noticed here.
const wchar_t *s_pLengthOf = 0;
int s_iLength = 0;

int msg_length()
{
	const wchar_t *pBuf = s_stGl.m_memMsg;
	if (pBuf[0] == 0) {
		s_iLength = 0;
	} else if (pBuf != s_pLengthOf || s_iLength <= 0 || s_iLength >= s_iMsgSize || pBuf[s_iLength] != 0) {
		int i = 0;
		while (i < s_iMsgSize - 1 && pBuf[i] != 0) i++;
		s_iLength = i;
	}
	s_pLengthOf = pBuf;
	return s_iLength;
}

// Keeps the headroom in front of an append; a line longer than one step grows the
// buffer as far as it needs. Gives the room the line may use (it is cut when memory ran out).
int msg_reserve(int _iLength, int _iNeed)
{
	int iNewSize = s_iMsgSize;
	if (_iLength > s_iMsgSize - MESSAGE_BUFFER_HEADROOM) iNewSize += MESSAGE_BUFFER_STEP;
	while (iNewSize > 0 && _iLength + _iNeed >= iNewSize) iNewSize += MESSAGE_BUFFER_STEP;
	if (iNewSize > s_iMsgSize && iNewSize > 0) {
		wchar_t *pNew = KELTO_NEW("Message_win") wchar_t[iNewSize];
		if (pNew) {
			MEM_copy(pNew, s_stGl.m_memMsg, (_iLength + 1) * (int)sizeof(wchar_t));
			delete[] s_stGl.m_memMsg;
			s_stGl.m_memMsg = pNew;
			s_pLengthOf = pNew;
			s_iMsgSize = iNewSize;
			DEBUG_trace(L"バッファサイズを更新(%d)\n", s_iMsgSize);
		}
	}
	return s_iMsgSize - 1 - _iLength;
}

void msg_append(const wchar_t *_pText, int _iCount, int &_iLength)
{
	MEM_copy(s_stGl.m_memMsg + _iLength, _pText, _iCount * (int)sizeof(wchar_t));
	_iLength += _iCount;
	s_stGl.m_memMsg[_iLength] = 0;
}

// What the log edit is to show. Every change of the control costs milliseconds, so the lines
// are trimmed here, one by one as the control would be, and the control follows in pieces.
// The control holds iShown characters; the copy is that text without its first iDrop
// characters, of which the next iKept are still in the control, followed by the lines that
// have not been sent. iRewrite: the control's text must be replaced whole.
struct MSG_VIEW {
	HWND hEdit;				// the control the copy is of; 0 until it is read
	std::wstring strText;	// the copy, from iFrom on
	int iFrom;
	int iShown;
	int iDrop;
	int iKept;
	int iRewrite;
	unsigned int uChanged;	// clock when the control was last brought up to date
	unsigned int uWait;		// how long lines may wait: MESSAGE_FLUSH_MS, or as long as the last update took
};
MSG_VIEW s_stView = { 0, std::wstring(), 0, 0, 0, 0, 0, 0, MESSAGE_FLUSH_MS };
unsigned int (*s_pClock)() = msgedit_Ticks;

int view_length() { return (int)s_stView.strText.size() - s_stView.iFrom; }
const wchar_t *view_text() { return s_stView.strText.c_str() + s_stView.iFrom; }
int view_current() { return s_stView.iDrop == 0 && !s_stView.iRewrite && s_stView.iKept == view_length(); }

// Lines that wait while a step works on without logging would stay out of the control until
// the work ends: no further line comes, and the message loop, whose timer would show them,
// does not run. So once their time is up, the work's BUSY_poll calls (kelto/tools/busy.h)
// show them, on the log's thread only: the thread that logs is the one that owns the
// control, and no other may touch it. The system's timer only signals that the time is up,
// by setting the hook: until then a poll costs no more than with nothing waiting.
std::atomic<unsigned long> s_uLogThread(0);

void msg_poll();

void msg_pollOn()
{
	BUSY_setHook(msg_poll);
}

void msg_pollOff()
{
	BUSY_removeHook(msg_poll);
}

void view_forget()
{
	msg_pollOff();
	s_stView.hEdit = 0;
	s_stView.strText.clear();
	s_stView.iFrom = s_stView.iShown = s_stView.iDrop = s_stView.iKept = s_stView.iRewrite = 0;
	s_stView.uWait = MESSAGE_FLUSH_MS;
}

// Takes the control's text as it is.
void view_read(HWND _hEdit)
{
	view_forget();
	const int iLength = msgedit_GetLength(_hEdit);
	s_stView.strText.assign((size_t)(iLength > 0 ? iLength : 0) + 1, L'\0');
	int iRead = msgedit_GetText(_hEdit, &s_stView.strText[0], iLength + 1);
	if (iRead < 0) iRead = 0;
	s_stView.strText.resize((size_t)iRead);
	s_stView.hEdit = _hEdit;
	s_stView.iShown = iLength;
	s_stView.iKept = iRead;
	s_stView.iRewrite = iRead != iLength;
	// The first line after a quiet time is shown at once.
	s_stView.uChanged = s_pClock() - s_stView.uWait;
}

void view_attach(HWND _hEdit)
{
	if (_hEdit != s_stView.hEdit) {
		view_read(_hEdit);
		return;
	}
	// While no line waits, the control must still hold the copy: a change behind the log's
	// back, or a line the control did not take whole (its text limit), is taken as it is.
	if (view_current() && msgedit_GetLength(_hEdit) != s_stView.iShown) view_read(_hEdit);
}

// Keeps the characters from _iHead up to _iEnd of the copy.
void view_cut(int _iHead, int _iEnd)
{
	if (_iEnd < view_length()) {
		s_stView.strText.resize((size_t)(s_stView.iFrom + _iEnd));
		if (_iEnd < s_stView.iKept) s_stView.iRewrite = 1;
	}
	const int iSent = _iHead < s_stView.iKept ? _iHead : s_stView.iKept;
	s_stView.iDrop += iSent;
	s_stView.iKept -= iSent;
	s_stView.iFrom += _iHead;
	if (s_stView.iFrom > MESSAGE_EDIT_LIMIT) {
		s_stView.strText.erase(0, (size_t)s_stView.iFrom);
		s_stView.iFrom = 0;
	}
}

// One line as the control would take it: when the text does not leave room for it, the
// text is read into a work buffer of MESSAGE_EDIT_LIMIT characters and its head is dropped
// in whole lines; then the line and CR LF go at the end.
void view_line(const wchar_t *_pText, int _iTextLen, int _iRoom)
{
	const int iLength = view_length();
	if (iLength > MESSAGE_EDIT_LIMIT - _iRoom) {
		const int iRead = iLength < MESSAGE_EDIT_LIMIT - 1 ? iLength : MESSAGE_EDIT_LIMIT - 1;
		view_cut(Message_keepFrom(view_text(), iRead, _iRoom), iRead);
	}
	s_stView.strText.append(_pText, (size_t)_iTextLen);
	s_stView.strText.append(L"\r\n", 2);
}

// Runs on every step of long work once lines are due (a timer's signal may also come when
// they have been shown meanwhile: the hook then goes at the first poll).
void msg_poll()
{
	static int s_iPolling = 0;
	if (msgedit_ThreadId() != s_uLogThread.load(std::memory_order_relaxed) || s_iPolling) return;
	HWND hEdit = s_stGl.m_hMessage;
	if (!hEdit || hEdit != s_stView.hEdit || view_current()) {
		msg_pollOff();
		return;
	}
	if (s_pClock() - s_stView.uChanged < s_stView.uWait) return;
	s_iPolling = 1;
	Message_flush();
	s_iPolling = 0;
}

void msg_formatted(const wchar_t *_pText, int _iError)
{
	Message_win(_pText);
	if (_iError) s_stGl.m_iErrorCount++;
}

} // namespace

int Message_keepFrom(const wchar_t *_pText, int _iLength, int _iRoom)
{
	if (!_pText || _iLength <= 0) return 0;
	if (_iRoom < 0) _iRoom = 0;
	for (int i = _iRoom; i + 1 < _iLength; i++) {
		if (_pText[i] == L'\r' && _pText[i + 1] == L'\n') return i + 2;
	}
	return _iLength;
}

void Message_win(const wchar_t *_pText)
{
	KELTO_ASSERT(s_stGl.m_memMsg);
	if (!s_stGl.m_memMsg) return;
	if (!_pText) _pText = L"";

	const int iTextLen = STRING_len(_pText);
	int iRoom = iTextLen * 2;
	if (iRoom < 256) iRoom = 256;

	int iLength = msg_length();
	int iFree = msg_reserve(iLength, iTextLen + 2);
	int iCopy = iTextLen < iFree ? iTextLen : iFree;
	msg_append(_pText, iCopy, iLength);
	iFree -= iCopy;
	msg_append(L"\r\n", iFree < 2 ? iFree : 2, iLength);
	s_iLength = iLength;

	HWND hEdit = s_stGl.m_hMessage;
	if (!hEdit) return;
	view_attach(hEdit);
	const int iFirstToWait = view_current();
	view_line(_pText, iTextLen, iRoom);
	const unsigned int uWaited = s_pClock() - s_stView.uChanged;
	if (uWaited >= s_stView.uWait) {
		Message_flush();
	} else if (iFirstToWait) {
		// Lines that wait are shown by long work that follows, or else from the message loop,
		// when nothing shows them sooner. With a clock of the tests' own no timer keeps time:
		// polls look at that clock from now on.
		const int iLeft = (int)(s_stView.uWait - uWaited);
		s_uLogThread.store(msgedit_ThreadId(), std::memory_order_relaxed);
		if (s_pClock == msgedit_Ticks) msgedit_SignalLater(iLeft, msg_pollOn);
		else msg_pollOn();
		msgedit_CallLater(hEdit, iLeft, Message_flush);
	}
}

void Message_flush()
{
	HWND hEdit = s_stGl.m_hMessage;
	// Lines kept for a control that is no longer the log's have nowhere to go.
	if (!hEdit || hEdit != s_stView.hEdit || view_current()) return;
	const unsigned int uStart = s_pClock();
	if (s_stView.iRewrite || (s_stView.iKept == 0 && s_stView.iShown > 0)) {
		msgedit_ReplaceAll(hEdit, view_text());
	} else {
		msgedit_DeleteHead(hEdit, s_stView.iDrop);
		if (view_length() > s_stView.iKept) msgedit_Insert(hEdit, s_stView.iKept, view_text() + s_stView.iKept);
	}
	msgedit_Update(hEdit);
	s_stView.iShown = s_stView.iKept = view_length();
	s_stView.iDrop = s_stView.iRewrite = 0;
	s_stView.uChanged = s_pClock();
	// A slow control (a long text to lay out, a busy display) is changed less often, so that
	// it takes at most about half of the time of a run that logs without pause.
	const unsigned int uTook = s_stView.uChanged - uStart;
	s_stView.uWait = uTook > MESSAGE_FLUSH_MS ? uTook : MESSAGE_FLUSH_MS;
	msg_pollOff();
}

void Message_setClock(unsigned int (*_pClock)())
{
	s_pClock = _pClock ? _pClock : msgedit_Ticks;
}

void Message_info(const wchar_t *_pFormat, ...)
{
	// Large enough for whole listings, so it lives on the heap, not on the stack; one block
	// is kept for the program's life so that a line does not cost an allocation of its size.
	static wchar_t *s_pLine = 0;
	static int s_iInUse = 0;
	wchar_t *pLine = s_iInUse ? 0 : s_pLine;
	if (!pLine) {
		pLine = KELTO_NEW("Message_info") wchar_t[MESSAGE_INFO_LENGTH];
		if (!pLine) return;
		if (!s_iInUse && !s_pLine) s_pLine = pLine;
	}
	const int iOwn = pLine == s_pLine;
	if (iOwn) s_iInUse = 1;
	va_list vaArgs;
	va_start(vaArgs, _pFormat);
	STRING_vsprintf(pLine, MESSAGE_INFO_LENGTH, _pFormat ? _pFormat : L"", vaArgs);
	va_end(vaArgs);
	msg_formatted(pLine, 0);
	if (iOwn) s_iInUse = 0;
	else delete[] pLine;
}

void Message_err(const wchar_t *_pFormat, ...)
{
	wchar_t szLine[MESSAGE_ERR_LENGTH];
	va_list vaArgs;
	va_start(vaArgs, _pFormat);
	STRING_vsprintf(szLine, MESSAGE_ERR_LENGTH, _pFormat ? _pFormat : L"", vaArgs);
	va_end(vaArgs);
	msg_formatted(szLine, 1);
}

void Message_clear()
{
	HWND hEdit = s_stGl.m_hMessage;
	msgedit_Clear(hEdit);
	if (hEdit) {
		const unsigned int uWait = hEdit == s_stView.hEdit ? s_stView.uWait : MESSAGE_FLUSH_MS;
		view_forget();
		s_stView.hEdit = hEdit;
		s_stView.uWait = uWait;
		s_stView.uChanged = s_pClock();
	}
	KELTO_ASSERT(s_stGl.m_memMsg);
	if (!s_stGl.m_memMsg) return;
	s_stGl.m_memMsg[0] = 0;
	s_iLength = 0;
}

int out_infomessage(const wchar_t *_pFileName)
{
	KELTO_ASSERT(s_stGl.m_memMsg);
	if (!s_stGl.m_memMsg) return 0;
	if (!_pFileName) _pFileName = L"";

	wchar_t szPath[260];
	if (_pFileName[0] && _pFileName[1] == L':') {
		if (STRING_len(_pFileName) >= 260) return 0;
		STRING_cpy(szPath, _pFileName);
	} else {
		if (STRING_len(s_stGl.m_szBatchDir) >= 260) return 0;
		STRING_cpy(szPath, s_stGl.m_szBatchDir);
		if (_pFileName[0]) {
			if (!STRING_cat(szPath, _pFileName, 259)) return 0;
		} else {
			// The batch's base name; its last path segment must fit the splitter's room.
			const wchar_t *pSeg = s_stGl.m_szBatchPath;
			for (const wchar_t *p = pSeg; *p; p++) {
				if (*p == L'\\' || *p == L'/' || *p == L':') pSeg = p + 1;
			}
			if (STRING_len(pSeg) >= 256) return 0;
			wchar_t szName[256];
			FILE_split(s_stGl.m_szBatchPath, 0, 0, szName, 0);
			if (!STRING_cat(szPath, L"res_", 259) || !STRING_cat(szPath, szName, 259) ||
				!STRING_cat(szPath, L".txt", 259)) return 0;
		}
	}
	return FILE_TextWrite(szPath, s_stGl.m_memMsg, 0) > 0 ? 1 : 0;
}

int Message_alloc()
{
	Message_free();
	wchar_t *pBuf = KELTO_NEW("Init_ChildWnd") wchar_t[MESSAGE_BUFFER_STEP];
	if (!pBuf) return 0;
	pBuf[0] = 0;
	s_stGl.m_memMsg = pBuf;
	s_iMsgSize = MESSAGE_BUFFER_STEP;
	s_pLengthOf = pBuf;
	s_iLength = 0;
	view_forget();
	return 1;
}

void Message_free()
{
	delete[] s_stGl.m_memMsg;
	s_stGl.m_memMsg = 0;
	s_pLengthOf = 0;
	s_iLength = 0;
	view_forget();
}
