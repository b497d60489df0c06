#pragma once
// Position tags: the column digit followed by the row number in decimal ("11", "410",
// "03", "30"). Tags come from picture elements and are read defensively: anything
// that is not a well-formed tag gives no place at all.
#include <optional>
#include <string>
#include <string_view>

namespace funktioner {

// A column base's tag is this digit followed by its column ("91" to "98"); a foundation
// as a destination of MoveCardInBoard is Board's column 9 followed by its number.
inline constexpr int kBaseTagDigit = 9;

struct Place {
    int column;
    int row;
    friend bool operator==(const Place&, const Place&) = default;
};

// Column 0 to 9 and row 0 to 21, digits only, the row without leading zeros.
std::optional<Place> ParseTag(std::string_view tag);
std::string MakeTag(int column, int row);
// The tag read as one whole number ("37" gives 37, "98" gives 98).
std::optional<int> TagNumber(std::string_view tag);

// Where card `code` lies according to its picture's tag, provided Board agrees that
// this cell holds it: a free cell (column 0, rows 1 to 4) or a tableau cell (columns
// 1 to 8, rows 1 to the column's count). Cards on a foundation, stale tags and
// missing pictures give no place.
std::optional<Place> PlaceOfCard(int code);
// True for a card in a free cell or the last card of its tableau column.
bool IsFree(const Place& place);

}  // namespace funktioner
