// VIRAGREP: the word list (split at control units, words over the limits refused), the word
// tree and the scan of the targets (whole words or not), the hit lines gathered in work
// files of the current folder and the report at the run's end, run on files of the run
// folder as the dispatcher runs the command: every target, the end of the line, the first
// target again as a second line, the end of the run.
// Input: the argument text (token 1 the list, token 2 the whole-word flag; the seeds name
// "words.txt") up to the first line feed, then the file words.txt, then the targets (system
// code page), separated by FUZZ_PART. No work file may be left after the run's end.
#include <cstdint>

#include "krelwin/module/viragrep.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    FUZZ_RUN cRun;
    std::wstring strArgs;
    std::string strRest;
    fuzz_line(_pData, _uSize, &strArgs, &strRest);
    const std::vector<std::string> vParts = fuzz_parts(strRest);
    fuzz_runFile(L"words.txt", vParts[0]);
    const std::vector<std::wstring> vLines = fuzz_targets(vParts, 1, L"text", L".txt", strArgs);

    fuzz_runLines(Module_new_VIRAGREP(), vLines);
    // The run's end removes every work file, and none ever lay outside the current folder.
    for (const std::string& strFile : fuzz_runFiles()) {
        if (strFile.size() >= 9 && strFile.compare(strFile.size() - 9, 9, ".viraGrep") == 0) __builtin_trap();
    }
    return 0;
}
