// A card, or the run lying on it, dropped on a card or on the base of an empty column.
#include <algorithm>
#include <cmath>
#include <optional>

#include "funktioner.h"
#include "host.h"
#include "layout.h"
#include "rounding.h"
#include "tags.h"

namespace funktioner {
namespace {

constexpr const char* kTooLongRun = "Det går inte att göra denna förflyttning";
constexpr const char* kTooLongRunTitle = "Wrong move";

enum class Outcome { ThenAutoPlay, Stop };

struct Target {
    Element element;  // the card dropped on, or imgKort(0) on an empty column's row 0
    Place place;
    int base = 0;     // the column base dropped on, if any
};

// Element 0 stands in for the row-0 place of an empty column: one card spacing above
// the place of the column's first card.
void PlaceRowZero(const Target& target) {
    auto& t = table();
    const Element base = imgKort(target.base);
    t.Move(layout::kTemplateCard, t.Left(base) - layout::kBaseInset,
           t.Top(base) - layout::kBaseInset - layout::kRowSpacing);
    t.SetTag(layout::kTemplateCard, MakeTag(target.place.column, kCountRow));
}

std::optional<Target> ResolveTarget(int index) {
    auto& t = table();
    if (!t.CardExists(index)) return std::nullopt;
    if (layout::IsBaseIndex(index)) {
        const auto number = TagNumber(t.Tag(index));
        constexpr int kBaseTags = 10 * kBaseTagDigit;  // "91" to "98"
        if (!number || *number <= kBaseTags || *number >= kBaseTags + 9) return std::nullopt;
        Target target{imgKort(layout::kTemplateCard), {*number - kBaseTags, kCountRow}, index};
        PlaceRowZero(target);
        return target;
    }
    if (!layout::IsCardIndex(index)) return std::nullopt;
    const auto place = PlaceOfCard(index);
    if (!place) return std::nullopt;
    return Target{imgKort(index), *place};
}

bool RunInOrder(const Place& from, int n) {
    for (int i = 1; i < n; ++i) {
        if (!CanStackOn(Board(from.column, from.row + i - 1), Board(from.column, from.row + i))) {
            return false;
        }
    }
    return true;
}

// How many cards may move at once: the free cells plus one, doubled for every empty
// column other than the destination.
int RunCapacity(bool toEmptyColumn) {
    int emptyColumns = 0;
    for (int c = kFirstColumn; c <= kLastColumn; ++c) {
        if (Board(c, kCountRow) == 0) ++emptyColumns;
    }
    if (toEmptyColumn && emptyColumns > 0) --emptyColumns;
    const int emptyCells = std::clamp(kFreeCellSlots - Board(kFreeCells, kCountRow), 0, kFreeCellSlots);
    return (emptyCells + 1) << emptyColumns;
}

void MoveOne(int code, const Place& from, const Target& target) {
    auto& t = table();
    MoveCardInBoard(MakeTag(target.place.column, target.place.row),
                    MakeTag(from.column, from.row), code);
    t.BringToFront(code);
    t.SetTag(code, MakeTag(target.place.column, target.place.row + 1));
    AnimateMove(imgKort(code), target.element, 0, layout::kRowSpacing, AnimationSpeed);
}

void MoveRun(const Place& from, int n, const Target& target) {
    auto& t = table();
    double targetTop = std::nearbyint(t.Top(target.element));
    for (int i = 0; i < n; ++i) {
        // Cards not yet moved are still read from their old rows.
        const int mover = Board(from.column, from.row + i);
        MoveCardInBoard(MakeTag(target.place.column, target.place.row + i),
                        MakeTag(from.column, from.row + i), mover);
        targetTop += layout::kRowSpacing;
        t.BringToFront(mover);
        t.SetTag(mover, MakeTag(target.place.column, target.place.row + i + 1));
        // Element 0 may have been moved by a peek release during the last flight.
        if (target.base != 0) PlaceRowZero(target);
        AnimateMove(imgKort(mover), target.element, 0,
                    karvelo::RoundHalfEven16(targetTop - t.Top(target.element)), AnimationSpeed);
    }
}

Outcome DropOnTableau(int index, int source) {
    const auto target = ResolveTarget(index);
    if (!target || target->place.column < kFirstColumn || target->place.column > kLastColumn) {
        return Outcome::ThenAutoPlay;
    }
    const Place& to = target->place;
    if (Board(to.column, kCountRow) != to.row) return Outcome::ThenAutoPlay;
    const bool toEmptyColumn = to.row == kCountRow;
    if (!toEmptyColumn && !CanStackOn(Board(to.column, to.row), source)) {
        return Outcome::ThenAutoPlay;
    }
    const auto from = PlaceOfCard(source);
    if (!from) return Outcome::ThenAutoPlay;

    if (IsFree(*from)) {
        MoveOne(source, *from, *target);
        return Outcome::ThenAutoPlay;
    }
    const int n = Board(from->column, kCountRow) - from->row + 1;
    if (!RunInOrder(*from, n)) return Outcome::Stop;
    if (RunCapacity(toEmptyColumn) < n) {
        karvelo::host().MsgBox(kTooLongRun, karvelo::Buttons::OK, karvelo::Icon::Exclamation,
                               karvelo::DefaultButton::First, kTooLongRunTitle);
        return Outcome::ThenAutoPlay;
    }
    MoveRun(*from, n, *target);
    return Outcome::ThenAutoPlay;
}

}  // namespace

void imgKort_DragDrop(int16_t Index, int source) {
    if (gate().Admit(PlayerInput::Drop) != Verdict::Run) return;
    const GateHold move = gate().Hold(Span::Move);
    if (DropOnTableau(Index, source) == Outcome::ThenAutoPlay) AutoPlay();
}

}  // namespace funktioner
