// Starting a game: an abandoned one counts as lost, then a fresh deal.
#include "funktioner.h"

namespace funktioner {

void NewGame() {
    // Clearing and recording let events run; a second NewGame from one of them would
    // deal twice and count the abandoned game twice.
    if (!gate().MayBeginDeal()) return;
    const GateHold dealing = gate().Hold(Span::Deal);
    if (GameInProgress) {
        ClearBoard();
        results().RecordGameResult(false);
    }
    // The player chose to leave while the old game was taken away: it is recorded, and
    // no fresh game is laid out that nobody would play (and that would count as lost).
    if (gate().Leaving()) {
        GameInProgress = false;
        return;
    }
    ShuffleDeck();
    DealCards();
    GameInProgress = true;
}

}  // namespace funktioner
