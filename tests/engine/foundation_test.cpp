// Play to the foundations, the safety rule, automatic play and the won game.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "statistics.h"

namespace enginetest {
namespace {

using namespace funktioner;

class FoundationTest : public EngineTest {
protected:
    // Codes in the order they reached a foundation (each is disabled on arrival).
    std::vector<int> Played() const {
        std::vector<int> out;
        for (const auto& line : log) {
            if (line.rfind("disable ", 0) == 0) out.push_back(std::stoi(line.substr(8)));
        }
        return out;
    }
};

TEST_F(FoundationTest, OnlyItsOwnSuitTakesACard) {
    LayOut({{{Sp(9), Kl(1)}}});
    imgHog_DragDrop(0, Kl(1));
    // Refused on Hjärter; the automatic play then puts it on Klöver.
    EXPECT_EQ(Board(9, 1), 0);
    EXPECT_EQ(Board(9, 2), Kl(1));

    LayOut({{{Sp(9), Kl(1)}}});
    AnimationSpeed = 1;
    table.moves.clear();
    EXPECT_TRUE(PlayToFoundation(1, Kl(1), false));
    const auto& card = table.card(Kl(1));
    EXPECT_EQ(card.left, 6360 + 40);
    EXPECT_EQ(card.top, 30);
    EXPECT_FALSE(card.enabled);
    EXPECT_EQ(card.tag, "12") << "a played card keeps its old tag";
    EXPECT_EQ(table.moves.size(), 12u) << "eleven steps to a foundation at the fastest speed";
    EXPECT_EQ(Board(1, 0), 1);
    EXPECT_EQ(Board(9, 0), 1);
}

TEST_F(FoundationTest, FlightPassesUnderCardsAndComesToTheFrontOnArrival) {
    LayOut({{{Sp(9), Kl(1)}, {Hj(13)}}});
    bool behindDuringFlight = true;
    host.onDoEvents = [&] {
        behindDuringFlight = behindDuringFlight && table.Depth(Kl(1)) < table.Depth(Hj(13));
    };
    PlayToFoundation(1, Kl(1), false);
    EXPECT_TRUE(behindDuringFlight);
    EXPECT_GT(table.Depth(Kl(1)), table.Depth(Hj(13)));
}

TEST_F(FoundationTest, CoveredOrOutOfSequenceCardsStay) {
    Position p;
    p.columns = {{Hj(2), Sp(9)}, {Hj(3)}};
    p.onFoundation = {1, 0, 0, 0};
    LayOut(p);
    EXPECT_FALSE(PlayToFoundation(0, Hj(2), false));  // covered
    EXPECT_FALSE(PlayToFoundation(0, Hj(3), false));  // not next
    EXPECT_FALSE(PlayToFoundation(4, Hj(3), false));
    EXPECT_FALSE(PlayToFoundation(-1, Hj(3), false));
    EXPECT_FALSE(PlayToFoundation(0, 0, false));
    EXPECT_FALSE(PlayToFoundation(0, 53, false));
    EXPECT_EQ(Board(9, 1), Hj(1));
    EXPECT_EQ(Board(1, 0), 2);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FoundationTest, SafetyRuleWaitsForTheOtherColour) {
    // Both black foundations hold only their aces.
    Position p;
    p.columns = {{Sp(9), Hj(3)}, {Sp(10), Ru(4)}};
    p.onFoundation = {2, 1, 3, 1};
    LayOut(p);
    AutoPlay();
    EXPECT_EQ(Board(9, 1), Hj(3)) << "red three goes by itself";
    EXPECT_EQ(Board(9, 3), Ru(3)) << "red four does not";
    EXPECT_FALSE(PlayToFoundation(2, Ru(4), true));
    EXPECT_TRUE(PlayToFoundation(2, Ru(4), false));
}

TEST_F(FoundationTest, SafetyAppliesToBlackCardsAgainstRedFoundations) {
    Position p;
    p.columns = {{Hj(9), Sp(5)}, {}, {Hj(10), Kl(4)}};
    p.onFoundation = {3, 3, 2, 4};
    LayOut(p);
    AutoPlay();
    // Klöver four: both red foundations hold at least 2, so it goes; Spader five
    // needs 3 on each red one but Ruter has 2.
    EXPECT_EQ(Board(9, 2), Kl(4));
    EXPECT_EQ(Board(9, 4), Sp(4));
}

TEST_F(FoundationTest, AutomaticPlayTakesTableauBeforeCellsLeftmostFirst) {
    Position p;
    p.columns = {{Sp(9)}, {Kl(9), Ru(1)}, {}, {}, {Kl(8), Hj(1)}, {Ru(9), Sp(1)}};
    p.freeCells = {0, Kl(1), Ru(2), Hj(2)};
    LayOut(p);
    AutoPlay();
    // Pass 1: tableau column 2 (Ruter ace), free cells: Klöver ace (cell 1).
    // Pass 2: column 5 (Hjärter ace), cells: Ruter two (cell 2).
    // Pass 3: column 6 (Spader ace), cells: Hjärter two (cell 3).
    const std::vector<int> expected = {Ru(1), Kl(1), Hj(1), Ru(2), Sp(1), Hj(2)};
    EXPECT_EQ(Played(), expected);
    EXPECT_FALSE(AutoPlayActive);
}

TEST_F(FoundationTest, AutomaticPlayIsMarkedWhileItRuns) {
    LayOut({{{Sp(9), Hj(1)}}});
    bool seenActive = false;
    host.onDoEvents = [&] { seenActive = seenActive || AutoPlayActive; };
    AutoPlay();
    EXPECT_TRUE(seenActive);
    EXPECT_FALSE(AutoPlayActive);
}

// Everything on the foundations but the Spader king, which lies in column 1.
Position OneCardLeft() {
    Position p;
    p.columns = {{Sp(13)}};
    p.onFoundation = {13, 13, 13, 12};
    return p;
}

TEST_F(FoundationTest, WinSequenceInOrder) {
    LayOut(OneCardLeft());
    // Two wins in a row before this one, stored as the series counts them.
    karvelo::RecordGameResult(true);
    karvelo::RecordGameResult(true);
    int winsWhenCleared = -1;
    bool clearedBeforeQuestion = false;
    bool inProgressAtQuestion = false;
    host.onDoEvents = [&] {
        if (winsWhenCleared < 0 && Count("destroy") > 0) winsWhenCleared = karvelo::StatCounters(2);
    };
    host.onMsgBox = [&] {
        clearedBeforeQuestion = Count("destroy 67") == 1 && Board(9, 0) == 0;
        inProgressAtQuestion = GameInProgress;
    };
    host.answers = {karvelo::Answer::No};
    imgHog_DragDrop(3, Sp(13));

    EXPECT_EQ(winsWhenCleared, 3) << "the win is recorded before the table is cleared";
    EXPECT_TRUE(clearedBeforeQuestion);
    EXPECT_TRUE(inProgressAtQuestion);
    ASSERT_EQ(host.boxes.size(), 1u);
    const auto& box = host.boxes[0];
    EXPECT_EQ(box.text,
              "WOW!!  Du klarade det för 3 gången i rad denna omgången\r\n\r\n"
              "Vill du starta ett nytt spel?");
    EXPECT_EQ(box.title, "Karvelo");
    EXPECT_EQ(box.buttons, karvelo::Buttons::YesNo);
    EXPECT_EQ(box.icon, karvelo::Icon::None);
    EXPECT_FALSE(GameInProgress);
    EXPECT_EQ(karvelo::StatCounters(1), 3);
    for (int i = 1; i <= 67; ++i) EXPECT_FALSE(table.card(i).exists) << i;

    // No: the table stays empty and the next game counts no loss.
    NewGame();
    EXPECT_EQ(karvelo::StatCounters(1), 3);
    EXPECT_EQ(karvelo::StatCounters(8), 0);
}

TEST_F(FoundationTest, YesDealsAtOnceAndAutomaticPlayGoesOn) {
    // Find a deal with an exposed ace, then win into it.
    uint32_t seed = 1;
    for (;; ++seed) {
        SeedDeals(seed);
        ShuffleDeck();
        bool exposedAce = false;
        for (int p = 45; p <= 52; ++p) exposedAce = exposedAce || RankOf(Deck(p)) == 1;
        if (exposedAce) break;
    }
    SeedDeals(seed);
    LayOut(OneCardLeft());
    host.answers = {karvelo::Answer::Yes};
    imgHog_DragDrop(3, Sp(13));
    EXPECT_TRUE(GameInProgress);
    EXPECT_EQ(karvelo::StatCounters(2), 1);
    EXPECT_EQ(karvelo::StatCounters(8), 0) << "the won game is not also lost";
    EXPECT_GT(Board(9, 0), 0) << "the new deal's exposed ace went up at once";
    EXPECT_FALSE(AutoPlayActive);
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(FoundationTest, WinByAutomaticPlayAfterACellDrop) {
    Position p;
    p.columns = {{Sp(13), Hj(13)}};
    p.onFoundation = {12, 13, 13, 12};
    LayOut(p);
    imgHand_DragDrop(0, Hj(13));
    EXPECT_EQ(karvelo::StatCounters(2), 1);
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_FALSE(GameInProgress);
    EXPECT_FALSE(AutoPlayActive);
    EXPECT_EQ(table.misuse, 0);
}

}  // namespace
}  // namespace enginetest
