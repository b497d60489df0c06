#pragma once
// The statistics record: counters in memory, the current record under "\Statistik"
// and the total under "\StatistikTotal".
#include <array>
#include <cstdint>

namespace karvelo {

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
extern StatCounterArray StatCounters;

// The one way the rest of the program reports the end of a game.
void RecordGameResult(bool won);

// Folds the stored current record into the total.
void MergeTotalStatistics();
// Merge, delete "\Statistik", all counters to 0.
void ClearCurrentStatistics();
// Deletes "\StatistikTotal".
void ClearTotalStatistics();
// Loads counters 1 to 8 from the stored current record (before showing them).
void LoadStoredCounters();
// The full view's record, entries 1 to 6 (entry 0 unused).
std::array<int32_t, 7> CombinedRecord();

}  // namespace karvelo
