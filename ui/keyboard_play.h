#pragma once
// Keyboard play: where the keyboard's focus is on the sixteen places, how many cards of
// a column it takes, which cards are lifted to be moved, and what the keys ask for. It
// reads the table (Board) and moves nothing itself: the main window carries out a lift,
// a drop, the free-cell key and the peek through the handlers the mouse uses.
//
// The keys (Windows virtual-key codes, the same on every window system):
//   Left, Right        the focus to the place beside it in its row
//   Up, Down           between the top row (free cells H A N D, then the foundations)
//                      and the columns below it (the n-th place above column n)
//   Shift+Up/Down      one card more / fewer of the ordered run at a column's end
//   Enter, Space       lift the focused cards; with cards lifted, drop them here
//   Escape             put the lifted cards back
//   F                  the focused card to the leftmost empty free cell
//   V (held)           the focused card shown whole until V is let go
// With Ctrl or Alt held none of them is a play key: those belong to the menus and
// the statistics.
#include <functional>
#include <optional>

#include "key_focus.h"
#include "pointer_targets.h"
#include "scene.h"

namespace karvelo {

enum class KeyCommand {
    None,
    Left,
    Right,
    Up,
    Down,
    More,     // one card more of the run
    Fewer,    // one card fewer
    Select,   // lift, or drop what is lifted
    PutBack,
    ToFreeCell,
    Peek,     // press and release of the peek key
};

// The command a key press (or release, for the peek) stands for; `shift` is the
// shift state (1 Shift, 2 Ctrl, 4 Alt).
KeyCommand KeyCommandFor(int keyCode, int shift);

class KeyboardPlay {
public:
    using Listener = std::function<void()>;

    // Nothing while the focus is hidden: before the first key, and after the mouse.
    const std::optional<KeyFocus>& Focus() const { return focus_; }
    bool Shown() const { return focus_.has_value(); }

    // Shows the focus where it was last (column 1 the first time).
    void Show();
    // Hides the focus and puts lifted cards back.
    void Hide();

    void MoveFocus(KeyCommand direction);
    void ChangeCount(int delta);

    // The card the focus stands on: in a column the first of its focused cards, in a
    // free cell its card; nothing on a foundation or an empty place.
    std::optional<int> FocusedCard() const;
    // Lifts the focused cards; false when there is nothing there to lift.
    bool Lift();
    void PutBack();
    // The card a drop moves (the first of the lifted cards), if any are lifted.
    std::optional<int> LiftedCard() const;
    // Where a drop on the focused place goes: the last card of a column or the base of
    // an empty one, the free cell, the foundation.
    DropTarget FocusTarget() const;
    // The lifted cards were handed to a drop: nothing is lifted, and the focus takes
    // the last card of its place.
    void Dropped();

    // Keeps the focus on what the table now holds: a column's count within its run,
    // lifted cards that are no longer where they were lifted from put back.
    void Validate();

    // The frames that show the focus and the lifted cards.
    KeyboardMarks Marks() const;

    // Told after every change of the focus or of the lifted cards.
    void SetListener(Listener listener) { listener_ = std::move(listener); }

private:
    void Changed(const std::optional<KeyFocus>& before);
    int OrderedRun(int column) const;  // cards at the column's end in order, 0 if empty

    std::optional<KeyFocus> focus_;
    TablePlace last_;                // where the focus shows again
    int liftedCard_ = 0;        // the first lifted card, 0 when nothing is lifted
    Listener listener_;
};

}  // namespace karvelo
