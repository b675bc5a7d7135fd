#include "kelto/graphics/bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Owns a block made by the library.
struct Block {
    void* p = nullptr;
    ~Block() { delete[] static_cast<unsigned char*>(p); }
    unsigned char* bytes() const { return static_cast<unsigned char*>(p); }
};

uint32_t Read32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Read16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
void Put32(std::vector<unsigned char>& v, size_t at, uint32_t u) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<unsigned char>(u >> (8 * i));
}
void Put16(std::vector<unsigned char>& v, size_t at, uint16_t w) {
    v[at] = static_cast<unsigned char>(w);
    v[at + 1] = static_cast<unsigned char>(w >> 8);
}

// A file image written by hand, the way other programs write them: header fields as given,
// a palette of `entries` entries and `rowBytes` x height bytes of pixel rows.
std::vector<unsigned char> FileImage(int32_t width, int32_t height, uint16_t bits, int entries,
                                     int rowBytes, uint32_t compression = 0) {
    const size_t offset = 54 + 4 * entries;
    std::vector<unsigned char> v(offset + size_t(rowBytes) * (height > 0 ? height : 0), 0);
    v[0] = 'B';
    v[1] = 'M';
    Put32(v, 2, uint32_t(v.size()));
    Put32(v, 10, uint32_t(offset));
    Put32(v, 14, 40);
    Put32(v, 18, uint32_t(width));
    Put32(v, 22, uint32_t(height));
    Put16(v, 26, 1);
    Put16(v, 28, bits);
    Put32(v, 30, compression);
    return v;
}

} // namespace

TEST(BmpCreate, BuildsTheHeadersAndRoundsTheBlockToFourBytes)
{
    struct Row { const char* name; int w, h; uint16_t bits; int size, offset, stride; };
    const Row rows[] = {
        {"1x1 at 24 bits", 1, 1, 24, 60, 54, 4},
        {"1x1 at 8 bits", 1, 1, 8, 1084, 1078, 4},
        {"width 4 at 4 bits", 4, 1, 4, 124, 118, 4},
        {"odd width at 24 bits", 3, 2, 24, 80, 54, 12},
        {"odd width at 16 bits", 3, 1, 16, 64, 54, 8},
        {"odd width at 32 bits", 5, 3, 32, 116, 54, 20},
        {"width 0", 0, 7, 24, 56, 54, 0},
    };
    for (const Row& row : rows) {
        Block b;
        ASSERT_EQ(row.size, BMP_Create(&b.p, row.w, row.h, row.bits, 2835, 1417)) << "case " << row.name;
        const unsigned char* p = b.bytes();
        EXPECT_EQ('B', p[0]) << "case " << row.name;
        EXPECT_EQ('M', p[1]) << "case " << row.name;
        EXPECT_EQ(uint32_t(row.size), Read32(p + 2)) << "case " << row.name;
        EXPECT_EQ(uint32_t(row.offset), Read32(p + 10)) << "case " << row.name;
        EXPECT_EQ(40u, Read32(p + 14)) << "case " << row.name;
        EXPECT_EQ(uint32_t(row.w), Read32(p + 18)) << "case " << row.name;
        EXPECT_EQ(uint32_t(row.h), Read32(p + 22)) << "case " << row.name;
        EXPECT_EQ(1, Read16(p + 26)) << "case " << row.name;
        EXPECT_EQ(row.bits, Read16(p + 28)) << "case " << row.name;
        EXPECT_EQ(0u, Read32(p + 30)) << "case " << row.name;
        EXPECT_EQ(0u, Read32(p + 34)) << "case " << row.name;
        EXPECT_EQ(2835u, Read32(p + 38)) << "case " << row.name;
        EXPECT_EQ(1417u, Read32(p + 42)) << "case " << row.name;
        for (int i = row.offset; i < row.size; ++i)
            ASSERT_EQ(0, p[i]) << "case " << row.name << " pixel byte " << i;
        const BMP_INFO st = BMP_GetInfo(b.p);
        EXPECT_EQ(row.stride, st.iStride) << "case " << row.name;
        EXPECT_EQ(p + row.offset, st.pBits) << "case " << row.name;
        EXPECT_EQ(p + 14, st.pInfoHeader) << "case " << row.name;
        EXPECT_EQ((row.offset - 54) / 4, st.wPalette) << "case " << row.name;
        // An image without pixels can be made, but it is no image to read.
        EXPECT_EQ(row.w > 0 ? 1 : 0, BMP_Check(b.p, row.size, nullptr)) << "case " << row.name;
    }
}

TEST(BmpCreate, RefusesUnknownDepthsAndImpossibleSizes)
{
    struct Row { const char* name; int w, h; uint16_t bits; };
    const Row rows[] = {
        {"1 bit", 4, 4, 1}, {"2 bits", 4, 4, 2}, {"0 bits", 4, 4, 0}, {"12 bits", 4, 4, 12},
        {"negative width", -1, 4, 24}, {"negative height", 4, -1, 24},
        {"past 2 GiB", 0x10000, 0x10000, 32}, {"stride past an int", 0x7FFFFFFF, 1, 24},
    };
    for (const Row& row : rows) {
        void* p = reinterpret_cast<void*>(1);
        EXPECT_EQ(0, BMP_Create(&p, row.w, row.h, row.bits, 72, 72)) << "case " << row.name;
        EXPECT_EQ(nullptr, p) << "case " << row.name;
    }
    EXPECT_EQ(0, BMP_Create(nullptr, 1, 1, 24, 72, 72));
}

TEST(BmpCreate, GivesGreyIndexPalettes)
{
    Block b4, b8;
    ASSERT_GT(BMP_Create(&b4.p, 4, 1, 4, 72, 72), 0);
    ASSERT_GT(BMP_Create(&b8.p, 1, 1, 8, 72, 72), 0);
    const BMP_INFO st4 = BMP_GetInfo(b4.p), st8 = BMP_GetInfo(b8.p);
    EXPECT_EQ(16, st4.wPalette);
    EXPECT_EQ(0u, BMP_GetPalette(&st4, 0));
    EXPECT_EQ(0x0F0F0Fu, BMP_GetPalette(&st4, 15)); // 0 to 15, not a ramp to 255
    EXPECT_EQ(0u, BMP_GetPalette(&st4, 16));        // index = entry count
    EXPECT_EQ(256, st8.wPalette);
    EXPECT_EQ(0x808080u, BMP_GetPalette(&st8, 128));
    EXPECT_EQ(0xFFFFFFu, BMP_GetPalette(&st8, 255));
    EXPECT_EQ(0u, BMP_GetPalette(&st8, 256));
    EXPECT_EQ(0, b8.bytes()[54 + 4 * 200 + 3]);
}

TEST(BmpGetInfo, GivesUnitAndStrideByDepth)
{
    struct Row { uint16_t bits; int unit, stride; };
    const Row rows[] = {{1, 8, 4}, {4, 2, 4}, {8, 1, 8}, {16, 2, 12}, {24, 3, 16}, {32, 4, 20}, {2, 0, 0}};
    for (const Row& row : rows) {
        std::vector<unsigned char> v = FileImage(5, 1, row.bits, 0, 20);
        const BMP_INFO st = BMP_GetInfo(v.data());
        EXPECT_EQ(row.unit, st.iUnit) << "bits " << row.bits;
        EXPECT_EQ(row.stride, st.iStride) << "bits " << row.bits;
        EXPECT_EQ(5, st.iWidth);
        EXPECT_EQ(1, st.iHeight);
        EXPECT_EQ(row.bits, st.wBitCount);
    }
}

TEST(BmpGetInfo, TheSizedFormReadsNothingPastTheBlock)
{
    // 8 bits, 3 x 2, 256 palette entries: 1,086 bytes.
    const std::vector<unsigned char> whole = FileImage(3, 2, 8, 256, 4);
    struct Row {
        const char* name;
        size_t size;
        int width, height, bits, palette;
        bool header;
        int pixels;  // where pBits points, -1 for null
    };
    const Row rows[] = {
        {"whole", whole.size(), 3, 2, 8, 256, true, 1078},
        {"pixels cut", 1080, 3, 2, 8, 256, true, 1078},
        {"palette cut", 100, 3, 2, 8, 11, true, -1},
        {"headers only", 54, 3, 2, 8, 0, true, -1},
        {"cut inside the bit count", 29, 3, 2, 8, 0, false, -1},
        {"cut inside the width", 19, 3, 0, 0, 0, false, -1},
        {"file header only", 14, 0, 0, 0, 0, false, -1},
        {"cut inside the pixel offset", 12, 0, 0, 0, 0, false, -1},
        {"two bytes", 2, 0, 0, 0, 0, false, 0},
        {"empty", 0, 0, 0, 0, 0, false, 0},
    };
    for (const Row& row : rows) {
        // An exact-size copy, so a read past its end shows under a checker.
        std::vector<unsigned char> v(whole.begin(), whole.begin() + row.size);
        v.shrink_to_fit();
        const BMP_INFO st = BMP_GetInfo(v.data(), int(v.size()));
        EXPECT_EQ(row.width, st.iWidth) << "case " << row.name;
        EXPECT_EQ(row.height, st.iHeight) << "case " << row.name;
        EXPECT_EQ(row.bits, st.wBitCount) << "case " << row.name;
        EXPECT_EQ(row.palette, st.wPalette) << "case " << row.name;
        EXPECT_EQ(row.header ? v.data() + 14 : nullptr, st.pInfoHeader) << "case " << row.name;
        EXPECT_EQ(row.pixels >= 0 ? v.data() + row.pixels : nullptr, st.pBits) << "case " << row.name;
    }
    // A width whose high bytes lie past the end counts them as 0.
    std::vector<unsigned char> wide = FileImage(0x11170, 2, 24, 0, 0);
    wide.resize(20);
    EXPECT_EQ(0x1170, BMP_GetInfo(wide.data(), 20).iWidth);
    // The same description as the unsized form for a whole block; nothing for no block.
    const BMP_INFO a = BMP_GetInfo(whole.data()), b = BMP_GetInfo(whole.data(), int(whole.size()));
    EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
    EXPECT_EQ(nullptr, BMP_GetInfo(nullptr, 54).pImage);
    EXPECT_EQ(nullptr, BMP_GetInfo(whole.data(), -1).pImage);
}

TEST(BmpPixels, RowsAreStoredBottomUpWithPaddedStrides)
{
    Block b;
    ASSERT_EQ(80, BMP_Create(&b.p, 3, 2, 24, 72, 72));
    const BMP_INFO st = BMP_GetInfo(b.p);
    BMP_SetPixel(&st, 0, 0, 0x00332211); // top-left: the last stored row
    BMP_SetPixel(&st, 2, 1, 0x00665544); // bottom-right: the first stored row
    const unsigned char* bits = st.pBits;
    EXPECT_EQ(0x33, bits[12]);
    EXPECT_EQ(0x22, bits[13]);
    EXPECT_EQ(0x11, bits[14]);
    EXPECT_EQ(0x66, bits[6]);
    EXPECT_EQ(0x55, bits[7]);
    EXPECT_EQ(0x44, bits[8]);
    for (int pad = 9; pad < 12; ++pad) EXPECT_EQ(0, bits[pad]) << "padding byte " << pad;
    EXPECT_EQ(0x00332211, BMP_GetPixel(&st, 0, 0));
    EXPECT_EQ(0x00665544, BMP_GetPixel(&st, 2, 1));
    EXPECT_EQ(0, BMP_GetPixel(&st, 1, 0));
}

TEST(BmpPixels, StoresEachDepthInItsOwnForm)
{
    struct Row { const char* name; uint16_t bits; int x; int value; int read; std::vector<unsigned char> row; };
    const Row rows[] = {
        {"4 bits even x: high nibble", 4, 0, 0xA, 0xA, {0xA0, 0, 0, 0}},
        {"4 bits odd x: low nibble", 4, 1, 0x5, 0x5, {0x05, 0, 0, 0}},
        {"4 bits wide value keeps the neighbour", 4, 1, 0x1F, 0xF, {0x0F, 0, 0, 0}},
        {"4 bits even x takes the low 4 bits", 4, 2, 0x37, 0x7, {0, 0x70, 0, 0}},
        {"8 bits", 8, 3, 0x1C5, 0xC5, {0, 0, 0, 0xC5, 0, 0, 0, 0}},
        {"16 bits raw word", 16, 1, 0x7C1F, 0x7C1F, {0, 0, 0x1F, 0x7C, 0, 0, 0, 0}},
        {"32 bits as stored", 32, 1, int(0x80332211), int(0x80332211), {0, 0, 0, 0, 0x11, 0x22, 0x33, 0x80}},
    };
    for (const Row& row : rows) {
        Block b;
        ASSERT_GT(BMP_Create(&b.p, 5, 1, row.bits, 72, 72), 0) << "case " << row.name;
        const BMP_INFO st = BMP_GetInfo(b.p);
        BMP_SetPixel(&st, row.x, 0, row.value);
        EXPECT_EQ(row.read, BMP_GetPixel(&st, row.x, 0)) << "case " << row.name;
        EXPECT_EQ(row.row, std::vector<unsigned char>(st.pBits, st.pBits + row.row.size())) << "case " << row.name;
    }
}

TEST(BmpPixels, PlacesOutsideTheImageAreLeftAlone)
{
    Block b;
    const int size = BMP_Create(&b.p, 3, 2, 8, 72, 72);
    ASSERT_GT(size, 0);
    const BMP_INFO st = BMP_GetInfo(b.p);
    std::memset(st.pBits, 7, size_t(st.iStride) * 2);
    const std::vector<unsigned char> before(b.bytes(), b.bytes() + size);
    const int places[][2] = {{3, 0}, {-1, 0}, {0, -1}, {0, 2}, {100000, 100000}};
    for (const auto& at : places) {
        BMP_SetPixel(&st, at[0], at[1], 9);
        EXPECT_EQ(0, BMP_GetPixel(&st, at[0], at[1])) << at[0] << "," << at[1];
    }
    EXPECT_EQ(before, std::vector<unsigned char>(b.bytes(), b.bytes() + size));
    BMP_SetPixel(nullptr, 0, 0, 1);
    EXPECT_EQ(0, BMP_GetPixel(nullptr, 0, 0));
}

TEST(BmpPalette, SetKeepsTheFourthByteAndRefusesIndexesPastThePalette)
{
    Block b;
    ASSERT_GT(BMP_Create(&b.p, 1, 1, 8, 72, 72), 0);
    const BMP_INFO st = BMP_GetInfo(b.p);
    b.bytes()[54 + 4 * 3 + 3] = 0x5A;
    EXPECT_EQ(1, BMP_SetPalette(&st, 3, 0x00332211));
    const unsigned char* entry = b.bytes() + 54 + 12;
    EXPECT_EQ(0x33, entry[0]);
    EXPECT_EQ(0x22, entry[1]);
    EXPECT_EQ(0x11, entry[2]);
    EXPECT_EQ(0x5A, entry[3]);
    EXPECT_EQ(0x00332211u, BMP_GetPalette(&st, 3));
    EXPECT_EQ(0, BMP_SetPalette(&st, 256, 0xFFFFFF));

    Block b24;
    ASSERT_GT(BMP_Create(&b24.p, 1, 1, 24, 72, 72), 0);
    const BMP_INFO st24 = BMP_GetInfo(b24.p);
    EXPECT_EQ(0, BMP_SetPalette(&st24, 0, 0xFFFFFF)); // no palette at 24 bits
    EXPECT_EQ(0u, BMP_GetPalette(&st24, 0));
}

TEST(BmpCopyPalette, CopiesWithinBothPalettes)
{
    Block src, dst, src4;
    ASSERT_GT(BMP_Create(&src.p, 1, 1, 8, 72, 72), 0);
    ASSERT_GT(BMP_Create(&dst.p, 1, 1, 8, 72, 72), 0);
    ASSERT_GT(BMP_Create(&src4.p, 1, 1, 4, 72, 72), 0);
    const BMP_INFO stSrc = BMP_GetInfo(src.p), stDst = BMP_GetInfo(dst.p), st4 = BMP_GetInfo(src4.p);
    for (unsigned i = 0; i < 256; ++i) BMP_SetPalette(&stSrc, i, 0x010000u * (255 - i) + 0x100);

    EXPECT_EQ(0, BMP_CopyPalette(st4, stDst, 0, 0, 16)) << "4 bits to 8 bits";
    EXPECT_EQ(0, BMP_CopyPalette(stSrc, stDst, 257, 0, 1)) << "source start past 256";
    EXPECT_EQ(0, BMP_CopyPalette(stSrc, stDst, 0, 0, 257)) << "count past 256";
    EXPECT_EQ(0u, BMP_GetPalette(&stDst, 0));

    EXPECT_EQ(1, BMP_CopyPalette(stSrc, stDst, 250, 0, 10)); // 6 entries: 250 to 255
    for (unsigned i = 0; i < 6; ++i)
        EXPECT_EQ(BMP_GetPalette(&stSrc, 250 + i), BMP_GetPalette(&stDst, i)) << "entry " << i;
    EXPECT_EQ(0x060606u, BMP_GetPalette(&stDst, 6));

    EXPECT_EQ(1, BMP_CopyPalette(stSrc, stDst, 0, 254, 10)); // 2 entries at the destination's end
    EXPECT_EQ(BMP_GetPalette(&stSrc, 0), BMP_GetPalette(&stDst, 254));
    EXPECT_EQ(BMP_GetPalette(&stSrc, 1), BMP_GetPalette(&stDst, 255));
    EXPECT_EQ(0x060606u, BMP_GetPalette(&stDst, 6)); // nothing spilled elsewhere

    // An 8-bit file image with only 16 entries: only those are copied, and nothing past them read.
    std::vector<unsigned char> file = FileImage(1, 1, 8, 16, 4);
    for (int i = 0; i < 16; ++i) file[54 + 4 * i] = 0xEE;
    BMP_INFO stFile;
    ASSERT_EQ(1, BMP_Check(file.data(), int(file.size()), &stFile));
    EXPECT_EQ(1, BMP_CopyPalette(stFile, stDst, 0, 0, 256));
    EXPECT_EQ(0xEE0000u, BMP_GetPalette(&stDst, 15));
    EXPECT_EQ(0x101010u, BMP_GetPalette(&stDst, 16)); // past the 16 copied
}

TEST(BmpCheck, RefusesMalformedAndTruncatedImages)
{
    struct Row { const char* name; std::vector<unsigned char> image; int size; };
    std::vector<unsigned char> good = FileImage(3, 2, 24, 0, 12);
    auto with = [&](void (*edit)(std::vector<unsigned char>&)) { std::vector<unsigned char> v = good; edit(v); return v; };
    const Row rows[] = {
        {"shorter than the headers", good, 53},
        {"rows cut short", good, int(good.size()) - 1},
        {"not BM", with([](std::vector<unsigned char>& v) { v[1] = 'A'; }), int(good.size())},
        {"pixel offset past the block", with([](std::vector<unsigned char>& v) { Put32(v, 10, 1000); }), int(good.size())},
        {"pixel offset inside the headers", with([](std::vector<unsigned char>& v) { Put32(v, 10, 40); }), int(good.size())},
        {"old 12-byte info header", with([](std::vector<unsigned char>& v) { Put32(v, 14, 12); }), int(good.size())},
        {"info header past the pixels", with([](std::vector<unsigned char>& v) { Put32(v, 14, 0xFFFFFFF0u); }), int(good.size())},
        {"negative width", with([](std::vector<unsigned char>& v) { Put32(v, 18, uint32_t(-3)); }), int(good.size())},
        {"top-down rows", with([](std::vector<unsigned char>& v) { Put32(v, 22, uint32_t(-2)); }), int(good.size())},
        {"run-length packed", with([](std::vector<unsigned char>& v) { Put32(v, 30, 1); }), int(good.size())},
        {"unknown depth", with([](std::vector<unsigned char>& v) { Put16(v, 28, 2); }), int(good.size())},
        {"width x height past 4 GiB", with([](std::vector<unsigned char>& v) { Put32(v, 18, 0x40000000); Put32(v, 22, 0x40000000); }), int(good.size())},
        {"stride past an int", with([](std::vector<unsigned char>& v) { Put32(v, 18, 0x7FFFFFFF); Put32(v, 22, 0); Put16(v, 28, 32); }), int(good.size())},
        {"height alone too large", with([](std::vector<unsigned char>& v) { Put32(v, 22, 0x7FFFFFFF); }), int(good.size())},
        {"zero width with a huge height", with([](std::vector<unsigned char>& v) { Put32(v, 18, 0); Put32(v, 22, 0x7FFFFFFF); }), int(good.size())},
        {"zero height", with([](std::vector<unsigned char>& v) { Put32(v, 22, 0); }), int(good.size())},
    };
    for (const Row& row : rows) {
        BMP_INFO st;
        std::memset(&st, 0xCC, sizeof st);
        EXPECT_EQ(0, BMP_Check(row.image.data(), row.size, &st)) << "case " << row.name;
        EXPECT_EQ(nullptr, st.pImage) << "case " << row.name;
        void* out = nullptr;
        EXPECT_EQ(0, BMP_To32(row.image.data(), row.size, &out)) << "case " << row.name;
        EXPECT_EQ(nullptr, out) << "case " << row.name;
    }
    EXPECT_EQ(-1, BMP_Check(nullptr, 100, nullptr));
    EXPECT_EQ(-1, BMP_Check(good.data(), -1, nullptr));

    BMP_INFO st;
    ASSERT_EQ(1, BMP_Check(good.data(), int(good.size()), &st));
    EXPECT_EQ(3, st.iWidth);
    EXPECT_EQ(2, st.iHeight);
    EXPECT_EQ(12, st.iStride);
    EXPECT_EQ(good.data() + 54, st.pBits);
    // Extra bytes after the rows are allowed: the block is the file as read.
    EXPECT_EQ(1, BMP_Check(good.data(), int(good.size()), nullptr));
}

TEST(BmpConvert, To24And32KeepEveryColour)
{
    Block b24, b32, b8;
    ASSERT_GT(BMP_Create(&b24.p, 3, 2, 24, 2835, 2835), 0);
    ASSERT_GT(BMP_Create(&b32.p, 3, 2, 32, 72, 72), 0);
    ASSERT_GT(BMP_Create(&b8.p, 3, 2, 8, 72, 72), 0);
    const BMP_INFO st24 = BMP_GetInfo(b24.p), st32 = BMP_GetInfo(b32.p), st8 = BMP_GetInfo(b8.p);
    BMP_SetPixel(&st24, 0, 0, 0x00332211);
    BMP_SetPixel(&st24, 2, 1, 0x00FFFFFF);
    BMP_SetPixel(&st32, 0, 0, int(0x80112233)); // b 0x33, g 0x22, r 0x11, alpha 0x80
    BMP_SetPalette(&st8, 7, 0x00ABCDEF);
    BMP_SetPixel(&st8, 1, 1, 7);
    const std::vector<unsigned char> before24(b24.bytes(), b24.bytes() + 80);

    struct Row { const char* name; void* src; bool to32; int x, y; int expected; };
    const Row rows[] = {
        {"24 to 32", b24.p, true, 0, 0, int(0xFF112233)},
        {"24 to 32 white", b24.p, true, 2, 1, int(0xFFFFFFFF)},
        {"24 to 24", b24.p, false, 0, 0, 0x00332211},
        {"32 to 24", b32.p, false, 0, 0, 0x00332211},
        {"32 to 32 keeps alpha", b32.p, true, 0, 0, int(0x80112233)},
        {"8 to 24 through the palette", b8.p, false, 1, 1, 0x00ABCDEF},
        {"8 to 32 through the palette", b8.p, true, 1, 1, int(0xFFEFCDAB)},
        {"8 to 24 index 0", b8.p, false, 0, 0, 0},
    };
    for (const Row& row : rows) {
        Block out;
        const int size = row.to32 ? BMP_To32(row.src, &out.p) : BMP_To24(row.src, &out.p);
        ASSERT_EQ(80, size) << "case " << row.name;
        const BMP_INFO st = BMP_GetInfo(out.p);
        EXPECT_EQ(row.to32 ? 32 : 24, st.wBitCount) << "case " << row.name;
        EXPECT_EQ(3, st.iWidth) << "case " << row.name;
        EXPECT_EQ(2, st.iHeight) << "case " << row.name;
        EXPECT_EQ(72u, Read32(out.bytes() + 38)) << "case " << row.name;
        EXPECT_EQ(row.expected, BMP_GetPixel(&st, row.x, row.y)) << "case " << row.name;
    }
    // The bytes of a 24-bit pixel 0x00332211 at 32 bits.
    Block out;
    ASSERT_GT(BMP_To32(b24.p, &out.p), 0);
    const unsigned char* top = BMP_GetInfo(out.p).pBits + 12;
    EXPECT_EQ(0x33, top[0]);
    EXPECT_EQ(0x22, top[1]);
    EXPECT_EQ(0x11, top[2]);
    EXPECT_EQ(0xFF, top[3]);
    EXPECT_EQ(before24, std::vector<unsigned char>(b24.bytes(), b24.bytes() + 80)) << "source unchanged";

    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(0, BMP_To24(nullptr, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(0, BMP_To32(b24.p, nullptr));
}

TEST(BmpConvert, ReadsFileImagesOfOneAndSixteenBits)
{
    // 1 bit, 10 pixels wide (stride 4), two entries: black and orange; bit 7 is the leftmost pixel.
    std::vector<unsigned char> mono = FileImage(10, 1, 1, 2, 4);
    mono[54 + 4] = 0x00; mono[55 + 4] = 0x80; mono[56 + 4] = 0xFF; // entry 1: b 0, g 0x80, r 0xFF
    mono[62] = 0xA0; // pixels 0 and 2 set
    mono[63] = 0x40; // pixel 9 set
    Block out1;
    ASSERT_GT(BMP_To24(mono.data(), int(mono.size()), &out1.p), 0);
    const BMP_INFO st1 = BMP_GetInfo(out1.p);
    const int expected1[10] = {0x80FF, 0, 0x80FF, 0, 0, 0, 0, 0, 0, 0x80FF};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(expected1[x], BMP_GetPixel(&st1, x, 0)) << "1-bit pixel " << x;

    // 16 bits, 5-5-5 with blue lowest.
    std::vector<unsigned char> hi = FileImage(3, 1, 16, 0, 8);
    Put16(hi, 54, 0x7C00); // red
    Put16(hi, 56, 0x03E0); // green
    Put16(hi, 58, 0x0421); // 1, 1, 1
    Block out16;
    ASSERT_GT(BMP_To32(hi.data(), int(hi.size()), &out16.p), 0);
    const BMP_INFO st16 = BMP_GetInfo(out16.p);
    EXPECT_EQ(int(0xFFFF0000), BMP_GetPixel(&st16, 0, 0));
    EXPECT_EQ(int(0xFF00FF00), BMP_GetPixel(&st16, 1, 0));
    EXPECT_EQ(int(0xFF080808), BMP_GetPixel(&st16, 2, 0));
}

TEST(BmpConvert, UnsizedFormsTrustOnlyTheBlocksOwnSize)
{
    std::vector<unsigned char> v = FileImage(3, 2, 24, 0, 12);
    Put32(v, 2, uint32_t(v.size() - 4)); // the file header says the rows do not fit
    void* out = nullptr;
    EXPECT_EQ(0, BMP_To24(v.data(), &out));
    EXPECT_EQ(nullptr, out);
    Put32(v, 2, uint32_t(v.size()));
    Block b;
    EXPECT_EQ(80, BMP_To24(v.data(), &b.p));
}
