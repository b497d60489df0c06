#include "statistics_layout.h"

#include <algorithm>

namespace karvelo {

std::array<int, 4> StatisticsTabStops(const StatisticsTextWidths& w) {
    const int gap = std::max(2, w.averageChar / 2);
    const int indent = std::max(1, 2 * w.averageChar);
    const int lead = indent + w.tenSpaces;
    // A line with two TABs after its label passes the second stop; a line with one
    // TAB must already be beyond it, so both arrive at the third.
    const int shortEnd = lead + w.twoTabLabelMax;
    const int longStart = lead + w.oneTabLabelMin;
    int second = shortEnd + gap;
    if (longStart > shortEnd + 1) second = std::min(second, (shortEnd + longStart + 1) / 2);
    const int third = std::max(second, lead + w.oneTabLabelMax) + gap;
    const int fourth = third + w.numberMax + 2 * gap;
    return {indent, second, third, fourth};
}

}  // namespace karvelo
