// Splitting and joining path parts.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "kelto/files/win32/file.h"

namespace {

TEST(FilePath, SplitLikeTheCLibrary) {
    struct Row {
        const wchar_t* path;
        const wchar_t* drive;
        const wchar_t* dir;
        const wchar_t* name;
        const wchar_t* ext;
    } rows[] = {
        {L"C:\\a\\b\\c.txt", L"C:", L"\\a\\b\\", L"c", L".txt"},
        {L"a/b\\c.tar.gz", L"", L"a/b\\", L"c.tar", L".gz"},
        {L"dir.x\\noext", L"", L"dir.x\\", L"noext", L""},
        {L".gitignore", L"", L"", L"", L".gitignore"},
        {L"C:", L"C:", L"", L"", L""},
        {L"C:name.", L"C:", L"", L"name", L"."},
        {L"\\\\server\\share\\f", L"", L"\\\\server\\share\\", L"f", L""},
        {L"", L"", L"", L"", L""},
    };
    for (const Row& row : rows) {
        wchar_t drive[FILE_DRIVE_LENGTH], dir[FILE_PART_LENGTH], name[FILE_PART_LENGTH], ext[FILE_PART_LENGTH];
        FILE_split(row.path, drive, dir, name, ext);
        EXPECT_EQ(std::wstring(row.drive), drive) << "path " << testing::PrintToString(std::wstring(row.path));
        EXPECT_EQ(std::wstring(row.dir), dir) << "path " << testing::PrintToString(std::wstring(row.path));
        EXPECT_EQ(std::wstring(row.name), name) << "path " << testing::PrintToString(std::wstring(row.path));
        EXPECT_EQ(std::wstring(row.ext), ext) << "path " << testing::PrintToString(std::wstring(row.path));
    }
    // Parts not asked for are skipped; a null path empties the given parts.
    wchar_t ext[FILE_PART_LENGTH] = L"junk";
    FILE_split(L"x\\y.z", nullptr, nullptr, nullptr, ext);
    EXPECT_EQ(std::wstring(L".z"), ext);
    FILE_split(nullptr, nullptr, nullptr, nullptr, ext);
    EXPECT_EQ(std::wstring(L""), ext);
}

TEST(FilePath, SplitRefusesPartsThatDoNotFit) {
    std::wstring longName(300, L'n');
    std::wstring path = L"C:\\d\\" + longName + L".txt";
    // Guard units after each part show that nothing is written past its room.
    wchar_t drive[FILE_DRIVE_LENGTH + 1], dir[FILE_PART_LENGTH + 1], name[FILE_PART_LENGTH + 1],
        ext[FILE_PART_LENGTH + 1];
    drive[FILE_DRIVE_LENGTH] = dir[FILE_PART_LENGTH] = name[FILE_PART_LENGTH] = ext[FILE_PART_LENGTH] = L'#';
    FILE_split(path.c_str(), drive, dir, name, ext);
    EXPECT_EQ(std::wstring(L""), drive);
    EXPECT_EQ(std::wstring(L""), dir);
    EXPECT_EQ(std::wstring(L""), name);
    EXPECT_EQ(std::wstring(L""), ext);
    EXPECT_EQ(L'#', name[FILE_PART_LENGTH]);
    // A long part that is not asked for does not matter.
    FILE_split(path.c_str(), drive, dir, nullptr, ext);
    EXPECT_EQ(std::wstring(L"\\d\\"), dir);
    EXPECT_EQ(std::wstring(L".txt"), ext);
    // 255 units fit a room of 256.
    std::wstring fits = L"C:\\" + std::wstring(255, L'm');
    FILE_split(fits.c_str(), nullptr, nullptr, name, nullptr);
    EXPECT_EQ(std::wstring(255, L'm'), name);
}

TEST(FilePath, MergeLikeTheCLibrary) {
    struct Row {
        const wchar_t *drive, *dir, *name, *ext, *expected;
    } rows[] = {
        {L"C:", L"\\a\\b\\", L"c", L".txt", L"C:\\a\\b\\c.txt"},
        {L"C", L"\\a", L"c", L"txt", L"C:\\a\\c.txt"},
        {nullptr, L"a/", L"c", nullptr, L"a/c"},
        {L"", L"", L"c", L".", L"c."},
        {L"D:", nullptr, nullptr, nullptr, L"D:"},
        {nullptr, nullptr, nullptr, nullptr, L""},
    };
    for (const Row& row : rows) {
        wchar_t out[FILE_PATH_LENGTH] = L"junk";
        FILE_merge(out, row.drive, row.dir, row.name, row.ext, FILE_PATH_LENGTH);
        EXPECT_EQ(std::wstring(row.expected), out);
    }
    // Out may be one of the parts.
    wchar_t dir[FILE_PATH_LENGTH] = L"x\\y";
    FILE_merge(dir, nullptr, dir, L"n", L"e", FILE_PATH_LENGTH);
    EXPECT_EQ(std::wstring(L"x\\y\\n.e"), dir);
}

TEST(FilePath, MergeRefusesAPathThatDoesNotFit) {
    wchar_t out[8];
    out[7] = L'#';
    FILE_merge(out, L"C:", L"\\ab\\", L"c", nullptr, 8);  // 7 units and the terminator
    EXPECT_EQ(std::wstring(L"C:\\ab\\c"), out);
    FILE_merge(out, L"C:", L"\\ab\\", L"cd", nullptr, 8);
    EXPECT_EQ(std::wstring(L""), out);
    FILE_merge(out, L"C:", L"\\ab\\", L"c", L"x", 7);
    EXPECT_EQ(std::wstring(L""), out);
    FILE_merge(nullptr, L"C:", L"\\", L"x", nullptr, 8);  // reported, nothing else
}

TEST(FilePath, AddSeparator) {
    struct Row {
        const wchar_t *path, *expected;
    } rows[] = {
        {L"", L""}, {L"a\\", L"a\\"}, {L"a", L"a\\"}, {L"a/", L"a/\\"}, {L"C:", L"C:\\"},
    };
    for (const Row& row : rows) {
        wchar_t buf[16];
        wcscpy(buf, row.path);
        FILE_AddSeparator(buf);
        EXPECT_EQ(std::wstring(row.expected), buf);
    }
    FILE_AddSeparator(static_cast<wchar_t*>(nullptr));
}

}  // namespace
