#pragma once
// The statistics text's tab stops in the font a window shows it in: what the window
// measures of that font, and the stops it gives (statistics_layout.h), with the
// last stop after the percentages. Widths in pixels.
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

}  // namespace karvelo
