#include "frame_clock.h"

namespace karvelo {

FrameClock::Time FrameClock::PeriodOf(double hz) {
    if (!(hz >= 20.0 && hz <= 1000.0)) hz = kUsualHz;  // also NaN
    return Time(static_cast<long long>(1e9 / hz));
}

void FrameClock::SetRefreshRate(double hz) {
    const Time period = PeriodOf(hz);
    if (period == period_) return;
    period_ = period;
    // The old phase belongs to the old rate; the next reported frame gives the new one.
    phase_.reset();
}

void FrameClock::FramePresented(Time at) { phase_ = at; }

void FrameClock::SetVisible(bool visible) { visible_ = visible; }

std::optional<FrameClock::Time> FrameClock::StepDone(bool changed, Time now) {
    if (!changed || !visible_ || !pacing_ || leaving_) return std::nullopt;
    if (!phase_) phase_ = now;
    // The first boundary strictly after `now`, on either side of the phase.
    const long long since = (now - *phase_).count(), period = period_.count();
    long long periods = since / period;
    if (since < 0 && since % period != 0) --periods;  // rounded down, not towards 0
    ++frames_;
    return *phase_ + Time((periods + 1) * period);
}

}  // namespace karvelo
