#pragma once
// The game engine: cards, the table in memory, dealing, the move rules, play to the
// foundations, automatic play and new games. Qt-free; it reaches the window only
// through Table (element operations) and karvelo::Host (message boxes, DoEvents).
#include <cstdint>
#include <functional>
#include <string>

#include "table.h"

namespace funktioner {

// ---- Card codes: 1 to 52, suits Hjärter, Klöver, Ruter, Spader; ace to king.
constexpr int SuitOf(int code) { return (code - 1) / 13; }
constexpr int RankOf(int code) { return (code - 1) % 13 + 1; }
constexpr int ColourOf(int code) { return SuitOf(code) % 2; }  // 0 red, 1 black

// ---- The table in memory: Board(column, row), 10 x 22.
// Column 0 the free cells, 1 to 8 the tableau, 9 the foundations; row 0 a count.
class BoardArray {
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 22;
    int32_t& operator()(int column, int row);
    int32_t operator()(int column, int row) const;
    void Clear();
private:
    int32_t cells_[kColumns][kRows] = {};
    int32_t scratch_ = 0;  // target of an out-of-range access; never read back
};

// Deck(p), p = 1 to 52: the code dealt at deal position p.
class DeckArray {
public:
    int32_t& operator()(int position);
    int32_t operator()(int position) const;
    void Clear();
private:
    int32_t cells_[53] = {};
    int32_t scratch_ = 0;
};

extern BoardArray Board;
extern DeckArray Deck;
extern bool GameInProgress;
extern bool AutoPlayActive;
extern int32_t AnimationSpeed;  // 1, 9, 17, 25 or 33; default 17

// ---- Rules shared by every move.
bool CanStackOn(int32_t lower, int32_t upper);
void MoveCardInBoard(const std::string& destinationTag, const std::string& sourceTag,
                     int32_t code);

// ---- Shuffle and deal.
void ShuffleDeck();
void DealCards();
void ClearBoard();
// How many deals this run has laid out; tells a waiting command that a deal came first.
int64_t DealNumber();

// ---- Moves. `source` is the dragged card's imgKort index (its card code). Each
// handler first asks Admit and does nothing at all unless told Run; a source or
// target whose tag does not match Board (a played card, a stale or malformed tag)
// is a drop that does not qualify.
void imgKort_DragDrop(int16_t Index, int source);   // onto a card or column base
void imgHand_DragDrop(int16_t Index, int source);   // onto free cell Index
void imgHog_DragDrop(int16_t Index, int source);    // onto foundation Index
void imgKort_DblClick(int16_t Index);               // to the leftmost empty free cell
bool PlayToFoundation(int16_t foundation, int card, bool safeOnly);
void AutoPlay();
void NewGame();

// ---- The card flight.
void AnimateMove(Element mover, Element anchor, int16_t dx, int16_t dy, int32_t steps);

// ---- Input arriving in the middle of a move.
// Flights, the automatic play, clearing and dealing all let the window process
// events. Whether the player's input may act then is decided here, once.
enum class PlayerInput {
    CardPress,        // left press on a card (drag start); also accepted for a right press
    PeekPress,        // right press on a card that shows the peek copy
    PeekRelease,      // right release that hides the peek copy
    Drop,             // any drop: card, column base, free cell, foundation
    DoubleClick,
    NewGame,          // the "Nytt spel" command
    Quit,             // "Avsluta" and closing the window
    Statistics,       // the statistics window and the hidden statistics keys
};
enum class Verdict { Run, Ignore, Defer };
Verdict Admit(PlayerInput input);
// True while a player's move (its flights and the automatic play after it), a win
// sequence or a new deal is being laid down.
bool MoveInProgress();

// Marks the span of a move or a deal for Admit. Holds nest; each one counts until it
// is destroyed. The engine's handlers hold Move, NewGame holds Deal; the window holds
// Deal while it grows before the first deal.
enum class Hold { Move, Deal };
class GateHold {
public:
    explicit GateHold(Hold hold);
    ~GateHold();
    GateHold(const GateHold&) = delete;
    GateHold& operator=(const GateHold&) = delete;
private:
    Hold hold_;
};

// ---- Random source: uniform single-precision values in [0, 1).
void SetRandomSource(std::function<float()> next);
void SeedRandomFromClock();

// Puts every module value back to its start-of-run state (tests, shut-down).
void ResetEngine();

}  // namespace funktioner
