// Dropping a card or a run on a card or on the base of an empty column.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "engine_fixture.h"
#include "tags.h"

namespace enginetest {
namespace {

using namespace funktioner;

constexpr const char* kRefusal = "Det går inte att göra denna förflyttning";

class TableauMoveTest : public EngineTest {
protected:
    void ExpectAt(int code, int column, int row) {
        EXPECT_EQ(Board(column, row), code) << MakeTag(column, row);
        EXPECT_EQ(table.card(code).tag, MakeTag(column, row)) << code;
        EXPECT_EQ(table.card(code).left, 120 + 1200 * (column - 1)) << code;
        EXPECT_EQ(table.card(code).top, 1680 + 300 * (row - 1)) << code;
    }
};

TEST_F(TableauMoveTest, SingleCardOntoOtherColourOneHigher) {
    LayOut({{{Sp(9), Hj(8)}, {Kl(12), Ru(9)}}});
    imgKort_DragDrop(Ru(9), Kl(8));  // not there: Klöver 8 is not on the table
    imgKort_DragDrop(Hj(8), Ru(9));  // same colour
    EXPECT_EQ(Board(1, 0), 2);
    imgKort_DragDrop(Sp(9), Hj(8));  // onto its own column's covered card
    EXPECT_EQ(Board(1, 0), 2);

    LayOut({{{Sp(9)}, {Kl(12), Hj(8)}}});
    imgKort_DragDrop(Sp(9), Hj(8));
    ExpectAt(Hj(8), 1, 2);
    EXPECT_EQ(Board(2, 0), 1);
    EXPECT_EQ(Board(2, 2), 0);
    EXPECT_GT(table.Depth(Hj(8)), table.Depth(Sp(9)));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TableauMoveTest, RefusedTargetsLeaveTheCardButStillPlayAutomatically) {
    // Each refused drop is followed by automatic play, which takes the exposed ace.
    struct Case { const char* what; int target; };
    const Case cases[] = {{"same colour", Hj(9)}, {"covered card", Sp(9)},
                          {"card in a free cell", Kl(9)}, {"an ace", Kl(1)}};
    for (const auto& c : cases) {
        Position p;
        p.columns = {{Sp(9), Hj(9)}, {Ru(8)}, {Ru(1)}, {Kl(1)}};
        p.freeCells = {0, Kl(9), 0, 0};
        if (c.target == Kl(1)) p.columns = {{Sp(9), Hj(9)}, {Ru(13)}, {Ru(1)}, {Kl(1)}};
        LayOut(p);
        const int dragged = c.target == Kl(1) ? Ru(13) : Ru(8);
        imgKort_DragDrop(static_cast<int16_t>(c.target), dragged);
        EXPECT_EQ(Board(2, 1), dragged) << c.what;
        EXPECT_EQ(table.card(dragged).tag, "21") << c.what;
        EXPECT_EQ(Board(9, 3), Ru(1)) << c.what;
        EXPECT_EQ(Board(9, 2), Kl(1)) << c.what;
        EXPECT_TRUE(host.boxes.empty()) << c.what;
    }
}

TEST_F(TableauMoveTest, DropOnItselfChangesNothingAndPlaysAutomatically) {
    LayOut({{{Sp(9), Hj(8)}, {Ru(1)}}});
    imgKort_DragDrop(Hj(8), Hj(8));
    ExpectAt(Hj(8), 1, 2);
    EXPECT_EQ(Board(9, 3), Ru(1));
}

TEST_F(TableauMoveTest, AnyCardGoesOntoAnEmptyColumnBase) {
    Position p;
    p.columns = {{Sp(9), Hj(8)}, {}, {Kl(5)}};
    p.freeCells = {0, 0, Hj(13), 0};
    LayOut(p);
    imgKort_DragDrop(61, Hj(13));  // base of column 2
    ExpectAt(Hj(13), 2, 1);
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_EQ(Board(0, 3), 0);
    // Element 0 was the target: one card spacing above the first card's place.
    EXPECT_EQ(table.card(0).tag, "20");
    EXPECT_EQ(table.card(0).left, 1320);
    EXPECT_EQ(table.card(0).top, 1380);
    EXPECT_FALSE(table.card(0).visible);

    imgKort_DragDrop(61, Kl(5));  // column 2 is no longer empty
    ExpectAt(Kl(5), 3, 1);
    imgKort_DragDrop(62, Kl(5));  // the card's own, covered base
    ExpectAt(Kl(5), 3, 1);
}

TEST_F(TableauMoveTest, RunIsCheckedForOrderWithoutAutomaticPlay) {
    LayOut({{{Sp(9), Hj(8), Kl(6)}, {Kl(9)}, {Ru(1)}}});  // a rank missing
    imgKort_DragDrop(Kl(9), Hj(8));
    ExpectAt(Hj(8), 1, 2);
    ExpectAt(Kl(6), 1, 3);
    EXPECT_EQ(Board(3, 1), Ru(1)) << "automatic play ran after a run out of order";
    EXPECT_TRUE(host.boxes.empty());

    LayOut({{{Sp(9), Hj(8), Ru(7)}, {Kl(9)}, {Ru(1)}}});  // red on red
    imgKort_DragDrop(Kl(9), Hj(8));
    EXPECT_EQ(Board(1, 0), 3);
    EXPECT_EQ(Board(3, 1), Ru(1));
}

TEST_F(TableauMoveTest, RunMovesCardByCardInItsOrder) {
    LayOut({{{Ru(2), Sp(10), Hj(9), Kl(8)}, {Ru(11)}}});
    struct Seen { int code; int column2Count; };
    std::vector<Seen> flights;
    host.onDoEvents = [&] {
        const auto& m = table.moves;
        if (!m.empty()) flights.push_back({m.back().index, Board(2, 0)});
    };
    imgKort_DragDrop(Ru(11), Sp(10));
    ExpectAt(Sp(10), 2, 2);
    ExpectAt(Hj(9), 2, 3);
    ExpectAt(Kl(8), 2, 4);
    EXPECT_EQ(Board(1, 0), 1);
    // Each card flies while Board holds it and not yet the next one.
    ASSERT_EQ(flights.size(), 3u * 18);
    const std::array<int, 3> run = {Sp(10), Hj(9), Kl(8)};
    for (size_t i = 0; i < flights.size(); ++i) {
        const size_t card = i / 18;
        EXPECT_EQ(flights[i].code, run[card]);
        EXPECT_EQ(flights[i].column2Count, 2 + static_cast<int>(card));
    }
    EXPECT_GT(table.Depth(Kl(8)), table.Depth(Hj(9)));
    EXPECT_GT(table.Depth(Hj(9)), table.Depth(Sp(10)));
}

TEST_F(TableauMoveTest, TwoDigitTargetRowsAdvance) {
    // Column 4 holds ten cards; its last is tagged "410".
    LayOut({{{Kl(10), Hj(9)},
             {},
             {},
             {Ru(13), Sp(13), Hj(13), Kl(13), Ru(12), Sp(12), Hj(12), Kl(12), Sp(2), Ru(11)}}});
    ASSERT_EQ(table.card(Ru(11)).tag, "410");
    // A run of two onto Ruter knave: the Klöver ten lands at row 11, tag "411".
    imgKort_DragDrop(Ru(11), Kl(10));
    ExpectAt(Kl(10), 4, 11);
    ExpectAt(Hj(9), 4, 12);
    EXPECT_EQ(table.card(Hj(9)).tag, "412");
}

// A ten-card run (Hjärter queen down to Spader three) in column 1 and a target in
// column 2; junk fills the free cells and columns that are to be occupied.
class CapacityTest : public EngineTest {
protected:
    static constexpr int kChain[10] = {Hj(12), Sp(11), Hj(10), Sp(9), Hj(8),
                                       Sp(7),  Hj(6),  Sp(5),  Hj(4), Sp(3)};

    // Returns whether a run of n moved; otherwise the refusal must have been shown.
    bool TryRun(int n, int emptyCells, int emptyColumns, bool ontoEmptyColumn) {
        const int dragged = kChain[10 - n];
        const int target = ColourOf(dragged) == 0 ? Kl(RankOf(dragged) + 1)
                                                   : Ru(RankOf(dragged) + 1);
        std::vector<int> junk = {Kl(2), Kl(3), Kl(4), Kl(5), Kl(6), Ru(2), Ru(3), Ru(4),
                                 Ru(5), Ru(6), Ru(7)};
        junk.erase(std::remove(junk.begin(), junk.end(), target), junk.end());
        Position p;
        p.columns.assign(8, {});
        p.columns[0].assign(std::begin(kChain), std::end(kChain));
        if (!ontoEmptyColumn) p.columns[1] = {target};
        size_t j = 0;
        // Columns 3 to 8 (and 2 when the run goes onto an empty column) are empty
        // or hold one junk card, so that `emptyColumns` of them stay empty.
        const int firstFree = ontoEmptyColumn ? 1 : 2;
        for (int c = firstFree; c < 8 - emptyColumns; ++c) p.columns[static_cast<size_t>(c)] = {junk[j++]};
        for (int s = 0; s < 4 - emptyCells; ++s) p.freeCells[static_cast<size_t>(s)] = junk[j++];
        LayOut(p);
        host.boxes.clear();
        if (ontoEmptyColumn) {
            imgKort_DragDrop(67, dragged);  // base of column 8
        } else {
            imgKort_DragDrop(static_cast<int16_t>(target), dragged);
        }
        const bool moved = Board(1, 0) == 10 - n;
        if (!moved) {
            EXPECT_EQ(Board(1, 0), 10);
            EXPECT_EQ(table.card(dragged).tag, MakeTag(1, 11 - n));
            EXPECT_EQ(host.boxes.size(), 1u);
        } else {
            EXPECT_TRUE(host.boxes.empty());
        }
        return moved;
    }
};

TEST_F(CapacityTest, RefusalMessageIsExact) {
    EXPECT_FALSE(TryRun(4, 2, 0, false));
    ASSERT_EQ(host.boxes.size(), 1u);
    const auto& box = host.boxes[0];
    EXPECT_EQ(box.text, kRefusal);
    EXPECT_EQ(box.title, "Wrong move");
    EXPECT_EQ(box.buttons, karvelo::Buttons::OK);
    EXPECT_EQ(box.icon, karvelo::Icon::Exclamation);
}

TEST_F(CapacityTest, CellsPlusOneDoubledPerEmptyColumn) {
    struct Case { int cells, columns, limit; };
    for (const Case c : {Case{0, 0, 1}, Case{2, 0, 3}, Case{4, 0, 5}, Case{0, 1, 2},
                         Case{2, 1, 6}, Case{4, 1, 10}, Case{0, 2, 4}, Case{1, 2, 8},
                         Case{0, 3, 8}}) {
        SCOPED_TRACE(::testing::Message() << c.cells << " cells, " << c.columns << " columns");
        if (c.limit >= 2) {
            EXPECT_TRUE(TryRun(c.limit, c.cells, c.columns, false));
        }
        if (c.limit + 1 <= 10) {
            EXPECT_FALSE(TryRun(c.limit + 1, c.cells, c.columns, false));
        }
    }
}

TEST_F(CapacityTest, DestinationColumnDoesNotCount) {
    // Three empty cells, column 8 the only empty column: limit 4.
    EXPECT_TRUE(TryRun(4, 3, 1, true));
    EXPECT_FALSE(TryRun(5, 3, 1, true));
    // One more empty column doubles it to 8.
    EXPECT_TRUE(TryRun(8, 3, 2, true));
    EXPECT_FALSE(TryRun(9, 3, 2, true));
}

TEST_F(CapacityTest, RunOntoEmptyColumnLandsUnderTheBase) {
    EXPECT_TRUE(TryRun(3, 4, 1, true));
    for (int i = 0; i < 3; ++i) {
        const int code = kChain[7 + i];
        EXPECT_EQ(table.card(code).tag, MakeTag(8, i + 1));
        EXPECT_EQ(table.card(code).left, 120 + 1200 * 7);
        EXPECT_EQ(table.card(code).top, 1680 + 300 * i);
    }
}

TEST_F(CapacityTest, PeekReleaseDuringARunCannotMisplaceIt) {
    // A right release during the flight hides the peek copy and moves element 0
    // away; the rest of the run must still land under the column base.
    host.onDoEvents = [&] {
        if (gate().Admit(PlayerInput::PeekRelease) == Verdict::Run) table.Move(0, -2000, -2000);
    };
    EXPECT_TRUE(TryRun(3, 4, 1, true));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table.card(kChain[7 + i]).left, 8520);
        EXPECT_EQ(table.card(kChain[7 + i]).top, 1680 + 300 * i);
    }
}

class StaleInputTest : public EngineTest {};

TEST_F(StaleInputTest, CardsOnFoundationsOrUnknownElementsMoveNothing) {
    Position p;
    p.columns = {{Sp(9), Kl(3)}, {Ru(4)}, {Kl(13)}};
    p.onFoundation = {2, 0, 0, 0};  // Hjärter ace and two, their tags stale ("11")
    LayOut(p);
    imgKort_DragDrop(Kl(3), Hj(2));    // a played card dragged onto a fitting card
    imgKort_DragDrop(Hj(2), Kl(3));    // and a played card as the target
    imgHand_DragDrop(0, Hj(1));
    imgKort_DragDrop(0, Kl(3));        // the template element
    imgKort_DragDrop(55, Kl(3));       // an unused index
    imgKort_DragDrop(-4, Kl(3));
    imgKort_DragDrop(Ru(4), 0);
    imgKort_DragDrop(Ru(4), 99);
    imgHand_DragDrop(4, Kl(3));
    imgHand_DragDrop(-1, Kl(3));
    imgHog_DragDrop(7, Kl(3));
    EXPECT_EQ(Board(1, 0), 2);
    EXPECT_EQ(Board(1, 2), Kl(3));
    EXPECT_EQ(Board(2, 0), 1);
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_EQ(Board(9, 0), 2);
    EXPECT_EQ(Board(9, 1), Hj(2));
}

TEST_F(StaleInputTest, PlayedCardWhoseOldTagNamesAnExposedCardMovesNothing) {
    // The played Hjärter two still carries "11", where the Klöver three now lies
    // alone; nothing may take that for the two.
    Position p;
    p.columns = {{Kl(3)}, {Sp(3)}, {}};
    p.onFoundation = {2, 0, 0, 0};
    LayOut(p);
    imgHand_DragDrop(0, Hj(2));
    imgKort_DragDrop(Sp(3), Hj(2));
    imgKort_DragDrop(62, Hj(2));
    imgHog_DragDrop(0, Hj(2));
    imgKort_DblClick(Hj(2));
    EXPECT_EQ(Board(1, 0), 1);
    EXPECT_EQ(Board(1, 1), Kl(3));
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_EQ(Board(3, 0), 0);
    EXPECT_EQ(Board(9, 1), Hj(2));
    EXPECT_EQ(Board(9, 0), 2);
    EXPECT_EQ(table.card(Kl(3)).tag, "11");
}

TEST_F(StaleInputTest, MalformedTagsOnTargetsAreNotTargets) {
    LayOut({{{Sp(9)}, {Hj(8)}}});
    for (const char* tag : {"", "1", "1x", "x", "91x", "9", "099"}) {
        table.SetTag(Sp(9), tag);
        imgKort_DragDrop(Sp(9), Hj(8));
        EXPECT_EQ(Board(2, 1), Hj(8)) << tag;
    }
    table.SetTag(Sp(9), "11");
    table.SetTag(60, "9z");
    imgKort_DragDrop(60, Hj(8));
    table.SetTag(60, "99");
    imgKort_DragDrop(60, Hj(8));
    EXPECT_EQ(Board(2, 1), Hj(8));
}

}  // namespace
}  // namespace enginetest
