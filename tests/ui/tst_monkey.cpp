// Pointer and key input at any moment: a fixed-seed stream of drags, clicks,
// double-clicks, right presses, hovers and "Nytt spel", some of them arriving while
// cards fly, must leave the table and the pictures agreeing after every action.
#include <QTest>

#include <random>

#include "funktioner.h"
#include "ui_test_support.h"

using namespace karvelo;
using namespace karvelo::test;
using funktioner::Board;

namespace {

// Where card `code` must stand when the board says it lies at (column, row).
TwipRect Expected(int column, int row) {
    if (column == 0) return {1080.0f * static_cast<float>(row - 1) + 40, 30, 1065, 1440};
    return {120 + 1200.0f * static_cast<float>(column - 1), 1680 + 300.0f * static_cast<float>(row - 1),
            1065, 1440};
}

// Every card once, the counts right, each picture where its tag and the board say.
QString TableFault(const KarveloWindow& w) {
    if (!funktioner::GameInProgress) return {};
    std::array<int, 53> seen{};
    int freeCells = 0;
    for (int c = 0; c <= 8; ++c) {
        const int rows = c == 0 ? 4 : Board(c, 0);
        for (int r = 1; r <= rows; ++r) {
            const int code = Board(c, r);
            if (code == 0) {
                if (c != 0) return QStringLiteral("hole in column %1").arg(c);
                continue;
            }
            if (c == 0) ++freeCells;
            if (code < 1 || code > 52 || seen[static_cast<size_t>(code)]++)
                return QStringLiteral("card %1 twice").arg(code);
            const std::string tag = std::to_string(c) + std::to_string(r);
            if (w.form().Tag(code) != tag)
                return QStringLiteral("card %1 tagged %2, lies at %3")
                    .arg(code).arg(QString::fromStdString(w.form().Tag(code)), QString::fromStdString(tag));
            if (!(RectOf(w, Kort(code)) == Expected(c, r)))
                return QStringLiteral("card %1 not at its place").arg(code);
            if (!w.form().Enabled(code)) return QStringLiteral("card %1 disabled").arg(code);
        }
    }
    if (freeCells != Board(0, 0)) return QStringLiteral("free-cell count");
    int played = 0;
    for (int p = 0; p < 4; ++p) {
        const int n = Board(9, p + 1) - 13 * p;
        if (n < 0 || n > 13) return QStringLiteral("foundation %1").arg(p);
        for (int k = 1; k <= n; ++k) {
            const int code = 13 * p + k;
            if (seen[static_cast<size_t>(code)]++) return QStringLiteral("card %1 also played").arg(code);
            if (w.form().Enabled(code)) return QStringLiteral("played card %1 enabled").arg(code);
        }
        played += n;
    }
    if (played != Board(9, 0)) return QStringLiteral("foundation count");
    for (int code = 1; code <= 52; ++code)
        if (!seen[static_cast<size_t>(code)]) return QStringLiteral("card %1 lost").arg(code);
    return {};
}

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshStart(); }

    void inputAtAnyMomentKeepsTheTableWhole() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        funktioner::SetRandomSource(DeckSource(SeededDeck(11)));
        std::mt19937 rng(2024);
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        auto anyPoint = [&] {
            return QPoint(pick(w.view()->width()), pick(w.view()->height()));
        };
        auto anyCardPoint = [&] {
            for (int tries = 0; tries < 10; ++tries) {
                const int code = 1 + pick(52);
                if (w.form().CardExists(code)) return GrabPoint(w, code);
            }
            return anyPoint();
        };
        // Mostly the cards a player would take: exposed ones and free-cell cards.
        auto freeCardPoint = [&] {
            const int c = pick(9);
            const int n = c == 0 ? 4 : Board(c, 0);
            if (n == 0 || pick(5) == 0) return anyCardPoint();
            const int code = Board(c, 1 + pick(n));
            return code ? Inside(w, Kort(code)) : anyCardPoint();
        };
        // Where a player would let go: exposed cards, frames, labels, empty columns.
        auto targetPoint = [&] {
            switch (pick(6)) {
            case 0: return Inside(w, {ElementKind::Hand, pick(4)});
            case 1: return Inside(w, {ElementKind::Hog, pick(4)});
            case 2: return Inside(w, {pick(2) ? ElementKind::LblHand : ElementKind::LblFarger, pick(4)});
            case 3: return Inside(w, Kort(60 + pick(8)));
            case 4: return anyPoint();
            default: {
                const int c = 1 + pick(8);
                return Board(c, 0) ? Inside(w, Kort(Board(c, Board(c, 0)))) : anyPoint();
            }
            }
        };
        w.MenuItem(MenuCommand::NyttSpel)->trigger();

        int depth = 0;
        int injected = 0;
        std::function<void()> act = [&] {
            ++depth;
            switch (pick(10)) {
            case 0: case 1: case 2: case 3:
                DragTo(w, freeCardPoint(), targetPoint());
                break;
            case 4: {
                const QPoint at = anyCardPoint();
                Press(w, at);
                Release(w, at);
                break;
            }
            case 5: DoubleClick(w, freeCardPoint()); break;
            case 6: {
                const QPoint at = anyCardPoint();
                Press(w, at, Qt::RightButton);
                Hover(w, anyPoint());
                Release(w, anyPoint(), Qt::RightButton);
                break;
            }
            case 7: Hover(w, anyPoint()); break;
            case 8:
                if (pick(8) == 0) QTest::keyClick(&w, Qt::Key_F2);
                break;
            case 9:
                // A drag whose release never comes back to the table.
                Press(w, anyCardPoint());
                MoveTo(w, anyPoint());
                Hover(w, anyPoint());
                break;
            }
            --depth;
        };
        // Some input arrives while cards fly.
        w.SetPacing(true);
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            if (depth < 2 && pick(6) == 0) {
                ++injected;
                act();
            }
        });
        int changes = 0;
        int games = 0;
        auto snapshot = [] {
            std::vector<int32_t> b;
            for (int c = 0; c < 10; ++c)
                for (int r = 0; r < 22; ++r) b.push_back(Board(c, r));
            return b;
        };
        for (int i = 0; i < 2000; ++i) {
            const auto before = snapshot();
            win->messages.answers.push_back(pick(2) ? Answer::Yes : Answer::No);
            act();
            QVERIFY(!funktioner::gate().MoveInProgress());
            const QString fault = TableFault(w);
            if (!fault.isEmpty()) QFAIL(qPrintable(QStringLiteral("step %1: ").arg(i) + fault));
            if (snapshot() != before) ++changes;
            if (!funktioner::GameInProgress) {
                w.MenuItem(MenuCommand::NyttSpel)->trigger();
                ++games;
            }
        }
        // The stream did play: many moves, some of them input during flights.
        qDebug() << "moves" << changes << "input during flights" << injected << "games" << games;
        QVERIFY(changes > 100);
        QVERIFY(injected > 20);
        QVERIFY(!w.form().Terminated());
    }
};

KARVELO_UI_TEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
