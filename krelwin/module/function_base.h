// The command dispatcher: the table of the 36 batch commands, the registry of the module
// objects, and the end-of-line / end-of-run notices that make the modules report.
#pragma once

#include "krelwin/main/global.h"
#include "krelwin/module/module.h"

// Command indexes: positions in the command table. COMMAND_COUNT means "not in the table".
enum COMMAND_ID
{
    COMMAND_COPY,
    COMMAND_DEL,
    COMMAND_DELREM,
    COMMAND_KANJI_CHECK,
    COMMAND_ZEN2HAN,
    COMMAND_REPLACE,
    COMMAND_REPLACE_REM,
    COMMAND_REPLACE_REGEX,
    COMMAND_VIRAGREP,
    COMMAND_LISTUPPARAM,
    COMMAND_LISTSORT,
    COMMAND_FILECHECK,
    COMMAND_BMP_RESIZE,
    COMMAND_FITPARTS,
    COMMAND_FITPARTS_REV,
    COMMAND_DUMP,
    COMMAND_LISTUPSCR,
    COMMAND_CHECKSCR,
    COMMAND_CHECKTXT,
    COMMAND_KINSOKU,
    COMMAND_SAMESIZE,
    COMMAND_RENEWFILES,
    COMMAND_CHGRW,
    COMMAND_SONGDATACONVERT,
    COMMAND_CHAIN,
    COMMAND_RLSPRESS,
    COMMAND_D2PACK,
    COMMAND_D2ATEX,
    COMMAND_D2ARC,
    COMMAND_MAKEMASK,
    COMMAND_XLS2CSV,
    COMMAND_INITSAMPLE,
    COMMAND_CHECKEXCEL,
    COMMAND_UTTER_SCR,
    COMMAND_UTTER,
    COMMAND_FUNCTION_BASE,
    COMMAND_COUNT
};

// A parameter line, terminator included, fits in this many characters.
#define COMMAND_PARAM_LENGTH 1024

// The command's index (case counts), or COMMAND_COUNT.
int Command_find(const wchar_t* _pName);
// The name at an index, or null.
const wchar_t* Command_name(int _iIndex);

// Runs one script line on one target file (its full path).
void Command_exec(SCRIPT_STAT _stScript, const wchar_t* _pTarget);
// End of a script line (final 0) or of the run (final 1): every live module is told, in
// the fixed report order, then Command_quitCommon.
void Command_quit(int _iFinal);
// Clears the DEL and DELREM announcements and tells the remaining modules.
void Command_quitCommon(int _iFinal);

// The live object of a module, or null.
CModule* Module_get(int _iModule);
// Deletes every live module object and clears the announcements: the state at program
// start. The objects are otherwise kept until the process ends.
void Module_releaseAll();

// Seams of the handler tables (tests reach the dispatcher through them; a module that is
// built is named in the tables of function_base.cpp). Each returns the one replaced.
MODULE_CREATOR Module_setCreator(int _iModule, MODULE_CREATOR _pCreator);
typedef int (*COMMAND_FUNCTION)(const wchar_t* _pText);
// For COMMAND_DEL, COMMAND_DELREM and COMMAND_ZEN2HAN; null elsewhere.
COMMAND_FUNCTION Command_setFunction(int _iCommand, COMMAND_FUNCTION _pFunc);
typedef int (*COMMAND_RUNNER)(const wchar_t* _pCommand, const wchar_t* _pArgs);
// The runner of external programs (Exec_Module); null gives it back.
COMMAND_RUNNER Command_setRunner(COMMAND_RUNNER _pRun);
