// Automatic play: safe cards go to the foundations one by one after every drop.
#include "funktioner.h"

namespace funktioner {
namespace {

bool PlayFromCell(int column, int row) {
    const int code = Board(column, row);
    if (!IsCardCode(code)) return false;
    return PlayToFoundation(static_cast<int16_t>(SuitOf(code)), code, true);
}

// Tableau columns left to right; at most one card.
bool TableauPass() {
    for (int c = kFirstColumn; c <= kLastColumn; ++c) {
        if (Board(c, kCountRow) != 0 && PlayFromCell(c, Board(c, kCountRow))) return true;
    }
    return false;
}

// Free cells 0 to 3; at most one card.
bool CellPass() {
    for (int j = 1; j <= kFreeCellSlots; ++j) {
        if (Board(kFreeCells, j) != 0 && PlayFromCell(kFreeCells, j)) return true;
    }
    return false;
}

}  // namespace

void AutoPlay() {
    // AutoPlayActive for as long as this runs, however it ends.
    const auto active = gate().BeginAutoPlay();
    if (!active) return;
    for (;;) {
        const bool fromTableau = TableauPass();
        const bool fromCell = CellPass();
        if (!fromTableau && !fromCell) break;
    }
}

}  // namespace funktioner
