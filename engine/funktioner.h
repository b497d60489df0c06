#pragma once
// The game engine: cards, the table in memory, dealing, the move rules, play to the
// foundations, automatic play, new games and the card flight. It depends on nothing
// else of the program's; it reaches the outside only through interfaces it declares:
// the window's picture elements (table.h), the host's message boxes and event
// processing (host.h) and the receiver of game results (game_results.h). Input that
// arrives in the middle of a move is decided by its gate (input_gate.h).
#include <cstdint>
#include <functional>
#include <string>

#include "game_results.h"
#include "input_gate.h"
#include "table.h"

namespace funktioner {

// ---- Card codes: 1 to 52, suits Hjärter, Klöver, Ruter, Spader; ace to king.
constexpr int SuitOf(int code) { return (code - 1) / 13; }
constexpr int RankOf(int code) { return (code - 1) % 13 + 1; }
constexpr int ColourOf(int code) { return SuitOf(code) % 2; }  // 0 red, 1 black
constexpr bool IsCardCode(int code) { return code >= 1 && code <= 52; }

// ---- The table in memory: Board(column, row), 10 x 22; row 0 of each column a count.
inline constexpr int kFreeCells = 0;    // column 0: free cell s at row s + 1
inline constexpr int kFirstColumn = 1;  // tableau columns 1 to 8, left to right
inline constexpr int kLastColumn = 8;
inline constexpr int kFoundations = 9;  // column 9: top code of foundation p at row p + 1
inline constexpr int kCountRow = 0;
inline constexpr int kFreeCellSlots = 4;
inline constexpr int kSuits = 4;

class BoardArray {
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 22;
    // An index outside the array is a programmer error; release builds read 0 and
    // write nowhere.
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

// ---- The module values. One owner holds them (module_values.cpp) with their start
// values; these are their names.
inline constexpr int32_t kStandardAnimationSpeed = 17;
extern BoardArray& Board;
extern DeckArray& Deck;
extern bool& GameInProgress;
extern bool& AutoPlayActive;
extern int32_t& AnimationSpeed;  // 1, 9, 17, 25 or 33; default 17

// Puts every module value back to its start-of-run state.
void ResetEngine();

// ---- Rules shared by every move.
bool CanStackOn(int32_t lower, int32_t upper);
void MoveCardInBoard(const std::string& destinationTag, const std::string& sourceTag,
                     int32_t code);

// ---- Shuffle and deal.
void ShuffleDeck();
void DealCards();
void ClearBoard();

// ---- Moves. `source` is the dragged card's imgKort index (its card code). Each
// handler first asks the gate and does nothing at all unless told Run; a source or
// target whose tag does not match Board (a played card, a stale or malformed tag) is
// a drop that does not qualify.
void imgKort_DragDrop(int16_t Index, int source);   // onto a card or column base
void imgHand_DragDrop(int16_t Index, int source);   // onto free cell Index
void imgHog_DragDrop(int16_t Index, int source);    // onto foundation Index
void imgKort_DblClick(int16_t Index);               // to the leftmost empty free cell
bool PlayToFoundation(int16_t foundation, int card, bool safeOnly);
void AutoPlay();
void NewGame();

// ---- The card flight.
void AnimateMove(Element mover, Element anchor, int16_t dx, int16_t dy, int32_t steps);

// ---- Random source: uniform single-precision values in [0, 1).
void SetRandomSource(std::function<float()> next);
void SeedRandomFromClock();

}  // namespace funktioner
