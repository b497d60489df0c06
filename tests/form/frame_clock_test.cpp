// The frame clock's decisions from reported frames alone: when a step of a flight or
// of the growth waits, and until when.
#include <gtest/gtest.h>

#include "frame_clock.h"

namespace karvelo::test {
namespace {

using namespace std::chrono_literals;
using Time = FrameClock::Time;

TEST(FrameClock, AStepWaitsForTheFirstBoundaryAfterItWasLaidDown) {
    FrameClock clock;
    clock.SetRefreshRate(100);  // 10 ms
    // The first step starts the grid at 0.
    EXPECT_EQ(clock.StepDone(true, 0ms), Time(10ms));
    EXPECT_EQ(clock.StepDone(true, 10ms), Time(20ms));
    EXPECT_EQ(clock.StepDone(true, 23ms), Time(30ms)) << "3 ms to lay down: the rest of the frame";
    // A step that took longer than a frame gets a frame of its own, not none: otherwise
    // the next step would be painted over it before the screen showed it.
    EXPECT_EQ(clock.StepDone(true, 45ms), Time(50ms));
    EXPECT_EQ(clock.StepDone(true, 50ms), Time(60ms)) << "on a boundary: the next one";
    // After a long idle spell the grid keeps its phase.
    EXPECT_EQ(clock.StepDone(true, 1003ms), Time(1010ms));
    EXPECT_EQ(clock.FramesWaited(), 6);
}

TEST(FrameClock, ReportedFramesSetThePhaseOnEitherSideOfTheStep) {
    FrameClock clock;
    clock.SetRefreshRate(50);  // 20 ms
    clock.FramePresented(107ms);
    EXPECT_EQ(clock.StepDone(true, 110ms), Time(127ms));
    EXPECT_EQ(clock.StepDone(true, 127ms), Time(147ms));
    // A frame reported a little later than the step's time (the report and the clock
    // read at different moments): the boundary before it still counts.
    clock.FramePresented(205ms);
    EXPECT_EQ(clock.StepDone(true, 190ms), Time(205ms));
    EXPECT_EQ(clock.StepDone(true, 165ms), Time(185ms));
    // Another rate: the old phase is gone, the next step starts a grid of its own.
    clock.SetRefreshRate(100);
    EXPECT_EQ(clock.StepDone(true, 300ms), Time(310ms));
}

TEST(FrameClock, NothingWaitsUnchangedUnseenSwitchedOffOrLeaving) {
    FrameClock clock;
    clock.SetRefreshRate(100);
    EXPECT_EQ(clock.StepDone(false, 0ms), std::nullopt) << "nothing new to show";
    clock.SetVisible(false);
    EXPECT_EQ(clock.StepDone(true, 1ms), std::nullopt) << "minimised or hidden";
    clock.SetVisible(true);
    clock.SetPacing(false);
    EXPECT_EQ(clock.StepDone(true, 2ms), std::nullopt);
    clock.SetPacing(true);
    clock.SetLeaving(true);
    EXPECT_EQ(clock.StepDone(true, 3ms), std::nullopt);
    clock.SetLeaving(false);
    EXPECT_EQ(clock.StepDone(true, 4ms), Time(14ms));
    EXPECT_EQ(clock.FramesWaited(), 1);
}

TEST(FrameClock, RatesNoDisplayHasCountAsSixtyHertz) {
    const Time usual = Time(1'000'000'000LL / 60);
    for (double hz : {0.0, -60.0, 19.0, 1001.0, 1e12}) {
        FrameClock clock;
        clock.SetRefreshRate(hz);
        EXPECT_EQ(clock.Period(), usual) << hz;
    }
    FrameClock clock;
    clock.SetRefreshRate(144);
    EXPECT_EQ(clock.StepDone(true, 0ms), Time(1'000'000'000LL / 144));
    clock.SetRefreshRate(0.0 / 0.0);
    EXPECT_EQ(clock.Period(), usual);
}

}  // namespace
}  // namespace karvelo::test
