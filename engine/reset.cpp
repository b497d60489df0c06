// Back to the state of a fresh run.
#include "funktioner.h"

namespace funktioner {

void ResetEngine() {
    Board.Clear();
    Deck.Clear();
    GameInProgress = false;
    AutoPlayActive = false;
    AnimationSpeed = 17;
    SetRandomSource(nullptr);
}

}  // namespace funktioner
