// The card flight: a straight line in equal steps, one pass of the event loop per
// position.
#include <cmath>
#include <cstdint>
#include <limits>

#include "funktioner.h"
#include "host.h"

namespace funktioner {
namespace {

// Nearest whole number, halves to even (the default rounding mode), kept inside the
// signed 32-bit range; a position that is not a number counts as 0.
int32_t RoundToInt32(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(r);
}

}  // namespace

void AnimateMove(Element mover, Element anchor, int16_t dx, int16_t dy, int32_t steps) {
    if (mover.kind != Kind::Kort) return;  // only card pictures fly
    auto& t = table();
    if (steps < 1) steps = 1;

    const int32_t x0 = RoundToInt32(t.Left(mover));
    const int32_t y0 = RoundToInt32(t.Top(mover));
    const int32_t x1 = RoundToInt32(static_cast<double>(t.Left(anchor)) + dx);
    const int32_t y1 = RoundToInt32(static_cast<double>(t.Top(anchor)) + dy);
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
