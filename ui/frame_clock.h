#pragma once
// When a step of a flight or of the window's growth may go on. Each step changes the
// picture and is meant to be seen for one displayed frame: no less (the next step
// would be painted over it before the screen showed it) and no more (the flight would
// crawl). The window system reports what it knows of its display: the refresh rate,
// the frames the display presented (vertical blank, compositor) and whether the window
// can be seen at all; from those reports this clock alone decides how long the window
// handles input before the next step.
//
// The display's frames fall on a grid, one period apart. A step laid down at `now`
// waits for the first boundary after `now`, never for one that has passed: a step that
// took longer than a frame is still shown for a frame of its own, and the grid keeps
// its phase however long the table stood still. Without a reported frame the grid
// starts at the first step that waits. A window nobody can see (minimised, hidden)
// does not wait at all: its steps are laid down as fast as they come, and so is every
// step once the player chose to leave.
//
// Times are monotonic, in nanoseconds from any fixed start the window system keeps.
#include <chrono>
#include <optional>

namespace karvelo {

class FrameClock {
public:
    using Time = std::chrono::nanoseconds;

    // ---- What the window system reports.
    // The display's refresh rate in frames per second. A rate no display has (0 for
    // "unknown", negative, below 20 or above 1000) counts as the usual 60.
    void SetRefreshRate(double hz);
    // The display presented a frame at `at`: later ones follow a period apart.
    void FramePresented(Time at);
    // Whether the window can be seen: false while it is minimised or hidden.
    void SetVisible(bool visible);

    // ---- What the program says: off, steps never wait (tests, benchmarks).
    void SetPacing(bool on) { pacing_ = on; }
    bool Pacing() const { return pacing_; }
    // The player chose to leave: what is left of the move is not worth a frame.
    void SetLeaving(bool leaving) { leaving_ = leaving; }

    // ---- The decision. A step has been laid down at `now`; `changed` says whether
    // the picture changed since the last frame. Nothing: go on after handling the input
    // that is waiting. A time: show the change now and handle input until then.
    std::optional<Time> StepDone(bool changed, Time now);

    Time Period() const { return period_; }
    bool Visible() const { return visible_; }
    // The steps that waited for a frame.
    long long FramesWaited() const { return frames_; }

private:
    Time period_ = PeriodOf(kUsualHz);
    std::optional<Time> phase_;  // a frame boundary of the grid
    bool visible_ = true;
    bool pacing_ = true;
    bool leaving_ = false;
    long long frames_ = 0;

    static constexpr double kUsualHz = 60.0;
    static Time PeriodOf(double hz);
};

}  // namespace karvelo
