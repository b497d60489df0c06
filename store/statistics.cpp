// The statistics record: counters in memory, the current record under "\Statistik"
// and the total under "\StatistikTotal", kept through the registry layer.
#include "statistics.h"

#include <algorithm>
#include <limits>
#include <string>

#include "check.h"
#include "host.h"
#include "regapi.h"

namespace karvelo {
namespace {

const std::string kCurrentKey = std::string(RegAPI::kAppKey) + "\\Statistik";
const std::string kTotalKey = std::string(RegAPI::kAppKey) + "\\StatistikTotal";

std::string StatName(int i) { return "Stat " + std::to_string(i); }

int32_t Read(const std::string& key, int i) {
    return RegAPI::TextToInt32(RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, key, StatName(i)));
}

void Write(const std::string& key, int i, int32_t value) {
    RegAPI::SetNewValue(RegAPI::HKEY_CURRENT_USER, key, "Binary", StatName(i),
                        std::to_string(value));
}

// Counters stop at the ends of their range instead of wrapping round.
int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = int64_t{a} + int64_t{b};
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void Increment(int32_t& counter) { counter = SaturatingAdd(counter, 1); }

void Yield() { host().DoEvents(); }

// Reported when values are left unwritten because what they would be computed from
// could not be read: the store says "0" for an unreadable value, and writing sums
// of such zeros over the stored record would wipe it.
void ShowNotWritten() { RegAPI::ShowFailure("Could not set value"); }

// Reported when a record that was to be deleted stays (a sub-key holds it).
void ShowNotDeleted(const std::string& key) {
    RegAPI::ShowFailure("Could not delete key\r\nKey =  " + key);
}

}  // namespace

StatCounterArray StatCounters;

int32_t& StatCounterArray::operator()(int i) {
    KARVELO_ASSERT(i >= 0 && i <= kCounters);
    if (i < 0 || i >= static_cast<int>(cells_.size())) {
        scratch_ = 0;
        return scratch_;
    }
    return cells_[static_cast<size_t>(i)];
}

int32_t StatCounterArray::operator()(int i) const {
    KARVELO_ASSERT(i >= 0 && i <= kCounters);
    if (i < 0 || i >= static_cast<int>(cells_.size())) return 0;
    return cells_[static_cast<size_t>(i)];
}

namespace {

void StoreGameResult(bool won) {
    // On the SQLite store another copy's update waits until this one is written, and
    // the store keeps the whole update or none of it; the Windows registry has neither
    // (each value is written on its own).
    const RegAPI::Series series;
    auto& c = StatCounters;
    const uint64_t unreadableBefore = RegAPI::UnreadableReads();
    for (int i = 1; i <= kStoredCounters; ++i) c(i) = Read(kCurrentKey, i);
    const bool readable = RegAPI::UnreadableReads() == unreadableBefore;
    // The series is part of the stored record, which another copy's clearing may have
    // emptied: its counts and runs are never more than the record's. A record that an
    // earlier fault left with a current run beyond its longest is mended on the way.
    c(kSeriesPlayed) = std::min(c(kSeriesPlayed), c(kPlayed));
    c(kSeriesWon) = std::min(c(kSeriesWon), c(kWon));
    c(kSeriesWinRun) = std::min(c(kSeriesWinRun), c(kWinRun));
    c(kSeriesLossRun) = std::min(c(kSeriesLossRun), c(kLossRun));
    c(kPlayed) = std::max(c(kPlayed), c(kWon));
    c(kLongestWinRun) = std::max({c(kLongestWinRun), c(kLongestSeriesWinRun), c(kWinRun)});
    c(kLongestLossRun) = std::max({c(kLongestLossRun), c(kLongestSeriesLossRun), c(kLossRun)});

    if (won) {
        for (int i : {kPlayed, kWon, kWinRun, kSeriesPlayed, kSeriesWon, kSeriesWinRun})
            Increment(c(i));
        c(kLossRun) = 0;
        c(kSeriesLossRun) = 0;
        if (c(kWinRun) > c(kLongestWinRun)) c(kLongestWinRun) = c(kWinRun);
        if (c(kSeriesWinRun) > c(kLongestSeriesWinRun)) c(kLongestSeriesWinRun) = c(kSeriesWinRun);
    } else {
        for (int i : {kPlayed, kLossRun, kSeriesPlayed, kSeriesLossRun}) Increment(c(i));
        c(kWinRun) = 0;
        c(kSeriesWinRun) = 0;
        if (c(kLossRun) > c(kLongestLossRun)) c(kLongestLossRun) = c(kLossRun);
        if (c(kSeriesLossRun) > c(kLongestSeriesLossRun))
            c(kLongestSeriesLossRun) = c(kSeriesLossRun);
    }
    Yield();
    if (!readable) {
        // The stored record stays as it was; only this game goes unrecorded (the
        // counters in memory still count it for this run).
        ShowNotWritten();
        return;
    }

    for (int i = 1; i <= kStoredCounters; ++i) {
        Write(kCurrentKey, i, c(i));
        Yield();
    }
}

}  // namespace

void RecordGameResult(bool won) {
    // A game the store did not take is not counted in memory either, so the series
    // never runs ahead of the stored record.
    const StatCounterArray before = StatCounters;
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    StoreGameResult(won);
    if (RegAPI::FailuresShown() != failuresBefore) StatCounters = before;
}

void MergeTotalStatistics() {
    const RegAPI::Series series;
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, kTotalKey);
    Yield();
    for (int i = 1; i <= kTotalCounters; ++i) {
        const uint64_t unreadableBefore = RegAPI::UnreadableReads();
        const int32_t current = Read(kCurrentKey, i);
        Yield();
        const int32_t total = Read(kTotalKey, i);
        Yield();
        if (RegAPI::UnreadableReads() != unreadableBefore) {
            ShowNotWritten();  // the total keeps its value
        } else {
            const int32_t merged =
                i <= kWon ? SaturatingAdd(current, total) : std::max(current, total);
            Write(kTotalKey, i, merged);
        }
        Yield();
    }
}

void ClearCurrentStatistics() {
    // No game is recorded between the merge and the deletion, and where the store has
    // transactions the two are kept together or not at all: a failure reported in the
    // series takes the merge back.
    const RegAPI::Series series;
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    MergeTotalStatistics();
    // Deleting the current record after a merge that could not be read or written
    // would lose those games for good; it stays until a clearing gets them into the
    // total.
    if (RegAPI::FailuresShown() != failuresBefore) return;
    const uint64_t undeletedBefore = RegAPI::UndeletedKeys();
    RegAPI::DeleteRegKey(RegAPI::HKEY_CURRENT_USER, kCurrentKey);
    if (RegAPI::UndeletedKeys() != undeletedBefore) {
        // A record that stayed as well as went into the total would be counted again
        // by the next clearing: nothing is cleared.
        ShowNotDeleted(kCurrentKey);
        return;
    }
    StatCounters.Clear();
}

void ClearTotalStatistics() {
    const uint64_t undeletedBefore = RegAPI::UndeletedKeys();
    RegAPI::DeleteRegKey(RegAPI::HKEY_CURRENT_USER, kTotalKey);
    if (RegAPI::UndeletedKeys() != undeletedBefore) ShowNotDeleted(kTotalKey);
}

void LoadStoredCounters() {
    const uint64_t unreadableBefore = RegAPI::UnreadableReads();
    std::array<int32_t, kStoredCounters + 1> stored{};
    for (int i = 1; i <= kStoredCounters; ++i) {
        stored[static_cast<size_t>(i)] = Read(kCurrentKey, i);
        Yield();
    }
    // An unreadable record reads as zeros; the counters of the last update are closer.
    if (RegAPI::UnreadableReads() != unreadableBefore) return;
    for (int i = 1; i <= kStoredCounters; ++i) StatCounters(i) = stored[static_cast<size_t>(i)];
}

std::array<int32_t, 7> CombinedRecord() {
    std::array<int32_t, 7> record{};
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, kTotalKey);
    Yield();
    for (int i = 1; i <= kTotalCounters; ++i) {
        const int32_t total = Read(kTotalKey, i);
        Yield();
        const int32_t current = Read(kCurrentKey, i);
        Yield();
        record[static_cast<size_t>(i)] =
            i <= kWon ? SaturatingAdd(current, total) : (total > current ? total : current);
    }
    return record;
}

}  // namespace karvelo
