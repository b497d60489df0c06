#include "table_check.h"

#include <array>
#include <optional>

#include "funktioner.h"
#include "karvelo_window.h"
#include "layout.h"
#include "tags.h"
#include "window_layout.h"

namespace karvelo::soak {
namespace {

using funktioner::Board;
namespace game = funktioner::layout;

std::string Cell(int c, int r) {
    return "Board(" + std::to_string(c) + ", " + std::to_string(r) + ")";
}

bool BoardEmpty() {
    for (int c = 0; c < funktioner::BoardArray::kColumns; ++c)
        for (int r = 0; r < funktioner::BoardArray::kRows; ++r)
            if (Board(c, r) != 0) return false;
    return true;
}

// Cards on foundation p, or nothing when its cell does not belong to that suit.
std::optional<int> OnFoundation(int p) {
    const int n = Board(9, p + 1) - 13 * p;
    if (n < 0 || n > 13) return std::nullopt;
    return n;
}

bool CountedOnFoundation(int code) {
    const auto n = OnFoundation(funktioner::SuitOf(code));
    return n && funktioner::RankOf(code) <= *n;
}

std::string Where(const TwipRect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")";
}

}  // namespace

std::string CheckBoard(const KarveloWindow& w, bool settled) {
    if (BoardEmpty()) return {};
    int onFoundations = 0;
    for (int p = 0; p < 4; ++p) {
        const auto n = OnFoundation(p);
        if (!n) return Cell(9, p + 1) + " = " + std::to_string(Board(9, p + 1)) +
                       " is not a top card of foundation " + std::to_string(p);
        onFoundations += *n;
    }
    if (Board(9, 0) != onFoundations)
        return Cell(9, 0) + " = " + std::to_string(Board(9, 0)) + ", foundations hold " +
               std::to_string(onFoundations);
    for (int r = 5; r < funktioner::BoardArray::kRows; ++r)
        if (Board(0, r) != 0 || Board(9, r) != 0) return "a code beyond row 4 at row " + std::to_string(r);

    std::array<int, 53> seen{};
    int occupied = 0;
    for (int r = 1; r <= 4; ++r) {
        const int code = Board(0, r);
        if (code == 0) continue;
        if (!funktioner::layout::IsCardIndex(code)) return Cell(0, r) + " holds " + std::to_string(code);
        ++occupied;
        ++seen[static_cast<size_t>(code)];
    }
    if (Board(0, 0) != occupied)
        return Cell(0, 0) + " = " + std::to_string(Board(0, 0)) + " but " +
               std::to_string(occupied) + " free cells are occupied";
    for (int c = 1; c <= 8; ++c) {
        const int n = Board(c, 0);
        if (n < 0 || n > 19) return Cell(c, 0) + " = " + std::to_string(n);
        int held = 0;
        for (int r = 1; r < funktioner::BoardArray::kRows; ++r) {
            const int code = Board(c, r);
            if (code == 0) {
                if (settled && r <= n)
                    return Cell(c, r) + " = 0 inside a column of " + std::to_string(n);
                continue;
            }
            if (!funktioner::layout::IsCardIndex(code)) return Cell(c, r) + " = " + std::to_string(code);
            if (settled && r > n)
                return Cell(c, r) + " = " + std::to_string(code) + " beyond a column of " + std::to_string(n);
            ++held;
            ++seen[static_cast<size_t>(code)];
        }
        if (held != n)
            return Cell(c, 0) + " = " + std::to_string(n) + " but the column holds " + std::to_string(held);
    }
    for (int code = 1; code <= 52; ++code) {
        const int count = seen[static_cast<size_t>(code)] + (CountedOnFoundation(code) ? 1 : 0);
        if (count != 1)
            return "card " + std::to_string(code) + " is on the table " + std::to_string(count) + " times";
        if (CountedOnFoundation(code)) continue;
        if (!w.form().CardExists(code)) return "card " + std::to_string(code) + " is in play but has no picture";
        const std::string tag = w.form().Tag(code);
        const auto place = funktioner::ParseTag(tag);
        if (!place || Board(place->column, place->row) != code)
            return "card " + std::to_string(code) + " has the tag \"" + tag +
                   "\" but the board does not hold it there";
    }
    return {};
}

std::string CheckPictures(const KarveloWindow& w, const Quiet& quiet) {
    const Scene& scene = w.form().scene();
    const bool empty = BoardEmpty();
    if (empty == funktioner::GameInProgress)
        return std::string("the board is ") + (empty ? "empty" : "dealt") +
               " while GameInProgress is " + (funktioner::GameInProgress ? "true" : "false");
    if (funktioner::AutoPlayActive || funktioner::gate().MoveInProgress())
        return "a move is still marked as in progress";
    if (Board(9, 0) == 52) return "a won game is still on the table";

    for (int code = 1; code <= 52; ++code) {
        const SceneElement* e = scene.Find({ElementKind::Kort, code});
        const std::string card = "card " + std::to_string(code);
        if (empty) {
            if (e) return card + " still has a picture on an empty table";
            continue;
        }
        if (!e) return card + " has no picture";
        if (!e->visible) return card + " is hidden";
        if (e->picture != game::kFaceResourceBase + code) return card + " shows the wrong face";
        if (e->rect.width != karvelo::layout::kCardWidth) return card + " has the wrong width";
        TwipRect expected = e->rect;
        const int suit = funktioner::SuitOf(code);
        if (CountedOnFoundation(code)) {
            const TwipRect frame = karvelo::layout::Foundation(suit);
            expected.left = frame.left + game::kCellOffsetLeft;
            expected.top = frame.top + game::kCellOffsetTop;
            if (e->enabled) return card + " lies on its foundation but is still enabled";
            // Each card played comes to the front on arrival.
            if (funktioner::RankOf(code) > 1 &&
                scene.DepthOf({ElementKind::Kort, code - 1}) > scene.DepthOf(e->id))
                return card + " lies beneath the card below it on its foundation";
        } else {
            const auto place = funktioner::ParseTag(e->tag);
            if (!place) return card + " has the tag \"" + e->tag + "\"";
            if (!e->enabled) return card + " is in play but disabled";
            if (place->column == 0) {
                const TwipRect frame = karvelo::layout::Cell(place->row - 1);
                expected.left = frame.left + game::kCellOffsetLeft;
                expected.top = frame.top + game::kCellOffsetTop;
            } else {
                expected.left = static_cast<float>(game::CardLeft(place->column));
                expected.top = static_cast<float>(game::CardTop(place->row));
                if (place->row > 1) {
                    const int below = Board(place->column, place->row - 1);
                    if (scene.DepthOf({ElementKind::Kort, below}) > scene.DepthOf(e->id))
                        return card + " lies beneath card " + std::to_string(below) +
                               ", which it should cover";
                }
            }
        }
        if (!(e->rect == expected))
            return card + " (tag \"" + e->tag + "\") stands at " + Where(e->rect) +
                   ", expected " + Where(expected);
    }

    for (int c = 1; c <= 8; ++c) {
        const SceneElement* base = scene.Find({ElementKind::Kort, game::BaseIndex(c)});
        const std::string name = "the base of column " + std::to_string(c);
        if (empty) {
            if (base) return name + " is still there on an empty table";
            continue;
        }
        if (!base) return name + " is missing";
        const TwipRect expected{static_cast<float>(game::CardLeft(c) + game::kBaseInset),
                                static_cast<float>(game::kFirstCardTop + game::kBaseInset),
                                karvelo::layout::kCardWidth - game::kBaseShrink,
                                karvelo::layout::kCardHeight - game::kBaseShrink};
        if (!(base->rect == expected)) return name + " stands at " + Where(base->rect);
        if (base->tag != "9" + std::to_string(c)) return name + " has the tag \"" + base->tag + "\"";
        if (!base->visible || !base->enabled || !base->border || base->picture != 0)
            return name + " is not a visible, enabled, empty frame";
        if (scene.DepthOf(base->id) > scene.DepthOf({ElementKind::Kort, 0}) &&
            scene.Find({ElementKind::Kort, 0})->visible)
            return name + " lies in front of the peek copy";
    }

    const SceneElement* peek = scene.Find({ElementKind::Kort, 0});
    if (!peek) return "the template card is gone";
    if (peek->visible && !quiet.rightHeld) return "the peek copy shows with no right button held";
    if (peek->enabled && !empty) return "the template card is enabled";

    int arrows = 0;
    for (ElementKind k : {ElementKind::PilN, ElementKind::PilH, ElementKind::PilV}) {
        const SceneElement* a = scene.Find({k, 0});
        if (!a) return "an arrow is missing";
        arrows += a->visible ? 1 : 0;
    }
    if (arrows != 1) return std::to_string(arrows) + " arrows show";

    if (w.form().DragActive() != quiet.leftHeld && w.form().DragActive())
        return "a card is being dragged with no left button held";
    if (scene.Drag() && !w.form().DragActive())
        return "a dragged picture shows with no drag";
    return {};
}

}  // namespace karvelo::soak
