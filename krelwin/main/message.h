// The message log: one growing buffer (s_stGl.m_memMsg) holding the whole log, and the
// bounded tail of it shown in the log edit (s_stGl.m_hMessage). Error lines are counted.
#ifndef KRELWIN_MAIN_MESSAGE_H
#define KRELWIN_MAIN_MESSAGE_H

// Capacity of a fresh log buffer and of each growth step, in characters.
#define MESSAGE_BUFFER_STEP		1048576
// Room ensured in the buffer before each line is appended.
#define MESSAGE_BUFFER_HEADROOM	262144
// Characters the log edit holds at most: the newest lines.
#define MESSAGE_EDIT_LIMIT		30000
// Lines wait this long (in milliseconds) before the log edit shows them, or as long as the
// control's last update took when that was longer.
#define MESSAGE_FLUSH_MS		50
// Format buffers of Message_err and Message_info, terminator included.
#define MESSAGE_ERR_LENGTH		1024
#define MESSAGE_INFO_LENGTH		262144

// Appends the text as one line (followed by CR LF) to the buffer and to the log edit. The
// edit's text is trimmed line by line as if each line went to it at once, but the control,
// whose every change costs milliseconds, is changed in pieces: by the first line that comes
// after the wait, by Message_flush, and, once lines have waited, by the BUSY_poll calls of
// long work that follows them (kelto/tools/busy.h) or from the message loop.
void Message_win(const wchar_t *_pText);
// Brings the log edit up to date with every line appended: at the end of a run step, before
// a modal box and before the program waits for another process.
void Message_flush();
// Formats an information line (Microsoft wide rules: "%s" wide, "%d" int) and appends it.
void Message_info(const wchar_t *_pFormat, ...);
// Formats an error line, appends it and counts one error in s_stGl.m_iErrorCount.
void Message_err(const wchar_t *_pFormat, ...);
// Empties the log edit and the buffer; the error count stays.
void Message_clear();
// Writes the whole buffer as 8-bit text to the log file: a full path, a name relative to
// the batch folder, or, for an empty name, "res_<batch name>.txt" in the batch folder.
// 1 when written, 0 otherwise (callers do not use it).
int out_infomessage(const wchar_t *_pFileName);

// Makes a fresh empty log buffer of MESSAGE_BUFFER_STEP characters (releasing an earlier
// one) for the main window; 1, or 0 when memory runs out.
int Message_alloc();
// Releases the log buffer; s_stGl.m_memMsg is null afterwards.
void Message_free();

// The clock that times the log edit's updates (milliseconds); null restores the system's.
// For tests: with a clock of their own, long work's polls look at it from the first waiting
// line on, instead of from the system timer's signal that the line's time is up.
void Message_setClock(unsigned int (*_pClock)());

// Where the log edit's kept text starts when _iRoom characters must be freed: the position
// after the first CR LF at or after _iRoom that lies wholly inside the text, or _iLength
// when there is none (everything goes).
int Message_keepFrom(const wchar_t *_pText, int _iLength, int _iRoom);

#endif
