#include "frame_pacer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace karvelo {

using std::chrono::nanoseconds;

namespace {
constexpr double kFallbackHz = 60.0;
nanoseconds PeriodFor(double hz) {
    if (!(hz >= 10.0 && hz <= 1000.0)) hz = kFallbackHz;
    return nanoseconds(static_cast<long long>(1e9 / hz));
}
}  // namespace

FramePacer::FramePacer() : period_(PeriodFor(kFallbackHz)), waiter_(WaitWithEventLoop) {
    elapsed_.start();
    SetClock(nullptr);
}

void FramePacer::SetClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock([this] { return nanoseconds(elapsed_.nsecsElapsed()); });
    started_ = false;
}

void FramePacer::SetRefreshRate(double hz) { period_ = PeriodFor(hz); }

void FramePacer::SetWaiter(Waiter waiter) {
    waiter_ = waiter ? std::move(waiter) : Waiter(WaitWithEventLoop);
}

void FramePacer::WaitForNextFrame() {
    ++frames_;
    const nanoseconds now = clock_();
    // After an idle spell (or the first time) the sequence starts afresh.
    if (!started_ || now - lastBoundary_ > 2 * period_) lastBoundary_ = now;
    started_ = true;
    const nanoseconds due = lastBoundary_ + period_;
    lastBoundary_ = due;
    waiter_(due > now ? due - now : nanoseconds(0));
}

void FramePacer::WaitWithEventLoop(nanoseconds duration) {
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const auto ms = duration_cast<milliseconds>(duration + nanoseconds(999999)).count();
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace karvelo
