// CHECKSCR, LISTUPSCR, LISTSORT and LISTUPPARAM run by krelwin.exe from batch files over
// Shift-JIS scripts and lists; the files and the whole message log are compared.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"

namespace {

using e2e::Ansi;
using e2e::KrelwinRun;
using e2e::RunJob;

TEST(ScriptListsE2E, CheckScrReportsMissingUnusedAndRepeatedFiles)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"data"));
    ASSERT_TRUE(d.MakeDir(L"data\\bgm"));
    for (const wchar_t* pName : {L"data\\title.bmp", L"data\\bgm\\op.wav", L"data\\\x753b\x50cf.bmp",
                                 L"data\\spare.bmp", L"data\\bgm\\ed.wav"}) {
        ASSERT_TRUE(d.Write(pName, "x"));
    }
    ASSERT_TRUE(d.Write(L"a.scr", Ansi(L"// \x30bf\x30a4\x30c8\x30eb\r\nload(TITLE)\r\nplay(\"op.wav\", 1)\r\n"
                                       L"show(\"\x753b\x50cf.bmp\") /* show(spare) */\r\n")));
    ASSERT_TRUE(d.Write(L"b.scr", Ansi(L"load(title.bmp)\r\nplay(ed)\r\nplay(nothing.wav)\r\n")));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHECKSCR data\r\nCHECKSCR data\\bgm -se\r\n[FILES]\r\na.scr\r\nb.scr\r\n",
                       0, &strLog));
    EXPECT_EQ(Ansi(L"path:data  5 files\r\n"
                   L"C言語注釈を除外\r\n結果はソートされます\r\n数値のみはファイル名と判断しません\r\n"
                   L"\r\n以下のファイルは見つかりません\r\n"
                   L"NOTHING.WAV\r\n"
                   L"\r\n以下のファイルは使用されていません\r\n"
                   L"\tspare.bmp\r\n"
                   L"\r\n以下のファイルは複数回使用されています\r\n"
                   L"\ttitle.bmp  2(s)\r\n"
                   // The subfolder of the batch folder, without comment removal.
                   L"path:data\\bgm  2 files\r\n"
                   L"結果はソートされます\r\n拡張子(ピリオド)のある物のみ判定します\r\n"
                   L"\r\n以下のファイルは見つかりません\r\n"
                   L"NOTHING.WAV\r\nTITLE.BMP\r\n\x753b\x50cf.BMP\r\n"
                   L"\r\n以下のファイルは使用されていません\r\n"
                   L"\ted.wav\r\n"
                   L"Completed...\r\n"),
              strLog);
}

TEST(ScriptListsE2E, CheckScrWithoutAFolderIsAnErrorOfTheRun)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"a.scr", "f(x)\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHECKSCR -s\r\nCHECKSCR none\r\n[FILES]\r\na.scr\r\n", 2, &strLog));
    EXPECT_EQ(Ansi(L"フォルダが指定されていません\r\nフォルダが見つかりません " + d.Path(L"none") +
                   L"\r\nerror(s).2\r\n"),
              strLog);
}

TEST(ScriptListsE2E, CheckScrLineWhoseFolderIsMissingStillSetsTheOptions)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"data"));
    ASSERT_TRUE(d.Write(L"data\\title.bmp", "x"));
    ASSERT_TRUE(d.Write(L"a.scr", "f(title) f(100) // f(gone)\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nCHECKSCR nowhere -s\r\nCHECKSCR data\r\n[FILES]\r\na.scr\r\n", 1, &strLog));
    // The second line has no options token: it keeps the first line's sort only, so the
    // comment and the number are looked up as names.
    EXPECT_EQ(Ansi(L"フォルダが見つかりません " + d.Path(L"nowhere") + L"\r\n"
                   L"path:data  1 files\r\n結果はソートされます\r\n"
                   L"\r\n以下のファイルは見つかりません\r\n100\r\nGONE\r\n"
                   L"error(s).1\r\n"),
              strLog);
}

TEST(ScriptListsE2E, ListUpScrPrintsTheFourKindsOfWordsOnce)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"a.scr", Ansi(L"@top:\r\nmsg(\"\x3088\x3046\x3053\x305d\") // note(x)\r\n"
                                       L"sel[2] = ask(yes, no)\r\n")));
    ASSERT_TRUE(d.Write(L"b.scr", Ansi(L"/* old:\r\n */ ask(no)\r\n\x9078\x629e:sel[2]\r\ngoto(@top)\r\n")));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nLISTUPSCR\r\n[FILES]\r\na.scr\r\nb.scr\r\n", 0, &strLog));
    EXPECT_EQ(Ansi(L"●script(s) 3 entry\r\nask\r\ngoto\r\nmsg\r\n"
                   L"\n\n●flag(s) 1 entry\r\nsel\r\n"
                   L"\n\n●label(s) 1 entry\r\n@top\r\n"
                   L"\n\n●etc(s) 4 entry\r\n@top\r\n2\r\nno\r\nyes\r\n"
                   L"Completed...\r\n"),
              strLog);
}

TEST(ScriptListsE2E, ListSortRewritesEachListAndKeepsItsBackup)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const std::string strNames = Ansi(L"3:\x3044\x308d\x306f\n1:abc\n\n2:ab\n1:abc");  // LF ends, no last break
    ASSERT_TRUE(d.Write(L"names.txt", strNames));
    ASSERT_TRUE(d.Write(L"keys.txt", "k3=b\r\nk1=c\r\nplain\r\nk2=a\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nLISTSORT -op -c:\r\nLISTSORT -s=\r\n[FILES]\r\nnames.txt\r\nkeys.txt\r\n",
                       0, &strLog, "BACKUP=1\r\n"));
    // The second line sorts the first line's output again.
    EXPECT_EQ(Ansi(L"ab\r\nabc\r\n\x3044\x308d\x306f\r\n"), d.Read(L"names.txt"));
    EXPECT_EQ(strNames, d.Read(L"names.bak")) << "the list as it was before the run, not the first line's output";
    EXPECT_EQ("k2=a\r\nk3=b\r\nk1=c\r\nplain\r\n", d.Read(L"keys.txt"));
    EXPECT_EQ("k1=c\r\nk2=a\r\nk3=b\r\nplain\r\n", d.Read(L"keys.bak"));
    EXPECT_EQ(Ansi(L"文字コードで昇順ソートします.\r\n同じ項目は除外されます.\r\n行頭から \":\" までは削除されます.\r\n"
                   L"文字コードで昇順ソートします.\r\n同じ項目は除外されます.\r\n行頭から \":\" までは削除されます.\r\n"
                   L"文字コードで昇順ソートします.\r\n \"=\"以降の文字を対象にソートします.\r\n"
                   L"文字コードで昇順ソートします.\r\n \"=\"以降の文字を対象にソートします.\r\n"
                   L"Completed...\r\n"),
              strLog);
}

TEST(ScriptListsE2E, ListUpParamPrintsOneSortedArrayPerScriptLine)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"a.scr", Ansi(L"bgm_play(title)\r\nSE_PLAY(\"Click\")\r\nbgm_play(battle, 2)\r\n")));
    ASSERT_TRUE(d.Write(L"b.scr", Ansi(L"if (x) BGM_PLAY(TITLE)\r\n// \x66f2\r\nbgm_play(ending)\r\n")));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nLISTUPPARAM BGM_PLAY\r\nLISTUPPARAM SE_PLAY\r\n[FILES]\r\na.scr\r\nb.scr\r\n",
                       0, &strLog));
    EXPECT_EQ(Ansi(L"BGM_PLAY[4] = {\r\n\t 2,\r\n\tBATTLE,\r\n\tENDING,\r\n\tTITLE,\r\n};\n\r\n"
                   L"SE_PLAY[1] = {\r\n\t\"Click\",\r\n};\n\r\n"
                   L"Completed...\r\n"),
              strLog);
}

TEST(ScriptListsE2E, ListUpParamOverLongTextsOfNestedOpenLists)
{
    // 2 MB scripts whose lists all end at the one ")" at the end. The blanks after the
    // commas make every "(" a call of CALL; without them only the first is one.
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    const struct {
        const wchar_t* file;
        const char* call;
    } scripts[] = {{L"blank.scr", "CALL(x, "}, {L"plain.scr", "CALL(x,"}};
    for (const auto& s : scripts) {
        std::string strText;
        while (strText.size() < 2 * 1024 * 1024) strText += s.call;
        ASSERT_TRUE(d.Write(s.file, strText + ")\r\n"));
    }
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nLISTUPPARAM CALL\r\n[FILES]\r\nblank.scr\r\nplain.scr\r\n", 0, &strLog));
    EXPECT_EQ(Ansi(L"CALL[5] = {\r\n\t,\r\n\t ,\r\n\t CALL(X,\r\n\tCALL(X,\r\n\tX,\r\n};\n\r\n"
                   L"Completed...\r\n"),
              strLog);
}

TEST(ScriptListsE2E, ListUpParamWithoutANameIsAnErrorOfTheRun)
{
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.Write(L"a.scr", "f(x\r\n"));
    std::string strLog;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nLISTUPPARAM\r\nLISTUPPARAM F\r\n[FILES]\r\na.scr\r\n", 2, &strLog));
    EXPECT_EQ(Ansi(L"検索するコマンドが指定されていません\r\nF の括弧が閉じていません. a.scr\r\n"
                   L"F[0] = {\r\n};\n\r\nerror(s).2\r\n"),
              strLog);
}

}  // namespace
