// What the screen reader is told when the table changes: the sentence for each kind
// of change, and the events the windows raise, on real moves of a dealt table.
#include <gtest/gtest.h>

#include "access_tracker.h"
#include "form_fixture.h"
#include "what_happened.h"

namespace karvelo::test {
namespace {

using funktioner::Board;

// Column 3 ends in the Hjärter nine, column 5 in the Spader ten (the nine goes on it);
// the Klöver ace in column 2 goes up at the first automatic play.
DeckOrder Deal35() {
    return DeckWith({{DealPosition(1, 7), Ru(9)}, {DealPosition(2, 7), Kl(1)},
                     {DealPosition(3, 7), Hj(9)}, {DealPosition(4, 7), Sp(9)},
                     {DealPosition(5, 6), Sp(10)}, {DealPosition(6, 6), Kl(10)},
                     {DealPosition(7, 6), Ru(10)}, {DealPosition(8, 6), Hj(10)}});
}

class AccessTrackerTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Open();
        Deal(Deal35());
    }
    TableDescription Now() const { return DescribeTable(Board, form->scene(), focus); }
    float ColumnX(int c) const { return 120.0f + 1200.0f * (c - 1) + 500; }
    float ExposedY(int c) const { return 1680.0f + 300.0f * (Board(c, 0) - 1) + 150; }

    std::optional<KeyFocus> focus;
    int described = 0;
    AccessTracker tracker{[this] {
        ++described;
        return Now();
    }};
};

TEST_F(AccessTrackerTest, NothingIsDescribedBeforeAnAssistiveTechnologyAsks) {
    Drag(ColumnX(3), ExposedY(3), ColumnX(5), ExposedY(5));
    EXPECT_TRUE(tracker.Refresh().Empty());
    EXPECT_EQ(described, 0);
    tracker.Activate();
    EXPECT_EQ(described, 1);
    EXPECT_EQ(tracker.Shown(), Now());
    EXPECT_TRUE(tracker.Refresh().Empty()) << "nothing changed since it was taken";
}

TEST_F(AccessTrackerTest, AMouseMoveIsToldWithTheAutomaticPlayAfterIt) {
    tracker.Activate();
    Drag(ColumnX(3), ExposedY(3), ColumnX(5), ExposedY(5));
    ASSERT_EQ(Board(5, Board(5, 0)), Hj(9));
    const AccessChanges changes = tracker.Refresh();
    EXPECT_EQ(tracker.Notice(), "hjärter nio till kolumn 5. Till högarna: klöver ess");
    EXPECT_EQ(tracker.Shown().description, tracker.Notice()) << "the table has the focus";
    EXPECT_FALSE(changes.focusMoved);
    // Columns 2, 3 and 5 and the Klöver foundation changed their names.
    EXPECT_EQ(changes.renamed, (std::vector<int>{5, 9, 10, 12}));
    EXPECT_EQ(changes.redescribed, std::vector<int>{kTableNode});
}

TEST_F(AccessTrackerTest, FocusLiftDropAndARefusedDropEachRaiseTheirEvents) {
    tracker.Activate();
    focus = KeyFocus{{PlaceKind::Column, 3}, 1, std::nullopt};
    AccessChanges c = tracker.Refresh();
    EXPECT_TRUE(c.focusMoved);
    EXPECT_EQ(tracker.FocusedNode(), 10);
    EXPECT_TRUE(c.restated.empty()) << "the focus has an event of its own";
    EXPECT_TRUE(c.renamed.empty());
    EXPECT_EQ(tracker.Notice(), "");

    focus->lifted = KeyFocus::Lifted{{PlaceKind::Column, 3}, 1};
    c = tracker.Refresh();
    EXPECT_FALSE(c.focusMoved);
    EXPECT_EQ(tracker.Notice(), "Lyft: hjärter nio");
    EXPECT_EQ(c.restated, std::vector<int>{10});
    EXPECT_EQ(c.redescribed, std::vector<int>{10});

    // Dropped on the Klöver ten of column 6: refused, the nine stays.
    focus = KeyFocus{{PlaceKind::Column, 6}, 1, std::nullopt};
    c = tracker.Refresh();
    EXPECT_TRUE(c.focusMoved);
    EXPECT_EQ(tracker.Notice(), "Inget flyttat: hjärter nio ligger kvar i kolumn 3");
    EXPECT_EQ(tracker.Shown().places[13].description, tracker.Notice());
    EXPECT_EQ(c.redescribed, (std::vector<int>{10, 13}));

    // Lifted again and dropped by the handler the mouse uses on the Spader ten.
    focus = KeyFocus{{PlaceKind::Column, 3}, 1, KeyFocus::Lifted{{PlaceKind::Column, 3}, 1}};
    tracker.Refresh();
    focus = KeyFocus{{PlaceKind::Column, 5}, 1, std::nullopt};
    form->imgKort_DragDrop(static_cast<int16_t>(Sp(10)), Hj(9));
    c = tracker.Refresh();
    EXPECT_EQ(tracker.Notice(), "hjärter nio till kolumn 5. Till högarna: klöver ess");
    EXPECT_EQ(tracker.Shown().places[12].name, "Kolumn 5, 7 kort, överst hjärter nio");
    EXPECT_EQ(tracker.Shown().places[12].description, tracker.Notice());
    EXPECT_TRUE(std::find(c.renamed.begin(), c.renamed.end(), 12) != c.renamed.end());
}

TEST_F(AccessTrackerTest, ACardInFlightKeepsWhatWasSaidAndRaisesNothing) {
    tracker.Activate();
    Drag(ColumnX(3), ExposedY(3), ColumnX(5), ExposedY(5));
    tracker.Refresh();
    const std::string said = tracker.Notice();
    ASSERT_FALSE(said.empty());
    form->Move(Sp(10), 2000, 4000);  // as a flight step moves a card
    EXPECT_TRUE(tracker.Refresh().Empty());
    EXPECT_EQ(tracker.Notice(), said);
    EXPECT_EQ(tracker.Shown().description, said);
    EXPECT_EQ(tracker.Shown().places[12].cards[5].bounds.left, 2000);
}

TEST_F(AccessTrackerTest, TheSameSentenceTwiceIsSaidTwice) {
    tracker.Activate();
    for (int i = 0; i < 2; ++i) {
        focus = KeyFocus{{PlaceKind::Column, 3}, 1, KeyFocus::Lifted{{PlaceKind::Column, 3}, 1}};
        tracker.Refresh();
        focus = KeyFocus{{PlaceKind::Column, 3}, 1, std::nullopt};
        const AccessChanges c = tracker.Refresh();
        EXPECT_EQ(tracker.Notice(), "Inget flyttat: hjärter nio ligger kvar i kolumn 3");
        EXPECT_EQ(c.redescribed, std::vector<int>{10}) << "round " << i;
    }
}

TEST_F(AccessTrackerTest, ANewDealAndAClearedTableAreTold) {
    const TableDescription dealt = Now();
    Deal(SeededDeck(5));
    EXPECT_EQ(WhatHappened(dealt, Now()), "Nytt spel");
    funktioner::ClearBoard();
    const TableDescription cleared = Now();
    EXPECT_EQ(WhatHappened(dealt, cleared), "Bordet är tomt");
    EXPECT_EQ(WhatHappened(cleared, cleared), "");
    EXPECT_EQ(WhatHappened(cleared, dealt), "Nytt spel");
}

}  // namespace
}  // namespace karvelo::test
