#pragma once
// A small solver for a dealt table, with the engine's automatic play after every
// move, so that a test can win a whole game with the mouse. It moves single cards
// only: exposed or free-cell cards onto cards, empty columns, free cells and
// foundations.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace karvelo::test {

struct Place {
    enum class Kind { Column, Cell, Foundation };
    Kind kind;
    int index;  // column 1..8, free cell 0..3, foundation 0..3
};

struct PlayerMove {
    Place from;
    Place to;
    int card;
};

struct TableModel {
    std::array<std::vector<int>, 9> columns;  // 1..8, first dealt first
    std::array<int, 4> cells{};                // 0 = empty
    std::array<int, 4> foundations{};          // cards on each, 0..13

    static TableModel FromDeck(const std::array<int, 53>& deck);
    bool Won() const;
    // The move as the engine would carry it out, followed by its automatic play.
    // False (and nothing changes) when the engine would refuse it.
    bool Apply(const PlayerMove& m);
    void AutoPlay();
    std::string Key() const;
};

// A winning sequence of moves, if the search finds one within its budget.
std::optional<std::vector<PlayerMove>> Solve(const TableModel& start, int budget = 200000);

// A short winning line, searched best first among at most `budget` tables: short
// lines make quick tests that play a whole game through a real window.
std::optional<std::vector<PlayerMove>> ShortLine(const TableModel& start, size_t budget);
// The same line without the moves it can do without, still winning.
std::vector<PlayerMove> Shorten(const TableModel& start, std::vector<PlayerMove> plan);

}  // namespace karvelo::test
