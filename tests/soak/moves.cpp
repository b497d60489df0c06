#include "moves.h"

#include <algorithm>
#include <array>

#include "funktioner.h"

namespace karvelo::soak {
namespace {

using funktioner::Board;
using funktioner::CanStackOn;

bool SameTable(const test::TableModel& a, const test::TableModel& b) {
    // Free cells as a set: which one a card sits in changes no later move.
    auto cells = [](std::array<int, 4> c) {
        std::sort(c.begin(), c.end());
        return c;
    };
    return a.columns == b.columns && a.foundations == b.foundations &&
           cells(a.cells) == cells(b.cells);
}

// A dealt table: foundation 1 starts at 13, the code below the ace of Klöver.
bool Dealt() { return Board(9, 2) != 0; }

}  // namespace

std::string Play::Describe() const {
    const char* where = to == To::Column ? "column " : to == To::Cell ? "free cell " : "foundation ";
    return "card " + std::to_string(card) + " to " + where + std::to_string(index);
}

std::vector<Play> LegalMoves() {
    std::vector<Play> moves;
    if (!Dealt()) return moves;
    auto toColumns = [&](int card, int fromColumn) {
        for (int c = 1; c <= 8; ++c) {
            if (c == fromColumn) continue;
            const int n = Board(c, 0);
            if (n == 0 || CanStackOn(Board(c, n), card)) moves.push_back({card, Play::To::Column, c});
        }
    };
    auto single = [&](int card, int fromColumn) {
        toColumns(card, fromColumn);
        for (int s = 0; s < 4; ++s)
            if (fromColumn != 0 && Board(0, s + 1) == 0) moves.push_back({card, Play::To::Cell, s});
        const int suit = funktioner::SuitOf(card);
        if (card == Board(9, suit + 1) + 1) moves.push_back({card, Play::To::Foundation, suit});
    };
    for (int s = 1; s <= 4; ++s)
        if (Board(0, s) != 0) single(Board(0, s), 0);
    for (int c = 1; c <= 8; ++c) {
        const int n = Board(c, 0);
        if (n == 0) continue;
        single(Board(c, n), c);
        // Runs: from the exposed card upwards while the order holds.
        for (int r = n - 1; r >= 1 && CanStackOn(Board(c, r), Board(c, r + 1)); --r)
            toColumns(Board(c, r), c);
    }
    return moves;
}

test::TableModel BoardModel() {
    test::TableModel t;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= Board(c, 0); ++r) t.columns[static_cast<size_t>(c)].push_back(Board(c, r));
    for (int s = 0; s < 4; ++s) t.cells[static_cast<size_t>(s)] = Board(0, s + 1);
    for (int p = 0; p < 4; ++p) t.foundations[static_cast<size_t>(p)] = Board(9, p + 1) - 13 * p;
    return t;
}

std::optional<Play> Planner::Next() {
    const test::TableModel now = BoardModel();
    if (!Dealt() || now.Won()) return std::nullopt;
    if (next_ >= plan_.size() || !SameTable(now, expected_)) {
        plan_.clear();
        next_ = 0;
        if (gaveUp_) return std::nullopt;
        ++solves_;
        auto plan = test::Solve(now, budget_);
        if (!plan || plan->empty()) {
            gaveUp_ = true;
            return std::nullopt;
        }
        plan_ = std::move(*plan);
    }
    const test::PlayerMove& m = plan_[next_++];
    expected_ = now;
    // The card may sit in another free cell than the plan thinks; the model follows
    // the card.
    test::PlayerMove actual = m;
    if (actual.from.kind == test::Place::Kind::Cell)
        for (int s = 0; s < 4; ++s)
            if (now.cells[static_cast<size_t>(s)] == m.card) actual.from.index = s;
    if (actual.to.kind == test::Place::Kind::Cell &&
        now.cells[static_cast<size_t>(actual.to.index)] != 0)
        for (int s = 0; s < 4; ++s)
            if (now.cells[static_cast<size_t>(s)] == 0) actual.to.index = s;
    if (!expected_.Apply(actual)) {
        plan_.clear();
        return std::nullopt;
    }
    Play move{m.card, Play::To::Column, actual.to.index};
    if (actual.to.kind == test::Place::Kind::Cell) move.to = Play::To::Cell;
    if (actual.to.kind == test::Place::Kind::Foundation) move.to = Play::To::Foundation;
    return move;
}

}  // namespace karvelo::soak
