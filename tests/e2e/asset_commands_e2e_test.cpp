// krelwin.exe end to end with RLSPRESS, D2PACK, SONGDATACONVERT, D2ATEX and CHAIN: batch
// files over small fixtures; every file written and the message-log file are compared
// whole, byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::KrelwinRun;

// The system code page's bytes of a text (Shift-JIS under the test locale).
std::string Sjis(const std::wstring& _str)
{
    int n = WideCharToMultiByte(CP_ACP, 0, _str.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, _str.c_str(), -1, &s[0], n, nullptr, nullptr);
    return s;
}

std::string U32(uint32_t _u)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(_u >> (8 * i));
    return s;
}


// An automatic run that writes its log to log.txt; ATEXIT closes an error-free run.
const std::string kIni = "[MAIN]\r\nAUTOEXEC=1\r\nATEXIT=1\r\nOUTINFO=1\r\nOUTINFONAME=log.txt\r\n";

// The [FILES] section naming the fixtures by their full paths.
std::string Files(const testdir::TestDir& _cDir, std::initializer_list<const wchar_t*> _lstNames)
{
    std::string s = "[FILES]\r\n";
    for (const wchar_t* pName : _lstNames) s += Sjis(_cDir.Path(pName)) + "\r\n";
    return s;
}

// Runs the batch and gives the log file. An error-free run closes the program by itself;
// a run with errors stays open until its log ends in "error(s).<n>", then it is closed.
::testing::AssertionResult RunJob(KrelwinRun& _cRun, const std::string& _strBatch, int _iErrors,
                                  std::string* _pLog)
{
    const testdir::TestDir& d = _cRun.Dir();
    if (!d.Write(L"krelwin.ini", kIni) || !d.Write(L"job.kvl", _strBatch) || !_cRun.Start(L"job.kvl"))
        return ::testing::AssertionFailure() << "fixture not written or program not started";
    if (_iErrors == 0) {
        DWORD dwCode = 99;
        const bool bEnded = _cRun.WaitExit(&dwCode);
        *_pLog = d.Read(L"log.txt");
        if (!bEnded || dwCode != 0)
            return ::testing::AssertionFailure() << "an error-free run closes the program with 0:\n" << *_pLog;
        return ::testing::AssertionSuccess();
    }
    const std::string strEnd = "error(s)." + std::to_string(_iErrors) + "\r\n";
    const bool bLogged = _cRun.WaitFileHas(L"log.txt", strEnd);
    *_pLog = d.Read(L"log.txt");
    if (!_cRun.CloseAndWait()) return ::testing::AssertionFailure() << "the program did not close";
    if (!bLogged) return ::testing::AssertionFailure() << "no " << strEnd << " in:\n" << *_pLog;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(AssetCommandsE2E, RlspressWritesHeaderAndRunsAndRefusesAFileWithoutRuns)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"in"));
    ASSERT_TRUE(d.Write(L"in\\zero.bin", std::string(1000, '\0')));
    // Three words 0x11111111, one 0x22222222, two 0x11111111, then a last value of 3 bytes.
    ASSERT_TRUE(d.Write(L"in\\\x65e5\x672c.tm2", std::string(12, '\x11') + std::string(4, '\x22') +
                                                     std::string(8, '\x11') + "abc"));
    ASSERT_TRUE(d.Write(L"in\\norun.bin", std::string("\x01\0\0\0\x02\0\0\0", 8)));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nRLSPRESS\r\nRLSPRESS %0_o.pk\r\n" +
                           Files(d, {L"in\\zero.bin", L"in\\\x65e5\x672c.tm2", L"in\\norun.bin"}),
                       2, &strLog));

    const std::string strZeroData = U32(1000) + U32(3) + U32(250) + U32(1) + U32(250u << 16) + U32(0);
    // P = 1 + 2 runs + 4 values; 7 words of source.
    const std::string strKanjiData = U32(27) + U32(7) + U32(7) + U32(2) + U32(0 | 3u << 16) + U32(2 | 2u << 16) +
                                     U32(0x11111111u) + U32(0x22222222u) + U32(0x11111111u) + U32(0x00636261u);
    EXPECT_EQ(std::string("RLS\0bin\0", 8) + strZeroData, d.Read(L"in\\zero.rls"));
    EXPECT_EQ(std::string("RLS\0tm2\0", 8) + strKanjiData, d.Read(L"in\\\x65e5\x672c.rls"));
    EXPECT_EQ(std::string("RLS\0pk\0\0", 8) + strZeroData, d.Read(L"in\\zero_o.rls"));
    EXPECT_EQ(std::string("RLS\0pk\0\0", 8) + strKanjiData, d.Read(L"in\\\x65e5\x672c_o.rls"));
    EXPECT_FALSE(d.IsFile(L"in\\norun.rls")) << "no header over missing data";
    EXPECT_FALSE(d.IsFile(L"in\\norun_o.rls"));

    const std::string strLine = Sjis(d.Path(L"in\\zero.bin")) + "   2%\r\n" +
                                Sjis(d.Path(L"in\\\x65e5\x672c.tm2")) + " 133%\r\nerror " +
                                Sjis(d.Path(L"in\\norun.bin")) + "\r\n";
    EXPECT_EQ(strLine + strLine + "error(s).2\r\n", strLog);
}
