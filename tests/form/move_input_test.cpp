// Input that arrives in the middle of a move, a deal, the window's growth or the
// shut-down, sent through the main window's own handlers while its flights and
// yields let the (stand-in) window process events.
#include <gtest/gtest.h>

#include "form_fixture.h"
#include "layout.h"
#include "statistics.h"

namespace karvelo::test {
namespace {

using funktioner::Board;
using funktioner::gate;

constexpr int Hj(int r) { return r; }
constexpr int Kl(int r) { return 13 + r; }
constexpr int Ru(int r) { return 26 + r; }
constexpr int Sp(int r) { return 39 + r; }

// Columns 1 to 4 show Hjärter, Klöver, Ruter and Spader nines, columns 5 to 8 their
// tens; no ace or two lies exposed, so nothing goes up by itself.
DeckOrder NinesAndTens() {
    return DeckWith({{DealPosition(1, 7), Hj(9)}, {DealPosition(2, 7), Kl(9)},
                     {DealPosition(3, 7), Ru(9)}, {DealPosition(4, 7), Sp(9)},
                     {DealPosition(5, 6), Hj(10)}, {DealPosition(6, 6), Kl(10)},
                     {DealPosition(7, 6), Ru(10)}, {DealPosition(8, 6), Sp(10)}});
}

// The same with the Klöver ace exposed in column 2: the automatic play takes it.
DeckOrder WithAnExposedAce() {
    return DeckWith({{DealPosition(1, 7), Hj(9)}, {DealPosition(2, 7), Kl(1)},
                     {DealPosition(3, 7), Ru(9)}, {DealPosition(4, 7), Sp(9)},
                     {DealPosition(5, 6), Hj(10)}, {DealPosition(6, 6), Kl(10)},
                     {DealPosition(7, 6), Ru(10)}, {DealPosition(8, 6), Sp(10)}});
}

// The centre of free cell s.
float CellX(int s) { return 1080.0f * s + 560; }
constexpr float kCellY = 1000;

class MoveInputTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Open();
        Deal(NinesAndTens());
        ASSERT_TRUE(funktioner::GameInProgress);
        window.messages.clear();
    }

    // Drags the Hjärter nine of column 1 into free cell 0, running `during` once at
    // the `at`-th pass of the event loop of that move.
    void MoveNineToCell(int at, const std::function<void()>& during) {
        int passes = 0;
        window.onDoEvents = [&] {
            if (++passes == at && gate().MoveInProgress()) during();
        };
        Drag(GrabX(Hj(9)), GrabY(Hj(9)), CellX(0), kCellY);
        window.onDoEvents = nullptr;
        ASSERT_GE(passes, at) << "the move let events through fewer times";
    }

    // The run has ended once, the game in progress stored as one loss, and nothing
    // acts after the end.
    void ExpectOneLossAndTheEnd() {
        EXPECT_EQ(window.unloads, 1);
        EXPECT_TRUE(form->Terminated());
        EXPECT_EQ(StoredStat(kPlayed), 1);
        EXPECT_EQ(StoredStat(kLossRun), 1);
        form->mnuNyttSpel_Click();
        form->CloseRequested();
        form->SessionEnding();  // a window system may say it twice: asked, then told
        EXPECT_EQ(window.unloads, 1);
        EXPECT_EQ(StoredStat(kPlayed), 1);
    }
};

TEST_F(MoveInputTest, PressesDropsAndDoubleClicksDuringAFlightAreIgnored) {
    MoveNineToCell(5, [&] {
        form->PointerPressed(GrabX(Ru(9)), GrabY(Ru(9)), kLeftButton, false);
        EXPECT_FALSE(form->DragActive()) << "no drag begins in the middle of a move";
        form->PointerReleased(CellX(1), kCellY, kLeftButton);
        form->imgHand_DragDrop(2, Sp(9));
        form->imgKort_DragDrop(Sp(10), Hj(9));
        form->imgHog_DragDrop(0, Hj(9));
        form->PointerPressed(GrabX(Kl(9)), GrabY(Kl(9)), kLeftButton, true);
        form->PointerPressed(GrabX(Ru(9)), GrabY(Ru(9)), kRightButton, false);
        EXPECT_FALSE(form->Visible(funktioner::layout::kTemplateCard)) << "no peek either";
    });
    EXPECT_EQ(Board(0, 1), Hj(9));
    EXPECT_EQ(Board(0, 0), 1) << "only the move under way";
    EXPECT_EQ(form->Tag(Ru(9)), "37");
    EXPECT_EQ(form->Tag(Sp(9)), "47");
    EXPECT_EQ(form->Tag(Kl(9)), "27");
    EXPECT_FALSE(gate().MoveInProgress());
    // Afterwards the same input acts.
    form->imgHand_DragDrop(2, Sp(9));
    EXPECT_EQ(Board(0, 3), Sp(9));
}

TEST_F(MoveInputTest, NewGameDuringAMoveWaitsAndDealsOnce) {
    const int64_t before = StoredStat(kPlayed);
    MoveNineToCell(3, [&] {
        form->mnuNyttSpel_Click();
        form->mnuNyttSpel_Click();
        EXPECT_EQ(CardsOnTable(), 52) << "the move is not cut short by a deal";
    });
    EXPECT_EQ(StoredStat(kPlayed), before + 1) << "one game left, one loss";
    EXPECT_EQ(StoredStat(kLossRun), 1);
    EXPECT_EQ(Board(0, 0), 0) << "a fresh deal";
    EXPECT_EQ(CardsOnTable(), 52);
    EXPECT_TRUE(funktioner::GameInProgress);
}

TEST_F(MoveInputTest, AvslutaAndClosingDuringAMoveWaitThenEndTheRunOnce) {
    MoveNineToCell(3, [&] {
        form->mnuAvsluta_Click();
        form->CloseRequested();
        form->mnuNyttSpel_Click();  // the player is leaving: no deal
        EXPECT_EQ(window.unloads, 0);
    });
    ExpectOneLossAndTheEnd();
}

TEST_F(MoveInputTest, StatisticsDuringAMoveWaitAndOpenOnce) {
    MoveNineToCell(4, [&] {
        form->mnuStatistik_Click();
        form->mnuStatistik_Click();
        EXPECT_TRUE(window.statisticsShown.empty()) << "not while the move is laid down";
    });
    EXPECT_EQ(window.statisticsShown,
              std::vector<std::string>{statistics_window::kNormalCaption});

    window.statisticsShown.clear();
    int passes = 0;
    window.onDoEvents = [&] {
        if (++passes == 2 && gate().MoveInProgress()) {
            form->Form_KeyDown(84, 6);  // Ctrl+Alt+T
            form->Form_KeyDown(84, 7);  // with Shift: nothing
        }
    };
    form->imgHand_DragDrop(1, Kl(9));
    EXPECT_EQ(window.statisticsShown,
              std::vector<std::string>{statistics_window::kFullCaption});
}

TEST_F(MoveInputTest, TheClearingQuestionWaitsForTheMove) {
    // Ctrl+Alt+Shift+keypad minus: the total is not cleared under a game's update.
    MoveNineToCell(2, [&] { form->Form_KeyDown(109, 7); });
    EXPECT_EQ(window.Texts(), std::vector<std::string>{"Rensa?"});
}

TEST_F(MoveInputTest, SecondNewGameDuringTheDealIsRefused) {
    int attempts = 0;
    window.onDoEvents = [&] {
        ++attempts;
        form->mnuNyttSpel_Click();
    };
    form->mnuNyttSpel_Click();
    window.onDoEvents = nullptr;
    EXPECT_GT(attempts, 0);
    EXPECT_EQ(StoredStat(kPlayed), 1) << "the game left is counted once";
    EXPECT_EQ(CardsOnTable(), 52);
    EXPECT_TRUE(funktioner::GameInProgress);
    // And nothing waited to deal once more.
    EXPECT_EQ(StoredStat(kPlayed), 1);
}

TEST_F(MoveInputTest, DoubleClickWhoseFirstClickStartedTheAutomaticPlayWaitsForIt) {
    Deal(WithAnExposedAce());
    const float x = GrabX(Hj(9)), y = GrabY(Hj(9));
    bool sentDuringPlay = false;
    window.onDoEvents = [&] {
        if (sentDuringPlay || !funktioner::AutoPlayActive) return;
        sentDuringPlay = true;
        // The second click of the double-click, while the ace flies.
        form->PointerPressed(x, y, kLeftButton, true);
        form->PointerReleased(x, y, kLeftButton);
        EXPECT_EQ(Board(0, 0), 0);
    };
    Click(x, y);  // the first click: a drop of the nine on itself, and the play
    window.onDoEvents = nullptr;
    ASSERT_TRUE(sentDuringPlay);
    EXPECT_EQ(Board(9, 2), Kl(1)) << "the ace went up";
    EXPECT_EQ(Board(0, 1), Hj(9)) << "and then the double-click put the nine in a cell";
    EXPECT_EQ(form->Tag(Hj(9)), "01");
}

TEST_F(MoveInputTest, ClosingWhileTheWindowGrowsDealsAndRecordsNothing) {
    form.reset();
    funktioner::ResetEngine();
    Open();
    window.heights.clear();
    int passes = 0;
    window.onDoEvents = [&] {
        if (++passes == 10) form->CloseRequested();
    };
    funktioner::SetRandomSource(DeckSource(NinesAndTens()));
    form->mnuNyttSpel_Click();
    EXPECT_EQ(window.unloads, 1);
    EXPECT_LT(window.heights.size(), 100u) << "the growth stops when the player leaves";
    EXPECT_EQ(CardsOnTable(), 0) << "no deal for a player who has gone";
    EXPECT_FALSE(funktioner::GameInProgress);
    EXPECT_EQ(StoredStat(kPlayed), 0) << "a game never played is not lost";
}

TEST_F(MoveInputTest, ClosingRightAfterNewGameRecordsOneLoss) {
    window.onDoEvents = [&] {
        form->CloseRequested();  // while the game left is being taken away
    };
    form->mnuNyttSpel_Click();
    window.onDoEvents = nullptr;
    EXPECT_EQ(window.unloads, 1);
    EXPECT_EQ(StoredStat(kPlayed), 1) << "the game left; not also a deal nobody saw";
    EXPECT_EQ(StoredStat(kLossRun), 1);
    EXPECT_EQ(CardsOnTable(), 0);
}

TEST_F(MoveInputTest, CommandsDuringTheShutDownAreRefused) {
    window.onDoEvents = [&] {
        form->mnuNyttSpel_Click();
        form->CloseRequested();
        form->imgKort_DblClick(Sp(9));
        form->imgHand_DragDrop(1, Ru(9));
        form->mnuStatistik_Click();
    };
    form->mnuAvsluta_Click();
    window.onDoEvents = nullptr;
    EXPECT_EQ(window.unloads, 1);
    EXPECT_EQ(StoredStat(kPlayed), 1);
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_TRUE(window.statisticsShown.empty());
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MoveInputTest, FlightStepsWaitForFramesOnlyWhileTheWindowIsSeen) {
    funktioner::AnimationSpeed = 9;
    window.framesWaited = 0;
    MoveNineToCell(1, [] {});
    EXPECT_GE(window.framesWaited, 9) << "a frame for every step of the flight";

    // Minimised in the middle of the next flight: its other steps wait for no frame,
    // and it is completed all the same.
    int waitedWhenHidden = -1;
    window.onDoEvents = [&] {
        if (waitedWhenHidden < 0 && gate().MoveInProgress()) {
            window.visible = false;
            waitedWhenHidden = window.framesWaited;
        }
    };
    form->imgHand_DragDrop(1, Hj(9));
    window.onDoEvents = nullptr;
    EXPECT_EQ(window.framesWaited, waitedWhenHidden);
    EXPECT_EQ(Board(0, 2), Hj(9));
    EXPECT_EQ(form->Tag(Hj(9)), "02");
}

TEST_F(MoveInputTest, SessionEndRecordsTheGameInProgressAsOneLoss) {
    form->SessionEnding();
    ExpectOneLossAndTheEnd();
}

TEST_F(MoveInputTest, SessionEndWithoutAGameRecordsNothing) {
    form.reset();
    funktioner::ResetEngine();
    Open();  // the title picture, no game dealt
    form->SessionEnding();
    EXPECT_EQ(window.unloads, 1);
    EXPECT_EQ(StoredStat(kPlayed), 0);
}

TEST_F(MoveInputTest, SessionEndDuringAMoveWaitsForItUnpacedThenRecordsOneLoss) {
    funktioner::AnimationSpeed = 33;
    int waitedAtTheEnd = -1;
    MoveNineToCell(3, [&] {
        form->SessionEnding();
        EXPECT_EQ(window.unloads, 0) << "the move is laid down first, as with \"Avsluta\"";
        EXPECT_EQ(StoredStat(kPlayed), 0);
        waitedAtTheEnd = window.framesWaited;
    });
    // What was left of the flight waited for no frame: the session may end any moment.
    EXPECT_EQ(window.framesWaited, waitedAtTheEnd);
    ExpectOneLossAndTheEnd();
}

}  // namespace
}  // namespace karvelo::test
