#include "solver.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <set>
#include <unordered_set>
#include <utility>

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

namespace {

bool Wins(const TableModel& start, const std::vector<PlayerMove>& plan) {
    TableModel t = start;
    for (const PlayerMove& m : plan)
        if (!t.Apply(m)) return false;
    return t.Won();
}

std::vector<PlayerMove> Without(const std::vector<PlayerMove>& plan, size_t leftOut) {
    std::vector<PlayerMove> rest;
    rest.reserve(plan.size());
    for (size_t i = 0; i < plan.size(); ++i)
        if (i != leftOut) rest.push_back(plan[i]);
    return rest;
}

}  // namespace

// A line may wander; each move it can do without, or make in one go with the
// same card's next move, is left out, as long as the line still wins.
std::vector<PlayerMove> Shorten(const TableModel& start, std::vector<PlayerMove> plan) {
    for (bool shorter = true; shorter;) {
        shorter = false;
        for (size_t i = 0; i < plan.size(); ++i) {
            std::vector<PlayerMove> trial = Without(plan, i);
            if (Wins(start, trial)) {
                plan = trial;
                shorter = true;
                continue;
            }
            for (size_t j = i + 1; j < plan.size(); ++j) {
                if (plan[j].card != plan[i].card) continue;
                trial = Without(plan, j);
                trial[i].to = plan[j].to;
                if (Wins(start, trial)) {
                    plan = trial;
                    shorter = true;
                }
                break;
            }
        }
    }
    return plan;
}

// A short winning line: best first, by the moves made so far plus an estimate of the
// moves still needed (cards not yet on a foundation, weighed double, cards lying on a
// lower card of their column, and full free cells), over single-card moves as the
// depth-first solver makes them. Short lines make a quick test.
std::optional<std::vector<PlayerMove>> ShortLine(const TableModel& start, size_t budget) {
    struct Node {
        TableModel table;
        int parent;
        PlayerMove move;
        int moves;
    };
    const auto estimate = [](const TableModel& t) {
        int h = 0;
        for (int f : t.foundations) h += 2 * (13 - f);
        for (int c : t.cells) h += c != 0;
        for (int c = 1; c <= 8; ++c) {
            const auto& col = t.columns[static_cast<size_t>(c)];
            int lowest = 14;
            for (int card : col) {
                const int rank = (card - 1) % 13 + 1;
                if (rank > lowest) ++h;
                lowest = std::min(lowest, rank);
            }
        }
        return h;
    };
    std::vector<Node> nodes;
    nodes.push_back({start, -1, {}, 0});
    using Entry = std::pair<int, int>;  // priority, node
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    open.push({estimate(start), 0});
    std::set<std::string> seen{start.Key()};
    while (!open.empty() && nodes.size() < budget) {
        const int at = open.top().second;
        open.pop();
        if (nodes[static_cast<size_t>(at)].table.Won()) {
            std::vector<PlayerMove> line;
            for (int n = at; nodes[static_cast<size_t>(n)].parent >= 0; n = nodes[static_cast<size_t>(n)].parent)
                line.push_back(nodes[static_cast<size_t>(n)].move);
            std::reverse(line.begin(), line.end());
            return line;
        }
        const TableModel t = nodes[static_cast<size_t>(at)].table;
        const int made = nodes[static_cast<size_t>(at)].moves;
        std::vector<PlayerMove> moves;
        const auto from = [&](auto&& each) {
            for (int c = 1; c <= 8; ++c)
                if (!t.columns[static_cast<size_t>(c)].empty())
                    each(Place{Place::Kind::Column, c}, t.columns[static_cast<size_t>(c)].back());
            for (int i = 0; i < 4; ++i)
                if (t.cells[static_cast<size_t>(i)]) each(Place{Place::Kind::Cell, i}, t.cells[static_cast<size_t>(i)]);
        };
        from([&](Place f, int card) {
            moves.push_back({f, {Place::Kind::Foundation, (card - 1) / 13}, card});
            bool empty = false;
            for (int c = 1; c <= 8; ++c) {
                const bool isEmpty = t.columns[static_cast<size_t>(c)].empty();
                if (isEmpty && empty) continue;  // one empty column is as good as another
                empty = empty || isEmpty;
                moves.push_back({f, {Place::Kind::Column, c}, card});
            }
            if (f.kind == Place::Kind::Column)
                for (int i = 0; i < 4; ++i)
                    if (!t.cells[static_cast<size_t>(i)]) {
                        moves.push_back({f, {Place::Kind::Cell, i}, card});
                        break;
                    }
        });
        for (const PlayerMove& m : moves) {
            TableModel next = t;
            if (!next.Apply(m) || !seen.insert(next.Key()).second) continue;
            nodes.push_back({next, at, m, made + 1});
            open.push({made + 1 + 2 * estimate(next), static_cast<int>(nodes.size() - 1)});
        }
    }
    return std::nullopt;
}

}  // namespace karvelo::test
