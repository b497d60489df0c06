#pragma once
// The cards and the places of the table as a screen reader speaks them, in Swedish:
// "spader dam", "Kolumn 3", "Fri cell A", "Hög Klöver".
#include <string>

#include "key_focus.h"

namespace karvelo {

// Ess, två, ..., tio, knekt, dam, kung for ranks 1 to 13; empty for any other rank.
std::string RankName(int rank);
// The suit in lower case ("hjärter") and the card: "hjärter knekt"; empty for a code
// that names no card.
std::string SuitName(int suit);
std::string CardName(int code);
// "Fri cell H", "Hög Hjärter", "Kolumn 3".
std::string PlaceName(const TablePlace& place);
// The same inside a sentence: "fri cell H", "hög Hjärter", "kolumn 3".
std::string PlaceNameInSentence(const TablePlace& place);

}  // namespace karvelo
