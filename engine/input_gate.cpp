// Whether the player's input may act while something is being laid down on the table.
//
// Flights, automatic play, clearing and dealing all let the window process events, so
// input can arrive in the middle of a move. Card presses, drops and double-clicks are
// ignored until the move has been laid down; "Nytt spel" during a deal is ignored and
// during a move waits for its end; quitting and the statistics always wait.
#include "funktioner.h"

namespace funktioner {
namespace {

int moveHolds = 0;
int dealHolds = 0;

int& Counter(Hold hold) { return hold == Hold::Move ? moveHolds : dealHolds; }

bool PeekShowing() { return HasTable() && table().Visible(0); }

}  // namespace

GateHold::GateHold(Hold hold) : hold_(hold) { ++Counter(hold_); }

GateHold::~GateHold() {
    if (Counter(hold_) > 0) --Counter(hold_);
}

bool MoveInProgress() { return AutoPlayActive || moveHolds > 0 || dealHolds > 0; }

Verdict Admit(PlayerInput input) {
    const bool busy = AutoPlayActive || moveHolds > 0 || dealHolds > 0;
    switch (input) {
        case PlayerInput::CardPress:
        case PlayerInput::Drop:
            // While the peek copy shows, element 0 is on screen and must not be
            // taken as the row-0 place of an empty column.
            return busy || PeekShowing() ? Verdict::Ignore : Verdict::Run;
        case PlayerInput::PeekPress:
        case PlayerInput::DoubleClick:
            return busy ? Verdict::Ignore : Verdict::Run;
        case PlayerInput::PeekRelease:
            return Verdict::Run;
        case PlayerInput::NewGame:
            if (dealHolds > 0) return Verdict::Ignore;
            return busy ? Verdict::Defer : Verdict::Run;
        case PlayerInput::Quit:
            return busy ? Verdict::Defer : Verdict::Run;
        case PlayerInput::Statistics:
            // A game's result is written with yields in between; clearing or reading
            // the record in the middle would fold half an update into the total.
            return busy ? Verdict::Defer : Verdict::Run;
    }
    return Verdict::Ignore;
}

}  // namespace funktioner
