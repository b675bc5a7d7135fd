#include "krelwin/main/output.h"

#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/process.h"
#include "krelwin/main/prompt.h"

namespace {

OUTPUT_ASK s_pAsk = 0;

// Writes one output through the library; the byte count or 0.
typedef int (*OUT_WRITER)(const wchar_t* _pPath, const void* _pData, int _iSize);

int out_writeBytes(const wchar_t* _pPath, const void* _pData, int _iSize)
{
    return FILE_Write(_pPath, _pData, _iSize);
}

int out_writeText(const wchar_t* _pPath, const void* _pData, int)
{
    return FILE_TextWrite(_pPath, static_cast<const wchar_t*>(_pData), 0);
}

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

bool out_isFile(const wchar_t* _pPath)
{
    const uint32_t uAttr = FILE_GetAttribute(_pPath);
    return uAttr != FILE_ATTR_INVALID && !(uAttr & FILE_ATTR_FOLDER);
}

// Moves the existing file to its backup path, replacing an earlier backup of any size.
bool out_backup(const wchar_t* _pPath)
{
    wchar_t szBackup[FILE_PATH_LENGTH];
    if (!out_backupPath(_pPath, szBackup)) return false;
    // A file that is its own backup (x.bak beside itself, or a file inside the backup
    // folder) cannot be kept by moving it.
    if (STRING_cmpI(szBackup, _pPath) == 0) return false;
    if (out_isFile(szBackup) && !FILE_Delete(szBackup)) return false;
    return FILE_Move(_pPath, szBackup) != 0;
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

// Step 2 onward of both writes: policy, write, create folders, fall back.
int out_write(const wchar_t* _pPath, const void* _pData, int _iSize, OUT_WRITER _pWrite)
{
    if (Check_OutFile(_pPath)) return 0;
    int iDone = _pWrite(_pPath, _pData, _iSize);
    if (iDone) return iDone;
    FILE_MakeDirectory(_pPath);
    iDone = _pWrite(_pPath, _pData, _iSize);
    if (iDone) return iDone;

    wchar_t szFallback[FILE_PATH_LENGTH];
    if (_pPath[0] && _pPath[1] != L':' && out_fallbackPath(_pPath, szFallback)) {
        // The fallback may hit an existing file too: same backup or question.
        if (Check_OutFile(szFallback)) return 0;
        FILE_MakeDirectory(szFallback);
        iDone = _pWrite(szFallback, _pData, _iSize);
        if (iDone) return iDone;
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

int Check_OutFile(const wchar_t* _pPath)
{
    if (!_pPath) return 0;
    // A read-only file is kept as it is: not asked about, not moved away as a backup.
    const uint32_t uAttr = FILE_GetAttribute(_pPath);
    if (uAttr != FILE_ATTR_INVALID && !(uAttr & FILE_ATTR_FOLDER) && (uAttr & FILE_ATTR_READONLY)) {
        Message_err(L"Can't write file.%s", Get_FileName(_pPath));
        return 1;
    }
    if (FILE_GetSize(_pPath) == 0) return 0;
    if (s_stGl.m_pSetting && s_stGl.m_pSetting->BACKUP == 1) {
        if (out_backup(_pPath)) return 0;
        // The old file stays where it was; the output is not written.
        Message_err(L"%s\nバックアップファイルが作成できません", _pPath);
        return 1;
    }
    std::wstring strText = _pPath;
    strText += L"\n既にファイルが存在します。上書きしますか？";
    switch (out_ask(strText.c_str())) {
    case OUTPUT_ANSWER_YES: return 0;
    case OUTPUT_ANSWER_NO: return 1;
    default:
        s_stGl.m_iStop = 1;
        return 1;
    }
}

int Write_OutFile(const wchar_t* _pPath, const void* _pData, int _iSize)
{
    if (!_pPath) return 0;
    if (_iSize <= 0 || !_pData) {
        Message_err(L"OutFileSize zero.%s", Get_FileName(_pPath));
        return 0;
    }
    return out_write(_pPath, _pData, _iSize, out_writeBytes);
}

int Write_OutText(const wchar_t* _pPath, const wchar_t* _pText)
{
    if (!_pPath) return 0;
    if (STRING_len(_pText) == 0) {
        Message_err(L"OutFileSize zero.%s", Get_FileName(_pPath));
        return 0;
    }
    return out_write(_pPath, _pText, 0, out_writeText);
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
