// What every window draws alike: the colours of an empty place's sunken edge on any
// background, what a repaint behind the title picture can leave out, and the
// statistics text's stops in a font.
#include <gtest/gtest.h>

#include <string>

#include "statistics_measure.h"
#include "sunken_edge.h"
#include "title_cover.h"

namespace karvelo {
namespace {

TEST(SunkenEdge, DarkerAboveLighterBelowOnAnyBackground) {
    // The standard green gives the greens of the empty-place picture.
    EXPECT_EQ(SunkenEdgeFor(0x008000), (SunkenEdge{0x005800, 0x00AD00}));
    // Too dark to lighten: a grey light edge.
    EXPECT_EQ(SunkenEdgeFor(0x000000), (SunkenEdge{0x000000, 0x606060}));
    // White cannot get brighter; pure red gives up saturation to look lighter.
    EXPECT_EQ(SunkenEdgeFor(0xFFFFFF), (SunkenEdge{0xB0B0B0, 0xFFFFFF}));
    EXPECT_EQ(SunkenEdgeFor(0x0000FF), (SunkenEdge{0x0000B0, 0x5959FF}));
    // Whatever lies above the colour's 24 bits is no colour.
    EXPECT_EQ(SunkenEdgeFor(static_cast<int32_t>(0xFF008000)), SunkenEdgeFor(0x008000));
}

TEST(TitleCover, PaintingStartsAtTheTitleOnlyWhereItCoversEverything) {
    Scene scene;
    scene.Add({{ElementKind::Hand, 0}, {0, 0, 1125, 1500}, 0, "", "", true, true, true});
    scene.Add({{ElementKind::Splash, 0}, {0, 0, 9750, 6750}, 0, "", "", false, true, true});
    const auto& order = scene.DrawingOrder();
    EXPECT_EQ(FirstElementToPaint(order, {0, 0, 644, 385}, 96), 1u);
    EXPECT_EQ(FirstElementToPaint(order, {600, 400, 660, 460}, 96), 0u);  // past its edge
    EXPECT_EQ(FirstElementToPaint(order, {0, 0, 975, 675}, 144), 1u);
    scene.SetVisible({ElementKind::Splash, 0}, false);
    EXPECT_EQ(FirstElementToPaint(order, {0, 0, 644, 385}, 96), 0u);
}

TEST(StatisticsMeasure, StopsRiseAndTheLastFollowsThePercentages) {
    // A font of 6-pixel characters (a UTF-8 letter of two bytes counts once).
    const auto width = [](const char* utf8) {
        int n = 0;
        for (const char* p = utf8; *p; ++p) n += (static_cast<unsigned char>(*p) & 0xC0) != 0x80;
        return 6 * n;
    };
    const StatisticsTextLayout layout = LayoutStatisticsText(width, 6);
    for (size_t i = 1; i < layout.stops.size(); ++i) EXPECT_GT(layout.stops[i], layout.stops[i - 1]) << i;
    EXPECT_EQ(layout.stops[4], layout.stops[3] + 6 * 6 + 6);
    EXPECT_EQ(layout.lineWidth, layout.stops[4]);
    EXPECT_EQ(layout.tabDistance, 48);
}

}  // namespace
}  // namespace karvelo
