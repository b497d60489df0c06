// Thousands of random drops over hundreds of random deals, some arriving in the middle
// of a flight; the table must stay consistent after every one.
#include <gtest/gtest.h>

#include <random>

#include "engine_fixture.h"

namespace enginetest {
namespace {

using namespace funktioner;

class RandomPlayTest : public EngineTest {
protected:
    std::mt19937 rng{20240601};

    int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); }

    // A card worth dragging: often one that lies free or heads a run, else any code.
    int Source() {
        if (Pick(0, 3) == 0) return Pick(1, 52);
        if (Pick(0, 3) == 0) {
            const int s = Pick(1, 4);
            if (Board(0, s) != 0) return Board(0, s);
        }
        const int c = Pick(1, 8);
        const int n = Board(c, 0);
        if (n == 0) return Pick(1, 52);
        return Board(c, Pick(std::max(1, n - 3), n));
    }

    // A drop target: often the exposed card of a column or an empty column's base.
    int16_t TableauTarget() {
        if (Pick(0, 3) == 0) return static_cast<int16_t>(Pick(0, 70));
        const int c = Pick(1, 8);
        const int n = Board(c, 0);
        return static_cast<int16_t>(n == 0 ? 59 + c : Board(c, n));
    }

    void RandomInput() {
        switch (Pick(0, 9)) {
            case 0: case 1: case 2: case 3: case 4:
                imgKort_DragDrop(TableauTarget(), Source());
                break;
            case 5: case 6:
                imgHand_DragDrop(static_cast<int16_t>(Pick(0, 3)), Source());
                break;
            case 7:
                imgHog_DragDrop(static_cast<int16_t>(Pick(0, 3)), Source());
                break;
            default:
                imgKort_DblClick(static_cast<int16_t>(Source()));
                break;
        }
    }
};

bool SameBoard(const BoardArray& a, const BoardArray& b) {
    for (int c = 0; c < BoardArray::kColumns; ++c) {
        for (int r = 0; r < BoardArray::kRows; ++r) {
            if (a(c, r) != b(c, r)) return false;
        }
    }
    return true;
}

TEST_F(RandomPlayTest, TableStaysConsistentAfterEveryHandler) {
    table.logMoves = false;
    int changes = 0, injected = 0, injectedThatActed = 0;
    host.onDoEvents = [&] {
        if (Pick(0, 9) != 0) return;
        ++injected;
        const BoardArray before = Board;
        RandomInput();
        if (!SameBoard(before, Board)) ++injectedThatActed;
    };
    for (uint32_t deal = 0; deal < 200; ++deal) {
        SeedDeals(1000 + deal);
        AnimationSpeed = deal % 3 == 0 ? 9 : 1;
        NewGame();
        ASSERT_EQ(CheckTable(), "") << "deal " << deal;
        for (int k = 0; k < 40 && GameInProgress; ++k) {
            const BoardArray before = Board;
            RandomInput();
            log.clear();
            if (!SameBoard(before, Board)) ++changes;
            ASSERT_FALSE(gate().MoveInProgress());
            if (!GameInProgress) break;  // won: the table is empty
            ASSERT_EQ(CheckTable(), "") << "deal " << deal << " input " << k;
        }
    }
    EXPECT_EQ(injectedThatActed, 0);
    EXPECT_GT(injected, 100);
    EXPECT_GT(changes, 500) << "too few of the random drops were legal moves";
}

}  // namespace
}  // namespace enginetest
