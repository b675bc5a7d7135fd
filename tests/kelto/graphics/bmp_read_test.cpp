// BMP_ReadFile and BMP_ReadFileBytes: a file read whole and checked before its headers are used.
#include "kelto/graphics/bmp_read.h"

#include "kelto/memory/mem.h"
#include "tests/support/bmpfile.h"
#include "tests/support/testdir.h"

#include <gtest/gtest.h>

#include <string>

TEST(BmpReadFile, ResultsForGoodMissingEmptyAndLyingFiles)
{
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Ok());
    bmpfile::Spec sp;
    sp.width = 3;
    sp.height = 2;
    sp.pixel = [](int x, int y) { return static_cast<uint32_t>(x + 4 * y); };
    const std::string good = bmpfile::Make(sp);
    std::string lying = good;
    bmpfile::Put32(&lying, 22, 1000);  // rows past the end of the file
    ASSERT_TRUE(dir.Write(L"good.bmp", good));
    ASSERT_TRUE(dir.Write(L"lying.bmp", lying));
    ASSERT_TRUE(dir.Write(L"empty.bmp", ""));
    ASSERT_TRUE(dir.Write(L"text.bmp", "BM"));
    struct Case {
        const wchar_t* pName;
        int iResult;
    };
    const Case aCase[] = {{L"good.bmp", 1}, {L"lying.bmp", -2}, {L"text.bmp", -2}, {L"empty.bmp", 0}, {L"gone.bmp", 0}};
    for (const Case& c : aCase) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.pName)));
        unsigned char* p = reinterpret_cast<unsigned char*>(1);
        int iSize = -5;
        BMP_INFO st;
        EXPECT_EQ(c.iResult, BMP_ReadFile(dir.Path(c.pName).c_str(), &p, &iSize, &st));
        if (c.iResult == 1) {
            ASSERT_NE(nullptr, p);
            EXPECT_EQ(static_cast<int>(good.size()), iSize);
            EXPECT_EQ(3, st.iWidth);
            EXPECT_EQ(2, st.iHeight);
            EXPECT_EQ(5, BMP_GetPixel(&st, 1, 1));
            MEM_free(&p);
        } else {
            EXPECT_EQ(nullptr, p) << "nothing is held";
            EXPECT_EQ(0, iSize);
        }
    }
    unsigned char* p = nullptr;
    int iSize = 0;
    BMP_INFO st;
    EXPECT_EQ(-1, BMP_ReadFile(nullptr, &p, &iSize, &st));
    EXPECT_EQ(-1, BMP_ReadFile(L"x", nullptr, &iSize, &st));
    EXPECT_EQ(0, BMP_ReadFile(L"", &p, &iSize, &st));
}

using bmpfile::WithLongInfoHeader;

TEST(BmpReadFile, PalettesAfterALongerInfoHeaderGiveTheirOwnColours)
{
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Ok());
    for (int iBits : {4, 8}) {
        for (uint32_t uInfo : {108u, 124u}) {
            SCOPED_TRACE(testing::Message() << iBits << " bits, info header " << uInfo);
            bmpfile::Spec sp;
            sp.width = 3;
            sp.height = 2;
            sp.bits = iBits;
            sp.palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
            sp.pixel = [](int x, int y) { return static_cast<uint32_t>((x + y) % 4); };
            ASSERT_TRUE(dir.Write(L"v5.bmp", WithLongInfoHeader(bmpfile::Make(sp), uInfo)));
            unsigned char* p = nullptr;
            int iSize = 0;
            BMP_INFO st;
            ASSERT_EQ(1, BMP_ReadFile(dir.Path(L"v5.bmp").c_str(), &p, &iSize, &st));
            EXPECT_EQ(3, st.iWidth);
            EXPECT_EQ(2, st.iHeight);
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < 3; ++x) {
                    const int iIndex = BMP_GetPixel(&st, x, y);
                    EXPECT_EQ((x + y) % 4, iIndex);
                    EXPECT_EQ(sp.palette[iIndex], BMP_GetPalette(&st, iIndex)) << x << "," << y;
                }
            }
            void* p32 = nullptr;
            ASSERT_GT(BMP_To32(p, iSize, &p32), 0);
            const BMP_INFO st32 = BMP_GetInfo(p32);
            EXPECT_EQ(0xFFFF0000u, static_cast<uint32_t>(BMP_GetPixel(&st32, 1, 0))) << "red, stored b, g, r, a";
            EXPECT_EQ(0xFF0000FFu, static_cast<uint32_t>(BMP_GetPixel(&st32, 2, 1))) << "blue";
            delete[] static_cast<unsigned char*>(p32);
            MEM_free(&p);
        }
    }
    // Long headers that do not fit, or an offset inside the header, are still no bitmap.
    bmpfile::Spec sp;
    sp.bits = 8;
    const std::string strLong = WithLongInfoHeader(bmpfile::Make(sp), 124);
    std::string strInside = strLong, strPast = strLong, strShort = strLong.substr(0, 100);
    bmpfile::Put32(&strInside, 10, 100);
    bmpfile::Put32(&strPast, 14, static_cast<uint32_t>(strLong.size()));
    for (const std::string* pFile : {&strInside, &strPast, &strShort}) {
        ASSERT_TRUE(dir.Write(L"bad.bmp", *pFile));
        unsigned char* p = nullptr;
        int iSize = 0;
        BMP_INFO st;
        EXPECT_EQ(-2, BMP_ReadFile(dir.Path(L"bad.bmp").c_str(), &p, &iSize, &st)) << pFile->size();
        EXPECT_EQ(nullptr, p);
    }
}

TEST(BmpReadFile, BytesAreTheFileAsItIsOnceChecked)
{
    testdir::TestDir dir;
    ASSERT_TRUE(dir.Ok());
    bmpfile::Spec sp8;
    sp8.width = 5;
    sp8.height = 3;
    sp8.pixel = [](int x, int y) { return static_cast<uint32_t>(x * 7 + y); };
    bmpfile::Spec sp24 = sp8;
    sp24.bits = 24;
    sp24.pixel = [](int x, int y) { return static_cast<uint32_t>(0x102030 * (x + 1) + y); };
    std::string strLying = bmpfile::Make(sp24);
    bmpfile::Put32(&strLying, 18, 0x7FFFFFFF);
    std::string strLongLying = WithLongInfoHeader(bmpfile::Make(sp8), 124);
    bmpfile::Put32(&strLongLying, 10, 100);  // pixels inside the header
    struct Case {
        const char* pName;
        std::string strFile;
        int iResult;
    };
    const Case aCase[] = {
        {"8 bits, 124-byte header", WithLongInfoHeader(bmpfile::Make(sp8), 124), 1},
        {"8 bits, 108-byte header", WithLongInfoHeader(bmpfile::Make(sp8), 108), 1},
        {"24 bits, 124-byte header", WithLongInfoHeader(bmpfile::Make(sp24), 124), 1},
        {"8 bits, 40-byte header", bmpfile::Make(sp8), 1},
        {"a width past the file", strLying, -2},
        {"a long header with its pixels inside it", strLongLying, -2},
        {"cut short", bmpfile::Make(sp24).substr(0, 60), -2},
        {"empty", "", 0},
    };
    for (const Case& c : aCase) {
        SCOPED_TRACE(c.pName);
        ASSERT_TRUE(dir.Write(L"in.bmp", c.strFile));
        unsigned char* p = reinterpret_cast<unsigned char*>(1);
        int iSize = -5;
        EXPECT_EQ(c.iResult, BMP_ReadFileBytes(dir.Path(L"in.bmp").c_str(), &p, &iSize));
        if (c.iResult == 1) {
            ASSERT_NE(nullptr, p);
            EXPECT_EQ(c.strFile, std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(iSize)));
            MEM_free(&p);
        } else {
            EXPECT_EQ(nullptr, p) << "nothing is held";
            EXPECT_EQ(0, iSize);
        }
    }
    unsigned char* p = nullptr;
    int iSize = 0;
    EXPECT_EQ(0, BMP_ReadFileBytes(dir.Path(L"gone.bmp").c_str(), &p, &iSize));
    EXPECT_EQ(0, BMP_ReadFileBytes(L"", &p, &iSize));
    EXPECT_EQ(-1, BMP_ReadFileBytes(nullptr, &p, &iSize));
    EXPECT_EQ(-1, BMP_ReadFileBytes(L"x", nullptr, &iSize));
    EXPECT_EQ(-1, BMP_ReadFileBytes(L"x", &p, nullptr));
    EXPECT_EQ(nullptr, p);
}
