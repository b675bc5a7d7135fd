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
    ASSERT_TRUE(d.Write(L"img\\base.bmp", Picture(40, 30, 24, bmpfile::Noise)));
    ASSERT_TRUE(d.Write(L"img\\a.bmp", Picture(8, 6, 24, [](int x, int y) { return bmpfile::Noise(x + 12, y + 7); })));
    ASSERT_TRUE(d.Write(L"img\\b.bmp", Picture(2, 2, 24, [](int, int) { return 0x0000FFu; })));
    ASSERT_TRUE(d.Write(L"img\\list.txt", "base.bmp\r\n\ta.bmp\r\n\tb.bmp\tb_out.bmp\t0\t0\t1\t2"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS . out\r\n[FILES]\r\nimg\\list.txt\r\n", 0, &log));

    EXPECT_EQ(Picture(40, 30, 32, bmpfile::Noise), d.Read(L"out\\a.bmp"));
    EXPECT_EQ(Picture(40, 30, 32, [](int x, int y) { return (x >= 1 && x < 3 && y >= 2 && y < 4) ? 0x0000FFu : bmpfile::Noise(x, y); }),
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
    const bmpfile::PixelFn half = [](int x, int y) { return bmpfile::Noise(2 * x, 2 * y); };
    ASSERT_TRUE(d.Write(L"out\\a.bmp", Picture(20, 15, 24, half)));
    ASSERT_TRUE(d.Write(L"out\\base.bmp", Picture(4, 4, 32, bmpfile::Noise)));
    ASSERT_TRUE(d.Write(L"img\\list.txt", "base.bmp\t\tbase.bmp\t40\t30\r\n\ta.bmp\ta.bmp\t8\t6\t12\t7\r\n"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS_REV . out\r\n[FILES]\r\nimg\\list.txt\r\n", 0, &log));

    EXPECT_EQ(Picture(4, 4, 32, bmpfile::Noise), d.Read(L"img\\base.bmp")) << "a base image comes back unchanged";
    EXPECT_EQ(Picture(4, 3, 32, [half](int x, int y) { return half(x + 6, y + 3); }), d.Read(L"img\\a.bmp"));
    EXPECT_EQ("base.bmp\t\tbase.bmp\t40\t30\r\n\ta.bmp\ta.bmp\t8\t6\t6\t3\r\n", d.Read(L"img\\list.txt"));
    EXPECT_EQ("searching...\r\nouting\r\n50%,50%\r\nCompleted...\r\n", log);
}

TEST(FitPartsE2E, UnreadableAndLyingImagesAreErrorsOfTheRun) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    std::string lying = Picture(20, 20, 24, bmpfile::Noise);
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

TEST(FitPartsE2E, ARewrittenListKeepsEachPartWithItsBase) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"img"));
    // p2.bmp and p3.bmp lie in b.bmp, whose name stands on p2's own line.
    const bmpfile::PixelFn b = [](int x, int y) { return bmpfile::Noise(x + 50, y + 30); };
    ASSERT_TRUE(d.Write(L"img\\a.bmp", Picture(20, 10, 24, bmpfile::Noise)));
    ASSERT_TRUE(d.Write(L"img\\b.bmp", Picture(20, 10, 24, b)));
    ASSERT_TRUE(d.Write(L"img\\p1.bmp", Picture(4, 3, 24, [](int x, int y) { return bmpfile::Noise(x + 3, y + 2); })));
    ASSERT_TRUE(d.Write(L"img\\p2.bmp", Picture(5, 3, 24, [b](int x, int y) { return b(x + 9, y + 5); })));
    ASSERT_TRUE(d.Write(L"img\\p3.bmp", Picture(3, 3, 24, [b](int x, int y) { return b(x + 2, y + 6); })));
    ASSERT_TRUE(d.Write(L"img\\list.txt", "a.bmp\r\n\tp1.bmp\r\nb.bmp\tp2.bmp\r\n\tp3.bmp\r\n"));
    // The second line reads the list the first one wrote and pastes every part again.
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS . out\r\nFITPARTS . out2\r\n[FILES]\r\nimg\\list.txt\r\n", 0, &log));

    // Read again, a.bmp's line names its output: no search of the second line cleared it.
    EXPECT_EQ("a.bmp\t\ta.bmp\t20\t10\r\n\tp1.bmp\tp1.bmp\t4\t3\t3\t2\r\nb.bmp\tp2.bmp\tp2.bmp\t5\t3\t9\t5\r\n"
              "\tp3.bmp\tp3.bmp\t3\t3\t2\t6\r\n",
              d.Read(L"img\\list.txt"));
    for (const wchar_t* pOut : {L"out", L"out2"}) {
        const std::wstring strOut(pOut);
        SCOPED_TRACE(testing::PrintToString(strOut));
        EXPECT_EQ(Picture(20, 10, 32, bmpfile::Noise), d.Read(strOut + L"\\p1.bmp"));
        EXPECT_EQ(Picture(20, 10, 32, b), d.Read(strOut + L"\\p2.bmp"));
        EXPECT_EQ(Picture(20, 10, 32, b), d.Read(strOut + L"\\p3.bmp"));
    }
    EXPECT_FALSE(d.IsFile(L"out\\a.bmp"));
    EXPECT_EQ(Picture(20, 10, 32, bmpfile::Noise), d.Read(L"out2\\a.bmp"));
    EXPECT_EQ("searching...\r\nfiting\r\np1.bmp 3,2  (12:12)100%\r\np2.bmp 9,5  (15:15)100%\r\n"
              "p3.bmp 2,6  (9:9)100%\r\nouting\r\n"
              "searching...\r\nfiting\r\na.bmp  already printing.\r\nb.bmp  already printing.\r\n"
              "b.bmp  already printing.\r\nouting\r\nCompleted...\r\n",
              log);
}

TEST(FitPartsE2E, ReverseRefusesPartsLargerThanTheirBaseImage) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"img"));
    ASSERT_TRUE(d.MakeDir(L"out"));
    // base.bmp stayed 4 x 4; the image of half.bmp (40 x 30) was halved.
    ASSERT_TRUE(d.Write(L"out\\b.bmp", Picture(4, 4, 24, bmpfile::Noise)));
    ASSERT_TRUE(d.Write(L"out\\h.bmp", Picture(20, 15, 24, bmpfile::Noise)));
    const std::string strList = "base.bmp\t\t\t4\t4\r\n"
                                "\tbig.bmp\tb.bmp\t8000\t8000\t0\t0\r\n"
                                "\thuge.bmp\tb.bmp\t23170\t23170\t0\t0\r\n"
                                "\tover.bmp\tb.bmp\t0x7FFFFFFF\t0x7FFFFFFF\t0\t0\r\n"
                                "\tneg.bmp\tb.bmp\t4\t-8000\t0\t0\r\n"
                                "\tedge.bmp\tb.bmp\t3\t3\t2\t2\r\n"
                                "half.bmp\t\t\t40\t30\r\n"
                                "\thalf_p.bmp\th.bmp\t30\t24\t4\t2\r\n";
    ASSERT_TRUE(d.Write(L"img\\list.txt", strList));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS_REV . out\r\n[FILES]\r\nimg\\list.txt\r\n", 4, &log));
    EXPECT_EQ("searching...\r\nouting\r\n"
              "100%,100%\r\nbig.bmp: larger than its base image\r\n"
              "100%,100%\r\nhuge.bmp: larger than its base image\r\n"
              "over.bmp: size out of range\r\n"
              "100%,100%\r\nneg.bmp: size out of range\r\n"
              "100%,100%\r\n"
              "50%,50%\r\n"
              "error(s).4\r\n",
              log);
    EXPECT_FALSE(d.IsFile(L"img\\big.bmp"));
    EXPECT_FALSE(d.IsFile(L"img\\huge.bmp"));
    EXPECT_FALSE(d.IsFile(L"img\\over.bmp"));
    EXPECT_FALSE(d.IsFile(L"img\\neg.bmp"));
    // A part that reaches past the image's edge is cut with 0 outside it.
    std::string strEdge = Picture(3, 3, 32, [](int x, int y) { return bmpfile::Noise(x + 2, y + 2); });
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (x == 2 || y == 2) bmpfile::Put32(&strEdge, 54 + (2 - y) * 12 + 4 * x, 0);
        }
    }
    EXPECT_EQ(strEdge, d.Read(L"img\\edge.bmp"));
    EXPECT_EQ(Picture(15, 12, 32, [](int x, int y) { return bmpfile::Noise(x + 2, y + 1); }), d.Read(L"img\\half_p.bmp"))
        << "wider than the halved image as recorded, but not as scaled";
    EXPECT_EQ("base.bmp\t\t\t4\t4\r\n"
              "\tbig.bmp\tb.bmp\t8000\t8000\t0\t0\r\n"
              "\thuge.bmp\tb.bmp\t23170\t23170\t0\t0\r\n"
              "\tover.bmp\tb.bmp\t2147483647\t2147483647\t0\t0\r\n"
              "\tneg.bmp\tb.bmp\t4\t-8000\t0\t0\r\n"
              "\tedge.bmp\tb.bmp\t3\t3\t2\t2\r\n"
              "half.bmp\t\t\t40\t30\r\n"
              "\thalf_p.bmp\th.bmp\t30\t24\t2\t1\r\n",
              d.Read(L"img\\list.txt"));
}

TEST(FitPartsE2E, ReverseCopiesBaseImagesAsTheyAre) {
    KrelwinRun run;
    ASSERT_TRUE(run.Ok());
    const auto& d = run.Dir();
    ASSERT_TRUE(d.MakeDir(L"img"));
    ASSERT_TRUE(d.MakeDir(L"out"));
    // 8-bit images with the longer info headers of newer editors.
    bmpfile::Spec sp;
    sp.width = 40;
    sp.height = 52;
    sp.bits = 8;
    sp.pixel = [](int x, int y) { return static_cast<uint32_t>((x * 5 + y) & 0xFF); };
    const std::string str124 = bmpfile::WithLongInfoHeader(bmpfile::Make(sp), 124);
    const std::string str108 = bmpfile::WithLongInfoHeader(bmpfile::Make(sp), 108);
    ASSERT_TRUE(d.Write(L"out\\o124.bmp", str124));
    ASSERT_TRUE(d.Write(L"out\\o108.bmp", str108));
    ASSERT_TRUE(d.Write(L"img\\list.txt", "b124.bmp\t\to124.bmp\t40\t52\r\nb108.bmp\t\to108.bmp\t40\t52\r\n"));
    std::string log;
    ASSERT_TRUE(RunJob(run, "[SCRIPT]\r\nFITPARTS_REV . out\r\n[FILES]\r\nimg\\list.txt\r\n", 0, &log));

    EXPECT_EQ(str124, d.Read(L"img\\b124.bmp"));
    EXPECT_EQ(str108, d.Read(L"img\\b108.bmp"));
    EXPECT_EQ("b124.bmp\t\to124.bmp\t40\t52\r\nb108.bmp\t\to108.bmp\t40\t52\r\n", d.Read(L"img\\list.txt"));
    EXPECT_EQ("searching...\r\nouting\r\nCompleted...\r\n", log);
}

}  // namespace
