#include "scene.h"

#include <algorithm>

namespace karvelo {

bool Scene::Add(const SceneElement& element) {
    if (Contains(element.id)) return false;
    elements_.push_back(element);
    DamageIfVisible(elements_.back());
    return true;
}

bool Scene::Remove(ElementId id) {
    auto it = std::find_if(elements_.begin(), elements_.end(),
                           [id](const SceneElement& e) { return e.id == id; });
    if (it == elements_.end()) return false;
    const SceneElement gone = *it;
    elements_.erase(it);
    DamageIfVisible(gone);
    return true;
}

void Scene::Clear() {
    for (const auto& e : elements_) DamageIfVisible(e);
    elements_.clear();
}

const SceneElement* Scene::Find(ElementId id) const {
    for (const auto& e : elements_)
        if (e.id == id) return &e;
    return nullptr;
}

SceneElement* Scene::Lookup(ElementId id) {
    for (auto& e : elements_)
        if (e.id == id) return &e;
    return nullptr;
}

int Scene::DepthOf(ElementId id) const {
    for (size_t i = 0; i < elements_.size(); ++i)
        if (elements_[i].id == id) return static_cast<int>(i);
    return -1;
}

void Scene::Damage(const TwipRect& rect) const {
    if (damage_ && !rect.IsEmpty()) damage_(rect);
}

void Scene::DamageIfVisible(const SceneElement& element) const {
    if (element.visible) Damage(element.rect);
}

void Scene::SetRect(ElementId id, const TwipRect& rect) {
    SceneElement* e = Lookup(id);
    if (!e || e->rect == rect) return;
    DamageIfVisible(*e);
    e->rect = rect;
    DamageIfVisible(*e);
}

void Scene::Move(ElementId id, float left, float top) {
    const SceneElement* e = Find(id);
    if (!e) return;
    SetRect(id, {left, top, e->rect.width, e->rect.height});
}

void Scene::SetPicture(ElementId id, int picture) {
    SceneElement* e = Lookup(id);
    if (!e || e->picture == picture) return;
    e->picture = picture;
    DamageIfVisible(*e);
}

void Scene::SetTag(ElementId id, const std::string& tag) {
    if (SceneElement* e = Lookup(id)) e->tag = tag;
}

void Scene::SetText(ElementId id, const std::string& text) {
    SceneElement* e = Lookup(id);
    if (!e || e->text == text) return;
    e->text = text;
    DamageIfVisible(*e);
}

void Scene::SetBorder(ElementId id, bool border) {
    SceneElement* e = Lookup(id);
    if (!e || e->border == border) return;
    e->border = border;
    DamageIfVisible(*e);
}

void Scene::SetVisible(ElementId id, bool visible) {
    SceneElement* e = Lookup(id);
    if (!e || e->visible == visible) return;
    e->visible = visible;
    Damage(e->rect);
}

void Scene::SetEnabled(ElementId id, bool enabled) {
    // A disabled picture looks the same; only the pointer sees the difference.
    if (SceneElement* e = Lookup(id)) e->enabled = enabled;
}

void Scene::BringToFront(ElementId id) {
    const int depth = DepthOf(id);
    if (depth < 0 || depth == static_cast<int>(elements_.size()) - 1) return;
    auto it = elements_.begin() + depth;
    std::rotate(it, it + 1, elements_.end());
    DamageIfVisible(elements_.back());
}

void Scene::SendToBack(ElementId id) {
    const int depth = DepthOf(id);
    if (depth <= 0) return;
    auto it = elements_.begin() + depth;
    std::rotate(elements_.begin(), it, it + 1);
    DamageIfVisible(elements_.front());
}

TwipRect Scene::DragArea(const DragPicture& drag) {
    return {drag.rect.left, drag.rect.top, drag.rect.width + kDragShadowTwips,
            drag.rect.height + kDragShadowTwips};
}

void Scene::SetDragPicture(std::optional<DragPicture> drag) {
    if (drag == drag_) return;
    if (drag_) Damage(DragArea(*drag_));
    drag_ = drag;
    if (drag_) Damage(DragArea(*drag_));
}

TwipRect Scene::MarkArea(const TwipRect& rect) {
    return {rect.left - kKeyboardMarkOutsetTwips, rect.top - kKeyboardMarkOutsetTwips,
            rect.width + 2 * kKeyboardMarkOutsetTwips, rect.height + 2 * kKeyboardMarkOutsetTwips};
}

void Scene::SetKeyboardMarks(const KeyboardMarks& marks) {
    if (marks == marks_) return;
    for (const auto* r : {&marks_.focus, &marks_.lifted})
        if (*r) Damage(MarkArea(**r));
    marks_ = marks;
    for (const auto* r : {&marks_.focus, &marks_.lifted})
        if (*r) Damage(MarkArea(**r));
}

std::optional<ElementId> Scene::TopmostAt(float x, float y, bool enabledOnly) const {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        if (!it->visible || (enabledOnly && !it->enabled)) continue;
        if (it->rect.Contains(x, y)) return it->id;
    }
    return std::nullopt;
}

}  // namespace karvelo
