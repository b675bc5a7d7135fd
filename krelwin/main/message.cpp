// The message log: the whole log in s_stGl.m_memMsg and its newest lines in the log edit.
#include "krelwin/main/message.h"

#include <cstdarg>

#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
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
	const int iEditLen = msgedit_GetLength(hEdit);
	if (iEditLen > MESSAGE_EDIT_LIMIT - iRoom) {
		wchar_t *pWork = KELTO_NEW("Message_win") wchar_t[MESSAGE_EDIT_LIMIT];
		if (pWork) {
			const int iRead = msgedit_GetText(hEdit, pWork, MESSAGE_EDIT_LIMIT);
			const int iKeep = Message_keepFrom(pWork, iRead, iRoom);
			pWork[iRead > 0 ? iRead : 0] = 0;
			msgedit_ReplaceAll(hEdit, pWork + iKeep);
			delete[] pWork;
		}
	}
	msgedit_AppendLine(hEdit, iEditLen, _pText);
	msgedit_Update(hEdit);
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
	msgedit_Clear(s_stGl.m_hMessage);
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
	return 1;
}

void Message_free()
{
	delete[] s_stGl.m_memMsg;
	s_stGl.m_memMsg = 0;
	s_pLengthOf = 0;
	s_iLength = 0;
}
