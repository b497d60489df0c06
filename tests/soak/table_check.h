#pragma once
// What must hold of the table after every input event. Each check returns "" when
// everything holds, or a description of the first thing that does not.
#include <string>

namespace karvelo {
class KarveloWindow;
}

namespace karvelo::soak {

// The board in memory: every card once (a tableau or free cell, or counted into its
// foundation), counts that agree with the cells, and every card not on a foundation
// carrying the tag of the cell that holds it. Holds at every moment, also between
// the steps of a flight; only while a run is being laid down card by card may a
// column have gaps where the cards already moved were (`settled` false), its count
// still being the number of cards it holds.
std::string CheckBoard(const KarveloWindow& w, bool settled);

// Once nothing is being laid down any more: every card picture stands exactly where
// its tag (or its foundation) says, is enabled exactly when it is still in play,
// covers the cards above it in its column, and the column bases, the peek copy and
// the arrows are as they should be.
struct Quiet {
    bool rightHeld = false;  // the peek copy may show
    bool leftHeld = false;   // a dragged picture may show
};
std::string CheckPictures(const KarveloWindow& w, const Quiet& quiet);

}  // namespace karvelo::soak
