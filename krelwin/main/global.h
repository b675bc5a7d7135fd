// Program state of krelwin: the one global record s_stGl and the values beside it.
// Written almost only by the batch engine; everything runs on the user-interface thread.
#ifndef KRELWIN_MAIN_GLOBAL_H
#define KRELWIN_MAIN_GLOBAL_H

#include <atomic>
#include <list>
#include <string>

#include "kelto/files/filelist.h"

// The platform handles, declared as windows.h declares them (STRICT), so that this
// header needs no windows.h and code that includes both sees the same types.
struct HINSTANCE__;
typedef struct HINSTANCE__ *HINSTANCE;
struct HWND__;
typedef struct HWND__ *HWND;
struct HFONT__;
typedef struct HFONT__ *HFONT;

struct WINDOW_INFO;

// One script line of a batch.
struct SCRIPT_STAT {
	std::wstring m_strCommand;	// first word of the line, a-z turned to A-Z; may be empty
	std::wstring m_strParam;	// the rest after the blanks and tabs behind the command, as written
};

typedef std::list<SCRIPT_STAT> SCRIPT_LIST;

// Run options; one block from krelwin.ini, one overridden by a batch's [SETTING] section.
struct SETTING_INFO {
	int AUTOEXEC;			// a batch loaded at start-up that lists files runs at once
	int ATEXIT;				// an automatic run ending without errors closes the program
	int OUTINFO;			// the message log is written to a file at the end or stop of a run
	int RETEXEC;			// the Return key starts or stops a run
	int BACKUP;				// an output file that would be overwritten is kept as a backup first
	int RANGE;				// range markers: 0 off, 1 on, 2 only for texts holding the markers
	int SEARCHSUB;			// folders added to the file list are searched with their subfolders
	int DEFAULTCURRENT;		// start-up keeps the current folder
	wchar_t OUTINFONAME[260];	// file name of the message-log file
	wchar_t BACKUPPATH[260];	// backup folder (full path); empty: beside the file
};

struct GLOBAL_STAT {
	HINSTANCE		m_hInst;
	wchar_t			m_szAppDir[260];	// program folder, ending in "\"
	HFONT			m_hFont;
	// Both are read by the timer thread as well.
	std::atomic<unsigned int> TimerID;	// multimedia timer of a run; 0 when none
	std::atomic<int> m_iTickPending;	// 1 while a posted tick is not yet handled
	int				m_iAbort;			// set by modules: end the run after the current file
	int				m_iLoopPos;			// loop watch: text position last seen by a module's scan loop
	int				m_iLoopCount;		// loop watch: how often that position was seen
	HWND			m_hStart;
	HWND			m_hBatchEdit;
	HWND			m_hList;
	HWND			m_hEntry;
	HWND			m_hMessage;
	wchar_t			*m_memMsg;			// message-log buffer; null while the main window does not exist
	wchar_t			m_szBatchPath[260];
	wchar_t			m_szBatchDir[260];	// drive and folder of the batch, ending in "\"
	int				m_iStop;
	SCRIPT_LIST		m_lstScript;
	SCRIPT_LIST::iterator m_itScript;
	CFileList		m_cFileList;
	int				m_iFileIndex;
	int				m_iAutoExec;		// 0 none, 1 armed, 2 started
	int				m_iRunning;
	int				m_iErrorCount;		// errors logged since the last Batch_reset
	int				m_iLock;			// [EXTRA] LOCK
	SETTING_INFO	m_stIniSetting;
	SETTING_INFO	m_stBatchSetting;
	SETTING_INFO	*m_pSetting;		// the block in force

	GLOBAL_STAT();
	~GLOBAL_STAT();
	GLOBAL_STAT(const GLOBAL_STAT &) = delete;
	GLOBAL_STAT &operator=(const GLOBAL_STAT &) = delete;
};

extern GLOBAL_STAT s_stGl;

// Values beside the record, one each for the program's life.
extern WINDOW_INFO s_stMainWnd;		// the main window record
extern int s_iWindowW;				// client size of the main window ([MAIN] WINDOW_W, WINDOW_H)
extern int s_iWindowH;
extern int s_iMsgSize;				// capacity of m_memMsg in characters
extern wchar_t s_szTempBatch[260];	// path of the temporary batch file

// Empties the file list and the script, the log buffer's text and the error count.
void Batch_reset();

#endif
