// FITPARTS and FITPARTS_REV: the part list (base, part and output names, sizes and places in
// TAB or comma columns, read in the system code page), the image reads, the placement
// search, the outputs pasted and the list rewritten; then the parts cut back from the output
// folder's images, scaled as their bases, and the list rewritten again. Run on files of the
// run folder as the dispatcher runs the commands, on the one object of the process that the
// dispatcher keeps for both.
// Input: one byte of flags (1 FITPARTS, 2 FITPARTS_REV, 4 the images also in the output
// folder), the argument text (the seeds: "img out") up to the first line feed, then the list
// list.txt, then the images img/1.bmp, img/2.bmp, ..., separated by FUZZ_PART.
// Memory bound: a list's sizes ask for a cut of any size (FITPARTS_REV makes a canvas of
// its width x height x the output's scale); blocks above 32 MiB are refused as a 32-bit
// process would refuse a 2 GiB one, and the command reports the size out of range.
#include <cstdint>

#include "krelwin/module/fitparts.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=32";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    static FITPARTS* s_pFit = new FITPARTS;
    FUZZ_RUN cRun;
    const uint8_t uFlags = _pData[0];
    std::wstring strArgs, strLine;
    std::string strRest;
    fuzz_line(_pData + 1, _uSize - 1, &strArgs, &strRest);
    const std::vector<std::string> vParts = fuzz_parts(strRest);
    const std::wstring strList = fuzz_runFile(L"list.txt", vParts[0]);
    fuzz_runFile(L"out/.keep", "");
    for (size_t i = 1; i < vParts.size(); ++i) {
        const std::wstring strName = std::to_wstring(i) + L".bmp";
        fuzz_runFile(L"img/" + strName, vParts[i]);
        if (uFlags & 4) fuzz_runFile(L"out/" + strName, vParts[i]);
    }
    if (!fuzz_command(strList, strArgs, &strLine)) return 0;

    if (uFlags & 1) {
        s_pFit->Func(strLine.c_str());
        s_pFit->Quit(0);
    }
    if ((uFlags & 2) && fuzz_command(strList, strArgs, &strLine)) s_pFit->FuncRev(strLine.c_str());
    s_pFit->Quit(1);
    return 0;
}
