// The card flight: positions, rounding, and one pass of the event loop per position.
#include <gtest/gtest.h>

#include <string>

#include "engine_fixture.h"
#include "programmer_error.h"

namespace enginetest {
namespace {

using namespace funktioner;

class AnimateTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        table.CreateCard(5);
        table.CreateCard(9);
        log.clear();
        host.logDoEvents = true;
    }
    // The (left, top) of every Move in the log, in order.
    std::vector<std::pair<float, float>> Positions() {
        std::vector<std::pair<float, float>> out;
        for (const auto& m : table.moves) {
            if (m.index == 5) out.emplace_back(m.left, m.top);
        }
        for (size_t i = 0; i < log.size(); ++i) {
            // Every position is followed by one pass of the event loop.
            if (log[i].rfind("move 5 ", 0) == 0) {
                EXPECT_TRUE(i + 1 < log.size() && log[i + 1] == "events") << i;
            }
        }
        table.moves.clear();
        return out;
    }
};

TEST_F(AnimateTest, SeventeenStepsOverTwelveHundredTwips) {
    table.Move(5, 120, 1680);
    table.Move(9, 1320, 1380);
    log.clear();
    table.moves.clear();
    AnimateMove(imgKort(5), imgKort(9), 0, 300, 17);
    EXPECT_EQ(host.doEvents, 18);
    const auto positions = Positions();
    ASSERT_EQ(positions.size(), 18u);
    for (int i = 0; i < 17; ++i) {
        const double expected = 120 + i * (1200.0 / 17);
        EXPECT_EQ(positions[static_cast<size_t>(i)].first, static_cast<float>(expected));
        EXPECT_EQ(positions[static_cast<size_t>(i)].second, 1680);
    }
    EXPECT_NEAR(positions[1].first - positions[0].first, 70.588, 0.001);
    EXPECT_EQ(table.card(5).left, 1320);
    EXPECT_EQ(table.card(5).top, 1680);
}

TEST_F(AnimateTest, LastPositionIsExactlyTheTargetForAwkwardDistances) {
    for (int steps : {3, 7, 11, 33, 43}) {
        table.Move(5, 7, 11);
        table.Move(9, 8520, 0);
        AnimateMove(imgKort(5), imgKort(9), 1, 2, steps);
        EXPECT_EQ(table.card(5).left, 8521);
        EXPECT_EQ(table.card(5).top, 2);
    }
}

TEST_F(AnimateTest, StartAndEndRoundHalvesToEven) {
    table.Move(5, 120.5f, 1681.5f);
    table.Move(9, 1000.5f, 2000.5f);
    log.clear();
    table.moves.clear();
    AnimateMove(imgKort(5), imgKort(9), 0, 1, 2);
    const auto positions = Positions();
    ASSERT_EQ(positions.size(), 3u);
    EXPECT_EQ(positions[0], std::make_pair(120.0f, 1682.0f));
    EXPECT_EQ(positions[2], std::make_pair(1000.0f, 2002.0f));  // 2001.5 rounds to 2002
    EXPECT_EQ(positions[1], std::make_pair(560.0f, 1842.0f));
}

TEST_F(AnimateTest, StepsBelowOneJumpInOnePass) {
    for (int steps : {1, 0, -7}) {
        table.Move(5, 0, 0);
        log.clear();
        table.moves.clear();
        host.doEvents = 0;
        AnimateMove(imgKort(5), imgHand(2), 40, 30, steps);
        const auto positions = Positions();
        ASSERT_EQ(positions.size(), 2u) << steps;
        EXPECT_EQ(positions[0], std::make_pair(0.0f, 0.0f));
        EXPECT_EQ(positions[1], std::make_pair(2200.0f, 30.0f));
        EXPECT_EQ(host.doEvents, 2);
    }
}

TEST_F(AnimateTest, CardAlreadyInPlaceStillTakesEveryStep) {
    table.Move(5, 5320, 30);
    log.clear();
    table.moves.clear();
    AnimateMove(imgKort(5), imgHog(0), 40, 30, 9);
    const auto positions = Positions();
    ASSERT_EQ(positions.size(), 10u);
    for (const auto& p : positions) EXPECT_EQ(p, std::make_pair(5320.0f, 30.0f));
}

TEST_F(AnimateTest, OnlyCardPicturesFly) {
    EXPECT_PROGRAMMER_ERROR(AnimateMove(imgHand(1), imgHog(0), 40, 30, 5));
    EXPECT_EQ(Count("move"), 0);
    EXPECT_EQ(host.doEvents, 0);
}

}  // namespace
}  // namespace enginetest
