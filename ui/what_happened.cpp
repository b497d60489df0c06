#include "what_happened.h"

#include <algorithm>
#include <array>
#include <vector>

#include "card_names.h"

namespace karvelo {
namespace {

// Where each card lies, by place index; -1 for a card not on the table.
using Whereabouts = std::array<int, 53>;

Whereabouts WhereaboutsOf(const TableDescription& d) {
    Whereabouts at;
    at.fill(-1);
    for (size_t i = 0; i < d.places.size(); ++i) {
        const PlaceNode& place = d.places[i];
        if (place.place.kind == PlaceKind::Foundation && !place.cards.empty()) {
            // The top card stands for all of its suit below it.
            const int top = place.cards.back().code;
            for (int code = 13 * place.place.number + 1; code <= top; ++code) at[static_cast<size_t>(code)] = static_cast<int>(i);
            continue;
        }
        for (const CardNode& c : place.cards)
            if (funktioner::IsCardCode(c.code)) at[static_cast<size_t>(c.code)] = static_cast<int>(i);
    }
    return at;
}

// Cards that went from one place to another, in the order they lay there.
struct Group {
    int from;
    int to;
    std::vector<int> codes;
};

std::vector<Group> Moves(const TableDescription& before, const Whereabouts& was, const Whereabouts& is) {
    std::vector<Group> groups;
    // Deepest first within each place: the order of the places' card lists before.
    for (const PlaceNode& place : before.places) {
        std::vector<int> codes;
        if (place.place.kind == PlaceKind::Foundation) continue;  // played cards stay
        for (const CardNode& c : place.cards) codes.push_back(c.code);
        for (int code : codes) {
            const int from = was[static_cast<size_t>(code)];
            const int to = is[static_cast<size_t>(code)];
            if (to < 0 || to == from) continue;
            auto g = std::find_if(groups.begin(), groups.end(),
                                  [&](const Group& x) { return x.from == from && x.to == to; });
            if (g == groups.end()) {
                groups.push_back({from, to, {}});
                g = groups.end() - 1;
            }
            g->codes.push_back(code);
        }
    }
    return groups;
}

std::string Run(const std::vector<int>& codes) {
    if (codes.size() == 1) return CardName(codes.front());
    return std::to_string(codes.size()) + " kort från " + CardName(codes.front());
}

std::string Names(const std::vector<int>& codes) {
    std::string s;
    for (int code : codes) s += (s.empty() ? "" : ", ") + CardName(code);
    return s;
}

int CardsOn(const Whereabouts& at, PlaceKind kind) {
    int n = 0;
    for (int code = 1; code <= 52; ++code)
        n += at[static_cast<size_t>(code)] >= 0 && PlaceAt(at[static_cast<size_t>(code)]).kind == kind ? 1 : 0;
    return n;
}

// The place whose cards are lifted, and the lifted cards.
struct Lift {
    int place = -1;
    std::vector<int> codes;
};

Lift LiftOf(const TableDescription& d) {
    Lift lift;
    for (size_t i = 0; i < d.places.size(); ++i) {
        for (const CardNode& c : d.places[i].cards) {
            if (!c.lifted) continue;
            lift.place = static_cast<int>(i);
            lift.codes.push_back(c.code);
        }
    }
    return lift;
}

void Add(std::string& text, const std::string& sentence) {
    if (sentence.empty()) return;
    text += (text.empty() ? "" : ". ") + sentence;
}

}  // namespace

std::string WhatHappened(const TableDescription& before, const TableDescription& after) {
    const Whereabouts was = WhereaboutsOf(before);
    const Whereabouts is = WhereaboutsOf(after);
    const int onTableBefore = 52 - static_cast<int>(std::count(was.begin() + 1, was.end(), -1));
    const int onTableAfter = 52 - static_cast<int>(std::count(is.begin() + 1, is.end(), -1));
    if (onTableAfter == 0) return onTableBefore > 0 ? "Bordet är tomt" : "";
    // A deal lays every card into the columns and moves far more cards than any run.
    int changed = 0;
    for (int code = 1; code <= 52; ++code) changed += was[static_cast<size_t>(code)] != is[static_cast<size_t>(code)] ? 1 : 0;
    if (CardsOn(is, PlaceKind::Column) == 52 && changed > 0 && (onTableBefore < 52 || changed > 13))
        return "Nytt spel";

    const Lift liftedBefore = LiftOf(before);
    const Lift liftedAfter = LiftOf(after);
    std::vector<Group> moves = Moves(before, was, is);

    std::string text;
    // The player's own move: the lifted cards, or else every move that is not to a
    // foundation (the mouse's); what went to the foundations besides is the automatic
    // play.
    std::vector<int> played;
    bool playerMoved = false;
    for (const Group& g : moves) {
        const bool lifted = liftedBefore.place >= 0 && g.from == liftedBefore.place;
        const bool toFoundation = PlaceAt(g.to).kind == PlaceKind::Foundation;
        if (lifted || (liftedBefore.place < 0 && !toFoundation)) {
            Add(text, Run(g.codes) + " till " + PlaceNameInSentence(PlaceAt(g.to)));
            playerMoved = playerMoved || lifted;
        } else {
            played.insert(played.end(), g.codes.begin(), g.codes.end());
        }
    }
    if (liftedBefore.place >= 0 && !playerMoved && liftedAfter.codes != liftedBefore.codes)
        Add(text, "Inget flyttat: " + Run(liftedBefore.codes) + " ligger kvar i " +
                      PlaceNameInSentence(PlaceAt(liftedBefore.place)));
    if (!played.empty()) Add(text, "Till högarna: " + Names(played));
    if (liftedAfter.place >= 0 && liftedAfter.codes != liftedBefore.codes)
        Add(text, "Lyft: " + Run(liftedAfter.codes));
    return text;
}

}  // namespace karvelo
