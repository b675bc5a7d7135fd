// Loading files into new blocks and text files into UTF-16.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "tests/support/testdir.h"

namespace {

std::string Bytes(const unsigned char* p, int n) {
    return std::string(reinterpret_cast<const char*>(p), n);
}

std::string Digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + i % 10);
    return s;
}

TEST(MemTargetRead, NothingToLoadLeavesTheHeldBlockInPlace) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"empty.bin", ""));
    for (const wchar_t* name : {L"missing.bin", L"empty.bin"}) {
        unsigned char* held = KELTO_NEW("test") unsigned char[4];
        unsigned char* holder = held;
        EXPECT_EQ(0, MEM_TargetRead(&holder, dir.Path(name).c_str())) << "case " << name;
        EXPECT_EQ(held, holder) << "case " << name;
        MEM_free(&holder);
    }
}

TEST(MemTargetRead, LoadReleasesTheHeldBlockAndHandsOutTheFile) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"ten.bin", std::string("0123\0\x01\xff" "789", 10)));
    unsigned char* holder = KELTO_NEW("test") unsigned char[100];
    EXPECT_EQ(10, MEM_TargetRead(&holder, dir.Path(L"ten.bin").c_str()));
    ASSERT_NE(nullptr, holder);
    EXPECT_EQ(std::string("0123\0\x01\xff" "789", 10), Bytes(holder, 10));
    MEM_free(&holder);
}

TEST(MemTargetRead, MemberRoadFindsNothingYet) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"pack.dat", "CANZ"));
    unsigned char* holder = nullptr;
    EXPECT_EQ(0, MEM_TargetRead(&holder, dir.Path(L"pack.dat").c_str(), L"a.bmp"));
    EXPECT_EQ(nullptr, holder);
}

TEST(MemTargetRead, BoundedAndOffsetFormsReadWhatLiesInTheFile) {
    testdir::TestDir dir;
    const std::string content = Digits(40);
    ASSERT_TRUE(dir.Write(L"forty.bin", content));
    struct Row {
        const char* name;
        int offset;
        uint32_t asked;
        int result;  // also the bytes read
    } rows[] = {
        {"more than the file", 0, 100, 40},
        {"part from the start", 0, 5, 5},
        {"offset past the asked end", 30, 20, 10},
        {"offset inside", 7, 3, 3},
        {"nothing asked", 0, 0, 0},
        {"offset at the end", 40, 5, 0},
        {"offset past the end", 50, 5, 0},
        {"negative offset", -1, 5, 0},
    };
    for (const Row& row : rows) {
        unsigned char* holder = KELTO_NEW("test") unsigned char[4];
        uint32_t count = row.asked;
        int got = MEM_TargetRead(&holder, dir.Path(L"forty.bin").c_str(), row.offset, &count);
        EXPECT_EQ(row.result, got) << "case " << row.name;
        EXPECT_EQ(static_cast<uint32_t>(row.result), count) << "case " << row.name;
        if (row.result > 0) {
            ASSERT_NE(nullptr, holder) << "case " << row.name;
            EXPECT_EQ(content.substr(row.offset, row.result), Bytes(holder, row.result)) << "case " << row.name;
        } else {
            EXPECT_EQ(nullptr, holder) << "case " << row.name;
        }
        MEM_free(&holder);
    }
    // The form without offset starts at 0.
    unsigned char* holder = nullptr;
    uint32_t count = 100;
    EXPECT_EQ(40, MEM_TargetRead(&holder, dir.Path(L"forty.bin").c_str(), &count));
    EXPECT_EQ(40u, count);
    MEM_free(&holder);
}

TEST(MemTargetRead, FilesOfTwoGibibytesOrMoreAreRefusedNotLoadedShort) {
    testdir::TestDir dir;
    // 2 GiB does not fit an int; 4 GiB + 10 would read as 10 bytes in 32 bits.
    const struct {
        const wchar_t* name;
        long long size;
    } rows[] = {{L"two.bin", 0x80000000LL}, {L"wrap.bin", 0x10000000ALL}};
    for (const auto& row : rows) {
        if (!testdir::WriteSparse(dir.Path(row.name), "", row.size)) GTEST_SKIP() << "no room for a sparse file";
        std::wstring path = dir.Path(row.name);
        EXPECT_EQ(-1, FILE_GetSize(path.c_str()));
        unsigned char* held = KELTO_NEW("test") unsigned char[4];
        unsigned char* holder = held;
        EXPECT_EQ(0, MEM_TargetRead(&holder, path.c_str()));
        EXPECT_EQ(held, holder);
        EXPECT_EQ(0, MEM_TargetRead2(&holder, path.c_str(), 1));
        uint32_t count = 16;
        EXPECT_EQ(0, MEM_TargetRead(&holder, path.c_str(), &count));
        EXPECT_EQ(0u, count);
        MEM_free(&holder);
        EXPECT_EQ(0, mem_TargetRead(&holder, path.c_str()));
        EXPECT_EQ(nullptr, holder);
        char small[16];
        EXPECT_EQ(0, FILE_Read(path.c_str(), small));
        wchar_t* text = nullptr;
        EXPECT_EQ(0, MEM_TextRead(&text, path.c_str()));
        EXPECT_EQ(nullptr, text);
        DeleteFileW(path.c_str());
    }
}

TEST(MemTargetRead, AFileOfTheLargestIntSizeHasItsSizeAndItsFirstBytesRead) {
    testdir::TestDir dir;
    const std::wstring path = dir.Path(L"max.bin");
    if (!testdir::WriteSparse(path, "", 0x7FFFFFFFLL)) GTEST_SKIP() << "no room for a sparse file";
    EXPECT_EQ(0x7FFFFFFF, FILE_GetSize(path.c_str()));
    unsigned char* holder = nullptr;
    uint32_t count = 16;
    EXPECT_EQ(16, MEM_TargetRead(&holder, path.c_str(), &count));
    EXPECT_EQ(16u, count);
    ASSERT_NE(nullptr, holder);
    EXPECT_EQ(std::string(16, '\0'), Bytes(holder, 16));
    MEM_free(&holder);
    count = 16;
    EXPECT_EQ(16, MEM_TargetRead(&holder, path.c_str(), 0x7FFFFFEF, &count)) << "the last bytes";
    MEM_free(&holder);
    // A whole load of it is still no block the loaders make.
    EXPECT_EQ(0, MEM_TargetRead(&holder, path.c_str()));
    EXPECT_EQ(0, mem_TargetRead(&holder, path.c_str()));
    EXPECT_EQ(nullptr, holder);
    DeleteFileW(path.c_str());
}

TEST(MemTargetRead2, GivesTheSizeWithRoomForTheFactor) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"ab.bin", "abcd"));
    unsigned char* holder = nullptr;
    EXPECT_EQ(4, MEM_TargetRead2(&holder, dir.Path(L"ab.bin").c_str(), 3));
    ASSERT_NE(nullptr, holder);
    EXPECT_EQ("abcd", Bytes(holder, 4));
    std::memset(holder + 4, 'x', 8);  // the room is the caller's
    MEM_free(&holder);
}

TEST(MemTargetRead2, RefusesAFactorBelowOneOrAnOverflowingSize) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"ab.bin", "abcd"));
    for (int factor : {0, -1, 0x7FFFFFFF, 0x20000000}) {
        unsigned char* held = KELTO_NEW("test") unsigned char[4];
        unsigned char* holder = held;
        EXPECT_EQ(0, MEM_TargetRead2(&holder, dir.Path(L"ab.bin").c_str(), factor)) << "factor " << factor;
        EXPECT_EQ(held, holder) << "factor " << factor;
        MEM_free(&holder);
    }
}

TEST(MemTextRead, ConvertsTheSystemCodePageIntoATerminatedBlock) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"a.txt", "\x82\xa0"));
    wchar_t* text = nullptr;
    EXPECT_EQ(1, MEM_TextRead(&text, dir.Path(L"a.txt").c_str()));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(0x3042, text[0]);
    EXPECT_EQ(0, text[1]);
    MEM_free(&text);

    // No byte-order mark is looked for: a UTF-16 mark reads as code-page bytes.
    ASSERT_TRUE(dir.Write(L"bom.txt", std::string("\xff\xfe" "a\0", 4)));
    EXPECT_GT(MEM_TextRead(&text, dir.Path(L"bom.txt").c_str()), 1);
    MEM_free(&text);
}

TEST(MemTextRead, FailureKeepsTheHolderValue) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"empty.txt", ""));
    wchar_t sentinel[2] = {L'z', 0};
    for (const wchar_t* name : {L"missing.txt", L"empty.txt"}) {
        wchar_t* text = sentinel;
        EXPECT_EQ(0, MEM_TextRead(&text, dir.Path(name).c_str())) << "case " << name;
        EXPECT_EQ(sentinel, text) << "case " << name;
        EXPECT_EQ(0, MEM_TextRead2(&text, dir.Path(name).c_str(), 2)) << "case " << name;
        EXPECT_EQ(sentinel, text) << "case " << name;
    }
}

TEST(MemTextRead2, LeavesRoomToGrowAndRefusesBadFactors) {
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Write(L"t.txt", "ab\r\n\x82\xa0"));
    wchar_t* text = nullptr;
    EXPECT_EQ(5, MEM_TextRead2(&text, dir.Path(L"t.txt").c_str(), 2));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(std::wstring(L"ab\r\n\u3042"), std::wstring(text));
    for (int i = 6; i < 11; ++i) text[i] = L'x';  // 5 x 2 + 1 units of room
    MEM_free(&text);

    for (int factor : {0, -3, 0x7FFFFFFF}) {
        wchar_t* none = nullptr;
        EXPECT_EQ(0, MEM_TextRead2(&none, dir.Path(L"t.txt").c_str(), factor)) << "factor " << factor;
        EXPECT_EQ(nullptr, none) << "factor " << factor;
    }
}

}  // namespace
