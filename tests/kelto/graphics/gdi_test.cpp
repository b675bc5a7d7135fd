#include "kelto/graphics/win32/gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// A 32-bit top-down DIB section in a memory DC: pixel (x, y) is bits[y * w + x] as 0x00RRGGBB.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int w, h;
    Canvas(int width, int height, uint32_t fill) : w(width), h(height) {
        BITMAPINFO bi;
        std::memset(&bi, 0, sizeof bi);
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; ++i) bits[i] = fill;
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    uint32_t At(int x, int y) { GdiFlush(); return bits[y * w + x] & 0xFFFFFF; }
};

struct Block {
    void* p = nullptr;
    ~Block() { delete[] static_cast<unsigned char*>(p); }
};

} // namespace

TEST(BmpDraw, CopiesTheImageOrAPartOfItOntoTheDC)
{
    Block b;
    ASSERT_GT(BMP_Create(&b.p, 3, 2, 24, 72, 72), 0);
    const BMP_INFO st = BMP_GetInfo(b.p);
    BMP_SetPixel(&st, 0, 0, 0x0000FF);  // red, top-left
    BMP_SetPixel(&st, 2, 1, 0xFF0000);  // blue, bottom-right
    BMP_SetPixel(&st, 1, 0, 0x00FF00);  // green

    {
        Canvas c(8, 8, 0x777777);
        EXPECT_NE(0, BMP_Draw(c.dc, 2, 3, &st));
        EXPECT_EQ(0xFF0000u, c.At(2, 3));
        EXPECT_EQ(0x00FF00u, c.At(3, 3));
        EXPECT_EQ(0x0000FFu, c.At(4, 4));
        EXPECT_EQ(0x000000u, c.At(2, 4));
        EXPECT_EQ(0x777777u, c.At(5, 3)) << "only the image's 3 x 2 pixels";
        EXPECT_EQ(0x777777u, c.At(2, 5));
    }
    {
        Canvas c(8, 8, 0x777777);
        EXPECT_NE(0, BMP_DrawImage(c.dc, 0, 0, b.p));
        EXPECT_EQ(0xFF0000u, c.At(0, 0));
        EXPECT_EQ(0x0000FFu, c.At(2, 1));
    }
    {
        Canvas c(8, 8, 0x777777);
        EXPECT_NE(0, BMP_DrawRect(c.dc, 5, 5, 1, 0, 2, 1, &st));
        EXPECT_EQ(0x00FF00u, c.At(5, 5));
        EXPECT_EQ(0x000000u, c.At(6, 5));
        EXPECT_EQ(0x777777u, c.At(5, 6));
        EXPECT_EQ(0x777777u, c.At(7, 5));
        EXPECT_NE(0, BMP_DrawImageRect(c.dc, 0, 0, 2, 1, 1, 1, b.p));
        EXPECT_EQ(0x0000FFu, c.At(0, 0));
        EXPECT_EQ(0x777777u, c.At(1, 0));
    }
    {
        Canvas c(8, 8, 0x777777);
        EXPECT_NE(0, BMP_DrawRop(c.dc, 0, 0, &st, SRCPAINT)); // OR with what is there
        EXPECT_EQ(0xFF7777u, c.At(0, 0));
        EXPECT_NE(0, BMP_DrawRectRop(c.dc, 4, 4, 0, 0, 2, 2, &st, BLACKNESS));
        EXPECT_EQ(0u, c.At(5, 5));
        EXPECT_EQ(0x777777u, c.At(6, 6));
    }
    EXPECT_EQ(0, BMP_Draw(nullptr, 0, 0, &st));
    EXPECT_EQ(0, BMP_DrawImage(nullptr, 0, 0, nullptr));
}

TEST(Palette, TakesItsEntriesFromTheImagePalette)
{
    Block b;
    ASSERT_GT(BMP_Create(&b.p, 1, 1, 8, 72, 72), 0);
    const BMP_INFO st = BMP_GetInfo(b.p);
    BMP_SetPalette(&st, 2, 0x00332211);

    PALETTE_INFO pal;
    ASSERT_EQ(1, PALETTE_set(&pal, nullptr, 16));
    EXPECT_EQ(16, pal.iEntries);
    ASSERT_NE(nullptr, pal.hPalette);
    EXPECT_EQ(pal.pLogPalette, pal.pBlock);
    EXPECT_EQ(0x300, pal.pLogPalette->palVersion);
    EXPECT_EQ(3, PALETTE_SetEntries(pal, st, 1, 4));
    PALETTEENTRY entries[16];
    ASSERT_EQ(16u, GetPaletteEntries(pal.hPalette, 0, 16, entries));
    EXPECT_EQ(0x11, entries[2].peRed);
    EXPECT_EQ(0x22, entries[2].peGreen);
    EXPECT_EQ(0x33, entries[2].peBlue);
    EXPECT_EQ(PC_NOCOLLAPSE, entries[2].peFlags);
    EXPECT_EQ(3, entries[3].peRed);
    EXPECT_EQ(0, entries[4].peRed) << "entry 4 is past the end";
    // The end is cut at the palette's own size.
    EXPECT_EQ(6, PALETTE_SetEntries(pal, st, 10, 200));
    PALETTE_Release(nullptr, pal);

    PALETTE_INFO big;
    EXPECT_EQ(0, PALETTE_set(&big, nullptr, 257)) << "the block holds 256 entries";
    EXPECT_EQ(nullptr, big.pBlock);
    EXPECT_EQ(0, PALETTE_set(nullptr, nullptr, 16));
}

TEST(GdiRectangle, OutlinesOrFillsAndRestoresTheDC)
{
    Canvas c(10, 10, 0x777777);
    const HGDIOBJ pen = GetCurrentObject(c.dc, OBJ_PEN), brush = GetCurrentObject(c.dc, OBJ_BRUSH);
    EXPECT_NE(0, GDI_Rectangle(c.dc, 1, 1, 5, 5, RGB(255, 0, 0)));
    EXPECT_EQ(0xFF0000u, c.At(1, 1));
    EXPECT_EQ(0xFF0000u, c.At(4, 4));
    EXPECT_EQ(0x777777u, c.At(2, 2)) << "hollow inside";
    EXPECT_EQ(0x777777u, c.At(5, 5));
    EXPECT_NE(0, GDI_FillRectangle(c.dc, 5, 5, 9, 9, RGB(0, 0, 255)));
    EXPECT_EQ(0x0000FFu, c.At(6, 6));
    EXPECT_EQ(0x0000FFu, c.At(8, 8));
    EXPECT_EQ(0x777777u, c.At(9, 9));
    EXPECT_EQ(pen, GetCurrentObject(c.dc, OBJ_PEN));
    EXPECT_EQ(brush, GetCurrentObject(c.dc, OBJ_BRUSH));
}

TEST(PaletteGrid, DrawsSixteenBySixteenSwatchesWithGaps)
{
    PALETTE_INFO pal;
    ASSERT_EQ(1, PALETTE_set(&pal, nullptr, 256));
    pal.pLogPalette->palPalEntry[1] = {0x10, 0x20, 0x30, 0};
    pal.pLogPalette->palPalEntry[17] = {0xFF, 0, 0, 0};
    Canvas c(16 * 6, 16 * 5, 0x777777);
    const HGDIOBJ brush = GetCurrentObject(c.dc, OBJ_BRUSH);
    PALETTE_DrawGrid(c.dc, 0, 0, 6, 5, pal);
    // Cell 1 spans x 6..9 and y 0..2 (6 - 2 wide, 5 - 2 high, with a black frame).
    EXPECT_EQ(0x102030u, c.At(7, 1));
    EXPECT_EQ(0x777777u, c.At(10, 1)) << "2-pixel gap";
    EXPECT_EQ(0x777777u, c.At(7, 3)) << "2-pixel gap";
    EXPECT_EQ(0xFF0000u, c.At(7, 6)) << "cell 17 opens the second row";
    EXPECT_EQ(brush, GetCurrentObject(c.dc, OBJ_BRUSH));
    PALETTE_Release(nullptr, pal);

    Canvas s(16 * 6, 16 * 5, 0x777777);
    PALETTE_DrawSystemGrid(s.dc, 0, 0, 6, 5);
    PALETTE_DrawIndexGrid(s.dc, 0, 0, 6, 5);
    EXPECT_EQ(brush, GetCurrentObject(s.dc, OBJ_BRUSH));
}

TEST(SysColor, SavesSetsMonoAndRestores)
{
    SYSCOLOR_INFO saved;
    ASSERT_EQ(&saved, SYSCOLOR_Save(&saved));
    EXPECT_EQ(20, saved.iCount);
    EXPECT_EQ(10, saved.aiElement[0]);
    EXPECT_EQ(8, saved.aiElement[19]);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(GetSysColor(saved.aiElement[i]), saved.acrColour[i]);

    ASSERT_NE(0, SYSCOLOR_SetMono());
    const COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF scroll = GetSysColor(COLOR_SCROLLBAR), frame = GetSysColor(COLOR_WINDOWFRAME);
    EXPECT_NE(0, SYSCOLOR_Restore(saved));
    EXPECT_EQ(0u, window);
    EXPECT_EQ(0xFFFFFFu, text);
    EXPECT_EQ(0xFFFFFFu, scroll);
    EXPECT_EQ(0u, frame);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(saved.acrColour[i], GetSysColor(saved.aiElement[i])) << "element " << saved.aiElement[i];
}

TEST(BmpWindowshot, CapturesARectangleIntoAValidImage)
{
    Block b;
    const int rect[4] = {0, 0, 5, 3};
    const int size = BMP_windowshot(nullptr, rect, &b.p); // the screen
    ASSERT_GT(size, 0);
    BMP_INFO st;
    ASSERT_EQ(1, BMP_Check(b.p, size, &st));
    EXPECT_EQ(5, st.iWidth);
    EXPECT_EQ(3, st.iHeight);
    EXPECT_EQ(size, st.iStride * 3 + 4 * st.wPalette + 54);

    void* p = reinterpret_cast<void*>(1);
    const int empty[4] = {0, 0, 0, 3};
    EXPECT_EQ(-1, BMP_windowshot(nullptr, empty, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(-1, BMP_windowshot(nullptr, nullptr, &p));
    EXPECT_EQ(-1, BMP_windowshot(nullptr, rect, nullptr));
}
