// Stand-in for the statistics record: counts in memory only, until the store lands.
#include "statistics.h"

#include "host.h"

namespace karvelo {

StatCounterArray StatCounters;

int32_t& StatCounterArray::operator()(int i) {
    if (i < 0 || i >= static_cast<int>(cells_.size())) return scratch_;
    return cells_[static_cast<size_t>(i)];
}
int32_t StatCounterArray::operator()(int i) const {
    if (i < 0 || i >= static_cast<int>(cells_.size())) return 0;
    return cells_[static_cast<size_t>(i)];
}

void RecordGameResult(bool won) {
    auto& c = StatCounters;
    if (won) {
        ++c(1); ++c(2); ++c(7); ++c(9); ++c(10); ++c(13);
        c(8) = 0; c(14) = 0;
        if (c(7) > c(3)) c(3) = c(7);
        if (c(13) > c(5)) c(5) = c(13);
    } else {
        ++c(1); ++c(8); ++c(9); ++c(14);
        c(7) = 0; c(13) = 0;
        if (c(8) > c(4)) c(4) = c(8);
        if (c(14) > c(6)) c(6) = c(14);
    }
    host().DoEvents();
}

void MergeTotalStatistics() {}
void ClearCurrentStatistics() { StatCounters.Clear(); }
void ClearTotalStatistics() {}
void LoadStoredCounters() {}
std::array<int32_t, 7> CombinedRecord() { return {}; }

}  // namespace karvelo
