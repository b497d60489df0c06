#include "tags.h"

#include "funktioner.h"
#include "layout.h"

namespace funktioner {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Tags are read strictly, digits only: unlike a stored number (which may carry blanks,
// a sign and decimals) a tag is the engine's own, and anything else is no place.
std::optional<Place> ParseTag(std::string_view tag) {
    // One column digit and one or two row digits.
    if (tag.size() < 2 || tag.size() > 3) return std::nullopt;
    for (char c : tag) {
        if (!IsDigit(c)) return std::nullopt;
    }
    if (tag.size() == 3 && tag[1] == '0') return std::nullopt;  // "305" is not a tag
    int row = 0;
    for (char c : tag.substr(1)) row = row * 10 + (c - '0');
    if (row >= BoardArray::kRows) return std::nullopt;
    return Place{tag[0] - '0', row};
}

std::string MakeTag(int column, int row) {
    return std::to_string(column) + std::to_string(row);
}

std::optional<int> TagNumber(std::string_view tag) {
    if (tag.empty() || tag.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : tag) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<Place> PlaceOfCard(int code) {
    if (!layout::IsCardIndex(code) || !HasTable() || !table().CardExists(code)) {
        return std::nullopt;
    }
    const auto place = ParseTag(table().Tag(code));
    if (!place) return std::nullopt;
    const bool inCell =
        place->column == kFreeCells && place->row >= 1 && place->row <= kFreeCellSlots;
    const bool inTableau = place->column >= kFirstColumn && place->column <= kLastColumn &&
                           place->row >= 1 && place->row <= Board(place->column, kCountRow);
    if (!inCell && !inTableau) return std::nullopt;
    if (Board(place->column, place->row) != code) return std::nullopt;
    return place;
}

bool IsFree(const Place& place) {
    return place.column == kFreeCells || Board(place.column, kCountRow) == place.row;
}

}  // namespace funktioner
