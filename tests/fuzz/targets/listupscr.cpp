// LISTUPSCR: the word scan of scripts (comments, full-width runs, the range markers, the
// four kinds of word) over the targets of a script line, and the sorted report at its end,
// run on files of the run folder as the dispatcher runs the command: every target, the end
// of the line, the first target again as a second line, the end of the run.
// Input: one byte of the RANGE setting (its value mod 3), the argument text up to the first
// line feed, then the target scripts (system code page) separated by FUZZ_PART.
#include <cstdint>

#include "krelwin/main/global.h"
#include "krelwin/module/listupscr.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    FUZZ_RUN cRun;
    s_stGl.m_stIniSetting.RANGE = _pData[0] % 3;
    std::wstring strArgs;
    std::string strRest;
    fuzz_line(_pData + 1, _uSize - 1, &strArgs, &strRest);
    const std::vector<std::wstring> vLines = fuzz_targets(fuzz_parts(strRest), 0, L"script", L".txt", strArgs);

    fuzz_runLines(Module_new_LISTUPSCR(), vLines);
    return 0;
}
