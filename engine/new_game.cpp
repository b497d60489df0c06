// Starting a game: an abandoned one counts as lost, then a fresh deal.
#include "funktioner.h"
#include "statistics.h"

namespace funktioner {
namespace {

bool dealing = false;

class Dealing {
public:
    Dealing() : hold_(Hold::Deal) { dealing = true; }
    ~Dealing() { dealing = false; }
    Dealing(const Dealing&) = delete;
    Dealing& operator=(const Dealing&) = delete;
private:
    GateHold hold_;
};

}  // namespace

void NewGame() {
    // Clearing lets events run; a second NewGame from one of them would deal twice
    // and count the abandoned game twice.
    if (dealing) return;
    Dealing inProgress;
    if (GameInProgress) {
        ClearBoard();
        karvelo::RecordGameResult(false);
    }
    ShuffleDeck();
    DealCards();
    GameInProgress = true;
}

}  // namespace funktioner
