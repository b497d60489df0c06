// The table in memory and the two rules every move shares.
#include "check.h"
#include "funktioner.h"
#include "tags.h"

namespace funktioner {
namespace {

bool InBoard(int column, int row) {
    return column >= 0 && column < BoardArray::kColumns && row >= 0 && row < BoardArray::kRows;
}

}  // namespace

int32_t& BoardArray::operator()(int column, int row) {
    KARVELO_ASSERT(InBoard(column, row));
    if (!InBoard(column, row)) {
        scratch_ = 0;
        return scratch_;
    }
    return cells_[column][row];
}

int32_t BoardArray::operator()(int column, int row) const {
    KARVELO_ASSERT(InBoard(column, row));
    if (!InBoard(column, row)) return 0;
    return cells_[column][row];
}

void BoardArray::Clear() {
    for (auto& column : cells_) {
        for (auto& cell : column) cell = 0;
    }
}

int32_t& DeckArray::operator()(int position) {
    KARVELO_ASSERT(position >= 1 && position <= 52);
    if (position < 1 || position > 52) {
        scratch_ = 0;
        return scratch_;
    }
    return cells_[position];
}

int32_t DeckArray::operator()(int position) const {
    KARVELO_ASSERT(position >= 1 && position <= 52);
    if (position < 1 || position > 52) return 0;
    return cells_[position];
}

void DeckArray::Clear() {
    for (auto& cell : cells_) cell = 0;
}

bool CanStackOn(int32_t lower, int32_t upper) {
    // 0 stands for the row-0 place of an empty column: the caller admits that itself.
    if (!IsCardCode(lower) || !IsCardCode(upper)) return false;
    return ColourOf(upper) != ColourOf(lower) && RankOf(upper) == RankOf(lower) - 1;
}

void MoveCardInBoard(const std::string& destinationTag, const std::string& sourceTag,
                     int32_t code) {
    // The destination names the cell beneath the one that receives the card. Both tags
    // are the engine's own, checked against Board before the move was chosen.
    const auto source = ParseTag(sourceTag);
    const auto destination = ParseTag(destinationTag);
    KARVELO_ASSERT(source && destination && destination->row + 1 < BoardArray::kRows);
    if (!source || !destination || destination->row + 1 >= BoardArray::kRows) return;
    Board(source->column, kCountRow) -= 1;
    Board(source->column, source->row) = 0;
    Board(destination->column, destination->row + 1) = code;
    Board(destination->column, kCountRow) += 1;
}

}  // namespace funktioner
