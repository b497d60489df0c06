// The random source: a Mersenne twister seeded from the clock unless a test installs
// its own.
#include "random.h"

#include <chrono>
#include <cmath>
#include <random>
#include <utility>

#include "funktioner.h"

namespace funktioner {
namespace {

std::mt19937& Generator() {
    static std::mt19937 generator{std::mt19937::default_seed};
    return generator;
}

// 24 random bits scaled by 2^-24: every value is exact in single precision and
// strictly below 1.
float FromGenerator() {
    return static_cast<float>(Generator()() >> 8) * 0x1p-24f;
}

std::function<float()>& Source() {
    static std::function<float()> source = FromGenerator;
    return source;
}

}  // namespace

void SetRandomSource(std::function<float()> next) {
    Source() = next ? std::move(next) : std::function<float()>(FromGenerator);
}

void SeedRandomFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto wide = static_cast<unsigned long long>(ticks);
    std::seed_seq seed{static_cast<unsigned>(wide), static_cast<unsigned>(wide >> 32)};
    Generator().seed(seed);
    Source() = FromGenerator;
}

float NextRandom() {
    const float r = Source()();
    if (std::isnan(r) || r < 0.0f) return 0.0f;
    if (r >= 1.0f) return std::nextafter(1.0f, 0.0f);
    return r;
}

}  // namespace funktioner
