// The screen reader's description of the table, read against dealt tables and the
// moves made on them through the main window's own handlers.
#include <gtest/gtest.h>

#include <algorithm>

#include "form_fixture.h"
#include "layout.h"
#include "table_description.h"

namespace karvelo::test {
namespace {

using funktioner::Board;

// Exposed: Hjärter knekt in column 3, Spader dam in column 6, the Klöver ace in
// column 2 (the automatic play takes it at the first move); nothing else goes up.
DeckOrder KnownDeal() {
    return DeckWith({{DealPosition(1, 7), Hj(9)}, {DealPosition(2, 7), Kl(1)},
                     {DealPosition(3, 7), Hj(11)}, {DealPosition(4, 7), Sp(9)},
                     {DealPosition(5, 6), Hj(10)}, {DealPosition(6, 6), Sp(12)},
                     {DealPosition(7, 6), Ru(10)}, {DealPosition(8, 6), Kl(10)}});
}

bool Inside(const TwipRect& inner, const TwipRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

class TableDescriptionTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Open();
    }
    TableDescription Described(const std::optional<KeyFocus>& focus = std::nullopt) const {
        return DescribeTable(Board, form->scene(), focus);
    }
    const PlaceNode& Node(const TableDescription& d, TablePlace place) const {
        return d.places.at(static_cast<size_t>(PlaceIndex(place)));
    }
};

TEST_F(TableDescriptionTest, ADealtTableNamesEveryPlaceWithItsContents) {
    Deal(KnownDeal());
    const TableDescription d = Described();
    EXPECT_EQ(d.name, "Bordet");
    ASSERT_EQ(d.places.size(), 16u);
    EXPECT_TRUE(d.focused) << "without the keyboard's focus the table itself has it";
    EXPECT_EQ(d.places[0].name, "Fri cell H, tom");
    EXPECT_EQ(d.places[1].name, "Fri cell A, tom");
    EXPECT_EQ(d.places[3].name, "Fri cell D, tom");
    EXPECT_EQ(d.places[4].name, "Hög Hjärter, tom");
    EXPECT_EQ(d.places[7].name, "Hög Spader, tom");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 3}).name, "Kolumn 3, 7 kort, överst hjärter knekt");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 6}).name, "Kolumn 6, 6 kort, överst spader dam");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 2}).name, "Kolumn 2, 7 kort, överst klöver ess");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 7}).cards.back().name, "ruter tio");
}

TEST_F(TableDescriptionTest, EveryColumnListsTheBoardsCardsInOrderWithinItsBounds) {
    for (unsigned seed : {1u, 7u, 1234u}) {
        Deal(SeededDeck(seed));
        const TableDescription d = Described();
        int cards = 0;
        for (int c = 1; c <= 8; ++c) {
            const PlaceNode& column = Node(d, {PlaceKind::Column, c});
            const int n = Board(c, 0);
            ASSERT_EQ(static_cast<int>(column.cards.size()), n) << "seed " << seed << " column " << c;
            for (int row = 1; row <= n; ++row) {
                const CardNode& card = column.cards[static_cast<size_t>(row - 1)];
                EXPECT_EQ(card.code, Board(c, row));
                EXPECT_EQ(card.bounds, form->scene().Find({ElementKind::Kort, card.code})->rect);
                EXPECT_TRUE(Inside(card.bounds, column.bounds)) << card.name;
                EXPECT_TRUE(Inside(column.bounds, d.bounds));
            }
            const std::string counted = std::to_string(n) + " kort, överst " + column.cards.back().name;
            EXPECT_NE(column.name.find(counted), std::string::npos) << column.name;
            cards += n;
        }
        EXPECT_EQ(cards, 52);
    }
}

TEST_F(TableDescriptionTest, MovesShowInTheFreeCellsFoundationsAndColumns) {
    Deal(KnownDeal());
    // The Hjärter knekt into free cell A; the automatic play after it takes the ace.
    Drag(GrabX(Hj(11)), GrabY(Hj(11)), 1080 + 560, 1000);
    ASSERT_EQ(Board(0, 2), Hj(11));
    const TableDescription d = Described();
    EXPECT_EQ(d.places[1].name, "Fri cell A, hjärter knekt");
    ASSERT_EQ(d.places[1].cards.size(), 1u);
    EXPECT_TRUE(Inside(d.places[1].cards[0].bounds, d.places[1].bounds));
    EXPECT_EQ(Node(d, {PlaceKind::Foundation, 1}).name, "Hög Klöver, upp till ess");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 3}).name.rfind("Kolumn 3, 6 kort, överst ", 0), 0u);
    EXPECT_EQ(Node(d, {PlaceKind::Column, 2}).name.rfind("Kolumn 2, 6 kort, överst ", 0), 0u);
    // A foundation names its top card only.
    ASSERT_EQ(Node(d, {PlaceKind::Foundation, 1}).cards.size(), 1u);
    EXPECT_EQ(Node(d, {PlaceKind::Foundation, 1}).cards[0].name, "klöver ess");
}

TEST_F(TableDescriptionTest, AFoundationSaysHowHighItGoesAndAnEmptiedColumnIsEmpty) {
    Deal(KnownDeal());
    for (int p = 0; p < 4; ++p) Board(9, p + 1) = 13 * p;  // empty foundations
    Board(9, 3) = 26 + 7;                                    // Ruter up to the seven
    Board(9, 4) = 39 + 13;                                   // Spader complete
    Board(5, 0) = 0;
    for (int row = 1; row < 22; ++row) Board(5, row) = 0;
    const TableDescription d = Described();
    EXPECT_EQ(Node(d, {PlaceKind::Foundation, 2}).name, "Hög Ruter, upp till sju");
    EXPECT_EQ(Node(d, {PlaceKind::Foundation, 3}).name, "Hög Spader, upp till kung");
    EXPECT_EQ(Node(d, {PlaceKind::Foundation, 0}).name, "Hög Hjärter, tom");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 5}).name, "Kolumn 5, tom");
    EXPECT_TRUE(Node(d, {PlaceKind::Column, 5}).cards.empty());
    EXPECT_FALSE(Node(d, {PlaceKind::Column, 5}).bounds.IsEmpty()) << "an empty column keeps its place";
}

TEST_F(TableDescriptionTest, BeforeTheFirstDealEveryPlaceIsEmpty) {
    const TableDescription d = Described();
    ASSERT_EQ(d.places.size(), 16u);
    for (const PlaceNode& p : d.places) {
        EXPECT_TRUE(p.cards.empty()) << p.name;
        EXPECT_NE(p.name.find(", tom"), std::string::npos) << p.name;
    }
}

TEST_F(TableDescriptionTest, TheFocusTakesTheLastCardsOfARunAndTheLiftIsMarked) {
    Deal(KnownDeal());
    KeyFocus focus;
    focus.place = {PlaceKind::Column, 3};
    focus.cards = 3;
    TableDescription d = Described(focus);
    const PlaceNode& column = Node(d, {PlaceKind::Column, 3});
    EXPECT_FALSE(d.focused);
    EXPECT_TRUE(column.focused);
    const auto taken = std::count_if(column.cards.begin(), column.cards.end(),
                                     [](const CardNode& c) { return c.taken; });
    EXPECT_EQ(taken, 3);
    EXPECT_TRUE(column.cards.back().taken);
    EXPECT_FALSE(column.cards[3].taken);
    EXPECT_EQ(column.description, "Tar 3 kort från " + column.cards[4].name);

    // More cards than the column holds take the whole column; a lift elsewhere is told
    // at the focused place.
    focus.cards = 40;
    focus.lifted = KeyFocus::Lifted{{PlaceKind::Column, 6}, 1};
    d = Described(focus);
    EXPECT_TRUE(std::all_of(Node(d, {PlaceKind::Column, 3}).cards.begin(),
                            Node(d, {PlaceKind::Column, 3}).cards.end(),
                            [](const CardNode& c) { return c.taken; }));
    const PlaceNode& from = Node(d, {PlaceKind::Column, 6});
    EXPECT_TRUE(from.lifted);
    EXPECT_TRUE(from.cards.back().lifted);
    EXPECT_FALSE(from.cards.front().lifted);
    EXPECT_EQ(from.description, "Lyft: spader dam");
    EXPECT_EQ(Node(d, {PlaceKind::Column, 3}).description, "Lyft i kolumn 6: spader dam");

    // The focus on an empty free cell takes nothing there.
    focus = KeyFocus{};
    focus.place = {PlaceKind::FreeCell, 2};
    d = Described(focus);
    EXPECT_TRUE(d.places[2].focused);
    EXPECT_TRUE(d.places[2].cards.empty());
    EXPECT_EQ(d.places[2].description, "");
}

}  // namespace
}  // namespace karvelo::test
