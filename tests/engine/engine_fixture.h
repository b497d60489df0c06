#pragma once
// The fixture every engine test starts from: a fresh engine, a recording table, host
// and receiver of game results, and a fixed random source.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fake_table.h"
#include "funktioner.h"
#include "recording_host.h"
#include "recording_results.h"
#include "surroundings.h"

namespace enginetest {

// A position to lay out directly: the cards of each column from the deepest down,
// the free cells (0 = empty) and the number of cards on each foundation.
struct Position {
    std::vector<std::vector<int>> columns;  // up to 8; missing ones are empty
    std::array<int, 4> freeCells{};
    std::array<int, 4> onFoundation{};
};

// Codes of rank r (1 ace .. 13 king) in each suit.
constexpr int Hj(int r) { return r; }
constexpr int Kl(int r) { return 13 + r; }
constexpr int Ru(int r) { return 26 + r; }
constexpr int Sp(int r) { return 39 + r; }

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts pictures, tags and Board in the state `p` describes, as a game in progress.
    void LayOut(const Position& p);
    // A fixed sequence of draws for the shuffle.
    void SeedDeals(uint32_t seed);
    // Every invariant of the table: each code once, counts, tags, pictures in place.
    // Returns a description of the first fault, empty when all hold.
    std::string CheckTable() const;

    int Count(const std::string& prefix) const;

    std::vector<std::string> log;
    FakeTable table{&log};
    RecordingHost host{&log};
    RecordingResults results{&log};
    // The three above are the engine's surroundings for the test's lifetime.
    std::optional<funktioner::Surroundings> surroundings{
        std::in_place, funktioner::Attachments{.host = &host, .table = &table, .results = &results}};
};

}  // namespace enginetest
