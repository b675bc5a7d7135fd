// The target file list: scans, duplicates, extensions, the progress callback.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kelto/files/filelist.h"
#include "tests/support/testdir.h"

namespace {

std::vector<std::wstring> Paths(const CFileList& list) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < list.GetCount(); ++i) paths.push_back(list.GetPath(i));
    return paths;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(CFileList, SubfolderFilesComeBeforeTheFolderOwn) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"data"));
    ASSERT_TRUE(dir.MakeDir(L"data\\sub"));
    ASSERT_TRUE(dir.Write(L"data\\a.txt", "a"));
    ASSERT_TRUE(dir.Write(L"data\\sub\\b.txt", "b"));
    CFileList list;
    list.SetSearchSub(1);
    EXPECT_EQ(1, list.Add(dir.Path(L"data").c_str()));
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"data\\sub\\b.txt"), dir.Path(L"data\\a.txt")}), Paths(list));
    EXPECT_EQ(dir.Path(L"data\\sub"), list.GetDir(0));
    EXPECT_EQ(dir.Path(L"data"), list.GetDir(1));
    EXPECT_EQ(L"", list.GetDir(2));
    EXPECT_EQ(L"b.txt", list.GetName(0));

    // Without the flag only the folder's own files.
    CFileList flat;
    flat.Add((dir.Path(L"data") + L"\\").c_str());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"data\\a.txt")}), Paths(flat));
}

TEST(CFileList, DuplicatesAreRefused) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"data"));
    ASSERT_TRUE(dir.Write(L"data\\a.txt", "a"));
    CFileList list;
    list.Add(dir.Path(L"data\\a.txt").c_str());
    list.Add(dir.Path(L"data\\a.txt").c_str());
    EXPECT_EQ(1, list.GetCount());
    list.Add(dir.Path(L"data\\*.txt").c_str());
    EXPECT_EQ(1, list.GetCount());
}

// A file is one entry whatever its spelling: full paths compare, case folded as the file
// system folds it. The entry keeps the spelling that came first.
TEST(CFileList, AFileNamedTwiceInTwoSpellingsIsOneEntry) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"data"));
    ASSERT_TRUE(dir.Write(L"data\\a.txt", "a"));
    ASSERT_TRUE(dir.Write(L"b.txt", "b"));
    struct Row {
        const wchar_t* name;
        std::wstring first, second;
    };
    const Row rows[] = {
        {L"relative and dot", L"b.txt", L".\\b.txt"},
        {L"relative and full", L"data\\a.txt", dir.Path(L"data\\a.txt")},
        {L"folder line and file line", L"data", L".\\data\\a.txt"},
        {L"file line and pattern", L"data\\a.txt", dir.Path(L"DATA\\*.txt")},
        {L"other case", dir.Path(L"data\\a.txt"), dir.Path(L"DATA\\A.TXT")},
        {L"through the parent", L"data\\a.txt", L"data\\..\\data\\a.txt"},
    };
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    for (const Row& row : rows) {
        CFileList list;
        list.Add(row.first.c_str());
        list.Add(row.second.c_str());
        EXPECT_EQ(1, list.GetCount()) << "case " << row.name;
        const std::wstring path = list.GetPath(0);
        EXPECT_TRUE(path == row.first || path == row.first + L"\\a.txt") << "case " << row.name;
    }
    // Other files stay apart.
    CFileList list;
    list.Add(L"b.txt");
    list.Add(L"data\\a.txt");
    list.Add(L"data");
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"data\\a.txt"}), Paths(list));
    SetCurrentDirectoryW(before);
}

TEST(CFileList, PatternAppliesInEverySubfolder) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"d"));
    ASSERT_TRUE(dir.MakeDir(L"d\\s1"));
    ASSERT_TRUE(dir.MakeDir(L"d\\s1\\deep"));
    ASSERT_TRUE(dir.MakeDir(L"d\\s2"));
    for (const wchar_t* name : {L"d\\a.txt", L"d\\a.bmp", L"d\\s1\\b.txt", L"d\\s1\\b.dat", L"d\\s1\\deep\\c.txt",
                                L"d\\s2\\e.txt", L"d\\s2\\noext"})
        ASSERT_TRUE(dir.Write(name, "x"));
    CFileList list;
    list.SetSearchSub(1);
    list.Add(dir.Path(L"d\\*.txt").c_str());
    std::vector<std::wstring> paths = Paths(list);
    EXPECT_EQ(Sorted({dir.Path(L"d\\a.txt"), dir.Path(L"d\\s1\\b.txt"), dir.Path(L"d\\s1\\deep\\c.txt"),
                      dir.Path(L"d\\s2\\e.txt")}),
              Sorted(paths));
    // Whatever the host's order of subfolders, the folder's own file comes last
    // and a subfolder's deeper files come before its own.
    ASSERT_EQ(4u, paths.size());
    EXPECT_EQ(dir.Path(L"d\\a.txt"), paths.back());
    auto at = [&](const std::wstring& p) { return std::find(paths.begin(), paths.end(), p) - paths.begin(); };
    EXPECT_LT(at(dir.Path(L"d\\s1\\deep\\c.txt")), at(dir.Path(L"d\\s1\\b.txt")));
}

TEST(CFileList, DotNamesAreNeverListedOrEntered) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"d"));
    ASSERT_TRUE(dir.MakeDir(L"d\\.git"));
    ASSERT_TRUE(dir.Write(L"d\\.gitignore", "x"));
    ASSERT_TRUE(dir.Write(L"d\\.git\\config", "x"));
    ASSERT_TRUE(dir.Write(L"d\\k.txt", "x"));
    CFileList list;
    list.SetSearchSub(1);
    list.Add(dir.Path(L"d").c_str());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"d\\k.txt")}), Paths(list));
}

TEST(CFileList, FoldersWithExtraAttributesAreSearchedButNotListed) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"d"));
    ASSERT_TRUE(dir.MakeDir(L"d\\ro"));
    ASSERT_TRUE(dir.MakeDir(L"d\\hid"));
    ASSERT_TRUE(dir.Write(L"d\\ro\\r.txt", "x"));
    ASSERT_TRUE(dir.Write(L"d\\hid\\h.txt", "x"));
    ASSERT_TRUE(SetFileAttributesW(dir.Path(L"d\\ro").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW(dir.Path(L"d\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    CFileList list;
    list.SetSearchSub(1);
    list.Add(dir.Path(L"d\\*").c_str());
    EXPECT_EQ(Sorted({dir.Path(L"d\\ro\\r.txt"), dir.Path(L"d\\hid\\h.txt")}), Sorted(Paths(list)));
    SetFileAttributesW(dir.Path(L"d\\ro").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CFileList, LinksAreNotEntered) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"d"));
    ASSERT_TRUE(dir.MakeDir(L"d\\real"));
    ASSERT_TRUE(dir.MakeDir(L"outside"));
    ASSERT_TRUE(dir.Write(L"d\\real\\r.txt", "x"));
    ASSERT_TRUE(dir.Write(L"outside\\o.txt", "x"));
    // A found item that says "link" is not descended into, whatever it leads to.
    CFileList list;
    FIND_INFO found = {};
    found.dwAttribute = FILE_ATTR_FOLDER | FILE_ATTR_REPARSE;
    wcscpy(found.szName, L"real");
    list.SearchSub(dir.Path(L"d\\*.*").c_str(), &found, 1);
    EXPECT_EQ(0, list.GetCount());
    found.dwAttribute = FILE_ATTR_FOLDER;
    list.SearchSub(dir.Path(L"d\\*.*").c_str(), &found, 1);
    EXPECT_EQ(1, list.GetCount());

    if (!testdir::MakeFolderLink(dir.Path(L"d\\out"), dir.Path(L"outside")) ||
        !testdir::MakeFolderLink(dir.Path(L"d\\real\\up"), dir.Path(L"d")))
        GTEST_SKIP() << "folder links cannot be made here";
    CFileList scan;
    scan.SetSearchSub(1);
    scan.Add(dir.Path(L"d").c_str());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"d\\real\\r.txt")}), Paths(scan));
}

TEST(CFileList, MissingLongAndNullPathsAddNothing) {
    testdir::TestDir dir;
    CFileList list;
    list.SetSearchSub(1);
    EXPECT_EQ(0, list.Add(nullptr));
    EXPECT_EQ(1, list.Add(dir.Path(L"missing.txt").c_str()));
    EXPECT_EQ(1, list.Add(dir.Path(L"nothing\\*.*").c_str()));
    std::wstring longPath = dir.Path(std::wstring(300, L'x') + L"\\a.txt");
    EXPECT_EQ(1, list.Add(longPath.c_str()));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_TRUE(list.m_vDir.empty());
}

TEST(CFileList, AFileWithoutFolderKeepsItsNameAsPath) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"rel.txt", "x"));
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    CFileList list;
    list.Add(L"rel.txt");
    SetCurrentDirectoryW(before);
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(L"rel.txt", list.GetPath(0));
    EXPECT_EQ(L"", list.GetDir(0));
}

TEST(CFileList, AccessorsAndRemoval) {
    testdir::TestDir dir;
    for (const wchar_t* name : {L"a.txt", L"b.TXT", L"c", L"d.txt.bak", L"e.txt"}) ASSERT_TRUE(dir.Write(name, "x"));
    CFileList list;
    for (const wchar_t* name : {L"a.txt", L"b.TXT", L"c", L"d.txt.bak", L"e.txt"})
        list.Add(dir.Path(name).c_str());
    ASSERT_EQ(5, list.GetCount());
    EXPECT_EQ(L".TXT", list.GetExt(1));
    EXPECT_EQ(L"", list.GetExt(2));
    EXPECT_EQ(L".bak", list.GetExt(3));
    EXPECT_EQ(std::wstring(L"d.txt.bak"), list.GetNameStr(3));
    EXPECT_EQ(std::wstring(L".txt"), list.GetExtStr(4));
    EXPECT_EQ(dir.Path(L"e.txt"), list.GetPathStr(4));
    for (int past : {5, 100, -1}) {
        EXPECT_EQ(L"", list.GetName(past));
        EXPECT_EQ(L"", list.GetExt(past));
        EXPECT_EQ(L"", list.GetPath(past));
        EXPECT_EQ(std::wstring(L""), list.GetPathStr(past));
    }
    EXPECT_EQ(L"", list.GetName(list.m_vFile.cend()));
    EXPECT_EQ(L".txt", list.GetExt(list.m_vFile.cbegin()));
    list.Delete(5);
    EXPECT_EQ(5, list.GetCount());

    CFileList copy = list;
    EXPECT_EQ(2, copy.DeleteExt(L".txt", 0));  // ".TXT" stays
    EXPECT_EQ(Sorted({dir.Path(L"b.TXT"), dir.Path(L"c"), dir.Path(L"d.txt.bak")}), Sorted(Paths(copy)));
    EXPECT_EQ(3, list.DeleteExt(L".txt", 1));  // names without extension go too
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"a.txt"), dir.Path(L"e.txt")}), Paths(list));
    list.Erase(list.m_vFile.begin());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"e.txt")}), Paths(list));
    list.Delete(0);
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(1u, list.m_vDir.size());  // the folder table stays
    list.Clear();
    EXPECT_TRUE(list.m_vDir.empty());
}

int g_calls = 0;
int CountCall(void* arg) {
    ++g_calls;
    ++*static_cast<int*>(arg);
    return 0;
}

TEST(CFileList, ProgressCallbackRunsOncePerSixtyOneFoundEntries) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"many"));
    // 198 files with "." and ".." make 200 found entries.
    for (int i = 0; i < 198; ++i) ASSERT_TRUE(dir.Write(L"many\\f" + std::to_wstring(i), ""));
    CFileList list;
    int mine = 0;
    g_calls = 0;
    list.SetCallback(CountCall, &mine, 60);
    list.Add(dir.Path(L"many").c_str());
    EXPECT_EQ(198, list.GetCount());
    EXPECT_EQ(3, mine);  // after the 62nd, 123rd and 184th entry found
    EXPECT_EQ(16, list.m_iCallbackCount);
    // The counter carries over into the next scan; a new callback keeps it.
    list.SetCallback(CountCall, &mine, 60);
    EXPECT_EQ(16, list.m_iCallbackCount);
}

// The duplicate index follows every removal: a removed file can be added again, a kept one cannot.
TEST(CFileList, RemovedEntriesCanBeAddedAgain) {
    testdir::TestDir dir;
    for (const wchar_t* name : {L"a.txt", L"b.bmp", L"c.txt"}) ASSERT_TRUE(dir.Write(name, "x"));
    CFileList list;
    for (const wchar_t* name : {L"a.txt", L"b.bmp", L"c.txt"}) list.Add(dir.Path(name).c_str());
    list.Delete(0);
    list.Add(dir.Path(L"a.txt").c_str());
    list.Add(dir.Path(L"b.bmp").c_str());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"b.bmp"), dir.Path(L"c.txt"), dir.Path(L"a.txt")}), Paths(list));
    EXPECT_EQ(1, list.DeleteExt(L".txt", 1));  // the .bmp goes, the order stays
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"c.txt"), dir.Path(L"a.txt")}), Paths(list));
    list.Erase(list.m_vFile.begin());
    for (const wchar_t* name : {L"a.txt", L"b.bmp", L"c.txt"}) list.Add(dir.Path(name).c_str());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"a.txt"), dir.Path(L"b.bmp"), dir.Path(L"c.txt")}), Paths(list));
    EXPECT_EQ(1u, list.m_vDir.size());
    list.Clear();
    list.Add(dir.Path(L"c.txt").c_str());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path(L"c.txt")}), Paths(list));
    EXPECT_EQ(0, list.GetDir(0).compare(dir.Path()));
}

// A progress callback may empty the list mid-scan (a drop handler does): the rest of the scan
// still lands in a folder that is in the table.
CFileList* g_clearing = nullptr;
int ClearOnce(void*) {
    if (g_clearing) g_clearing->Clear();
    g_clearing = nullptr;
    return 0;
}

TEST(CFileList, ACallbackThatEmptiesTheListLeavesItConsistent) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.MakeDir(L"many"));
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(dir.Write(L"many\\f" + std::to_wstring(i), ""));
    CFileList list;
    g_clearing = &list;
    list.SetCallback(ClearOnce, nullptr, 10);
    list.Add(dir.Path(L"many").c_str());
    ASSERT_GT(list.GetCount(), 0);
    ASSERT_LT(list.GetCount(), 100);
    ASSERT_EQ(1u, list.m_vDir.size());
    for (int i = 0; i < list.GetCount(); ++i)
        EXPECT_EQ(dir.Path(L"many\\" + list.GetName(i)), list.GetPath(i));
}

}  // namespace
