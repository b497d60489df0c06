#pragma once
// The table's description as the screen reader was last told it, and what changed
// since: the one place both window systems get the description from and learn which
// events to raise. It costs nothing until an assistive technology asks for the
// table (Activate); from then on the window calls Refresh after every input it
// handed to the main window.
#include <functional>
#include <string>
#include <vector>

#include "table_description.h"

namespace karvelo {

class Karvelo;

// What a window raises events for. Node indexes are places 0 to 15, or kTableNode
// for the table itself.
inline constexpr int kTableNode = -1;
struct AccessChanges {
    bool focusMoved = false;     // to FocusedNode(): a place, or the table
    std::vector<int> renamed;    // its name changed
    std::vector<int> restated;   // its cards were lifted or put down
    std::vector<int> redescribed;  // its description changed, or says something new
    bool Empty() const { return !focusMoved && renamed.empty() && restated.empty() && redescribed.empty(); }
};

class AccessTracker {
public:
    using Source = std::function<TableDescription()>;
    explicit AccessTracker(Source source) : source_(std::move(source)) {}
    // The table of this main window: its Board, scene and keyboard focus.
    explicit AccessTracker(const Karvelo& form);

    bool Active() const { return active_; }
    // Takes the table as it is now as what the reader knows.
    void Activate();
    // No reader any more: nothing is kept until the next Activate.
    void Deactivate() { active_ = false; }
    // The table as it is now, for a question asked while inactive.
    TableDescription DescribeNow() const { return source_(); }

    // The description to hand over: the table with what last happened said by the
    // focused node.
    const TableDescription& Shown() const { return shown_; }
    int FocusedNode() const;
    const std::string& Notice() const { return notice_; }

    // Describes the table again; empty changes while inactive or when nothing changed.
    AccessChanges Refresh();

private:
    Source source_;
    bool active_ = false;
    TableDescription raw_;    // as described, without what happened
    TableDescription shown_;  // with it
    std::string notice_;
};

}  // namespace karvelo
