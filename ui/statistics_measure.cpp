#include "statistics_measure.h"

#include <algorithm>

#include "statistics_layout.h"

namespace karvelo {

StatisticsTextLayout LayoutStatisticsText(const std::function<int(const char* utf8)>& width,
                                          int averageChar) {
    StatisticsTextWidths w;
    w.tenSpaces = width("          ");
    w.averageChar = averageChar;
    w.twoTabLabelMax = std::max({width("Spelade: "), width("Vunna: "), width("F\xC3\xB6rlorade: ")});
    const int longs[] = {width("Vunna(omg\xC3\xA5ng): "), width("F\xC3\xB6rlorade(omg\xC3\xA5ng):"),
                         width("F\xC3\xB6rlorade(omg\xC3\xA5ng): ")};
    w.oneTabLabelMin = *std::min_element(std::begin(longs), std::end(longs));
    w.oneTabLabelMax = *std::max_element(std::begin(longs), std::end(longs));
    w.numberMax = width("00000");

    StatisticsTextLayout layout;
    const std::array<int, 4> stops = StatisticsTabStops(w);
    std::copy(stops.begin(), stops.end(), layout.stops.begin());
    // The TAB that ends a line with a percentage stops right after it.
    layout.stops[4] = stops[3] + width("100,0%") + averageChar;
    layout.tabDistance = 8 * averageChar;
    layout.lineWidth = layout.stops[4];
    return layout;
}

}  // namespace karvelo
