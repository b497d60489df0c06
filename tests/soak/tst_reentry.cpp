// Input that arrives while the window is letting events through in the middle of its
// own work: the shut-down, which records the running game as lost, must not deal
// again, count twice or let a card move once it has begun.
#include <QAction>
#include <QTest>
#include <QTimer>

#include "funktioner.h"
#include "ui_test_support.h"

using namespace karvelo;
using namespace karvelo::test;

namespace {

// Runs `poke` at every pass of the event loop while `during` runs.
void WhileRunning(const std::function<void()>& during, const std::function<void()>& poke) {
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, poke);
    timer.start();
    during();
    timer.stop();
}

std::vector<std::string> Tags(const KarveloWindow& w) {
    std::vector<std::string> tags;
    for (int code = 1; code <= 52; ++code) tags.push_back(w.form().Tag(code));
    return tags;
}

}  // namespace

class ReentryTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshStart(); }

    void commandsDuringTheShutDownAreRefused() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        funktioner::SetRandomSource(DeckSource(SeededDeck(7)));
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        QVERIFY(funktioner::GameInProgress);
        const std::vector<std::string> dealt = Tags(w);
        funktioner::SetRandomSource(DeckSource(SeededDeck(8)));  // a second deal would show

        int pokes = 0;
        WhileRunning([&] { w.close(); },
                     [&] {
                         ++pokes;
                         w.MenuItem(MenuCommand::NyttSpel)->trigger();
                         const int exposed = funktioner::Board(2, funktioner::Board(2, 0));
                         if (exposed > 0) w.form().imgKort_DblClick(static_cast<int16_t>(exposed));
                         w.form().imgHand_DragDrop(1, funktioner::Board(3, funktioner::Board(3, 0)));
                     });
        QVERIFY(pokes > 0);  // the shut-down did let events through
        QCOMPARE(win->terminations, 1);
        // Exactly the one running game, lost; nothing dealt or moved meanwhile.
        QCOMPARE(StoredStat(1), 1);
        QCOMPARE(StoredStat(2), 0);
        QCOMPARE(StoredStat(8), 1);
        QCOMPARE(StoredStat(4), 1);
        QVERIFY(!funktioner::GameInProgress);
        QVERIFY(Tags(w) == dealt);
        for (const auto& m : win->messages.seen) QFAIL(m.text.c_str());
    }
};

KARVELO_UI_TEST_MAIN(ReentryTest)
#include "tst_reentry.moc"
