// Input that arrives while a move, the automatic play or a deal is being laid down.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "statistics.h"

namespace enginetest {
namespace {

using namespace funktioner;

class InputGateTest : public EngineTest {};

TEST_F(InputGateTest, VerdictsWhenIdleAndDuringAMove) {
    for (auto input : {PlayerInput::CardPress, PlayerInput::PeekPress, PlayerInput::PeekRelease,
                       PlayerInput::Drop, PlayerInput::DoubleClick, PlayerInput::NewGame,
                       PlayerInput::Quit}) {
        EXPECT_EQ(Admit(input), Verdict::Run);
    }
    EXPECT_FALSE(MoveInProgress());

    auto expectBusy = [] {
        EXPECT_TRUE(MoveInProgress());
        EXPECT_EQ(Admit(PlayerInput::CardPress), Verdict::Ignore);
        EXPECT_EQ(Admit(PlayerInput::PeekPress), Verdict::Ignore);
        EXPECT_EQ(Admit(PlayerInput::Drop), Verdict::Ignore);
        EXPECT_EQ(Admit(PlayerInput::DoubleClick), Verdict::Ignore);
        EXPECT_EQ(Admit(PlayerInput::PeekRelease), Verdict::Run);
        EXPECT_EQ(Admit(PlayerInput::Quit), Verdict::Defer);
    };
    {
        GateHold move(Hold::Move);
        expectBusy();
        EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Defer);
        {
            GateHold nested(Hold::Move);
        }
        expectBusy();  // the outer hold still counts
    }
    AutoPlayActive = true;
    expectBusy();
    EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Defer);
    AutoPlayActive = false;
    {
        GateHold deal(Hold::Deal);
        expectBusy();
        EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Ignore);
        GateHold move(Hold::Move);
        EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Ignore);
    }
    EXPECT_FALSE(MoveInProgress());
}

TEST_F(InputGateTest, PeekCopyBlocksDragsAndDropsOnly) {
    table.SetVisible(0, true);
    EXPECT_EQ(Admit(PlayerInput::CardPress), Verdict::Ignore);
    EXPECT_EQ(Admit(PlayerInput::Drop), Verdict::Ignore);
    EXPECT_EQ(Admit(PlayerInput::PeekPress), Verdict::Run);
    EXPECT_EQ(Admit(PlayerInput::PeekRelease), Verdict::Run);
    EXPECT_EQ(Admit(PlayerInput::DoubleClick), Verdict::Run);
    EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Run);
    EXPECT_FALSE(MoveInProgress());
}

TEST_F(InputGateTest, DropWhilePeekShowsLeavesElementZeroAlone) {
    LayOut({{{Sp(9)}, {}, {Hj(8)}}});
    table.Move(0, 2000, 2000);
    table.SetVisible(0, true);
    imgKort_DragDrop(61, Hj(8));
    EXPECT_EQ(Board(3, 1), Hj(8));
    EXPECT_EQ(table.card(0).left, 2000);
    EXPECT_EQ(table.card(0).top, 2000);
}

TEST_F(InputGateTest, InputDuringAFlightIsIgnored) {
    // Every injected input below would be a legal move on its own.
    Position p;
    p.columns = {{Sp(9), Hj(8)}, {Kl(9)}, {Ru(13)}, {Kl(1)}, {Kl(12)}, {Hj(3)}};
    p.onFoundation = {2, 0, 0, 0};
    LayOut(p);
    bool busy = false;
    host.onDoEvents = [&] {
        busy = busy || MoveInProgress();
        imgKort_DragDrop(Ru(13), Kl(12));
        imgHand_DragDrop(0, Kl(12));
        imgHog_DragDrop(0, Hj(3));
        imgKort_DblClick(Kl(12));
    };
    imgKort_DragDrop(Kl(9), Hj(8));
    EXPECT_TRUE(busy);
    EXPECT_EQ(Board(2, 2), Hj(8));
    EXPECT_EQ(Board(5, 1), Kl(12));
    EXPECT_EQ(Board(3, 0), 1);
    EXPECT_EQ(Board(0, 0), 0);
    EXPECT_EQ(Board(9, 1), Hj(2));
    // Only the automatic play after the move took the Klöver ace.
    EXPECT_EQ(Board(9, 2), Kl(1));
    EXPECT_FALSE(MoveInProgress());
}

TEST_F(InputGateTest, FoundationDropDuringAutomaticPlayIsIgnored) {
    Position p;
    p.columns = {{Sp(9), Hj(1)}, {Kl(1)}, {Ru(3)}};
    p.onFoundation = {0, 0, 2, 0};
    LayOut(p);
    int triedDuringAutoPlay = 0;
    host.onDoEvents = [&] {
        if (AutoPlayActive) {
            ++triedDuringAutoPlay;
            imgHog_DragDrop(2, Ru(3));  // legal by hand, not safe for automatic play
        }
    };
    imgHand_DragDrop(3, Sp(9));  // refused (covered); automatic play follows
    EXPECT_GT(triedDuringAutoPlay, 0);
    EXPECT_FALSE(AutoPlayActive);
    EXPECT_EQ(Board(9, 1), Hj(1));
    EXPECT_EQ(Board(9, 2), Kl(1));
    EXPECT_EQ(Board(9, 3), Ru(2));
    EXPECT_EQ(Board(3, 1), Ru(3));
    imgHog_DragDrop(2, Ru(3));  // and once the play is over it goes
    EXPECT_EQ(Board(9, 3), Ru(3));
}

TEST_F(InputGateTest, SecondNewGameDuringClearingIsRefused) {
    NewGame();
    log.clear();
    int attempts = 0;
    host.onDoEvents = [&] {
        ++attempts;
        NewGame();  // as if "Nytt spel" were chosen again, bypassing the window's gate
    };
    NewGame();
    host.onDoEvents = nullptr;
    EXPECT_GT(attempts, 0);
    EXPECT_EQ(karvelo::StatCounters(1), 1);
    EXPECT_EQ(karvelo::StatCounters(8), 1);
    EXPECT_EQ(Count("create"), 60) << "exactly one deal";
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(InputGateTest, WindowHoldingADealMayStillStartTheGame) {
    GateHold growth(Hold::Deal);
    EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Ignore);
    NewGame();
    EXPECT_TRUE(GameInProgress);
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(InputGateTest, NewGameDuringAMoveWaitsForItsEnd) {
    LayOut({{{Sp(9), Hj(8)}, {Kl(9)}}});
    std::vector<Verdict> seen;
    host.onDoEvents = [&] { seen.push_back(Admit(PlayerInput::NewGame)); };
    imgKort_DragDrop(Kl(9), Hj(8));
    ASSERT_FALSE(seen.empty());
    for (auto v : seen) EXPECT_EQ(v, Verdict::Defer);
    EXPECT_EQ(Admit(PlayerInput::NewGame), Verdict::Run);
}

}  // namespace
}  // namespace enginetest
