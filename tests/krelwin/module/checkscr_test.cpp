#include "krelwin/module/checkscr.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto/string/string.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

// Bytes that no script holds: every value, unbalanced quotes, comment marks and
// parentheses, and Shift-JIS lead bytes without their trail bytes.
std::string HostileBytes()
{
    std::string strBytes;
    unsigned int uSeed = 2024;
    for (int i = 0; i < 65536; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strBytes += static_cast<char>((uSeed >> 16) & 0xFF);
    }
    return strBytes + "(\"/*(,[\x81";
}

using sample_commands::Sjis;

class CheckScrTest : public sample_commands::SampleCommandsTest
{
protected:
    void SetUp() override
    {
        SampleCommandsTest::SetUp();
        STRING_cpy(s_stGl.m_szBatchDir, Path(L"").c_str());  // ends in a backslash
    }
    // A module with the folder names given in list order, as Initialize leaves it.
    void Names(CHECKSCR& _cScr, const std::vector<std::wstring>& _vNames)
    {
        _cScr.resetTables();
        for (const std::wstring& strName : _vNames) _cScr.addFolderName(strName.c_str());
    }
    // Scans a script text as Func does after its filters.
    void Scan(CHECKSCR& _cScr, std::wstring _strText)
    {
        STRING_upper(&_strText[0]);
        _cScr.scanText(_strText.c_str(), static_cast<int>(_strText.size()));
    }
};

TEST_F(CheckScrTest, WordsThatCanBeNamesAreCountedOrRecordedAsMissing)
{
    struct Case {
        const char* name;
        const wchar_t* text;
        int digitsOnly;
        int extension;
        std::vector<int> counts;  // of A.BMP, TITLE.BMP, TITLE.WAV, 100.DAT
        std::vector<std::wstring> missing;
    };
    const Case cases[] = {
        {"call argument by base name", L"f(title)", 1, 0, {0, 1, 0, 0}, {}},
        {"quoted whole name", L"x = \"title.wav\"", 1, 0, {0, 0, 1, 0}, {}},
        {"arguments after commas", L"f(a.bmp, title ,zz)", 1, 0, {1, 1, 0, 0}, {L"ZZ"}},
        {"quoted text with a blank is no name", L"\"a b.bmp\" \" a.bmp\"", 1, 0, {1, 0, 0, 0}, {}},
        {"quoted word of 16 characters", L"\"abcdefghijkl.bmp\" \"abcdefghijk.bmp\"", 1, 0,
         {0, 0, 0, 0}, {L"ABCDEFGHIJK.BMP"}},
        {"unquoted word of 16 characters", L"f(abcdefghijklmnop) f(abcdefghijklmno)", 1, 0,
         {0, 0, 0, 0}, {L"ABCDEFGHIJKLMNO"}},
        {"word in an expression", L"f(zz + 1) g(zz*2) h(zz [1]) f(y=1) k(zz )", 1, 0, {0, 0, 0, 0}, {L"ZZ"}},
        {"digits only skipped", L"f(100) f(1.5)", 1, 0, {0, 0, 0, 0}, {L"1.5"}},
        {"digits only looked up", L"f(100) f(7)", 0, 0, {0, 0, 0, 1}, {L"7"}},
        {"extension required", L"f(title, a.bmp) \"zz\"", 1, 1, {1, 0, 0, 0}, {}},
        {"Japanese without extension", L"\"\x3042\x3044\" \"\x3042.bmp\" f(\x3042) f( \x3044.bmp)", 1, 0,
         {0, 0, 0, 0}, {L"\x3042.BMP"}},
        {"the same missing name is recorded once", L"f(zz) f(zz) \"zz\"", 1, 0, {0, 0, 0, 0}, {L"ZZ"}},
        {"word at the end of the text", L"f(title", 1, 0, {0, 1, 0, 0}, {}},
        {"quote without its end", L"\"title", 1, 0, {0, 0, 0, 0}, {}},
        {"comma at the end", L"a.bmp,", 1, 0, {0, 0, 0, 0}, {}},
        {"words outside calls and quotes", L"title a.bmp", 1, 0, {0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        CHECKSCR cScr;
        Names(cScr, {L"a.bmp", L"TITLE.BMP", L"title.wav", L"100.dat"});
        cScr.m_iDigitsOnly = c.digitsOnly;
        cScr.m_iExtension = c.extension;
        Scan(cScr, c.text);
        EXPECT_EQ(c.counts, cScr.m_vCount) << "case " << c.name;
        EXPECT_EQ(c.missing, cScr.m_vNotFound) << "case " << c.name;
    }
}

TEST_F(CheckScrTest, LookupUpperCasesTheWordAndTakesTheFirstNameInListOrder)
{
    CHECKSCR cScr;
    Names(cScr, {L"Title.wav", L"TITLE.BMP", L"sub.name.txt"});
    wchar_t szWord[16];
    STRING_cpy(szWord, L"title");
    EXPECT_EQ(0, cScr.findFile(szWord));
    EXPECT_STREQ(L"TITLE", szWord);
    STRING_cpy(szWord, L"title.bmp");
    EXPECT_EQ(1, cScr.findFile(szWord));
    STRING_cpy(szWord, L"sub.name");
    EXPECT_EQ(-1, cScr.findFile(szWord)) << "a word with a '.' is compared with whole names";
    STRING_cpy(szWord, L"sub");
    EXPECT_EQ(-1, cScr.findFile(szWord));
    STRING_cpy(szWord, L"SUB.NAME.TXT");
    EXPECT_EQ(2, cScr.findFile(szWord));
    EXPECT_EQ(1, cScr.addNotFound(L"X"));
    EXPECT_EQ(0, cScr.addNotFound(L"X"));
}

TEST_F(CheckScrTest, OptionsTokenSetsEveryFlagAfresh)
{
    struct Case {
        const wchar_t* options;
        int rem, sort, digits, ext;
    };
    const Case cases[] = {
        {L"-s", CHECKSCR::REM_NONE, 1, 0, 0},
        {L"-c", CHECKSCR::REM_C, 0, 0, 0},
        {L"-pca", CHECKSCR::REM_PERL, 0, 0, 0},
        {L"-ac", CHECKSCR::REM_ASM, 0, 0, 0},
        {L"-ne", CHECKSCR::REM_NONE, 0, 1, 1},
        {L"-SNE", CHECKSCR::REM_NONE, 0, 0, 0},
        {L"-", CHECKSCR::REM_NONE, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CHECKSCR cScr;
        cScr.setOptions(c.options);
        EXPECT_EQ(c.rem, cScr.m_iRemMode) << testing::PrintToString(std::wstring(c.options));
        EXPECT_EQ(c.sort, cScr.m_iSort) << testing::PrintToString(std::wstring(c.options));
        EXPECT_EQ(c.digits, cScr.m_iDigitsOnly) << testing::PrintToString(std::wstring(c.options));
        EXPECT_EQ(c.ext, cScr.m_iExtension) << testing::PrintToString(std::wstring(c.options));
    }
    CHECKSCR cScr;
    EXPECT_EQ(CHECKSCR::REM_C, cScr.m_iRemMode);
    EXPECT_EQ(1, cScr.m_iSort);
    EXPECT_EQ(1, cScr.m_iDigitsOnly);
    EXPECT_EQ(0, cScr.m_iExtension);
    cScr.setOptions(0);
    cScr.setOptions(L"x");
    EXPECT_EQ(CHECKSCR::REM_C, cScr.m_iRemMode) << "no options token keeps the flags";
}

TEST_F(CheckScrTest, ScriptLineListsTheFolderAndReportsAtItsEnd)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.MakeDir(L"data\\sub"));
    for (const wchar_t* pName : {L"data\\title.bmp", L"data\\sub\\Bgm01.wav", L"data\\unused.txt",
                                 L"data\\sub\\twice.dat", L"data\\name_of_16_chars.x"}) {
        ASSERT_TRUE(m_dir.Write(pName, "x"));
    }
    ASSERT_TRUE(m_dir.Write(L"a.scr", Sjis(L"// f(commented.bmp)\r\nload(\"title.bmp\")\r\nplay(bgm01, 3)\r\n"
                                           L"f(twice.dat) /* g(gone.dat) */ f(missing.bmp)\r\n")));
    ASSERT_TRUE(m_dir.Write(L"b.scr", Sjis(L"f(TWICE.DAT) f(missing.bmp) f(\"\x3042.bmp\")\r\n")));
    CHECKSCR cScr;
    EXPECT_EQ(1, cScr.Func(Line(L"a.scr", L"data").c_str()));
    EXPECT_EQ(1, cScr.Func(Line(L"b.scr", L"data").c_str()));
    EXPECT_EQ(1, s_stGl.m_iErrorCount) << "the name too long for the table";
    cScr.Quit(0);
    EXPECT_EQ(L"ファイル名が長すぎます name_of_16_chars.x\r\n"
              L"path:data  4 files\r\n"
              L"C言語注釈を除外\r\n結果はソートされます\r\n数値のみはファイル名と判断しません\r\n"
              L"\r\n以下のファイルは見つかりません\r\n"
              L"MISSING.BMP\r\n\x3042.BMP\r\n"
              L"\r\n以下のファイルは使用されていません\r\n"
              L"\tunused.txt\r\n"
              L"\r\n以下のファイルは複数回使用されています\r\n"
              L"\ttwice.dat  2(s)\r\n",
              Log());

    // The next script line lists its folder afresh and starts new counts.
    Message_clear();
    EXPECT_EQ(1, cScr.Func(Line(L"b.scr", L"data\\sub -e").c_str()));
    cScr.Quit(1);
    EXPECT_EQ(L"path:data\\sub  2 files\r\n"
              L"拡張子(ピリオド)のある物のみ判定します\r\n"
              L"\r\n以下のファイルは見つかりません\r\n"
              L"MISSING.BMP\r\n\x3042.BMP\r\n"
              L"\r\n以下のファイルは使用されていません\r\n"
              L"\tBgm01.wav\r\n",
              Log());
    EXPECT_TRUE(cScr.m_vName.empty()) << "the end of the run releases the tables";
}

TEST_F(CheckScrTest, UnsortedReportKeepsTheOrderOfFirstSight)
{
    CHECKSCR cScr;
    Names(cScr, {});
    cScr.m_iActive = 1;
    cScr.m_iSort = 0;
    Scan(cScr, L"f(zz) f(aa) f(mm) f(aa)");
    cScr.Quit(1);
    EXPECT_EQ(L"\r\n以下のファイルは見つかりません\r\nZZ\r\nAA\r\nMM\r\n", Log());
}

TEST_F(CheckScrTest, BadArgumentsAndUnreadableScriptsAreRefused)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.Write(L"a.scr", "f(x)\r\n"));
    ASSERT_TRUE(m_dir.Write(L"empty.scr", ""));
    {
        CHECKSCR cScr;
        EXPECT_EQ(0, cScr.Func(Line(L"a.scr", L"-s").c_str()));
        EXPECT_EQ(0, cScr.Func(Line(L"a.scr").c_str()));
        EXPECT_EQ(L"フォルダが指定されていません\r\nフォルダが指定されていません\r\n", Log());
        EXPECT_EQ(2, s_stGl.m_iErrorCount);
    }
    {
        Message_clear();
        CHECKSCR cScr;
        EXPECT_EQ(0, cScr.Func(Line(L"a.scr", L"nowhere").c_str()));
        EXPECT_EQ(0, cScr.Func(Line(L"a.scr", L"nowhere").c_str()));
        cScr.Quit(1);
        EXPECT_EQ(L"フォルダが見つかりません " + Path(L"nowhere") + L"\r\n", Log()) << "once per script line";
    }
    {
        Message_clear();
        CHECKSCR cScr;
        const std::wstring strLong(260, L'd');
        EXPECT_EQ(0, cScr.Func(Line(L"a.scr", strLong).c_str()));
        cScr.Quit(1);
        EXPECT_EQ(L"フォルダ名が長すぎます " + strLong + L"\r\n", Log());
    }
    {
        Message_clear();
        CHECKSCR cScr;
        EXPECT_EQ(0, cScr.Func(Line(L"gone.scr", L"data").c_str()));
        EXPECT_EQ(0, cScr.Func(Line(L"empty.scr", L"data").c_str()));
        cScr.Quit(1);
        EXPECT_EQ(L"path:data  0 files\r\n"
                  L"C言語注釈を除外\r\n結果はソートされます\r\n数値のみはファイル名と判断しません\r\n",
                  Log())
            << "no script was scanned: no report";
    }
}

TEST_F(CheckScrTest, ALineThatScannedNoScriptLeavesTheNextLineItsOwnFolder)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.MakeDir(L"other"));
    ASSERT_TRUE(m_dir.Write(L"other\\op.wav", "x"));
    ASSERT_TRUE(m_dir.Write(L"a.scr", "f(op)\r\n"));
    ASSERT_TRUE(m_dir.Write(L"empty.scr", ""));
    struct Case {
        const char* name;
        const wchar_t* script;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {"missing folder", L"a.scr", L"nowhere"},
        {"no script read", L"empty.scr", L"data"},
    };
    for (const Case& c : cases) {
        Message_clear();
        CHECKSCR cScr;
        EXPECT_EQ(0, cScr.Func(Line(c.script, std::wstring(c.folder) + L" -s").c_str())) << "case " << c.name;
        cScr.Quit(0);
        Message_clear();
        EXPECT_EQ(1, cScr.Func(Line(L"a.scr", L"other -s").c_str())) << "case " << c.name;
        cScr.Quit(1);
        EXPECT_EQ(L"path:other  1 files\r\n結果はソートされます\r\n", Log()) << "case " << c.name;
    }
}

TEST_F(CheckScrTest, OptionsOfALineThatListsNoFolderStayForTheNextLine)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.Write(L"data\\title.bmp", "x"));
    ASSERT_TRUE(m_dir.Write(L"a.scr", "f(title) f(100) // f(gone)\r\n"));
    // -s alone: no comment removal, numbers looked up, sorted report.
    const std::wstring strSortOnly = L"path:data  1 files\r\n結果はソートされます\r\n"
                                     L"\r\n以下のファイルは見つかりません\r\n100\r\nGONE\r\n";
    struct Case {
        const char* name;
        std::wstring folder;
        std::wstring log;  // of the second line
    };
    const Case cases[] = {
        {"missing folder", L"nowhere", strSortOnly},
        {"folder name too long", std::wstring(260, L'd'), strSortOnly},
        // Refused before its options are read: the defaults stay.
        {"no folder argument", L"",
         L"path:data  1 files\r\nC言語注釈を除外\r\n結果はソートされます\r\n数値のみはファイル名と判断しません\r\n"},
    };
    for (const Case& c : cases) {
        CHECKSCR cScr;
        EXPECT_EQ(0, cScr.Func(Line(L"a.scr", c.folder + L" -s").c_str())) << "case " << c.name;
        cScr.Quit(0);
        Message_clear();
        EXPECT_EQ(1, cScr.Func(Line(L"a.scr", L"data").c_str())) << "case " << c.name;
        cScr.Quit(1);
        EXPECT_EQ(c.log, Log()) << "case " << c.name;
    }
}

TEST_F(CheckScrTest, CommentModesRemoveTheirOwnComments)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.Write(L"a.scr", "f(c1) // f(c2)\r\nf(a1) ; f(a2)\r\nf(p1) # f(p2)\r\nf(\"x ;#//y\", q1)\r\n"));
    struct Case {
        const wchar_t* options;
        std::wstring missing;
    };
    const Case cases[] = {
        {L"-s", L"A1\r\nA2\r\nC1\r\nC2\r\nP1\r\nP2\r\nQ1\r\n"},
        {L"-sc", L"A1\r\nA2\r\nC1\r\nP1\r\nP2\r\nQ1\r\n"},
        {L"-sa", L"A1\r\nC1\r\nC2\r\nP1\r\nP2\r\nQ1\r\n"},
        {L"-sp", L"A1\r\nA2\r\nC1\r\nC2\r\nP1\r\nQ1\r\n"},
    };
    for (const Case& c : cases) {
        Message_clear();
        CHECKSCR cScr;
        EXPECT_EQ(1, cScr.Func(Line(L"a.scr", std::wstring(L"data ") + c.options).c_str()));
        const std::wstring strBefore = Log();
        cScr.Quit(1);
        EXPECT_EQ(L"\r\n以下のファイルは見つかりません\r\n" + c.missing, Log().substr(strBefore.size()))
            << testing::PrintToString(std::wstring(c.options));
    }
}

TEST_F(CheckScrTest, FolderIsTakenFromTheBatchFolderWhereverTheTargetLies)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.MakeDir(L"data\\bgm"));
    ASSERT_TRUE(m_dir.MakeDir(L"scr"));
    ASSERT_TRUE(m_dir.MakeDir(L"scr\\data"));
    ASSERT_TRUE(m_dir.Write(L"data\\bgm\\op.wav", "x"));
    ASSERT_TRUE(m_dir.Write(L"scr\\data\\other.wav", "x"));
    ASSERT_TRUE(m_dir.Write(L"scr\\a.scr", "f(op)\r\n"));
    for (const std::wstring& strFolder : {std::wstring(L"data\\bgm"), Path(L"data\\bgm")}) {
        Message_clear();
        CHECKSCR cScr;
        EXPECT_EQ(1, cScr.Func(Line(L"scr\\a.scr", strFolder + L" -s").c_str()));
        cScr.Quit(1);
        EXPECT_EQ(L"path:" + strFolder + L"  1 files\r\n結果はソートされます\r\n", Log());
    }
}

TEST_F(CheckScrTest, DispatcherRunsTheModule)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.Write(L"data\\a.bmp", "x"));
    ASSERT_TRUE(m_dir.Write(L"a.scr", "f(a)\r\n"));
    Exec(L"CHECKSCR", L"data", L"a.scr");
    Command_quit(1);
    EXPECT_EQ(L"path:data  1 files\r\n"
              L"C言語注釈を除外\r\n結果はソートされます\r\n数値のみはファイル名と判断しません\r\n",
              Log());
}

TEST_F(CheckScrTest, HostileBytesAreScannedWithinTheText)
{
    ASSERT_TRUE(m_dir.MakeDir(L"data"));
    ASSERT_TRUE(m_dir.Write(L"junk.scr", HostileBytes()));
    CHECKSCR cModule;
    EXPECT_EQ(1, cModule.Func(Line(L"junk.scr", L"data -scn").c_str()));
    cModule.Quit(1);
    EXPECT_FALSE(Log().empty());
}

TEST_F(CheckScrTest, DISABLED_Benchmark)
{
    // 20,000 folder files and a script of 200,000 calls, a quarter of them to missing names.
    std::vector<std::wstring> vNames;
    for (int i = 0; i < 20000; ++i) vNames.push_back(L"f" + std::to_wstring(i) + L".bmp");
    std::wstring strText;
    unsigned int uSeed = 7;
    for (int i = 0; i < 200000; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strText += L"load(f" + std::to_wstring((uSeed >> 8) % 26667) + L")\r\n";
    }
    CHECKSCR cScr;
    LARGE_INTEGER liFreq, liStart, liScanned, liEnd;
    QueryPerformanceFrequency(&liFreq);
    QueryPerformanceCounter(&liStart);
    Names(cScr, vNames);
    Scan(cScr, strText);
    cScr.m_iActive = 1;
    QueryPerformanceCounter(&liScanned);
    cScr.Quit(1);
    QueryPerformanceCounter(&liEnd);
    std::printf("CHECKSCR 20000 files, 200000 calls: tables and scan %.1f ms, report %.1f ms\n",
                1000.0 * (liScanned.QuadPart - liStart.QuadPart) / liFreq.QuadPart,
                1000.0 * (liEnd.QuadPart - liScanned.QuadPart) / liFreq.QuadPart);
}

} // namespace
