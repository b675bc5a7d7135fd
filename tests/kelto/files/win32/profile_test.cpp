#include "kelto/files/win32/profile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/testdir.h"

namespace {

// "[MAIN]" with one key per case, as a settings file written by hand (8-bit bytes).
const char kIni[] =
    "[MAIN]\r\n"
    "HEX=0x10\r\n"
    "EXPR=2*3+4\r\n"
    "PAREN=(1+2)*3\r\n"
    "TEXT=abc\r\n"
    "EMPTY=\r\n"
    "NEG=-12\r\n"
    "LONG=abcdefghij\r\n"
    "[extra]\r\n"
    "NAME=MSG.TXT\r\n";

std::wstring ProgramPath()
{
    wchar_t sz[MAX_PATH];
    const DWORD n = GetModuleFileNameW(0, sz, MAX_PATH);
    return std::wstring(sz, n);
}

std::wstring ProgramFolder()
{
    const std::wstring path = ProgramPath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

class ProfileFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_cDir.Ok());
        ASSERT_TRUE(m_cDir.Write(L"k.ini", kIni));
        m_strIni = m_cDir.Path(L"k.ini");
    }
    const wchar_t* Ini() const { return m_strIni.c_str(); }

    testdir::TestDir m_cDir;
    std::wstring m_strIni;
};

}  // namespace

TEST_F(ProfileFile, IntegersGoThroughTheEvaluator)
{
    struct Row
    {
        const char* name;
        const wchar_t* key;
        int def;
        int expected;
    };
    const Row rows[] = {
        {"hexadecimal", L"HEX", 0, 16},
        {"expression", L"EXPR", 0, 10},
        {"parentheses", L"PAREN", 0, 9},
        {"negative", L"NEG", 0, -12},
        {"not a number", L"TEXT", 5, 0},
        {"empty value gives the default", L"EMPTY", 7, 7},
        {"missing key gives the default", L"NOPE", 480, 480},
        {"missing key gives a negative default", L"NOPE", -5, -5},
        {"key names ignore case", L"hex", 0, 16},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, PROFILE_GetIntEx(Ini(), L"MAIN", row.key, row.def)) << "case " << row.name;
    }
    EXPECT_EQ(3, PROFILE_GetIntEx(m_cDir.Path(L"none.ini").c_str(), L"MAIN", L"HEX", 3));
    EXPECT_EQ(4, PROFILE_GetIntEx(Ini(), 0, L"HEX", 4));
    EXPECT_EQ(4, PROFILE_GetIntEx(Ini(), L"MAIN", 0, 4));
}

TEST_F(ProfileFile, StringsTellAMissingKeyFromAPresentOne)
{
    wchar_t sz[64] = L"junk";
    EXPECT_EQ(0, PROFILE_GetStringEx(Ini(), L"MAIN", L"NOPE", sz, 64));
    EXPECT_EQ(std::wstring(), sz);
    EXPECT_EQ(7, PROFILE_GetStringEx(Ini(), L"MAIN", L"NOPE", sz, 64, L"MSG.TXT"));
    EXPECT_EQ(std::wstring(L"MSG.TXT"), sz);
    EXPECT_EQ(3, PROFILE_GetStringEx(Ini(), L"MAIN", L"TEXT", sz, 64));
    EXPECT_EQ(std::wstring(L"abc"), sz);
    EXPECT_EQ(7, PROFILE_GetStringEx(Ini(), L"EXTRA", L"name", sz, 64, L""));
    EXPECT_EQ(std::wstring(L"MSG.TXT"), sz);

    wcscpy(sz, L"junk");
    EXPECT_EQ(0, PROFILE_GetStringEx(Ini(), L"MAIN", L"EMPTY", sz, 64));
    EXPECT_EQ(std::wstring(), sz);

    // Values are cut to size - 1 units.
    EXPECT_EQ(3, PROFILE_GetStringEx(Ini(), L"MAIN", L"LONG", sz, 4));
    EXPECT_EQ(std::wstring(L"abc"), sz);
    EXPECT_EQ(3, PROFILE_GetStringEx(Ini(), L"MAIN", L"LONG", sz, 4, L"x"));
    EXPECT_EQ(std::wstring(L"abc"), sz);

    // A buffer too small for the missing-key marker still reports the key as missing.
    wchar_t szSmall[8] = L"junk";
    EXPECT_EQ(0, PROFILE_GetStringEx(Ini(), L"MAIN", L"NOPE", szSmall, 8));
    EXPECT_EQ(std::wstring(), szSmall);

    EXPECT_EQ(-1, PROFILE_GetStringEx(Ini(), 0, L"TEXT", sz, 64));
    EXPECT_EQ(-1, PROFILE_GetStringEx(Ini(), L"MAIN", 0, sz, 64));
    EXPECT_EQ(-1, PROFILE_GetStringEx(Ini(), L"MAIN", L"TEXT", 0, 64));
}

TEST_F(ProfileFile, ValuesAreTheSystemCodePage)
{
    // "日本" in Shift-JIS.
    ASSERT_TRUE(m_cDir.Write(L"j.ini", "[MAIN]\r\nNAME=\x93\xfa\x96\x7b\r\n"));
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    wchar_t sz[16];
    EXPECT_EQ(2, PROFILE_GetStringEx(m_cDir.Path(L"j.ini").c_str(), L"MAIN", L"NAME", sz, 16));
    EXPECT_EQ(std::wstring(L"\u65e5\u672c"), sz);
}

TEST_F(ProfileFile, WritesCreateAndRemoveKeys)
{
    const std::wstring strNew = m_cDir.Path(L"new.ini");
    EXPECT_NE(0, PROFILE_SetIntEx(strNew.c_str(), L"MAIN", L"WIDTH", -123));
    EXPECT_NE(0, PROFILE_SetStringEx(strNew.c_str(), L"MAIN", L"LOG", L"MSG.TXT"));
    EXPECT_EQ(-123, PROFILE_GetIntEx(strNew.c_str(), L"MAIN", L"WIDTH", 0));
    wchar_t sz[64];
    EXPECT_EQ(7, PROFILE_GetStringEx(strNew.c_str(), L"MAIN", L"LOG", sz, 64));
    EXPECT_NE(std::string::npos, m_cDir.Read(L"new.ini").find("WIDTH=-123"));

    // A null value removes the key; the others stay.
    EXPECT_NE(0, PROFILE_SetStringEx(strNew.c_str(), L"MAIN", L"LOG", 0));
    EXPECT_EQ(0, PROFILE_GetStringEx(strNew.c_str(), L"MAIN", L"LOG", sz, 64));
    EXPECT_EQ(-123, PROFILE_GetIntEx(strNew.c_str(), L"MAIN", L"WIDTH", 0));

    // An integer without a key is refused rather than taken as "remove the section".
    EXPECT_EQ(0, PROFILE_SetIntEx(strNew.c_str(), L"MAIN", 0, 1));
    EXPECT_EQ(-123, PROFILE_GetIntEx(strNew.c_str(), L"MAIN", L"WIDTH", 0));
}

TEST(Profile, RelativeNamesAreTakenFromTheProgramFolder)
{
    const std::wstring strSub = L"profile_test_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring strDir = ProgramFolder() + strSub;
    ASSERT_TRUE(CreateDirectoryW(strDir.c_str(), 0));
    ASSERT_TRUE(testdir::WriteBytes(strDir + L"\\rel.ini", "[MAIN]\r\nV=41+1\r\n"));

    const std::wstring strRel = strSub + L"\\rel.ini";
    wchar_t sz[16];
    EXPECT_EQ(4, PROFILE_GetStringEx(strRel.c_str(), L"MAIN", L"V", sz, 16));
    EXPECT_EQ(42, PROFILE_GetIntEx(strRel.c_str(), L"MAIN", L"V", 0));
    EXPECT_NE(0, PROFILE_SetIntEx(strRel.c_str(), L"MAIN", L"W", 9));
    EXPECT_EQ(9, PROFILE_GetIntEx((strDir + L"\\rel.ini").c_str(), L"MAIN", L"W", 0));
    testdir::RemoveTree(strDir);
}

TEST(Profile, WithoutANameTheFileIsBesideTheProgram)
{
    std::wstring strIni = ProgramPath();
    strIni = strIni.substr(0, strIni.find_last_of(L'.')) + L".ini";
    if (testdir::IsFile(strIni)) GTEST_SKIP() << "the program's settings file exists already";

    EXPECT_EQ(11, PROFILE_GetInt(L"MAIN", L"X", 11));
    EXPECT_NE(0, PROFILE_SetInt(L"MAIN", L"X", 0x20));
    EXPECT_NE(0, PROFILE_SetString(L"MAIN", L"S", L"a b"));
    EXPECT_TRUE(testdir::IsFile(strIni));
    EXPECT_EQ(32, PROFILE_GetInt(L"MAIN", L"X", 0));
    wchar_t sz[16];
    EXPECT_EQ(3, PROFILE_GetString(L"MAIN", L"S", sz, 16));
    EXPECT_EQ(std::wstring(L"a b"), sz);
    DeleteFileW(strIni.c_str());
}
