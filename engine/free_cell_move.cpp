// A card dropped on a free cell (or its letter), and the double-click that sends a card
// to the leftmost empty free cell.
#include "funktioner.h"
#include "host.h"
#include "layout.h"
#include "tags.h"

namespace funktioner {
namespace {

void DropOnCell(int slot, int source) {
    if (slot < 0 || slot > 3) return;
    const auto from = PlaceOfCard(source);
    if (!from || !IsFree(*from) || Board(0, slot + 1) != 0) return;
    auto& t = table();
    MoveCardInBoard(MakeTag(0, slot), MakeTag(from->column, from->row), source);
    t.BringToFront(source);
    t.SetTag(source, MakeTag(0, slot + 1));
    AnimateMove(imgKort(source), imgHand(slot), layout::kCellOffsetLeft,
                layout::kCellOffsetTop, AnimationSpeed);
    karvelo::host().DoEvents();
}

// A foundation's top code is at least the code of every card played there.
bool OnFoundation(int code) { return code <= Board(9, SuitOf(code) + 1); }

}  // namespace

void imgHand_DragDrop(int16_t Index, int source) {
    if (Admit(PlayerInput::Drop) != Verdict::Run) return;
    GateHold hold(Hold::Move);
    DropOnCell(Index, source);
    AutoPlay();
}

void imgKort_DblClick(int16_t Index) {
    if (Admit(PlayerInput::DoubleClick) != Verdict::Run) return;
    if (!layout::IsCardIndex(Index)) return;
    auto& t = table();
    if (Board(0, 0) >= 4 || !t.CardExists(Index) || !t.Enabled(Index) || OnFoundation(Index)) {
        return;
    }
    int slot = 0;
    while (slot < 3 && Board(0, slot + 1) != 0) ++slot;
    GateHold hold(Hold::Move);
    DropOnCell(slot, Index);
    AutoPlay();
}

}  // namespace funktioner
