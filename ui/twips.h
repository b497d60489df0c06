#pragma once
// Twips are the program's one unit of position and size: 1/1440 inch, measured from
// the top-left corner of a window's client area; 15 twips make a pixel at 96 dots per
// inch. Everything inside the program is twips. Pixels exist only where a window
// system draws or reads the pointer, and every such conversion goes through the two
// functions below, so the table and the statistics window scale alike on any screen.
//
// The Qt window works in Qt's logical pixels, which are 96 to the logical inch (Qt
// multiplies them by the screen's device pixel ratio); the Win32 window passes the
// monitor's own dots per inch.

namespace karvelo {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;  // 15 twips to a pixel

// Nearest whole pixel, halves to the even neighbour.
int PixelsFromTwips(double twips, int dpi);
// The same, unrounded (for drawing that positions in fractions of a pixel).
double FractionalPixels(double twips, int dpi);
double TwipsFromPixels(double pixels, int dpi);

struct TwipRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    float Right() const { return left + width; }
    float Bottom() const { return top + height; }
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    // Half-open, like the pointer test of a window: the right and bottom edges are
    // outside.
    bool Contains(float x, float y) const {
        return x >= left && x < Right() && y >= top && y < Bottom();
    }
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

// The whole pixels a twip rectangle touches: floor of its left and top, ceiling of its
// right and bottom (right and bottom exclusive).
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};
PixelBox PixelsTouched(const TwipRect& rect, int dpi);
// The whole pixels lying entirely inside it.
PixelBox PixelsInside(const TwipRect& rect, int dpi);

}  // namespace karvelo
