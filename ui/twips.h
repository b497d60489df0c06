#pragma once
// Twips are the program's one unit of position and size: 1/1440 inch, 15 to a
// pixel at 96 dots per inch. Only the view converts them to pixels.

namespace karvelo {

inline constexpr float kTwipsPerPixel = 15.0f;

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
