// KANJI_CHECK: the comment and trailing-blank filters, the Shift-JIS kinds of every unit of
// the targets, the per-file lines and the totals of a script line with their collections,
// run on files of the run folder as the dispatcher runs the command: every target, the end
// of the line, the first target again as a second line, the end of the run.
// Input: the argument text (token 1 the detail level) up to the first line feed, then the
// target texts (system code page) separated by FUZZ_PART.
#include <cstdint>

#include "krelwin/module/common/kanji_check.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    FUZZ_RUN cRun;
    std::wstring strArgs;
    std::string strRest;
    fuzz_line(_pData, _uSize, &strArgs, &strRest);
    const std::vector<std::wstring> vLines = fuzz_targets(fuzz_parts(strRest), 0, L"text", L".txt", strArgs);

    fuzz_runLines(Module_new_KANJI_CHECK(), vLines);
    return 0;
}
