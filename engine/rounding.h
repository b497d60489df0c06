#pragma once
// Rounding to a whole number as the program does it everywhere: to the nearest, halves
// to the even neighbour, kept inside the signed 32-bit range; a value that is not a
// number counts as 0.
#include <cmath>
#include <cstdint>
#include <limits>

namespace karvelo {

inline int32_t RoundHalfEven(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    const double r = std::nearbyint(v);  // the default rounding mode: halves to even
    if (r <= lo) return std::numeric_limits<int32_t>::min();
    if (r >= hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

// The same, kept inside the signed 16-bit range (offsets handed to the card flight).
inline int16_t RoundHalfEven16(double v) {
    const int32_t r = RoundHalfEven(v);
    if (r < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    if (r > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(r);
}

}  // namespace karvelo
