#pragma once
// Where the statistics text's tab stops go so that its figures line up, whatever the
// font. Widths are in pixels of the font the text is shown in.
#include <array>

namespace karvelo {

struct StatisticsTextWidths {
    int tenSpaces = 0;        // the blanks after the first TAB
    int averageChar = 0;
    int twoTabLabelMax = 0;   // widest of "Spelade: ", "Vunna: ", "Förlorade: "
    int oneTabLabelMin = 0;   // narrowest of the labels followed by a single TAB
    int oneTabLabelMax = 0;
    int numberMax = 0;        // the widest figure expected before the percentage
};

// Four stops: the indent; one the short labels reach with their first TAB and the
// long ones pass; the figures; the percentages.
std::array<int, 4> StatisticsTabStops(const StatisticsTextWidths& w);

}  // namespace karvelo
