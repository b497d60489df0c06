// Playing a card to a foundation, by hand or automatically, and the won game.
#include <limits>
#include <string>

#include "funktioner.h"
#include "host.h"
#include "layout.h"
#include "tags.h"

namespace funktioner {
namespace {

// The text of the question after a win; `run` is the current run of wins.
std::string WinQuestion(int32_t run) {
    return "WOW!!  Du klarade det för " + std::to_string(run) +
           " gången i rad denna omgången\r\n\r\nVill du starta ett nytt spel?";
}

// Cards on foundation q.
int32_t FoundationCount(int q) { return Board(kFoundations, q + 1) - 13 * q; }

// A card goes by itself only when both foundations of the other colour hold at least
// its rank less two.
bool SafeToPlay(int code) {
    const int first = ColourOf(code) == 0 ? 1 : 0;
    for (int q = first; q < kSuits; q += 2) {
        if ((code - 1) % 13 > FoundationCount(q) + 1) return false;
    }
    return true;
}

int32_t FoundationSteps() {
    if (AnimationSpeed > std::numeric_limits<int32_t>::max() - layout::kFoundationExtraSteps) {
        return std::numeric_limits<int32_t>::max();
    }
    return AnimationSpeed + layout::kFoundationExtraSteps;
}

void FinishWonGame() {
    results().RecordGameResult(true);
    ClearBoard();
    const auto answer = karvelo::host().MsgBox(
        WinQuestion(results().SeriesWinRun()), karvelo::Buttons::YesNo, karvelo::Icon::None,
        karvelo::DefaultButton::First, karvelo::kAppTitle);
    GameInProgress = false;
    if (answer == karvelo::Answer::Yes) NewGame();
}

}  // namespace

bool PlayToFoundation(int16_t foundation, int card, bool safeOnly) {
    const int p = foundation;
    if (p < 0 || p >= kSuits || !layout::IsCardIndex(card)) return false;
    const auto from = PlaceOfCard(card);
    if (!from || !IsFree(*from)) return false;
    if (!(13 * p < card && card < 13 * p + 14)) return false;
    if (card != Board(kFoundations, p + 1) + 1) return false;
    if (safeOnly && !SafeToPlay(card)) return false;

    auto& t = table();
    MoveCardInBoard(MakeTag(kFoundations, p), MakeTag(from->column, from->row), card);
    // The card flies at its old depth and comes to the front on arrival; it keeps
    // the tag of the place it left and takes no further input.
    AnimateMove(imgKort(card), imgHog(p), layout::kCellOffsetLeft, layout::kCellOffsetTop,
                FoundationSteps());
    t.BringToFront(card);
    t.SetEnabled(card, false);

    if (Board(kFoundations, kCountRow) == 52) FinishWonGame();
    return true;
}

void imgHog_DragDrop(int16_t Index, int source) {
    if (gate().Admit(PlayerInput::Drop) != Verdict::Run) return;
    const GateHold move = gate().Hold(Span::Move);
    PlayToFoundation(Index, source, false);
    AutoPlay();
}

}  // namespace funktioner
