// Benchmark, not a test: run with --gtest_also_run_disabled_tests --gtest_filter=*Bench*
// It prints its figures; nothing is timed against a limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "kelto/files/filelist.h"
#include "tests/support/testdir.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point _t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - _t0).count();
}

// 20,000 files added as one folder (best of five), as one path each, and again as one path each through a
// second spelling of the folder (every one a duplicate).
TEST(FileListBench, DISABLED_TwentyThousandFiles)
{
    const int iFiles = 20000;
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"many"));
    std::vector<std::wstring> vPaths, vOther;
    for (int i = 0; i < iFiles; ++i) {
        const std::wstring strName = L"many\\f" + std::to_wstring(i) + L".txt";
        ASSERT_TRUE(dir.Write(strName, "x"));
        vPaths.push_back(dir.Path(strName));
        vOther.push_back(dir.Path(L"MANY\\.\\f" + std::to_wstring(i) + L".txt"));
    }
    // The folder's scan is the list's own work beside one search: the best of five.
    double dFolder = 1e9;
    std::chrono::steady_clock::time_point t0;
    for (int iTry = 0; iTry < 5; ++iTry) {
        CFileList cFolder;
        t0 = std::chrono::steady_clock::now();
        cFolder.Add(dir.Path(L"many").c_str());
        const double d = Seconds(t0);
        if (d < dFolder) dFolder = d;
        EXPECT_EQ(iFiles, cFolder.GetCount());
    }

    CFileList cListed;
    t0 = std::chrono::steady_clock::now();
    for (const std::wstring& p : vPaths) cListed.Add(p.c_str());
    const double dListed = Seconds(t0);
    EXPECT_EQ(iFiles, cListed.GetCount());
    t0 = std::chrono::steady_clock::now();
    for (const std::wstring& p : vOther) cListed.Add(p.c_str());
    const double dOther = Seconds(t0);
    std::printf("%d files: one folder %.3f s (best of five), one path each %.3f s, again through another spelling %.3f s "
                "(%d entries)\n",
                iFiles, dFolder, dListed, dOther, cListed.GetCount());
}

}  // namespace
