// Input that arrives while a move, the automatic play or a deal is being laid down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_fixture.h"

namespace enginetest {
namespace {

using namespace funktioner;

class InputGateTest : public EngineTest {};

TEST_F(InputGateTest, VerdictsWhenIdleAndDuringAMove) {
    for (auto input : {PlayerInput::CardPress, PlayerInput::PeekPress, PlayerInput::PeekRelease,
                       PlayerInput::Drop, PlayerInput::DoubleClick, PlayerInput::NewGame,
                       PlayerInput::Quit, PlayerInput::Statistics, PlayerInput::Setting}) {
        EXPECT_EQ(gate().Admit(input), Verdict::Run);
    }
    EXPECT_FALSE(gate().MoveInProgress());

    auto expectBusy = [] {
        EXPECT_TRUE(gate().MoveInProgress());
        EXPECT_EQ(gate().Admit(PlayerInput::CardPress), Verdict::Ignore);
        EXPECT_EQ(gate().Admit(PlayerInput::PeekPress), Verdict::Ignore);
        EXPECT_EQ(gate().Admit(PlayerInput::Drop), Verdict::Ignore);
        EXPECT_EQ(gate().Admit(PlayerInput::DoubleClick), Verdict::Ignore);
        EXPECT_EQ(gate().Admit(PlayerInput::PeekRelease), Verdict::Run);
        EXPECT_EQ(gate().Admit(PlayerInput::Setting), Verdict::Run);
        EXPECT_EQ(gate().Admit(PlayerInput::Quit), Verdict::Defer);
        EXPECT_EQ(gate().Admit(PlayerInput::Statistics), Verdict::Defer);
    };
    {
        const GateHold move = gate().Hold(Span::Move);
        expectBusy();
        EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Defer);
        { const GateHold nested = gate().Hold(Span::Move); }
        expectBusy();  // the outer hold still counts
    }
    AutoPlayActive = true;
    expectBusy();
    EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Defer);
    AutoPlayActive = false;
    for (Span span : {Span::Deal, Span::Growth}) {
        const GateHold deal = gate().Hold(span);
        expectBusy();
        EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Ignore);
        const GateHold move = gate().Hold(Span::Move);
        EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Ignore);
    }
    EXPECT_FALSE(gate().MoveInProgress());
}

TEST_F(InputGateTest, PeekCopyBlocksDragsAndDropsOnly) {
    table.SetVisible(0, true);
    EXPECT_EQ(gate().Admit(PlayerInput::CardPress), Verdict::Ignore);
    EXPECT_EQ(gate().Admit(PlayerInput::Drop), Verdict::Ignore);
    EXPECT_EQ(gate().Admit(PlayerInput::PeekPress), Verdict::Run);
    EXPECT_EQ(gate().Admit(PlayerInput::PeekRelease), Verdict::Run);
    EXPECT_EQ(gate().Admit(PlayerInput::DoubleClick), Verdict::Run);
    EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Run);
    EXPECT_FALSE(gate().MoveInProgress());
}

TEST_F(InputGateTest, WaitingCommandsRunOnceInTheirOrderWhenTheMoveIsDown) {
    std::vector<std::string> ran;
    auto note = [&](const char* what) { return [&ran, what] { ran.push_back(what); }; };
    gate().Handle(PlayerInput::Setting, [&] {
        const GateHold move = gate().Hold(Span::Move);
        gate().Handle(PlayerInput::Statistics, note("first statistics"));
        gate().Handle(PlayerInput::Statistics, note("statistics"));  // the later one stands
        gate().Handle(PlayerInput::NewGame, note("new game"));
        gate().Handle(PlayerInput::NewGame, note("second new game"));  // one deal
        gate().Handle(PlayerInput::Drop, note("drop"));
        gate().Handle(PlayerInput::DoubleClick, note("double-click"));
        EXPECT_TRUE(ran.empty());
    });
    EXPECT_EQ(ran, (std::vector<std::string>{"new game", "statistics"}));
}

TEST_F(InputGateTest, QuitRunsAloneAndEndsEverything) {
    std::vector<std::string> ran;
    gate().Handle(PlayerInput::Setting, [&] {
        const GateHold move = gate().Hold(Span::Move);
        gate().Handle(PlayerInput::NewGame, [&] { ran.push_back("new game"); });
        gate().Handle(PlayerInput::Statistics, [&] { ran.push_back("statistics"); });
        gate().Handle(PlayerInput::Quit, [&] {
            ran.push_back("quit");
            ASSERT_TRUE(gate().BeginShutDown());
            EXPECT_FALSE(gate().BeginShutDown()) << "a second shut-down while one runs";
            gate().Handle(PlayerInput::Quit, [&] { ran.push_back("second quit"); });
            gate().EndShutDown();
        });
        EXPECT_TRUE(gate().Leaving());
        EXPECT_FALSE(gate().MayBeginDeal());
    });
    EXPECT_EQ(ran, (std::vector<std::string>{"quit"}));
    EXPECT_TRUE(gate().Ended());
    for (auto input : {PlayerInput::CardPress, PlayerInput::Drop, PlayerInput::NewGame,
                       PlayerInput::Quit, PlayerInput::Statistics, PlayerInput::Setting}) {
        EXPECT_EQ(gate().Admit(input), Verdict::Ignore);
    }
}

TEST_F(InputGateTest, DoubleClickWaitsOnlyForTheMoveItsOwnClickStarted) {
    std::vector<std::string> ran;
    gate().HandleClick(7, [&] {
        const GateHold move = gate().Hold(Span::Move);
        gate().HandleDoubleClick(8, [&] { ran.push_back("another card"); });
        gate().HandleDoubleClick(7, [&] { ran.push_back("its own card"); });
        EXPECT_TRUE(ran.empty());
    });
    EXPECT_EQ(ran, (std::vector<std::string>{"its own card"}));

    // A double-click during any other drop's move is ignored.
    ran.clear();
    gate().Handle(PlayerInput::Drop, [&] {
        const GateHold move = gate().Hold(Span::Move);
        gate().HandleDoubleClick(7, [&] { ran.push_back("during a drop"); });
    });
    EXPECT_TRUE(ran.empty());
}

TEST_F(InputGateTest, NewGameThatADealAnsweredMeanwhileDoesNotDealAgain) {
    int runs = 0;
    gate().Handle(PlayerInput::Setting, [&] {
        const GateHold move = gate().Hold(Span::Move);
        gate().Handle(PlayerInput::NewGame, [&] { ++runs; });
        gate().DealLaidOut();  // Yes to the question after a win dealt meanwhile
    });
    EXPECT_EQ(runs, 0);
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
        busy = busy || gate().MoveInProgress();
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
    EXPECT_FALSE(gate().MoveInProgress());
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
    EXPECT_EQ(results.played, 1);
    EXPECT_EQ(results.lossRun, 1);
    EXPECT_EQ(Count("create"), 60) << "exactly one deal";
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(InputGateTest, WindowGrowingBeforeTheFirstDealMayStillStartTheGame) {
    const GateHold growth = gate().Hold(Span::Growth);
    EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Ignore);
    NewGame();
    EXPECT_TRUE(GameInProgress);
    EXPECT_EQ(CheckTable(), "");
}

TEST_F(InputGateTest, LeavingWhileTheOldGameIsClearedDealsNothing) {
    NewGame();
    log.clear();
    host.onDoEvents = [&] {
        // "Avsluta" chosen while the abandoned game is taken away: it waits.
        gate().Handle(PlayerInput::Quit, [] {});
    };
    NewGame();
    host.onDoEvents = nullptr;
    EXPECT_EQ(results.played, 1) << "the game left is recorded, once";
    EXPECT_FALSE(GameInProgress) << "no game the player would never see";
    EXPECT_EQ(Count("create"), 0);
    EXPECT_EQ(Board(kFoundations, kCountRow), 0);
}

TEST_F(InputGateTest, NewGameDuringAMoveWaitsForItsEnd) {
    LayOut({{{Sp(9), Hj(8)}, {Kl(9)}}});
    std::vector<Verdict> seen;
    host.onDoEvents = [&] { seen.push_back(gate().Admit(PlayerInput::NewGame)); };
    imgKort_DragDrop(Kl(9), Hj(8));
    ASSERT_FALSE(seen.empty());
    for (auto v : seen) EXPECT_EQ(v, Verdict::Defer);
    EXPECT_EQ(gate().Admit(PlayerInput::NewGame), Verdict::Run);
}

TEST_F(InputGateTest, ResetEngineForgetsDealsAndWaitingCommands) {
    gate().DealLaidOut();
    int runs = 0;
    {
        const GateHold move = gate().Hold(Span::Move);
        gate().Handle(PlayerInput::Statistics, [&] { ++runs; });
        ResetEngine();
    }
    EXPECT_FALSE(gate().MoveInProgress()) << "a hold outliving the reset counts nothing";
    gate().Handle(PlayerInput::Setting, [] {});
    EXPECT_EQ(runs, 0);
}

}  // namespace
}  // namespace enginetest
