#include "krelwin/module/function_base.h"

#include <string>

#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"

namespace {

enum HANDLER_KIND
{
    KIND_MODULE,      // a module object's Func
    KIND_MODULE_REV,  // a module object's FuncRev
    KIND_STATIC,      // the static BMP_RESIZE object
    KIND_FUNCTION,    // a plain command function
    KIND_RESERVED     // a name without a handler
};

struct COMMAND_ENTRY
{
    const wchar_t* m_pName;
    int m_iKind;
    int m_iModule;          // registry slot of a module command
    const wchar_t* m_pMode; // option appended for the replace commands
};

const COMMAND_ENTRY s_aCommand[COMMAND_COUNT] = {
    {L"COPY", KIND_MODULE, MODULE_FILECOPY, 0},
    {L"DEL", KIND_FUNCTION, -1, 0},
    {L"DELREM", KIND_FUNCTION, -1, 0},
    {L"KANJI_CHECK", KIND_MODULE, MODULE_KANJI_CHECK, 0},
    {L"ZEN2HAN", KIND_FUNCTION, -1, 0},
    {L"REPLACE", KIND_MODULE, MODULE_REPLASE, L"-m0"},
    {L"REPLACE_REM", KIND_MODULE, MODULE_REPLASE, L"-m1"},
    {L"REPLACE_REGEX", KIND_MODULE, MODULE_REPLASE, L"-m2"},
    {L"VIRAGREP", KIND_MODULE, MODULE_VIRAGREP, 0},
    {L"LISTUPPARAM", KIND_MODULE, MODULE_LISTUPPARAM, 0},
    {L"LISTSORT", KIND_MODULE, MODULE_LISTSORT, 0},
    {L"FILECHECK", KIND_MODULE, MODULE_FILECHECK, 0},
    {L"BMP_RESIZE", KIND_STATIC, -1, 0},
    {L"FITPARTS", KIND_MODULE, MODULE_FITPARTS, 0},
    {L"FITPARTS_REV", KIND_MODULE_REV, MODULE_FITPARTS, 0},
    {L"DUMP", KIND_MODULE, MODULE_DUMP, 0},
    {L"LISTUPSCR", KIND_MODULE, MODULE_LISTUPSCR, 0},
    {L"CHECKSCR", KIND_MODULE, MODULE_CHECKSCR, 0},
    {L"CHECKTXT", KIND_MODULE, MODULE_CHECKTXT, 0},
    {L"KINSOKU", KIND_RESERVED, -1, 0},
    {L"SAMESIZE", KIND_MODULE, MODULE_SAMESIZE, 0},
    {L"RENEWFILES", KIND_RESERVED, -1, 0},
    {L"CHGRW", KIND_MODULE, MODULE_CHGRW, 0},
    {L"SONGDATACONVERT", KIND_MODULE, MODULE_SONGDATACONVERT, 0},
    {L"CHAIN", KIND_MODULE, MODULE_SMPL_CHAIN, 0},
    {L"RLSPRESS", KIND_MODULE, MODULE_RLSPRESS, 0},
    {L"D2PACK", KIND_MODULE, MODULE_SMPL_D2PACK, 0},
    {L"D2ATEX", KIND_MODULE, MODULE_SMPL_D2ATEX, 0},
    {L"D2ARC", KIND_RESERVED, -1, 0},
    {L"MAKEMASK", KIND_MODULE, MODULE_MAKEMASK, 0},
    {L"XLS2CSV", KIND_MODULE, MODULE_XLS2CSV, 0},
    {L"INITSAMPLE", KIND_MODULE, MODULE_INITSAMPLE, 0},
    {L"CHECKEXCEL", KIND_MODULE, MODULE_CHECKEXCEL, 0},
    {L"UTTER_SCR", KIND_RESERVED, -1, 0},
    {L"UTTER", KIND_MODULE, MODULE_UTTER, 0},
    {L"FUNCTION_BASE", KIND_MODULE, MODULE_FUNCTION_BASE, 0},
};

// The creators of the built modules; a null entry is a module not built in yet.
// Building a module: define its creator in its own source, name it here.
MODULE_CREATOR s_apCreator[MODULE_COUNT] = {
    &Module_new_FILECOPY,  // MODULE_FILECOPY
    &Module_new_KANJI_CHECK,  // MODULE_KANJI_CHECK
    Module_new_REPLASE,  // MODULE_REPLASE
    &Module_new_VIRAGREP,  // MODULE_VIRAGREP
    &Module_new_LISTUPPARAM,  // MODULE_LISTUPPARAM
    &Module_new_LISTSORT,  // MODULE_LISTSORT
    Module_new_FILECHECK,  // MODULE_FILECHECK
    Module_new_FITPARTS,  // MODULE_FITPARTS
    &Module_new_DUMP,  // MODULE_DUMP
    &Module_new_LISTUPSCR,  // MODULE_LISTUPSCR
    &Module_new_CHECKSCR,  // MODULE_CHECKSCR
    Module_new_CHECKTXT,  // MODULE_CHECKTXT
    &Module_new_SAMESIZE,  // MODULE_SAMESIZE
    Module_new_CHGRW,  // MODULE_CHGRW
    &Module_new_SONGDATACONVERT,  // MODULE_SONGDATACONVERT
    &Module_new_SMPL_CHAIN,  // MODULE_SMPL_CHAIN
    &Module_new_RLSPRESS,  // MODULE_RLSPRESS
    &Module_new_SMPL_D2PACK,  // MODULE_SMPL_D2PACK
    &Module_new_SMPL_D2ATEX,  // MODULE_SMPL_D2ATEX
    Module_new_MAKEMASK,  // MODULE_MAKEMASK
    Module_new_XLS2CSV,  // MODULE_XLS2CSV
    Module_new_INITSAMPLE,  // MODULE_INITSAMPLE
    Module_new_CHECKEXCEL,  // MODULE_CHECKEXCEL
    Module_new_UTTER,  // MODULE_UTTER
    Module_new_FUNCTION_BASE,  // MODULE_FUNCTION_BASE
};

// The static BMP_RESIZE object's accessor, once built.
CModule* (*s_pStaticResize)() = Module_static_BMP_RESIZE;

// The plain command functions, once built (Command_delete, Command_delrem, Command_zen2han).
COMMAND_FUNCTION s_pDelete = Command_delete;
COMMAND_FUNCTION s_pDelrem = Command_delrem;
COMMAND_FUNCTION s_pZen2han = Command_zen2han;

COMMAND_RUNNER s_pRunner = 0;

// The module registry: one object per class, created at first use.
CModule* s_apModule[MODULE_COUNT] = {};

// "deleting" / "delrem" shown once per script line that uses the command.
int s_iDelAnnounced = 0;
int s_iDelremAnnounced = 0;

// The report order of Command_quit, then of Command_quitCommon.
const int s_aQuitOrder[] = {
    MODULE_SONGDATACONVERT, MODULE_SMPL_CHAIN, MODULE_RLSPRESS, MODULE_SMPL_D2PACK,
    MODULE_SMPL_D2ATEX, MODULE_MAKEMASK, MODULE_XLS2CSV, MODULE_INITSAMPLE,
    MODULE_CHECKEXCEL, MODULE_UTTER, MODULE_FUNCTION_BASE, MODULE_LISTUPSCR,
    MODULE_LISTUPPARAM, MODULE_CHECKTXT, MODULE_REPLASE, MODULE_VIRAGREP,
    MODULE_FITPARTS, MODULE_CHECKSCR,
};
const int s_aQuitCommonOrder[] = {
    MODULE_FILECOPY, MODULE_LISTSORT, MODULE_FILECHECK, MODULE_DUMP,
    MODULE_KANJI_CHECK, MODULE_SAMESIZE, MODULE_CHGRW,
};

COMMAND_FUNCTION* cmd_functionSlot(int _iCommand)
{
    switch (_iCommand) {
    case COMMAND_DEL: return &s_pDelete;
    case COMMAND_DELREM: return &s_pDelrem;
    case COMMAND_ZEN2HAN: return &s_pZen2han;
    default: return 0;
    }
}

void cmd_notBuiltIn(const wchar_t* _pName)
{
    Message_info(L"%s この機能は組み込まれていません", _pName);
}

// The module object of a slot, created on first use; null when it cannot be had (the
// reason is logged).
CModule* cmd_module(int _iModule, const wchar_t* _pName)
{
    if (!s_apModule[_iModule]) {
        MODULE_CREATOR pCreate = s_apCreator[_iModule];
        if (!pCreate) {
            cmd_notBuiltIn(_pName);
            return 0;
        }
        s_apModule[_iModule] = pCreate();
        if (!s_apModule[_iModule]) {
            Message_err(L"スクリプトの実行に失敗しました");
            return 0;
        }
    }
    return s_apModule[_iModule];
}

void cmd_runFunction(int _iCommand, const wchar_t* _pTarget, const wchar_t* _pLine)
{
    const wchar_t* pName = s_aCommand[_iCommand].m_pName;
    COMMAND_FUNCTION pFunc = *cmd_functionSlot(_iCommand);
    if (!pFunc) {
        cmd_notBuiltIn(pName);
        return;
    }
    switch (_iCommand) {
    case COMMAND_DEL:
        if (!s_iDelAnnounced) {
            s_iDelAnnounced = 1;
            Message_win(L"deleting");
        }
        if (!pFunc(_pTarget)) Message_info(L"del failed. %s", Get_FileName(_pTarget));
        break;
    case COMMAND_DELREM:
        if (!s_iDelremAnnounced) {
            s_iDelremAnnounced = 1;
            Message_win(L"delrem");
        }
        if (!pFunc(_pLine)) Message_info(L"delrem failed. %s", Get_FileName(_pTarget));
        break;
    default:
        pFunc(_pLine);
        break;
    }
}

// Every "%1" of the parameter text becomes the target path; the search goes on after
// the inserted path, so a "%1" inside the path stays as it is.
std::wstring cmd_expandTarget(const std::wstring& _strParam, const wchar_t* _pTarget)
{
    const std::wstring strTarget = _pTarget;
    std::wstring strOut = _strParam;
    size_t uPos = 0;
    while ((uPos = strOut.find(L"%1", uPos)) != std::wstring::npos) {
        strOut.replace(uPos, 2, strTarget);
        uPos += strTarget.size();
    }
    return strOut;
}

void cmd_external(const SCRIPT_STAT& _stScript, const wchar_t* _pTarget, const wchar_t* _pLine)
{
    if (_stScript.m_strCommand.empty()) {
        // A line that names no command is a broken script line, not a program to start.
        Message_err(L"コマンドが指定されていません. \"%s\"", _stScript.m_strParam.c_str());
        return;
    }
    COMMAND_RUNNER pRun = s_pRunner ? s_pRunner : Exec_Module;
    if (_stScript.m_strParam.find(L"%1") == std::wstring::npos) {
        pRun(_stScript.m_strCommand.c_str(), _pLine);
    } else {
        pRun(_stScript.m_strCommand.c_str(), cmd_expandTarget(_stScript.m_strParam, _pTarget).c_str());
    }
}

void cmd_quitList(const int* _pOrder, int _iCount, int _iFinal)
{
    for (int i = 0; i < _iCount; ++i) {
        CModule* pModule = s_apModule[_pOrder[i]];
        if (pModule) pModule->Quit(_iFinal);
    }
}

} // namespace

int Command_find(const wchar_t* _pName)
{
    if (!_pName) return COMMAND_COUNT;
    for (int i = 0; i < COMMAND_COUNT; ++i) {
        if (STRING_cmp(s_aCommand[i].m_pName, _pName) == 0) return i;
    }
    return COMMAND_COUNT;
}

const wchar_t* Command_name(int _iIndex)
{
    return (_iIndex >= 0 && _iIndex < COMMAND_COUNT) ? s_aCommand[_iIndex].m_pName : 0;
}

void Command_exec(SCRIPT_STAT _stScript, const wchar_t* _pTarget)
{
    s_stGl.m_iLoopPos = -1;
    s_stGl.m_iLoopCount = 0;
    if (!_pTarget) _pTarget = L"";

    const int iIndex = Command_find(_stScript.m_strCommand.c_str());
    const wchar_t* pMode = (iIndex < COMMAND_COUNT) ? s_aCommand[iIndex].m_pMode : 0;

    // Quotes, blank, text, and for the replace commands a blank and the mode option.
    const size_t uNeed = 2 + STRING_len(_pTarget) + 1 + _stScript.m_strParam.size() +
                         (pMode ? 1 + STRING_len(pMode) : 0) + 1;
    if (uNeed > COMMAND_PARAM_LENGTH) {
        Message_err(L"パラメータが長すぎます. \"%s\"", _stScript.m_strParam.c_str());
        return;
    }
    wchar_t szLine[COMMAND_PARAM_LENGTH];
    STRING_sprintf(szLine, COMMAND_PARAM_LENGTH, L"\"%s\"", _pTarget);
    STRING_cat(szLine, L" ");
    STRING_cat(szLine, _stScript.m_strParam.c_str());

    if (iIndex == COMMAND_COUNT) {
        cmd_external(_stScript, _pTarget, szLine);
        return;
    }

    const COMMAND_ENTRY& cEntry = s_aCommand[iIndex];
    switch (cEntry.m_iKind) {
    case KIND_MODULE:
    case KIND_MODULE_REV: {
        if (pMode) {
            STRING_cat(szLine, L" ");
            STRING_cat(szLine, pMode);
        }
        CModule* pModule = cmd_module(cEntry.m_iModule, cEntry.m_pName);
        if (!pModule) return;
        if (cEntry.m_iKind == KIND_MODULE_REV) pModule->FuncRev(szLine);
        else pModule->Func(szLine);
        break;
    }
    case KIND_STATIC: {
        CModule* pModule = s_pStaticResize ? s_pStaticResize() : 0;
        if (pModule) pModule->Func(szLine);
        else cmd_notBuiltIn(cEntry.m_pName);
        break;
    }
    case KIND_FUNCTION:
        cmd_runFunction(iIndex, _pTarget, szLine);
        break;
    default:
        cmd_notBuiltIn(cEntry.m_pName);
        break;
    }
}

void Command_quit(int _iFinal)
{
    cmd_quitList(s_aQuitOrder, static_cast<int>(sizeof(s_aQuitOrder) / sizeof(s_aQuitOrder[0])), _iFinal);
    Command_quitCommon(_iFinal);
}

void Command_quitCommon(int _iFinal)
{
    s_iDelAnnounced = 0;
    s_iDelremAnnounced = 0;
    cmd_quitList(s_aQuitCommonOrder,
                 static_cast<int>(sizeof(s_aQuitCommonOrder) / sizeof(s_aQuitCommonOrder[0])), _iFinal);
}

CModule* Module_get(int _iModule)
{
    return (_iModule >= 0 && _iModule < MODULE_COUNT) ? s_apModule[_iModule] : 0;
}

void Module_releaseAll()
{
    for (int i = 0; i < MODULE_COUNT; ++i) {
        if (s_apModule[i]) {
            delete s_apModule[i];
            s_apModule[i] = 0;
        }
    }
    s_iDelAnnounced = 0;
    s_iDelremAnnounced = 0;
}

MODULE_CREATOR Module_setCreator(int _iModule, MODULE_CREATOR _pCreator)
{
    if (_iModule < 0 || _iModule >= MODULE_COUNT) return 0;
    MODULE_CREATOR pOld = s_apCreator[_iModule];
    s_apCreator[_iModule] = _pCreator;
    return pOld;
}

COMMAND_FUNCTION Command_setFunction(int _iCommand, COMMAND_FUNCTION _pFunc)
{
    COMMAND_FUNCTION* pSlot = cmd_functionSlot(_iCommand);
    if (!pSlot) return 0;
    COMMAND_FUNCTION pOld = *pSlot;
    *pSlot = _pFunc;
    return pOld;
}

COMMAND_RUNNER Command_setRunner(COMMAND_RUNNER _pRun)
{
    COMMAND_RUNNER pOld = s_pRunner;
    s_pRunner = _pRun;
    return pOld;
}
