// The one gate for input that arrives in the middle of a move (see input_gate.h).
#include "input_gate.h"

#include <utility>

#include "check.h"
#include "funktioner.h"
#include "layout.h"

namespace funktioner {
namespace {

// While the peek copy shows, element 0 is on screen and must not be taken as the row-0
// place of an empty column, nor a drag begun under it.
bool PeekShowing() { return HasTable() && table().Visible(layout::kTemplateCard); }

InputGate::Command Take(InputGate::Command& command) {
    InputGate::Command taken = std::move(command);
    command = nullptr;
    return taken;
}

}  // namespace

// ---- Holds

GateHold::GateHold(InputGate& gate, Span span) : gate_(&gate), span_(span) {
    if (span_ == Span::AutoPlay) {
        AutoPlayActive = true;
    } else {
        ++gate_->Count(span_);
    }
}

GateHold::GateHold(GateHold&& other) noexcept : gate_(other.gate_), span_(other.span_) {
    other.gate_ = nullptr;
}

GateHold::~GateHold() {
    if (!gate_) return;
    if (span_ == Span::AutoPlay) {
        AutoPlayActive = false;
        return;
    }
    // A reset of the engine (tests) may have cleared the count under a live hold.
    int& count = gate_->Count(span_);
    if (count > 0) --count;
}

std::optional<GateHold> InputGate::BeginAutoPlay() {
    if (AutoPlayActive) return std::nullopt;
    return GateHold(*this, Span::AutoPlay);
}

// ---- Verdicts

bool InputGate::MoveInProgress() const {
    return AutoPlayActive || Count(Span::Move) > 0 || Count(Span::Deal) > 0 ||
           Count(Span::Growth) > 0;
}

bool InputGate::Leaving() const { return quit_ != nullptr || shuttingDown_ || ended_; }

bool InputGate::MayBeginDeal() const { return Count(Span::Deal) == 0 && !Leaving(); }

Verdict InputGate::Admit(PlayerInput input) const {
    if (shuttingDown_ || ended_) {
        return input == PlayerInput::PeekRelease ? Verdict::Run : Verdict::Ignore;
    }
    const bool busy = MoveInProgress();
    switch (input) {
    case PlayerInput::CardPress:
    case PlayerInput::Drop:
        return busy || PeekShowing() ? Verdict::Ignore : Verdict::Run;
    case PlayerInput::PeekPress:
    case PlayerInput::DoubleClick:
        return busy ? Verdict::Ignore : Verdict::Run;
    case PlayerInput::PeekRelease:
    case PlayerInput::Setting:
    case PlayerInput::Focus:
        return Verdict::Run;
    case PlayerInput::NewGame:
        if (Count(Span::Deal) > 0 || Count(Span::Growth) > 0) return Verdict::Ignore;
        return busy ? Verdict::Defer : Verdict::Run;
    case PlayerInput::Quit:
    case PlayerInput::Statistics:
        // A game's result is written with yields in between; clearing or reading the
        // record in the middle would fold half an update into the total.
        return busy ? Verdict::Defer : Verdict::Run;
    }
    return Verdict::Ignore;
}

// ---- Handlers

void InputGate::Run(const Command& handler) {
    ++depth_;
    struct Unwind {
        int& depth;
        ~Unwind() { --depth; }
    } unwind{depth_};
    handler();
}

void InputGate::Handle(PlayerInput input, const Command& handler) {
    switch (Admit(input)) {
    case Verdict::Run:
        Run(handler);
        RunWaiting();
        break;
    case Verdict::Defer:
        Wait(input, handler);
        break;
    case Verdict::Ignore:
        break;
    }
}

void InputGate::HandleClick(int card, const Command& drop) {
    if (Admit(PlayerInput::Drop) != Verdict::Run) return;
    const int outer = clickedCard_;
    clickedCard_ = card;
    Run(drop);
    clickedCard_ = outer;
    RunWaiting();
}

void InputGate::HandleDoubleClick(int card, const Command& handler) {
    // The first click of a double-click drops the card on itself, which starts the
    // automatic play; the second click arrives while that plays. Both belong to one
    // gesture, so the double-click waits for the play to end instead of being lost.
    if (card != 0 && card == clickedCard_ && MoveInProgress() && !Leaving()) {
        doubleClick_ = handler;
        return;
    }
    Handle(PlayerInput::DoubleClick, handler);
}

void InputGate::Wait(PlayerInput input, const Command& handler) {
    switch (input) {
    case PlayerInput::Quit:
        quit_ = handler;
        break;
    case PlayerInput::NewGame:
        if (newGame_) break;  // asked twice while waiting: one deal
        newGame_ = handler;
        newGameAfterDeal_ = deals_;
        break;
    case PlayerInput::Statistics:
        statistics_ = handler;
        break;
    default:
        KARVELO_ASSERT(!"only commands wait");
        break;
    }
}

void InputGate::RunWaiting() {
    if (depth_ > 0 || ended_ || shuttingDown_ || MoveInProgress()) return;
    if (quit_) {
        const Command quit = Take(quit_);
        newGame_ = nullptr;
        doubleClick_ = nullptr;
        statistics_ = nullptr;
        Run(quit);
        return;
    }
    if (newGame_) {
        const Command newGame = Take(newGame_);
        doubleClick_ = nullptr;  // its card went with the old deal
        // A deal that came in between (Yes to the question after a win) already gave
        // the player the new game asked for; dealing again would count it as lost.
        if (deals_ == newGameAfterDeal_) {
            Run(newGame);
            RunWaiting();
        }
    }
    if (doubleClick_ && !MoveInProgress()) {
        const Command doubleClick = Take(doubleClick_);
        Run(doubleClick);
        RunWaiting();
    }
    if (statistics_ && !MoveInProgress()) {
        const Command statistics = Take(statistics_);
        Run(statistics);
        RunWaiting();
    }
}

// ---- The end of the run

bool InputGate::BeginShutDown() {
    if (shuttingDown_ || ended_) return false;
    shuttingDown_ = true;
    return true;
}

void InputGate::EndShutDown() {
    shuttingDown_ = false;
    ended_ = true;
    quit_ = newGame_ = doubleClick_ = statistics_ = nullptr;
}

}  // namespace funktioner
