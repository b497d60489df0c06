// The engine's module values and their names.
#include "module_values.h"

namespace funktioner {
namespace {

ModuleValues values;

}  // namespace

ModuleValues& Values() { return values; }

// The names the rest of the engine and the window use. They refer to members of one
// object with static storage, so they are bound before any code runs.
BoardArray& Board = values.board;
DeckArray& Deck = values.deck;
bool& GameInProgress = values.gameInProgress;
bool& AutoPlayActive = values.autoPlayActive;
int32_t& AnimationSpeed = values.animationSpeed;

InputGate& gate() { return values.gate; }

void ResetEngine() { values = ModuleValues{}; }

}  // namespace funktioner
