#pragma once
// The program's pictures, taken from the bitmap resources of the program file
// (language 1053) and kept ready to draw on a screen of a given density.
//
// Each picture is looked up by its number (resource_ids.h). On a screen of more than
// 96 dots per inch the drawing made at twice the density is taken, so a picture is
// never enlarged up to 192 dots per inch; it is resized once, when first drawn, to the
// size in pixels that its size in twips has on this screen (1:1 at 96 and 192 dots per
// inch), and from then on every draw is a plain 1:1 copy: BitBlt for an opaque
// picture, AlphaBlend for one with transparent parts.
#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace karvelo::win32 {

// The density of the drawings used on a screen of `dpi` dots per inch: 1 or 2.
int ArtworkDensity(int dpi);

// A picture to fill in: a top-down 32-bit DIB section of `width` x `height` and its
// pixels; nullptr (and no pixels) when Windows cannot make it.
HBITMAP CreatePicture(int width, int height, std::uint32_t** pixels);

class BitmapCache {
public:
    explicit BitmapCache(HINSTANCE module, int dpi = USER_DEFAULT_SCREEN_DPI);
    ~BitmapCache();
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;

    // A new density: the pictures made for the old one are let go.
    void SetDpi(int dpi);
    int Dpi() const { return dpi_; }

    // The size of picture `number` on this screen in pixels, {0, 0} when the program
    // file has no such picture.
    SIZE PixelSize(int number);
    // Draws picture `number` with its top-left corner at (x, y) pixels of `dc`. False,
    // drawing nothing, when the program file has no such picture.
    bool Draw(HDC dc, int number, int x, int y);

private:
    struct Picture {
        HBITMAP bitmap = nullptr;  // a top-down 32-bit DIB section, premultiplied
        SIZE size{};
        bool opaque = true;
    };
    // The picture ready for this density, made on first use; nullptr when missing.
    const Picture* Get(int number);
    void Clear();

    HINSTANCE module_;
    int dpi_;
    HDC source_ = nullptr;  // a memory DC the pictures are selected into to be drawn
    std::unordered_map<int, Picture> pictures_;
    std::unordered_set<int> missing_;
};

}  // namespace karvelo::win32
