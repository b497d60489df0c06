#pragma once
// Waiting for a displayed frame on Qt: the window handles events until the time the
// frame clock (frame_clock.h) gave, on a precise single-shot timer. It decides nothing:
// whether and how long a step waits is the clock's.
#include <QElapsedTimer>

#include <chrono>
#include <functional>

#include "frame_clock.h"

namespace karvelo {

class FramePacer {
public:
    // How a wait is spent; the default runs an event loop with a single-shot timer.
    // Tests install one that only counts.
    using Waiter = std::function<void(std::chrono::nanoseconds)>;
    // The time since some fixed start; the default is a monotonic clock.
    using Clock = std::function<std::chrono::nanoseconds()>;

    FramePacer();

    void SetWaiter(Waiter waiter);
    void SetClock(Clock clock);

    FrameClock::Time Now() const { return clock_(); }
    // Handles events until `due`; when it has passed already, only those waiting.
    void WaitUntil(FrameClock::Time due);

private:
    static void WaitWithEventLoop(std::chrono::nanoseconds duration);

    QElapsedTimer elapsed_;
    Clock clock_;
    Waiter waiter_;
};

}  // namespace karvelo
