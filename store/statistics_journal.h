#pragma once
// The statistics journal. The Windows registry keeps each value on its own, so a game's
// record (eight values) or a clearing (six totals and a deletion) could be cut short
// between two of them. Before such a change is written value by value, the whole of it
// is written as one value of the key "\Journal", and removed when the change is done;
// a journal found later is completed from (see statistics.cpp). The text carries what
// the record was before as well as what it becomes, so that a journal that no longer
// fits the record (a backup restored since) is recognised and never applied.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace karvelo {

struct JournalEntry {
    enum class Kind {
        Game,      // the current record becomes currentAfter
        Merge,     // the total becomes totalAfter
        Clearing,  // the total becomes totalAfter, then the current record is deleted
    };
    Kind kind = Kind::Game;
    // "Stat 1" to "Stat 8" of "\Statistik" (index 0 unused): as read before the change
    // and, for a game, as written by it.
    std::array<int32_t, 9> currentBefore{};
    std::array<int32_t, 9> currentAfter{};
    // "Stat 1" to "Stat 6" of "\StatistikTotal" (index 0 unused), for a merge or a
    // clearing.
    std::array<int32_t, 7> totalBefore{};
    std::array<int32_t, 7> totalAfter{};
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// One line of plain ASCII ending in a check sum of the rest.
std::string EncodeJournal(const JournalEntry& entry);
// Nothing for any text that is not exactly what EncodeJournal writes: a wrong kind,
// count, number, check sum or anything more or less.
std::optional<JournalEntry> DecodeJournal(const std::string& text);

}  // namespace karvelo
