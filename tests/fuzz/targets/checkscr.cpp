// CHECKSCR: the options, the listing of the data folder (with its subfolders), the comment
// filters and the scan of scripts for names, and the report of a script line, run on files
// of the run folder as the dispatcher runs the command: every target, the end of the line,
// the first target again as a second line, the end of the run.
// Input: one byte of the RANGE setting (its value mod 3), the argument text (the seeds name
// the folder "data") up to the first line feed, then the names of the files of the folder
// data (one a line, '/' for subfolders), then the target scripts (system code page),
// separated by FUZZ_PART.
#include <cstdint>

#include "krelwin/main/global.h"
#include "krelwin/module/checkscr.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    FUZZ_RUN cRun;
    s_stGl.m_stIniSetting.RANGE = _pData[0] % 3;
    std::wstring strArgs;
    std::string strRest;
    fuzz_line(_pData + 1, _uSize - 1, &strArgs, &strRest);
    const std::vector<std::string> vParts = fuzz_parts(strRest);
    fuzz_runFile(L"data/.keep", "");
    for (std::string strNames = vParts[0]; !strNames.empty();) {
        const size_t uEnd = strNames.find('\n');
        const std::wstring strName = fuzz_name(fuzz_text(strNames.substr(0, uEnd)));
        strNames = uEnd == std::string::npos ? std::string() : strNames.substr(uEnd + 1);
        if (!strName.empty()) fuzz_runFile(L"data/" + strName, "");
    }
    const std::vector<std::wstring> vLines = fuzz_targets(vParts, 1, L"script", L".txt", strArgs);

    fuzz_runLines(Module_new_CHECKSCR(), vLines);
    return 0;
}
