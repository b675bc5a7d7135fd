// FITPARTS and FITPARTS_REV through krelwin.exe: bitmaps and a part list made here; the
// pasted and cut images, the list written back and the message log compared whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/krelwin_run.h"
#include "tests/support/bmpfile.h"

namespace {

using e2e::KrelwinRun;
using e2e::RunJob;

uint32_t Colour(int x, int y) {
    uint32_t u = static_cast<uint32_t>(x * 73856093 ^ y * 19349663) * 2654435761u;
    return (u ^ (u >> 13)) & 0xFFFFFF;
}

std::string Picture(int w, int h, int bits, const bmpfile::PixelFn& colour) {
    bmpfile::Spec sp;
    sp.width = w;
    sp.height = h;
    sp.bits = bits;
    // 32-bit images store blue, green, red, alpha.
    sp.pixel = bits == 32 ? bmpfile::PixelFn([colour](int x, int y) {
        const uint32_t c = colour(x, y);
        return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16) | 0xFF000000u;
    })
                          : colour;
    return bmpfile::Make(sp);
}

TEST(FitPartsE2E, PartsAreFoundPastedAndTheirPlacesWrittenBack) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"img"));
    // base.bmp holds a.bmp at (12, 7); b.bmp is a red square already placed at (1, 2).
    ASSERT_TRUE(d.Write(L"img\\base.bmp", Picture(40, 30, 24, Colour)));
    ASSERT_TRUE(d.Write(L"img\\a.bmp", Picture(8, 6, 24, [](int x, int y) { return Colour(x + 12, y + 7); })));
    ASSERT_TRUE(d.Write(L"img\\b.bmp", Picture(2, 2, 24, [](int, int) { return 0x0000FFu; })));
    ASSERT_TRUE(d.Write(L"img\\list.txt", "base.bmp\r\n\ta.bmp\r\n\tb.bmp\tb_out.bmp\t0\t0\t1\t2"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS . out\r\n[FILES]\r\nimg\\list.txt\r\n", 0, &log));

    EXPECT_EQ(Picture(40, 30, 32, Colour), d.Read(L"out\\a.bmp"));
    EXPECT_EQ(Picture(40, 30, 32, [](int x, int y) { return (x >= 1 && x < 3 && y >= 2 && y < 4) ? 0x0000FFu : Colour(x, y); }),
              d.Read(L"out\\b_out.bmp"));
    EXPECT_FALSE(d.IsFile(L"out\\base.bmp")) << "the base goes out with its exact part only";
    EXPECT_EQ("base.bmp\t\t\t40\t30\r\n\ta.bmp\ta.bmp\t8\t6\t12\t7\r\n\tb.bmp\tb_out.bmp\t2\t2\t1\t2\r\n",
              d.Read(L"img\\list.txt"));
    EXPECT_EQ("searching...\r\nfiting\r\na.bmp 12,7  (48:48)100%\r\nbase.bmp  already printing.\r\nouting\r\n"
              "Completed...\r\n",
              log);
}

TEST(FitPartsE2E, ReverseCutsThePartsOutOfRescaledImages) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"img"));
    ASSERT_TRUE(d.MakeDir(L"out"));
    // The output image of a.bmp was halved meanwhile (and saved at 24 bits).
    const bmpfile::PixelFn half = [](int x, int y) { return Colour(2 * x, 2 * y); };
    ASSERT_TRUE(d.Write(L"out\\a.bmp", Picture(20, 15, 24, half)));
    ASSERT_TRUE(d.Write(L"out\\base.bmp", Picture(4, 4, 32, Colour)));
    ASSERT_TRUE(d.Write(L"img\\list.txt", "base.bmp\t\tbase.bmp\t40\t30\r\n\ta.bmp\ta.bmp\t8\t6\t12\t7\r\n"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS_REV . out\r\n[FILES]\r\nimg\\list.txt\r\n", 0, &log));

    EXPECT_EQ(Picture(4, 4, 32, Colour), d.Read(L"img\\base.bmp")) << "a base image comes back unchanged";
    EXPECT_EQ(Picture(4, 3, 32, [half](int x, int y) { return half(x + 6, y + 3); }), d.Read(L"img\\a.bmp"));
    EXPECT_EQ("base.bmp\t\tbase.bmp\t40\t30\r\n\ta.bmp\ta.bmp\t8\t6\t6\t3\r\n", d.Read(L"img\\list.txt"));
    EXPECT_EQ("searching...\r\nouting\r\n50%,50%\r\nCompleted...\r\n", log);
}

TEST(FitPartsE2E, UnreadableAndLyingImagesAreErrorsOfTheRun) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    std::string lying = Picture(20, 20, 24, Colour);
    bmpfile::Put32(&lying, 18, 0x7FFFFFFF);  // a width far past the file
    ASSERT_TRUE(d.Write(L"base.bmp", lying));
    ASSERT_TRUE(d.Write(L"list.txt", "base.bmp\r\n\tgone.bmp\r\n"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS .\r\n[FILES]\r\nlist.txt\r\n", 2, &log));
    EXPECT_EQ("searching...\r\n\x83\x72\x83\x62\x83\x67\x83\x7d\x83\x62\x83\x76\x82\xc5\x82\xc8\x82\xa2"
              "\x83\x74\x83\x40\x83\x43\x83\x8b base.bmp\r\ngone.bmp not read\r\nfiting\r\nouting\r\nerror(s).2\r\n",
              log);
    EXPECT_EQ("base.bmp\t\tbase.bmp\t0\t0\r\n\tgone.bmp\tgone.bmp\t0\t0\t-1\t-1\r\n", d.Read(L"list.txt"))
        << "without its images a part is not searched";
}

}  // namespace
