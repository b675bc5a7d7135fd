// BMP_ReadFile: a file read whole and checked before its headers are used.
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

// The same image with a longer info header (the 108- and 124-byte forms): the palette then
// follows that header, and the pixel offset says so.
std::string WithLongInfoHeader(const std::string& _strImage, uint32_t _uInfoSize)
{
    std::string s = _strImage;
    const uint32_t uExtra = _uInfoSize - 40;
    s.insert(54, std::string(uExtra, '\x5A'));  // header fields nobody here reads
    bmpfile::Put32(&s, 2, static_cast<uint32_t>(s.size()));
    bmpfile::Put32(&s, 10, bmpfile::Get32(s, 10) + uExtra);
    bmpfile::Put32(&s, 14, _uInfoSize);
    return s;
}

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
