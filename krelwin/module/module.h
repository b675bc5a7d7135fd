// The interface every command module follows. Each module class has one object per
// process, created by the dispatcher (plain new) at the first dispatch of its command and
// kept until the process ends, so its state carries across script lines and runs unless
// its Quit clears it.
//
// Conventions inside a module (three int flags, in this order):
//   initialised - set by the module's own Initialize at the first Func of a script line,
//                 cleared by Quit;
//   active      - set by Func once it has worked on a file, cleared by Quit; Quit does
//                 nothing while it is 0;
//   first use   - set by the first Initialize of the process, never cleared.
// A scan loop that might not advance guards itself with s_stGl.m_iLoopPos/m_iLoopCount
// (reset by the dispatcher before every call): when the position equals m_iLoopPos add 1
// to m_iLoopCount and past 32000 log "ERROR : loop over", set s_stGl.m_iAbort and leave;
// otherwise store the position in m_iLoopPos. Setting m_iAbort is the only way a module
// ends the run.
// Work that can run long without logging (a search, a sort, a scan of a text, a folder or a
// range of cells, the conversion of a whole file) calls BUSY_poll (kelto/tools/busy.h) on
// every step, or in a sort's comparison: a line logged just before it is shown meanwhile
// instead of when the work ends. The library's own long loops do so already.
#pragma once

#include <new>

class CModule
{
public:
    // One target file. The line is the target path in double quotes, a blank and the
    // script line's parameter text (read it with CKvlParam). 1 handled, 0 failed.
    virtual int Func(const wchar_t* _pParam) = 0;
    // The script line (final 0) or the run (final 1) has ended: when active, clear active
    // and initialised and print the report into the message log.
    virtual void Quit(int _iFinal) = 0;
    virtual ~CModule() {}
    // The second per-file operation of the one module that has it (FITPARTS_REV).
    virtual int FuncRev(const wchar_t*) { return 0; }
};

// The module classes, one registry slot each.
enum MODULE_ID
{
    MODULE_FILECOPY,
    MODULE_KANJI_CHECK,
    MODULE_REPLASE,
    MODULE_VIRAGREP,
    MODULE_LISTUPPARAM,
    MODULE_LISTSORT,
    MODULE_FILECHECK,
    MODULE_FITPARTS,
    MODULE_DUMP,
    MODULE_LISTUPSCR,
    MODULE_CHECKSCR,
    MODULE_CHECKTXT,
    MODULE_SAMESIZE,
    MODULE_CHGRW,
    MODULE_SONGDATACONVERT,
    MODULE_SMPL_CHAIN,
    MODULE_RLSPRESS,
    MODULE_SMPL_D2PACK,
    MODULE_SMPL_D2ATEX,
    MODULE_MAKEMASK,
    MODULE_XLS2CSV,
    MODULE_INITSAMPLE,
    MODULE_CHECKEXCEL,
    MODULE_UTTER,
    MODULE_FUNCTION_BASE,
    MODULE_COUNT
};

// Creators, each defined in its module's own source with MODULE_DEFINE_CREATOR and named
// in the dispatcher's creator table (krelwin/module/function_base.cpp). A creator returns
// null when memory runs out.
typedef CModule* (*MODULE_CREATOR)();

#define MODULE_DEFINE_CREATOR(name) \
    CModule* Module_new_##name() { return new (std::nothrow) name; }

CModule* Module_new_FILECOPY();
CModule* Module_new_KANJI_CHECK();
CModule* Module_new_REPLASE();
CModule* Module_new_VIRAGREP();
CModule* Module_new_LISTUPPARAM();
CModule* Module_new_LISTSORT();
CModule* Module_new_FILECHECK();
CModule* Module_new_FITPARTS();
CModule* Module_new_DUMP();
CModule* Module_new_LISTUPSCR();
CModule* Module_new_CHECKSCR();
CModule* Module_new_CHECKTXT();
CModule* Module_new_SAMESIZE();
CModule* Module_new_CHGRW();
CModule* Module_new_SONGDATACONVERT();
CModule* Module_new_SMPL_CHAIN();
CModule* Module_new_RLSPRESS();
CModule* Module_new_SMPL_D2PACK();
CModule* Module_new_SMPL_D2ATEX();
CModule* Module_new_MAKEMASK();
CModule* Module_new_XLS2CSV();
CModule* Module_new_INITSAMPLE();
CModule* Module_new_CHECKEXCEL();
CModule* Module_new_UTTER();
CModule* Module_new_FUNCTION_BASE();

// The static BMP_RESIZE object: built at program start, never created nor told Quit by
// the dispatcher. Defined in the BMP_RESIZE module's source.
CModule* Module_static_BMP_RESIZE();

// The commands without module objects, each in its own source.
// DEL: the target path itself; non-zero when the file was deleted.
int Command_delete(const wchar_t* _pPath);
// DELREM: the parameter line; non-zero when the output was written.
int Command_delrem(const wchar_t* _pParam);
// ZEN2HAN: the parameter line; 1 when the target was read.
int Command_zen2han(const wchar_t* _pParam);
