#pragma once
// The table as Qt's accessibility shows it (over AT-SPI on Linux): the view answers as
// the list "Bordet" with the sixteen places as its items and the cards in each place
// below them, all read from the one window-independent description (access_tracker.h).
// Nothing of it exists until an assistive technology asks Qt for the view, and nothing
// is kept or watched unless Qt's accessibility is active (a screen reader listens); then
// every input the window handles, and every tenth of a second besides (a move, the
// automatic play and a deal change the table long after the input that began them),
// is followed by the events of what changed.
#include <QAccessible>
#include <QObject>
#include <QTimer>

#include "access_tracker.h"

namespace karvelo {

class Karvelo;
class TableView;

class TableAccessibility final : public QObject, public QAccessible::ActivationObserver {
public:
    ~TableAccessibility() override;

    // Made once per view, as the view's child; Qt's accessibility finds it there.
    static TableAccessibility* Attach(TableView& view, const Karvelo& form);
    static TableAccessibility* Of(const QObject* view);

    TableView& view() const { return view_; }
    AccessTracker& tracker() { return tracker_; }
    const AccessTracker& tracker() const { return tracker_; }

    // While Qt's accessibility is active (a screen reader listens) the description is
    // kept and its changes raised; Qt says when that begins and ends.
    void Activate();
    void Deactivate();
    void accessibilityActiveChanged(bool active) override;
    // The description to answer with: the kept one, or while inactive the table now.
    const TableDescription& Shown();
    // Describes the table again and raises the events of what changed.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TableAccessibility(TableView& view, const Karvelo& form);

    TableView& view_;
    AccessTracker tracker_;
    bool refreshDue_ = false;
    QTimer poll_;
    TableDescription now_;  // answers while inactive
};

}  // namespace karvelo
