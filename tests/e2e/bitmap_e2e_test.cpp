// BMP_RESIZE and MAKEMASK through krelwin.exe: bitmaps made here, whole output files and
// whole message logs compared.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"
#include "tests/support/bmpfile.h"

namespace {

using e2e::Ansi;
using e2e::KrelwinRun;
using e2e::RunJob;

bmpfile::Spec Indexed(int _iW, int _iH) {
    bmpfile::Spec sp;
    sp.width = _iW;
    sp.height = _iH;
    sp.pixel = [](int x, int y) { return static_cast<uint32_t>(16 * y + x + 1); };
    for (uint32_t i = 0; i < 256; ++i) sp.palette.push_back(0x00203040u + i);
    return sp;
}

TEST(BitmapE2E, ResizeAndMaskOverTwoImages) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"img"));
    const bmpfile::Spec a = Indexed(5, 3);
    ASSERT_TRUE(d.Write(L"img\\a.bmp", bmpfile::Make(a)));
    bmpfile::Spec b;  // 24 bits, 6 x 2
    b.width = 6;
    b.height = 2;
    b.bits = 24;
    b.pixel = [](int x, int y) { return static_cast<uint32_t>(0x00102030 * (x + 1) + 0x050607 * y) & 0xFFFFFF; };
    ASSERT_TRUE(d.Write(L"img\\\x65e5\x672c.bmp", bmpfile::Make(b)));  // 日本.bmp
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\n"
                            "BMP_RESIZE out\\%0_r.bmp %4,+1\r\n"
                            "MAKEMASK\r\n"
                            "[FILES]\r\nimg\\a.bmp\r\nimg\\\x93\xfa\x96\x7b.bmp\r\n", 0, &log));

    bmpfile::Spec ra = a;  // 8 x 4: the palette stays, new pixels are index 0
    ra.width = 8;
    ra.height = 4;
    ra.pixel = [](int x, int y) { return (x < 5 && y < 3) ? static_cast<uint32_t>(16 * y + x + 1) : 0u; };
    EXPECT_EQ(bmpfile::Make(ra), d.Read(L"img\\out\\a_r.bmp"));
    bmpfile::Spec rb = b;  // 8 x 3
    rb.width = 8;
    rb.height = 3;
    const bmpfile::PixelFn pb = b.pixel;
    rb.pixel = [pb](int x, int y) { return (x < 6 && y < 2) ? pb(x, y) : 0u; };
    EXPECT_EQ(bmpfile::Make(rb), d.Read(L"img\\out\\\x65e5\x672c_r.bmp"));

    EXPECT_EQ(std::string("\x01\x02\x03\x04\x05\x11\x12\x13\x14\x15\x21\x22\x23\x24\x25"), d.Read(L"img\\a.msk"));
    std::string maskB;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) maskB += static_cast<char>(pb(x, y));  // red of each colour
    EXPECT_EQ(maskB, d.Read(L"img\\\x65e5\x672c.msk"));

    const std::string strJapan = "\x93\xfa\x96\x7b";
    EXPECT_EQ("a(5,3)->(8,4)\r\n" + strJapan + "(6,2)->(8,3)\r\nCompleted...\r\n", log);
}

TEST(BitmapE2E, FilesThatAreNoBitmapsAreErrorsOfTheRun) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    std::string lying = bmpfile::Make(Indexed(4, 4));
    bmpfile::Put32(&lying, 22, 0x10000000);  // far more rows than the file holds
    ASSERT_TRUE(d.Write(L"t.bmp", "not a picture"));
    ASSERT_TRUE(d.Write(L"l.bmp", lying));
    ASSERT_TRUE(d.Write(L"g.bmp", bmpfile::Make(Indexed(2, 2))));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nBMP_RESIZE o_%1 8,8\r\nBMP_RESIZE z_%1 %0\r\nMAKEMASK\r\n"
                            "[FILES]\r\nt.bmp\r\nl.bmp\r\ng.bmp\r\n", 7, &log));
    EXPECT_EQ(Ansi(L"ビットマップでないファイル\r\n"
                   L"ビットマップでないファイル\r\n"
                   L"g(2,2)->(8,8)\r\n"
                   L"ビットマップでないファイル\r\n"
                   L"ビットマップでないファイル\r\n"
                   L"g サイズの指定が正しくありません \"%0\"\r\n"
                   L"ビットマップでないファイル t.bmp\r\n"
                   L"ビットマップでないファイル l.bmp\r\n"
                   L"error(s).7\r\n"),
              log);
    EXPECT_TRUE(d.IsFile(L"o_g.bmp"));
    EXPECT_FALSE(d.IsFile(L"o_t.bmp"));
    EXPECT_FALSE(d.IsFile(L"o_l.bmp"));
    EXPECT_FALSE(d.IsFile(L"z_g.bmp"));
    EXPECT_FALSE(d.IsFile(L"t.msk"));
    EXPECT_FALSE(d.IsFile(L"l.msk"));
    EXPECT_EQ(std::string("\x01\x02\x11\x12"), d.Read(L"g.msk"));
}

}  // namespace
