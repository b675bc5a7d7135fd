// The 8-bit forms, with Shift-JIS names whose second bytes look like separators.
#include <gtest/gtest.h>

#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/profile.h"
#include "kelto/memory/mem.h"
#include "tests/support/testdir.h"

namespace {

// "表" is 0x95 0x5C in Shift-JIS: its second byte is '\'.
const char kHyo[] = "\x95\x5c";

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += static_cast<char>(c);  // test folders are ASCII
    return s;
}

TEST(FileNarrow, SplitAndMergeKeepDoubleByteCharactersWhole) {
    std::string path = std::string("C:\\") + kHyo + "\\" + kHyo + ".txt";
    char drive[FILE_DRIVE_LENGTH], dir[FILE_PART_LENGTH], name[FILE_PART_LENGTH], ext[FILE_PART_LENGTH];
    FILE_split(path.c_str(), drive, dir, name, ext);
    EXPECT_EQ("C:", std::string(drive));
    EXPECT_EQ(std::string("\\") + kHyo + "\\", std::string(dir));
    EXPECT_EQ(std::string(kHyo), std::string(name));
    EXPECT_EQ(".txt", std::string(ext));

    char out[FILE_PATH_LENGTH];
    FILE_merge(out, drive, dir, name, ext, FILE_PATH_LENGTH);
    EXPECT_EQ(path, std::string(out));
    // The folder ends in the second byte 0x5C, which is not a separator.
    FILE_merge(out, nullptr, kHyo, "a", nullptr, FILE_PATH_LENGTH);
    EXPECT_EQ(std::string(kHyo) + "\\a", std::string(out));
    // Rooms are bytes: 7 bytes and a terminator fit 8, not 7.
    FILE_merge(out, nullptr, kHyo, "abcd", nullptr, 8);
    EXPECT_EQ(std::string(kHyo) + "\\abcd", std::string(out));
    FILE_merge(out, nullptr, kHyo, "abcd", nullptr, 7);
    EXPECT_EQ("", std::string(out));

    // 128 two-byte characters are 256 bytes: too many for a name room of 256.
    std::string longName;
    for (int i = 0; i < 128; ++i) longName += kHyo;
    FILE_split(("C:\\d\\" + longName).c_str(), drive, dir, name, ext);
    EXPECT_EQ("", std::string(dir));
    EXPECT_EQ("", std::string(name));
}

TEST(FileNarrow, FilesAndFoldersByEightBitPaths) {
    testdir::TestDir dir;
    std::string base = Narrow(dir.Path());
    std::string folder = base + "\\" + kHyo + "\\sub\\";
    EXPECT_EQ(1, FILE_MakeDirectory((folder + "x.dat").c_str()));
    EXPECT_TRUE(dir.IsDir(L"\u8868\\sub"));

    ASSERT_TRUE(dir.Write(L"\u8868\\sub\\src.dat", "bytes"));
    std::string src = folder + "src.dat";
    EXPECT_EQ(5, FILE_GetSize(src.c_str()));
    EXPECT_EQ(5, FILE_Copy(src.c_str(), (base + "\\").c_str()));
    EXPECT_EQ("bytes", dir.Read(L"src.dat"));

    unsigned char* block = nullptr;
    EXPECT_EQ(5, mem_TargetRead(&block, src.c_str()));
    ASSERT_NE(nullptr, block);
    MEM_free(&block);

    FILE_HANDLE h = FILE_Create((base + "\\" + kHyo + ".bin").c_str());
    ASSERT_NE(FILE_INVALID_HANDLE, h);
    uint32_t done = 0;
    FILE_HdWrite(h, "ab", 2, &done);
    FILE_HdClose(h);
    EXPECT_EQ("ab", dir.Read(L"\u8868.bin"));
    h = FILE_Open((base + "\\" + kHyo + ".bin").c_str(), 0);
    EXPECT_NE(FILE_INVALID_HANDLE, h);
    FILE_HdClose(h);
}

TEST(FileNarrow, AddSeparatorTellsASecondByteFromASeparator) {
    struct Row {
        const char* name;
        std::string path;
        std::string expected;
    } rows[] = {
        {"empty stays empty", "", ""},
        {"plain folder", "C:\\a", "C:\\a\\"},
        {"already ends in one", "C:\\a\\", "C:\\a\\"},
        {"drive root", "C:\\", "C:\\"},
        {"second byte 0x5C", std::string("C:\\") + kHyo, std::string("C:\\") + kHyo + "\\"},
        {"separator after it", std::string("C:\\") + kHyo + "\\", std::string("C:\\") + kHyo + "\\"},
    };
    for (const Row& row : rows) {
        char buf[32] = {};
        row.path.copy(buf, row.path.size());
        FILE_AddSeparator(buf);
        EXPECT_EQ(row.expected, std::string(buf)) << "case " << row.name;
    }
    FILE_AddSeparator(static_cast<char*>(nullptr));
}

TEST(FileNarrow, DeleteAndSettingsWriteByEightBitPaths) {
    testdir::TestDir dir;
    std::string base = Narrow(dir.Path()) + "\\" + kHyo;
    ASSERT_TRUE(dir.MakeDir(L"\u8868"));
    ASSERT_TRUE(dir.Write(L"\u8868\\gone.txt", "x"));
    EXPECT_NE(0, FILE_Delete((base + "\\gone.txt").c_str()));
    EXPECT_FALSE(dir.IsFile(L"\u8868\\gone.txt"));
    EXPECT_EQ(0, FILE_Delete((base + "\\gone.txt").c_str()));

    // Other keys of the file stay; the value keeps its double-byte characters.
    ASSERT_TRUE(dir.Write(L"\u8868\\s.ini", "[MAIN]\r\nAUTOEXEC=1\r\n"));
    std::string ini = base + "\\s.ini";
    std::string value = std::string("C:\\") + kHyo + "\\backfile";
    EXPECT_NE(0, PROFILE_SetStringEx(ini.c_str(), "MAIN", "BACKUPPATH", value.c_str()));
    std::string text = dir.Read(L"\u8868\\s.ini");
    EXPECT_NE(std::string::npos, text.find("AUTOEXEC=1")) << text;
    EXPECT_NE(std::string::npos, text.find("BACKUPPATH=" + value)) << text;
    EXPECT_EQ(0, PROFILE_SetStringEx(static_cast<const char*>(nullptr), "MAIN", "K", "v"));
}

}  // namespace
