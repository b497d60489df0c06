#pragma once
// Decks of a test's choosing: a random source that makes the shuffle lay out exactly a
// given order, seeded orders, and orders with chosen cards at chosen places.
#include <array>
#include <functional>
#include <map>

namespace karvelo::test {

// order[p] = the code dealt at deal position p, 1 to 52 (order[0] unused).
using DeckOrder = std::array<int, 53>;

// A random source that makes ShuffleDeck lay out exactly `order`.
std::function<float()> DeckSource(const DeckOrder& order);
// The deck a seeded shuffle gives, for tests that need a varied but fixed deal.
DeckOrder SeededDeck(unsigned seed);
// The deal with `placed` (deal position -> code) and the other codes in rising order at
// the other positions.
DeckOrder DeckWith(const std::map<int, int>& placed);
// The card of rank r (1 ace to 13 king) of each suit.
constexpr int Hj(int r) { return r; }
constexpr int Kl(int r) { return 13 + r; }
constexpr int Ru(int r) { return 26 + r; }
constexpr int Sp(int r) { return 39 + r; }
// The deal position of column c (1 to 8), row r (from 1).
constexpr int DealPosition(int column, int row) { return (row - 1) * 8 + column; }

}  // namespace karvelo::test
