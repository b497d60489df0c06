// The pictures in the program file: every number at both densities in Swedish, their
// sizes on screens of common densities, and what drawing them puts on a table.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "bitmap_cache.h"
#include "resource_ids.h"

using namespace karvelo::win32;

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

std::vector<int> AllNumbers() {
    std::vector<int> n;
    for (int i = KARVELO_BITMAP_CARD_FIRST; i <= KARVELO_BITMAP_CARD_LAST; ++i) n.push_back(i);
    for (int i : {KARVELO_BITMAP_ARROW_DOWN, KARVELO_BITMAP_ARROW_RIGHT, KARVELO_BITMAP_ARROW_LEFT,
                  KARVELO_BITMAP_TITLE})
        n.push_back(i);
    return n;
}

// A table to draw on: a top-down 32-bit bitmap of one colour, and its pixels.
struct Table {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* pixels = nullptr;
    int width, height;

    Table(int w, int h, std::uint32_t colour) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<std::uint32_t*>(bits);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i) pixels[i] = colour;
    }
    ~Table() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return pixels[y * width + x] & 0xffffff;
    }
};

constexpr std::uint32_t kGreen = 0x008000;  // 0xRRGGBB

}  // namespace

TEST(Bitmaps, EveryPictureIsInTheProgramFileInSwedishAtBothDensities) {
    for (int n : AllNumbers()) {
        for (int id : {n, n + KARVELO_BITMAP_DOUBLE_DENSITY}) {
            EXPECT_NE(FindResourceExW(Self(), MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(id),
                                      MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH)),
                      nullptr)
                << id;
        }
    }
}

TEST(Bitmaps, SizesFollowTheDensityAndAreNeverEnlargedUpTo192) {
    struct Case {
        int number, width, height;
    };
    const Case cases[] = {{101, 71, 96}, {152, 71, 96}, {153, 71, 96}, {100, 71, 96},
                          {KARVELO_BITMAP_ARROW_DOWN, 32, 32}, {KARVELO_BITMAP_TITLE, 650, 450}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        BitmapCache cache(Self());
        for (int dpi : {96, 120, 144, 192}) {
            cache.SetDpi(dpi);
            const SIZE s = cache.PixelSize(c.number);
            EXPECT_EQ(s.cx, static_cast<int>(std::nearbyint(c.width * dpi / 96.0))) << dpi;
            EXPECT_EQ(s.cy, static_cast<int>(std::nearbyint(c.height * dpi / 96.0))) << dpi;
        }
    }
    EXPECT_EQ(ArtworkDensity(96), 1);
    EXPECT_EQ(ArtworkDensity(72), 1);
    EXPECT_EQ(ArtworkDensity(120), 2);
    EXPECT_EQ(ArtworkDensity(144), 2);
    EXPECT_EQ(ArtworkDensity(288), 2);
}

TEST(Bitmaps, CardsHaveTransparentCornersAndAnOpaqueFace) {
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        BitmapCache cache(Self(), dpi);
        Table table(400, 400, kGreen);
        ASSERT_TRUE(cache.Draw(table.dc, 101, 10, 20));
        const SIZE s = cache.PixelSize(101);
        // Outside the card and in its rounded corner the table shows; in the middle of
        // the face the card's white does, not the green (upside-down rows or colours
        // not premultiplied would change both).
        EXPECT_EQ(table.At(9, 20), kGreen);
        EXPECT_EQ(table.At(10, 20), kGreen);
        EXPECT_EQ(table.At(10 + s.cx - 1, 20 + s.cy - 1), kGreen);
        EXPECT_EQ(table.At(10 + s.cx, 20 + s.cy / 2), kGreen);
        const std::uint32_t middle = table.At(10 + s.cx / 2, 20 + s.cy - 4 * dpi / 96);
        EXPECT_EQ(middle, 0xffffffu) << std::hex << middle;
    }
}

TEST(Bitmaps, TheTitleIsDrawnPixelForPixel) {
    BitmapCache cache(Self(), 96);
    Table table(700, 500, kGreen);
    ASSERT_TRUE(cache.Draw(table.dc, KARVELO_BITMAP_TITLE, 0, 0));
    EXPECT_EQ(table.At(0, 0), 0u);  // the title's black ground
    EXPECT_EQ(table.At(649, 449), 0u);
    EXPECT_EQ(table.At(650, 0), kGreen);  // nothing past its edge
    EXPECT_EQ(table.At(0, 450), kGreen);
}

TEST(Bitmaps, NumbersWithoutAPictureDrawNothing) {
    BitmapCache cache(Self(), 96);
    Table table(10, 10, kGreen);
    for (int n : {-1, 0, 99, 154, 159, 163, 1101, 65535, 70000}) {
        EXPECT_FALSE(cache.Draw(table.dc, n, 0, 0)) << n;
        EXPECT_EQ(cache.PixelSize(n).cx, 0) << n;
    }
    EXPECT_EQ(table.At(0, 0), kGreen);
    // A missing picture is asked for again at another density, and found ones stay.
    cache.SetDpi(192);
    EXPECT_FALSE(cache.Draw(table.dc, 99, 0, 0));
    EXPECT_EQ(cache.PixelSize(101).cx, 142);
}
