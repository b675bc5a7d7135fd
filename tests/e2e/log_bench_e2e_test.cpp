// Benchmarks, not tests: whole runs of krelwin.exe whose commands report many lines, from the
// start to the exit of an automatic run, beside the same batch over a one-item target. Each run
// is repeated and the median and the best are printed with the size of the log file, so that
// builds can be compared also for what they write. Nothing is timed against a limit.
// Run with --gtest_also_run_disabled_tests --gtest_filter=LogBench*
// KRELWIN_BENCH_EXE (a Windows path) runs that program in place of the build's, to compare builds;
// KRELWIN_BENCH_REPEATS sets how often each run is repeated (default 3).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/krelwin_run.h"
#include "tests/support/bench_text.h"

namespace {

using e2e::KrelwinRun;

const char kIni[] = "[MAIN]\r\nOUTINFO=1\r\nOUTINFONAME=log.txt\r\nAUTOEXEC=1\r\nATEXIT=1\r\n";
// Bound of one benchmark run: the slowest builds take minutes for the larger reports.
const DWORD kRunMs = 900000;

struct Fixture {
    std::wstring name;                                        // target file
    std::string text;                                         // its bytes
    std::vector<std::pair<std::wstring, std::string>> extra;  // other files of the run
};

// FNV-1a of the log file, to tell at a glance whether two builds wrote the same.
unsigned int Hash(const std::string& _str) {
    unsigned int h = 2166136261u;
    for (unsigned char c : _str) h = (h ^ c) * 16777619u;
    return h;
}

struct Outcome {
    double seconds = -1;
    std::string log;
};

Outcome RunOnce(const std::string& _strScript, const Fixture& _cFix) {
    Outcome out;
    KrelwinRun run;
    if (!run.Ok()) return out;
    wchar_t szOther[MAX_PATH] = {0};
    if (GetEnvironmentVariableW(L"KRELWIN_BENCH_EXE", szOther, MAX_PATH) > 0 &&
        !testdir::CopyOver(szOther, run.Exe()))
        return out;
    const auto& d = run.Dir();
    if (!d.Write(L"krelwin.ini", kIni) || !d.Write(_cFix.name, _cFix.text)) return out;
    for (const auto& e : _cFix.extra)
        if (!d.Write(e.first, e.second)) return out;
    const std::string strBatch = "[SCRIPT]\r\n" + _strScript + "\r\n[FILES]\r\n" +
                                 std::string(_cFix.name.begin(), _cFix.name.end()) + "\r\n";
    if (!d.Write(L"job.kvl", strBatch)) return out;
    const auto t0 = std::chrono::steady_clock::now();
    if (!run.Start(L"job.kvl")) return out;
    DWORD code = 99;
    if (!run.WaitExit(&code, kRunMs)) return out;
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    out.log = d.Read(L"log.txt");
    return out;
}

// Runs the batch over the small and the large target in turns and prints both.
void Measure(const char* _pTitle, const std::string& _strScript, const Fixture& _cSmall, const Fixture& _cLarge) {
    wchar_t szRepeats[16] = {0};
    int iRepeats = 3;
    if (GetEnvironmentVariableW(L"KRELWIN_BENCH_REPEATS", szRepeats, 16) > 0) iRepeats = _wtoi(szRepeats);
    if (iRepeats < 1) iRepeats = 1;
    std::vector<double> vSmall, vLarge;
    std::string strLog;
    for (int i = 0; i < iRepeats; ++i) {
        const Outcome s = RunOnce(_strScript, _cSmall);
        const Outcome l = RunOnce(_strScript, _cLarge);
        ASSERT_GE(s.seconds, 0) << "small run of " << _pTitle;
        ASSERT_GE(l.seconds, 0) << "large run of " << _pTitle;
        vSmall.push_back(s.seconds);
        vLarge.push_back(l.seconds);
        strLog = l.log;
    }
    std::sort(vSmall.begin(), vSmall.end());
    std::sort(vLarge.begin(), vLarge.end());
    const double dSmall = vSmall[iRepeats / 2], dLarge = vLarge[iRepeats / 2];
    const int iLines = static_cast<int>(std::count(strLog.begin(), strLog.end(), '\n'));
    std::printf("%s: %d log lines (%zu bytes, hash %08x); median of %d: large %.2f s (best %.2f), small %.2f s "
                "(best %.2f), difference %.2f s (%.2f ms a line)\n",
                _pTitle, iLines, strLog.size(), Hash(strLog), iRepeats, dLarge, vLarge[0], dSmall, vSmall[0], dLarge - dSmall,
                iLines ? (dLarge - dSmall) * 1000.0 / iLines : 0.0);
    std::fflush(stdout);
}

// A script whose SETFLAG calls name the given number of distinct items.
Fixture ListUpTarget(int _iItems) {
    Fixture f;
    f.name = L"script.txt";
    char sz[64];
    for (int i = 0; i < _iItems; ++i) {
        std::snprintf(sz, sizeof sz, "SETFLAG(FLAG_%05d)\r\n", i);
        f.text += sz;
    }
    return f;
}

TEST(LogBench, DISABLED_ListUpParamItems) {
    const int iSizes[] = {1000, 5000};
    for (int iItems : iSizes) {
        const std::string strTitle = "LISTUPPARAM, " + std::to_string(iItems) + " items";
        Measure(strTitle.c_str(), "LISTUPPARAM SETFLAG", ListUpTarget(1), ListUpTarget(iItems));
    }
}

// The word list and text of the VIRAGREP benchmark of the module's tests.
TEST(LogBench, DISABLED_ViraGrepThousandWordsOverFiveMegabytes) {
    const bench::GrepText cText = bench::GrepWordsOverText();
    ASSERT_EQ(1000u, cText.vWords.size());
    Fixture cLarge;
    cLarge.name = L"big.txt";
    cLarge.text = e2e::Ansi(cText.strText);
    cLarge.extra.push_back({L"list.txt", e2e::Ansi(cText.strList)});
    Fixture cSmall;
    cSmall.name = L"small.txt";
    cSmall.text = e2e::Ansi(cText.vWords[0] + L"\r\n");
    cSmall.extra = cLarge.extra;
    Measure("VIRAGREP, 1000 words over 5 MB", "VIRAGREP list.txt", cSmall, cLarge);
}

// 10 MB of script lines, each with one JIS level-2 kanji: once the per-file collection (256)
// and the run's (1,000) are full, every further one logs "領域オーバー".
TEST(LogBench, DISABLED_KanjiCheckOverflowingCollections) {
    std::string strText;
    unsigned int uCode = 0;
    while (strText.size() < 10u * 1024 * 1024) {
        // Rows 0x99 to 0x9F of Shift-JIS are level-2 kanji throughout.
        const unsigned char cLead = static_cast<unsigned char>(0x99 + (uCode / 188) % 7);
        unsigned int uTrail = 0x40 + uCode % 188;
        if (uTrail >= 0x7F) uTrail++;
        uCode++;
        strText += "\tcall(\"script_line\", 1234, ";
        strText += static_cast<char>(cLead);
        strText += static_cast<char>(uTrail);
        strText += ") // a comment of the kind the scripts carry, and some padding to length\r\n";
        strText += "\tnext_step(0x1234, \"text\") // more of the same without a double-byte character\r\n";
    }
    Fixture cLarge;
    cLarge.name = L"big.txt";
    cLarge.text = strText;
    Fixture cSmall;
    cSmall.name = L"small.txt";
    cSmall.text = strText.substr(0, strText.find('\n') + 1);
    Measure("KANJI_CHECK 1, 10 MB with overflowing collections", "KANJI_CHECK 1", cSmall, cLarge);
}

}  // namespace
