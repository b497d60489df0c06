#include "solver.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "funktioner.h"

namespace karvelo::test {
namespace {

using funktioner::CanStackOn;
using funktioner::RankOf;
using funktioner::SuitOf;

bool NextOnFoundation(const TableModel& t, int card) {
    return t.foundations[static_cast<size_t>(SuitOf(card))] == RankOf(card) - 1;
}

bool Safe(const TableModel& t, int card) {
    const int red = funktioner::ColourOf(card) == 0;
    for (int q : red ? std::array<int, 2>{1, 3} : std::array<int, 2>{0, 2})
        if ((card - 1) % 13 > t.foundations[static_cast<size_t>(q)] + 1) return false;
    return true;
}

}  // namespace

TableModel TableModel::FromDeck(const std::array<int, 53>& deck) {
    TableModel t;
    for (int p = 1; p <= 52; ++p) t.columns[static_cast<size_t>((p - 1) % 8 + 1)].push_back(deck[static_cast<size_t>(p)]);
    return t;
}

bool TableModel::Won() const {
    for (int f : foundations)
        if (f != 13) return false;
    return true;
}

void TableModel::AutoPlay() {
    for (;;) {
        bool played = false;
        for (int c = 1; c <= 8; ++c) {
            auto& col = columns[static_cast<size_t>(c)];
            if (col.empty()) continue;
            const int card = col.back();
            if (NextOnFoundation(*this, card) && Safe(*this, card)) {
                col.pop_back();
                ++foundations[static_cast<size_t>(SuitOf(card))];
                played = true;
                break;
            }
        }
        bool cellPlayed = false;
        for (int& cell : cells) {
            if (cell && NextOnFoundation(*this, cell) && Safe(*this, cell)) {
                ++foundations[static_cast<size_t>(SuitOf(cell))];
                cell = 0;
                cellPlayed = true;
                break;
            }
        }
        if (!played && !cellPlayed) return;
    }
}

bool TableModel::Apply(const PlayerMove& m) {
    // Where the card is taken from must hold it, free.
    int card = 0;
    if (m.from.kind == Place::Kind::Column) {
        const auto& col = columns[static_cast<size_t>(m.from.index)];
        if (col.empty()) return false;
        card = col.back();
    } else if (m.from.kind == Place::Kind::Cell) {
        card = cells[static_cast<size_t>(m.from.index)];
    }
    if (card == 0 || card != m.card) return false;

    switch (m.to.kind) {
    case Place::Kind::Column: {
        const auto& target = columns[static_cast<size_t>(m.to.index)];
        if (!target.empty() && !CanStackOn(target.back(), card)) return false;
        if (m.from.kind == Place::Kind::Column && m.from.index == m.to.index) return false;
        break;
    }
    case Place::Kind::Cell:
        if (cells[static_cast<size_t>(m.to.index)] != 0) return false;
        break;
    case Place::Kind::Foundation:
        if (SuitOf(card) != m.to.index || !NextOnFoundation(*this, card)) return false;
        break;
    }
    if (m.from.kind == Place::Kind::Column) {
        columns[static_cast<size_t>(m.from.index)].pop_back();
    } else {
        cells[static_cast<size_t>(m.from.index)] = 0;
    }
    switch (m.to.kind) {
    case Place::Kind::Column: columns[static_cast<size_t>(m.to.index)].push_back(card); break;
    case Place::Kind::Cell: cells[static_cast<size_t>(m.to.index)] = card; break;
    case Place::Kind::Foundation: ++foundations[static_cast<size_t>(m.to.index)]; break;
    }
    AutoPlay();
    return true;
}

std::string TableModel::Key() const {
    // Free cells and columns as sets: their order does not change what can follow.
    std::vector<std::string> cols;
    for (int c = 1; c <= 8; ++c) {
        std::string s;
        for (int card : columns[static_cast<size_t>(c)]) s += static_cast<char>(card);
        cols.push_back(s);
    }
    std::sort(cols.begin(), cols.end());
    std::array<int, 4> cs = cells;
    std::sort(cs.begin(), cs.end());
    std::string key;
    for (int c : cs) key += static_cast<char>(c + 1);
    for (const auto& s : cols) key += s + '|';
    return key;
}

std::optional<std::vector<PlayerMove>> Solve(const TableModel& start, int budget) {
    std::unordered_set<std::string> seen;
    std::vector<PlayerMove> path;
    int visited = 0;

    std::function<bool(const TableModel&)> search = [&](const TableModel& t) -> bool {
        if (t.Won()) return true;
        if (++visited > budget) return false;
        if (!seen.insert(t.Key()).second) return false;

        std::vector<PlayerMove> moves;
        auto sources = [&](auto&& each) {
            for (int c = 1; c <= 8; ++c)
                if (!t.columns[static_cast<size_t>(c)].empty())
                    each(Place{Place::Kind::Column, c}, t.columns[static_cast<size_t>(c)].back());
            for (int s = 0; s < 4; ++s)
                if (t.cells[static_cast<size_t>(s)])
                    each(Place{Place::Kind::Cell, s}, t.cells[static_cast<size_t>(s)]);
        };
        // Foundations first, then building on cards, then empty columns, then cells.
        sources([&](Place from, int card) {
            moves.push_back({from, {Place::Kind::Foundation, SuitOf(card)}, card});
        });
        sources([&](Place from, int card) {
            for (int c = 1; c <= 8; ++c)
                if (!t.columns[static_cast<size_t>(c)].empty())
                    moves.push_back({from, {Place::Kind::Column, c}, card});
        });
        sources([&](Place from, int card) {
            // One empty column is as good as another.
            for (int c = 1; c <= 8; ++c)
                if (t.columns[static_cast<size_t>(c)].empty()) {
                    if (from.kind == Place::Kind::Column &&
                        t.columns[static_cast<size_t>(from.index)].size() == 1)
                        break;
                    moves.push_back({from, {Place::Kind::Column, c}, card});
                    break;
                }
        });
        sources([&](Place from, int card) {
            if (from.kind != Place::Kind::Column) return;
            for (int s = 0; s < 4; ++s)
                if (!t.cells[static_cast<size_t>(s)]) {
                    moves.push_back({from, {Place::Kind::Cell, s}, card});
                    break;
                }
        });
        for (const PlayerMove& m : moves) {
            TableModel next = t;
            if (!next.Apply(m)) continue;
            path.push_back(m);
            if (search(next)) return true;
            path.pop_back();
        }
        return false;
    };
    if (search(start)) return path;
    return std::nullopt;
}

}  // namespace karvelo::test
