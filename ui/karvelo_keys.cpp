// Keyboard play on the main window: the keys turned into the focus's moves, and lifts,
// drops, the free-cell key and the peek carried out through the same handlers as the
// pointer's, so that every rule, message and flight is the mouse's own.
#include "karvelo.h"
#include "layout.h"

namespace karvelo {
namespace {

using funktioner::PlayerInput;
using funktioner::Verdict;

funktioner::InputGate& Gate() { return funktioner::gate(); }

// Keys that act once per press: held down, their repeats do nothing.
bool ActsOncePerPress(KeyCommand command) {
    return command == KeyCommand::Select || command == KeyCommand::PutBack ||
           command == KeyCommand::ToFreeCell || command == KeyCommand::Peek;
}

}  // namespace

const std::optional<KeyFocus>& Karvelo::KeyboardFocus() const {
    keys_.Validate();
    return keys_.Focus();
}

void Karvelo::KeyPressed(int keyCode, int shift, bool repeated) {
    Form_KeyDown(keyCode, shift);
    const KeyCommand command = KeyCommandFor(keyCode, shift);
    if (command == KeyCommand::None || terminated_ || drag_) return;
    if (repeated && ActsOncePerPress(command)) return;
    // Nothing to play on the title picture.
    if (const SceneElement* s = scene_.Find({ElementKind::Splash, 0}); s && s->visible) return;
    if (!keys_.Shown()) {
        // The first key after the mouse only shows where the focus is.
        Gate().Handle(PlayerInput::Focus, [this] { keys_.Show(); });
    } else {
        KeyboardCommand(command);
    }
    ShowKeyboardMarks();
}

void Karvelo::KeyReleased(int keyCode, int) {
    // Let go with or without Ctrl and Alt: the peek ends either way.
    if (KeyCommandFor(keyCode, 0) == KeyCommand::Peek) ReleasePeekKey();
}

void Karvelo::KeysLost() { ReleasePeekKey(); }

void Karvelo::KeyboardCommand(KeyCommand command) {
    switch (command) {
    case KeyCommand::Left:
    case KeyCommand::Right:
    case KeyCommand::Up:
    case KeyCommand::Down:
        Gate().Handle(PlayerInput::Focus, [this, command] { keys_.MoveFocus(command); });
        break;
    case KeyCommand::More:
    case KeyCommand::Fewer:
        Gate().Handle(PlayerInput::Focus,
                      [this, command] { keys_.ChangeCount(command == KeyCommand::More ? 1 : -1); });
        break;
    case KeyCommand::PutBack:
        Gate().Handle(PlayerInput::Focus, [this] { keys_.PutBack(); });
        break;
    case KeyCommand::Select:
        if (keys_.LiftedCard()) {
            DropLifted();
        } else {
            // Lifting is the keyboard's press on a card: not in the middle of a move.
            Gate().Handle(PlayerInput::CardPress, [this] { keys_.Lift(); });
        }
        break;
    case KeyCommand::ToFreeCell:
        if (const auto card = keys_.FocusedCard()) imgKort_DblClick(static_cast<int16_t>(*card));
        break;
    case KeyCommand::Peek:
        if (const auto card = keys_.FocusedCard()) {
            imgKort_MouseDown(static_cast<int16_t>(*card), kRightButton, 0, 0);
            if (Visible(funktioner::layout::kTemplateCard)) peekKeyCard_ = *card;
        }
        break;
    case KeyCommand::None:
        break;
    }
}

void Karvelo::DropLifted() {
    const int source = *keys_.LiftedCard();
    // A drop the gate would ignore keeps the cards lifted for another try.
    if (Gate().Admit(PlayerInput::Drop) != Verdict::Run) return;
    const DropTarget target = keys_.FocusTarget();
    keys_.Dropped();
    ShowKeyboardMarks();  // the lift is over before the move's flights begin
    const auto index = static_cast<int16_t>(target.index);
    switch (target.kind) {
    case DropTarget::Kind::Card: imgKort_DragDrop(index, source); break;
    case DropTarget::Kind::Cell: imgHand_DragDrop(index, source); break;
    case DropTarget::Kind::Foundation: imgHog_DragDrop(index, source); break;
    default: break;
    }
}

void Karvelo::ReleasePeekKey() {
    if (!peekKeyCard_) return;
    const auto card = static_cast<int16_t>(*peekKeyCard_);
    peekKeyCard_.reset();
    imgKort_MouseUp(card, kRightButton);
}

void Karvelo::ShowKeyboardMarks() {
    keys_.Validate();
    scene_.SetKeyboardMarks(keys_.Marks());
}

}  // namespace karvelo
