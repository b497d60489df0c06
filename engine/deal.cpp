// Shuffling, dealing and clearing the table.
#include <algorithm>
#include <cmath>

#include "funktioner.h"
#include "host.h"
#include "layout.h"
#include "random.h"
#include "tags.h"

namespace funktioner {
namespace {

// A source that keeps hitting taken positions (a broken or constant one) must not
// hang the deal: after this many misses in a row the next free position is taken.
constexpr int kMaxMissesInARow = 10000;

int DrawPosition() {
    const double q = std::floor(static_cast<double>(NextRandom()) * 52.0 + 1.0);
    return std::clamp(static_cast<int>(q), 1, 52);
}

}  // namespace

void ShuffleDeck() {
    Deck.Clear();
    for (int code = 1; code <= 52; ++code) {
        int position = DrawPosition();
        int misses = 0;
        while (Deck(position) != 0) {
            if (++misses >= kMaxMissesInARow) {
                while (Deck(position) != 0) position = position % 52 + 1;
                break;
            }
            position = DrawPosition();
        }
        Deck(position) = code;
    }
}

void DealCards() {
    gate().DealLaidOut();
    auto& t = table();
    Board.Clear();
    for (int p = 1; p <= 52; ++p) {
        const int column = (p - 1) % 8 + kFirstColumn;
        const int row = (p - 1) / 8 + 1;
        const int code = Deck(p);
        if (!IsCardCode(code)) continue;
        if (t.CardExists(code)) t.DestroyCard(code);
        t.CreateCard(code);
        t.SetPicture(code, layout::kFaceResourceBase + code);
        t.SetTag(code, MakeTag(column, row));
        t.Move(code, static_cast<float>(layout::CardLeft(column)),
               static_cast<float>(layout::CardTop(row)));
        t.SetEnabled(code, true);
        t.SetVisible(code, true);
        t.BringToFront(code);
        Board(column, row) = code;
        Board(column, kCountRow) = row;
    }
    const float baseWidth = std::max(0.0f, t.Width(imgKort(1)) - layout::kBaseShrink);
    const float baseHeight = std::max(0.0f, t.Height(imgKort(1)) - layout::kBaseShrink);
    for (int column = kFirstColumn; column <= kLastColumn; ++column) {
        const int base = layout::BaseIndex(column);
        if (t.CardExists(base)) t.DestroyCard(base);
        t.CreateCard(base);
        // A copy of element 0 may carry the face last shown by the peek copy.
        t.SetPicture(base, 0);
        t.SetBorder(base, true);
        t.Move(base, static_cast<float>(layout::CardLeft(column) + layout::kBaseInset),
               static_cast<float>(layout::kFirstCardTop + layout::kBaseInset));
        t.SetSize(base, baseWidth, baseHeight);
        t.SendToBack(base);
        t.SetTag(base, MakeTag(kBaseTagDigit, column));
        t.SetEnabled(base, true);
        t.SetVisible(base, true);
    }
    for (int p = 0; p < kSuits; ++p) Board(kFoundations, p + 1) = 13 * p;
    t.SetVisible(layout::kTemplateCard, false);
    t.SetEnabled(layout::kTemplateCard, false);
    t.SendToBack(layout::kTemplateCard);
}

void ClearBoard() {
    auto& t = table();
    Board.Clear();
    Deck.Clear();
    t.SetPicture(layout::kTemplateCard, 0);
    karvelo::host().DoEvents();
    for (int code = layout::kFirstCard; code <= layout::kLastCard; ++code) {
        if (t.CardExists(code)) t.DestroyCard(code);
    }
    for (int base = layout::kFirstBase; base <= layout::kLastBase; ++base) {
        if (t.CardExists(base)) t.DestroyCard(base);
    }
    karvelo::host().DoEvents();
    karvelo::host().DoEvents();
}

}  // namespace funktioner
