// krelwin.exe end to end: no command loses or silently changes a user's file. A file listed
// in two spellings is one target; a text with a NUL is left alone; a text that comes out
// unchanged is not rewritten; bytes that are not Shift-JIS come back as they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::Files;
using e2e::KrelwinRun;
using e2e::RunJob;

// Bytes that the round trip through UTF-16 used to change: an NEC-selected IBM extension
// code, an NEC row 13 code, a lead byte before CR LF and a lone lead byte at the end.
const std::string kFragile = std::string("\xED\x40\x87\x90 x\x81\r\n") + "\x85\x40z\xA0\r\nend\x81";

} // namespace

TEST(TextSafeE2E, AFileListedInTwoSpellingsRunsOnce)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"sub"));
    ASSERT_TRUE(d.Write(L"a.txt", "abc\r\n"));
    ASSERT_TRUE(d.Write(L"sub\\b.txt", "abc\r\n"));
    ASSERT_TRUE(d.Write(L"rules.txt", "abc\tabcX\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nREPLACE rules.txt\r\n[FILES]\r\na.txt\r\n.\\a.txt\r\n" + Ansi(d.Path(L"A.TXT")) +
                           "\r\nsub\r\n.\\SUB\\b.txt\r\n",
                       0, &strLog, "BACKUP=1\r\n"));
    EXPECT_EQ("abcX\r\n", d.Read(L"a.txt"));
    EXPECT_EQ("abc\r\n", d.Read(L"a.bak")) << "the backup holds the text before the command";
    EXPECT_EQ("abcX\r\n", d.Read(L"sub\\b.txt"));
    EXPECT_EQ("abc\r\n", d.Read(L"sub\\b.bak"));
    EXPECT_EQ("a.txt replaced.1\r\nb.txt replaced.1\r\nCompleted...\r\n", strLog);
}

// Every command that rewrites a text leaves one with a NUL alone: written as a terminated
// text, it would end at the NUL.
TEST(TextSafeE2E, ATextHoldingANulIsReportedAndLeftAlone)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    std::string strText = "b // note\r\na";
    strText += '\0';
    strText += " \"x.tga\" abc\r\n" + std::string(20, 'y') + "\r\n";
    ASSERT_TRUE(d.Write(L"zero.txt", strText));
    ASSERT_TRUE(d.Write(L"rules.txt", "abc\tX\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nDELREM\r\nREPLACE rules.txt\r\nLISTSORT\r\nD2ATEX\r\n[FILES]\r\nzero.txt\r\n", 4,
                       &strLog));
    EXPECT_EQ(strText, d.Read(L"zero.txt"));
    const std::string strNul = Ansi(L"テキストにNUL文字が含まれています. zero.txt\r\n");
    EXPECT_EQ("delrem\r\n" + strNul + "delrem failed. zero.txt\r\n" + strNul + strNul + strNul + "error(s).4\r\n", strLog);
}

// A command that writes over its target a text that came out as it went in leaves the file
// as it is: no byte changes and no backup is made; its log line stays.
TEST(TextSafeE2E, ACommandThatChangesNothingDoesNotRewriteItsTarget)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"t.txt", kFragile));
    ASSERT_TRUE(d.Write(L"rules.txt", "nothing\tX\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run,
                       "[SCRIPT]\r\nREPLACE rules.txt\r\nREPLACE_REM rules.txt\r\nREPLACE_REGEX rules.txt\r\nDELREM\r\n"
                       "ZEN2HAN\r\nD2ATEX\r\nFUNCTION_BASE\r\n[FILES]\r\nt.txt\r\n",
                       1, &strLog, "BACKUP=1\r\n"));
    EXPECT_EQ(kFragile, d.Read(L"t.txt"));
    EXPECT_FALSE(testdir::IsFile(d.Path(L"t.bak")));
    EXPECT_EQ(Ansi(L"t.txt replaced.0\r\nt.txt replaced.0\r\n"
                   L"正規表現が無効です。USE_BOOSTを有効にしてビルドして下さい.\r\nt.txt replaced.0\r\n"
                   L"delrem\r\nzen2han t.txt 1Kb->1Kb\r\nfile:t.txt t.txt\r\nerror(s).1\r\n"),
              strLog);

    // A list already in order.
    KrelwinRun sort;
    ASSERT_TRUE(sort.Ok());
    const std::string strSorted = "b\x81\r\n\x87\x90\r\n\xED\x40\r\n";
    ASSERT_TRUE(sort.Dir().Write(L"list.txt", strSorted));
    ASSERT_TRUE(RunJob(sort, "[SCRIPT]\r\nLISTSORT\r\n[FILES]\r\nlist.txt\r\n", 0, &strLog, "BACKUP=1\r\n"));
    EXPECT_EQ(strSorted, sort.Dir().Read(L"list.txt"));
    EXPECT_FALSE(testdir::IsFile(sort.Dir().Path(L"list.bak")));
    EXPECT_EQ(Ansi(L"文字コードで昇順ソートします.\r\nCompleted...\r\n"), strLog);
}

// Bytes that are not Shift-JIS come back unchanged in a text that a command does change, and
// never take a line end with them; valid codes with a twin come back as the twin.
TEST(TextSafeE2E, BytesThatAreNotShiftJisSurviveARewrite)
{
    struct Row {
        const char* name;
        std::string script, text, expected;
    };
    const testdir::TestDir probe;  // the run folders' drive
    const std::string strDrive = Ansi(probe.Path().substr(0, 2));
    const Row rows[] = {
        {"REPLACE", "REPLACE rules.txt", "abc\x81\r\n\x85\x40" "abc\xA0\r\nabc\x81",
         "abcX\x81\r\n\x85\x40" "abcX\xA0\r\nabcX\x81"},
        {"DELREM", "DELREM", "x\x81 // note\r\n\xFD/* \x81 */y\x9F", "x\x81\r\n\xFDy\x9F"},
        {"LISTSORT", "LISTSORT", "b\x81\n\x85\x40\na\xFE", "a\xFE\r\nb\x81\r\n\x85\x40\r\n"},
        // The two units of the name take the first two of the target's full path.
        {"D2ATEX", "D2ATEX", "\"\xA0x.tga\"\x81\r\n", "\"" + strDrive + ".tga\"\x81\r\n"},
        {"codes with a twin", "REPLACE rules.txt", "\xED\x40\x87\x90 abc", "\xFA\x5C\x81\xE0 abcX"},
    };
    for (const Row& row : rows) {
        KrelwinRun run;
        ASSERT_TRUE(run.Ok());
        const auto& d = run.Dir();
        ASSERT_TRUE(d.Write(L"t.txt", row.text));
        ASSERT_TRUE(d.Write(L"rules.txt", "abc\tabcX\r\n"));
        std::string strLog;
        ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\n" + row.script + "\r\n" + Files(d, {L"t.txt"}), 0, &strLog, "BACKUP=1\r\n"))
            << "case " << row.name;
        EXPECT_EQ(row.expected, d.Read(L"t.txt")) << "case " << row.name;
    }
}
