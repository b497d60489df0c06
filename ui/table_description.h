#pragma once
// What a screen reader is told about the table, made here once for both window
// systems: the table "Bordet" with its sixteen places as children, each place named
// with its contents ("Kolumn 3, 6 kort, överst hjärter knekt", "Fri cell A, tom",
// "Hög Klöver, upp till sju"), and the cards in each place by name, with their
// states and bounds in twips. A window system hands it to its own accessibility
// interface as it is, converting only the bounds to pixels.
#include <optional>
#include <string>
#include <vector>

#include "funktioner.h"
#include "key_focus.h"
#include "scene.h"

namespace karvelo {

inline constexpr int kPlaceCount = 16;
inline constexpr const char* kTableName = "Bordet";

// Reading order: the free cells H, A, N, D, the foundations Hjärter to Spader, then
// the columns 1 to 8, as they stand on the table from left to right and top to bottom.
int PlaceIndex(const TablePlace& place);  // 0 to 15; -1 for no place of the table
TablePlace PlaceAt(int index);            // index 0 to 15

struct CardNode {
    int code = 0;
    std::string name;  // "spader dam"
    TwipRect bounds;
    bool taken = false;   // among the cards the keyboard's focus takes
    bool lifted = false;  // lifted to be moved
    friend bool operator==(const CardNode&, const CardNode&) = default;
};

struct PlaceNode {
    TablePlace place;
    std::string name;         // the place and its contents
    std::string description;  // what the keyboard took or lifted here, or what just happened
    TwipRect bounds;
    bool focused = false;
    bool lifted = false;  // cards of this place are lifted
    // A column's cards from the deepest to the exposed one; a free cell's card; a
    // foundation's top card.
    std::vector<CardNode> cards;
    friend bool operator==(const PlaceNode&, const PlaceNode&) = default;
};

struct TableDescription {
    std::string name = kTableName;
    std::string description;  // what just happened, while no place has the focus
    TwipRect bounds;          // the union of the places
    bool focused = false;     // the table itself has the focus: no place has it
    std::vector<PlaceNode> places;  // always sixteen, in reading order
    friend bool operator==(const TableDescription&, const TableDescription&) = default;
};

// The table as `board` holds it, with the positions of the scene's elements and the
// keyboard's focus. The descriptions carry what is taken or lifted, nothing of what
// happened (the tracker adds that, access_tracker.h).
TableDescription DescribeTable(const funktioner::BoardArray& board, const Scene& scene,
                               const std::optional<KeyFocus>& focus);

}  // namespace karvelo
