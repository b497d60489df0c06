// One whole game, dealt from a fixed seed and won through the drop handlers alone. A
// small solver finds the moves on a model of the table; replaying them, the engine
// must agree with the model after every drop, automatic play included.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine_fixture.h"

namespace enginetest {
namespace {

using namespace funktioner;

struct Step {
    enum Kind { Foundation, Cell, Column } kind;
    int card;
    int to;  // foundation, free-cell slot or column (0-based)
};

struct Model {
    std::array<std::vector<int>, 8> columns;
    std::array<int, 4> cells{};
    std::array<int, 4> played{};  // cards on each foundation

    static Model FromBoard() {
        Model m;
        for (int c = 0; c < 8; ++c) {
            for (int r = 1; r <= Board(c + 1, 0); ++r) m.columns[static_cast<size_t>(c)].push_back(Board(c + 1, r));
        }
        for (int s = 0; s < 4; ++s) m.cells[static_cast<size_t>(s)] = Board(0, s + 1);
        for (int p = 0; p < 4; ++p) m.played[static_cast<size_t>(p)] = Board(9, p + 1) - 13 * p;
        return m;
    }

    bool MatchesBoard() const { return FromBoard().Key(false) == Key(false); }

    int EmptyCells() const {
        int n = 0;
        for (int c : cells) n += c == 0 ? 1 : 0;
        return n;
    }
    int EmptyColumns() const {
        int n = 0;
        for (const auto& c : columns) n += c.empty() ? 1 : 0;
        return n;
    }
    int Capacity(bool toEmpty) const {
        return (EmptyCells() + 1) << (EmptyColumns() - (toEmpty ? 1 : 0));
    }
    bool Next(int code) const { return RankOf(code) == played[static_cast<size_t>(SuitOf(code))] + 1; }
    bool Safe(int code) const {
        for (int q = ColourOf(code) == 0 ? 1 : 0; q < 4; q += 2) {
            if (RankOf(code) > played[static_cast<size_t>(q)] + 2) return false;
        }
        return true;
    }
    bool Won() const { return played == std::array<int, 4>{13, 13, 13, 13}; }

    void AutoPlay() {
        for (;;) {
            bool any = false;
            for (auto& col : columns) {
                if (!col.empty() && Next(col.back()) && Safe(col.back())) {
                    ++played[static_cast<size_t>(SuitOf(col.back()))];
                    col.pop_back();
                    any = true;
                    break;
                }
            }
            for (auto& cell : cells) {
                if (cell != 0 && Next(cell) && Safe(cell)) {
                    ++played[static_cast<size_t>(SuitOf(cell))];
                    cell = 0;
                    any = true;
                    break;
                }
            }
            if (!any) return;
        }
    }

    // Takes the card and everything on it off its place.
    std::vector<int> Lift(int card) {
        for (auto& cell : cells) {
            if (cell == card) {
                cell = 0;
                return {card};
            }
        }
        for (auto& col : columns) {
            for (size_t i = 0; i < col.size(); ++i) {
                if (col[i] == card) {
                    std::vector<int> run(col.begin() + static_cast<long>(i), col.end());
                    col.resize(i);
                    return run;
                }
            }
        }
        return {};
    }

    void Apply(const Step& s) {
        auto run = Lift(s.card);
        if (s.kind == Step::Foundation) ++played[static_cast<size_t>(SuitOf(s.card))];
        if (s.kind == Step::Cell) cells[static_cast<size_t>(s.to)] = s.card;
        if (s.kind == Step::Column) {
            auto& col = columns[static_cast<size_t>(s.to)];
            col.insert(col.end(), run.begin(), run.end());
        }
        AutoPlay();
    }

    std::vector<Step> Moves() const {
        std::vector<Step> out;
        auto freeCards = [&] {
            std::vector<int> cards;
            for (const auto& col : columns) {
                if (!col.empty()) cards.push_back(col.back());
            }
            for (int cell : cells) {
                if (cell != 0) cards.push_back(cell);
            }
            return cards;
        };
        for (int card : freeCards()) {
            if (Next(card)) out.push_back({Step::Foundation, card, SuitOf(card)});
        }
        int firstEmpty = -1;
        for (int c = 0; c < 8 && firstEmpty < 0; ++c) {
            if (columns[static_cast<size_t>(c)].empty()) firstEmpty = c;
        }
        std::vector<Step> toEmpty;
        // Runs and single cards onto cards.
        for (int from = 0; from < 8; ++from) {
            const auto& col = columns[static_cast<size_t>(from)];
            for (size_t k = col.size(); k-- > 0;) {
                if (k + 1 < col.size() && !CanStackOn(col[k], col[k + 1])) break;
                const int n = static_cast<int>(col.size() - k);
                for (int to = 0; to < 8; ++to) {
                    const auto& dest = columns[static_cast<size_t>(to)];
                    if (to == from || dest.empty()) continue;
                    if (CanStackOn(dest.back(), col[k]) && n <= Capacity(false)) {
                        out.push_back({Step::Column, col[k], to});
                    }
                }
                if (firstEmpty >= 0 && k > 0 && n <= Capacity(true)) {
                    toEmpty.push_back({Step::Column, col[k], firstEmpty});
                }
            }
        }
        for (int cell : cells) {
            if (cell == 0) continue;
            for (int to = 0; to < 8; ++to) {
                const auto& dest = columns[static_cast<size_t>(to)];
                if (!dest.empty() && CanStackOn(dest.back(), cell)) out.push_back({Step::Column, cell, to});
            }
            if (firstEmpty >= 0) toEmpty.push_back({Step::Column, cell, firstEmpty});
        }
        int slot = 0;
        while (slot < 4 && cells[static_cast<size_t>(slot)] != 0) ++slot;
        if (slot < 4) {
            for (const auto& col : columns) {
                if (!col.empty()) out.push_back({Step::Cell, col.back(), slot});
            }
        }
        out.insert(out.end(), toEmpty.begin(), toEmpty.end());
        return out;
    }

    // With `canonical`, free cells count as a set.
    std::string Key(bool canonical = true) const {
        std::string key;
        auto cellsCopy = cells;
        if (canonical) std::sort(cellsCopy.begin(), cellsCopy.end());
        for (int c : cellsCopy) key += static_cast<char>(c);
        for (const auto& col : columns) {
            key += '|';
            for (int c : col) key += static_cast<char>(c);
        }
        for (int p : played) key += static_cast<char>(p);
        return key;
    }
};

class Solver {
public:
    explicit Solver(int nodeLimit) : limit_(nodeLimit) {}
    bool Solve(const Model& m, std::vector<Step>& path) {
        if (m.Won()) return true;
        if (++nodes_ > limit_ || !seen_.insert(m.Key()).second) return false;
        for (const auto& step : m.Moves()) {
            Model next = m;
            next.Apply(step);
            path.push_back(step);
            if (Solve(next, path)) return true;
            path.pop_back();
        }
        return false;
    }
private:
    int limit_;
    int nodes_ = 0;
    std::unordered_set<std::string> seen_;
};

class WholeGameTest : public EngineTest {
protected:
    // Deals from `seed` and looks for a solution; false if none is found quickly.
    bool Plan(uint32_t seed, std::vector<Step>& path) {
        SeedDeals(seed);
        NewGame();
        Model start = Model::FromBoard();
        start.AutoPlay();  // the first drop's automatic play
        path.clear();
        Solver solver(20000);
        return solver.Solve(start, path);
    }
};

TEST_F(WholeGameTest, FixedDealIsWonThroughTheDropHandlers) {
    std::vector<Step> path;
    uint32_t seed = 1;
    while (!Plan(seed, path)) {
        ASSERT_LT(seed, 20u) << "no quick solution among the first deals";
        ++seed;
    }
    ASSERT_FALSE(path.empty());

    // Replay on a fresh deal from the same seed.
    ResetEngine();
    results = RecordingResults{&log};
    for (int i = 1; i < FakeTable::kElements; ++i) {
        if (table.CardExists(i)) table.DestroyCard(i);
    }
    SeedDeals(seed);
    AnimationSpeed = 1;
    table.logMoves = false;
    NewGame();
    Model model = Model::FromBoard();
    bool usedDoubleClick = false, usedRun = false, usedEmptyColumn = false;
    for (size_t i = 0; i < path.size(); ++i) {
        const Step& s = path[i];
        SCOPED_TRACE(::testing::Message() << "step " << i << " card " << s.card << " to " << s.to);
        if (i == 0) model.AutoPlay();
        switch (s.kind) {
            case Step::Foundation:
                imgHog_DragDrop(static_cast<int16_t>(s.to), s.card);
                break;
            case Step::Cell:
                if (i % 2 == 0) {
                    imgKort_DblClick(static_cast<int16_t>(s.card));
                    usedDoubleClick = true;
                } else {
                    imgHand_DragDrop(static_cast<int16_t>(s.to), s.card);
                }
                break;
            case Step::Column: {
                const auto& dest = model.columns[static_cast<size_t>(s.to)];
                const int target = dest.empty() ? 60 + s.to : dest.back();
                usedEmptyColumn = usedEmptyColumn || dest.empty();
                for (const auto& col : model.columns) {
                    if (!col.empty() && col.back() != s.card &&
                        std::find(col.begin(), col.end(), s.card) != col.end()) {
                        usedRun = true;
                    }
                }
                imgKort_DragDrop(static_cast<int16_t>(target), s.card);
                break;
            }
        }
        model.Apply(s);
        if (model.Won()) break;
        ASSERT_TRUE(model.MatchesBoard());
        ASSERT_EQ(CheckTable(), "");
        log.clear();
    }
    EXPECT_TRUE(host.boxes.size() == 1 && host.boxes.back().title == "Karvelo");
    EXPECT_FALSE(GameInProgress);
    EXPECT_EQ(results.won, 1);
    EXPECT_EQ(results.winRun, 1);
    for (int i = 1; i <= 67; ++i) EXPECT_FALSE(table.card(i).exists);
    EXPECT_TRUE(usedDoubleClick);
    EXPECT_TRUE(usedRun || usedEmptyColumn);
}

}  // namespace
}  // namespace enginetest
