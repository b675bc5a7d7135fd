#include "krelwin/module/filecopy.h"

#include <string>

#include <gtest/gtest.h>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace {

class FileCopyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_TRUE(m_dir.MakeDir(L"src"));
        ASSERT_TRUE(m_dir.MakeDir(L"src\\work"));
        ASSERT_TRUE(m_dir.MakeDir(L"src\\work\\data"));
        ASSERT_TRUE(m_dir.Write(L"src\\work\\data\\a.txt", "abc\r\n\x82\xa0"));
        m_strTarget = m_dir.Path(L"src\\work\\data\\a.txt");
        m_strBak = m_dir.Path(L"bak");
    }
    void TearDown() override {
        Module_releaseAll();
        EngineTest::TearDown();
    }
    // The line the dispatcher hands the module.
    std::wstring Line(const std::wstring& _strArgs) const {
        return L"\"" + m_strTarget + L"\" " + _strArgs;
    }
    std::wstring m_strTarget;
    std::wstring m_strBak;
};

TEST_F(FileCopyTest, WithoutRootTextKeepsTheWholeFolderPathBelowTheDestination) {
    FILECOPY cCopy;
    EXPECT_EQ(1, cCopy.Func(Line(m_strBak).c_str()));
    cCopy.Quit(0);
    const std::wstring strDest = m_strBak + m_strTarget.substr(m_strTarget.find(L'\\'));
    std::string strGot;
    ASSERT_TRUE(testdir::ReadBytes(strDest, &strGot));
    EXPECT_EQ("abc\r\n\x82\xa0", strGot);
    EXPECT_EQ(L"copying\r\ncopy a.txt->" + strDest + L"\r\n", Log());
}

TEST_F(FileCopyTest, RootTextCutsThePathAfterItsFirstPlaceIgnoringCase) {
    std::wstring strLower = m_dir.Path(L"SRC\\Work");
    for (wchar_t& c : strLower) c = (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c;
    std::wstring strUpper = m_dir.Path(L"src\\work");
    STRING_upper(&strUpper[0]);
    const std::wstring aRoot[] = {m_dir.Path(L"src\\work"), strLower, strUpper, m_dir.Path(L"src\\work\\")};
    for (const std::wstring& strRoot : aRoot) {
        SCOPED_TRACE(strRoot);
        testdir::RemoveTree(m_strBak);
        Message_clear();
        FILECOPY cCopy;
        EXPECT_EQ(1, cCopy.Func(Line(m_strBak + L" -r" + strRoot).c_str()));
        EXPECT_EQ("abc\r\n\x82\xa0", m_dir.Read(L"bak\\data\\a.txt"));
        EXPECT_EQ(L"copying\r\ncopy a.txt->" + m_dir.Path(L"bak\\data\\a.txt") + L"\r\n", Log());
    }
}

TEST_F(FileCopyTest, RootTextNotInThePathWritesTheDestinationRootItself) {
    FILECOPY cCopy;
    EXPECT_EQ(1, cCopy.Func(Line(m_strBak + L" -rZ:\\elsewhere").c_str()));
    EXPECT_TRUE(m_dir.IsFile(L"bak"));
    EXPECT_EQ("abc\r\n\x82\xa0", m_dir.Read(L"bak"));
}

TEST_F(FileCopyTest, QuotedDestinationMayHoldBlanks) {
    FILECOPY cCopy;
    EXPECT_EQ(1, cCopy.Func(Line(L"\"" + m_dir.Path(L"my bak") + L"\" -r" + m_dir.Path(L"src")).c_str()));
    EXPECT_EQ("abc\r\n\x82\xa0", m_dir.Read(L"my bak\\work\\data\\a.txt"));
}

TEST_F(FileCopyTest, RelativeTargetIsTakenFromTheCurrentFolder) {
    // The fixture's current folder is the test folder, as a batch's folder is during a run.
    m_strTarget = L"src\\work\\data\\a.txt";
    FILECOPY cCopy;
    EXPECT_EQ(1, cCopy.Func(Line(m_strBak + L" -r" + m_dir.Path(L"src")).c_str()));
    EXPECT_EQ("abc\r\n\x82\xa0", m_dir.Read(L"bak\\work\\data\\a.txt"));
    const std::wstring strFull = m_dir.Path(L"src\\work\\data\\a.txt");
    EXPECT_EQ(1, cCopy.Func(Line(m_strBak).c_str()));
    std::string strGot;
    EXPECT_TRUE(testdir::ReadBytes(m_strBak + strFull.substr(strFull.find(L'\\')), &strGot));
    EXPECT_EQ("abc\r\n\x82\xa0", strGot);
}

TEST_F(FileCopyTest, KeepsTheLastWriteTime) {
    TIME_INFO stOld = {};
    stOld.wYear = 2019;
    stOld.byMonth = 3;
    stOld.byDay = 14;
    stOld.byHour = 15;
    stOld.byMinute = 9;
    stOld.bySecond = 26;
    ASSERT_EQ(1, FILE_SetTime(m_strTarget.c_str(), &stOld));
    FILECOPY cCopy;
    ASSERT_EQ(1, cCopy.Func(Line(m_strBak + L" -r" + m_dir.Path(L"src")).c_str()));
    TIME_INFO stSrc = {}, stDst = {};
    ASSERT_EQ(1, FILE_GetTime(m_strTarget.c_str(), &stSrc));
    ASSERT_EQ(1, FILE_GetTime(m_dir.Path(L"bak\\work\\data\\a.txt").c_str(), &stDst));
    EXPECT_EQ(0, std::memcmp(&stSrc, &stDst, sizeof stSrc));
    EXPECT_EQ(2019, stDst.wYear);
    EXPECT_EQ(26, stDst.bySecond);
}

TEST_F(FileCopyTest, RefusalsLeaveTheFilesAloneWithAClearLine) {
    FILECOPY cCopy;
    // No destination: nothing but the announcement.
    EXPECT_EQ(0, cCopy.Func(Line(L"").c_str()));
    EXPECT_EQ(L"copying\r\n", Log());

    // A missing target.
    Message_clear();
    m_strTarget = m_dir.Path(L"src\\gone.txt");
    EXPECT_EQ(0, cCopy.Func(Line(m_strBak).c_str()));
    EXPECT_EQ(L"not found. gone.txt\r\n", Log());
    EXPECT_FALSE(m_dir.IsDir(L"bak"));

    // The destination is the target itself (a bare drive as the root).
    Message_clear();
    m_strTarget = m_dir.Path(L"src\\work\\data\\a.txt");
    EXPECT_EQ(0, cCopy.Func(Line(m_strTarget.substr(0, 2)).c_str()));
    EXPECT_EQ(L"copy failed. " + m_strTarget + L"\r\n", Log());
    EXPECT_EQ("abc\r\n\x82\xa0", m_dir.Read(L"src\\work\\data\\a.txt"));

    // The destination cannot be written (its folder would sit below a file): no copy line.
    Message_clear();
    ASSERT_TRUE(m_dir.Write(L"bak", "keep"));
    EXPECT_EQ(0, cCopy.Func(Line(m_strBak + L" -r" + m_dir.Path(L"src")).c_str()));
    EXPECT_EQ(L"copy failed. " + m_dir.Path(L"bak\\work\\data\\a.txt") + L"\r\n", Log());
    EXPECT_EQ("keep", m_dir.Read(L"bak"));
}

TEST_F(FileCopyTest, DestinationTooLongForAPathIsRefused) {
    FILECOPY cCopy;
    const std::wstring strRoot = m_dir.Path(std::wstring(250, L'b'));
    EXPECT_EQ(0, cCopy.Func(Line(strRoot).c_str()));
    EXPECT_EQ(L"copying\r\ncopy failed. " + strRoot + L"\\a.txt\r\n", Log());
}

TEST_F(FileCopyTest, DispatcherAnnouncesOncePerProgramLife) {
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"COPY";
    stLine.m_strParam = m_strBak + L" -r" + m_dir.Path(L"src\\work");
    Command_exec(stLine, m_strTarget.c_str());
    Command_quit(0);
    ASSERT_TRUE(m_dir.Write(L"src\\work\\b.bin", std::string("\0\1", 2)));
    Command_exec(stLine, m_dir.Path(L"src\\work\\b.bin").c_str());
    Command_quit(1);
    EXPECT_EQ(std::string("\0\1", 2), m_dir.Read(L"bak\\b.bin"));
    EXPECT_EQ(L"copying\r\ncopy a.txt->" + m_dir.Path(L"bak\\data\\a.txt") + L"\r\ncopy b.bin->" +
                  m_dir.Path(L"bak\\b.bin") + L"\r\n",
              Log());
}

}  // namespace
