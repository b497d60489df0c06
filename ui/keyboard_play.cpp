#include "keyboard_play.h"

#include <algorithm>

#include "funktioner.h"
#include "layout.h"
#include "virtual_keys.h"
#include "window_layout.h"

namespace karvelo {
namespace {

namespace L = funktioner::layout;
using funktioner::Board;

constexpr int kFreeCellKey = 'F';
constexpr int kPeekKey = 'V';

constexpr int kCtrlOrAlt = kCtrlMask | kAltMask;

// The places in two rows of eight: the free cells and foundations above, the columns
// below; a place's number in its row is its column's number less one.
constexpr int kPlacesInRow = 8;
constexpr int kFoundationsFrom = 4;

bool TopRow(const TablePlace& p) { return p.kind != PlaceKind::Column; }

int IndexInRow(const TablePlace& p) {
    switch (p.kind) {
    case PlaceKind::FreeCell: return p.number;
    case PlaceKind::Foundation: return kFoundationsFrom + p.number;
    case PlaceKind::Column: break;
    }
    return p.number - 1;
}

TablePlace PlaceAt(bool top, int index) {
    index = std::clamp(index, 0, kPlacesInRow - 1);
    if (!top) return {PlaceKind::Column, index + 1};
    if (index < kFoundationsFrom) return {PlaceKind::FreeCell, index};
    return {PlaceKind::Foundation, index - kFoundationsFrom};
}

int ColumnLength(int column) { return std::clamp(Board(column, funktioner::kCountRow), 0, 21); }

// The rectangle of `cards` cards at the end of a column of `length`, or of the place of
// its first card when it is empty.
TwipRect ColumnRect(int column, int length, int cards) {
    const int first = length > 0 ? length - cards + 1 : 1;
    const int last = std::max(length, 1);
    const auto left = static_cast<float>(L::CardLeft(column));
    const auto top = static_cast<float>(L::CardTop(first));
    return {left, top, layout::kCardWidth,
            static_cast<float>(L::CardTop(last) - L::CardTop(first) + layout::kCardHeight)};
}

TwipRect CardInFrame(const TwipRect& frame) {
    return {frame.left + L::kCellOffsetLeft, frame.top + L::kCellOffsetTop, layout::kCardWidth,
            layout::kCardHeight};
}

}  // namespace

KeyCommand KeyCommandFor(int keyCode, int shift) {
    if (shift & kCtrlOrAlt) return KeyCommand::None;
    const bool shifted = (shift & kShiftMask) != 0;
    switch (keyCode) {
    case kVkLeft: return KeyCommand::Left;
    case kVkRight: return KeyCommand::Right;
    case kVkUp: return shifted ? KeyCommand::More : KeyCommand::Up;
    case kVkDown: return shifted ? KeyCommand::Fewer : KeyCommand::Down;
    case kVkReturn:
    case kVkSpace: return KeyCommand::Select;
    case kVkEscape: return KeyCommand::PutBack;
    case kFreeCellKey: return KeyCommand::ToFreeCell;
    case kPeekKey: return KeyCommand::Peek;
    default: return KeyCommand::None;
    }
}

// ---- The focus

void KeyboardPlay::Show() {
    if (focus_) return;
    focus_ = KeyFocus{last_, 1, std::nullopt};
    Validate();
    Changed(std::nullopt);
}

void KeyboardPlay::Hide() {
    if (!focus_) return;
    const auto before = focus_;
    last_ = focus_->place;
    focus_.reset();
    liftedCard_ = 0;
    Changed(before);
}

void KeyboardPlay::MoveFocus(KeyCommand direction) {
    if (!focus_) return;
    const auto before = focus_;
    const TablePlace here = focus_->place;
    const bool top = TopRow(here);
    const int index = IndexInRow(here);
    TablePlace there = here;
    switch (direction) {
    case KeyCommand::Left: there = PlaceAt(top, index - 1); break;
    case KeyCommand::Right: there = PlaceAt(top, index + 1); break;
    case KeyCommand::Up: there = PlaceAt(true, index); break;
    case KeyCommand::Down: there = PlaceAt(false, index); break;
    default: return;
    }
    if (there == here) return;
    focus_->place = there;
    focus_->cards = 1;
    Changed(before);
}

void KeyboardPlay::ChangeCount(int delta) {
    if (!focus_ || focus_->place.kind != PlaceKind::Column) return;
    const auto before = focus_;
    const int run = OrderedRun(focus_->place.number);
    focus_->cards = std::clamp(focus_->cards + delta, 1, std::max(run, 1));
    Changed(before);
}

int KeyboardPlay::OrderedRun(int column) const {
    const int n = ColumnLength(column);
    int run = n > 0 ? 1 : 0;
    while (run < n && funktioner::CanStackOn(Board(column, n - run), Board(column, n - run + 1))) ++run;
    return run;
}

std::optional<int> KeyboardPlay::FocusedCard() const {
    if (!focus_) return std::nullopt;
    const TablePlace& p = focus_->place;
    int card = 0;
    if (p.kind == PlaceKind::Column) {
        const int n = ColumnLength(p.number);
        if (n >= focus_->cards) card = Board(p.number, n - focus_->cards + 1);
    } else if (p.kind == PlaceKind::FreeCell) {
        card = Board(funktioner::kFreeCells, p.number + 1);
    }
    if (!funktioner::IsCardCode(card)) return std::nullopt;
    return card;
}

// ---- Lifting and dropping

bool KeyboardPlay::Lift() {
    const std::optional<int> card = FocusedCard();
    if (!card) return false;
    const auto before = focus_;
    liftedCard_ = *card;
    focus_->lifted = KeyFocus::Lifted{focus_->place, focus_->cards};
    Changed(before);
    return true;
}

void KeyboardPlay::PutBack() {
    if (!focus_ || !focus_->lifted) return;
    const auto before = focus_;
    focus_->lifted.reset();
    liftedCard_ = 0;
    Changed(before);
}

std::optional<int> KeyboardPlay::LiftedCard() const {
    if (!focus_ || !focus_->lifted || liftedCard_ == 0) return std::nullopt;
    return liftedCard_;
}

DropTarget KeyboardPlay::FocusTarget() const {
    using K = DropTarget::Kind;
    if (!focus_) return {};
    const TablePlace& p = focus_->place;
    switch (p.kind) {
    case PlaceKind::FreeCell: return {K::Cell, p.number};
    case PlaceKind::Foundation: return {K::Foundation, p.number};
    case PlaceKind::Column: break;
    }
    const int n = ColumnLength(p.number);
    return {K::Card, n > 0 ? Board(p.number, n) : L::BaseIndex(p.number)};
}

void KeyboardPlay::Dropped() {
    if (!focus_) return;
    const auto before = focus_;
    focus_->lifted.reset();
    focus_->cards = 1;
    liftedCard_ = 0;
    Changed(before);
}

void KeyboardPlay::Validate() {
    if (!focus_) return;
    const auto before = focus_;
    KeyFocus& f = *focus_;
    f.cards = f.place.kind == PlaceKind::Column
                  ? std::clamp(f.cards, 1, std::max(OrderedRun(f.place.number), 1))
                  : 1;
    if (f.lifted) {
        const TablePlace& from = f.lifted->from;
        bool still = false;
        if (from.kind == PlaceKind::Column) {
            const int n = ColumnLength(from.number);
            still = n >= f.lifted->cards && Board(from.number, n - f.lifted->cards + 1) == liftedCard_;
        } else if (from.kind == PlaceKind::FreeCell) {
            still = Board(funktioner::kFreeCells, from.number + 1) == liftedCard_;
        }
        if (!still) {
            f.lifted.reset();
            liftedCard_ = 0;
        }
    }
    Changed(before);
}

// ---- What shows

KeyboardMarks KeyboardPlay::Marks() const {
    KeyboardMarks marks;
    if (!focus_) return marks;
    const auto rectOf = [](const TablePlace& p, int cards) {
        switch (p.kind) {
        case PlaceKind::FreeCell: return layout::Cell(p.number);
        case PlaceKind::Foundation: return layout::Foundation(p.number);
        case PlaceKind::Column: break;
        }
        return ColumnRect(p.number, ColumnLength(p.number), cards);
    };
    marks.focus = rectOf(focus_->place, focus_->cards);
    if (focus_->lifted) {
        const TablePlace& from = focus_->lifted->from;
        marks.lifted = from.kind == PlaceKind::FreeCell ? CardInFrame(layout::Cell(from.number))
                                                        : rectOf(from, focus_->lifted->cards);
    }
    return marks;
}

void KeyboardPlay::Changed(const std::optional<KeyFocus>& before) {
    if (focus_ == before) return;
    if (focus_) last_ = focus_->place;
    if (listener_) listener_();
}

}  // namespace karvelo
