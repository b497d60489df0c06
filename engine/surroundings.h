#pragma once
// The engine's surroundings: the window's host (host.h), its table of elements
// (table.h) and the receiver of game results (game_results.h), installed together by
// one owner. The program's wiring makes one for the main window's lifetime; a test
// makes its own. While a Surroundings lives, host(), table() and results() reach
// what it holds; a part it leaves out is taken from the surroundings it was made
// inside of, and where none holds a part its headless stand-in answers. Destroying
// it restores what was in force before it, so nothing needs resetting afterwards.
#include "game_results.h"
#include "host.h"
#include "table.h"

namespace funktioner {

struct Attachments {
    karvelo::Host* host = nullptr;
    Table* table = nullptr;
    GameResults* results = nullptr;
};

class Surroundings {
public:
    explicit Surroundings(Attachments parts);
    ~Surroundings();
    Surroundings(const Surroundings&) = delete;
    Surroundings& operator=(const Surroundings&) = delete;

    // Each part from the innermost living Surroundings that holds one; null where
    // none does.
    static Attachments InForce();

private:
    Attachments parts_;
    Surroundings* outer_;  // the innermost one when this was made
};

}  // namespace funktioner
