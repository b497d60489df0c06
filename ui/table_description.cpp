#include "table_description.h"

#include <algorithm>

#include "card_names.h"
#include "layout.h"
#include "window_layout.h"

namespace karvelo {
namespace {

namespace L = funktioner::layout;
using funktioner::Board;

TwipRect Union(const TwipRect& a, const TwipRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    const float left = std::min(a.left, b.left);
    const float top = std::min(a.top, b.top);
    return {left, top, std::max(a.Right(), b.Right()) - left, std::max(a.Bottom(), b.Bottom()) - top};
}

TwipRect RectOf(const Scene& scene, ElementId id, const TwipRect& otherwise) {
    const SceneElement* e = scene.Find(id);
    return e ? e->rect : otherwise;
}

// The number of cards on foundation p; its top card is the highest of them.
int FoundationCount(const funktioner::BoardArray& board, int p) {
    return std::clamp(board(funktioner::kFoundations, p + 1) - 13 * p, 0, 13);
}

int ColumnLength(const funktioner::BoardArray& board, int column) {
    return std::clamp(board(column, funktioner::kCountRow), 0, funktioner::BoardArray::kRows - 1);
}

// The codes a place holds, deepest first, as they can be named: a column's cards, a
// free cell's card, a foundation's top card.
std::vector<int> Codes(const funktioner::BoardArray& board, const TablePlace& place) {
    std::vector<int> codes;
    switch (place.kind) {
    case PlaceKind::FreeCell:
        if (const int code = board(funktioner::kFreeCells, place.number + 1); funktioner::IsCardCode(code))
            codes.push_back(code);
        break;
    case PlaceKind::Foundation:
        if (const int n = FoundationCount(board, place.number); n > 0) codes.push_back(13 * place.number + n);
        break;
    case PlaceKind::Column:
        for (int row = 1; row <= ColumnLength(board, place.number); ++row)
            if (const int code = board(place.number, row); funktioner::IsCardCode(code)) codes.push_back(code);
        break;
    }
    return codes;
}

std::string Contents(const funktioner::BoardArray& board, const TablePlace& place,
                     const std::vector<int>& codes) {
    if (codes.empty()) return "tom";
    switch (place.kind) {
    case PlaceKind::FreeCell: return CardName(codes.front());
    case PlaceKind::Foundation: return "upp till " + RankName(FoundationCount(board, place.number));
    case PlaceKind::Column: break;
    }
    return std::to_string(codes.size()) + " kort, överst " + CardName(codes.back());
}

TwipRect PlaceBounds(const Scene& scene, const TablePlace& place) {
    switch (place.kind) {
    case PlaceKind::FreeCell: return RectOf(scene, {ElementKind::Hand, place.number}, layout::Cell(place.number));
    case PlaceKind::Foundation:
        return RectOf(scene, {ElementKind::Hog, place.number}, layout::Foundation(place.number));
    case PlaceKind::Column: break;
    }
    const TwipRect first{static_cast<float>(L::CardLeft(place.number)), static_cast<float>(L::CardTop(1)),
                         layout::kCardWidth, layout::kCardHeight};
    return RectOf(scene, {ElementKind::Kort, L::BaseIndex(place.number)}, first);
}

// "hjärter knekt", or "3 kort från ruter nio" for a run.
std::string RunText(const std::vector<CardNode>& cards, bool CardNode::*mark) {
    std::vector<const CardNode*> marked;
    for (const CardNode& c : cards)
        if (c.*mark) marked.push_back(&c);
    if (marked.empty()) return {};
    if (marked.size() == 1) return marked.front()->name;
    return std::to_string(marked.size()) + " kort från " + marked.front()->name;
}

// Marks the last `count` cards of a column, or a free cell's card; a foundation's
// cards are never moved again.
void MarkLast(PlaceNode& node, int count, bool CardNode::*mark) {
    if (node.place.kind == PlaceKind::Foundation) return;
    const int n = static_cast<int>(node.cards.size());
    for (int i = std::max(0, n - std::max(count, 1)); i < n; ++i) node.cards[static_cast<size_t>(i)].*mark = true;
}

}  // namespace

int PlaceIndex(const TablePlace& place) {
    switch (place.kind) {
    case PlaceKind::FreeCell: return place.number >= 0 && place.number < 4 ? place.number : -1;
    case PlaceKind::Foundation: return place.number >= 0 && place.number < 4 ? 4 + place.number : -1;
    case PlaceKind::Column: return place.number >= 1 && place.number <= 8 ? 7 + place.number : -1;
    }
    return -1;
}

TablePlace PlaceAt(int index) {
    if (index < 4) return {PlaceKind::FreeCell, index};
    if (index < 8) return {PlaceKind::Foundation, index - 4};
    return {PlaceKind::Column, index - 7};
}

TableDescription DescribeTable(const funktioner::BoardArray& board, const Scene& scene,
                               const std::optional<KeyFocus>& focus) {
    TableDescription table;
    table.focused = !focus.has_value();
    for (int i = 0; i < kPlaceCount; ++i) {
        PlaceNode node;
        node.place = PlaceAt(i);
        const std::vector<int> codes = Codes(board, node.place);
        node.name = PlaceName(node.place) + ", " + Contents(board, node.place, codes);
        node.bounds = PlaceBounds(scene, node.place);
        for (int code : codes) {
            CardNode card{code, CardName(code), RectOf(scene, {ElementKind::Kort, code}, {}), false, false};
            if (node.place.kind == PlaceKind::Column) node.bounds = Union(node.bounds, card.bounds);
            node.cards.push_back(std::move(card));
        }
        table.places.push_back(std::move(node));
        table.bounds = Union(table.bounds, table.places.back().bounds);
    }
    if (!focus) return table;

    std::string lifted;
    if (focus->lifted) {
        if (const int from = PlaceIndex(focus->lifted->from); from >= 0) {
            PlaceNode& node = table.places[static_cast<size_t>(from)];
            MarkLast(node, focus->lifted->cards, &CardNode::lifted);
            lifted = RunText(node.cards, &CardNode::lifted);
            node.lifted = !lifted.empty();
            if (node.lifted) node.description = "Lyft: " + lifted;
        }
    }
    if (const int at = PlaceIndex(focus->place); at >= 0) {
        PlaceNode& node = table.places[static_cast<size_t>(at)];
        node.focused = true;
        MarkLast(node, focus->cards, &CardNode::taken);
        if (!lifted.empty() && !(focus->lifted->from == focus->place)) {
            node.description =
                "Lyft i " + PlaceNameInSentence(focus->lifted->from) + ": " + lifted;
        } else if (lifted.empty() && focus->cards > 1) {
            node.description = "Tar " + RunText(node.cards, &CardNode::taken);
        }
    } else {
        table.focused = true;
    }
    return table;
}

}  // namespace karvelo
