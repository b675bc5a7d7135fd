#include "kelto/graphics/blit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

struct Image {
    void* p = nullptr;
    BMP_INFO st;
    Image(int w, int h, uint16_t bits, const std::function<int(int, int)>& fill) {
        BMP_Create(&p, w, h, bits, 72, 72);
        st = BMP_GetInfo(p);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) BMP_SetPixel(&st, x, y, fill(x, y));
    }
    ~Image() { delete[] static_cast<unsigned char*>(p); }
    std::vector<int> Pixels() const {
        std::vector<int> v;
        for (int y = 0; y < st.iHeight; ++y)
            for (int x = 0; x < st.iWidth; ++x) v.push_back(BMP_GetPixel(&st, x, y));
        return v;
    }
};

BLT_REQUEST Request(const Image& src, int sx, int sy, const Image& dst, int dx, int dy, int w, int h,
                    int keyMode, uint32_t key, int mesh) {
    BLT_REQUEST r;
    std::memset(&r, 0, sizeof r);
    r.iSrcX = sx; r.iSrcY = sy; r.iDstX = dx; r.iDstY = dy; r.iWidth = w; r.iHeight = h;
    r.stSrc = src.st; r.stDst = dst.st; r.iKeyMode = keyMode; r.uKeyColour = key; r.iMesh = mesh;
    return r;
}

// The destination after a copy without key: inside the rectangle the admitted pixels come from the
// source, everything else keeps its value.
std::vector<int> Expected(const Image& src, const BLT_REQUEST& r, const Image& dst,
                          const std::function<bool(int)>& skip = [](int) { return false; }) {
    std::vector<int> v = dst.Pixels();
    for (int y = 0; y < r.iHeight; ++y) {
        for (int x = 0; x < r.iWidth; ++x) {
            const int row = r.iHeight - 1 - y; // counted from the rectangle's bottom
            const bool admitted = r.iMesh == 0 || (r.iMesh == 1 && !(row & 1) && !(x & 1)) ||
                                  (r.iMesh == 2 && !(row & 1) && (x & 1)) ||
                                  (r.iMesh == 3 && (row & 1) && !(x & 1)) || (r.iMesh == 4 && (row & 1) && (x & 1));
            const int value = BMP_GetPixel(&src.st, r.iSrcX + x, r.iSrcY + y);
            if (admitted && !skip(value)) v[(r.iDstY + y) * dst.st.iWidth + r.iDstX + x] = value;
        }
    }
    return v;
}

} // namespace

TEST(BltCopy, CopiesRectanglesAtEveryDepthWithOddPlaces)
{
    struct Row { const char* name; uint16_t bits; int sx, sy, dx, dy, w, h; };
    const Row rows[] = {
        {"8 bits", 8, 1, 1, 2, 0, 3, 2},
        {"24 bits", 24, 1, 1, 2, 0, 3, 2},
        {"16 bits", 16, 1, 1, 2, 0, 3, 2},
        {"4 bits from odd x to even x", 4, 1, 0, 2, 1, 3, 2},
        {"4 bits from even x to odd x", 4, 2, 1, 1, 0, 3, 3},
        {"whole image", 8, 0, 0, 0, 0, 5, 4},
    };
    for (const Row& row : rows) {
        const int mask = row.bits == 4 ? 0xF : row.bits == 8 ? 0xFF : row.bits == 16 ? 0xFFFF : 0xFFFFFF;
        Image src(5, 4, row.bits, [&](int x, int y) { return (x * 37 + y * 11 + 1) * 0x010203 & mask; });
        Image dst(6, 4, row.bits, [&](int x, int y) { return (x + 7 * y + 0x55) & mask; });
        const BLT_REQUEST r = Request(src, row.sx, row.sy, dst, row.dx, row.dy, row.w, row.h, 0, 0, 0);
        const std::vector<int> expected = Expected(src, r, dst);
        BLT_Copy(src.st, row.sx, row.sy, dst.st, row.dx, row.dy, row.w, row.h, 0);
        EXPECT_EQ(expected, dst.Pixels()) << "case " << row.name;
    }
}

TEST(BltDispatch, MeshPhasesCopyOnePixelOfEachCell)
{
    for (uint16_t bits : {4, 8, 24}) {
        for (int mesh : {0, 1, 2, 3, 4, -1}) {
            Image src(4, 4, bits, [](int x, int y) { return 1 + x + 4 * y; });
            Image dst(5, 5, bits, [](int, int) { return 0; });
            const BLT_REQUEST r = Request(src, 0, 0, dst, 1, 1, 4, 3, 0, 0, mesh);
            const std::vector<int> expected =
                mesh == -1 ? dst.Pixels() : Expected(src, r, dst);
            blt_dispatch(&r);
            EXPECT_EQ(expected, dst.Pixels()) << "bits " << bits << " mesh " << mesh;
        }
    }
    // Mesh 1 on 2 x 2 changes only the rectangle's bottom-left corner.
    Image src(2, 2, 8, [](int, int) { return 9; });
    Image dst(3, 3, 8, [](int, int) { return 0; });
    const BLT_REQUEST r = Request(src, 0, 0, dst, 1, 1, 2, 2, 0, 0, 1);
    blt_dispatch(&r);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0, 9, 0}), dst.Pixels());
}

TEST(BltDispatch, KeyedCopiesLeaveTheKeyOut)
{
    const uint32_t magenta = 0x00FF00FF;
    struct Row { const char* name; uint16_t bits; int mode; uint32_t key; int sx, sy; int expectedKey; };
    // Source: the key value sits at the bottom-left of the image (0, 3) and of the rectangle (1, 2).
    const Row rows[] = {
        {"24 bits, key colour", 24, 1, magenta, 0, 0, int(magenta)},
        {"8 bits, key index in the low byte", 8, 1, 0x1203, 0, 0, 3},
        {"4 bits, key index", 4, 1, 5, 0, 0, 5},
        {"8 bits, image's bottom-left", 8, 2, 0, 1, 0, 200},
        {"24 bits, image's bottom-left", 24, 2, 0, 1, 0, 0x123456},
        {"4 bits, image's bottom-left", 4, 2, 0, 1, 0, 12},
        {"8 bits, rectangle's bottom-left", 8, 3, 0, 1, 0, 77},
        {"4 bits, rectangle's bottom-left", 4, 3, 0, 1, 0, 7},
        {"24 bits, rectangle's bottom-left", 24, 3, 0, 1, 0, 0x00ABCDEF},
    };
    for (const Row& row : rows) {
        const int imageKey = row.bits == 4 ? 12 : row.bits == 8 ? 200 : 0x123456;
        const int rectKey = row.bits == 4 ? 7 : row.bits == 8 ? 77 : 0x00ABCDEF;
        const int keyColour = row.mode == 1 ? row.expectedKey : 1;
        Image src(4, 4, row.bits, [&](int x, int y) {
            if (x == 0 && y == 3) return imageKey;
            if (x == 1 && y == 2) return rectKey;
            if ((x + y) % 2) return row.mode == 1 ? keyColour : row.expectedKey;
            return 2 + x;
        });
        Image dst(4, 4, row.bits, [](int, int) { return 1; });
        const BLT_REQUEST r = Request(src, row.sx, row.sy, dst, 0, 0, 3, 3, row.mode, row.key, 0);
        const std::vector<int> expected = Expected(src, r, dst, [&](int v) { return v == row.expectedKey; });
        blt_dispatch(&r);
        EXPECT_EQ(expected, dst.Pixels()) << "case " << row.name;
        EXPECT_NE(dst.Pixels(), Image(4, 4, row.bits, [](int, int) { return 1; }).Pixels()) << "case " << row.name;
    }
    // BLT_Copy sets no key colour: key mode 1 leaves out black (0) pixels.
    Image src(2, 1, 24, [](int x, int) { return x ? 0x00FF0000 : 0; });
    Image dst(2, 1, 24, [](int, int) { return 0x111111; });
    BLT_Copy(src.st, 0, 0, dst.st, 0, 0, 2, 1, 1);
    EXPECT_EQ((std::vector<int>{0x111111, 0x00FF0000}), dst.Pixels());
}

TEST(BltDispatch, SixteenBitsCopyWholeRowsAndNeverKey)
{
    Image src(3, 2, 16, [](int x, int y) { return 0x7000 + x + 16 * y; });
    Image dst(3, 2, 16, [](int, int) { return 5; });
    const std::vector<int> before = dst.Pixels();
    BLT_REQUEST r = Request(src, 0, 0, dst, 0, 0, 3, 2, 1, 0x7000, 0);
    blt_dispatch(&r);
    EXPECT_EQ(before, dst.Pixels()) << "a key at 16 bits copies nothing";
    r.iKeyMode = 0;
    r.iMesh = 2;
    blt_dispatch(&r);
    EXPECT_EQ(src.Pixels(), dst.Pixels()) << "the mesh does not apply at 16 bits";
}

TEST(BltDispatch, CopiesNothingOutsideOrBetweenUnequalDepths)
{
    Image src8(4, 4, 8, [](int, int) { return 9; });
    Image src24(4, 4, 24, [](int, int) { return 9; });
    Image src32(4, 4, 32, [](int, int) { return 9; });
    Image dst8(4, 4, 8, [](int, int) { return 1; });
    Image dst32(4, 4, 32, [](int, int) { return 1; });
    struct Row { const char* name; const Image* src; const Image* dst; int sx, sy, dx, dy, w, h; };
    const Row rows[] = {
        {"24 to 8 bits", &src24, &dst8, 0, 0, 0, 0, 2, 2},
        {"32 bits", &src32, &dst32, 0, 0, 0, 0, 2, 2},
        {"past the source's right", &src8, &dst8, 3, 0, 0, 0, 2, 2},
        {"past the source's bottom", &src8, &dst8, 0, 3, 0, 0, 2, 2},
        {"past the destination", &src8, &dst8, 0, 0, 3, 3, 2, 2},
        {"negative place", &src8, &dst8, 0, 0, -1, 0, 2, 2},
        {"negative source", &src8, &dst8, 0, -1, 0, 0, 2, 2},
        {"empty", &src8, &dst8, 0, 0, 0, 0, 0, 2},
        {"negative size", &src8, &dst8, 2, 2, 2, 2, -2, -2},
        {"huge size", &src8, &dst8, 1, 1, 1, 1, 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Row& row : rows) {
        const std::vector<int> before = row.dst->Pixels();
        BLT_Copy(row.src->st, row.sx, row.sy, row.dst->st, row.dx, row.dy, row.w, row.h, 0);
        EXPECT_EQ(before, row.dst->Pixels()) << "case " << row.name;
    }
    blt_dispatch(nullptr);
}
