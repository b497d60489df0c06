#include "access_tracker.h"

#include "karvelo.h"
#include "what_happened.h"

namespace karvelo {
namespace {

int Focused(const TableDescription& d) {
    for (size_t i = 0; i < d.places.size(); ++i)
        if (d.places[i].focused) return static_cast<int>(i);
    return kTableNode;
}

// The description with the notice said by the focused node.
TableDescription WithNotice(TableDescription d, const std::string& notice) {
    if (notice.empty()) return d;
    const int at = Focused(d);
    std::string& description = at == kTableNode ? d.description : d.places[static_cast<size_t>(at)].description;
    description = description.empty() || description == notice ? notice : notice + ". " + description;
    return d;
}

// The description as spoken: everything but where things lie.
TableDescription Spoken(TableDescription d) {
    d.bounds = {};
    for (PlaceNode& p : d.places) {
        p.bounds = {};
        for (CardNode& c : p.cards) c.bounds = {};
    }
    return d;
}

}  // namespace

AccessTracker::AccessTracker(const Karvelo& form)
    : source_([&form] { return DescribeTable(funktioner::Board, form.scene(), form.KeyboardFocus()); }) {}

void AccessTracker::Activate() {
    if (active_) return;
    active_ = true;
    raw_ = source_();
    shown_ = raw_;
    notice_.clear();
}

int AccessTracker::FocusedNode() const { return Focused(shown_); }

AccessChanges AccessTracker::Refresh() {
    AccessChanges changes;
    if (!active_) return changes;
    TableDescription raw = source_();
    if (raw == raw_) return changes;
    // Cards in flight move without anything new to say: what was said stays.
    const bool spoken = Spoken(raw) != Spoken(raw_);
    if (spoken) notice_ = WhatHappened(raw_, raw);
    const bool fresh = spoken && !notice_.empty();
    TableDescription shown = WithNotice(raw, notice_);

    changes.focusMoved = Focused(shown) != Focused(shown_) || shown.focused != shown_.focused;
    for (size_t i = 0; i < shown.places.size() && i < shown_.places.size(); ++i) {
        const PlaceNode& now = shown.places[i];
        const PlaceNode& was = shown_.places[i];
        const int node = static_cast<int>(i);
        if (now.name != was.name) changes.renamed.push_back(node);
        if (now.lifted != was.lifted) changes.restated.push_back(node);
        // A notice is said again even in the same words: it is a new event.
        if (now.description != was.description || (now.focused && fresh))
            changes.redescribed.push_back(node);
    }
    if (shown.description != shown_.description || (shown.focused && fresh))
        changes.redescribed.push_back(kTableNode);
    raw_ = std::move(raw);
    shown_ = std::move(shown);
    return changes;
}

}  // namespace karvelo
