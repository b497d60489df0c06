// Automatic play: safe cards go to the foundations one by one after every drop.
#include "funktioner.h"

namespace funktioner {
namespace {

// Clears AutoPlayActive however the automatic play ends.
class ActiveFlag {
public:
    ActiveFlag() { AutoPlayActive = true; }
    ~ActiveFlag() { AutoPlayActive = false; }
    ActiveFlag(const ActiveFlag&) = delete;
    ActiveFlag& operator=(const ActiveFlag&) = delete;
};

bool PlayFromCell(int column, int row) {
    const int code = Board(column, row);
    if (code < 1 || code > 52) return false;
    return PlayToFoundation(static_cast<int16_t>(SuitOf(code)), code, true);
}

// Tableau columns left to right; at most one card.
bool TableauPass() {
    for (int c = 1; c <= 8; ++c) {
        if (Board(c, 0) != 0 && PlayFromCell(c, Board(c, 0))) return true;
    }
    return false;
}

// Free cells 0 to 3; at most one card.
bool CellPass() {
    for (int j = 1; j <= 4; ++j) {
        if (Board(0, j) != 0 && PlayFromCell(0, j)) return true;
    }
    return false;
}

}  // namespace

void AutoPlay() {
    // One automatic play at a time: a nested one would end the outer one's guard early.
    if (AutoPlayActive) return;
    ActiveFlag active;
    for (;;) {
        const bool fromTableau = TableauPass();
        const bool fromCell = CellPass();
        if (!fromTableau && !fromCell) break;
    }
}

}  // namespace funktioner
