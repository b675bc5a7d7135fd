// The whole road of a batch: the batch reader (comments, [SETTING], environment references,
// [SCRIPT] and [FILES] with their folder searches), the run loop over the script lines and
// the file list, the parameter line the dispatcher makes for each call and every command's
// function on files of the run folder, the notices at the end of each line and of the run,
// and the log file. External programs do not start natively (the second instance neither);
// the spreadsheet commands meet the stand-in server (support/dde_standin.h), which reads
// any target as a workbook.
// Input: the batch file's bytes (system code page); then, after each FUZZ_PART, one more file
// of the run folder: its name ('/' for subfolders) up to the first line feed, then its bytes.
// Bounds that only restate what an input asks for:
// - DISPATCH_CALLS command calls per input, and DISPATCH_BYTES allocated by them in all
//   (RLSPRESS clears two 8 MiB work lists a call, SAMESIZE reads and pads every file of the
//   list to the largest); past either the run ends, as when a module ends it;
// - lists of more than DISPATCH_FILES files are not run;
// - spreadsheet lines whose range has more than FUZZ_DDE_COLUMNS columns are passed over;
// - blocks above 32 MiB are refused, as a 32-bit process refuses the 2 GiB canvas of a
//   BMP_RESIZE size or a FITPARTS_REV cut that an input may ask for; the command reports it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sanitizer/allocator_interface.h>
#include <string>

#include "krelwin/main/batch.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/module/function_base.h"
#include "tests/fuzz/support/dde_standin.h"
#include "tests/fuzz/support/fuzz_run.h"

extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=32";
}

namespace {

const int DISPATCH_CALLS = 64;
const int DISPATCH_FILES = 16;
const size_t DISPATCH_BYTES = 256u << 20;

// Bytes allocated since the input began.
size_t s_uAllocated = 0;

void countMalloc(const volatile void*, size_t _uSize)
{
    s_uAllocated += _uSize;
}

void countFree(const volatile void*) {}

// Ends the run after the step in hand once the input's calls are spent.
void checkBudget(int _iCalls)
{
    if (_iCalls >= DISPATCH_CALLS || s_uAllocated > DISPATCH_BYTES) s_stGl.m_iAbort = 1;
}

// Calls per command (COMMAND_COUNT: external programs) over the inputs of the process;
// with FUZZ_DISPATCH_COUNTS set they are printed at exit (tools/fuzz-dispatch-coverage).
int s_aCalls[COMMAND_COUNT + 1];

void printCalls()
{
    for (int i = 0; i <= COMMAND_COUNT; ++i) {
        std::string strName;
        for (const wchar_t* p = i < COMMAND_COUNT ? Command_name(i) : L"(external)"; *p; ++p)
            strName += static_cast<char>(*p);
        std::fprintf(stderr, "DISPATCHED: %s %d\n", strName.c_str(), s_aCalls[i]);
    }
}

// Passes over a spreadsheet line whose range is too wide for an input.
bool passOver(const SCRIPT_STAT& _stLine, const std::wstring& _strPath)
{
    const int iCommand = Command_find(_stLine.m_strCommand.c_str());
    if (iCommand != COMMAND_XLS2CSV && iCommand != COMMAND_CHECKEXCEL) return false;
    const std::wstring strLine = L"\"" + _strPath + L"\" " + _stLine.m_strParam;
    return fuzz_ddeTooWide(strLine.c_str(), iCommand == COMMAND_CHECKEXCEL);
}

// The run as the Start button and the timer's steps make it (Batch_start, Batch_step).
void run()
{
    if (s_stGl.m_cFileList.GetCount() == 0 || s_stGl.m_lstScript.empty()) return;
    if (s_stGl.m_cFileList.GetCount() > DISPATCH_FILES) return;
    static unsigned int s_uTimer = 0;
    Message_clear();
    s_stGl.m_iRunning = 1;
    s_stGl.m_itScript = s_stGl.m_lstScript.begin();
    s_stGl.m_iFileIndex = 0;
    s_stGl.m_iStop = 0;
    s_stGl.m_iAbort = 0;
    s_stGl.m_cFileList.SetSearchSub(s_stGl.m_pSetting->SEARCHSUB);
    s_stGl.TimerID = ++s_uTimer;

    int iCalls = 0;
    for (;;) {
        // A stop (the overwrite question's Cancel) ends the run without telling the modules.
        if (s_stGl.m_iStop || !s_stGl.m_iRunning || s_stGl.m_itScript == s_stGl.m_lstScript.end()) break;
        if (s_stGl.m_iFileIndex < s_stGl.m_cFileList.GetCount()) {
            const SCRIPT_STAT stLine = *s_stGl.m_itScript;
            const std::wstring strPath = s_stGl.m_cFileList.GetPathStr(s_stGl.m_iFileIndex);
            if (!passOver(stLine, strPath)) {
                s_aCalls[Command_find(stLine.m_strCommand.c_str())]++;
                Command_exec(stLine, strPath.c_str());
            }
            s_stGl.m_iFileIndex++;
            checkBudget(++iCalls);
        }
        if (s_stGl.m_iFileIndex < s_stGl.m_cFileList.GetCount() && s_stGl.m_iAbort == 0) continue;
        if (s_stGl.m_iAbort == 0) {
            ++s_stGl.m_itScript;
            if (s_stGl.m_itScript != s_stGl.m_lstScript.end()) {
                s_stGl.m_iFileIndex = 0;
                Command_quit(0);
                checkBudget(iCalls);
                continue;
            }
        }
        Command_quit(1);
        if (s_stGl.m_iErrorCount == 0) Message_info(L"Completed...");
        else Message_info(L"error(s).%d", s_stGl.m_iErrorCount);
        if (s_stGl.m_pSetting->OUTINFO != 0) out_infomessage(s_stGl.m_pSetting->OUTINFONAME);
        s_stGl.m_iRunning = 0;
        break;
    }
    s_stGl.m_iRunning = 0;
    s_stGl.TimerID = 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    static const bool s_bCount = std::getenv("FUZZ_DISPATCH_COUNTS") && !std::atexit(printCalls);
    static const bool s_bHooked = __sanitizer_install_malloc_and_free_hooks(countMalloc, countFree) != 0;
    (void)s_bCount;
    if (!s_bHooked) __builtin_trap();
    FUZZ_RUN cRun;
    s_uAllocated = 0;
    const std::vector<std::string> vParts = fuzz_parts(std::string(reinterpret_cast<const char*>(_pData), _uSize));
    for (size_t i = 1; i < vParts.size(); ++i) {
        std::wstring strName;
        std::string strData;
        fuzz_line(reinterpret_cast<const uint8_t*>(vParts[i].data()), vParts[i].size(), &strName, &strData);
        strName = fuzz_name(strName);
        if (!strName.empty()) fuzz_runFile(strName, strData);
    }
    const std::wstring strBatch = fuzz_runFile(L"batch.kvl", vParts[0]);
    Batch_reset();
    Read_KrelwinBatch(strBatch.c_str());
    run();
    // The state at program start for the next input: no module objects.
    Module_releaseAll();
    return 0;
}
