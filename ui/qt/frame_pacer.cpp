#include "frame_pacer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace karvelo {

using std::chrono::nanoseconds;

FramePacer::FramePacer() : waiter_(WaitWithEventLoop) {
    elapsed_.start();
    SetClock(nullptr);
}

void FramePacer::SetClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock([this] { return nanoseconds(elapsed_.nsecsElapsed()); });
}

void FramePacer::SetWaiter(Waiter waiter) {
    waiter_ = waiter ? std::move(waiter) : Waiter(WaitWithEventLoop);
}

void FramePacer::WaitUntil(FrameClock::Time due) {
    const nanoseconds now = clock_();
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
