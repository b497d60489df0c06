#pragma once
// The statistics record: counters in memory, the current record under "\Statistik"
// and the total under "\StatistikTotal".
#include <array>
#include <cstddef>
#include <cstdint>

namespace karvelo {

// The statistics counters by number. 1 to 8 are also the stored record's "Stat 1" to
// "Stat 8" (1 to 6 those of the total); 9, 10, 13 and 14 live only in memory, for
// the series since the program started or the statistics were last cleared.
enum StatCounter : int {
    kPlayed = 1,                // games played
    kWon = 2,                   // games won
    kLongestWinRun = 3,         // longest run of wins
    kLongestLossRun = 4,        // longest run of losses
    kLongestSeriesWinRun = 5,   // longest run of wins within one series
    kLongestSeriesLossRun = 6,  // longest run of losses within one series
    kWinRun = 7,                // current run of wins (0 after a loss)
    kLossRun = 8,               // current run of losses (0 after a win)
    kSeriesPlayed = 9,
    kSeriesWon = 10,
    kSeriesWinRun = 13,
    kSeriesLossRun = 14,
};
inline constexpr int kStoredCounters = 8;  // "Stat 1" to "Stat 8" of "\Statistik"
inline constexpr int kTotalCounters = 6;   // "Stat 1" to "Stat 6" of "\StatistikTotal"
inline constexpr int kCounters = 14;

// StatCounters(1) to StatCounters(14); index 0, 11 and 12 unused.
class StatCounterArray {
public:
    int32_t& operator()(int i);
    int32_t operator()(int i) const;
    const int32_t* data() const { return cells_.data(); }  // element 0 is index 0
    void Clear() { cells_.fill(0); }
private:
    std::array<int32_t, 15> cells_{};
    int32_t scratch_ = 0;
};
// StatCounters: the counters of this sitting, which its store session owns
// (store_session.h), by the name the rest of the program knows them.
class SessionCounters {
public:
    int32_t& operator()(int i) const;
    const int32_t* data() const;
    void Clear() const;
    operator StatCounterArray() const;  // a copy of them
    const SessionCounters& operator=(const StatCounterArray& values) const;
};
inline constexpr SessionCounters StatCounters{};

// The one way the rest of the program reports the end of a game. A game that cannot be
// written because another program holds the store is kept and written, in order and
// once, as soon as the store can be written again: with the next game, when the
// statistics are looked at or cleared, or when the program ends.
void RecordGameResult(bool won);
// Writes the games held back; false when the store is still held.
bool WriteHeldGames();
// At the end of the program: one full wait for the store, then whatever is still held
// back is given up.
void WriteHeldGamesBeforeTheEnd();
// How many games are waiting for the store.
size_t HeldGames();

// Completes a game's update or a clearing that was cut short (the program killed in
// the middle of it), from the journal it left; called at start-up, and by each
// operation below before its own.
void CompleteInterruptedStatistics();

// Folds the stored current record into the total.
void MergeTotalStatistics();
// Merge, delete "\Statistik", all counters to 0.
void ClearCurrentStatistics();
// Deletes "\StatistikTotal".
void ClearTotalStatistics();
// Loads counters 1 to 8 from the stored current record (before showing them); false,
// with the counters left as they were, when the record could not be read.
bool LoadStoredCounters();
// The full view's record, entries 1 to 6 (entry 0 unused); *readable false when the
// store could not be read (the figures then are not what it holds).
std::array<int32_t, 7> CombinedRecord(bool* readable = nullptr);

}  // namespace karvelo
