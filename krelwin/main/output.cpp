#include "krelwin/main/output.h"

#include <set>
#include <string>

#include "kelto/files/pathkey.h"
#include "kelto/files/win32/file.h"
#include "kelto/memory/mem.h"
#include "kelto/string/string.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/process.h"
#include "krelwin/main/prompt.h"

namespace {

OUTPUT_ASK s_pAsk = 0;

// What this run has done to existing files, by their keys (FILE_PathKey): the backups it
// made, which it never replaces, and the files whose content from before the run is taken
// care of (kept in a backup, or there was none), which need no backup again.
std::set<std::wstring> s_setBackups;
std::set<std::wstring> s_setSettled;

// What the policy says of one output.
enum OUT_PLAN { OUT_REFUSE, OUT_WRITE, OUT_BACKUP };

// Drive and folder of the path (up to and with its last separator), or false when they
// do not fit a path.
bool out_folderOf(const wchar_t* _pPath, wchar_t* _pOut)
{
    const int iLen = static_cast<int>(Get_FileName(_pPath) - _pPath);
    if (iLen >= FILE_PATH_LENGTH) return false;
    STRING_cpy(_pOut, _pPath, iLen);
    _pOut[iLen] = 0;
    return true;
}

// The backup path of a file: into the backup folder under its own name, or beside it
// with the extension ".bak". False when it does not fit a path.
bool out_backupPath(const wchar_t* _pPath, wchar_t* _pOut)
{
    _pOut[0] = 0;
    const wchar_t* pName = Get_FileName(_pPath);
    const wchar_t* pBackupDir = s_stGl.m_pSetting ? s_stGl.m_pSetting->BACKUPPATH : L"";
    std::wstring strPath;
    if (pBackupDir[0]) {
        strPath = pBackupDir;
        const wchar_t cLast = strPath[strPath.size() - 1];
        if (cLast != L'\\' && cLast != L'/') strPath += L'\\';
        strPath += pName;
    } else {
        const wchar_t* pDot = STRING_chrR(pName, L'.');
        const size_t uStem = pDot ? static_cast<size_t>(pDot - _pPath) : static_cast<size_t>(STRING_len(_pPath));
        strPath.assign(_pPath, uStem);
        strPath += L".bak";
    }
    if (strPath.size() >= FILE_PATH_LENGTH) return false;
    STRING_cpy(_pOut, strPath.c_str());
    return true;
}

// A backup name that nothing has: the name with "(2)", "(3)" ... before its extension,
// for a backup whose own name a backup of this run already has. False when none fits.
bool out_otherBackupPath(wchar_t* _pBackup)
{
    const std::wstring strBackup = _pBackup;
    const wchar_t* pName = Get_FileName(_pBackup);
    const wchar_t* pDot = STRING_chrR(pName, L'.');
    const size_t uStem = pDot ? static_cast<size_t>(pDot - _pBackup) : strBackup.size();
    for (int i = 2; i < 1000; ++i) {
        wchar_t szMark[16];
        STRING_sprintf(szMark, 16, L"(%d)", i);
        const std::wstring strOther = strBackup.substr(0, uStem) + szMark + strBackup.substr(uStem);
        if (strOther.size() >= FILE_PATH_LENGTH) return false;
        if (FILE_GetAttribute(strOther.c_str()) != FILE_ATTR_INVALID) continue;
        if (s_setBackups.count(FILE_PathKey(strOther.c_str()))) continue;
        STRING_cpy(_pBackup, strOther.c_str());
        return true;
    }
    return false;
}

int out_ask(const wchar_t* _pText)
{
    Message_flush();
    return s_pAsk ? s_pAsk(_pText) : PROMPT_overwrite(_pText);
}

// The relative path placed under the batch folder (its own folders kept); false when
// there is no batch folder or the result does not fit a path.
bool out_fallbackPath(const wchar_t* _pPath, wchar_t* _pOut)
{
    wchar_t szBatchDir[FILE_PATH_LENGTH];
    if (!s_stGl.m_szBatchPath[0] || !out_folderOf(s_stGl.m_szBatchPath, szBatchDir)) return false;
    if (!szBatchDir[0]) return false;
    if (STRING_len(szBatchDir) + STRING_len(_pPath) >= FILE_PATH_LENGTH) return false;
    STRING_cpy(_pOut, szBatchDir);
    STRING_cat(_pOut, _pPath);
    return true;
}

// The backup or overwrite policy for an output that is about to be written: asks the
// question where it is due, and finds the backup's path. Nothing is moved yet.
OUT_PLAN out_plan(const wchar_t* _pPath, wchar_t* _pBackup)
{
    _pBackup[0] = 0;
    // A read-only file is kept as it is: not asked about, not moved away as a backup.
    const uint32_t uAttr = FILE_GetAttribute(_pPath);
    if (uAttr != FILE_ATTR_INVALID && !(uAttr & FILE_ATTR_FOLDER) && (uAttr & FILE_ATTR_READONLY)) {
        Message_err(L"Can't write file.%s", Get_FileName(_pPath));
        return OUT_REFUSE;
    }
    if (FILE_GetSize(_pPath) == 0) return OUT_WRITE;
    if (s_stGl.m_pSetting && s_stGl.m_pSetting->BACKUP == 1) {
        const std::wstring strKey = FILE_PathKey(_pPath);
        // Its content from before the run lies in a backup of this run already.
        if (s_setSettled.count(strKey)) return OUT_WRITE;
        // A file that is its own backup (x.bak beside itself, or a file inside the backup
        // folder) cannot be kept by moving it.
        if (out_backupPath(_pPath, _pBackup) && !FILE_IsSamePath(_pBackup, _pPath) &&
            (!s_setBackups.count(FILE_PathKey(_pBackup)) || out_otherBackupPath(_pBackup)))
            return OUT_BACKUP;
        // The old file stays where it was; the output is not written.
        Message_err(L"%s\nバックアップファイルが作成できません", _pPath);
        return OUT_REFUSE;
    }
    std::wstring strText = _pPath;
    strText += L"\n既にファイルが存在します。上書きしますか？";
    switch (out_ask(strText.c_str())) {
    case OUTPUT_ANSWER_YES: return OUT_WRITE;
    case OUTPUT_ANSWER_NO: return OUT_REFUSE;
    default:
        s_stGl.m_iStop = 1;
        return OUT_REFUSE;
    }
}

// Moves the existing file to its backup path. An earlier backup there is parked under a
// name of its own first (into _pParked), to be removed only once the new output is in
// place, or put back when it cannot be.
bool out_backup(const wchar_t* _pPath, const wchar_t* _pBackup, wchar_t* _pParked)
{
    _pParked[0] = 0;
    wchar_t szFolder[FILE_PATH_LENGTH];
    bool bMoved = false;
    if (FILE_GetAttribute(_pBackup) == FILE_ATTR_INVALID) {
        bMoved = FILE_Move(_pPath, _pBackup) != 0;
    } else if (out_folderOf(_pBackup, szFolder) && FILE_MakeTemp(szFolder, _pParked)) {
        if (!FILE_Replace(_pBackup, _pParked)) {
            FILE_Delete(_pParked);
            _pParked[0] = 0;
        } else if (!(bMoved = FILE_Move(_pPath, _pBackup) != 0)) {
            FILE_Replace(_pParked, _pBackup);
            _pParked[0] = 0;
        }
    }
    if (!bMoved) {
        Message_err(L"%s\nバックアップファイルが作成できません", _pPath);
        return false;
    }
    wchar_t szUsual[FILE_PATH_LENGTH];
    if (out_backupPath(_pPath, szUsual) && STRING_cmp(szUsual, _pBackup) != 0)
        Message_info(L"%s\nバックアップファイルを%sに作成しました", _pPath, _pBackup);
    s_setBackups.insert(FILE_PathKey(_pBackup));
    s_setSettled.insert(FILE_PathKey(_pPath));
    return true;
}

// Writes the bytes whole beside the path and puts them in its place; with a backup due,
// the old file moves to it first. Any failure leaves the old file as it was: OUT_FAILED when
// the path could not be written, OUT_STOPPED when that was reported already.
enum OUT_RESULT { OUT_DONE, OUT_FAILED, OUT_STOPPED };

OUT_RESULT out_replace(const wchar_t* _pPath, const void* _pData, int _iSize, OUT_PLAN _ePlan,
                       const wchar_t* _pBackup)
{
    CFileStage cStage;
    if (!cStage.Open(_pPath)) {
        FILE_MakeDirectory(_pPath);
        if (!cStage.Open(_pPath)) return OUT_FAILED;
    }
    if (!cStage.Write(_pData, _iSize) || !cStage.Finish()) return OUT_FAILED;
    wchar_t szParked[FILE_PATH_LENGTH] = {0};
    if (_ePlan == OUT_BACKUP && !out_backup(_pPath, _pBackup, szParked)) return OUT_STOPPED;
    if (!cStage.Commit()) {
        // The old file comes back from the backup it had just become, the earlier backup
        // to its place.
        if (_ePlan == OUT_BACKUP) {
            FILE_Move(_pBackup, _pPath);
            if (szParked[0]) FILE_Replace(szParked, _pBackup);
            s_setBackups.erase(FILE_PathKey(_pBackup));
            s_setSettled.erase(FILE_PathKey(_pPath));
        }
        return OUT_FAILED;
    }
    if (szParked[0]) FILE_Delete(szParked);
    s_setSettled.insert(FILE_PathKey(_pPath));
    return OUT_DONE;
}

// Step 2 onward of both writes: policy, write, create folders, fall back.
int out_write(const wchar_t* _pPath, const void* _pData, int _iSize)
{
    wchar_t szBackup[FILE_PATH_LENGTH];
    const OUT_PLAN ePlan = out_plan(_pPath, szBackup);
    if (ePlan == OUT_REFUSE) return 0;
    const OUT_RESULT eResult = out_replace(_pPath, _pData, _iSize, ePlan, szBackup);
    if (eResult == OUT_DONE) return _iSize;
    if (eResult == OUT_STOPPED) return 0;

    // A relative path that cannot be written where it points goes under the batch folder:
    // never over the file that just failed, never with a backup or a second question, so
    // never over a file that holds anything.
    wchar_t szFallback[FILE_PATH_LENGTH];
    if (_pPath[0] && _pPath[1] != L':' && out_fallbackPath(_pPath, szFallback) &&
        !FILE_IsSamePath(szFallback, _pPath) && FILE_GetSize(szFallback) == 0) {
        if (out_replace(szFallback, _pData, _iSize, OUT_WRITE, L"") == OUT_DONE) return _iSize;
    }
    Message_err(L"Can't write file.%s", Get_FileName(_pPath));
    return 0;
}

} // namespace

OUTPUT_ASK Output_setAsk(OUTPUT_ASK _pAsk)
{
    OUTPUT_ASK pOld = s_pAsk;
    s_pAsk = _pAsk;
    return pOld;
}

const wchar_t* Get_FileName(const wchar_t* _pPath)
{
    if (!_pPath) return 0;
    const wchar_t* pName = _pPath;
    if (_pPath[0] && _pPath[1] == L':') pName = _pPath + 2;
    for (const wchar_t* p = pName; *p; ++p) {
        if (*p == L'\\' || *p == L'/') pName = p + 1;
    }
    return pName;
}

wchar_t* Get_FileName(wchar_t* _pPath)
{
    return const_cast<wchar_t*>(Get_FileName(static_cast<const wchar_t*>(_pPath)));
}

void Make_BatchPath(wchar_t* _pOut, const wchar_t* _pPath)
{
    if (!_pOut) return;
    _pOut[0] = 0;
    if (!_pPath) return;
    if (_pPath[0] && _pPath[1] == L':') {
        if (STRING_len(_pPath) < FILE_PATH_LENGTH) STRING_cpy(_pOut, _pPath);
        return;
    }
    wchar_t szBatchDir[FILE_PATH_LENGTH];
    if (!out_folderOf(s_stGl.m_szBatchPath, szBatchDir)) return;
    const wchar_t* pName = Get_FileName(_pPath);
    if (STRING_len(szBatchDir) + STRING_len(pName) >= FILE_PATH_LENGTH) return;
    STRING_cpy(_pOut, szBatchDir);
    STRING_cat(_pOut, pName);
}

void Output_beginRun()
{
    s_setBackups.clear();
    s_setSettled.clear();
}

int Check_OutFile(const wchar_t* _pPath)
{
    if (!_pPath) return 0;
    wchar_t szBackup[FILE_PATH_LENGTH];
    switch (out_plan(_pPath, szBackup)) {
    case OUT_REFUSE: return 1;
    case OUT_BACKUP: {
        wchar_t szParked[FILE_PATH_LENGTH];
        if (!out_backup(_pPath, szBackup, szParked)) return 1;
        if (szParked[0]) FILE_Delete(szParked);
        return 0;
    }
    default: return 0;
    }
}

int Write_OutFile(const wchar_t* _pPath, const void* _pData, int _iSize)
{
    if (!_pPath) return 0;
    if (_iSize <= 0 || !_pData) {
        Message_err(L"OutFileSize zero.%s", Get_FileName(_pPath));
        return 0;
    }
    return out_write(_pPath, _pData, _iSize);
}

int Write_OutText(const wchar_t* _pPath, const wchar_t* _pText)
{
    if (!_pPath) return 0;
    if (STRING_len(_pText) == 0) {
        Message_err(L"OutFileSize zero.%s", Get_FileName(_pPath));
        return 0;
    }
    char* pBytes = 0;
    const int iBytes = FILE_TextToBytes(_pText, &pBytes);
    if (iBytes <= 0) {
        Message_err(L"Can't write file.%s", Get_FileName(_pPath));
        return 0;
    }
    const int iWritten = out_write(_pPath, pBytes, iBytes);
    MEM_free(&pBytes);
    return iWritten;
}

int Exec_Module(const wchar_t* _pCommand, const wchar_t* _pArgs)
{
    const std::wstring strCommand = _pCommand ? _pCommand : L"";
    std::wstring strLine = strCommand + L" " + (_pArgs ? _pArgs : L"");
    void* hProcess = PROCESS_start(&strLine[0]);
    std::wstring strSecond = std::wstring(s_stGl.m_szAppDir) + L"krelwin.exe " + strCommand;
    if (!hProcess) {
        // Not a program: another instance runs the command as its batch file.
        std::wstring strLine2 = strSecond;
        hProcess = PROCESS_start(&strLine2[0]);
    }
    if (hProcess) {
        Message_info(L"Process. %s", strCommand.c_str());
        // The window does not repaint while the program waits.
        Message_flush();
        PROCESS_wait(hProcess);
    } else {
        Message_err(L"Can't exec module. \"%s\"", strSecond.c_str());
    }
    return 1;
}
