// Resizing by area: the averages, the sizes, premultiplied edges, and refusing
// pixels that do not fit the size given.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "area_scale.h"

using namespace karvelo;

namespace {

std::vector<std::uint32_t> Scale(const std::vector<std::uint32_t>& px, int w, int h, int toW, int toH) {
    return ScaleByArea({px, w, h}, toW, toH);
}

}  // namespace

TEST(AreaScale, AveragesWhatEachNewPixelCovers) {
    // Four pixels into one: their average, channel by channel.
    EXPECT_EQ(Scale({0xff000000, 0xff0000ff, 0xff00ff00, 0xffff0000}, 2, 2, 1, 1),
              (std::vector<std::uint32_t>{0xff404040}));
    // Three into two: the middle pixel is shared, half to each side.
    EXPECT_EQ(Scale({0xff000000, 0xff808080, 0xffffffff}, 3, 1, 2, 1),
              (std::vector<std::uint32_t>{0xff2b2b2b, 0xffd5d5d5}));
    // The same size is the same picture.
    const std::vector<std::uint32_t> some{0xff102030, 0x80402010, 0x00000000, 0xffffffff};
    EXPECT_EQ(Scale(some, 2, 2, 2, 2), some);
}

TEST(AreaScale, ATransparentNeighbourDoesNotDarkenAnEdge) {
    // White beside transparent, averaged premultiplied: half-transparent white, which
    // AlphaBlend shows as white over half the background, not as grey.
    EXPECT_EQ(Scale({0xffffffff, 0x00000000}, 2, 1, 1, 1), (std::vector<std::uint32_t>{0x80808080}));
}

TEST(AreaScale, ShrinksAndEnlargesEveryPlainPicture) {
    for (auto [w, h, toW, toH] : {std::tuple{1300, 900, 975, 675}, {142, 192, 106, 144},
                                   {71, 96, 89, 120}, {1, 1, 3, 2}}) {
        const std::vector<std::uint32_t> plain(static_cast<size_t>(w * h), 0xff008000);
        const auto out = Scale(plain, w, h, toW, toH);
        ASSERT_EQ(out.size(), static_cast<size_t>(toW * toH));
        for (std::uint32_t px : out) ASSERT_EQ(px, 0xff008000u) << w << " to " << toW;
    }
}

TEST(AreaScale, RefusesSizesThatDoNotFit) {
    const std::vector<std::uint32_t> four(4, 0xffffffff);
    EXPECT_TRUE(Scale(four, 2, 2, 0, 1).empty());
    EXPECT_TRUE(Scale(four, 2, 2, 1, -1).empty());
    EXPECT_TRUE(Scale(four, 3, 2, 1, 1).empty());  // six pixels promised, four given
    EXPECT_TRUE(Scale({}, 0, 0, 1, 1).empty());
}
