// BMP_RESIZE and MAKEMASK in process: the size grammar, whole output files, hostile headers.
#include "krelwin/module/bmp_resize.h"
#include "krelwin/module/makemask.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/output.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"
#include "tests/support/bmpfile.h"

namespace {

TEST(BmpResizeSize, GrammarOfTheSizeSpecification) {
    struct Case {
        const wchar_t* pSpec;
        int iOk, iW, iH;
    };
    // Source 100 x 50.
    const Case aCase[] = {
        {L"%16,%16", 1, 112, 64},
        {L"+10,-10", 1, 110, 40},
        {L",200", 1, 100, 200},
        {L"300", 1, 300, 50},
        {L"", 1, 0, 50},
        {L" \t640", 1, 640, 50},
        {L",%16", 1, 100, 64},
        {L"%10,%10", 1, 100, 50},  // already multiples
        {L"%1,%3", 1, 100, 51},
        {L"abc", 1, 0, 50},          // any other start: the digits there, none
        {L"12abc,5", 1, 12, 50},     // the text after a number is not read, so no H
        {L"12,x", 1, 12, 0},
        {L",", 1, 100, 0},
        {L"-100,-50", 1, 0, 0},
        {L"%0", 0, 0, 0},            // no division by zero
        {L"%", 0, 0, 0},
        {L",%0", 0, 0, 0},
        {L",%00016", 1, 100, 64},
        {L"-101", 0, 0, 0},          // no negative sizes
        {L",-51", 0, 0, 0},
        {L"2147483647,2147483647", 1, 2147483647, 2147483647},
        {L"2147483648", 0, 0, 0},    // past the int range
        {L"99999999999999999999999", 0, 0, 0},
        {L"+2147483600", 0, 0, 0},
        {L",%2147483647", 1, 100, 2147483647},
        {L"-99999999999999999999", 0, 0, 0},
    };
    for (const Case& c : aCase) {
        SCOPED_TRACE(testing::Message() << "spec \"" << testing::PrintToString(std::wstring(c.pSpec)) << "\"");
        int iW = -7, iH = -7;
        ASSERT_EQ(c.iOk, BMP_RESIZE::ParseSize(c.pSpec, 100, 50, &iW, &iH));
        if (c.iOk) {
            EXPECT_EQ(c.iW, iW);
            EXPECT_EQ(c.iH, iH);
        }
    }
}

// The 8-bit test picture: index x + 10 y, palette entry i = (i, 255 - i, 3 i).
bmpfile::Spec Picture8(int w, int h) {
    bmpfile::Spec sp;
    sp.width = w;
    sp.height = h;
    sp.bits = 8;
    sp.pixel = [](int x, int y) { return static_cast<uint32_t>(x + 10 * y + 1); };
    for (uint32_t i = 0; i < 256; ++i) sp.palette.push_back(i | (255 - i) << 8 | ((3 * i) & 0xFF) << 16);
    return sp;
}

int AnswerYes(const wchar_t*) { return OUTPUT_ANSWER_YES; }

class BitmapTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_pOldAsk = Output_setAsk(AnswerYes);
    }
    void TearDown() override {
        Output_setAsk(m_pOldAsk);
        Module_releaseAll();
        EngineTest::TearDown();
    }
    OUTPUT_ASK m_pOldAsk = nullptr;
    int Resize(const std::wstring& _strTarget, const std::wstring& _strArgs) {
        return Module_static_BMP_RESIZE()->Func((L"\"" + m_dir.Path(_strTarget) + L"\" " + _strArgs).c_str());
    }
    int Mask(const std::wstring& _strTarget) {
        MAKEMASK cMask;
        return cMask.Func((L"\"" + m_dir.Path(_strTarget) + L"\"").c_str());
    }
};

TEST_F(BitmapTest, ResizeToALargerCanvasKeepsPaletteAndAddsIndexZero) {
    const bmpfile::Spec src = Picture8(3, 2);
    ASSERT_TRUE(m_dir.Write(L"a.bmp", bmpfile::Make(src)));
    EXPECT_EQ(1, Resize(L"a.bmp", L"out.bmp 5,4"));
    bmpfile::Spec want = src;
    want.width = 5;
    want.height = 4;
    want.pixel = [](int x, int y) { return (x < 3 && y < 2) ? static_cast<uint32_t>(x + 10 * y + 1) : 0u; };
    EXPECT_EQ(bmpfile::Make(want), m_dir.Read(L"out.bmp"));
    EXPECT_EQ(L"a(3,2)->(5,4)\r\n", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(BitmapTest, ResizeToASmallerCanvasKeepsTheTopLeftAtEveryDepth) {
    struct Case {
        int iBits;
        const wchar_t* pSpec;
        int iW, iH;
    };
    const Case aCase[] = {{4, L"%4,-3", 8, 4}, {8, L"+1,1", 8, 1}, {24, L"2,+2", 2, 9},
                          {32, L"\"-5,%4\"", 2, 8}, {16, L"3", 3, 7}};
    for (const Case& c : aCase) {
        SCOPED_TRACE(c.iBits);
        bmpfile::Spec src;
        src.width = 7;
        src.height = 7;
        src.bits = c.iBits;
        const uint32_t uMask = c.iBits == 4 ? 0xF : c.iBits == 8 ? 0xFF : c.iBits == 16 ? 0xFFFF : c.iBits == 24 ? 0xFFFFFF : 0xFFFFFFFF;
        src.pixel = [uMask](int x, int y) { return static_cast<uint32_t>(0x9E3779B1u * (x * 7 + y + 1)) & uMask; };
        if (c.iBits == 16) {
            // The helper writes no 16-bit pixels: build the block with the library's layout.
            src.bits = 16;
        }
        std::string strSrc = bmpfile::Make(src);
        if (c.iBits == 16) {
            const int iStride = bmpfile::Stride(7, 16);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 7; ++x)
                    bmpfile::Put16(&strSrc, 54 + (6 - y) * iStride + 2 * x, src.pixel(x, y));
        }
        ASSERT_TRUE(m_dir.Write(L"s.bmp", strSrc));
        EXPECT_EQ(1, Resize(L"s.bmp", std::wstring(L"o.bmp ") + c.pSpec));
        const bmpfile::Image out = bmpfile::Read(m_dir.Read(L"o.bmp"));
        ASSERT_TRUE(out.ok);
        EXPECT_EQ(c.iW, out.width);
        EXPECT_EQ(c.iH, out.height);
        EXPECT_EQ(c.iBits, out.bits);
        const int iStride = bmpfile::Stride(c.iW, c.iBits);
        for (int y = 0; y < c.iH; ++y) {
            for (int x = 0; x < c.iW; ++x) {
                const uint32_t uWant = (x < 7 && y < 7) ? src.pixel(x, y) : 0u;
                const uint32_t uGot = c.iBits == 16
                                          ? bmpfile::Get16(out.bytes, bmpfile::Get32(out.bytes, 10) +
                                                                           (c.iH - 1 - y) * iStride + 2 * x)
                                          : out.Pixel(x, y);
                ASSERT_EQ(uWant, uGot) << x << "," << y;
            }
        }
    }
}

TEST_F(BitmapTest, ResizeWithoutSpecificationWritesWidthZero) {
    ASSERT_TRUE(m_dir.Write(L"a.bmp", bmpfile::Make(Picture8(3, 2))));
    EXPECT_EQ(1, Resize(L"a.bmp", L"z.bmp"));
    bmpfile::Spec want = Picture8(0, 2);
    EXPECT_EQ(bmpfile::Make(want), m_dir.Read(L"z.bmp"));
    EXPECT_EQ(L"a(3,2)->(0,2)\r\n", Log());
}

TEST_F(BitmapTest, ResizeRefusesBadSizesWithAnErrorAndWritesNothing) {
    ASSERT_TRUE(m_dir.Write(L"a.bmp", bmpfile::Make(Picture8(3, 2))));
    // A bare -4 would be an option: a size beginning with "-" is given in quotes.
    const std::pair<const wchar_t*, const wchar_t*> aSpec[] = {
        {L"%0", L"%0"}, {L"16,%0", L"16,%0"}, {L"\"-4\"", L"-4"}, {L"4294967296,1", L"4294967296,1"}};
    for (const auto& c : aSpec) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.first)));
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        EXPECT_EQ(0, Resize(L"a.bmp", std::wstring(L"o.bmp ") + c.first));
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount);
        EXPECT_EQ(L"a サイズの指定が正しくありません \"" + std::wstring(c.second) + L"\"\r\n", Log());
        EXPECT_FALSE(m_dir.IsFile(L"o.bmp"));
    }
    // A size inside the int range whose image would pass 2 GiB is not allocated.
    Message_clear();
    EXPECT_EQ(0, Resize(L"a.bmp", L"o.bmp 50000,50000"));
    EXPECT_EQ(L"a(3,2)->(50000,50000)\r\na (50000,50000) の画像を作れません\r\n", Log());
    EXPECT_FALSE(m_dir.IsFile(L"o.bmp"));
}

// Headers that lie about the file: each is "no bitmap", never a read outside the file.
std::vector<std::pair<std::string, std::string>> HostileBitmaps() {
    const std::string good = bmpfile::Make(Picture8(4, 4));
    std::vector<std::pair<std::string, std::string>> v;
    v.push_back({"text", "hello, world\r\n"});
    v.push_back({"only the mark", "BM"});
    v.push_back({"header cut", good.substr(0, 40)});
    v.push_back({"rows cut", good.substr(0, good.size() - 8)});
    std::string s = good;
    bmpfile::Put32(&s, 10, 0x7FFFFFF0);
    v.push_back({"pixel offset past the end", s});
    s = good;
    bmpfile::Put32(&s, 18, 0x7FFFFFFF);
    v.push_back({"huge width", s});
    s = good;
    bmpfile::Put32(&s, 22, 0x40000000);
    v.push_back({"huge height", s});
    s = good;
    bmpfile::Put32(&s, 22, static_cast<uint32_t>(-4));
    v.push_back({"negative height", s});
    s = good;
    bmpfile::Put16(&s, 28, 7);
    v.push_back({"bit count 7", s});
    s = good;
    bmpfile::Put32(&s, 30, 1);
    v.push_back({"compressed", s});
    s = good;
    bmpfile::Put32(&s, 14, 0xFFFFFFFF);
    v.push_back({"info header size past the end", s});
    return v;
}

TEST_F(BitmapTest, HostileFilesAreNoBitmapForBothCommands) {
    for (const auto& c : HostileBitmaps()) {
        SCOPED_TRACE(c.first);
        ASSERT_TRUE(m_dir.Write(L"h.bmp", c.second));
        Message_clear();
        int iErrors = s_stGl.m_iErrorCount;
        EXPECT_EQ(0, Resize(L"h.bmp", L"o.bmp 8,8"));
        EXPECT_EQ(L"ビットマップでないファイル\r\n", Log());
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount);
        EXPECT_FALSE(m_dir.IsFile(L"o.bmp"));

        Message_clear();
        iErrors = s_stGl.m_iErrorCount;
        EXPECT_EQ(0, Mask(L"h.bmp"));
        EXPECT_EQ(L"ビットマップでないファイル h.bmp\r\n", Log());
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount);
        EXPECT_FALSE(m_dir.IsFile(L"h.msk"));
    }
}

TEST_F(BitmapTest, MissingOrEmptyTargetsAreSilentFailures) {
    ASSERT_TRUE(m_dir.Write(L"empty.bmp", ""));
    EXPECT_EQ(0, Resize(L"gone.bmp", L"o.bmp 8,8"));
    EXPECT_EQ(0, Resize(L"empty.bmp", L"o.bmp 8,8"));
    EXPECT_EQ(0, Mask(L"gone.bmp"));
    EXPECT_EQ(0, Mask(L"empty.bmp"));
    EXPECT_EQ(L"", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(BitmapTest, ResizeRunsFromTheDispatcherAndWritesThroughTheOutputServices) {
    ASSERT_TRUE(m_dir.Write(L"a.bmp", bmpfile::Make(Picture8(3, 2))));
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"BMP_RESIZE";
    stLine.m_strParam = L"new\\deep\\%0_r.bmp %2";  // missing folders are made
    Command_exec(stLine, m_dir.Path(L"a.bmp").c_str());
    Command_quit(1);
    bmpfile::Spec want = Picture8(4, 2);
    want.pixel = [](int x, int y) { return x < 3 ? static_cast<uint32_t>(x + 10 * y + 1) : 0u; };
    EXPECT_EQ(bmpfile::Make(want), m_dir.Read(L"new\\deep\\a_r.bmp"));
    EXPECT_EQ(L"a(3,2)->(4,2)\r\n", Log());
}

// The tiled mask: tile (tx, ty) at (ty * 15 + tx) * 1024, its rows of 32 bytes.
std::string TiledMask(const std::function<uint32_t(int, int)>& _pixel, int _iWidth) {
    std::string s(138240, '\0');
    for (int ty = 0; ty < 9; ++ty)
        for (int tx = 0; tx < 15; ++tx)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const int iX = tx * 32 + x, iY = ty * 32 + y;
                    if (iY < 272 && iX < _iWidth)
                        s[(ty * 15 + tx) * 1024 + y * 32 + x] = static_cast<char>(_pixel(iX, iY));
                }
    return s;
}

TEST_F(BitmapTest, MaskOfA272RowImageIsTiled) {
    bmpfile::Spec sp;
    sp.width = 480;
    sp.height = 272;
    sp.pixel = [](int x, int y) { return static_cast<uint32_t>((x * 3 + y * 7) & 0xFF) | 1u; };
    ASSERT_TRUE(m_dir.Write(L"t.bmp", bmpfile::Make(sp)));
    EXPECT_EQ(1, Mask(L"t.bmp"));
    const std::string strMask = m_dir.Read(L"t.msk");
    ASSERT_EQ(138240u, strMask.size());
    for (int x = 0; x < 32; ++x) {
        EXPECT_EQ(static_cast<char>(sp.pixel(x, 0)), strMask[x]) << "row 0, pixels 0-31 first";
        EXPECT_EQ(static_cast<char>(sp.pixel(32 + x, 0)), strMask[1024 + x]) << "then row 0, pixels 32-63";
    }
    for (int tx = 0; tx < 15; ++tx)
        EXPECT_EQ(std::string(512, '\0'), strMask.substr((8 * 15 + tx) * 1024 + 512, 512))
            << "the last 16 rows of the bottom tiles are 0";
    EXPECT_EQ(TiledMask(sp.pixel, 480), strMask);
    EXPECT_EQ(L"", Log());
}

TEST_F(BitmapTest, TiledMaskAlwaysCovers480By288) {
    struct Case {
        int iWidth, iHeight;
    };
    // 288 rows: rows 272 on are 0 even when the image has them; other widths stay inside.
    const Case aCase[] = {{480, 288}, {100, 272}, {512, 288}};
    for (const Case& c : aCase) {
        SCOPED_TRACE(testing::Message() << c.iWidth << "x" << c.iHeight);
        bmpfile::Spec sp;
        sp.width = c.iWidth;
        sp.height = c.iHeight;
        sp.pixel = [](int x, int y) { return static_cast<uint32_t>(x ^ y) | 0x80u; };
        ASSERT_TRUE(m_dir.Write(L"t.bmp", bmpfile::Make(sp)));
        EXPECT_EQ(1, Mask(L"t.bmp"));
        EXPECT_EQ(TiledMask(sp.pixel, c.iWidth), m_dir.Read(L"t.msk"));
    }
}

TEST_F(BitmapTest, PlainMaskIsRowsFromTheTop) {
    struct Case {
        int iBits, iWidth, iHeight;
    };
    // Any depth: the low 8 bits of the pixel value (red of a 24-bit colour value).
    const Case aCase[] = {{8, 64, 64}, {8, 3, 5}, {4, 5, 3}, {24, 6, 2}, {32, 2, 273}, {8, 1, 1}};
    for (const Case& c : aCase) {
        SCOPED_TRACE(testing::Message() << c.iBits << " bits " << c.iWidth << "x" << c.iHeight);
        bmpfile::Spec sp;
        sp.width = c.iWidth;
        sp.height = c.iHeight;
        sp.bits = c.iBits;
        const uint32_t uMask = c.iBits == 4 ? 0xF : 0xFFFFFFFF;
        sp.pixel = [uMask](int x, int y) { return (0x01020304u * (x + 1) + 0x00F00713u * y) & uMask; };
        ASSERT_TRUE(m_dir.Write(L"p.bmp", bmpfile::Make(sp)));
        EXPECT_EQ(1, Mask(L"p.bmp"));
        std::string want;
        for (int y = 0; y < c.iHeight; ++y)
            for (int x = 0; x < c.iWidth; ++x) want += static_cast<char>(sp.pixel(x, y));
        EXPECT_EQ(want, m_dir.Read(L"p.msk"));
    }
}

TEST_F(BitmapTest, MaskOverwritesThroughTheOutputServicesWithABackup) {
    s_stGl.m_stIniSetting.BACKUP = 1;
    bmpfile::Spec sp;
    sp.width = 2;
    sp.height = 1;
    sp.pixel = [](int x, int) { return static_cast<uint32_t>(x + 5); };
    ASSERT_TRUE(m_dir.Write(L"m.bmp", bmpfile::Make(sp)));
    ASSERT_TRUE(m_dir.Write(L"m.msk", "old"));
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"MAKEMASK";
    Command_exec(stLine, m_dir.Path(L"m.bmp").c_str());
    Command_quit(1);
    EXPECT_EQ("\x05\x06", m_dir.Read(L"m.msk"));
    EXPECT_EQ("old", m_dir.Read(L"m.bak"));
}

}  // namespace
