#include "fake_table.h"

#include <algorithm>

namespace enginetest {

using funktioner::Element;
using funktioner::Kind;

FakeTable::FakeTable(std::vector<std::string>* log) : log_(log) {
    // Element 0 as the window has it from the start: hidden, card-sized.
    auto& zero = cards_[0];
    zero.exists = true;
    zero.left = 9120;
    zero.top = 3240;
    zero.width = 1065;
    zero.height = 1440;
    order_.push_back(0);
}

bool FakeTable::Valid(int index) const {
    return index >= 0 && index < kElements && cards_[static_cast<size_t>(index)].exists;
}

FakeElement* FakeTable::Find(int index) {
    if (!Valid(index)) {
        ++misuse;
        return nullptr;
    }
    return &cards_[static_cast<size_t>(index)];
}

const FakeElement* FakeTable::Find(int index) const {
    return Valid(index) ? &cards_[static_cast<size_t>(index)] : nullptr;
}

void FakeTable::Note(const std::string& line) {
    if (log_) log_->push_back(line);
}

void FakeTable::Unstack(int index) {
    order_.erase(std::remove(order_.begin(), order_.end(), index), order_.end());
}

void FakeTable::CreateCard(int index) {
    if (index <= 0 || index >= kElements || cards_[static_cast<size_t>(index)].exists) {
        ++misuse;
        return;
    }
    // A copy of element 0, hidden.
    auto copy = cards_[0];
    copy.visible = false;
    cards_[static_cast<size_t>(index)] = copy;
    order_.push_back(index);
    Note("create " + std::to_string(index));
}

void FakeTable::DestroyCard(int index) {
    if (index == 0 || !Find(index)) {
        if (index == 0) ++misuse;
        return;
    }
    cards_[static_cast<size_t>(index)] = FakeElement{};
    Unstack(index);
    Note("destroy " + std::to_string(index));
}

bool FakeTable::CardExists(int index) const { return Valid(index); }

void FakeTable::SetPicture(int index, int resource) {
    if (auto* e = Find(index)) {
        e->picture = resource;
        Note("picture " + std::to_string(index) + " " + std::to_string(resource));
    }
}

void FakeTable::SetTag(int index, const std::string& tag) {
    if (auto* e = Find(index)) {
        e->tag = tag;
        Note("tag " + std::to_string(index) + " " + tag);
    }
}

std::string FakeTable::Tag(int index) const {
    const auto* e = Find(index);
    return e ? e->tag : std::string();
}

void FakeTable::SetSize(int index, float width, float height) {
    if (auto* e = Find(index)) {
        e->width = width;
        e->height = height;
    }
}

void FakeTable::SetBorder(int index, bool singleLine) {
    if (auto* e = Find(index)) e->border = singleLine;
}

void FakeTable::SetEnabled(int index, bool enabled) {
    if (auto* e = Find(index)) {
        e->enabled = enabled;
        Note((enabled ? "enable " : "disable ") + std::to_string(index));
    }
}

bool FakeTable::Enabled(int index) const {
    const auto* e = Find(index);
    return e && e->enabled;
}

void FakeTable::SetVisible(int index, bool visible) {
    if (auto* e = Find(index)) e->visible = visible;
}

bool FakeTable::Visible(int index) const {
    const auto* e = Find(index);
    return e && e->visible;
}

void FakeTable::BringToFront(int index) {
    if (!Find(index)) return;
    Unstack(index);
    order_.push_back(index);
    Note("front " + std::to_string(index));
}

void FakeTable::SendToBack(int index) {
    if (!Find(index)) return;
    Unstack(index);
    order_.insert(order_.begin(), index);
    Note("back " + std::to_string(index));
}

namespace {

// The free cells and foundations as the window lays them out.
struct Frame {
    float left, top, width, height;
};
Frame FrameOf(Element e) {
    const float left = (e.kind == Kind::Hand ? 0.0f : 5280.0f) + 1080.0f * static_cast<float>(e.index);
    return {left, 0, 1125, 1500};
}
bool IsFrame(Element e) {
    return (e.kind == Kind::Hand || e.kind == Kind::Hog) && e.index >= 0 && e.index <= 3;
}

}  // namespace

float FakeTable::Left(Element e) const {
    if (e.kind != Kind::Kort) return IsFrame(e) ? FrameOf(e).left : 0.0f;
    const auto* c = Find(e.index);
    return c ? c->left : 0.0f;
}

float FakeTable::Top(Element e) const {
    if (e.kind != Kind::Kort) return IsFrame(e) ? FrameOf(e).top : 0.0f;
    const auto* c = Find(e.index);
    return c ? c->top : 0.0f;
}

float FakeTable::Width(Element e) const {
    if (e.kind != Kind::Kort) return IsFrame(e) ? FrameOf(e).width : 0.0f;
    const auto* c = Find(e.index);
    return c ? c->width : 0.0f;
}

float FakeTable::Height(Element e) const {
    if (e.kind != Kind::Kort) return IsFrame(e) ? FrameOf(e).height : 0.0f;
    const auto* c = Find(e.index);
    return c ? c->height : 0.0f;
}

void FakeTable::Move(int index, float left, float top) {
    if (auto* e = Find(index)) {
        e->left = left;
        e->top = top;
        moves.push_back({index, left, top});
        if (logMoves) {
            Note("move " + std::to_string(index) + " " + std::to_string(left) + " " +
                 std::to_string(top));
        }
    }
}

const FakeElement& FakeTable::card(int index) const {
    static const FakeElement none{};
    return index >= 0 && index < kElements ? cards_[static_cast<size_t>(index)] : none;
}

int FakeTable::Depth(int index) const {
    const auto it = std::find(order_.begin(), order_.end(), index);
    return it == order_.end() ? -1 : static_cast<int>(it - order_.begin());
}

}  // namespace enginetest
