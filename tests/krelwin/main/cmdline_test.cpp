// Command-line handling: quotes, option sections and the temporary batch.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "krelwin/main/global.h"
#include "krelwin/main/startup.h"
#include "tests/support/testdir.h"

namespace {

std::wstring Sections(const std::wstring& line, int limit = STARTUP_SCRIPT_LENGTH) {
    std::wstring text(limit, L'\0');
    Get_OptionSection(L"script", &text[0], limit, line.c_str(), L"-s");
    Get_OptionSection(L"files", &text[0], limit, line.c_str(), L"-f");
    Get_OptionSection(L"setting", &text[0], limit, line.c_str(), L"-o");
    return std::wstring(text.c_str());
}

TEST(Get_OptionSection, BuildsTheSectionsOfTheOptionsFound) {
    struct Row {
        const char* name;
        const wchar_t* line;
        const wchar_t* text;
    } rows[] = {
        {"two quoted lists", L"-s\"DEL;DUMP\" -f\"C:\\w\\a.txt;C:\\w\\b.txt\"",
         L"[script]\r\nDEL\r\nDUMP\r\n[files]\r\nC:\\w\\a.txt\r\nC:\\w\\b.txt\r\n"},
        {"sections in fixed order", L"-o\"OUTINFO=1\" -fa.txt -sDUMP",
         L"[script]\r\nDUMP\r\n[files]\r\na.txt\r\n[setting]\r\nOUTINFO=1\r\n"},
        {"unquoted values", L"-sDEL -fC:\\w\\a.txt", L"[script]\r\nDEL\r\n[files]\r\nC:\\w\\a.txt\r\n"},
        {"blank after the option is kept", L"-s DEL", L"[script]\r\n DEL\r\n"},
        {"dash inside quotes stays, -o still found", L"-s\"LISTSORT -op\"",
         L"[script]\r\nLISTSORT -op\r\n[setting]\r\np\r\n"},
        {"empty setting section", L"-o", L"[setting]\r\n"},
        {"empty value before the next option", L"-s -fa.txt", L"[script]\r\n[files]\r\na.txt\r\n"},
        {"escaped quotes", L"-s\"ECHO \\\"x\\\"\"", L"[script]\r\nECHO \"x\"\r\n"},
        {"escaped quotes around the whole value", L"-s\\\"DUMP\\\"", L"[script]\r\nDUMP\r\n"},
        {"option inside a path", L"C:\\my-scripts\\job.kvl", L"[script]\r\ncripts\\job.kvl\r\n"},
        {"no option", L"C:\\work\\job.kvl", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Sections(row.line), row.text) << "case " << row.name;
    }
}

TEST(Get_OptionSection, RefusesAValueThatDoesNotFitAndLeavesTheText) {
    wchar_t text[24] = L"[files]\r\na\r\n";  // 12 units
    // Head (10) and value "DUMP" with CR LF and terminator need 17 more units.
    EXPECT_EQ(Get_OptionSection(L"script", text, 24, L"-sDUMP", L"-s"), -2);
    EXPECT_STREQ(text, L"[files]\r\na\r\n");
    // The same fits once the room is there: exactly full, terminator included.
    wchar_t room[29] = L"[files]\r\na\r\n";
    EXPECT_EQ(Get_OptionSection(L"script", room, 29, L"-sDUMP", L"-s"), 1);
    EXPECT_STREQ(room, L"[files]\r\na\r\n[script]\r\nDUMP\r\n");
    // Each ';' needs two units.
    wchar_t semi[20] = {0};
    EXPECT_EQ(Get_OptionSection(L"script", semi, 20, L"-sA;B;C;D", L"-s"), -2);
    EXPECT_STREQ(semi, L"");
    EXPECT_EQ(Get_OptionSection(L"script", semi, 20, L"-sX", L"-x"), 0);
}

TEST(Strip_Quote, TakesTheQuotedTextOrTheWholeLine) {
    struct Row {
        const char* name;
        const wchar_t* src;
        int result;
        const wchar_t* dst;
    } rows[] = {
        {"quoted path", L"\"C:\\a b\\job.kvl\"", 1, L"C:\\a b\\job.kvl"},
        {"text after the closing quote dropped", L"\"C:\\job.kvl\" -sDUMP", 1, L"C:\\job.kvl"},
        {"no closing quote", L"\"C:\\job.kvl", 1, L"C:\\job.kvl"},
        {"unquoted", L"job.kvl -x", 1, L"job.kvl -x"},
        {"empty", L"", 1, L""},
    };
    for (const Row& row : rows) {
        wchar_t dst[STARTUP_LINE_LENGTH] = L"old";
        EXPECT_EQ(Strip_Quote(row.src, dst), row.result) << "case " << row.name;
        EXPECT_STREQ(dst, row.dst) << "case " << row.name;
    }
    // A line that does not fit is refused whole, never cut.
    std::wstring longLine(STARTUP_LINE_LENGTH, L'a');
    wchar_t dst[STARTUP_LINE_LENGTH] = L"old";
    EXPECT_EQ(Strip_Quote(longLine.c_str(), dst), -2);
    EXPECT_STREQ(dst, L"");
    EXPECT_EQ(Strip_Quote(longLine.c_str() + 1, dst), 1);
    EXPECT_EQ(std::wstring(dst).size(), size_t(STARTUP_LINE_LENGTH - 1));
}

class MakeTempScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.Ok());
        GetCurrentDirectoryW(MAX_PATH, saved);
        ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
        s_stGl.m_szBatchPath[0] = 0;
        s_stGl.m_stIniSetting.AUTOEXEC = 0;
        s_stGl.m_stIniSetting.ATEXIT = 0;
        s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
    }
    void TearDown() override { SetCurrentDirectoryW(saved); }
    testdir::TestDir dir;
    wchar_t saved[MAX_PATH] = {0};
};

TEST_F(MakeTempScriptTest, WritesTempKvlAndArmsTheAutomaticRun) {
    ASSERT_TRUE(dir.Write(L"temp.kvl", "old content that must go\r\n"));
    EXPECT_EQ(MakeTempScript(L"-s\"DEL;DUMP\" -f\"a.txt;b.txt\""), 1);
    EXPECT_EQ(dir.Read(L"temp.kvl"), "[script]\r\nDEL\r\nDUMP\r\n[files]\r\na.txt\r\nb.txt\r\n");
    EXPECT_EQ(std::wstring(s_stGl.m_szBatchPath), dir.Path(L"temp.kvl"));
    EXPECT_EQ(std::wstring(s_szTempBatch), dir.Path(L"temp.kvl"));
    EXPECT_EQ(s_stGl.m_stIniSetting.AUTOEXEC, 1);
    EXPECT_EQ(s_stGl.m_stIniSetting.ATEXIT, 1);
}

TEST_F(MakeTempScriptTest, WritesJapaneseValuesInShiftJis) {
    EXPECT_EQ(MakeTempScript(L"-f\"日本.txt\""), 1);
    EXPECT_EQ(dir.Read(L"temp.kvl"), "[files]\r\n\x93\xfa\x96\x7b.txt\r\n");
}

TEST_F(MakeTempScriptTest, LeavesEverythingAloneWithoutOptions) {
    EXPECT_EQ(MakeTempScript(L"C:\\work\\job.kvl"), 0);
    EXPECT_FALSE(dir.IsFile(L"temp.kvl"));
    EXPECT_STREQ(s_stGl.m_szBatchPath, L"");
    EXPECT_EQ(s_stGl.m_stIniSetting.AUTOEXEC, 0);
}
}  // namespace
