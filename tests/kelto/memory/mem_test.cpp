#include "kelto/memory/mem.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(MemCopy, CopiesOnlyWithBothBlocksAndACount)
{
    struct Row { const char* name; bool withSrc; int count; const char* expected; };
    const Row rows[] = {
        {"normal", true, 3, "abcxx"},
        {"null source", false, 3, "xxxxx"},
        {"zero count", true, 0, "xxxxx"},
        {"negative count", true, -4, "xxxxx"},
    };
    for (const Row& row : rows) {
        char szDst[6] = "xxxxx";
        MEM_copy(szDst, row.withSrc ? "abc" : nullptr, row.count);
        EXPECT_STREQ(row.expected, szDst) << "case " << row.name;
    }
    MEM_copy(nullptr, "abc", 3); // a null destination is ignored
}

TEST(MemMove, HandlesOverlappingAreas)
{
    char szText[] = "abcdef";
    MEM_move(szText + 2, szText, 4);
    EXPECT_STREQ("ababcd", szText);
    MEM_move(szText, szText + 1, 5);
    EXPECT_STREQ("babcdd", szText);
}

TEST(MemClear, ZeroesTheBytes)
{
    unsigned char abBlock[4] = {1, 2, 3, 4};
    MEM_clear(abBlock, 3);
    EXPECT_EQ(0, abBlock[0]);
    EXPECT_EQ(0, abBlock[2]);
    EXPECT_EQ(4, abBlock[3]);
}

TEST(MemAlloc, GivesAZeroFilledBlockThatMemFreeReleases)
{
    wchar_t* pText = reinterpret_cast<wchar_t*>(1);
    ASSERT_EQ(1, MEM_alloc(&pText, 100));
    ASSERT_NE(nullptr, pText);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(0, pText[i]) << "unit " << i;
    EXPECT_EQ(1, MEM_free(&pText));
    EXPECT_EQ(nullptr, pText);
    EXPECT_EQ(1, MEM_free(&pText)) << "a null block is accepted";

    unsigned int* pValues = nullptr;
    ASSERT_EQ(1, MEM_alloc(&pValues, 0)) << "an empty block is still a block";
    EXPECT_NE(nullptr, pValues);
    MEM_free(&pValues);
}

TEST(MemAlloc, ReportsFailureWithANullHolder)
{
    char* pBytes = reinterpret_cast<char*>(1);
    EXPECT_EQ(0, MEM_alloc(&pBytes, -1));
    EXPECT_EQ(nullptr, pBytes);

    if (sizeof(void*) == 4) {
        // More than a 32-bit process can hold: the allocation fails and nothing is written.
        pBytes = reinterpret_cast<char*>(1);
        EXPECT_EQ(0, MEM_alloc(&pBytes, INT_MAX));
        EXPECT_EQ(nullptr, pBytes);

        unsigned int* pValues = reinterpret_cast<unsigned int*>(1);
        EXPECT_EQ(0, MEM_alloc(&pValues, INT_MAX)) << "the byte count would overflow";
        EXPECT_EQ(nullptr, pValues);
    }

    EXPECT_EQ(0, MEM_alloc(static_cast<short**>(nullptr), 4));
    EXPECT_EQ(0, MEM_free(static_cast<short**>(nullptr)));
}

TEST(MemAlloc, TaggedFormsReturnNullInsteadOfThrowing)
{
    volatile std::size_t uHuge = static_cast<std::size_t>(-1) / 2; // more than any process holds
    char* pBlock = KELTO_NEW("MemAlloc test") char[uHuge];
    EXPECT_EQ(nullptr, pBlock);

    int* pSmall = KELTO_NEW("MemAlloc test") int[8];
    ASSERT_NE(nullptr, pSmall);
    pSmall[7] = 7;
    delete[] pSmall;

    // Array blocks of the tagged form are released by MEM_free as well.
    unsigned char* pHeld = KELTO_NEW("MemAlloc test") unsigned char[16];
    ASSERT_NE(nullptr, pHeld);
    EXPECT_EQ(1, MEM_free(&pHeld));
    EXPECT_EQ(nullptr, pHeld);
}

TEST(MemBitAccess, SetsClearsAndReadsBitsWithinTheCount)
{
    unsigned char abBits[2] = {0, 0};
    EXPECT_EQ(1, MEM_bitAccess(abBits, 16, 9, 1));
    EXPECT_EQ(0x02, abBits[1]);
    EXPECT_EQ(0x00, abBits[0]);
    EXPECT_EQ(1, MEM_bitAccess(abBits, 16, 9, 2));
    EXPECT_EQ(0, MEM_bitAccess(abBits, 16, 8, 2));
    EXPECT_EQ(-1, MEM_bitAccess(abBits, 16, 16, 1));
    EXPECT_EQ(0x02, abBits[1]) << "an index out of range changes nothing";
    EXPECT_EQ(1, MEM_bitAccess(abBits, 16, 9, 0));
    EXPECT_EQ(0x00, abBits[1]);
    EXPECT_EQ(1, MEM_bitAccess(abBits, 0, 15, 1)) << "count 0 means no bound";
    EXPECT_EQ(0x80, abBits[1]);
    EXPECT_EQ(-1, MEM_bitAccess(abBits, 16, -1, 1));
    EXPECT_EQ(-1, MEM_bitAccess(static_cast<unsigned char*>(nullptr), 16, 1, 1));
}

TEST(MemBitAccess, WorksOnWiderUnits)
{
    unsigned short awBits[2] = {0, 0};
    EXPECT_EQ(1, MEM_bitAccess(awBits, 32, 17, 1));
    EXPECT_EQ(0x0002, awBits[1]);
    EXPECT_EQ(1, MEM_bitAccess(awBits, 32, 15, 1));
    EXPECT_EQ(0x8000, awBits[0]);

    unsigned long adwBits[2] = {0, 0}; // DWORD
    EXPECT_EQ(1, MEM_bitAccess(adwBits, 64, 63, 1));
    EXPECT_EQ(0x80000000ul, adwBits[1]);
    EXPECT_EQ(1, MEM_bitAccess(adwBits, 64, 63, 5));
    EXPECT_EQ(0u, adwBits[0]);
}
