// Shuffling, the layout of a fresh deal, clearing the table and starting games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine_fixture.h"
#include "tags.h"

namespace enginetest {
namespace {

using namespace funktioner;

bool DeckIsPermutation() {
    std::array<int, 53> seen{};
    for (int p = 1; p <= 52; ++p) {
        const int code = Deck(p);
        if (code < 1 || code > 52 || seen[static_cast<size_t>(code)]++ != 0) return false;
    }
    return true;
}

class ShuffleTest : public EngineTest {};

TEST_F(ShuffleTest, EverySeedGivesAPermutation) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SeedDeals(seed);
        ShuffleDeck();
        ASSERT_TRUE(DeckIsPermutation()) << "seed " << seed;
    }
}

TEST_F(ShuffleTest, DifferentSeedsGiveDifferentOrders) {
    SeedDeals(7);
    ShuffleDeck();
    std::array<int, 52> first{};
    for (int p = 1; p <= 52; ++p) first[static_cast<size_t>(p - 1)] = Deck(p);
    SeedDeals(8);
    ShuffleDeck();
    int same = 0;
    for (int p = 1; p <= 52; ++p) same += Deck(p) == first[static_cast<size_t>(p - 1)] ? 1 : 0;
    EXPECT_LT(same, 52);
}

TEST_F(ShuffleTest, EachCardGoesToTheDrawnFreePosition) {
    // Draws aimed at positions 52, 51, ... in turn; the first draw for each card
    // lands on a free position, so card k goes to position 53 - k.
    int next = 52;
    SetRandomSource([&] {
        const float r = (static_cast<float>(next) - 0.5f) / 52.0f;
        --next;
        return r;
    });
    ShuffleDeck();
    for (int p = 1; p <= 52; ++p) EXPECT_EQ(Deck(p), 53 - p);
}

TEST_F(ShuffleTest, BrokenSourcesNeitherHangNorLeaveGaps) {
    const float odd[] = {0.5f, 0.0f, 1.0f, 7.0f, -2.0f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(), std::nextafter(1.0f, 0.0f)};
    for (float value : odd) {
        SetRandomSource([value] { return value; });
        ShuffleDeck();
        EXPECT_TRUE(DeckIsPermutation()) << value;
    }
}

TEST_F(ShuffleTest, ClockSeededSourceStaysBelowOne) {
    SeedRandomFromClock();
    for (int i = 0; i < 5; ++i) {
        ShuffleDeck();
        EXPECT_TRUE(DeckIsPermutation());
    }
}

class DealTest : public EngineTest {};

TEST_F(DealTest, ColumnsCountsAndEmptyFoundations) {
    NewGame();
    for (int c = 1; c <= 8; ++c) EXPECT_EQ(Board(c, 0), c <= 4 ? 7 : 6) << c;
    EXPECT_EQ(Board(9, 0), 0);
    EXPECT_EQ(Board(9, 1), 0);
    EXPECT_EQ(Board(9, 2), 13);
    EXPECT_EQ(Board(9, 3), 26);
    EXPECT_EQ(Board(9, 4), 39);
    for (int r = 0; r <= 4; ++r) EXPECT_EQ(Board(0, r), 0);
    EXPECT_TRUE(GameInProgress);
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(DealTest, CardsFollowDealPositions) {
    NewGame();
    for (int p = 1; p <= 52; ++p) {
        const int code = Deck(p);
        const int c = (p - 1) % 8 + 1;
        const int r = (p - 1) / 8 + 1;
        EXPECT_EQ(Board(c, r), code);
        const auto& e = table.card(code);
        EXPECT_EQ(e.tag, MakeTag(c, r));
        EXPECT_EQ(e.picture, 100 + code);
        EXPECT_TRUE(e.enabled && e.visible);
        EXPECT_EQ(e.width, 1065);
        EXPECT_EQ(e.height, 1440);
        if (p > 1) {
            EXPECT_GT(table.Depth(code), table.Depth(Deck(p - 1)));
        }
    }
    EXPECT_EQ(table.card(Deck(1)).tag, "11");
    EXPECT_EQ(table.card(Deck(1)).left, 120);
    EXPECT_EQ(table.card(Deck(1)).top, 1680);
    EXPECT_EQ(table.card(Deck(52)).tag, "47");
    EXPECT_EQ(table.card(Deck(52)).left, 3720);
    EXPECT_EQ(table.card(Deck(52)).top, 3480);
}

TEST_F(DealTest, ColumnBasesAndTheTemplateElement) {
    // A face left in element 0 by the peek copy must not reach the bases.
    table.SetPicture(0, 117);
    table.SetVisible(0, true);
    NewGame();
    for (int c = 1; c <= 8; ++c) {
        const auto& base = table.card(59 + c);
        ASSERT_TRUE(base.exists);
        EXPECT_EQ(base.tag, "9" + std::to_string(c));
        EXPECT_EQ(base.left, 125 + 1200 * (c - 1));
        EXPECT_EQ(base.top, 1685);
        EXPECT_EQ(base.width, 1055);
        EXPECT_EQ(base.height, 1430);
        EXPECT_TRUE(base.border && base.enabled && base.visible);
        EXPECT_EQ(base.picture, 0);
        for (int code = 1; code <= 52; ++code) EXPECT_LT(table.Depth(59 + c), table.Depth(code));
    }
    for (int unused = 53; unused <= 59; ++unused) EXPECT_FALSE(table.card(unused).exists);
    EXPECT_FALSE(table.card(0).visible);
    EXPECT_FALSE(table.card(0).enabled);
    EXPECT_EQ(table.Depth(0), 0);
}

TEST_F(DealTest, ClearingEmptiesBoardThenRemovesPictures) {
    NewGame();
    table.SetPicture(0, 140);  // face left by the peek copy
    log.clear();
    host.logDoEvents = true;
    ClearBoard();
    for (int c = 0; c < 10; ++c) {
        for (int r = 0; r < 22; ++r) EXPECT_EQ(Board(c, r), 0);
    }
    for (int p = 1; p <= 52; ++p) EXPECT_EQ(Deck(p), 0);
    EXPECT_EQ(table.card(0).picture, 0);

    std::vector<std::string> expected = {"picture 0 0", "events"};
    for (int i = 1; i <= 52; ++i) expected.push_back("destroy " + std::to_string(i));
    for (int i = 60; i <= 67; ++i) expected.push_back("destroy " + std::to_string(i));
    expected.insert(expected.end(), {"events", "events"});
    EXPECT_EQ(log, expected);
}

TEST_F(DealTest, ClearingAnEmptyTableIsHarmless) {
    ClearBoard();
    ClearBoard();
    EXPECT_EQ(table.misuse, 0);
}

class NewGameTest : public EngineTest {};

TEST_F(NewGameTest, FirstGameRecordsNothing) {
    NewGame();
    EXPECT_EQ(results.played, 0);
    EXPECT_TRUE(GameInProgress);
}

TEST_F(NewGameTest, AbandonedGameCountsOneLossAfterClearing) {
    NewGame();
    log.clear();
    NewGame();
    // The table is taken away before the loss is recorded.
    const auto recorded = std::find(log.begin(), log.end(), "record lost");
    ASSERT_NE(recorded, log.end());
    const auto destroyedBefore = std::count_if(log.begin(), recorded, [](const std::string& l) {
        return l.rfind("destroy", 0) == 0;
    });
    EXPECT_EQ(destroyedBefore, 60);
    EXPECT_EQ(results.played, 1);
    EXPECT_EQ(results.lossRun, 1);
    EXPECT_EQ(results.won, 0);
    EXPECT_TRUE(GameInProgress);
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(NewGameTest, AfterAWonGameNothingIsRecorded) {
    NewGame();
    GameInProgress = false;  // as the win leaves it
    ClearBoard();
    NewGame();
    EXPECT_EQ(results.played, 0);
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(NewGameTest, WithoutAWindowNothingCrashes) {
    surroundings.reset();
    const Surroundings headless({.host = &host, .results = &results});
    NewGame();
    NewGame();
    imgKort_DragDrop(5, 6);
    imgHand_DragDrop(0, 6);
    imgHog_DragDrop(0, 1);
    imgKort_DblClick(3);
    AutoPlay();
    EXPECT_EQ(results.lossRun, 1);
}

}  // namespace
}  // namespace enginetest
