// Whole files, text files, handles, folders, attributes, times and searches.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "tests/support/testdir.h"

namespace {

TEST(FileWhole, WriteSizeReadAndAppend) {
    testdir::TestDir dir;
    std::wstring path = dir.Path(L"w.bin");
    EXPECT_EQ(0, FILE_IsExist(path.c_str()));
    EXPECT_EQ(0, FILE_GetSize(path.c_str()));
    EXPECT_EQ(3, FILE_WriteMerge(path.c_str(), "abc", 3));  // created when missing
    EXPECT_EQ(2, FILE_WriteMerge(path.c_str(), "de", 2));
    EXPECT_EQ("abcde", dir.Read(L"w.bin"));
    EXPECT_EQ(1, FILE_IsExist(path.c_str()));
    EXPECT_EQ(5, FILE_GetSize(path.c_str()));
    char buf[5];
    EXPECT_EQ(5, FILE_Read(path.c_str(), buf));
    EXPECT_EQ("abcde", std::string(buf, 5));

    EXPECT_EQ(2, FILE_Write(path.c_str(), "xy", 2));  // emptied first
    EXPECT_EQ("xy", dir.Read(L"w.bin"));
    // Size 0 touches nothing: neither an existing nor a missing file.
    EXPECT_EQ(0, FILE_Write(path.c_str(), "zz", 0));
    EXPECT_EQ(0, FILE_WriteMerge(path.c_str(), "zz", 0));
    EXPECT_EQ("xy", dir.Read(L"w.bin"));
    EXPECT_EQ(0, FILE_Write(dir.Path(L"none.bin").c_str(), "zz", 0));
    EXPECT_FALSE(dir.IsFile(L"none.bin"));

    ASSERT_TRUE(dir.Write(L"empty.bin", ""));
    EXPECT_EQ(1, FILE_IsExist(dir.Path(L"empty.bin").c_str()));
    EXPECT_EQ(0, FILE_Read(dir.Path(L"empty.bin").c_str(), buf));
    EXPECT_EQ(0, FILE_Read(dir.Path(L"missing.bin").c_str(), buf));
}

TEST(FileWhole, FilesHeldOpenElsewhereCannotBeReadOrWritten) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"held.txt", "abc"));
    std::wstring path = dir.Path(L"held.txt");
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    char buf[3];
    EXPECT_EQ(0, FILE_Read(path.c_str(), buf));
    EXPECT_EQ(0, FILE_Write(path.c_str(), "x", 1));
    EXPECT_EQ(0, FILE_IsExist(path.c_str()));
    CloseHandle(h);
    EXPECT_EQ("abc", dir.Read(L"held.txt"));
}

TEST(FileWhole, MemTargetReadHandsOutABlockOrNull) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"a.bin", "hello"));
    ASSERT_TRUE(dir.Write(L"e.bin", ""));
    unsigned char* block = nullptr;
    EXPECT_EQ(5, mem_TargetRead(&block, dir.Path(L"a.bin").c_str()));
    ASSERT_NE(nullptr, block);
    EXPECT_EQ("hello", std::string(reinterpret_cast<char*>(block), 5));
    MEM_free(&block);
    for (const wchar_t* name : {L"e.bin", L"missing.bin"}) {
        EXPECT_EQ(0, mem_TargetRead(&block, dir.Path(name).c_str())) << "case " << name;
        EXPECT_EQ(nullptr, block) << "case " << name;
    }
}

TEST(FileText, WriteInTheCodePageOrInUtf16) {
    testdir::TestDir dir;
    struct Row {
        const char* name;
        const wchar_t* text;
        int unicode;
        int result;
        std::string bytes;
    } rows[] = {
        {"ascii", L"ab", 0, 2, "ab"},
        {"utf-16", L"ab", 1, 4, std::string("a\0b\0", 4)},
        {"kana", L"\u3042\r\n", 0, 4, "\x82\xa0\r\n"},
        {"mark dropped", L"\ufeffab", 0, 2, "ab"},
        {"mark kept in utf-16", L"\ufeffa", 1, 4, std::string("\xff\xfe" "a\0", 4)},
    };
    for (const Row& row : rows) {
        std::wstring path = dir.Path(L"t.txt");
        EXPECT_EQ(row.result, FILE_TextWrite(path.c_str(), row.text, row.unicode)) << "case " << row.name;
        EXPECT_EQ(row.bytes, dir.Read(L"t.txt")) << "case " << row.name;
    }
}

TEST(FileText, EmptyTextLeavesTheFileAlone) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"keep.txt", "old"));
    for (const wchar_t* text : {L"", static_cast<const wchar_t*>(nullptr)}) {
        for (int unicode : {0, 1}) {
            EXPECT_EQ(0, FILE_TextWrite(dir.Path(L"keep.txt").c_str(), text, unicode));
            EXPECT_EQ(0, FILE_TextWriteMerge(dir.Path(L"keep.txt").c_str(), text, unicode));
            EXPECT_EQ(0, FILE_TextWrite(dir.Path(L"new.txt").c_str(), text, unicode));
        }
    }
    EXPECT_EQ("old", dir.Read(L"keep.txt"));
    EXPECT_FALSE(dir.IsFile(L"new.txt"));
}

TEST(FileText, AppendsAndReadsBack) {
    testdir::TestDir dir;
    std::wstring path = dir.Path(L"log.txt");
    EXPECT_EQ(3, FILE_TextWriteMerge(path.c_str(), L"a\u3042", 0));
    EXPECT_EQ(2, FILE_TextWriteMerge(path.c_str(), L"b", 1));
    EXPECT_EQ(1, FILE_puts(path.c_str(), L"\u3044"));
    EXPECT_EQ(1, FILE_printf(path.c_str(), L"%s=%d", L"n", 12));
    EXPECT_EQ(std::string("a\x82\xa0" "b\0\x82\xa2n=12", 11), dir.Read(L"log.txt"));

    ASSERT_TRUE(dir.Write(L"sjis.txt", "x\x82\xa0\r\n"));
    wchar_t out[16];
    EXPECT_EQ(4, FILE_TextRead(dir.Path(L"sjis.txt").c_str(), out));
    EXPECT_EQ(std::wstring(L"x\u3042\r\n"), std::wstring(out));
    EXPECT_EQ(0, FILE_TextRead(dir.Path(L"missing.txt").c_str(), out));
}

TEST(FileText, PrintfWritesNothingWhenTheTextDoesNotFit) {
    testdir::TestDir dir;
    std::wstring path = dir.Path(L"p.txt");
    std::wstring fits(1023, L'a'), over(1024, L'a');
    EXPECT_EQ(0, FILE_printf(path.c_str(), L"%s", over.c_str()));
    EXPECT_FALSE(dir.IsFile(L"p.txt"));
    EXPECT_EQ(1, FILE_printf(path.c_str(), L"%s", fits.c_str()));
    EXPECT_EQ(1023u, dir.Read(L"p.txt").size());
    // A file that cannot be opened.
    EXPECT_EQ(0, FILE_puts(dir.Path(L"no\\such\\p.txt").c_str(), L"x"));
}

TEST(FileCopy, CopiesIntoAFileOrAFolder) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"src.dat", "payload"));
    ASSERT_TRUE(dir.MakeDir(L"out"));
    EXPECT_EQ(7, FILE_Copy(dir.Path(L"src.dat").c_str(), dir.Path(L"copy.dat").c_str()));
    EXPECT_EQ("payload", dir.Read(L"copy.dat"));
    EXPECT_EQ(7, FILE_Copy(dir.Path(L"src.dat").c_str(), (dir.Path(L"out") + L"\\").c_str()));
    EXPECT_EQ("payload", dir.Read(L"out\\src.dat"));
}

TEST(FileCopy, EmptyAndMissingSources) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"empty.dat", ""));
    ASSERT_TRUE(dir.Write(L"dst.dat", "existing"));
    // An empty source empties the destination and gives 0.
    EXPECT_EQ(0, FILE_Copy(dir.Path(L"empty.dat").c_str(), dir.Path(L"dst.dat").c_str()));
    EXPECT_TRUE(dir.IsFile(L"dst.dat"));
    EXPECT_EQ("", dir.Read(L"dst.dat"));
    // A missing source never empties the destination.
    ASSERT_TRUE(dir.Write(L"dst.dat", "existing"));
    EXPECT_EQ(0, FILE_Copy(dir.Path(L"missing.dat").c_str(), dir.Path(L"dst.dat").c_str()));
    EXPECT_EQ("existing", dir.Read(L"dst.dat"));
    EXPECT_EQ(0, FILE_Copy(dir.Path(L"missing.dat").c_str(), dir.Path(L"new.dat").c_str()));
    EXPECT_FALSE(dir.IsFile(L"new.dat"));
}

TEST(FileCopy, CopyExSetsTheAttributesOfTheWrittenFile) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"src.dat", "x"));
    ASSERT_TRUE(dir.MakeDir(L"out"));
    EXPECT_EQ(1, FILE_CopyEx(dir.Path(L"src.dat").c_str(), (dir.Path(L"out") + L"\\").c_str(), 0x1222));
    EXPECT_TRUE(FILE_GetAttribute(dir.Path(L"out\\src.dat").c_str()) & FILE_ATTR_READONLY);
}

TEST(FileAttribute, MaskFieldsClearSetOrKeepTheSourceBits) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"src", "s"));
    ASSERT_TRUE(dir.Write(L"dst", "d"));
    std::wstring src = dir.Path(L"src"), dst = dir.Path(L"dst");
    // Wine keeps the archive bit on every file, so the test looks at the other three.
    const uint32_t kLook = FILE_ATTR_READONLY | FILE_ATTR_HIDDEN | FILE_ATTR_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(src.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_EQ(FILE_ATTR_HIDDEN | FILE_ATTR_SYSTEM, FILE_GetAttribute(src.c_str()) & kLook);
    struct Row {
        int mask;
        uint32_t expected;
    } rows[] = {
        {0x2222, FILE_ATTR_HIDDEN | FILE_ATTR_SYSTEM},
        {0x0000, 0},
        {0x1222, FILE_ATTR_READONLY | FILE_ATTR_HIDDEN | FILE_ATTR_SYSTEM},
        {0x2022, FILE_ATTR_SYSTEM},
        {0x2202, FILE_ATTR_HIDDEN},
        {0x21F1, FILE_ATTR_HIDDEN | FILE_ATTR_SYSTEM},  // 0xF keeps like 2
    };
    for (const Row& row : rows) {
        SetFileAttributesW(dst.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_NE(0, FILE_SetAttribute(src.c_str(), dst.c_str(), row.mask)) << std::hex << row.mask;
        EXPECT_EQ(row.expected, FILE_GetAttribute(dst.c_str()) & kLook) << std::hex << row.mask;
    }
    SetFileAttributesW(dst.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A source without attributes gives nothing to start from.
    EXPECT_EQ(0, FILE_SetAttribute(dir.Path(L"missing").c_str(), dst.c_str(), 0x1111));
    EXPECT_EQ(0u, FILE_GetAttribute(dst.c_str()) & kLook);
    EXPECT_EQ(FILE_ATTR_INVALID, FILE_GetAttribute(dir.Path(L"missing").c_str()));
}

TEST(FileHandle, OpenCreateSeekReadWrite) {
    testdir::TestDir dir;
    std::wstring path = dir.Path(L"h.bin");
    EXPECT_EQ(FILE_INVALID_HANDLE, FILE_Open(path.c_str(), 0));  // must exist
    FILE_HANDLE h = FILE_OpenWrite(path.c_str());                // created
    ASSERT_NE(FILE_INVALID_HANDLE, h);
    uint32_t done = 0;
    EXPECT_NE(0, FILE_HdWrite(h, "0123456789", 10, &done));
    EXPECT_EQ(10u, done);
    // A second open fails while the file is held.
    EXPECT_EQ(FILE_INVALID_HANDLE, FILE_Open(path.c_str(), 0));
    EXPECT_NE(0, FILE_HdClose(h));

    h = FILE_OpenWrite(path.c_str());  // never emptied
    ASSERT_NE(FILE_INVALID_HANDLE, h);
    EXPECT_EQ(10u, FILE_HdSeek(h, 0, 2));
    EXPECT_EQ(4u, FILE_HdSeek(h, 4, 0));
    EXPECT_EQ(6u, FILE_HdSeek(h, 2, 1));
    EXPECT_EQ(7u, FILE_HdSeek(h, -3, 2));
    char buf[8] = {0};
    EXPECT_NE(0, FILE_HdRead(h, buf, 8, &done));
    EXPECT_EQ(3u, done);
    EXPECT_EQ("789", std::string(buf, 3));
    FILE_HdClose(h);

    h = FILE_Create(path.c_str());  // emptied
    ASSERT_NE(FILE_INVALID_HANDLE, h);
    FILE_HdClose(h);
    EXPECT_EQ("", dir.Read(L"h.bin"));
}

TEST(FileFolder, MakeDirectoryCreatesEveryLevelOfTheFolderPart) {
    testdir::TestDir dir;
    EXPECT_EQ(1, FILE_MakeDirectory(dir.Path(L"a\\b\\c.txt").c_str()));
    EXPECT_TRUE(dir.IsDir(L"a"));
    EXPECT_TRUE(dir.IsDir(L"a\\b"));
    EXPECT_FALSE(dir.IsDir(L"a\\b\\c.txt") || dir.IsFile(L"a\\b\\c.txt"));
    EXPECT_EQ(1, FILE_MakeDirectory(dir.Path(L"a\\b\\c.txt\\").c_str()));
    EXPECT_TRUE(dir.IsDir(L"a\\b\\c.txt"));
    // Forward slashes mark levels as well.
    EXPECT_EQ(1, FILE_MakeDirectory((dir.Path() + L"/x/y/z.txt").c_str()));
    EXPECT_TRUE(dir.IsDir(L"x\\y"));
    // A file in the way is not a folder: creating fails and is not reported.
    ASSERT_TRUE(dir.Write(L"f", ""));
    EXPECT_EQ(1, FILE_MakeDirectory(dir.Path(L"f\\g\\h").c_str()));
    EXPECT_TRUE(dir.IsFile(L"f"));
}

TEST(FileFolder, CurrentAndModuleFolders) {
    testdir::TestDir dir;
    wchar_t before[FILE_PATH_LENGTH];
    ASSERT_GT(FILE_GetCurrentDirectory(before, 0), 0);
    EXPECT_NE(0, FILE_SetCurrentDirectory(dir.Path().c_str()));
    wchar_t now[FILE_PATH_LENGTH];
    EXPECT_EQ(static_cast<int>(dir.Path().size()), FILE_GetCurrentDirectory(now, FILE_PATH_LENGTH));
    EXPECT_EQ(0, lstrcmpiW(dir.Path().c_str(), now));
    FILE_SetCurrentDirectory(before);

    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.resize(folder.find_last_of(L'\\') + 1);
    wchar_t got[FILE_PATH_LENGTH];
    EXPECT_EQ(static_cast<int>(folder.size()), FILE_GetModuleDirectory(got, 0));
    EXPECT_EQ(folder, std::wstring(got));
    EXPECT_EQ(static_cast<int>(folder.size()),
              FILE_GetModuleDirectory(got, static_cast<int>(folder.size()) + 1));
    got[0] = L'q';
    got[1] = 0;
    EXPECT_EQ(0, FILE_GetModuleDirectory(got, 5));
    EXPECT_EQ(0, FILE_GetModuleDirectory(got, static_cast<int>(folder.size())));
    EXPECT_EQ(std::wstring(L"q"), std::wstring(got));
}

TEST(FileFolder, DriveTypes) {
    EXPECT_EQ(static_cast<int>(DRIVE_FIXED), FILE_GetDriveType('C'));
    DWORD used = GetLogicalDrives();
    for (char c = 'Z'; c >= 'D'; --c)
        if (!(used & (1u << (c - 'A')))) {
            EXPECT_EQ(static_cast<int>(DRIVE_NO_ROOT_DIR), FILE_GetDriveType(c)) << c;
            break;
        }
}

std::set<std::wstring> Listing(const std::wstring& pattern) {
    std::set<std::wstring> names;
    FILE_HANDLE h = FILE_INVALID_HANDLE;
    FIND_INFO info;
    if (FILE_FindFirst(pattern.c_str(), &h, &info)) {
        do names.insert(info.szName);
        while (FILE_FindNext(h, &info));
        FILE_FindClose(h);
    }
    return names;
}

TEST(FileFind, ListsDotEntriesLikeAnyOther) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"a.txt", "1234"));
    ASSERT_TRUE(dir.MakeDir(L"sub"));
    EXPECT_EQ((std::set<std::wstring>{L".", L"..", L"a.txt", L"sub"}), Listing(dir.Path(L"*.*")));

    FILE_HANDLE h = nullptr;
    FIND_INFO info;
    ASSERT_EQ(1, FILE_FindFirst(dir.Path(L"a.txt").c_str(), &h, &info));
    EXPECT_EQ(4u, info.dwSize);
    EXPECT_FALSE(info.dwAttribute & FILE_ATTR_FOLDER);
    EXPECT_EQ(0, FILE_FindNext(h, &info));
    FILE_FindClose(h);
    EXPECT_EQ(0, FILE_FindFirst(dir.Path(L"*.none").c_str(), &h, &info));
    EXPECT_EQ(FILE_INVALID_HANDLE, h);
}

TEST(FileDelete, DeleteTreeRemovesFilesAndSubfolders) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"t"));
    ASSERT_TRUE(dir.MakeDir(L"t\\s"));
    ASSERT_TRUE(dir.MakeDir(L"t\\s\\deep"));
    ASSERT_TRUE(dir.Write(L"t\\a.txt", "a"));
    ASSERT_TRUE(dir.Write(L"t\\s\\b.txt", "b"));
    ASSERT_TRUE(dir.Write(L"t\\s\\deep\\c", "c"));
    EXPECT_EQ(1, FILE_DeleteTree(dir.Path(L"t").c_str()));
    EXPECT_FALSE(dir.IsDir(L"t"));
    EXPECT_EQ(0, FILE_DeleteTree(dir.Path(L"t").c_str()));
}

TEST(FileDelete, DeleteTreeStopsAtAFileItCannotDelete) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"t"));
    ASSERT_TRUE(dir.Write(L"t\\locked.txt", "x"));
    ASSERT_TRUE(SetFileAttributesW(dir.Path(L"t\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, FILE_DeleteTree(dir.Path(L"t").c_str()));
    EXPECT_TRUE(dir.IsFile(L"t\\locked.txt"));
    EXPECT_TRUE(dir.IsDir(L"t"));
}

TEST(FileDelete, DeleteTreeLeavesDotFolders) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"t"));
    ASSERT_TRUE(dir.MakeDir(L"t\\.keep"));
    ASSERT_TRUE(dir.Write(L"t\\.keep\\k", "k"));
    ASSERT_TRUE(dir.Write(L"t\\a", "a"));
    EXPECT_EQ(0, FILE_DeleteTree(dir.Path(L"t").c_str()));  // the folder is not empty
    EXPECT_TRUE(dir.IsFile(L"t\\.keep\\k"));
    EXPECT_FALSE(dir.IsFile(L"t\\a"));
}

TEST(FileDelete, DeleteTreeNeverFollowsALinkOutOfTheTree) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"outside"));
    ASSERT_TRUE(dir.Write(L"outside\\precious.txt", "keep"));
    ASSERT_TRUE(dir.MakeDir(L"t"));
    ASSERT_TRUE(dir.Write(L"t\\a.txt", "a"));
    if (!testdir::MakeFolderLink(dir.Path(L"t\\link"), dir.Path(L"outside")))
        GTEST_SKIP() << "folder links cannot be made here";
    FILE_DeleteTree(dir.Path(L"t").c_str());  // Wine cannot remove a host link: the result may be 0
    EXPECT_EQ("keep", dir.Read(L"outside\\precious.txt"));
    EXPECT_FALSE(dir.IsFile(L"t\\a.txt"));
    // The tree given as a link itself is removed, not emptied.
    if (!testdir::MakeFolderLink(dir.Path(L"top"), dir.Path(L"outside"))) return;
    FILE_DeleteTree(dir.Path(L"top").c_str());
    EXPECT_EQ("keep", dir.Read(L"outside\\precious.txt"));
}

TEST(FileDelete, DeleteDirectoryLeavesTheCurrentFolderFirst) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"cur"));
    ASSERT_TRUE(dir.Write(L"cur\\f", "f"));
    wchar_t before[FILE_PATH_LENGTH];
    FILE_GetCurrentDirectory(before, 0);
    ASSERT_NE(0, FILE_SetCurrentDirectory(dir.Path(L"cur").c_str()));
    EXPECT_EQ(1, FILE_DeleteDirectory(dir.Path(L"cur").c_str()));
    EXPECT_FALSE(dir.IsDir(L"cur"));
    wchar_t now[FILE_PATH_LENGTH];
    FILE_GetCurrentDirectory(now, 0);
    EXPECT_EQ(0, lstrcmpiW(dir.Path().c_str(), now));
    FILE_SetCurrentDirectory(before);
}

TEST(FileDelete, DeleteAndMove) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"a", "a"));
    ASSERT_TRUE(dir.MakeDir(L"sub"));
    EXPECT_NE(0, FILE_Move(dir.Path(L"a").c_str(), dir.Path(L"sub\\b").c_str()));
    EXPECT_EQ("a", dir.Read(L"sub\\b"));
    EXPECT_NE(0, FILE_Delete(dir.Path(L"sub\\b").c_str()));
    EXPECT_FALSE(dir.IsFile(L"sub\\b"));
    EXPECT_EQ(0, FILE_Delete(dir.Path(L"sub\\b").c_str()));
    EXPECT_NE(0, FILE_RemoveDirectory(dir.Path(L"sub").c_str()));
    EXPECT_NE(0, FILE_CreateDirectory(dir.Path(L"sub").c_str()));
    EXPECT_EQ(0, FILE_CreateDirectory(dir.Path(L"sub").c_str()));
}

TEST(FileDelete, ReplaceTakesThePlaceOfAFileInOneStepOrLeavesBoth) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"new", "new"));
    ASSERT_TRUE(dir.Write(L"old", "old"));
    EXPECT_EQ(1, FILE_Replace(dir.Path(L"new").c_str(), dir.Path(L"old").c_str()));
    EXPECT_EQ("new", dir.Read(L"old"));
    EXPECT_FALSE(dir.IsFile(L"new"));
    ASSERT_TRUE(dir.Write(L"new", "newer"));
    EXPECT_EQ(1, FILE_Replace(dir.Path(L"new").c_str(), dir.Path(L"none").c_str())) << "no file in the place";
    EXPECT_EQ("newer", dir.Read(L"none"));
    ASSERT_TRUE(dir.Write(L"new", "new"));
    ASSERT_TRUE(dir.MakeDir(L"folder"));
    EXPECT_EQ(0, FILE_Replace(dir.Path(L"new").c_str(), dir.Path(L"folder").c_str()));
    EXPECT_TRUE(dir.IsDir(L"folder"));
    EXPECT_EQ("new", dir.Read(L"new"));
    EXPECT_EQ(0, FILE_Replace(dir.Path(L"gone").c_str(), dir.Path(L"old").c_str()));
    EXPECT_EQ("new", dir.Read(L"old"));
    EXPECT_EQ(0, FILE_Replace(nullptr, L"x"));
    EXPECT_EQ(0, FILE_Replace(L"x", nullptr));
}

TEST(FileDelete, MakeTempCreatesEmptyFilesOfNamesOfTheirOwn) {
    testdir::TestDir dir;
    wchar_t a[FILE_PATH_LENGTH], b[FILE_PATH_LENGTH];
    ASSERT_EQ(1, FILE_MakeTemp(dir.Path().c_str(), a));
    ASSERT_EQ(1, FILE_MakeTemp((dir.Path() + L"\\").c_str(), b));
    EXPECT_NE(std::wstring(a), std::wstring(b));
    for (const wchar_t* p : {a, b}) {
        const std::wstring path = p;
        EXPECT_EQ(0, lstrcmpiW(dir.Path().c_str(), path.substr(0, path.rfind(L'\\')).c_str())) << "in the folder";
        EXPECT_TRUE(testdir::IsFile(path));
        EXPECT_EQ(0, FILE_GetSize(p));
    }
    wchar_t c[FILE_PATH_LENGTH] = L"stale";
    EXPECT_EQ(0, FILE_MakeTemp(dir.Path(L"none").c_str(), c)) << "no such folder";
    EXPECT_EQ(0, c[0]);
    EXPECT_EQ(0, FILE_MakeTemp(nullptr, c));
    EXPECT_EQ(0, FILE_MakeTemp(L"x", nullptr));
}

TEST(FileTime, SetAndGetTheLastWriteTimeInLocalTime) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"f", "f"));
    ASSERT_TRUE(dir.MakeDir(L"d"));
    const TIME_INFO set = {2021, 3, 0, 4, 5, 6, 7};  // a Thursday
    for (const wchar_t* name : {L"f", L"d"}) {
        EXPECT_EQ(1, FILE_SetTime(dir.Path(name).c_str(), &set)) << "case " << name;
        TIME_INFO got = {};
        EXPECT_EQ(1, FILE_GetTime(dir.Path(name).c_str(), &got)) << "case " << name;
        EXPECT_EQ(2021, got.wYear);
        EXPECT_EQ(3, got.byMonth);
        EXPECT_EQ(4, got.byWeek);
        EXPECT_EQ(4, got.byDay);
        EXPECT_EQ(5, got.byHour);
        EXPECT_EQ(6, got.byMinute);
        EXPECT_EQ(7, got.bySecond);
    }
    TIME_INFO got = {};
    EXPECT_EQ(0, FILE_GetTime(dir.Path(L"missing").c_str(), &got));
    EXPECT_EQ(0, FILE_GetTime(dir.Path(L"f").c_str(), nullptr));
    EXPECT_EQ(0, FILE_SetTime(dir.Path(L"f").c_str(), nullptr));
    const TIME_INFO bad = {2021, 13, 0, 4, 5, 6, 7};
    EXPECT_EQ(0, FILE_SetTime(dir.Path(L"f").c_str(), &bad));
}

TEST(FileTime, IsNewerComparesModificationTimes) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"old", "o"));
    ASSERT_TRUE(dir.Write(L"new", "n"));
    const TIME_INFO early = {2020, 1, 0, 1, 0, 0, 0}, late = {2022, 1, 0, 1, 0, 0, 0};
    ASSERT_EQ(1, FILE_SetTime(dir.Path(L"old").c_str(), &early));
    ASSERT_EQ(1, FILE_SetTime(dir.Path(L"new").c_str(), &late));
    EXPECT_EQ(1, FILE_IsNewer(dir.Path(L"new").c_str(), dir.Path(L"old").c_str()));
    EXPECT_EQ(0, FILE_IsNewer(dir.Path(L"old").c_str(), dir.Path(L"new").c_str()));
    EXPECT_EQ(0, FILE_IsNewer(dir.Path(L"old").c_str(), dir.Path(L"old").c_str()));
    EXPECT_EQ(0, FILE_IsNewer(dir.Path(L"missing").c_str(), dir.Path(L"old").c_str()));
    EXPECT_EQ(1, FILE_IsNewer(dir.Path(L"old").c_str(), dir.Path(L"missing").c_str()));
}

TEST(FileNull, NullArgumentsGiveTheFailureValue) {
    const wchar_t* none = nullptr;
    char buf[4];
    FIND_INFO info;
    FILE_HANDLE h = nullptr;
    TIME_INFO t = {2021, 1, 0, 1, 0, 0, 0};
    EXPECT_EQ(0, FILE_GetSize(none));
    EXPECT_EQ(0, FILE_IsExist(none));
    EXPECT_EQ(0, FILE_Read(none, buf));
    EXPECT_EQ(0, FILE_Read(L"x", nullptr));
    EXPECT_EQ(0, FILE_Write(none, "a", 1));
    EXPECT_EQ(0, FILE_Write(L"never-written", nullptr, 1));
    EXPECT_EQ(0, FILE_WriteMerge(none, "a", 1));
    EXPECT_EQ(0, FILE_TextRead(none, nullptr));
    EXPECT_EQ(0, FILE_TextWrite(none, L"a", 0));
    EXPECT_EQ(0, FILE_puts(none, L"a"));
    EXPECT_EQ(0, FILE_printf(none, L"a"));
    EXPECT_EQ(0, mem_TargetRead(nullptr, L"x"));
    EXPECT_EQ(0, FILE_Copy(none, L"x"));
    EXPECT_EQ(0, FILE_Copy(L"x", none));
    EXPECT_EQ(FILE_INVALID_HANDLE, FILE_Open(none, 0));
    EXPECT_EQ(FILE_INVALID_HANDLE, FILE_Create(none));
    EXPECT_EQ(0, FILE_GetModuleDirectory(nullptr, 0));
    EXPECT_EQ(0, FILE_GetCurrentDirectory(nullptr, 0));
    EXPECT_EQ(0, FILE_MakeDirectory(none));
    EXPECT_EQ(0, FILE_DeleteTree(none));
    EXPECT_EQ(0, FILE_DeleteDirectory(none));
    EXPECT_EQ(0, FILE_Delete(none));
    EXPECT_EQ(0, FILE_Move(none, L"x"));
    EXPECT_EQ(FILE_ATTR_INVALID, FILE_GetAttribute(none));
    EXPECT_EQ(0, FILE_SetAttribute(none, L"x", 0));
    EXPECT_EQ(0, FILE_SetTime(none, &t));
    EXPECT_EQ(0, FILE_IsNewer(none, L"x"));
    EXPECT_EQ(0, FILE_FindFirst(none, &h, &info));
    EXPECT_EQ(FILE_INVALID_HANDLE, h);
    EXPECT_EQ(0, FILE_FindFirst(L"*", nullptr, &info));
    EXPECT_EQ(0, FILE_FindNext(FILE_INVALID_HANDLE, &info));
    EXPECT_EQ(0, FILE_FindClose(FILE_INVALID_HANDLE));
    EXPECT_EQ(0, MEM_TargetRead(nullptr, L"x"));
    EXPECT_EQ(0, MEM_TargetRead(nullptr, none));
    EXPECT_EQ(0, MEM_TextRead(nullptr, L"x"));
    FILE_split(none, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace
