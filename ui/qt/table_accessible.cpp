#include "table_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <array>

#include "table_view.h"
#include "twips.h"

namespace karvelo {
namespace {

QString Text(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A twip rectangle of the view on the screen.
QRect ScreenRect(const QWidget& view, const TwipRect& r) {
    if (r.IsEmpty()) return {};
    const PixelBox b = PixelsTouched(r, kStandardDpi);
    return QRect(view.mapToGlobal(QPoint(b.left, b.top)), QSize(b.right - b.left, b.bottom - b.top));
}

bool TableHasKeys(const QWidget& view) {
    const QWidget* focus = QApplication::focusWidget();
    return view.window()->isActiveWindow() && (focus == nullptr || focus == &view || focus == view.window());
}

class TableInterface;

// One of the sixteen places.
class PlaceInterface final : public QAccessibleInterface {
public:
    PlaceInterface(TableInterface& table, int index) : table_(table), index_(index) {}
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    int childCount() const override { return Node() ? static_cast<int>(Node()->cards.size()) : 0; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

    const PlaceNode* Node() const;

private:
    TableInterface& table_;
    int index_;
};

// A card, by its code; its parent is the place it lies in now.
class CardInterface final : public QAccessibleInterface {
public:
    CardInterface(TableInterface& table, int code) : table_(table), code_(code) {}
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override;

    int Code() const { return code_; }

private:
    // The card's node and its place's index; nothing when it is not on the table.
    std::pair<const CardNode*, int> Find() const;

    TableInterface& table_;
    int code_;
};

// The view: the list "Bordet".
class TableInterface final : public QAccessibleWidget {
public:
    TableInterface(TableView* view, TableAccessibility& access)
        : QAccessibleWidget(view, QAccessible::List), access_(&access) {}
    ~TableInterface() override {
        // Qt's register of interfaces outlives the view only while the application does.
        if (!QCoreApplication::instance()) return;
        for (QAccessible::Id id : ids_)
            if (id) QAccessible::deleteAccessibleInterface(id);
    }

    bool isValid() const override { return QAccessibleWidget::isValid() && access_; }
    int childCount() const override { return kPlaceCount; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= kPlaceCount) return nullptr;
        return Made(static_cast<size_t>(index), [&] { return new PlaceInterface(Self(), index); });
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < kPlaceCount; ++i)
            if (places_[static_cast<size_t>(i)] == child) return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < kPlaceCount; ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const auto& places = Shown().places;
        for (size_t i = 0; i < places.size(); ++i)
            if (places[i].focused) return child(static_cast<int>(i));
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return Text(Shown().name);
        if (t == QAccessible::Description) return Text(Shown().description);
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.focused = TableHasKeys(View()) && Shown().focused;
        return s;
    }

    QAccessibleInterface* Card(int code) const {
        if (code < 1 || code > 52) return nullptr;
        return Made(static_cast<size_t>(kPlaceCount + code - 1), [&] { return new CardInterface(Self(), code); });
    }
    const TableDescription& Shown() const { return access_->Shown(); }
    const QWidget& View() const { return *widget(); }
    bool Live() const { return !access_.isNull() && widget(); }

private:
    TableInterface& Self() const { return const_cast<TableInterface&>(*this); }
    template <typename Make>
    QAccessibleInterface* Made(size_t slot, Make make) const {
        if (!places_[slot]) {
            places_[slot] = make();
            ids_[slot] = QAccessible::registerAccessibleInterface(places_[slot]);
        }
        return places_[slot];
    }

    QPointer<TableAccessibility> access_;
    // The sixteen places, then the 52 cards by code.
    mutable std::array<QAccessibleInterface*, kPlaceCount + 52> places_{};
    mutable std::array<QAccessible::Id, kPlaceCount + 52> ids_{};
};

// ---- PlaceInterface

const PlaceNode* PlaceInterface::Node() const {
    if (!table_.Live()) return nullptr;
    const auto& places = table_.Shown().places;
    return index_ < static_cast<int>(places.size()) ? &places[static_cast<size_t>(index_)] : nullptr;
}
bool PlaceInterface::isValid() const { return Node() != nullptr; }
QWindow* PlaceInterface::window() const { return table_.window(); }
QAccessibleInterface* PlaceInterface::parent() const { return &table_; }
QAccessibleInterface* PlaceInterface::child(int index) const {
    const PlaceNode* node = Node();
    if (!node || index < 0 || index >= static_cast<int>(node->cards.size())) return nullptr;
    return table_.Card(node->cards[static_cast<size_t>(index)].code);
}
int PlaceInterface::indexOfChild(const QAccessibleInterface* child) const {
    const PlaceNode* node = Node();
    if (!node) return -1;
    for (size_t i = 0; i < node->cards.size(); ++i)
        if (table_.Card(node->cards[i].code) == child) return static_cast<int>(i);
    return -1;
}
QAccessibleInterface* PlaceInterface::childAt(int x, int y) const {
    const PlaceNode* node = Node();
    if (!node) return nullptr;
    // The exposed card lies on top.
    for (auto c = node->cards.rbegin(); c != node->cards.rend(); ++c)
        if (ScreenRect(table_.View(), c->bounds).contains(x, y)) return table_.Card(c->code);
    return nullptr;
}
QString PlaceInterface::text(QAccessible::Text t) const {
    const PlaceNode* node = Node();
    if (!node) return {};
    if (t == QAccessible::Name) return Text(node->name);
    if (t == QAccessible::Description) return Text(node->description);
    return {};
}
QRect PlaceInterface::rect() const {
    const PlaceNode* node = Node();
    return node ? ScreenRect(table_.View(), node->bounds) : QRect();
}
QAccessible::State PlaceInterface::state() const {
    QAccessible::State s;
    const PlaceNode* node = Node();
    if (!node) {
        s.invalid = true;
        return s;
    }
    s.focusable = true;
    s.focused = node->focused && TableHasKeys(table_.View());
    // Lifted cards are "checked": Qt tells AT-SPI of that state's changes.
    s.checkable = true;
    s.checked = node->lifted;
    return s;
}

// ---- CardInterface

std::pair<const CardNode*, int> CardInterface::Find() const {
    if (!table_.Live()) return {nullptr, -1};
    const auto& places = table_.Shown().places;
    for (size_t i = 0; i < places.size(); ++i)
        for (const CardNode& c : places[i].cards)
            if (c.code == code_) return {&c, static_cast<int>(i)};
    return {nullptr, -1};
}
bool CardInterface::isValid() const { return Find().first != nullptr; }
QWindow* CardInterface::window() const { return table_.window(); }
QAccessibleInterface* CardInterface::parent() const {
    const int place = Find().second;
    return place >= 0 ? table_.child(place) : &table_;
}
QString CardInterface::text(QAccessible::Text t) const {
    const CardNode* card = Find().first;
    if (!card || t != QAccessible::Name) return {};
    return Text(card->name);
}
QRect CardInterface::rect() const {
    const CardNode* card = Find().first;
    return card ? ScreenRect(table_.View(), card->bounds) : QRect();
}
QAccessible::State CardInterface::state() const {
    QAccessible::State s;
    const CardNode* card = Find().first;
    if (!card) {
        s.invalid = true;
        return s;
    }
    s.checkable = true;
    s.checked = card->lifted;
    s.active = card->taken;
    return s;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* view = dynamic_cast<TableView*>(object);
    if (!view) return nullptr;
    TableAccessibility* access = TableAccessibility::Of(view);
    if (!access) return nullptr;
    if (QAccessible::isActive()) access->Activate();
    return new TableInterface(view, *access);
}

void Raise(QAccessibleInterface* iface, QAccessible::Event type) {
    if (!iface) return;
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

TableAccessibility::TableAccessibility(TableView& view, const Karvelo& form)
    : QObject(&view), view_(view), tracker_(form) {
    setObjectName(QStringLiteral("karvelo-table-accessibility"));
    poll_.setInterval(100);
    connect(&poll_, &QTimer::timeout, this, [this] { Refresh(); });
    QAccessible::installActivationObserver(this);
}

TableAccessibility::~TableAccessibility() { QAccessible::removeActivationObserver(this); }

void TableAccessibility::accessibilityActiveChanged(bool active) {
    if (active) {
        Activate();
    } else {
        Deactivate();
    }
}

const TableDescription& TableAccessibility::Shown() {
    if (tracker_.Active()) return tracker_.Shown();
    if (QAccessible::isActive()) {
        Activate();
        return tracker_.Shown();
    }
    now_ = tracker_.DescribeNow();
    return now_;
}

TableAccessibility* TableAccessibility::Attach(TableView& view, const Karvelo& form) {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
    if (TableAccessibility* there = Of(&view)) return there;
    return new TableAccessibility(view, form);
}

TableAccessibility* TableAccessibility::Of(const QObject* view) {
    return view ? view->findChild<TableAccessibility*>(QStringLiteral("karvelo-table-accessibility"),
                                                       Qt::FindDirectChildrenOnly)
                : nullptr;
}

void TableAccessibility::Activate() {
    if (tracker_.Active()) return;
    tracker_.Activate();
    // Every input handled from now on may change the table.
    qApp->installEventFilter(this);
    poll_.start();
}

void TableAccessibility::Deactivate() {
    if (!tracker_.Active()) return;
    tracker_.Deactivate();
    qApp->removeEventFilter(this);
    poll_.stop();
}

bool TableAccessibility::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // Once the input has been handled: the handler may run a whole move first.
        if (!refreshDue_) {
            refreshDue_ = true;
            QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TableAccessibility::Refresh() {
    refreshDue_ = false;
    if (!QAccessible::isActive()) {
        Deactivate();
        return;
    }
    const AccessChanges changes = tracker_.Refresh();
    if (changes.Empty()) return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&view_);
    if (!table) return;
    const auto node = [table](int i) { return i == kTableNode ? table : table->child(i); };
    for (int i : changes.renamed) Raise(node(i), QAccessible::NameChanged);
    for (int i : changes.restated) {
        QAccessible::State states;
        states.checked = true;
        QAccessibleStateChangeEvent event(node(i), states);
        QAccessible::updateAccessibility(&event);
    }
    if (changes.focusMoved && TableHasKeys(view_)) Raise(node(tracker_.FocusedNode()), QAccessible::Focus);
    for (int i : changes.redescribed) Raise(node(i), QAccessible::DescriptionChanged);
}

}  // namespace karvelo
