#pragma once
// Moves a player could make on the board in memory: every legal one, for random
// play, and the next step of a winning plan, so that the soak also wins games.
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "solver.h"

namespace karvelo::soak {

struct Play {
    enum class To { Column, Cell, Foundation };
    int card = 0;  // the dragged card; a run moves with it
    To to = To::Column;
    int index = 0;  // column 1..8, free cell 0..3, foundation 0..3
    std::string Describe() const;
};

// Every move the rules admit now, runs included (also those too long for the free
// cells and empty columns, which the game refuses with its message).
std::vector<Play> LegalMoves();

// The table in memory as the solver sees it.
test::TableModel BoardModel();

// Follows a winning plan found by the solver, finding a new one whenever the table
// is not where the plan expected it. Once a search has failed, the rest of that game
// is left to random play: searching again would mostly fail again, and slowly.
class Planner {
public:
    explicit Planner(int budget) : budget_(budget) {}
    std::optional<Play> Next();
    void NewDeal() { gaveUp_ = false; plan_.clear(); }
    long solves() const { return solves_; }

private:
    int budget_;
    std::vector<test::PlayerMove> plan_;
    size_t next_ = 0;
    test::TableModel expected_;
    bool gaveUp_ = false;
    long solves_ = 0;
};

}  // namespace karvelo::soak
