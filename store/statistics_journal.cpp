// The statistics journal's text: "K1 <kind> <numbers...> <check sum>".
#include "statistics_journal.h"

#include <charconv>
#include <cstdio>
#include <span>
#include <vector>

namespace karvelo {
namespace {

constexpr const char* kTag = "K1";

const char* KindName(JournalEntry::Kind kind) {
    switch (kind) {
    case JournalEntry::Kind::Game: return "game";
    case JournalEntry::Kind::Merge: return "merge";
    case JournalEntry::Kind::Clearing: return "clear";
    }
    return "?";
}

// FNV-1a over the text before the check sum: enough to tell a value cut short, or
// written by hand, from one this program wrote.
uint32_t CheckSum(const std::string& text) {
    uint32_t h = 2166136261u;
    for (const char c : text) {
        h ^= static_cast<uint8_t>(c);
        h *= 16777619u;
    }
    return h;
}

std::string Hex8(uint32_t v) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

// The numbers each kind carries, in order, as spans over the entry's arrays (index 0
// of each array is left out).
std::vector<std::span<int32_t>> Fields(JournalEntry& e) {
    auto cur = [](std::array<int32_t, 9>& a) { return std::span<int32_t>(a.data() + 1, 8); };
    auto tot = [](std::array<int32_t, 7>& a) { return std::span<int32_t>(a.data() + 1, 6); };
    if (e.kind == JournalEntry::Kind::Game) return {cur(e.currentBefore), cur(e.currentAfter)};
    return {cur(e.currentBefore), tot(e.totalBefore), tot(e.totalAfter)};
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(' ', start);
        words.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return words;
}

// A decimal 32-bit number exactly as std::to_string writes it.
bool ParseNumber(const std::string& word, int32_t* out) {
    if (word.empty() || word.size() > 11) return false;
    const char* first = word.data();
    const char* last = word.data() + word.size();
    const auto [end, ec] = std::from_chars(first, last, *out);
    return ec == std::errc() && end == last && std::to_string(*out) == word;
}

}  // namespace

std::string EncodeJournal(const JournalEntry& entry) {
    JournalEntry copy = entry;
    std::string text = std::string(kTag) + " " + KindName(entry.kind);
    for (const auto field : Fields(copy))
        for (const int32_t v : field) (text += ' ') += std::to_string(v);
    return text + " " + Hex8(CheckSum(text));
}

std::optional<JournalEntry> DecodeJournal(const std::string& text) {
    const size_t lastSpace = text.rfind(' ');
    if (lastSpace == std::string::npos) return std::nullopt;
    const std::string body = text.substr(0, lastSpace);
    if (text.substr(lastSpace + 1) != Hex8(CheckSum(body))) return std::nullopt;

    const std::vector<std::string> words = Words(body);
    if (words.size() < 2 || words[0] != kTag) return std::nullopt;
    JournalEntry entry;
    bool known = false;
    for (const auto kind : {JournalEntry::Kind::Game, JournalEntry::Kind::Merge,
                            JournalEntry::Kind::Clearing})
        if (words[1] == KindName(kind)) {
            entry.kind = kind;
            known = true;
        }
    if (!known) return std::nullopt;

    size_t next = 2;
    for (const auto field : Fields(entry))
        for (int32_t& v : field) {
            if (next >= words.size() || !ParseNumber(words[next++], &v)) return std::nullopt;
        }
    if (next != words.size()) return std::nullopt;
    return entry;
}

}  // namespace karvelo
