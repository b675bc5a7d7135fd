// Output services of the batch engine: writing a command's output file as bytes or as
// text under the backup / overwrite policy (creating missing folders, falling back to the
// batch folder for a relative path), two path helpers, and the runner of external programs.
#pragma once

// A run begins: backups made from now on are never replaced until the next one begins.
void Output_beginRun();
// 0 when the caller may write the file now (its backup made, where one is due), 1 when
// it must not: the user said No or Cancel (Cancel also requests a stop of the run), or the
// backup could not be made. The writers below apply the same policy themselves, making
// the backup only once the new content is whole on the disk.
int Check_OutFile(const wchar_t* _pPath);
// The output is written whole beside the file and then put in its place, its backup made
// first where one is due: a write that fails leaves the old file exactly as it was.
// Within a run a backup is never replaced: a file whose content from before the run is in
// a backup already gets no second one, and another file whose backup would take that
// name gets a name of its own ("a(2).bak"; the log says which).
// The number of bytes written, or 0 when nothing was written (the failure is logged).
int Write_OutFile(const wchar_t* _pPath, const void* _pData, int _iSize);
// The text in the system's 8-bit code page; the byte count written, or 0.
int Write_OutText(const wchar_t* _pPath, const wchar_t* _pText);
// Where the path's name and extension begin, inside the same string.
const wchar_t* Get_FileName(const wchar_t* _pPath);
wchar_t* Get_FileName(wchar_t* _pPath);
// The path placed in the batch folder (260 characters); a full path is copied unchanged.
void Make_BatchPath(wchar_t* _pOut, const wchar_t* _pPath);
// Runs "<command> <arguments>" and waits for it; when it cannot start, runs a second
// instance of the program with the command as its batch file. Always 1.
int Exec_Module(const wchar_t* _pCommand, const wchar_t* _pArgs);

// The overwrite question: the text to show, the answer one of these.
enum { OUTPUT_ANSWER_YES = 0, OUTPUT_ANSWER_NO = 1, OUTPUT_ANSWER_CANCEL = 2 };
typedef int (*OUTPUT_ASK)(const wchar_t* _pText);
// Replaces the question (tests answer it without a window); null gives back the message
// box owned by the main window. Returns the one in use before.
OUTPUT_ASK Output_setAsk(OUTPUT_ASK _pAsk);
