#include "decks.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace karvelo::soak {

std::function<float()> DeckSource::Source() {
    return [this] {
        if (drawn_ % 52 == 0) NextDeck();
        const int code = drawn_ % 52 + 1;
        ++drawn_;
        // The middle of the position's slice of [0, 1) lands exactly on it.
        return (static_cast<float>(positionOf_[static_cast<size_t>(code)]) - 0.5f) / 52.0f;
    };
}

void DeckSource::NextDeck() {
    std::vector<int> order(52);  // order[p - 1] = code at deal position p
    std::iota(order.begin(), order.end(), 1);
    if (std::bernoulli_distribution(0.4)(rng_)) {
        // Kings first, aces last: every column then runs downwards in rank and the
        // automatic play clears the table. A few swaps make it need real moves.
        ++easy_;
        std::stable_sort(order.begin(), order.end(),
                         [](int a, int b) { return (a - 1) % 13 > (b - 1) % 13; });
        std::uniform_int_distribution<size_t> any(0, 51);
        for (int swaps = std::uniform_int_distribution<int>(0, 8)(rng_); swaps > 0; --swaps)
            std::swap(order[any(rng_)], order[any(rng_)]);
    } else {
        std::shuffle(order.begin(), order.end(), rng_);
    }
    for (int p = 1; p <= 52; ++p) positionOf_[static_cast<size_t>(order[static_cast<size_t>(p - 1)])] = p;
}

}  // namespace karvelo::soak
