// A card dropped on a free cell (or its letter), and the double-click that sends a card
// to the leftmost empty free cell.
#include "funktioner.h"
#include "host.h"
#include "layout.h"
#include "tags.h"

namespace funktioner {
namespace {

void DropOnCell(int slot, int source) {
    if (slot < 0 || slot >= kFreeCellSlots) return;
    const auto from = PlaceOfCard(source);
    if (!from || !IsFree(*from) || Board(kFreeCells, slot + 1) != 0) return;
    auto& t = table();
    MoveCardInBoard(MakeTag(kFreeCells, slot), MakeTag(from->column, from->row), source);
    t.BringToFront(source);
    t.SetTag(source, MakeTag(kFreeCells, slot + 1));
    AnimateMove(imgKort(source), imgHand(slot), layout::kCellOffsetLeft,
                layout::kCellOffsetTop, AnimationSpeed);
    karvelo::host().DoEvents();
}

// A foundation's top code is at least the code of every card played there.
bool OnFoundation(int code) { return code <= Board(kFoundations, SuitOf(code) + 1); }

}  // namespace

void imgHand_DragDrop(int16_t Index, int source) {
    if (gate().Admit(PlayerInput::Drop) != Verdict::Run) return;
    const GateHold move = gate().Hold(Span::Move);
    DropOnCell(Index, source);
    AutoPlay();
}

void imgKort_DblClick(int16_t Index) {
    if (gate().Admit(PlayerInput::DoubleClick) != Verdict::Run) return;
    if (!layout::IsCardIndex(Index)) return;
    auto& t = table();
    if (Board(kFreeCells, kCountRow) >= kFreeCellSlots || !t.CardExists(Index) ||
        !t.Enabled(Index) || OnFoundation(Index)) {
        return;
    }
    int slot = 0;
    while (slot < kFreeCellSlots - 1 && Board(kFreeCells, slot + 1) != 0) ++slot;
    const GateHold move = gate().Hold(Span::Move);
    DropOnCell(slot, Index);
    AutoPlay();
}

}  // namespace funktioner
