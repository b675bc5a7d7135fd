// The steps after the copy: the batch file type, the desktop shortcut and the backup
// folder in the copied settings file. None of their failures is shown.
#include <cstdio>
#include <cstring>

#include "kelto/files/win32/profile.h"
#include "krelwin/app/setup/setup.h"

namespace {

const char s_szExt[] = "kvl";

struct REG_ROW
{
    const char* m_pKeyFormat;    // takes the extension or the type name
    const char* m_pValueFormat;  // takes the type name or the program path; null: a fixed text
    const char* m_pFixed;
    int m_iValueIsProgram;
};

// Copies the folder with its final '\' into _szOut; 0 when there is no room for it.
int finish_folderWithSeparator(char* _szOut, const char* _szFolder)
{
    _szOut[0] = 0;
    if (!_szFolder || std::strlen(_szFolder) >= SETUP_PATH_LENGTH - 1) return 0;
    std::strcpy(_szOut, _szFolder);
    FILE_AddSeparator(_szOut);
    return 1;
}

}  // namespace

void FinishInstall(const char* _szInstallDir)
{
    char szFolder[SETUP_PATH_LENGTH];
    if (!finish_folderWithSeparator(szFolder, _szInstallDir)) return;
    char szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH];
    FILE_split(szFolder, szDrive, szDir, 0, 0);
    char szProgram[SETUP_PATH_LENGTH];
    FILE_merge(szProgram, szDrive, szDir, COPY_FILE_LIST[0], "", SETUP_PATH_LENGTH);
    if (!szProgram[0]) return;

    RegisterBatchFileType(szProgram);
    CreateDesktopShortcut(szProgram);
    WriteBackupPath(_szInstallDir);
}

int RegisterBatchFileType(const char* _szProgram)
{
    if (!_szProgram || !_szProgram[0]) return 0;
    char szType[SETUP_PATH_LENGTH];
    std::snprintf(szType, sizeof szType, "%s_auto_file", s_szExt);

    static const REG_ROW s_stRows[] = {
        {".%s", "%s", 0, 0},
        {"%s", 0, "Dravikバッチファイル", 0},
        {"%s\\DefaultIcon", "%s,0", 0, 1},
        {"%s\\shell", 0, "open", 0},
        {"%s\\shell\\open\\command", "%s \"%%1\"", 0, 1},
    };
    for (size_t i = 0; i < sizeof s_stRows / sizeof s_stRows[0]; ++i) {
        const REG_ROW& cRow = s_stRows[i];
        char szKey[SETUP_PATH_LENGTH];
        const int iKey = std::snprintf(szKey, sizeof szKey, cRow.m_pKeyFormat, i == 0 ? s_szExt : szType);
        char szValue[2 * SETUP_PATH_LENGTH];
        int iValue = 0;
        if (cRow.m_pValueFormat)
            iValue = std::snprintf(szValue, sizeof szValue, cRow.m_pValueFormat,
                                   cRow.m_iValueIsProgram ? _szProgram : szType);
        else
            iValue = std::snprintf(szValue, sizeof szValue, "%s", cRow.m_pFixed);
        if (iKey < 0 || iKey >= static_cast<int>(sizeof szKey) || iValue < 0 ||
            iValue >= static_cast<int>(sizeof szValue))
            return 0;

        HKEY__* hKey = 0;
        if (!REG_CreateKey(g_stSetupHooks.m_hClassesRoot, szKey, &hKey)) return 0;
        REG_SetString(hKey, 0, szValue);
        REG_CloseKey(hKey);
    }
    return 1;
}

void WriteBackupPath(const char* _szInstallDir)
{
    char szBackup[SETUP_PATH_LENGTH];
    if (!SETUP_JoinPath(szBackup, _szInstallDir, "backfile\\")) return;
    FILE_MakeDirectory(szBackup);
    szBackup[std::strlen(szBackup) - 1] = 0;  // the key holds the folder without its final '\'

    char szIni[SETUP_PATH_LENGTH];
    if (!SETUP_JoinPath(szIni, _szInstallDir, COPY_FILE_LIST[1])) return;
    PROFILE_SetStringEx(szIni, "MAIN", "BACKUPPATH", szBackup);
}
