// The size of the statistics window's font: the largest, from the system's down, at
// which the text's lines, its widest line and both captions fit the design's room.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "statistics_measure.h"

namespace karvelo {
namespace {

// A font whose characters are all `pixels` / 2 wide and whose lines are `pixels` + 2
// apart; `tried` records every size measured.
struct EvenFont {
    std::vector<int> tried;
    StatisticsFont operator()(int pixels) {
        tried.push_back(pixels);
        const int half = pixels / 2;
        return {[half](const char* utf8) { return static_cast<int>(std::strlen(utf8)) * half; },
                std::max(1, half), pixels + 2};
    }
};

// Room that a font of `pixels` just fits, measured with that font.
StatisticsRoom RoomFor(int pixels) {
    EvenFont font;
    const StatisticsFont f = font(pixels);
    const int pad = 2 * f.averageChar;
    return {LayoutStatisticsText(f.width, f.averageChar).lineWidth, f.lineHeight * 17,
            f.width("St\xC3\xA4ng") + pad, f.width("Rensa Statistiken") + pad};
}

TEST(StatisticsFont, TheSystemsSizeIsKeptWhenItFits) {
    EvenFont font;
    EXPECT_EQ(FitStatisticsFont(12, 96, RoomFor(14), std::ref(font)), 12);
    EXPECT_EQ(font.tried, std::vector<int>{12});
}

TEST(StatisticsFont, ShrinksToTheLargestSizeThatFitsEveryPart) {
    EvenFont font;
    EXPECT_EQ(FitStatisticsFont(20, 96, RoomFor(12), std::ref(font)), 12);
    EXPECT_EQ(font.tried.front(), 20);
    EXPECT_EQ(font.tried.back(), 12);
    // Each part alone holds the font back: one pixel less room in any of them and
    // the 12-pixel font no longer fits.
    const StatisticsRoom fits = RoomFor(12);
    for (int part = 0; part < 4; ++part) {
        StatisticsRoom room = fits;
        int* sizes[] = {&room.textWidth, &room.textHeight, &room.closeWidth, &room.clearWidth};
        --*sizes[part];
        EvenFont again;
        EXPECT_LT(FitStatisticsFont(20, 96, room, std::ref(again)), 12) << part;
    }
}

TEST(StatisticsFont, NeverBelowSixPointsAtTheWindowsDensity) {
    const StatisticsRoom none{};  // nothing fits
    EvenFont at96, at144;
    EXPECT_EQ(FitStatisticsFont(16, 96, none, std::ref(at96)), 8);
    EXPECT_EQ(FitStatisticsFont(24, 144, none, std::ref(at144)), 12);
    // A system font already below that is left as it is, and so is nonsense.
    EvenFont small;
    EXPECT_EQ(FitStatisticsFont(7, 96, none, std::ref(small)), 7);
    EXPECT_EQ(FitStatisticsFont(0, 96, none, std::ref(small)), 1);
}

}  // namespace
}  // namespace karvelo
