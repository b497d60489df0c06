#pragma once
// Paces visible steps to the screen: after a step has been painted the window waits
// for the next frame boundary, handling input meanwhile, so that each step of a
// flight or of the window's growth is one displayed frame on any machine.
#include <QElapsedTimer>

#include <chrono>
#include <functional>

namespace karvelo {

class FramePacer {
public:
    // How a wait is spent; the default runs an event loop with a single-shot timer.
    // Tests install one that only counts.
    using Waiter = std::function<void(std::chrono::nanoseconds)>;
    // The time since some fixed start; the default is a monotonic clock.
    using Clock = std::function<std::chrono::nanoseconds()>;

    FramePacer();

    // Frames per second; nonsense (0, negative, absurd) falls back to 60.
    void SetRefreshRate(double hz);
    std::chrono::nanoseconds Period() const { return period_; }

    void SetWaiter(Waiter waiter);
    void SetClock(Clock clock);

    // Waits until the frame boundary that follows the previous one. A caller that
    // comes back after its boundary has passed does not wait; one that comes back
    // after an idle spell starts a fresh sequence of boundaries.
    void WaitForNextFrame();

    long long FramesWaited() const { return frames_; }

private:
    static void WaitWithEventLoop(std::chrono::nanoseconds duration);

    QElapsedTimer elapsed_;
    Clock clock_;
    std::chrono::nanoseconds period_;
    std::chrono::nanoseconds lastBoundary_{0};
    bool started_ = false;
    long long frames_ = 0;
    Waiter waiter_;
};

}  // namespace karvelo
