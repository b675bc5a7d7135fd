// The spreadsheet commands XLS2CSV and CHECKEXCEL: the range text, the sheet walk column by
// column over the cells the DDE client gives, the trimming of a cell, the CSV files of the
// sheets and the checker's checks of each cell, run on files of the run folder as the
// dispatcher runs the commands, with the spreadsheet stand-in (support/dde_standin.h)
// serving the workbook.
// Input: one byte of flags (1 XLS2CSV, 2 CHECKEXCEL), the argument text (-r range; for
// CHECKEXCEL the settings file, the seeds name "check.ini") up to the first line feed, then
// the workbook book.xls in the stand-in's form, then check.ini, separated by FUZZ_PART.
// Time bound: a range of more than FUZZ_DDE_COLUMNS columns is not run (each column costs a
// request at least, and a range may name two thousand million of them); the stand-in ends
// the rows once the requests of an input are spent.
#include <cstdint>
#include <memory>

#include "krelwin/module/checkexcel.h"
#include "krelwin/module/xls2csv.h"
#include "tests/fuzz/support/dde_standin.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    if (_uSize < 1) return 0;
    FUZZ_RUN cRun;
    const uint8_t uFlags = _pData[0];
    std::wstring strArgs, strLine;
    std::string strRest;
    fuzz_line(_pData + 1, _uSize - 1, &strArgs, &strRest);
    const std::vector<std::string> vParts = fuzz_parts(strRest);
    const std::wstring strBook = fuzz_runFile(L"book.xls", vParts[0]);
    if (vParts.size() > 1) fuzz_runFile(L"check.ini", vParts[1]);

    if ((uFlags & 1) && fuzz_command(strBook, strArgs, &strLine) && !fuzz_ddeTooWide(strLine.c_str(), 0)) {
        std::unique_ptr<CModule> pCsv(Module_new_XLS2CSV());
        pCsv->Func(strLine.c_str());
        pCsv->Quit(1);
    }
    if ((uFlags & 2) && fuzz_command(strBook, strArgs, &strLine) && !fuzz_ddeTooWide(strLine.c_str(), 1)) {
        std::unique_ptr<CModule> pCheck(Module_new_CHECKEXCEL());
        pCheck->Func(strLine.c_str());
        pCheck->Quit(1);
    }
    return 0;
}
