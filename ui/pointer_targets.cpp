#include "pointer_targets.h"

namespace karvelo {
namespace {

// The foundation a disabled card lies on, judged by the card's centre.
std::optional<int> FoundationUnder(const Scene& scene, const SceneElement& card) {
    const float cx = card.rect.left + card.rect.width / 2;
    const float cy = card.rect.top + card.rect.height / 2;
    for (int p = 0; p < 4; ++p) {
        const SceneElement* frame = scene.Find({ElementKind::Hog, p});
        if (frame && frame->rect.Contains(cx, cy)) return p;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ElementId> PointerTargetAt(const Scene& scene, float x, float y) {
    return scene.TopmostAt(x, y, true);
}

DropTarget DropTargetAt(const Scene& scene, float x, float y) {
    using K = DropTarget::Kind;
    const auto& order = scene.DrawingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const SceneElement& e = *it;
        if (!e.visible || !e.rect.Contains(x, y)) continue;
        if (!e.enabled) {
            if (e.id.kind == ElementKind::Kort) {
                if (auto p = FoundationUnder(scene, e)) return {K::Foundation, *p};
            }
            continue;
        }
        switch (e.id.kind) {
        case ElementKind::Kort:
            if (e.id.index == 0) return {};
            return {K::Card, e.id.index};
        case ElementKind::Hand:
            return {K::Cell, e.id.index};
        case ElementKind::LblHand:
            return {K::CellLabel, e.id.index};
        case ElementKind::Hog:
            return {K::Foundation, e.id.index};
        case ElementKind::LblFarger:
            return {K::FoundationLabel, e.id.index};
        default:
            return {};
        }
    }
    return {};
}

ArrowChoice ArrowForCardTag(const std::string& tag) {
    if (tag.empty()) return ArrowChoice::Unchanged;
    const char c = tag.front();
    if (c == '0') return ArrowChoice::Left;
    if (c >= '1' && c <= '9') return ArrowChoice::Down;
    return ArrowChoice::Unchanged;
}

}  // namespace karvelo
