#include "card_names.h"

#include "funktioner.h"
#include "window_layout.h"

namespace karvelo {
namespace {

constexpr const char* kRanks[13] = {"ess", "två", "tre", "fyra", "fem", "sex", "sju",
                                    "åtta", "nio", "tio", "knekt", "dam", "kung"};
constexpr const char* kSuits[4] = {"hjärter", "klöver", "ruter", "spader"};

}  // namespace

std::string RankName(int rank) { return rank >= 1 && rank <= 13 ? kRanks[rank - 1] : ""; }

std::string SuitName(int suit) { return suit >= 0 && suit < 4 ? kSuits[suit] : ""; }

std::string CardName(int code) {
    if (!funktioner::IsCardCode(code)) return {};
    return SuitName(funktioner::SuitOf(code)) + " " + RankName(funktioner::RankOf(code));
}

std::string PlaceName(const TablePlace& place) {
    switch (place.kind) {
    case PlaceKind::FreeCell:
        if (place.number < 0 || place.number > 3) break;
        return std::string("Fri cell ") + layout::kHandLetters[place.number];
    case PlaceKind::Foundation:
        if (place.number < 0 || place.number > 3) break;
        return std::string("Hög ") + layout::kSuitNames[place.number];
    case PlaceKind::Column:
        return "Kolumn " + std::to_string(place.number);
    }
    return {};
}

std::string PlaceNameInSentence(const TablePlace& place) {
    std::string name = PlaceName(place);
    // The first word is plain ASCII in every place name.
    if (!name.empty()) name[0] = static_cast<char>(name[0] - 'A' + 'a');
    return name;
}

}  // namespace karvelo
