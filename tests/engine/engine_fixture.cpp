#include "engine_fixture.h"

#include <random>

#include "tags.h"

namespace enginetest {

using namespace funktioner;

void EngineTest::SetUp() {
    ResetEngine();
    SeedDeals(1);
    log.clear();
}

void EngineTest::TearDown() {
    ResetEngine();
    EXPECT_EQ(table.misuse, 0) << "the engine touched an element that does not exist";
}

void EngineTest::SeedDeals(uint32_t seed) {
    SetRandomSource([g = std::mt19937(seed)]() mutable {
        return static_cast<float>(g() >> 8) * 0x1p-24f;
    });
}

namespace {

void PlaceCard(FakeTable& t, int code, const std::string& tag, float left, float top,
               bool enabled) {
    t.CreateCard(code);
    t.SetPicture(code, 100 + code);
    t.SetTag(code, tag);
    t.Move(code, left, top);
    t.SetEnabled(code, enabled);
    t.SetVisible(code, true);
    t.BringToFront(code);
}

}  // namespace

void EngineTest::LayOut(const Position& p) {
    for (int i = 1; i < FakeTable::kElements; ++i) {
        if (table.CardExists(i)) table.DestroyCard(i);
    }
    host.boxes.clear();
    Board.Clear();
    Deck.Clear();
    for (int q = 0; q < 4; ++q) {
        for (int r = 1; r <= p.onFoundation[static_cast<size_t>(q)]; ++r) {
            // Played cards keep a stale tag, as the game leaves them.
            PlaceCard(table, 13 * q + r, "11", 5280.0f + 1080.0f * q + 40, 30, false);
        }
        Board(9, q + 1) = 13 * q + p.onFoundation[static_cast<size_t>(q)];
        Board(9, 0) += p.onFoundation[static_cast<size_t>(q)];
    }
    for (size_t c = 0; c < p.columns.size() && c < 8; ++c) {
        const int column = static_cast<int>(c) + 1;
        int row = 0;
        for (int code : p.columns[c]) {
            ++row;
            PlaceCard(table, code, MakeTag(column, row), 120.0f + 1200.0f * (column - 1),
                      1680.0f + 300.0f * (row - 1), true);
            Board(column, row) = code;
        }
        Board(column, 0) = row;
    }
    for (int s = 0; s < 4; ++s) {
        const int code = p.freeCells[static_cast<size_t>(s)];
        if (code == 0) continue;
        PlaceCard(table, code, MakeTag(0, s + 1), 1080.0f * s + 40, 30, true);
        Board(0, s + 1) = code;
        ++Board(0, 0);
    }
    for (int column = 1; column <= 8; ++column) {
        const int base = 59 + column;
        table.CreateCard(base);
        table.SetPicture(base, 0);
        table.SetBorder(base, true);
        table.Move(base, 125.0f + 1200.0f * (column - 1), 1685);
        table.SetSize(base, 1055, 1430);
        table.SendToBack(base);
        table.SetTag(base, MakeTag(9, column));
        table.SetEnabled(base, true);
        table.SetVisible(base, true);
    }
    table.SetVisible(0, false);
    table.SetEnabled(0, false);
    table.SendToBack(0);
    GameInProgress = true;
    log.clear();
}

std::string EngineTest::CheckTable() const {
    auto fault = [](const std::string& what) { return what; };
    std::array<int, 53> seen{};
    auto visit = [&](int column, int row) -> std::string {
        const int code = Board(column, row);
        if (code < 1 || code > 52) return fault("bad code at " + MakeTag(column, row));
        if (++seen[static_cast<size_t>(code)] > 1) {
            return fault("code " + std::to_string(code) + " twice");
        }
        const auto& e = table.card(code);
        if (!e.exists) return fault("no picture for " + std::to_string(code));
        if (e.tag != MakeTag(column, row)) {
            return fault("card " + std::to_string(code) + " tagged " + e.tag + " lies at " +
                         MakeTag(column, row));
        }
        if (e.picture != 100 + code || !e.visible || !e.enabled) {
            return fault("card " + std::to_string(code) + " looks wrong");
        }
        const float left = column == 0 ? 1080.0f * (row - 1) + 40 : 120.0f + 1200.0f * (column - 1);
        const float top = column == 0 ? 30.0f : 1680.0f + 300.0f * (row - 1);
        if (e.left != left || e.top != top) {
            return fault("card " + std::to_string(code) + " stands at " + std::to_string(e.left) +
                         "," + std::to_string(e.top) + " not at its tag " + e.tag);
        }
        return {};
    };

    int occupied = 0;
    for (int row = 1; row <= 4; ++row) {
        if (Board(0, row) == 0) continue;
        ++occupied;
        if (auto f = visit(0, row); !f.empty()) return f;
    }
    if (Board(0, 0) != occupied) return fault("free-cell count wrong");
    for (int row = 5; row < BoardArray::kRows; ++row) {
        if (Board(0, row) != 0) return fault("free-cell row beyond 4 in use");
    }
    for (int column = 1; column <= 8; ++column) {
        const int n = Board(column, 0);
        if (n < 0 || n >= BoardArray::kRows) return fault("column count out of range");
        for (int row = 1; row < BoardArray::kRows; ++row) {
            if ((Board(column, row) != 0) != (row <= n)) {
                return fault("column " + std::to_string(column) + " rows disagree with count");
            }
            if (row <= n) {
                if (auto f = visit(column, row); !f.empty()) return f;
                if (row > 1 && table.Depth(Board(column, row)) < table.Depth(Board(column, row - 1))) {
                    return fault("card at " + MakeTag(column, row) + " lies behind the one it covers");
                }
            }
        }
    }
    int played = 0;
    for (int q = 0; q < 4; ++q) {
        const int h = Board(9, q + 1) - 13 * q;
        if (h < 0 || h > 13) return fault("foundation out of range");
        played += h;
        for (int r = 1; r <= h; ++r) {
            const int code = 13 * q + r;
            if (seen[static_cast<size_t>(code)] != 0) {
                return fault("code " + std::to_string(code) + " on a foundation and on the table");
            }
            seen[static_cast<size_t>(code)] = 1;
            if (!table.card(code).exists || table.card(code).enabled) {
                return fault("played card " + std::to_string(code) + " not disabled");
            }
        }
        if (h > 0) {
            const auto& top = table.card(13 * q + h);
            if (top.left != 5280.0f + 1080.0f * q + 40 || top.top != 30.0f) {
                return fault("foundation top card out of place");
            }
        }
    }
    if (Board(9, 0) != played) return fault("foundation count wrong");
    for (int code = 1; code <= 52; ++code) {
        if (seen[static_cast<size_t>(code)] != 1) {
            return fault("code " + std::to_string(code) + " missing");
        }
    }
    return {};
}

int EngineTest::Count(const std::string& prefix) const {
    int n = 0;
    for (const auto& line : log) {
        if (line.rfind(prefix, 0) == 0) ++n;
    }
    return n;
}

}  // namespace enginetest
