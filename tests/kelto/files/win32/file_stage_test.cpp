// Writes that fail part-way (a full disk, a quota, a dropped share: the write seam's size
// limit, or a move that fails) leave every file as it was and nothing beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "kelto/files/win32/file.h"
#include "tests/support/testdir.h"

namespace {

// Lifts the seams whatever a test does.
struct Seams {
    ~Seams() {
        FILE_SetWriteLimit(-1);
        FILE_SetMoveFault(0);
    }
};

const std::string kOld(100, 'o');
const std::string kNew(300, 'n');

TEST(FileStage, AFailedWriteLeavesTheOldBytesAndNoNewFile) {
    struct Case {
        const char* name;
        bool existing;  // the file is there before
        long long limit;
        int move;  // the move that fails (0: none)
        std::function<int(const std::wstring&)> write;
    };
    const std::wstring kNewWide(kNew.begin(), kNew.end());
    const Case cases[] = {
        {"write over a file", true, 64, 0, [](const std::wstring& p) { return FILE_Write(p.c_str(), kNew.data(), 300); }},
        {"write a new file", false, 64, 0, [](const std::wstring& p) { return FILE_Write(p.c_str(), kNew.data(), 300); }},
        {"write whose replace fails", true, -1, 1,
         [](const std::wstring& p) { return FILE_Write(p.c_str(), kNew.data(), 300); }},
        {"text over a file", true, 64, 0,
         [&](const std::wstring& p) { return FILE_TextWrite(p.c_str(), kNewWide.c_str(), 0); }},
        {"UTF-16 text over a file", true, 64, 0,
         [&](const std::wstring& p) { return FILE_TextWrite(p.c_str(), kNewWide.c_str(), 1); }},
        {"append to a file", true, 150, 0,
         [](const std::wstring& p) { return FILE_WriteMerge(p.c_str(), kNew.data(), 300); }},
        {"append making a file", false, 150, 0,
         [](const std::wstring& p) { return FILE_WriteMerge(p.c_str(), kNew.data(), 300); }},
        {"text appended", true, 150, 0,
         [&](const std::wstring& p) { return FILE_TextWriteMerge(p.c_str(), kNewWide.c_str(), 0); }},
        {"puts", true, 150, 0, [&](const std::wstring& p) { return FILE_puts(p.c_str(), kNewWide.c_str()); }},
        {"copy over a file", true, 64, 0, [](const std::wstring& p) {
             const std::wstring src = p.substr(0, p.rfind(L'\\')) + L"\\src.bin";
             testdir::WriteBytes(src, kNew);
             const int r = FILE_Copy(src.c_str(), p.c_str());
             DeleteFileW(src.c_str());
             return r;
         }},
    };
    for (const Case& c : cases) {
        testdir::TestDir dir;
        Seams seams;
        if (c.existing) {
            ASSERT_TRUE(dir.Write(L"a.txt", kOld));
        }
        const std::set<std::wstring> before = testdir::Names(dir.Path());
        FILE_SetWriteLimit(c.limit);
        FILE_SetMoveFault(c.move);
        EXPECT_EQ(0, c.write(dir.Path(L"a.txt"))) << c.name;
        FILE_SetWriteLimit(-1);
        FILE_SetMoveFault(0);
        if (c.existing) {
            EXPECT_EQ(kOld, dir.Read(L"a.txt")) << c.name;
        }
        EXPECT_EQ(before, testdir::Names(dir.Path())) << c.name << ": nothing new is left in the folder";
    }
}

TEST(FileStage, WholeWritesReplaceTheFileAndAppendsAddToIt) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"a.txt", kOld));
    EXPECT_EQ(300, FILE_Write(dir.Path(L"a.txt").c_str(), kNew.data(), 300));
    EXPECT_EQ(kNew, dir.Read(L"a.txt"));
    EXPECT_EQ(3, FILE_WriteMerge(dir.Path(L"a.txt").c_str(), "end", 3));
    EXPECT_EQ(kNew + "end", dir.Read(L"a.txt"));
    EXPECT_EQ(std::set<std::wstring>{L"a.txt"}, testdir::Names(dir.Path()));
    // A read-only file is not written, as the platform refuses it (under Wine as root it would not).
    ASSERT_TRUE(SetFileAttributesW(dir.Path(L"a.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, FILE_Write(dir.Path(L"a.txt").c_str(), "x", 1));
    EXPECT_EQ(kNew + "end", dir.Read(L"a.txt"));
    SetFileAttributesW(dir.Path(L"a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    // No folder: nothing is made.
    EXPECT_EQ(0, FILE_Write(dir.Path(L"none\\a.txt").c_str(), "x", 1));
    EXPECT_FALSE(dir.IsDir(L"none"));
}

TEST(FileStage, AStageCommittedLateOrNeverTouchesTheTargetOnlyAtTheEnd) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"a.txt", kOld));
    {
        CFileStage stage;
        ASSERT_EQ(1, stage.Open(dir.Path(L"a.txt").c_str()));
        EXPECT_EQ(1, stage.Write("abc", 3));
        EXPECT_EQ(kOld, dir.Read(L"a.txt")) << "untouched while staged";
        EXPECT_EQ(2u, testdir::Names(dir.Path()).size());
    }
    EXPECT_EQ(kOld, dir.Read(L"a.txt")) << "a stage that goes uncommitted";
    EXPECT_EQ(std::set<std::wstring>{L"a.txt"}, testdir::Names(dir.Path()));

    CFileStage stage;
    ASSERT_EQ(1, stage.Open(dir.Path(L"a.txt").c_str()));
    EXPECT_EQ(1, stage.Finish());
    EXPECT_EQ(1, stage.Commit()) << "an empty file replaces the old one";
    EXPECT_EQ("", dir.Read(L"a.txt"));
    EXPECT_TRUE(dir.IsFile(L"a.txt"));
    EXPECT_EQ(0, stage.Commit()) << "once";
    EXPECT_EQ(std::set<std::wstring>{L"a.txt"}, testdir::Names(dir.Path()));
}

TEST(FileTemp, NamesFitLongFoldersAndNeverTakeAnExistingFile) {
    // Folders of 249 characters and more, where the platform's temporary names give out.
    for (size_t length : {249u, 252u}) {
        testdir::TestDir dir;
        const std::wstring folder = testdir::MakeLongFolder(dir.Path(), length);
        ASSERT_EQ(length, folder.size());
        wchar_t temp[FILE_PATH_LENGTH];
        ASSERT_EQ(1, FILE_MakeTemp(folder.c_str(), temp)) << length;
        EXPECT_LT(wcslen(temp), static_cast<size_t>(FILE_PATH_LENGTH));
        EXPECT_TRUE(testdir::IsFile(temp));
        DeleteFileW(temp);
        const std::wstring target = folder + L"\\s.csv";
        ASSERT_TRUE(testdir::WriteBytes(target, kOld));
        EXPECT_EQ(3, FILE_Write(target.c_str(), "new", 3)) << length;
        std::string bytes;
        ASSERT_TRUE(testdir::ReadBytes(target, &bytes));
        EXPECT_EQ("new", bytes);
        EXPECT_EQ(std::set<std::wstring>{L"s.csv"}, testdir::Names(folder));
    }
    // A folder that leaves room for two characters has 16 names; all taken, none is made.
    testdir::TestDir full;
    const std::wstring folder = testdir::MakeLongFolder(full.Path(), FILE_PATH_LENGTH - 4);
    ASSERT_EQ(static_cast<size_t>(FILE_PATH_LENGTH - 4), folder.size());
    for (const wchar_t c : std::wstring(L"0123456789ABCDEF"))
        ASSERT_TRUE(testdir::WriteBytes(folder + L"\\~" + c, "keep"));
    wchar_t temp[FILE_PATH_LENGTH] = L"stale";
    EXPECT_EQ(0, FILE_MakeTemp(folder.c_str(), temp));
    EXPECT_EQ(0, temp[0]);
    EXPECT_EQ(0, FILE_Write((folder + L"\\ab").c_str(), "x", 1));
    EXPECT_EQ(16u, testdir::Names(folder).size());
    for (const wchar_t c : std::wstring(L"0123456789ABCDEF")) {
        std::string bytes;
        ASSERT_TRUE(testdir::ReadBytes(folder + L"\\~" + c, &bytes));
        EXPECT_EQ("keep", bytes);
    }
}

} // namespace
