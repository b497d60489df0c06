// Playing with the keyboard alone through the Qt window: real key events walk the
// focus, lift and drop cards, and win a whole game, the table checked after every
// move; the first click of the mouse hides the focus again.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "funktioner.h"
#include "key_walk.h"
#include "solver.h"
#include "ui_test_support.h"

using namespace karvelo;
using namespace karvelo::test;
using funktioner::Board;

namespace {

TablePlace ToTablePlace(const test::Place& p) {
    switch (p.kind) {
    case test::Place::Kind::Cell: return {PlaceKind::FreeCell, p.index};
    case test::Place::Kind::Foundation: return {PlaceKind::Foundation, p.index};
    case test::Place::Kind::Column: break;
    }
    return {PlaceKind::Column, p.index};
}

Qt::Key QtKey(Arrow a) {
    switch (a) {
    case Arrow::Left: return Qt::Key_Left;
    case Arrow::Right: return Qt::Key_Right;
    case Arrow::Up: return Qt::Key_Up;
    case Arrow::Down: break;
    }
    return Qt::Key_Down;
}

void WalkTo(KarveloWindow& w, const TablePlace& to) {
    const auto& focus = w.form().KeyboardFocus();
    if (!focus) return;
    for (Arrow a : ArrowsFromTo(focus->place, to)) QTest::keyClick(&w, QtKey(a));
}

bool TableIs(const TableModel& model) {
    for (int c = 1; c <= 8; ++c) {
        const auto& col = model.columns[static_cast<size_t>(c)];
        if (Board(c, 0) != static_cast<int>(col.size())) return false;
        for (size_t r = 0; r < col.size(); ++r)
            if (Board(c, static_cast<int>(r) + 1) != col[r]) return false;
    }
    for (int s = 0; s < 4; ++s)
        if (Board(0, s + 1) != model.cells[static_cast<size_t>(s)]) return false;
    return true;
}

}  // namespace

class KeyboardGameTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshStart(); }

    void wholeGameWonWithTheKeyboard() {
        // A fixed deal that the solver wins with single-card moves.
        std::optional<std::vector<PlayerMove>> plan;
        std::array<int, 53> deck{};
        for (unsigned seed = 1; seed < 40 && !plan; ++seed) {
            deck = SeededDeck(seed);
            plan = Solve(TableModel::FromDeck(deck));
        }
        QVERIFY(plan.has_value());
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        funktioner::SetRandomSource(DeckSource(deck));
        QTest::keyClick(&w, Qt::Key_F2);
        QVERIFY(funktioner::GameInProgress);
        win->messages.answers.push_back(Answer::No);

        QTest::keyClick(&w, Qt::Key_Left);  // shows the focus
        QVERIFY(w.form().KeyboardFocus().has_value());
        TableModel model = TableModel::FromDeck(deck);
        size_t moves = 0;
        for (const PlayerMove& m : *plan) {
            WalkTo(w, ToTablePlace(m.from));
            QTest::keyClick(&w, Qt::Key_Return);
            QVERIFY2(w.form().KeyboardFocus()->lifted.has_value(), "nothing was lifted");
            QCOMPARE(w.form().scene().Marks().lifted.has_value(), true);
            WalkTo(w, ToTablePlace(m.to));
            QTest::keyClick(&w, Qt::Key_Space);
            ++moves;
            QVERIFY(model.Apply(m));
            if (model.Won()) break;
            // The table agrees with the plan after every drop and its automatic play,
            // and the focus is where the card went, nothing lifted.
            QVERIFY2(TableIs(model), qPrintable(QStringLiteral("after move %1").arg(moves)));
            QVERIFY(w.form().KeyboardFocus()->place == ToTablePlace(m.to));
            QVERIFY(!w.form().KeyboardFocus()->lifted);
            QVERIFY(w.form().scene().Marks().focus.has_value());
        }
        QCOMPARE(moves, plan->size());
        // The win: the question, the win stored, an empty table with the focus on it.
        const auto& seen = win->messages.seen;
        QVERIFY(!seen.empty());
        QVERIFY(seen.back().text.starts_with("WOW!!  Du klarade det för 1 gången i rad"));
        QVERIFY(seen.back().buttons == Buttons::YesNo);
        QCOMPARE(StoredStat(1), 1);
        QCOMPARE(StoredStat(2), 1);
        QVERIFY(!funktioner::GameInProgress);
        QVERIFY(w.form().KeyboardFocus().has_value());
        QCOMPARE(w.form().KeyboardFocus()->cards, 1);
        QTest::keyClick(&w, Qt::Key_Return);
        QVERIFY(!w.form().KeyboardFocus()->lifted);
        // F2 by key deals again, and the keys play on.
        QTest::keyClick(&w, Qt::Key_F2);
        QVERIFY(funktioner::GameInProgress);
        QVERIFY(w.form().KeyboardFocus().has_value());
    }

    void peekKeyAndMouseThroughRealEvents() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        funktioner::SetRandomSource(DeckSource(SeededDeck(3)));
        QTest::keyClick(&w, Qt::Key_F2);
        QTest::keyClick(&w, Qt::Key_Right);
        QTest::keyClick(&w, Qt::Key_Up, Qt::ShiftModifier);
        const int cards = w.form().KeyboardFocus()->cards;
        const int covered = Board(1, Board(1, 0) - cards + 1);
        // Held: the key repeats, and only the last release ends the peek.
        QTest::keyPress(&w, Qt::Key_V);
        const SceneElement* copy = w.form().scene().Find(Kort(0));
        QVERIFY(copy && copy->visible);
        QCOMPARE(copy->picture, 100 + covered);
        QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_V, Qt::NoModifier, QStringLiteral("v"), true);
        QApplication::sendEvent(&w, &repeatRelease);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_V, Qt::NoModifier, QStringLiteral("v"), true);
        QApplication::sendEvent(&w, &repeat);
        QVERIFY(w.form().scene().Find(Kort(0))->visible);
        QTest::keyRelease(&w, Qt::Key_V);
        QVERIFY(!w.form().scene().Find(Kort(0))->visible);

        // The mouse hides the focus; the next key shows it again, unmoved.
        Press(w, QPoint(3, w.view()->height() - 4));
        Release(w, QPoint(3, w.view()->height() - 4));
        QVERIFY(!w.form().KeyboardFocus().has_value());
        QVERIFY(!w.form().scene().Marks().focus.has_value());
        QTest::keyClick(&w, Qt::Key_Right);
        QVERIFY(w.form().KeyboardFocus()->place == (TablePlace{PlaceKind::Column, 1}));
    }
};

KARVELO_UI_TEST_MAIN(KeyboardGameTest)
#include "tst_keyboard_game.moc"
