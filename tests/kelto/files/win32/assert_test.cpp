// Broken preconditions are reported with the expression's text, then refused.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/tools/debug.h"
#include "tests/support/testdir.h"

namespace {

std::wstring g_reported;
void Capture(const wchar_t* text) { g_reported += text; }

TEST(FileAssertions, ReportTheConditionAndGiveTheFailureValue) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"f", "abc"));
    std::wstring f = dir.Path(L"f");
    wchar_t small[8];
    unsigned char* block = nullptr;
    wchar_t* text = nullptr;
    struct Row {
        const wchar_t* expression;
        std::function<int()> call;
    } rows[] = {
        {L"_pFTime", [&] { return FILE_GetTime(f.c_str(), nullptr); }},
        {L"_pFTime", [&] { return FILE_SetTime(f.c_str(), nullptr); }},
        {L"_szPath", [&] { FILE_merge(static_cast<wchar_t*>(nullptr), L"C:", L"\\", L"a", nullptr, 8); return 0; }},
        {L"_iMul > 0", [&] { return MEM_TargetRead2(&block, f.c_str(), 0); }},
        {L"_iMul > 0", [&] { return MEM_TextRead2(&text, f.c_str(), -1); }},
        {L"(STRING_len(cDrive)+STRING_len(cDir)) < (Int32)_iSize", [&] { return FILE_GetModuleDirectory(small, 5); }},
    };
    DEBUG_OUTPUT_HOOK previous = DEBUG_setOutputHook(Capture);
    for (const Row& row : rows) {
        g_reported.clear();
        EXPECT_EQ(0, row.call()) << testing::PrintToString(std::wstring(row.expression));
        EXPECT_NE(std::wstring::npos, g_reported.find(std::wstring(L"assertion!!") + row.expression + L"\n"))
            << testing::PrintToString(g_reported);
    }
    // Sound calls report nothing.
    g_reported.clear();
    TIME_INFO t;
    EXPECT_EQ(1, FILE_GetTime(f.c_str(), &t));
    EXPECT_EQ(3, MEM_TargetRead2(&block, f.c_str(), 1));
    DEBUG_setOutputHook(previous);
    EXPECT_EQ(L"", g_reported);
    delete[] block;
    EXPECT_EQ(nullptr, text);
}

}  // namespace
