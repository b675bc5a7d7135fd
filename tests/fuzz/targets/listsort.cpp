// LISTSORT: the options of the parameter line (-o with l, r, p; -s key; -c cut) and the sort
// of a list file written back over it, run on a file of the run folder as the dispatcher
// runs the command.
// Input: the argument text up to the first line feed, then the list file's bytes (system
// code page).
#include <cstdint>
#include <memory>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "krelwin/module/listsort.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    FUZZ_RUN cRun;
    std::wstring strArgs, strLine;
    std::string strList;
    fuzz_line(_pData, _uSize, &strArgs, &strList);
    const std::wstring strTarget = fuzz_runFile(L"list.txt", strList);
    if (!fuzz_command(strTarget, strArgs, &strLine)) return 0;

    std::unique_ptr<CModule> pSort(Module_new_LISTSORT());
    if (pSort->Func(strLine.c_str()) == 1) {
        // The file written back holds every line ended by CR LF.
        wchar_t* pText = 0;
        const int iLength = MEM_TextRead(&pText, strTarget.c_str());
        if (iLength < 2 || pText[iLength - 2] != L'\r' || pText[iLength - 1] != L'\n') __builtin_trap();
        MEM_free(&pText);
    }
    pSort->Quit(1);
    return 0;
}
