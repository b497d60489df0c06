#pragma once
// The arrow keys a player presses to take the keyboard's focus from one place to
// another: first to the other row if need be, then along the row. For the tests that
// play with the keyboard, through the main window's handlers, the Qt window and
// karvelo.exe.
#include <vector>

#include "key_focus.h"
#include "virtual_keys.h"

namespace karvelo::test {

enum class Arrow { Left, Right, Up, Down };

// A place's position in its row of eight: free cells 0 to 3 and foundations 4 to 7
// above, columns 1 to 8 below.
inline int RowIndex(const TablePlace& p) {
    switch (p.kind) {
    case PlaceKind::FreeCell: return p.number;
    case PlaceKind::Foundation: return 4 + p.number;
    case PlaceKind::Column: break;
    }
    return p.number - 1;
}

inline std::vector<Arrow> ArrowsFromTo(const TablePlace& from, const TablePlace& to) {
    std::vector<Arrow> keys;
    const bool fromTop = from.kind != PlaceKind::Column;
    const bool toTop = to.kind != PlaceKind::Column;
    if (fromTop != toTop) keys.push_back(toTop ? Arrow::Up : Arrow::Down);
    for (int i = RowIndex(from); i < RowIndex(to); ++i) keys.push_back(Arrow::Right);
    for (int i = RowIndex(from); i > RowIndex(to); --i) keys.push_back(Arrow::Left);
    return keys;
}


inline int VirtualKey(Arrow a) {
    switch (a) {
    case Arrow::Left: return kVkLeft;
    case Arrow::Right: return kVkRight;
    case Arrow::Up: return kVkUp;
    case Arrow::Down: break;
    }
    return kVkDown;
}

}  // namespace karvelo::test
