// Benchmarks, not tests: run with --gtest_also_run_disabled_tests --gtest_filter=FitPartsBench*
// They print their figures; nothing is timed against a limit.
#include "krelwin/module/fitparts.h"
#include "krelwin/module/fitparts_search.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/output.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"
#include "tests/support/bmpfile.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point _t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - _t0).count();
}

// A picture with smooth areas and a little grain, as drawn art has: neighbouring places
// score alike, which is the hard case for leaving places out.
uint32_t Art(int x, int y) {
    uint32_t u = (static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u) * 2654435761u;
    const uint32_t uGrain = (u >> 24) & 15;
    const uint32_t r = ((x / 3 + y / 5) & 0xFF) ^ uGrain, g = ((x * y / 97) & 0xFF) ^ uGrain,
                   b = (((x - y) / 7) & 0xFF) ^ uGrain;
    return r | g << 8 | b << 16;
}

uint32_t Stored(uint32_t c) { return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16) | 0xFF000000u; }

std::vector<uint32_t> Pixels(int w, int h, int x0, int y0) {
    std::vector<uint32_t> v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v.push_back(Stored(Art(x + x0, y + y0)));
    return v;
}

int AnswerYes(const wchar_t*) { return OUTPUT_ANSWER_YES; }

class FitPartsBench : public EngineTest {};

TEST_F(FitPartsBench, DISABLED_TwentyPartsOnA1024Base) {
    OUTPUT_ASK pOld = Output_setAsk(AnswerYes);
    ASSERT_TRUE(m_dir.MakeDir(L"img"));
    ASSERT_TRUE(m_dir.MakeDir(L"out"));
    bmpfile::Spec sp;
    sp.width = sp.height = 1024;
    sp.bits = 24;
    sp.pixel = Art;
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", bmpfile::Make(sp)));
    std::string strList = "base.bmp\r\n";
    for (int i = 0; i < 20; ++i) {
        bmpfile::Spec part;
        part.width = 16 + (i * 37) % 113;
        part.height = 16 + (i * 53) % 97;
        part.bits = 24;
        const int x0 = (i * 389) % (1024 - part.width - 1), y0 = (i * 631) % (1024 - part.height - 1);
        part.pixel = [x0, y0](int x, int y) { return Art(x + x0, y + y0); };
        const std::wstring strName = L"p" + std::to_wstring(i) + L".bmp";
        ASSERT_TRUE(m_dir.Write(L"img\\" + strName, bmpfile::Make(part)));
        strList += "\t" + Narrow(strName) + "\r\n";
    }
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    std::unique_ptr<FITPARTS> pFit(new FITPARTS);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(1, pFit->Func((L"\"" + m_dir.Path(L"list.txt") + L"\" img " + m_dir.Path(L"out")).c_str()));
    const double d = Seconds(t0);
    std::printf("FITPARTS, 1024 x 1024 base, 20 parts of 16..128 pixels a side: %.2f s (list, search, 20 outputs)\n", d);
    std::printf("%s", Narrow(Log()).c_str());
    Output_setAsk(pOld);
}

// How the search's cost grows with the base and the part, exact parts (cut from the base) and
// edited ones (no exact place: every place is scored until it falls behind the best).
TEST_F(FitPartsBench, DISABLED_SearchCostGrowth) {
    struct Case {
        int iBase, iPart;
        bool bEdited, bPlain;
    };
    const Case aCase[] = {
        {256, 32, false, true},   {512, 32, false, true},   {1024, 32, false, false},
        {256, 64, false, true},   {512, 64, false, false},  {1024, 64, false, false},
        {1024, 128, false, false}, {256, 32, true, true},   {512, 32, true, false},
        {1024, 32, true, false},  {1024, 64, true, false},
    };
    for (const Case& c : aCase) {
        const std::vector<uint32_t> vBase = Pixels(c.iBase, c.iBase, 0, 0);
        // Placed three quarters into the base: most places come before it.
        const int iAt = (c.iBase - c.iPart) * 3 / 4;
        std::vector<uint32_t> vPart = Pixels(c.iPart, c.iPart, iAt, iAt);
        if (c.bEdited) {
            for (size_t i = 0; i < vPart.size(); i += 7) vPart[i] ^= 0x00030303u;
        }
        const FITPARTS_IMAGE stBase = {vBase.data(), c.iBase, c.iBase};
        const FITPARTS_IMAGE stPart = {vPart.data(), c.iPart, c.iPart};
        auto t0 = std::chrono::steady_clock::now();
        const FITPARTS_RESULT r = FITPARTS_Search(stBase, stPart, 0, 1, 80);
        const double dFast = Seconds(t0);
        EXPECT_EQ(iAt, r.iX);
        EXPECT_EQ(iAt, r.iY);
        double dPlain = -1;
        if (c.bPlain) {
            t0 = std::chrono::steady_clock::now();
            const FITPARTS_RESULT p = FITPARTS_SearchPlain(stBase, stPart, 0, 1, 80);
            dPlain = Seconds(t0);
            EXPECT_EQ(r.iX, p.iX);
            EXPECT_EQ(r.fBest, p.fBest);
        }
        const double dPlaces = static_cast<double>(c.iBase - c.iPart) * (c.iBase - c.iPart);
        std::printf("base %4d, part %3d%s: %.3f s, %.1f ns per place", c.iBase, c.iPart,
                    c.bEdited ? " edited" : "       ", dFast, dFast * 1e9 / dPlaces);
        if (dPlain >= 0) std::printf("; every pixel of every place: %.3f s", dPlain);
        std::printf("\n");
    }
}

}  // namespace
