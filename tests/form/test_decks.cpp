#include "test_decks.h"

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace karvelo::test {

std::function<float()> DeckSource(const DeckOrder& order) {
    // ShuffleDeck draws one position per card code 1 to 52 and keeps it when free;
    // the middle of each position's slice of [0, 1) lands exactly there.
    std::array<int, 53> positionOf{};
    for (int p = 1; p <= 52; ++p) positionOf[static_cast<size_t>(order[static_cast<size_t>(p)])] = p;
    auto next = std::make_shared<int>(0);
    return [positionOf, next]() {
        const int code = *next % 52 + 1;
        ++*next;
        return (static_cast<float>(positionOf[static_cast<size_t>(code)]) - 0.5f) / 52.0f;
    };
}

DeckOrder SeededDeck(unsigned seed) {
    DeckOrder order{};
    std::vector<int> codes;
    for (int c = 1; c <= 52; ++c) codes.push_back(c);
    std::mt19937 rng(seed);
    std::shuffle(codes.begin(), codes.end(), rng);
    for (int p = 1; p <= 52; ++p) order[static_cast<size_t>(p)] = codes[static_cast<size_t>(p - 1)];
    return order;
}

DeckOrder DeckWith(const std::map<int, int>& placed) {
    DeckOrder order{};
    std::array<bool, 53> used{};
    for (const auto& [position, code] : placed) {
        order[static_cast<size_t>(position)] = code;
        used[static_cast<size_t>(code)] = true;
    }
    int code = 1;
    for (int p = 1; p <= 52; ++p) {
        if (order[static_cast<size_t>(p)] != 0) continue;
        while (used[static_cast<size_t>(code)]) ++code;
        order[static_cast<size_t>(p)] = code;
        used[static_cast<size_t>(code)] = true;
    }
    return order;
}

}  // namespace karvelo::test
