#pragma once
// The decks the soak deals. The game's shuffle draws one position per card code; this
// source answers each draw with the position that lays out a deck of the soak's
// choosing: a random one, or one laid out nearly in order so that it can be won with
// a few moves, and the win and the question after it come up often.
#include <array>
#include <functional>
#include <random>

namespace karvelo::soak {

class DeckSource {
public:
    explicit DeckSource(uint64_t seed) : rng_(seed) {}
    // The random source to install in the engine (it refers to this object).
    std::function<float()> Source();
    // How many decks laid out nearly in order have been handed out.
    long easyDecks() const { return easy_; }

private:
    void NextDeck();
    std::array<int, 53> positionOf_{};  // positionOf_[code] = deal position
    int drawn_ = 0;
    long easy_ = 0;
    std::mt19937_64 rng_;
};

}  // namespace karvelo::soak
