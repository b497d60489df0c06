#pragma once
// The sixteen places of the table as keyboard play moves between them and as the
// screen-reader description names them, and where the keyboard's focus is.
#include <optional>

namespace karvelo {

enum class PlaceKind {
    FreeCell,    // "H", "A", "N", "D": number 0 to 3, left to right
    Foundation,  // number 0 to 3, the suit index (Hjärter, Klöver, Ruter, Spader)
    Column,      // number 1 to 8, left to right
};

struct TablePlace {
    PlaceKind kind = PlaceKind::Column;
    int number = 1;
    friend bool operator==(const TablePlace&, const TablePlace&) = default;
};

// The keyboard's focus: a place and, in a column, how many of its last cards are
// taken (1 = the last card). `lifted` holds the place and count of the cards lifted
// to be moved, if any; they stay where they lie until they are dropped.
struct KeyFocus {
    TablePlace place;
    int cards = 1;
    struct Lifted {
        TablePlace from;
        int cards = 1;
        friend bool operator==(const Lifted&, const Lifted&) = default;
    };
    std::optional<Lifted> lifted;
    friend bool operator==(const KeyFocus&, const KeyFocus&) = default;
};

}  // namespace karvelo
