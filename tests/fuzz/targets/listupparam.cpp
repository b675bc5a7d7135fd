// LISTUPPARAM: the scan of scripts for the calls of a named command (upper-cased outside
// quotes, the word before each "(", its parameter list up to ")") over the targets of a
// script line, and the sorted initialiser printed at its end, run on files of the run folder
// as the dispatcher runs the command: every target, the end of the line, the first target
// again as a second line, the end of the run.
// Input: the argument text (token 1 the command's name) up to the first line feed, then
// the target scripts (system code page) separated by FUZZ_PART.
#include <cstdint>

#include "krelwin/module/listupparam.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    FUZZ_RUN cRun;
    std::wstring strArgs;
    std::string strRest;
    fuzz_line(_pData, _uSize, &strArgs, &strRest);
    const std::vector<std::wstring> vLines = fuzz_targets(fuzz_parts(strRest), 0, L"script", L".txt", strArgs);

    fuzz_runLines(Module_new_LISTUPPARAM(), vLines);
    return 0;
}
