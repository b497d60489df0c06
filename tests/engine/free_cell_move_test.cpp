// Drops on free cells and the double-click that parks a card in one.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace enginetest {
namespace {

using namespace funktioner;

class CellTest : public EngineTest {};

TEST_F(CellTest, ExposedCardGoesIntoAnEmptyCell) {
    LayOut({{{Sp(9), Hj(8)}, {Kl(5)}}});
    imgHand_DragDrop(2, Hj(8));
    EXPECT_EQ(Board(0, 3), Hj(8));
    EXPECT_EQ(Board(0, 0), 1);
    EXPECT_EQ(Board(1, 0), 1);
    EXPECT_EQ(Board(1, 2), 0);
    const auto& card = table.card(Hj(8));
    EXPECT_EQ(card.tag, "03");
    EXPECT_EQ(card.left, 2200);
    EXPECT_EQ(card.top, 30);
    EXPECT_GT(table.Depth(Hj(8)), table.Depth(Kl(5)));
    // Seventeen steps, one pass per position, and one more after arriving.
    EXPECT_EQ(host.doEvents, 19);
}

TEST_F(CellTest, CoveredCardsAndFullCellsRefuseButPlayAutomatically) {
    Position p;
    p.columns = {{Sp(9), Hj(8)}, {Ru(1)}};
    p.freeCells = {Kl(7), 0, 0, 0};
    LayOut(p);
    imgHand_DragDrop(1, Sp(9));  // covered
    EXPECT_EQ(Board(1, 1), Sp(9));
    EXPECT_EQ(Board(0, 2), 0);
    EXPECT_EQ(Board(9, 3), Ru(1));
    imgHand_DragDrop(0, Hj(8));  // cell 0 is taken
    EXPECT_EQ(Board(0, 1), Kl(7));
    EXPECT_EQ(Board(1, 2), Hj(8));
    EXPECT_EQ(Board(0, 0), 1);
}

TEST_F(CellTest, FromOneCellToAnother) {
    Position p;
    p.columns = {{Sp(9)}};
    p.freeCells = {0, 0, 0, Hj(8)};
    LayOut(p);
    imgHand_DragDrop(0, Hj(8));
    EXPECT_EQ(Board(0, 1), Hj(8));
    EXPECT_EQ(Board(0, 4), 0);
    EXPECT_EQ(Board(0, 0), 1);
    EXPECT_EQ(table.card(Hj(8)).tag, "01");
    EXPECT_EQ(table.card(Hj(8)).left, 40);
}

TEST_F(CellTest, DoubleClickUsesTheLeftmostEmptyCell) {
    Position p;
    p.columns = {{Sp(9), Hj(8)}};
    p.freeCells = {Kl(7), Kl(8), 0, 0};
    LayOut(p);
    imgKort_DblClick(Hj(8));
    EXPECT_EQ(Board(0, 3), Hj(8));
    EXPECT_EQ(table.card(Hj(8)).tag, "03");

    p.freeCells = {0, Kl(8), 0, 0};
    LayOut(p);
    imgKort_DblClick(Kl(8));  // from cell 1 to cell 0
    EXPECT_EQ(Board(0, 1), Kl(8));
    EXPECT_EQ(Board(0, 2), 0);
}

TEST_F(CellTest, DoubleClickWithAllCellsFullDoesNothingAtAll) {
    Position p;
    p.columns = {{Sp(9), Hj(8)}, {Ru(1)}};
    p.freeCells = {Kl(7), Kl(8), Kl(9), Kl(10)};
    LayOut(p);
    imgKort_DblClick(Hj(8));
    EXPECT_EQ(Board(2, 1), Ru(1)) << "no automatic play either";
    EXPECT_EQ(host.doEvents, 0);
}

TEST_F(CellTest, DoubleClickOnCoveredCardOnlyPlaysAutomatically) {
    LayOut({{{Sp(9), Hj(8)}, {Ru(1)}}});
    imgKort_DblClick(Sp(9));
    EXPECT_EQ(Board(1, 1), Sp(9));
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_EQ(Board(9, 3), Ru(1));
}

TEST_F(CellTest, DoubleClickOnPlayedCardsAndOtherElementsIsIgnored) {
    Position p;
    p.columns = {{Sp(9), Hj(8)}, {Ru(1)}};
    p.onFoundation = {0, 2, 0, 0};
    LayOut(p);
    for (int index : {Kl(1), Kl(2), 0, 60, 67, 53, -1, 100}) {
        imgKort_DblClick(static_cast<int16_t>(index));
    }
    EXPECT_EQ(Board(2, 1), Ru(1)) << "no automatic play";
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_EQ(Board(9, 2), Kl(2));
}

}  // namespace
}  // namespace enginetest
