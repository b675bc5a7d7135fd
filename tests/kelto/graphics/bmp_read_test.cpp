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
