// The run folder, the message log and the input parts of the targets that drive commands.
#include "tests/fuzz/support/fuzz_run.h"

#include <cstdlib>
#include <memory>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/setting.h"
#include "krelwin/module/function_base.h"
#include "krelwin/module/module.h"
#include "tests/fuzz/support/dde_standin.h"
#include "tests/fuzz/support/fuzz.h"

namespace {

// The run's folder as the system resolves it, so that paths made from it and the current
// folder read alike.
std::string s_strFolder;

int answerYes(const wchar_t*)
{
    return OUTPUT_ANSWER_YES;
}

// Removes what the folder holds. Commands may have taken the write bit of a folder
// (CHGRW on a folder target): it is given back before the folder is emptied.
void emptyFolder(const std::string& _strFolder)
{
    DIR* pDir = opendir(_strFolder.c_str());
    if (!pDir) return;
    std::vector<std::string> vNames;
    while (struct dirent* pEntry = readdir(pDir)) {
        if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
            vNames.push_back(pEntry->d_name);
    }
    closedir(pDir);
    for (const std::string& strName : vNames) {
        const std::string strPath = _strFolder + "/" + strName;
        struct stat st;
        if (lstat(strPath.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            chmod(strPath.c_str(), 0700);
            emptyFolder(strPath);
            rmdir(strPath.c_str());
        } else {
            unlink(strPath.c_str());
        }
    }
}

void listFolder(const std::string& _strFolder, const std::string& _strPrefix, std::vector<std::string>* _pOut)
{
    DIR* pDir = opendir(_strFolder.c_str());
    if (!pDir) return;
    while (struct dirent* pEntry = readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName == "." || strName == "..") continue;
        struct stat st;
        if (lstat((_strFolder + "/" + strName).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) listFolder(_strFolder + "/" + strName, _strPrefix + strName + "/", _pOut);
        else _pOut->push_back(_strPrefix + strName);
    }
    closedir(pDir);
}

std::wstring wide(const std::string& _str)
{
    return POSIX_fromUtf8(_str.c_str());
}

void setUp()
{
    char* pReal = realpath(fuzz_folder().c_str(), nullptr);
    if (!pReal) __builtin_trap();
    s_strFolder = pReal;
    free(pReal);
    const std::string& strFolder = s_strFolder;
    if (chdir(strFolder.c_str()) != 0 || !POSIX_confine(strFolder.c_str())) __builtin_trap();
    // The guard must hold before any input names a path: outside names nothing, inside is there.
    if (FILE_GetAttribute(L"/") != FILE_ATTR_INVALID || FILE_GetAttribute(L"..\\") != FILE_ATTR_INVALID ||
        FILE_GetAttribute(L"sub\\..\\..") != FILE_ATTR_INVALID || FILE_GetAttribute(L".") == FILE_ATTR_INVALID)
        __builtin_trap();
    const std::wstring strBatch = wide(strFolder) + L"/batch.kvl";
    if (strBatch.size() >= FILE_PATH_LENGTH - 64) __builtin_trap();
    STRING_cpy(s_stGl.m_szBatchPath, strBatch.c_str());
    STRING_cpy(s_stGl.m_szBatchDir, (wide(strFolder) + L"/").c_str());
    STRING_cpy(s_stGl.m_szAppDir, s_stGl.m_szBatchDir);
    Read_Setting();
    s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
    if (!Message_alloc()) __builtin_trap();
    Output_setAsk(answerYes);
}

} // namespace

FUZZ_RUN::FUZZ_RUN() : m_iBack(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_iBack < 0) __builtin_trap();
    static bool s_bReady = false;
    if (!s_bReady) {
        setUp();
        s_bReady = true;
    }
    const std::string& strFolder = s_strFolder;
    // A command may have removed the folder itself (DEL of a folder target, RD in a name).
    mkdir(strFolder.c_str(), 0700);
    chmod(strFolder.c_str(), 0700);
    emptyFolder(strFolder);
    if (chdir(strFolder.c_str()) != 0) __builtin_trap();
    Message_clear();
    s_stGl.m_lstScript.clear();
    s_stGl.m_itScript = s_stGl.m_lstScript.end();
    s_stGl.m_cFileList.Clear();
    s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
    s_stGl.m_iAbort = 0;
    s_stGl.m_iStop = 0;
    s_stGl.m_iRunning = 0;
    s_stGl.m_iFileIndex = 0;
    s_stGl.TimerID = 0;
    fuzz_ddeBegin();
}

FUZZ_RUN::~FUZZ_RUN()
{
    // FUZZ_LOG=1 shows what an input made the commands say.
    static const bool s_bShow = getenv("FUZZ_LOG") != nullptr;
    if (s_bShow && s_stGl.m_memMsg) fprintf(stderr, "%s\n", POSIX_toUtf8(s_stGl.m_memMsg).c_str());
    if (fchdir(m_iBack) != 0) __builtin_trap();
    close(m_iBack);
}

std::vector<std::string> fuzz_runFiles()
{
    std::vector<std::string> vFiles;
    listFolder(s_strFolder, "", &vFiles);
    return vFiles;
}

std::wstring fuzz_runPath(const std::wstring& _strName)
{
    return wide(s_strFolder) + L"/" + _strName;
}

std::wstring fuzz_runFile(const std::wstring& _strName, const std::string& _strData)
{
    const std::wstring strPath = fuzz_runPath(_strName);
    const std::string strNarrow = POSIX_toUtf8(strPath.c_str());
    for (size_t u = s_strFolder.size() + 1; (u = strNarrow.find('/', u)) != std::string::npos; ++u)
        mkdir(strNarrow.substr(0, u).c_str(), 0700);
    // A name of the input may not be had (a part of it is a file already, or too long).
    FILE* pFile = fopen(strNarrow.c_str(), "wb");
    if (!pFile) return std::wstring();
    const bool bWritten = _strData.empty() || fwrite(_strData.data(), 1, _strData.size(), pFile) == _strData.size();
    if (fclose(pFile) != 0 || !bWritten) __builtin_trap();
    return strPath;
}

bool fuzz_command(const std::wstring& _strTarget, const std::wstring& _strArgs, std::wstring* _pLine)
{
    s_stGl.m_iLoopPos = -1;
    s_stGl.m_iLoopCount = 0;
    *_pLine = L"\"" + _strTarget + L"\" " + _strArgs;
    return _pLine->size() + 1 <= COMMAND_PARAM_LENGTH;
}

std::vector<std::wstring> fuzz_targets(const std::vector<std::string>& _vParts, size_t _uFirst,
                                       const std::wstring& _strStem, const std::wstring& _strExt,
                                       const std::wstring& _strArgs)
{
    std::vector<std::wstring> vLines;
    for (size_t i = _uFirst; i < _vParts.size(); ++i) {
        const std::wstring strTarget = fuzz_runFile(_strStem + std::to_wstring(i - _uFirst) + _strExt, _vParts[i]);
        std::wstring strLine;
        if (fuzz_command(strTarget, _strArgs, &strLine)) vLines.push_back(strLine);
    }
    return vLines;
}

std::wstring fuzz_name(const std::wstring& _strName)
{
    std::wstring strOut, strPart;
    for (size_t i = 0; i <= _strName.size(); ++i) {
        const wchar_t c = i < _strName.size() ? _strName[i] : L'/';
        if (c == 0 || c == L':') return std::wstring();
        if (c != L'/' && c != L'\\') {
            strPart += c;
            continue;
        }
        if (strPart.empty() || strPart == L"." || strPart == L"..") return std::wstring();
        if (!strOut.empty()) strOut += L'/';
        strOut += strPart;
        strPart.clear();
    }
    return strOut.size() < 128 ? strOut : std::wstring();
}

std::wstring fuzz_text(const std::string& _strBytes)
{
    if (_strBytes.empty()) return std::wstring();
    CMOJIUTIL cMoji;
    const int iBytes = static_cast<int>(_strBytes.size());
    const int iUnits = cMoji.MbToWcSize(_strBytes.data(), iBytes);
    if (iUnits <= 0) return std::wstring();
    std::vector<wchar_t> vText(static_cast<size_t>(iUnits) + 1);
    cMoji.MbToWc(_strBytes.data(), iBytes, vText.data());
    return std::wstring(vText.data(), static_cast<size_t>(iUnits));
}

void fuzz_line(const uint8_t* _pData, size_t _uSize, std::wstring* _pLine, std::string* _pRest)
{
    const uint8_t* pEnd = static_cast<const uint8_t*>(std::memchr(_pData, '\n', _uSize));
    const size_t uLine = pEnd ? static_cast<size_t>(pEnd - _pData) : _uSize;
    std::string strLine(reinterpret_cast<const char*>(_pData), uLine);
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    *_pLine = fuzz_text(strLine);
    *_pRest = pEnd ? std::string(reinterpret_cast<const char*>(pEnd + 1), _uSize - uLine - 1) : std::string();
}

std::vector<std::string> fuzz_parts(const std::string& _strData)
{
    std::vector<std::string> vParts;
    const size_t uMark = sizeof(FUZZ_PART) - 1;
    size_t uStart = 0;
    for (;;) {
        const void* pHit = memmem(_strData.data() + uStart, _strData.size() - uStart, FUZZ_PART, uMark);
        if (!pHit) break;
        const size_t uAt = static_cast<size_t>(static_cast<const char*>(pHit) - _strData.data());
        vParts.push_back(_strData.substr(uStart, uAt - uStart));
        uStart = uAt + uMark;
    }
    vParts.push_back(_strData.substr(uStart));
    return vParts;
}

void fuzz_runLines(CModule* _pModule, const std::vector<std::wstring>& _vLines)
{
    const std::unique_ptr<CModule> pModule(_pModule);
    if (!pModule) return;
    for (const std::wstring& strLine : _vLines) pModule->Func(strLine.c_str());
    pModule->Quit(0);
    if (!_vLines.empty()) pModule->Func(_vLines[0].c_str());
    pModule->Quit(1);
}
