// The table in memory, the module values and the two rules every move shares.


#include "funktioner.h"
#include "tags.h"

namespace funktioner {

BoardArray Board;
DeckArray Deck;
bool GameInProgress = false;
bool AutoPlayActive = false;
int32_t AnimationSpeed = 17;

int32_t& BoardArray::operator()(int column, int row) {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) {
        scratch_ = 0;
        return scratch_;
    }
    return cells_[column][row];
}

int32_t BoardArray::operator()(int column, int row) const {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return 0;
    return cells_[column][row];
}

void BoardArray::Clear() {
    for (auto& column : cells_) {
        for (auto& cell : column) cell = 0;
    }
}

int32_t& DeckArray::operator()(int position) {
    if (position < 1 || position > 52) {
        scratch_ = 0;
        return scratch_;
    }
    return cells_[position];
}

int32_t DeckArray::operator()(int position) const {
    if (position < 1 || position > 52) return 0;
    return cells_[position];
}

void DeckArray::Clear() {
    for (auto& cell : cells_) cell = 0;
}

bool CanStackOn(int32_t lower, int32_t upper) {
    if (lower < 1 || lower > 52 || upper < 1 || upper > 52) return false;
    return ColourOf(upper) != ColourOf(lower) && RankOf(upper) == RankOf(lower) - 1;
}

void MoveCardInBoard(const std::string& destinationTag, const std::string& sourceTag,
                     int32_t code) {
    // The destination names the cell beneath the one that receives the card.
    const auto source = ParseTag(sourceTag);
    const auto destination = ParseTag(destinationTag);
    if (!source || !destination) return;
    Board(source->column, 0) -= 1;
    Board(source->column, source->row) = 0;
    Board(destination->column, destination->row + 1) = code;
    Board(destination->column, 0) += 1;
}

}  // namespace funktioner
