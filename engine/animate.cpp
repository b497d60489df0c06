// The card flight: a straight line in equal steps, one pass of the event loop per
// position.
#include <cstdint>
#include <limits>

#include "check.h"
#include "funktioner.h"
#include "host.h"
#include "rounding.h"

namespace funktioner {

void AnimateMove(Element mover, Element anchor, int16_t dx, int16_t dy, int32_t steps) {
    KARVELO_ASSERT(mover.kind == Kind::Kort);
    if (mover.kind != Kind::Kort) return;  // only card pictures fly
    auto& t = table();
    if (steps < 1) steps = 1;

    const int32_t x0 = karvelo::RoundHalfEven(t.Left(mover));
    const int32_t y0 = karvelo::RoundHalfEven(t.Top(mover));
    const int32_t x1 = karvelo::RoundHalfEven(static_cast<double>(t.Left(anchor)) + dx);
    const int32_t y1 = karvelo::RoundHalfEven(static_cast<double>(t.Top(anchor)) + dy);
    const double stepX = static_cast<double>(int64_t{x1} - x0) / steps;
    const double stepY = static_cast<double>(int64_t{y1} - y0) / steps;

    for (int32_t i = 0; i <= steps; ++i) {
        // The last position is the target itself: i * step need not add up to it.
        const double x = i == steps ? x1 : x0 + i * stepX;
        const double y = i == steps ? y1 : y0 + i * stepY;
        t.Move(mover.index, static_cast<float>(x), static_cast<float>(y));
        karvelo::host().DoEvents();
        if (i == std::numeric_limits<int32_t>::max()) break;
    }
}

}  // namespace funktioner
