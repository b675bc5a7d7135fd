#include "krelwin/params/kvlparam.h"

#include <gtest/gtest.h>

#include <string>

TEST(CKvlParam, FilePathResolvesAgainstTheTarget)
{
    struct Case {
        const wchar_t* arg;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"out\\%0.bin", L"C:\\d\\out\\x.bin"},
        {L"D:\\o\\", L"D:\\o\\x.txt"},
        {L"\\out\\%1", L"out\\x.txt"},
        {L"%2abc", L"C:\\d\\abc"},
        {L"D:\\o\\%0_%1", L"D:\\o\\x_x.txt"},
        {L"out.txt", L"C:\\d\\out.txt"},
        {L"a%", L"C:\\d\\a"},
        {L"%%0", L"C:\\d\\0"},
        {L"sub\\", L"C:\\d\\sub\\x.txt"},
        {L"d:\\x\\%0%0.%1", L"d:\\x\\xx.x.txt"},
        {L"D:o.txt", L"C:\\d\\D:o.txt"},  // a drive without '\' is not absolute
        {L"..\\up\\%0.log", L"C:\\d\\..\\up\\x.log"},
    };
    for (const Case& c : cases) {
        std::wstring line = L"\"C:\\d\\x.txt\" " + std::wstring(c.arg);
        CKvlParam cParam(line.c_str());
        const wchar_t* pPath = cParam.GetFilePath(1);
        ASSERT_NE(pPath, nullptr) << "arg " << testing::PrintToString(std::wstring(c.arg));
        EXPECT_STREQ(pPath, c.expected) << "arg " << testing::PrintToString(std::wstring(c.arg));
    }
}

TEST(CKvlParam, NameParts)
{
    struct Case {
        const wchar_t* target;
        const wchar_t* expected;
    };
    // "%0|%1" shows both names of the target.
    const Case cases[] = {
        {L"C:\\d\\x.tar.gz", L"C:\\d\\x.tar|x.tar.gz"},
        {L"C:\\d\\noext", L"C:\\d\\noext|noext"},
        {L"C:\\d.x\\noext", L"C:\\d.x\\noext|noext"},
        {L"C:\\d\\.rc", L"C:\\d\\|.rc"},
        {L"rel\\y.txt", L"rel\\y|y.txt"},
        {L"C:y.txt", L"C:y|y.txt"},
    };
    for (const Case& c : cases) {
        std::wstring line = L"\"" + std::wstring(c.target) + L"\" %0|%1";
        CKvlParam cParam(line.c_str());
        const wchar_t* pPath = cParam.GetFilePath(1);
        ASSERT_NE(pPath, nullptr);
        EXPECT_STREQ(pPath, c.expected) << "target " << testing::PrintToString(std::wstring(c.target));
    }
}

TEST(CKvlParam, TargetIsReturnedUnchangedAndOtherPathsAreCached)
{
    CKvlParam cParam(L"\"C:\\d\\x.txt\" out\\%0.bin -q D:\\o\\");
    EXPECT_STREQ(cParam.GetFilePath(0), L"C:\\d\\x.txt");
    wchar_t* pFirst = cParam.GetFilePath(1);
    EXPECT_EQ(cParam.GetFilePath(1), pFirst) << "each parameter is resolved once";
    EXPECT_STREQ(cParam.GetFilePath(2), L"D:\\o\\x.txt");
    EXPECT_EQ(cParam.GetFilePath(3), nullptr);
    EXPECT_EQ(cParam.GetFilePath(-1), nullptr);
}

TEST(CKvlParam, OutputIsFirstParameterAfterTheTarget)
{
    {
        CKvlParam cParam(L"\"C:\\d\\x.txt\" -op out.txt");
        EXPECT_STREQ(cParam.GetOutput(), L"C:\\d\\out.txt");
    }
    {
        CKvlParam cParam(L"\"C:\\d\\x.txt\" -op -q");
        EXPECT_STREQ(cParam.GetOutput(), L"C:\\d\\x.txt");
    }
    {
        CKvlParam cParam(L"\"C:\\d\\x.txt\" ");
        EXPECT_STREQ(cParam.GetOutput(), L"C:\\d\\x.txt");
    }
}

TEST(CKvlParam, ResolvedPathOverTheLimitIsRefused)
{
    // Base "C:\d\" (5) plus the tail: 259 characters fit, 260 do not.
    const std::wstring fits(254, L'a');
    const std::wstring over(255, L'a');
    {
        CKvlParam cParam((L"\"C:\\d\\x.txt\" " + fits).c_str());
        const wchar_t* pPath = cParam.GetFilePath(1);
        ASSERT_NE(pPath, nullptr);
        EXPECT_EQ(std::wstring(pPath), L"C:\\d\\" + fits);
    }
    {
        CKvlParam cParam((L"\"C:\\d\\x.txt\" " + over).c_str());
        EXPECT_EQ(cParam.GetFilePath(1), nullptr);
        EXPECT_EQ(cParam.GetOutput(), nullptr);
        EXPECT_EQ(cParam.GetFileName(1, nullptr), nullptr);
    }
    {
        // Short argument, but every "%1" grows it by the target's name.
        std::wstring line = L"\"C:\\d\\" + std::wstring(100, L'n') + L".txt\" ";
        line += L"%1%1%1";
        CKvlParam cParam(line.c_str());
        EXPECT_EQ(cParam.GetFilePath(1), nullptr);
    }
}

TEST(CKvlParam, FileNameIsTheLastComponentOfTheResolvedPath)
{
    CKvlParam cParam(L"\"C:\\d\\x.txt\" out\\%0.bin D:\\o\\");
    wchar_t szDef[] = L"def";
    EXPECT_STREQ(cParam.GetFileName(0, szDef), L"x.txt");
    EXPECT_STREQ(cParam.GetFileName(1, szDef), L"x.bin");
    EXPECT_STREQ(cParam.GetFileName(2, szDef), L"x.txt");
    EXPECT_EQ(cParam.GetFileName(3, szDef), szDef) << "missing token";
}

TEST(CKvlParam, CheckOptionCharLooksAfterTheOptionLetter)
{
    CKvlParam cParam(L"\"C:\\d\\x.txt\" -op -o");
    EXPECT_EQ(cParam.CheckOptionChar(1, L'p'), 1);
    EXPECT_EQ(cParam.CheckOptionChar(1, L'P'), 1);
    EXPECT_EQ(cParam.CheckOptionChar(1, L'o'), 0) << "the option letter itself";
    EXPECT_EQ(cParam.CheckOptionChar(1, L'x'), 0);
    EXPECT_EQ(cParam.CheckOptionChar(2, L'p'), 0);
    EXPECT_EQ(cParam.CheckOptionChar(7, L'p'), 0);
}

TEST(CKvlParam, ParameterNumbersBeyondTheCacheAreRefused)
{
    std::wstring line = L"\"C:\\d\\x.txt\"";
    for (int i = 1; i <= 17; ++i) line += L" p" + std::to_wstring(i);
    CKvlParam cParam(line.c_str());
    EXPECT_STREQ(cParam.GetFilePath(15), L"C:\\d\\p15");
    EXPECT_EQ(cParam.GetFilePath(16), nullptr);
    EXPECT_STREQ(cParam.GetParam(16), L"p16");
}
