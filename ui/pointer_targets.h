#pragma once
// What the pointer is over: which element takes a press, a movement or the drop
// of a dragged card at a point of the table. Pure questions to the scene; the
// window acts on the answers.
#include <optional>
#include <string>

#include "scene.h"

namespace karvelo {

struct DropTarget {
    enum class Kind { None, Card, Cell, CellLabel, Foundation, FoundationLabel };
    Kind kind = Kind::None;
    int index = 0;
    friend bool operator==(const DropTarget&, const DropTarget&) = default;
};

// The element that receives a press or a pointer movement: the topmost visible,
// enabled element under the point.
std::optional<ElementId> PointerTargetAt(const Scene& scene, float x, float y);

// Where a dragged card released with the pointer's hot spot at (x, y) goes: the
// topmost visible, enabled element (a letter or suit label is told apart; its
// handler passes the drop on to the frame beneath it); a disabled card lying on a
// foundation hands the drop to that foundation. Arrows, the title picture, the
// template card and the background take nothing.
DropTarget DropTargetAt(const Scene& scene, float x, float y);

// Which arrow the pointer over a card or column base with this tag asks for.
enum class ArrowChoice { Unchanged, Down, Left, Right };
ArrowChoice ArrowForCardTag(const std::string& tag);

}  // namespace karvelo
