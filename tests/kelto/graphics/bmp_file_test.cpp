// Images written to disk, read back with the file loader and checked against the size read.
#include "kelto/graphics/bmp.h"

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "tests/support/testdir.h"

#include <gtest/gtest.h>

#include <string>

TEST(BmpFile, ReadsBackAWrittenImageAndRefusesATruncatedOne)
{
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Ok());
    // 8 bits, 3 x 2 (stride 4): palette entry 1 is (r 0x10, g 0x20, b 0x30); pixel (2, 0) uses it.
    void* p = nullptr;
    const int size = BMP_Create(&p, 3, 2, 8, 72, 72);
    ASSERT_GT(size, 0);
    const BMP_INFO st = BMP_GetInfo(p);
    BMP_SetPalette(&st, 1, 0x00302010);
    BMP_SetPixel(&st, 2, 0, 1);
    const std::string bytes(static_cast<const char*>(p), size_t(size));
    delete[] static_cast<unsigned char*>(p);
    ASSERT_TRUE(dir.Write(L"whole.bmp", bytes));
    ASSERT_TRUE(dir.Write(L"cut.bmp", bytes.substr(0, bytes.size() - 5)));

    unsigned char* pRead = nullptr;
    const int iRead = MEM_TargetRead(&pRead, dir.Path(L"whole.bmp").c_str());
    ASSERT_EQ(size, iRead);
    BMP_INFO stRead;
    ASSERT_EQ(1, BMP_Check(pRead, iRead, &stRead));
    EXPECT_EQ(1, BMP_GetPixel(&stRead, 2, 0));
    void* p32 = nullptr;
    ASSERT_GT(BMP_To32(pRead, iRead, &p32), 0);
    const BMP_INFO st32 = BMP_GetInfo(p32);
    EXPECT_EQ(int(0xFF102030), BMP_GetPixel(&st32, 2, 0));
    EXPECT_EQ(int(0xFF000000), BMP_GetPixel(&st32, 0, 1));
    delete[] static_cast<unsigned char*>(p32);
    MEM_free(&pRead);

    const int iCut = MEM_TargetRead(&pRead, dir.Path(L"cut.bmp").c_str());
    ASSERT_EQ(size - 5, iCut);
    EXPECT_EQ(0, BMP_Check(pRead, iCut, nullptr));
    p32 = nullptr;
    EXPECT_EQ(0, BMP_To32(pRead, iCut, &p32));
    EXPECT_EQ(nullptr, p32);
    MEM_free(&pRead);
}
