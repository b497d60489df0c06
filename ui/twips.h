#pragma once
// Twips are the program's one unit of position and size: 1/1440 inch, 15 to a
// pixel at 96 dots per inch. Only the view converts them to pixels.
#include <cmath>
#include <limits>

namespace karvelo {

inline constexpr float kTwipsPerPixel = 15.0f;
inline constexpr int kTwipsPerInch = 1440;

// Twips as whole pixels on a screen of `dpi` dots per inch, halves rounded to the even
// neighbour (the processor's default rounding). A value beyond the range of int is
// held at its end; not a number, or a dpi that is not positive, gives 0.
inline int PixelsFromTwips(double twips, int dpi) {
    if (dpi <= 0) return 0;
    const double pixels = std::nearbyint(twips * dpi / kTwipsPerInch);
    if (std::isnan(pixels)) return 0;
    if (pixels <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (pixels >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(pixels);
}

// Pixels on a screen of `dpi` dots per inch as twips, unrounded; 0 for a dpi that is
// not positive.
inline double TwipsFromPixels(double pixels, int dpi) {
    return dpi > 0 ? pixels * kTwipsPerInch / dpi : 0.0;
}

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

}  // namespace karvelo
