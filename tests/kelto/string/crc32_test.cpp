#include "kelto/string/string.h"

#include <gtest/gtest.h>

TEST(StringCrc32, IsCrc32Bzip2OverTheCodePageBytes)
{
    struct Row { const wchar_t* text; unsigned int expected; };
    const Row rows[] = {
        {L"123456789", 0xFC891918u},
        {L"", 0u},
        {L"a", 0x19939B6Bu},
        // 82 A0 82 A2 82 A4 2E 62 6D 70 in code page 932.
        {L"あいう.bmp", 0xEC4294C4u},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, STRING_crc32(row.text, 0)) << "text " << row.text;
    EXPECT_EQ(0xFFFFFFFFu, STRING_crc32(nullptr, 0));
    EXPECT_EQ(0xFC891918u, STRING_crc32(L"123456789", 3)) << "the length does not take part";
}

TEST(StringCrc32W, UsesTheLowByteOfEachUnit)
{
    EXPECT_EQ(0xFC891918u, STRING_crc32W(L"123456789"));
    EXPECT_EQ(0u, STRING_crc32W(L""));
    EXPECT_EQ(0x397E6F6Au, STRING_crc32W(L"あい")) << "low bytes 0x42 0x44";
    EXPECT_EQ(0xFFFFFFFFu, STRING_crc32W(nullptr));
}
