#pragma once
// The statistics text's tab stops in the font a window shows it in: what the window
// measures of that font, and the stops it gives (statistics_layout.h), with the last
// stop after the percentages; and the font size at which the text and the captions fit
// the window's design. Widths in pixels.
#include <array>
#include <functional>

namespace karvelo {

struct StatisticsTextLayout {
    std::array<int, 5> stops{};  // from the left edge of the text
    int tabDistance = 0;         // between further stops, were there any
    int lineWidth = 0;           // the widest line: up to the last stop
};

// `width` gives the width of a UTF-8 text in the font, `averageChar` its average
// character width.
StatisticsTextLayout LayoutStatisticsText(const std::function<int(const char* utf8)>& width,
                                          int averageChar);

// What a window system measures of one font.
struct StatisticsFont {
    std::function<int(const char* utf8)> width;
    int averageChar = 1;
    int lineHeight = 1;  // from one line of the text box to the next
};

// The room the design gives, in pixels: the inside of the text box (its edges and
// margins taken off) and the widths of the two buttons.
struct StatisticsRoom {
    int textWidth = 0;
    int textHeight = 0;
    int closeWidth = 0;
    int clearWidth = 0;
};

// The design's sizes were made for a small system font; with a larger one the text
// would not show its lines or its widest line, or a caption would not fit its button
// (with an average character's room on either side). The font starts at the system's
// size, `startPixels`, and shrinks a pixel at a time until it fits, but never below
// six points at `dpi` dots per inch (8 pixels at 96), where it stays even unfitting;
// a system font smaller than that is kept.
// `font(pixels)` measures the font at a size. Returns the size to use.
int FitStatisticsFont(int startPixels, int dpi, const StatisticsRoom& room,
                      const std::function<StatisticsFont(int pixels)>& font);

}  // namespace karvelo
