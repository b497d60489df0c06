// Twips to pixels at the densities Windows offers: the window's size and every
// element's place go through these two functions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "twips.h"

using namespace karvelo;

TEST(Twips, WholePixelsAtCommonDensities) {
    EXPECT_EQ(PixelsFromTwips(9660, 96), 644);
    EXPECT_EQ(PixelsFromTwips(5775, 96), 385);
    EXPECT_EQ(PixelsFromTwips(9660, 144), 966);
    EXPECT_EQ(PixelsFromTwips(1815, 96), 121);
    EXPECT_EQ(PixelsFromTwips(1005, 96), 67);
    EXPECT_EQ(PixelsFromTwips(1065, 192), 142);
    EXPECT_EQ(PixelsFromTwips(1440, 120), 120);
}

TEST(Twips, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(PixelsFromTwips(5775, 144), 578);   // 577.5
    EXPECT_EQ(PixelsFromTwips(337.5, 96), 22);    // 22.5
    EXPECT_EQ(PixelsFromTwips(352.5, 96), 24);    // 23.5
    EXPECT_EQ(PixelsFromTwips(-337.5, 96), -22);  // -22.5
    EXPECT_EQ(PixelsFromTwips(1065, 144), 106);   // 106.5
    EXPECT_EQ(PixelsFromTwips(7.6, 96), 1);       // 0.506...: not a half
}

TEST(Twips, BadValuesGiveSafeResults) {
    EXPECT_EQ(PixelsFromTwips(std::nan(""), 96), 0);
    EXPECT_EQ(PixelsFromTwips(1e300, 96), std::numeric_limits<int>::max());
    EXPECT_EQ(PixelsFromTwips(-1e300, 96), std::numeric_limits<int>::min());
    EXPECT_EQ(PixelsFromTwips(std::numeric_limits<double>::infinity(), 96),
              std::numeric_limits<int>::max());
    EXPECT_EQ(PixelsFromTwips(1440, 0), 0);
    EXPECT_EQ(PixelsFromTwips(1440, -96), 0);
    EXPECT_EQ(TwipsFromPixels(10, 0), 0.0);
}

TEST(Twips, PixelsBackToTwips) {
    EXPECT_DOUBLE_EQ(TwipsFromPixels(644, 96), 9660);
    EXPECT_DOUBLE_EQ(TwipsFromPixels(966, 144), 9660);
    EXPECT_DOUBLE_EQ(TwipsFromPixels(1, 96), 15);
    EXPECT_DOUBLE_EQ(TwipsFromPixels(-2, 192), -15);
    for (int dpi : {96, 120, 144, 168, 192, 288})
        for (int px : {0, 1, 71, 644, 1299}) EXPECT_EQ(PixelsFromTwips(TwipsFromPixels(px, dpi), dpi), px);
}
