// The hidden key combinations and the tab stops of the statistics text.
#include <gtest/gtest.h>

#include "statistics_keys.h"
#include "statistics_layout.h"

namespace karvelo {
namespace {

TEST(StatisticsKeys, OnlyTheExactCombinationsAct) {
    EXPECT_EQ(StatisticsKeyFor(84, 6), KeyAction::ShowFullStatistics);
    EXPECT_EQ(StatisticsKeyFor(109, 7), KeyAction::ClearTotalStatistics);

    EXPECT_EQ(StatisticsKeyFor(84, 7), KeyAction::None);   // Ctrl+Alt+Shift+T
    EXPECT_EQ(StatisticsKeyFor(84, 2), KeyAction::None);   // Ctrl+T
    EXPECT_EQ(StatisticsKeyFor(84, 4), KeyAction::None);
    EXPECT_EQ(StatisticsKeyFor(84, 0), KeyAction::None);
    EXPECT_EQ(StatisticsKeyFor(189, 7), KeyAction::None);  // the main keyboard's minus
    EXPECT_EQ(StatisticsKeyFor(109, 6), KeyAction::None);  // keypad minus without Shift
    EXPECT_EQ(StatisticsKeyFor(109, 3), KeyAction::None);
    EXPECT_EQ(StatisticsKeyFor(116, 6), KeyAction::None);  // F5
}

// Where a TAB at x goes: the first stop beyond x, then every `distance` further on.
int NextStop(int x, const std::array<int, 4>& stops, int distance) {
    for (int s : stops)
        if (s > x) return s;
    return (x / distance + 1) * distance;
}

TEST(StatisticsKeys, TabStopsLineTheFiguresUpForAnyFont) {
    // Label widths of a narrow, a typical and a wide font.
    struct Font {
        int space, average, twoTabLabels[3], oneTabLabels[3], number;
    };
    for (const Font& f : {Font{3, 5, {38, 31, 45}, {66, 78, 81}, 25},
                          Font{4, 7, {52, 42, 60}, {90, 104, 108}, 35},
                          Font{6, 9, {70, 60, 80}, {120, 136, 142}, 45}}) {
        StatisticsTextWidths w;
        w.tenSpaces = 10 * f.space;
        w.averageChar = f.average;
        w.twoTabLabelMax = *std::max_element(f.twoTabLabels, f.twoTabLabels + 3);
        w.oneTabLabelMin = *std::min_element(f.oneTabLabels, f.oneTabLabels + 3);
        w.oneTabLabelMax = *std::max_element(f.oneTabLabels, f.oneTabLabels + 3);
        w.numberMax = f.number;
        const auto stops = StatisticsTabStops(w);
        const int distance = 8 * f.average;

        std::vector<int> figureColumns;
        const int lead = NextStop(0, stops, distance) + w.tenSpaces;
        for (int label : f.twoTabLabels)
            figureColumns.push_back(
                NextStop(NextStop(lead + label, stops, distance), stops, distance));
        for (int label : f.oneTabLabels)
            figureColumns.push_back(NextStop(lead + label, stops, distance));
        for (int column : figureColumns) EXPECT_EQ(column, figureColumns[0]) << f.average;

        // The percentages line up too, after figures up to the widest expected.
        for (int figure : {f.number / 5, f.number})
            EXPECT_EQ(NextStop(figureColumns[0] + figure, stops, distance), stops[3]);
    }
}

}  // namespace
}  // namespace karvelo
