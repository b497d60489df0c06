#pragma once
// The flight the benchmarks of both windows time: the exposed card of column 1 between
// free cell 0 and foundation 3, across the cards between them, at the slowest speed.
#include "funktioner.h"

namespace bench {

inline constexpr int kFlightSteps = 33;

inline void Fly(int card, int flight) {
    using funktioner::imgHand;
    using funktioner::imgHog;
    using funktioner::imgKort;
    if (flight % 2 == 0) {
        funktioner::AnimateMove(imgKort(card), imgHand(0), 40, 30, kFlightSteps);
    } else {
        funktioner::AnimateMove(imgKort(card), imgHog(3), 40, 30, kFlightSteps);
    }
}

}  // namespace bench
