// The placement search: the search that leaves places out gives exactly what scoring
// every place gives, and the rules of the plain search.
#include "krelwin/module/fitparts_search.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Lcg {
    uint32_t u;
    uint32_t Next() {
        u = u * 1664525u + 1013904223u;
        return u >> 8;
    }
};

struct Picture {
    std::vector<uint32_t> v;
    int w = 0, h = 0;
    FITPARTS_IMAGE Image() const { return {v.data(), w, h}; }
    uint32_t& At(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
};

Picture Cut(const Picture& _base, int _iX, int _iY, int _iW, int _iH) {
    Picture p;
    p.w = _iW;
    p.h = _iH;
    for (int y = 0; y < _iH; ++y)
        for (int x = 0; x < _iW; ++x) p.v.push_back(_base.v[static_cast<size_t>(_iY + y) * _base.w + _iX + x]);
    return p;
}

uint32_t Bits(float _f) {
    uint32_t u;
    std::memcpy(&u, &_f, 4);
    return u;
}

TEST(FitPartsSearch, LeavingPlacesOutGivesThePlainResult) {
    Lcg rng = {12345};
    const uint32_t aPalette[] = {0xFF000000u, 0xFF102030u, 0xFF112030u, 0xFFFFFFFFu, 0xFF808080u, 0x00808080u};
    int iExact = 0;
    for (int iCase = 0; iCase < 600; ++iCase) {
        SCOPED_TRACE(iCase);
        Picture base;
        base.w = 4 + static_cast<int>(rng.Next() % 60);
        base.h = 4 + static_cast<int>(rng.Next() % 40);
        const int iColours = 2 + static_cast<int>(rng.Next() % 5);
        const bool bNoise = rng.Next() % 2;
        for (int i = 0; i < base.w * base.h; ++i)
            base.v.push_back(bNoise ? (0xFF000000u | (rng.Next() & 0xFFFFFF)) : aPalette[rng.Next() % iColours]);
        const int iPw = 1 + static_cast<int>(rng.Next() % (base.w - 1));
        const int iPh = 1 + static_cast<int>(rng.Next() % (base.h - 1));
        const int iX = static_cast<int>(rng.Next() % (base.w - iPw + 1));
        const int iY = static_cast<int>(rng.Next() % (base.h - iPh + 1));
        Picture part = Cut(base, iX, iY, iPw, iPh);
        // Some parts edited (no exact place), some with transparent pixels.
        const int iEdits = static_cast<int>(rng.Next() % 4);
        for (int e = 0; e < iEdits; ++e) part.v[rng.Next() % part.v.size()] ^= 0x00010300u;
        // And some that are not from the base at all.
        if (rng.Next() % 6 == 0)
            for (uint32_t& u : part.v) u = 0xFF000000u | (rng.Next() & 0xFFFFFF);
        const uint32_t uTransparent = (rng.Next() % 3 == 0) ? part.v[0] : base.v[0];
        const int iPrune = static_cast<int>(rng.Next() % 2);
        const int iThreshold = (rng.Next() % 4 == 0) ? 100 : 80;
        const FITPARTS_RESULT a = FITPARTS_Search(base.Image(), part.Image(), uTransparent, iPrune, iThreshold);
        const FITPARTS_RESULT b = FITPARTS_SearchPlain(base.Image(), part.Image(), uTransparent, iPrune, iThreshold);
        ASSERT_EQ(b.iX, a.iX);
        ASSERT_EQ(b.iY, a.iY);
        ASSERT_EQ(Bits(b.fBest), Bits(a.fBest));
        ASSERT_EQ(Bits(b.fTotal), Bits(a.fTotal));
        if (b.fTotal > 0 && b.fBest >= b.fTotal) ++iExact;
    }
    EXPECT_GT(iExact, 50) << "the cases include exact places";
}

TEST(FitPartsSearch, LargePartsNearlyMatchingGiveThePlainResult) {
    // Many pixels just off: sums close to the total, where rounding could tip a place over.
    Lcg rng = {777};
    for (int iCase = 0; iCase < 6; ++iCase) {
        SCOPED_TRACE(iCase);
        Picture base;
        base.w = 80;
        base.h = 70;
        for (int i = 0; i < base.w * base.h; ++i) base.v.push_back(0xFF000000u | ((rng.Next() % 3) * 0x010101u));
        Picture part = Cut(base, 20 + iCase, 30, 48 + iCase, 32);
        for (size_t i = 0; i < part.v.size(); i += 1 + iCase) part.v[i] ^= 0x00000001u;
        const FITPARTS_RESULT a = FITPARTS_Search(base.Image(), part.Image(), 0, 1, 80);
        const FITPARTS_RESULT b = FITPARTS_SearchPlain(base.Image(), part.Image(), 0, 1, 80);
        EXPECT_EQ(b.iX, a.iX);
        EXPECT_EQ(b.iY, a.iY);
        EXPECT_EQ(Bits(b.fBest), Bits(a.fBest));
    }
}

Picture Noise(int _iW, int _iH, uint32_t _uSeed) {
    Lcg rng = {_uSeed};
    Picture p;
    p.w = _iW;
    p.h = _iH;
    for (int i = 0; i < _iW * _iH; ++i) p.v.push_back(0xFF000000u | (rng.Next() & 0xFFFFFF));
    return p;
}

TEST(FitPartsSearch, PlacesTouchingTheRightOrBottomEdgeAreNotTried) {
    Picture base = Noise(30, 20, 5);
    struct Case {
        int iX, iY;
        bool bFound;
    };
    const Case aCase[] = {{12, 7, true}, {0, 0, true}, {21, 0, true}, {22, 5, false}, {3, 12, false}, {3, 11, true}};
    for (const Case& c : aCase) {
        SCOPED_TRACE(testing::Message() << c.iX << "," << c.iY);
        const Picture part = Cut(base, c.iX, c.iY, 8, 8);
        for (auto pSearch : {&FITPARTS_Search, &FITPARTS_SearchPlain}) {
            const FITPARTS_RESULT r = pSearch(base.Image(), part.Image(), 1u, 1, 80);  // no pixel is 1
            EXPECT_EQ(64.0f, r.fTotal);
            EXPECT_EQ(c.bFound, r.iX == c.iX && r.iY == c.iY);
            EXPECT_EQ(c.bFound, r.fBest == r.fTotal);
        }
    }
}

TEST(FitPartsSearch, PixelScoresAndTheQuickCheck) {
    EXPECT_EQ(1.0f, FITPARTS_PixelScore(0xFF123456u, 0xFF123456u));
    EXPECT_EQ(1.0f, FITPARTS_PixelScore(0x00123456u, 0xFF123456u)) << "alpha is not compared";
    EXPECT_EQ(0.0f, FITPARTS_PixelScore(0xFFFFFFFFu, 0xFF000000u));
    EXPECT_EQ(static_cast<float>(764 / 765.0), FITPARTS_PixelScore(0x00000001u, 0x00000000u));
    EXPECT_EQ(static_cast<float>(650 / 765.0), FITPARTS_PixelScore(0x00640A05u, 0x00000000u));  // 5 + 10 + 100

    Picture base = Noise(10, 10, 9);
    const Picture part = Cut(base, 2, 3, 4, 4);
    EXPECT_EQ(16.0f, FITPARTS_ScoreAt(base.Image(), part.Image(), 2, 3));
    EXPECT_LT(FITPARTS_ScoreAt(base.Image(), part.Image(), 3, 3), 16.0f);
    Picture flat;
    flat.w = flat.h = 3;
    flat.v.assign(9, 7u);
    EXPECT_EQ(0.0f, FITPARTS_Total(flat.Image(), 7u));
    EXPECT_EQ(9.0f, FITPARTS_Total(flat.Image(), 8u));
    const FITPARTS_RESULT r = FITPARTS_Search(base.Image(), flat.Image(), 7u, 1, 80);
    EXPECT_EQ(0, r.iX);
    EXPECT_EQ(0.0f, r.fBest) << "a part without pixels to compare scores nothing anywhere";
}

}  // namespace
