// Keyboard play through the main window's key handler: the focus among the sixteen
// places, lifts and drops judged by the mouse's own handlers, runs, the free-cell and
// peek keys, keys in the middle of a move, and a focus that stays on what the table
// holds after deals, clearings and the mouse.
#include <gtest/gtest.h>

#include <set>

#include "form_fixture.h"
#include "key_walk.h"
#include "layout.h"
#include "window_layout.h"

namespace karvelo::test {
namespace {

using funktioner::Board;
using funktioner::gate;
namespace L = funktioner::layout;

constexpr int Hj(int r) { return r; }
constexpr int Kl(int r) { return 13 + r; }
constexpr int Ru(int r) { return 26 + r; }
constexpr int Sp(int r) { return 39 + r; }

constexpr int kShift = 1;
constexpr int kCtrlAlt = 2 | 4;

TablePlace Column(int c) { return {PlaceKind::Column, c}; }
TablePlace Cell(int s) { return {PlaceKind::FreeCell, s}; }
TablePlace Foundation(int p) { return {PlaceKind::Foundation, p}; }

// Column 1 ends in an ordered run of three (Spader queen, Hjärter knave, Spader ten)
// that fits on the Ruter king ending column 2. Column 3 ends in the Klöver nine,
// column 4 in the Ruter nine, columns 5 to 8 in the four eights. No ace or two lies
// exposed, so nothing goes up by itself.
DeckOrder RunDeck() {
    return DeckWith({{DealPosition(1, 5), Sp(12)}, {DealPosition(1, 6), Hj(11)},
                     {DealPosition(1, 7), Sp(10)}, {DealPosition(2, 7), Ru(13)},
                     {DealPosition(3, 7), Kl(9)}, {DealPosition(4, 7), Ru(9)},
                     {DealPosition(5, 6), Hj(8)}, {DealPosition(6, 6), Kl(8)},
                     {DealPosition(7, 6), Ru(8)}, {DealPosition(8, 6), Sp(8)}});
}

TwipRect CardsRect(int column, int firstRow, int lastRow) {
    return {static_cast<float>(L::CardLeft(column)), static_cast<float>(L::CardTop(firstRow)),
            layout::kCardWidth,
            static_cast<float>(L::CardTop(lastRow) - L::CardTop(firstRow) + layout::kCardHeight)};
}

class KeyboardTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Open();
        Deal(RunDeck());
        ASSERT_TRUE(funktioner::GameInProgress);
        window.messages.clear();
    }

    void Key(int vk, int shift = 0) {
        form->KeyPressed(vk, shift, false);
        form->KeyReleased(vk, shift);
    }
    // Shows the focus if need be and walks it to `to` with the arrows.
    void FocusOn(const TablePlace& to) {
        if (!form->KeyboardFocus()) Key(kVkLeft);
        ASSERT_TRUE(form->KeyboardFocus());
        for (Arrow a : ArrowsFromTo(form->KeyboardFocus()->place, to)) Key(VirtualKey(a));
        ASSERT_EQ(form->KeyboardFocus()->place, to);
    }
    // Lifts what lies at `from` (with `more` cards more of its run) and drops it on `to`.
    void MoveByKeys(const TablePlace& from, const TablePlace& to, int more = 0) {
        FocusOn(from);
        for (int i = 0; i < more; ++i) Key(kVkUp, kShift);
        Key(kVkReturn);
        FocusOn(to);
        Key(kVkSpace);
    }
    const KeyboardMarks& Marks() const { return form->scene().Marks(); }
};

TEST_F(KeyboardTest, FirstKeyShowsTheFocusAndTheArrowsReachAllSixteenPlaces) {
    int told = 0;
    form->SetKeyFocusListener([&] { ++told; });
    EXPECT_FALSE(form->KeyboardFocus());
    EXPECT_FALSE(Marks().focus);

    Key(kVkRight);  // only shows where the focus is
    ASSERT_TRUE(form->KeyboardFocus());
    EXPECT_EQ(form->KeyboardFocus()->place, Column(1));
    EXPECT_EQ(Marks().focus, CardsRect(1, 7, 7));
    EXPECT_EQ(told, 1);

    std::set<std::pair<int, int>> seen;
    const auto note = [&] {
        const TablePlace p = form->KeyboardFocus()->place;
        seen.insert({static_cast<int>(p.kind), p.number});
    };
    note();
    for (int i = 0; i < 9; ++i, note()) Key(kVkRight);  // stops at column 8
    EXPECT_EQ(form->KeyboardFocus()->place, Column(8));
    Key(kVkUp);
    EXPECT_EQ(form->KeyboardFocus()->place, Foundation(3));
    EXPECT_EQ(Marks().focus, layout::Foundation(3));
    note();
    for (int i = 0; i < 9; ++i, note()) Key(kVkLeft);  // stops at free cell H
    EXPECT_EQ(form->KeyboardFocus()->place, Cell(0));
    Key(kVkUp);
    EXPECT_EQ(form->KeyboardFocus()->place, Cell(0));
    Key(kVkRight);
    Key(kVkRight);
    Key(kVkDown);  // the third place above is column 3's
    EXPECT_EQ(form->KeyboardFocus()->place, Column(3));
    Key(kVkDown);
    EXPECT_EQ(form->KeyboardFocus()->place, Column(3));
    note();
    EXPECT_EQ(seen.size(), 16u);
    EXPECT_GE(told, 16) << "every move of the focus is told";
    EXPECT_EQ(Board(1, 0), 7) << "walking moves no card";
    EXPECT_FALSE(form->KeyboardFocus()->lifted);
}

TEST_F(KeyboardTest, DropsAreJudgedByTheMouseRules) {
    FocusOn(Column(5));
    Key(kVkReturn);
    ASSERT_TRUE(form->KeyboardFocus()->lifted);
    EXPECT_EQ(form->KeyboardFocus()->lifted->from, Column(5));
    EXPECT_EQ(Marks().lifted, CardsRect(5, 6, 6));
    EXPECT_EQ(Board(5, 0), 6) << "a lifted card stays where it lies";

    FocusOn(Column(4));  // the Ruter nine: same colour as the Hjärter eight
    Key(kVkReturn);
    EXPECT_EQ(Board(5, 6), Hj(8));
    EXPECT_EQ(Board(4, 0), 7);
    EXPECT_FALSE(form->KeyboardFocus()->lifted) << "a refused drop ends the lift";
    EXPECT_FALSE(Marks().lifted);
    EXPECT_TRUE(window.messages.empty());

    MoveByKeys(Column(5), Column(3));  // onto the Klöver nine
    EXPECT_EQ(Board(3, 8), Hj(8));
    EXPECT_EQ(form->Tag(Hj(8)), "38");
    EXPECT_EQ(Board(5, 0), 5);
    EXPECT_EQ(form->KeyboardFocus()->place, Column(3));
    EXPECT_EQ(Marks().focus, CardsRect(3, 8, 8));

    // Escape puts the lifted card back down; Enter then lifts afresh.
    FocusOn(Column(6));
    Key(kVkReturn);
    Key(kVkEscape);
    EXPECT_FALSE(form->KeyboardFocus()->lifted);
    FocusOn(Column(4));
    Key(kVkReturn);
    EXPECT_EQ(form->KeyboardFocus()->lifted->from, Column(4)) << "Enter lifted, it did not drop";
    EXPECT_EQ(Board(6, 6), Kl(8));
    Key(kVkEscape);

    // Onto a free cell and from there onto a foundation it does not belong to.
    MoveByKeys(Column(8), Cell(2));
    EXPECT_EQ(Board(0, 3), Sp(8));
    MoveByKeys(Cell(2), Foundation(3));
    EXPECT_EQ(Board(0, 3), Sp(8)) << "no eight on an empty foundation";
    EXPECT_EQ(Board(9, 0), 0);
}

TEST_F(KeyboardTest, RunsTakeTheOrderedCardsAndKeepTheCapacityRule) {
    FocusOn(Column(1));
    for (int i = 0; i < 5; ++i) Key(kVkUp, kShift);
    EXPECT_EQ(form->KeyboardFocus()->cards, 3) << "the run ends at the Ruter three";
    EXPECT_EQ(Marks().focus, CardsRect(1, 5, 7));
    Key(kVkDown, kShift);
    EXPECT_EQ(form->KeyboardFocus()->cards, 2);
    Key(kVkUp, kShift);
    Key(kVkRight);
    EXPECT_EQ(form->KeyboardFocus()->cards, 1) << "another place starts at its last card";

    // With three free cells taken (the F key, leftmost first) one card more than may
    // move: the move's own message, and nothing moves.
    for (int c = 5; c <= 7; ++c) {
        FocusOn(Column(c));
        Key('F');
    }
    EXPECT_EQ(Board(0, 1), Hj(8));
    EXPECT_EQ(Board(0, 2), Kl(8));
    EXPECT_EQ(Board(0, 3), Ru(8));
    MoveByKeys(Column(1), Column(2), 2);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Det går inte att göra denna förflyttning");
    EXPECT_EQ(window.messages[0].title, "Wrong move");
    EXPECT_EQ(Board(1, 0), 7);
    EXPECT_EQ(Board(2, 0), 7);

    // With a cell emptied onto a fitting card three cards may move: the whole run goes.
    MoveByKeys(Cell(1), Column(4));  // the Klöver eight onto the Ruter nine
    EXPECT_EQ(Board(4, 8), Kl(8));
    window.messages.clear();
    MoveByKeys(Column(1), Column(2), 2);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(Board(2, 8), Sp(12));
    EXPECT_EQ(Board(2, 9), Hj(11));
    EXPECT_EQ(Board(2, 10), Sp(10));
    EXPECT_EQ(Board(1, 0), 4);
}

TEST_F(KeyboardTest, PeekKeyShowsTheFocusedCoveredCardWhileHeld) {
    FocusOn(Column(1));
    Key(kVkUp, kShift);
    Key(kVkUp, kShift);
    form->KeyPressed('V', 0, false);
    form->KeyPressed('V', 0, true);  // held: its repeats change nothing
    const SceneElement* copy = form->scene().Find({ElementKind::Kort, L::kTemplateCard});
    ASSERT_TRUE(copy && copy->visible);
    EXPECT_EQ(copy->picture, L::kFaceResourceBase + Sp(12));
    EXPECT_EQ(copy->rect.top, static_cast<float>(L::CardTop(5)));
    EXPECT_EQ(form->scene().DepthOf(copy->id),
              static_cast<int>(form->scene().DrawingOrder().size()) - 1);
    Key(kVkReturn);
    EXPECT_FALSE(form->KeyboardFocus()->lifted) << "nothing is lifted while the peek shows";
    form->KeyReleased('V', 2);  // let go after Ctrl went down
    EXPECT_FALSE(form->Visible(L::kTemplateCard));
    EXPECT_EQ(Board(1, 0), 7);
}

TEST_F(KeyboardTest, KeysInTheMiddleOfAMoveAreDecidedByTheGate) {
    FocusOn(Column(5));
    Key(kVkReturn);
    FocusOn(Column(3));
    int passes = 0;
    bool liftedDuringMove = true;
    window.onDoEvents = [&] {
        if (++passes != 3 || !gate().MoveInProgress()) return;
        Key(kVkRight);   // the focus moves at any time
        Key(kVkReturn);  // but nothing is lifted while cards fly
        liftedDuringMove = form->KeyboardFocus()->lifted.has_value();
    };
    Key(kVkReturn);
    window.onDoEvents = nullptr;
    ASSERT_GE(passes, 3);
    EXPECT_FALSE(liftedDuringMove);
    EXPECT_EQ(Board(3, 8), Hj(8));
    EXPECT_EQ(form->KeyboardFocus()->place, Column(4));
    Key(kVkReturn);
    EXPECT_TRUE(form->KeyboardFocus()->lifted) << "after the move the keys act again";
}

TEST_F(KeyboardTest, FocusFollowsTheTableThroughDealsAndClearings) {
    FocusOn(Column(1));
    Key(kVkUp, kShift);
    Key(kVkUp, kShift);
    Key(kVkReturn);
    ASSERT_EQ(form->KeyboardFocus()->lifted->cards, 3);

    // The same deal again: the same cards lie at the same places, but those lifted
    // belonged to the game that went.
    funktioner::SetRandomSource(DeckSource(RunDeck()));
    form->MenuChosen(MenuCommand::NyttSpel, 0);
    ASSERT_TRUE(form->KeyboardFocus());
    EXPECT_FALSE(form->KeyboardFocus()->lifted);
    EXPECT_EQ(form->KeyboardFocus()->cards, 1) << "the clearing emptied the column";
    Key(kVkReturn);
    ASSERT_TRUE(form->KeyboardFocus()->lifted);

    // Another deal: nothing lifted, the focus where it was.
    funktioner::SetRandomSource(DeckSource(SeededDeck(7)));
    form->MenuChosen(MenuCommand::NyttSpel, 0);
    ASSERT_TRUE(form->KeyboardFocus());
    EXPECT_FALSE(form->KeyboardFocus()->lifted);
    EXPECT_FALSE(form->scene().Marks().lifted);
    EXPECT_EQ(form->KeyboardFocus()->place, Column(1));

    // The table cleared (as after a win): an empty column's place, nothing to lift.
    funktioner::ClearBoard();
    ASSERT_TRUE(form->KeyboardFocus());
    EXPECT_EQ(form->KeyboardFocus()->cards, 1);
    EXPECT_EQ(Marks().focus, CardsRect(1, 1, 1));
    Key(kVkReturn);
    EXPECT_FALSE(form->KeyboardFocus()->lifted);
    Key('F');
    Key('V');
    EXPECT_EQ(Board(0, 0), 0);
}

TEST_F(KeyboardTest, TheFocusedRunFollowsItsColumn) {
    MoveByKeys(Column(5), Column(3));  // the Hjärter eight onto the Klöver nine
    Key(kVkUp, kShift);
    ASSERT_EQ(form->KeyboardFocus()->cards, 2);
    ASSERT_EQ(Marks().focus, CardsRect(3, 7, 8));
    // The eight leaves by a drop the keyboard did not make: the nine alone is focused.
    form->imgHand_DragDrop(0, Hj(8));
    ASSERT_EQ(Board(3, 0), 7);
    EXPECT_EQ(form->KeyboardFocus()->cards, 1);
    EXPECT_EQ(Marks().focus, CardsRect(3, 7, 7));
    Key(kVkReturn);
    EXPECT_EQ(form->KeyboardFocus()->lifted->cards, 1);
    FocusOn(Column(2));
    Key(kVkReturn);  // the Klöver nine does not fit on the Ruter king
    EXPECT_EQ(Board(3, 7), Kl(9));
}

TEST_F(KeyboardTest, TheMouseHidesTheFocusAndPutsLiftedCardsBack) {
    FocusOn(Column(5));
    Key(kVkReturn);
    form->PointerPressed(9000, 8000, kLeftButton, false);  // the bare table
    form->PointerReleased(9000, 8000, kLeftButton);
    EXPECT_FALSE(form->KeyboardFocus());
    EXPECT_FALSE(Marks().focus);
    EXPECT_FALSE(Marks().lifted);
    Key(kVkRight);  // shows the focus where it was, and does no more
    ASSERT_TRUE(form->KeyboardFocus());
    EXPECT_EQ(form->KeyboardFocus()->place, Column(5));
    EXPECT_FALSE(form->KeyboardFocus()->lifted);
    Key(kVkReturn);
    FocusOn(Column(3));
    Key(kVkReturn);
    EXPECT_EQ(Board(3, 8), Hj(8)) << "and the keys play on";
}

TEST_F(KeyboardTest, KeysWithCtrlOrAltAreNotPlayKeys) {
    form->KeyPressed('T', kCtrlAlt, false);
    EXPECT_EQ(window.statisticsShown.size(), 1u);
    form->KeyPressed(kVkLeft, 4, false);  // Alt with an arrow
    form->KeyPressed(kVkReturn, 2, false);
    form->KeyPressed('F', 2, false);
    EXPECT_FALSE(form->KeyboardFocus());
}

class KeyboardOnTitleTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Open();
    }
};

TEST_F(KeyboardOnTitleTest, KeysDoNothingOnTheTitlePicture) {
    for (int vk : {kVkRight, kVkReturn, kVkDown, int{'F'}}) {
        form->KeyPressed(vk, 0, false);
        form->KeyReleased(vk, 0);
    }
    EXPECT_FALSE(form->KeyboardFocus());
    EXPECT_FALSE(form->scene().Marks().focus);
    // The first deal: the keys play.
    funktioner::SetRandomSource(DeckSource(RunDeck()));
    form->MenuChosen(MenuCommand::NyttSpel, 0);
    form->KeyPressed(kVkRight, 0, false);
    EXPECT_TRUE(form->KeyboardFocus());
}

}  // namespace
}  // namespace karvelo::test
