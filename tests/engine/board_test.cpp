// The stacking rule, writing a move into Board, and reading position tags.
#include <gtest/gtest.h>

#include <limits>

#include "engine_fixture.h"
#include "funktioner.h"
#include "programmer_error.h"
#include "rounding.h"
#include "tags.h"

namespace enginetest {
namespace {

using namespace funktioner;

TEST(CardCodes, SuitRankAndColour) {
    EXPECT_EQ(SuitOf(1), 0);
    EXPECT_EQ(SuitOf(13), 0);
    EXPECT_EQ(SuitOf(14), 1);
    EXPECT_EQ(SuitOf(52), 3);
    EXPECT_EQ(RankOf(27), 1);
    EXPECT_EQ(RankOf(39), 13);
    EXPECT_EQ(ColourOf(Hj(5)), 0);
    EXPECT_EQ(ColourOf(Kl(5)), 1);
    EXPECT_EQ(ColourOf(Ru(5)), 0);
    EXPECT_EQ(ColourOf(Sp(5)), 1);
}

TEST(CanStackOn, OtherColourOneRankLower) {
    EXPECT_TRUE(CanStackOn(12, 24));   // knave of Klöver on queen of Hjärter
    EXPECT_FALSE(CanStackOn(12, 37));  // knave of Ruter: same colour
    EXPECT_FALSE(CanStackOn(12, 11));  // same suit
    EXPECT_FALSE(CanStackOn(24, 12));  // higher on lower
    EXPECT_TRUE(CanStackOn(Sp(8), Ru(7)));
    EXPECT_TRUE(CanStackOn(Ru(2), Kl(1)));
}

TEST(CanStackOn, NothingGoesOnAnAceOrOnNoCard) {
    for (int ace : {1, 14, 27, 40}) {
        for (int upper = 1; upper <= 52; ++upper) EXPECT_FALSE(CanStackOn(ace, upper));
    }
    for (int upper = 1; upper <= 52; ++upper) EXPECT_FALSE(CanStackOn(0, upper));
    EXPECT_FALSE(CanStackOn(Hj(3), 0));
    EXPECT_FALSE(CanStackOn(53, 40));
    EXPECT_FALSE(CanStackOn(-1, 12));
}

TEST(CanStackOn, EveryLowerCardTakesExactlyTwoCards) {
    for (int lower = 1; lower <= 52; ++lower) {
        int fits = 0;
        for (int upper = 1; upper <= 52; ++upper) fits += CanStackOn(lower, upper) ? 1 : 0;
        EXPECT_EQ(fits, RankOf(lower) == 1 ? 0 : 2) << lower;
    }
}

class MoveCardInBoardTest : public EngineTest {};

TEST_F(MoveCardInBoardTest, TableauToTableau) {
    Board(3, 0) = 7;
    Board(3, 7) = 20;
    Board(5, 0) = 2;
    MoveCardInBoard("52", "37", 20);
    EXPECT_EQ(Board(3, 0), 6);
    EXPECT_EQ(Board(3, 7), 0);
    EXPECT_EQ(Board(5, 3), 20);
    EXPECT_EQ(Board(5, 0), 3);
}

TEST_F(MoveCardInBoardTest, FoundationAndCellDestinations) {
    Board(9, 3) = 26;
    Board(1, 0) = 1;
    Board(1, 1) = 27;
    MoveCardInBoard("92", "11", 27);
    EXPECT_EQ(Board(9, 3), 27);
    EXPECT_EQ(Board(9, 0), 1);
    EXPECT_EQ(Board(1, 0), 0);

    Board(2, 0) = 1;
    Board(2, 1) = 5;
    MoveCardInBoard("03", "21", 5);
    EXPECT_EQ(Board(0, 4), 5);
    EXPECT_EQ(Board(0, 0), 1);

    // From one free cell to another keeps the count.
    MoveCardInBoard("00", "04", 5);
    EXPECT_EQ(Board(0, 4), 0);
    EXPECT_EQ(Board(0, 1), 5);
    EXPECT_EQ(Board(0, 0), 1);
}

TEST_F(MoveCardInBoardTest, TwoDigitRowsAndRowZero) {
    Board(4, 0) = 10;
    Board(4, 10) = 9;
    Board(6, 0) = 0;
    MoveCardInBoard("60", "410", 9);  // onto an empty column
    EXPECT_EQ(Board(4, 10), 0);
    EXPECT_EQ(Board(4, 0), 9);
    EXPECT_EQ(Board(6, 1), 9);
    EXPECT_EQ(Board(6, 0), 1);

    Board(2, 0) = 11;
    Board(2, 11) = 30;
    MoveCardInBoard("211", "61", 8);
    EXPECT_EQ(Board(2, 12), 8);
    EXPECT_EQ(Board(2, 0), 12);
}

// Tags and indexes the engine computes itself: a bad one is a fault in the program,
// which stops a checked build at once; a release build goes on with the table intact.
TEST_F(MoveCardInBoardTest, MalformedTagIsAProgrammerError) {
    Board(1, 0) = 1;
    Board(1, 1) = 7;
    for (const char* bad : {"", "1", "x1", "1x", "1a0", "-11", "999", "1100"}) {
        EXPECT_PROGRAMMER_ERROR(MoveCardInBoard(bad, "11", 7));
        EXPECT_PROGRAMMER_ERROR(MoveCardInBoard("21", bad, 7));
    }
    EXPECT_EQ(Board(1, 0), 1);
    EXPECT_EQ(Board(1, 1), 7);
    for (int c = 2; c < 10; ++c) EXPECT_EQ(Board(c, 0), 0);
}

TEST(BoardArray, OutOfRangeIsAProgrammerError) {
    BoardArray b;
    EXPECT_PROGRAMMER_ERROR(b(-1, 0) = 5);
    EXPECT_PROGRAMMER_ERROR(b(10, 3) = 5);
    EXPECT_PROGRAMMER_ERROR(b(2, 22) = 5);
    const BoardArray& cb = b;
    EXPECT_PROGRAMMER_ERROR(EXPECT_EQ(cb(2, -1), 0));
    for (int c = 0; c < 10; ++c) {
        for (int r = 0; r < 22; ++r) EXPECT_EQ(cb(c, r), 0);
    }
    DeckArray d;
    EXPECT_PROGRAMMER_ERROR(d(0) = 3);
    EXPECT_PROGRAMMER_ERROR(d(53) = 3);
    for (int p = 1; p <= 52; ++p) EXPECT_EQ(d(p), 0);
}

TEST(Tags, ReadColumnThenRow) {
    EXPECT_EQ(ParseTag("11"), (Place{1, 1}));
    EXPECT_EQ(ParseTag("410"), (Place{4, 10}));
    EXPECT_EQ(ParseTag("03"), (Place{0, 3}));
    EXPECT_EQ(ParseTag("30"), (Place{3, 0}));
    EXPECT_EQ(ParseTag("821"), (Place{8, 21}));
    for (const char* bad : {"", "4", "4 1", " 41", "41 ", "4a", "405", "822", "4100", "+41"}) {
        EXPECT_FALSE(ParseTag(bad).has_value()) << '"' << bad << '"';
    }
    EXPECT_EQ(MakeTag(4, 11), "411");
    EXPECT_EQ(TagNumber("98"), 98);
    EXPECT_FALSE(TagNumber("9x").has_value());
    EXPECT_FALSE(TagNumber("").has_value());
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndRangesSaturate) {
    EXPECT_EQ(karvelo::RoundHalfEven(1.5), 2);
    EXPECT_EQ(karvelo::RoundHalfEven(2.5), 2);
    EXPECT_EQ(karvelo::RoundHalfEven(-0.5), 0);
    EXPECT_EQ(karvelo::RoundHalfEven(-1.5), -2);
    EXPECT_EQ(karvelo::RoundHalfEven(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(karvelo::RoundHalfEven(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(karvelo::RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Rounding, SixteenBitOffsetsSaturate) {
    EXPECT_EQ(karvelo::RoundHalfEven16(300.5), 300);
    EXPECT_EQ(karvelo::RoundHalfEven16(40000), 32767);
    EXPECT_EQ(karvelo::RoundHalfEven16(-40000), -32768);
}

}  // namespace
}  // namespace enginetest
