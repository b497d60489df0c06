// The random source: a Mersenne twister seeded from the clock unless a test installs
// its own.
#include "random.h"

#include <chrono>
#include <cmath>
#include <utility>

#include "module_values.h"

namespace funktioner {
namespace {

RandomSource& Source() { return Values().random; }

// 24 random bits scaled by 2^-24: every value is exact in single precision and
// strictly below 1.
float FromGenerator() { return static_cast<float>(Source().generator() >> 8) * 0x1p-24f; }

}  // namespace

void SetRandomSource(std::function<float()> next) { Source().installed = std::move(next); }

void SeedRandomFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto wide = static_cast<unsigned long long>(ticks);
    std::seed_seq seed{static_cast<unsigned>(wide), static_cast<unsigned>(wide >> 32)};
    Source().generator.seed(seed);
    Source().installed = nullptr;
}

float NextRandom() {
    const float r = Source().installed ? Source().installed() : FromGenerator();
    if (std::isnan(r) || r < 0.0f) return 0.0f;
    if (r >= 1.0f) return std::nextafter(1.0f, 0.0f);
    return r;
}

}  // namespace funktioner
