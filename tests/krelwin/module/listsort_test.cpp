#include "krelwin/module/listsort.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "krelwin/module/function_base.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

using sample_commands::ASKED;
using sample_commands::Sjis;

class ListSortTest : public sample_commands::SampleCommandsTest
{
protected:
    void SetUp() override
    {
        SampleCommandsTest::SetUp();
        ASKED::Answer() = OUTPUT_ANSWER_YES;
    }
};

TEST_F(ListSortTest, OptionsSortTheLinesOfTheFile)
{
    struct Case {
        const char* name;
        const wchar_t* options;
        std::string in;
        std::string out;
        std::wstring log;
    };
    const Case cases[] = {
        {"code order", L"", "b\r\na\r\nc\r\n", "a\r\nb\r\nc\r\n", L"文字コードで昇順ソートします.\r\n"},
        {"code order descending", L"-or", "b\r\na\r\nc\r\n", "c\r\nb\r\na\r\n", L"文字コードで降順ソートします.\r\n"},
        {"length", L"-ol", "ccc\r\na\r\nbb\r\n", "a\r\nbb\r\nccc\r\n", L"長さで昇順ソートします.\r\n"},
        {"length descending", L"-oLR", "ccc\r\na\r\nbb\r\n", "ccc\r\nbb\r\na\r\n", L"長さで降順ソートします.\r\n"},
        {"equal lengths keep their order", L"-ol", "y\r\nx\r\n", "y\r\nx\r\n", L"長さで昇順ソートします.\r\n"},
        {"equal lengths descending keep their order", L"-olr", "y\r\nzz\r\nx\r\n", "zz\r\ny\r\nx\r\n",
         L"長さで降順ソートします.\r\n"},
        {"repeats dropped", L"-op", "a\r\nb\r\na\r\n", "a\r\nb\r\n",
         L"文字コードで昇順ソートします.\r\n同じ項目は除外されます.\r\n"},
        {"repeats compared with case", L"-op", "A\r\na\r\nA\r\n", "A\r\na\r\n",
         L"文字コードで昇順ソートします.\r\n同じ項目は除外されます.\r\n"},
        {"o itself is no flag letter", L"-o", "b\r\na\r\n", "a\r\nb\r\n", L"文字コードで昇順ソートします.\r\n"},
        {"key text", L"-s=", "k1=z\r\nk2=a\r\nm\r\n", "k2=a\r\nk1=z\r\nm\r\n",
         L"文字コードで昇順ソートします.\r\n \"=\"以降の文字を対象にソートします.\r\n"},
        {"equal keys keep their order", L"-s=", "b=1\r\na=1\r\n", "b=1\r\na=1\r\n",
         L"文字コードで昇順ソートします.\r\n \"=\"以降の文字を対象にソートします.\r\n"},
        {"cut text", L"-c:", "id:name\r\nb:a\r\nnone\r\n", "a\r\nname\r\nnone\r\n",
         L"文字コードで昇順ソートします.\r\n行頭から \":\" までは削除されます.\r\n"},
        {"repeats after cutting", L"-op -c:", "1:x\r\n2:x\r\n", "x\r\n",
         L"文字コードで昇順ソートします.\r\n同じ項目は除外されます.\r\n行頭から \":\" までは削除されます.\r\n"},
        {"LF ends, empty lines, no last break", L"", "b\n\n\na\r\r\nc", "a\r\nb\r\nc\r\n",
         L"文字コードで昇順ソートします.\r\n"},
        {"one line without a break", L"", "a", "a\r\n", L"文字コードで昇順ソートします.\r\n"},
        {"leading break gives one empty line", L"", "\r\n\r\nb\r\na", "\r\na\r\nb\r\n",
         L"文字コードで昇順ソートします.\r\n"},
        {"prefix first, code units not locale order", L"", "ab\r\nB\r\na\r\n", "B\r\na\r\nab\r\n",
         L"文字コードで昇順ソートします.\r\n"},
    };
    for (const Case& c : cases) {
        Message_clear();
        ASSERT_TRUE(m_dir.Write(L"list.txt", c.in));
        LISTSORT cSort;
        EXPECT_EQ(1, cSort.Func(Line(L"list.txt", c.options).c_str())) << "case " << c.name;
        EXPECT_EQ(c.out, m_dir.Read(L"list.txt")) << "case " << c.name;
        EXPECT_EQ(c.log, Log()) << "case " << c.name;
        cSort.Quit(0);
    }
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(ListSortTest, FullWidthLinesSortByTheirCodeUnits)
{
    // U+3042 before U+30A2 before U+4E00, whatever the locale's order of kana and kanji.
    ASSERT_TRUE(m_dir.Write(L"list.txt", Sjis(L"\x4e00\r\n\x30a2\r\n\x3042\r\n")));
    LISTSORT cSort;
    EXPECT_EQ(1, cSort.Func(Line(L"list.txt").c_str()));
    EXPECT_EQ(Sjis(L"\x3042\r\n\x30a2\r\n\x4e00\r\n"), m_dir.Read(L"list.txt"));
}

TEST_F(ListSortTest, FilesThatCannotBeSortedAreLeftAlone)
{
    ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
    ASSERT_TRUE(m_dir.Write(L"zero.txt", std::string("b\r\na\0c\r\n", 8)));
    LISTSORT cSort;
    EXPECT_EQ(0, cSort.Func(Line(L"gone.txt").c_str()));
    EXPECT_EQ(0, cSort.Func(Line(L"empty.txt").c_str()));
    EXPECT_EQ(L"", Log()) << "a missing or empty list is passed over silently";
    EXPECT_FALSE(m_dir.IsFile(L"gone.txt"));
    EXPECT_EQ("", m_dir.Read(L"empty.txt"));

    EXPECT_EQ(0, cSort.Func(Line(L"zero.txt").c_str()));
    EXPECT_EQ(L"テキストにNUL文字が含まれています. zero.txt\r\n", Log());
    EXPECT_EQ(std::string("b\r\na\0c\r\n", 8), m_dir.Read(L"zero.txt"));
    EXPECT_EQ(1, s_stGl.m_iErrorCount);

    // The overwrite question answered No keeps the file as it was.
    Message_clear();
    ASKED::Answer() = OUTPUT_ANSWER_NO;
    ASSERT_TRUE(m_dir.Write(L"list.txt", "b\r\na\r\n"));
    EXPECT_EQ(0, cSort.Func(Line(L"list.txt").c_str()));
    EXPECT_EQ("b\r\na\r\n", m_dir.Read(L"list.txt"));
    EXPECT_EQ(Path(L"list.txt") + L"\n既にファイルが存在します。上書きしますか？|", ASKED::Texts());
}

TEST_F(ListSortTest, BackupKeepsTheListAsItWas)
{
    s_stGl.m_pSetting->BACKUP = 1;
    ASSERT_TRUE(m_dir.Write(L"list.txt", "a\r\nb\r\n"));
    Exec(L"LISTSORT", L"-or", L"list.txt");
    Command_quit(1);
    EXPECT_EQ("a\r\nb\r\n", m_dir.Read(L"list.bak"));
    EXPECT_EQ("b\r\na\r\n", m_dir.Read(L"list.txt"));
    EXPECT_EQ(L"文字コードで降順ソートします.\r\n", Log());
}

TEST_F(ListSortTest, DISABLED_Benchmark)
{
    std::string strList;
    unsigned int uSeed = 99;
    for (int i = 0; i < 100000; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strList += "item" + std::to_string((uSeed >> 4) % 50000) + "\r\n";
    }
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    LISTSORT cSort;
    LARGE_INTEGER liFreq, liStart, liEnd;
    QueryPerformanceFrequency(&liFreq);
    QueryPerformanceCounter(&liStart);
    EXPECT_EQ(1, cSort.Func(Line(L"list.txt", L"-op").c_str()));
    QueryPerformanceCounter(&liEnd);
    std::printf("LISTSORT -op 100000 lines: %.1f ms\n",
                1000.0 * (liEnd.QuadPart - liStart.QuadPart) / liFreq.QuadPart);
}

} // namespace
