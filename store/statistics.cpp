// The statistics record: counters in memory, the current record under "\Statistik"
// and the total under "\StatistikTotal", kept through the registry layer.
#include "statistics.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <optional>
#include <string>

#include "check.h"
#include "host.h"
#include "reg_backend.h"
#include "regapi.h"
#include "statistics_journal.h"
#include "store_session.h"

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
// of such zeros over the stored record would wipe it. Where another program held the
// store, the store has told the player so once for the sitting.
void ShowNotWritten(uint64_t heldBefore) {
    RegAPI::ShowFailure("Could not set value", RegAPI::HeldOperations() != heldBefore);
}

// Reported when a record that was to be deleted stays (a sub-key holds it).
void ShowNotDeleted(const std::string& key) {
    RegAPI::ShowFailure("Could not delete key\r\nKey =  " + key);
}

}  // namespace

int32_t& SessionCounters::operator()(int i) const { return session().counters(i); }
const int32_t* SessionCounters::data() const { return session().counters.data(); }
void SessionCounters::Clear() const { session().counters.Clear(); }
SessionCounters::operator StatCounterArray() const { return session().counters; }
const SessionCounters& SessionCounters::operator=(const StatCounterArray& values) const {
    session().counters = values;
    return *this;
}

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

const std::string kJournalKey = std::string(RegAPI::kAppKey) + "\\Journal";
constexpr const char* kJournalValue = "Entry";

using Current = std::array<int32_t, kStoredCounters + 1>;  // "Stat 1".."Stat 8"; 0 unused
using Total = std::array<int32_t, kTotalCounters + 1>;     // "Stat 1".."Stat 6"; 0 unused

// Reads "Stat 1" to "Stat <count>" of a key; false when the store could not be read
// (the values then are not what is stored). It stops at the first value it cannot
// read: the rest would each wait for a held store in vain.
template <size_t N>
bool ReadRecord(const std::string& key, std::array<int32_t, N>* values, bool yield = false) {
    const uint64_t unreadableBefore = RegAPI::UnreadableReads();
    for (size_t i = 1; i < N; ++i) {
        (*values)[i] = Read(key, static_cast<int>(i));
        if (yield) Yield();
        if (RegAPI::UnreadableReads() != unreadableBefore) return false;
    }
    return true;
}

bool StandsInForUnreadFile() {
    try {
        return RegAPI::backend().StandsInForUnreadFile();
    } catch (...) {
        return false;
    }
}

// True when every operation since `failuresBefore` went through.
bool NoFailureSince(uint64_t failuresBefore) { return RegAPI::FailuresShown() == failuresBefore; }

bool WriteJournal(const JournalEntry& entry) {
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    RegAPI::SetNewValue(RegAPI::HKEY_CURRENT_USER, kJournalKey, "String", kJournalValue,
                        EncodeJournal(entry));
    return NoFailureSince(failuresBefore);
}

void RemoveJournal() {
    RegAPI::DeleteRegValue(RegAPI::HKEY_CURRENT_USER, kJournalKey, kJournalValue);
}

// Writes the values of `after` that differ from `now`; every step can be repeated.
template <size_t N>
void WriteChanged(const std::string& key, const std::array<int32_t, N>& now,
                  const std::array<int32_t, N>& after) {
    for (size_t i = 1; i < N; ++i)
        if (now[i] != after[i]) Write(key, static_cast<int>(i), after[i]);
}

// Each stored value is what the journal says it was, or what it was to become: the
// change was cut short in the middle. Anything else means the record was changed
// since (a backup restored, a hand edit) and the journal no longer belongs to it.
template <size_t N>
bool BetweenBeforeAndAfter(const std::array<int32_t, N>& now, const std::array<int32_t, N>& before,
                           const std::array<int32_t, N>& after) {
    for (size_t i = 1; i < N; ++i)
        if (now[i] != before[i] && now[i] != after[i]) return false;
    return true;
}

// The totals are written; what remains of a clearing is deleting the current record.
// Where it cannot be deleted, the totals go back to what they were, so that the games
// are never counted both in the total and in the record. False when it stays.
bool FinishClearing(const JournalEntry& entry, bool evenIfGone) {
    if (evenIfGone || RegAPI::KeyExists(RegAPI::HKEY_CURRENT_USER, kCurrentKey)) {
        const uint64_t undeletedBefore = RegAPI::UndeletedKeys();
        RegAPI::DeleteRegKey(RegAPI::HKEY_CURRENT_USER, kCurrentKey);
        if (RegAPI::UndeletedKeys() != undeletedBefore) {
            const uint64_t failuresBefore = RegAPI::FailuresShown();
            WriteChanged(kTotalKey, entry.totalAfter, entry.totalBefore);
            if (NoFailureSince(failuresBefore)) RemoveJournal();
            ShowNotDeleted(kCurrentKey);
            return false;
        }
    }
    return true;
}

// Completes a change that a journal left behind, or drops a journal that does not fit
// the record. Where the store cannot be read now, the journal stays for later.
void CompleteJournal() {
    const std::string text =
        RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, kJournalKey, kJournalValue);
    if (text == "0") return;  // none (or none readable)
    const std::optional<JournalEntry> entry = DecodeJournal(text);
    if (!entry) {
        RemoveJournal();  // not one this program wrote whole: never applied
        return;
    }
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    Current current{};
    if (!ReadRecord(kCurrentKey, &current)) return;
    if (entry->kind == JournalEntry::Kind::Game) {
        if (BetweenBeforeAndAfter(current, entry->currentBefore, entry->currentAfter))
            WriteChanged(kCurrentKey, current, entry->currentAfter);
        if (NoFailureSince(failuresBefore)) RemoveJournal();
        return;
    }

    Total total{};
    if (!ReadRecord(kTotalKey, &total)) return;
    const bool totalInBetween = BetweenBeforeAndAfter(total, entry->totalBefore, entry->totalAfter);
    if (current == entry->currentBefore && totalInBetween) {
        // Cut short before the current record went: the totals, then the deletion.
        WriteChanged(kTotalKey, total, entry->totalAfter);
        if (!NoFailureSince(failuresBefore)) return;
        if (entry->kind == JournalEntry::Kind::Clearing && !FinishClearing(*entry, false)) return;
    }
    // Otherwise done already (the record deleted, the totals written), or the journal
    // does not fit: either way nothing is applied.
    if (NoFailureSince(failuresBefore)) RemoveJournal();
}

void StoreGameResult(bool won) {
    // On the SQLite store another copy's update waits until this one is written, and
    // the store keeps the whole update or none of it. The Windows registry keeps each
    // value on its own: there the journal written first keeps the game whole.
    const RegAPI::Series series;
    const uint64_t heldBefore = RegAPI::HeldOperations();
    CompleteJournal();
    auto& c = StatCounters;
    Current stored{};
    const bool readable = ReadRecord(kCurrentKey, &stored);
    for (int i = 1; i <= kStoredCounters; ++i) c(i) = stored[static_cast<size_t>(i)];
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
        ShowNotWritten(heldBefore);
        return;
    }

    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Game;
    entry.currentBefore = stored;
    for (int i = 1; i <= kStoredCounters; ++i) entry.currentAfter[static_cast<size_t>(i)] = c(i);
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    if (!WriteJournal(entry)) return;
    for (int i = 1; i <= kStoredCounters; ++i) {
        Write(kCurrentKey, i, c(i));
        Yield();
    }
    // A value that could not be written leaves the journal, to be completed later.
    if (NoFailureSince(failuresBefore)) RemoveJournal();
}

// Folds the stored current record into the total through the journal; with
// `clearing`, the current record is then deleted. False when something failed.
bool MergeInto(bool clearing) {
    const uint64_t heldBefore = RegAPI::HeldOperations();
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, kTotalKey);
    Yield();
    JournalEntry entry;
    entry.kind = clearing ? JournalEntry::Kind::Clearing : JournalEntry::Kind::Merge;
    const bool readable = ReadRecord(kCurrentKey, &entry.currentBefore, true) &&
                          ReadRecord(kTotalKey, &entry.totalBefore, true);
    if (!readable) {
        ShowNotWritten(heldBefore);  // the total keeps its values
        return false;
    }
    for (size_t i = 1; i <= kTotalCounters; ++i) {
        const int32_t current = entry.currentBefore[i];
        const int32_t total = entry.totalBefore[i];
        entry.totalAfter[i] = i <= kWon ? SaturatingAdd(current, total) : std::max(current, total);
    }
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    if (!WriteJournal(entry)) return false;
    for (int i = 1; i <= kTotalCounters; ++i) {
        Write(kTotalKey, i, entry.totalAfter[static_cast<size_t>(i)]);
        Yield();
    }
    // A merge cut short stays in the journal; deleting the current record after it
    // would lose those games for good.
    if (!NoFailureSince(failuresBefore)) return false;
    // Clearing twice deletes a record that is gone already: the player is told, and
    // the clearing (of zeros) still counts as done.
    if (clearing && !FinishClearing(entry, true)) return false;
    RemoveJournal();
    return true;
}

}  // namespace

namespace {

// Results of games that could not be written because another program held the store,
// oldest first. Each is written, in order, before anything later is.
std::deque<bool>& HeldBack() { return session().heldGames; }

// False when the store was held and the game is to be written later.
bool TryToStore(bool won) {
    // A game the store did not take is not counted in memory either, so the series
    // never runs ahead of the stored record.
    const StatCounterArray before = StatCounters;
    const uint64_t failuresBefore = RegAPI::FailuresShown();
    const uint64_t heldBefore = RegAPI::HeldOperations();
    StoreGameResult(won);
    if (RegAPI::FailuresShown() == failuresBefore) return true;
    StatCounters = before;
    return RegAPI::HeldOperations() == heldBefore;
}

}  // namespace

bool WriteHeldGames() {
    while (!HeldBack().empty()) {
        if (!TryToStore(HeldBack().front())) return false;
        HeldBack().pop_front();
    }
    return true;
}

void RecordGameResult(bool won) {
    HeldBack().push_back(won);
    WriteHeldGames();
}

void WriteHeldGamesBeforeTheEnd() {
    if (HeldBack().empty()) return;
    RegAPI::backend().WaitInFullAgain();
    WriteHeldGames();
    HeldBack().clear();  // the store stayed held to the end: they are lost with the run
}

size_t HeldGames() { return HeldBack().size(); }

// Outside a series: a store that may only be read must not be held for writing, and
// each step of completing a journal can be repeated on its own.
void CompleteInterruptedStatistics() { CompleteJournal(); }

void MergeTotalStatistics() {
    const RegAPI::Series series;
    CompleteJournal();
    MergeInto(false);
}

void ClearCurrentStatistics() {
    // No game is recorded between the merge and the deletion, and where the store has
    // transactions the two are kept together or not at all: a failure reported in the
    // series takes the merge back. Elsewhere the journal does.
    // Games held back are older than the clearing: they go into what it clears.
    if (!WriteHeldGames()) {
        RegAPI::ShowFailure("Could not set value");
        return;
    }
    const RegAPI::Series series;
    CompleteJournal();
    if (MergeInto(true)) StatCounters.Clear();
}

void ClearTotalStatistics() {
    const uint64_t undeletedBefore = RegAPI::UndeletedKeys();
    RegAPI::DeleteRegKey(RegAPI::HKEY_CURRENT_USER, kTotalKey);
    if (RegAPI::UndeletedKeys() != undeletedBefore) ShowNotDeleted(kTotalKey);
}

bool LoadStoredCounters() {
    WriteHeldGames();
    CompleteJournal();
    Current stored{};
    // An unreadable record reads as zeros; the counters of the last update are closer.
    if (!ReadRecord(kCurrentKey, &stored, true) || StandsInForUnreadFile()) return false;
    for (int i = 1; i <= kStoredCounters; ++i) StatCounters(i) = stored[static_cast<size_t>(i)];
    return true;
}

std::array<int32_t, 7> CombinedRecord(bool* readable) {
    WriteHeldGames();
    CompleteJournal();
    const uint64_t unreadableBefore = RegAPI::UnreadableReads();
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
    if (readable)
        *readable = RegAPI::UnreadableReads() == unreadableBefore && !StandsInForUnreadFile();
    return record;
}

}  // namespace karvelo
