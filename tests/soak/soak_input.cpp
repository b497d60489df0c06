// The random input of the soak: what a restless player does at the top level, what
// arrives while a move, a deal or the window's growth is being laid down, and the
// single mouse, key, menu and close events they are made of.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "funktioner.h"
#include "layout.h"
#include "soak.h"
#include "window_layout.h"

namespace karvelo::soak {
namespace {

using funktioner::Board;

QPoint Px(float x, float y) {
    return QPoint(static_cast<int>(FractionalPixels(x, kStandardDpi)),
                  static_cast<int>(FractionalPixels(y, kStandardDpi)));
}

std::string At(QPoint p) {
    return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")";
}

}  // namespace

// ---- The top level

void Soak::Step() {
    if (held_.rightHeld && Chance(0.5)) return RightRelease();
    if (!funktioner::GameInProgress && Chance(0.2)) return Trigger(w().MenuItem(MenuCommand::NyttSpel), "Nytt spel");
    // Planned move, legal move, drag, click, double-click, right press, hover, menu,
    // keys, close.
    static constexpr double kWeights[] = {30, 12, 12, 6, 6, 5, 5, 5, 2, 0.15};
    double total = 0;
    for (double w : kWeights) total += w;
    double r = std::uniform_real_distribution<double>(0, total)(rng_);
    int choice = 0;
    while (choice + 1 < static_cast<int>(std::size(kWeights)) && r >= kWeights[choice])
        r -= kWeights[choice++];
    switch (choice) {
    case 0: return PlannedMove();
    case 1: return LegalMove();
    case 2: return RandomDrag(true);
    case 3: return Click();
    case 4: return DoubleClick(RandomCard());
    case 5: return RightPress();
    case 6: return Hover();
    case 7: return MenuCommand();
    case 8: return KeyCombination();
    default: return CloseAttempt();
    }
}

void Soak::InjectWhileBusy() {
    // Only at the window's own event processing, never while a modal window is up
    // (the main window takes no input then).
    if (!window_ || terminated_ || injectDepth_ > 0 || QApplication::activeModalWidget()) return;
    CheckInFlight();
    if (!Chance(0.03)) return;
    ++injectDepth_;
    const bool buttonsFree = !held_.leftHeld && !held_.rightHeld;
    switch (Pick(20)) {
    case 0:
    case 1:
        if (buttonsFree) {
            RandomDrag(false);
            break;
        }
        [[fallthrough]];
    case 2: Hover(); break;
    case 3:
        if (buttonsFree) {
            DoubleClick(RandomCard());
            break;
        }
        [[fallthrough]];
    case 4:
        if (buttonsFree) {
            Click();
            break;
        }
        [[fallthrough]];
    case 5:
        if (!held_.leftHeld) {
            held_.rightHeld ? RightRelease() : RightPress();
            break;
        }
        [[fallthrough]];
    case 6: MenuCommand(); break;
    case 7: KeyCombination(); break;
    case 8: Trigger(w().MenuItem(MenuCommand::NyttSpel), "Nytt spel"); break;
    case 9:
        if (Chance(0.2)) {
            CloseAttempt();
        } else {
            Trigger(w().SpeedItem(Pick(5)), "a speed");
        }
        break;
    default: Hover(); break;
    }
    --injectDepth_;
}

void Soak::CloseModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    ++summary_.modalsClosed;
    trail_.push_back("  (a modal window opened: " + modal->windowTitle().toStdString() + ")");
    // Now and then the statistics are cleared before the window goes.
    auto* clear = modal->findChild<QPushButton*>(QStringLiteral("cmdRensaReg"));
    if (clear && clear->isVisible() && Chance(0.2)) clear->click();
    if (auto* close = modal->findChild<QPushButton*>(QStringLiteral("cmdClose"))) {
        close->click();
    } else {
        modal->close();
    }
}

void Soak::RandomDrag(bool endAnywhere) {
    const std::optional<int> card = RandomCard();
    const QPoint from = card ? CardPoint(*card) : RandomPoint();
    Press(from, Qt::LeftButton);
    for (int moves = Pick(3); moves > 0; --moves) MoveTo(RandomPoint());
    // Now and then something else happens before the button comes up.
    if (endAnywhere && Chance(0.1)) Chance(0.5) ? MenuCommand() : KeyCombination();
    const QPoint to = RandomPoint();
    MoveTo(to);
    Release(to, Qt::LeftButton);
}

void Soak::LegalMove() {
    const std::vector<Play> moves = LegalMoves();
    if (moves.empty()) return RandomDrag(true);
    ++summary_.legalMoves;
    CarryOut(moves[static_cast<size_t>(Pick(static_cast<int>(moves.size())))]);
}

void Soak::PlannedMove() {
    const std::optional<Play> move = planner_.Next();
    if (!move) return LegalMove();
    ++summary_.plannedMoves;
    CarryOut(*move);
}

void Soak::CarryOut(const Play& move) {
    trail_.push_back("a move: " + move.Describe());
    if (move.to == Play::To::Cell && Chance(0.3)) return DoubleClick(move.card);
    const TwipRect r = RectOf(w(), {ElementKind::Kort, move.card});
    const QPoint from = Px(r.left + r.width / 2, r.top + 150);
    const QPoint to = TargetPoint(move);
    Press(from, Qt::LeftButton);
    if (Chance(0.5)) MoveTo((from + to) / 2);
    MoveTo(to);
    Release(to, Qt::LeftButton);
}

void Soak::Click() {
    const std::optional<int> card = RandomCard();
    const QPoint at = card && Chance(0.6) ? CardPoint(*card) : RandomPoint();
    Press(at, Qt::LeftButton);
    Release(at, Qt::LeftButton);
}

void Soak::DoubleClick(std::optional<int> card) {
    const QPoint at = card ? CardPoint(*card) : RandomPoint();
    Press(at, Qt::LeftButton);
    Release(at, Qt::LeftButton);
    SendDoubleClick(at);
    Release(at, Qt::LeftButton);
}

void Soak::RightPress() {
    if (held_.rightHeld) return RightRelease();
    const std::optional<int> card = RandomCard();
    Press(card ? CardPoint(*card) : RandomPoint(), Qt::RightButton);
}

void Soak::RightRelease() { Release(RandomPoint(), Qt::RightButton); }

void Soak::Hover() { MoveTo(RandomPoint()); }

void Soak::MenuCommand() {
    switch (Pick(12)) {
    case 0:
    case 1: return Trigger(w().MenuItem(MenuCommand::NyttSpel), "Nytt spel");
    case 2:
    case 3:
    case 4:
    case 5: return Trigger(w().SpeedItem(Pick(5)), "a speed");
    case 6: return Trigger(w().MenuItem(MenuCommand::Statistik), "Statistik");
    case 7: return Trigger(w().MenuItem(MenuCommand::Color), "Bakgrundsf\xC3\xA4rg/\xC3\x84ndra");
    case 8: return Trigger(w().MenuItem(MenuCommand::ColorStandard), "Bakgrundsf\xC3\xA4rg/Standard");
    case 9: return Trigger(w().MenuItem(MenuCommand::Help), "Hj\xC3\xA4lp");
    case 10: return Trigger(w().MenuItem(MenuCommand::Om), "Om");
    default: return KeyCombination();
    }
}

void Soak::KeyCombination() {
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    // Keyboard play: the focus, runs, lifts and drops, the free-cell and peek keys.
    static constexpr Qt::Key kPlayKeys[] = {Qt::Key_Left,  Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                            Qt::Key_Return, Qt::Key_Space, Qt::Key_F, Qt::Key_V};
    if (Chance(0.5)) {
        const Qt::Key key = kPlayKeys[Pick(static_cast<int>(std::size(kPlayKeys)))];
        return Key(key, Chance(0.2) ? Qt::ShiftModifier : Qt::NoModifier);
    }
    switch (Pick(10)) {
    case 0:
    case 1: return Key(Qt::Key_T, ctrlAlt);
    case 2: return Key(Qt::Key_Minus, ctrlAlt | Qt::ShiftModifier | Qt::KeypadModifier);
    case 3: return Key(Qt::Key_T, ctrlAlt | Qt::ShiftModifier);
    case 4: return Key(Qt::Key_Minus, ctrlAlt | Qt::ShiftModifier);
    case 5: return Key(Qt::Key_F1, Qt::NoModifier);
    case 6: return Key(Qt::Key_F2, Qt::NoModifier);
    case 7: return Key(Qt::Key_F3, Qt::NoModifier);
    case 8: return Key(Qt::Key_Escape, Qt::NoModifier);
    default: return Key(Qt::Key_A + Pick(26), Chance(0.5) ? Qt::NoModifier : ctrlAlt);
    }
}

void Soak::CloseAttempt() {
    if (Chance(0.7)) return Close();
    Trigger(w().MenuItem(MenuCommand::Avsluta), "Avsluta");
}

// ---- Single events

void Soak::Send(const std::string& what, const std::function<void()>& send) {
    if (!window_ || terminated_ || !summary_.failure.empty()) return;
    Event(what);
    const bool outer = injectDepth_ == 0;
    if (outer) {
        clearingAnswered_ = false;
        injector_->start();
    }
    send();
    if (outer) {
        injector_->stop();
        CheckNow();
    } else {
        CheckInFlight();
    }
}

namespace {
Qt::MouseButtons Held(const Quiet& held) {
    Qt::MouseButtons b;
    if (held.leftHeld) b |= Qt::LeftButton;
    if (held.rightHeld) b |= Qt::RightButton;
    return b;
}
}  // namespace

void Soak::Press(QPoint at, Qt::MouseButton button) {
    Send(std::string(button == Qt::LeftButton ? "left" : "right") + " press at " + At(at), [&] {
        if (button == Qt::LeftButton) held_.leftHeld = true;
        if (button == Qt::RightButton) held_.rightHeld = true;
        QWidget* view = w().view();
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), view->mapToGlobal(QPointF(at)),
                      button, Held(held_), Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    });
}

void Soak::MoveTo(QPoint at) {
    Send("move to " + At(at), [&] {
        QWidget* view = w().view();
        QMouseEvent e(QEvent::MouseMove, QPointF(at), view->mapToGlobal(QPointF(at)),
                      Qt::NoButton, Held(held_), Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    });
}

void Soak::Release(QPoint at, Qt::MouseButton button) {
    Send(std::string(button == Qt::LeftButton ? "left" : "right") + " release at " + At(at), [&] {
        if (button == Qt::LeftButton) held_.leftHeld = false;
        if (button == Qt::RightButton) held_.rightHeld = false;
        QWidget* view = w().view();
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(at), view->mapToGlobal(QPointF(at)),
                      button, Held(held_), Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    });
}

void Soak::SendDoubleClick(QPoint at) {
    Send("double-click at " + At(at), [&] {
        held_.leftHeld = true;
        QWidget* view = w().view();
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(at), view->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Held(held_), Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    });
}

void Soak::Key(int key, Qt::KeyboardModifiers modifiers) {
    Send("key " + QKeySequence(key | modifiers.toInt()).toString().toStdString(), [&] {
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(key), modifiers);
    });
}

void Soak::Trigger(QAction* action, const char* name) {
    if (!action) return;
    Send(std::string("menu ") + name, [&] { action->trigger(); });
}

void Soak::Close() {
    Send("close the window", [&] { window_->close(); });
}

// ---- Points

QPoint Soak::RandomPoint() {
    const QSize size = w().view()->size();
    return QPoint(Pick(size.width() + 10) - 5, Pick(size.height() + 10) - 5);
}

std::optional<int> Soak::RandomCard() {
    // Cards, also those on the foundations, and now and then a column base.
    std::vector<int> present;
    for (int i = 1; i <= funktioner::layout::BaseIndex(8); ++i)
        if (w().form().CardExists(i) && (i <= 52 || Chance(0.3))) present.push_back(i);
    if (present.empty()) return std::nullopt;
    return present[static_cast<size_t>(Pick(static_cast<int>(present.size())))];
}

QPoint Soak::CardPoint(int index) {
    const TwipRect r = RectOf(w(), {ElementKind::Kort, index});
    std::uniform_real_distribution<float> across(0.05f, 0.95f);
    // Mostly the strip that shows even when the card is covered.
    const float down = Chance(0.7) ? std::uniform_real_distribution<float>(10, 290)(rng_)
                                   : across(rng_) * r.height;
    return Px(r.left + across(rng_) * r.width, r.top + down);
}

QPoint Soak::TargetPoint(const Play& move) {
    const bool onLabel = Chance(0.2);
    switch (move.to) {
    case Play::To::Column: {
        const int n = Board(move.index, 0);
        const int element = n > 0 ? Board(move.index, n) : funktioner::layout::BaseIndex(move.index);
        const TwipRect r = RectOf(w(), {ElementKind::Kort, element});
        return Px(r.left + r.width / 2, r.top + r.height / 2);
    }
    case Play::To::Cell:
    case Play::To::Foundation: {
        const bool cell = move.to == Play::To::Cell;
        const ElementKind label = cell ? ElementKind::LblHand : ElementKind::LblFarger;
        const ElementKind frame = cell ? ElementKind::Hand : ElementKind::Hog;
        if (onLabel && !cell) {
            // A suit label lies under a card on its foundation; only an empty one shows.
            if (Board(9, move.index + 1) == 13 * move.index) {
                const TwipRect r = RectOf(w(), {label, move.index});
                return Px(r.left + 5, r.top + 5);
            }
        }
        if (onLabel && cell) {
            const TwipRect r = RectOf(w(), {label, move.index});
            return Px(r.left + 5, r.top + 5);
        }
        const TwipRect r = RectOf(w(), {frame, move.index});
        return Px(r.left + 560, r.top + 1300);
    }
    }
    return {};
}

TwipRect Soak::RectOf(const KarveloWindow& window, ElementId id) {
    const SceneElement* e = window.form().scene().Find(id);
    return e ? e->rect : TwipRect{};
}

}  // namespace karvelo::soak
