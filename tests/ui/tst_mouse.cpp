// Playing with the mouse: real pointer events sent to the table pick cards up, drag
// their pictures, drop them on cards, free cells and foundations, peek at covered
// cards, switch the arrows and double-click, up to a whole game won by drags.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <set>

#include "funktioner.h"
#include "solver.h"
#include "ui_test_support.h"

using namespace karvelo;
using namespace karvelo::test;
using funktioner::Board;

namespace {

// A deal laid out for the drop tests, columns from the first-dealt card down to the
// exposed one; 0 is any card not named elsewhere.
//   column 1: a run of six under one card: Q♠ J♥ 10♠ 9♥ 8♠ 7♥
//   columns 2 to 7 end in K♣, K♦, K♠, Q♥, 10♣, Q♦
//   column 8: 3♦ 2♦ A♦, the ace exposed
std::array<int, 53> DropDeck() {
    const std::array<std::vector<int>, 8> columns = {{
        {0, 51, 11, 49, 9, 47, 7},
        {0, 0, 0, 0, 0, 0, 26},
        {0, 0, 0, 0, 0, 0, 39},
        {0, 0, 0, 0, 0, 0, 52},
        {0, 0, 0, 0, 0, 12},
        {0, 0, 0, 0, 0, 23},
        {0, 0, 0, 0, 0, 38},
        {0, 0, 0, 29, 28, 27},
    }};
    std::set<int> named;
    for (const auto& col : columns)
        for (int c : col) named.insert(c);
    std::vector<int> others;
    for (int c = 1; c <= 52; ++c)
        if (!named.count(c)) others.push_back(c);
    std::array<int, 53> deck{};
    size_t next = 0;
    for (size_t c = 0; c < 8; ++c)
        for (size_t r = 0; r < columns[c].size(); ++r) {
            const int code = columns[c][r] ? columns[c][r] : others[next++];
            deck[r * 8 + c + 1] = code;
        }
    return deck;
}

struct Game {
    std::unique_ptr<Window> win;
    KarveloWindow& w() { return *win->w; }
};

Game Deal(const std::array<int, 53>& deck) {
    Game g{OpenWindow()};
    // After start-up, which seeds the source from the clock.
    funktioner::SetRandomSource(DeckSource(deck));
    if (g.win) g.w().MenuItem(MenuCommand::NyttSpel)->trigger();
    return g;
}

std::string TagOf(KarveloWindow& w, int code) { return w.form().Tag(code); }

// A point well inside card `code`, where the card itself is on top only when it is
// exposed; GrabPoint gives the strip that always shows.
QPoint Centre(KarveloWindow& w, int code) { return Inside(w, Kort(code)); }

// A spot of a free-cell or foundation frame away from its label.
QPoint FrameSpot(KarveloWindow& w, ElementKind kind, int i) {
    const TwipRect r = RectOf(w, {kind, i});
    return Px(r.left + 560, r.top + 1300);
}

// Free of any element: below the columns, left edge.
QPoint Background(KarveloWindow& w) { return QPoint(3, w.view()->height() - 4); }

bool ArrowShown(KarveloWindow& w, ElementKind k) { return w.form().scene().Find({k, 0})->visible; }

std::array<int32_t, 220> BoardCopy() {
    std::array<int32_t, 220> cells{};
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 22; ++r) cells[static_cast<size_t>(c * 22 + r)] = Board(c, r);
    return cells;
}

}  // namespace

class MouseTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshStart(); }

    void dragPictureFollowsThePointerWhileTheCardStays() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        const TwipRect before = RectOf(w, Kort(26));
        const QPoint grab = Centre(w, 26);
        Press(w, grab);
        QVERIFY(w.form().DragActive());
        const QPoint to = grab + QPoint(-150, 40);
        MoveTo(w, to);
        // The card lies where it was; its picture moved with the grab point kept.
        QCOMPARE(RectOf(w, Kort(26)), before);
        const auto& drag = w.form().scene().Drag();
        QVERIFY(drag.has_value());
        const TwipRect* picture = &drag->rect;
        QCOMPARE(picture->left - before.left, (to.x() - grab.x()) * 15.0f);
        QCOMPARE(picture->top - before.top, (to.y() - grab.y()) * 15.0f);
        QCOMPARE(picture->width, before.width);
        Release(w, Background(w));
        QVERIFY(!w.form().DragActive());
        QVERIFY(!w.form().scene().Drag().has_value());
    }

    void theHotSpotDecidesNotThePicture() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        // Taken by its middle and let go just below free cell 1: the picture covers
        // most of the frame, the pointer does not, so nothing happens.
        const QPoint grab = Centre(w, 26);
        const QPoint below = Px(1600, 1560);
        Press(w, grab);
        MoveTo(w, below);
        const TwipRect picture = w.form().scene().Drag()->rect;
        QVERIFY(picture.top < 1500 && picture.left < 2205);
        Release(w, below);
        QCOMPARE(TagOf(w, 26), std::string("27"));
        QCOMPARE(Board(0, 0), 0);
        // Let go with the pointer on the frame's lowest row of pixels, the picture
        // mostly below it: the card goes in.
        const QPoint edge = Px(1600, 1490);
        DragTo(w, grab, edge);
        QCOMPARE(TagOf(w, 26), std::string("02"));
    }

    void releaseOverBackgroundOrArrowChangesNothing() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        const auto board = BoardCopy();
        DragTo(w, Centre(w, 26), Background(w));
        QVERIFY(BoardCopy() == board);  // not even the automatic play ran: A♦ stays
        DragTo(w, Centre(w, 26), Inside(w, {ElementKind::PilN, 0}));
        QVERIFY(BoardCopy() == board);
        QCOMPARE(TagOf(w, 26), std::string("27"));
        QCOMPARE(RectOf(w, Kort(26)), (TwipRect{1320, 3480, 1065, 1440}));
    }

    void pressAndReleaseInPlaceIsADropOnTheCard() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        const QPoint at = Centre(w, 26);
        Press(w, at);
        Release(w, at);
        // Nothing moves, and the automatic play after the drop takes A♦ and 2♦ up.
        QCOMPARE(TagOf(w, 26), std::string("27"));
        QCOMPARE(Board(9, 3), 28);
        QVERIFY(!w.form().Enabled(27) && !w.form().Enabled(28));
    }

    void dropsOnCells() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        // Onto the frame of free cell 2.
        DragTo(w, Centre(w, 26), FrameSpot(w, ElementKind::Hand, 2));
        QCOMPARE(TagOf(w, 26), std::string("03"));
        QCOMPARE(RectOf(w, Kort(26)).left, 2200.0f);
        QCOMPARE(RectOf(w, Kort(26)).top, 30.0f);
        QCOMPARE(Board(0, 3), 26);
        QCOMPARE(Board(0, 0), 1);
        // Onto the letter "A": free cell 1.
        DragTo(w, Inside(w, {ElementKind::LblHand, 1}), Inside(w, {ElementKind::LblHand, 1}));
        DragTo(w, Centre(w, 39), Inside(w, {ElementKind::LblHand, 1}));
        QCOMPARE(TagOf(w, 39), std::string("02"));
        QCOMPARE(Board(0, 0), 2);
        // Onto the visible edge of occupied free cell 2, and onto the card in it.
        DragTo(w, Centre(w, 52), Px(2700, 1490));
        QCOMPARE(TagOf(w, 52), std::string("47"));
        DragTo(w, Centre(w, 52), Centre(w, 26));
        QCOMPARE(TagOf(w, 52), std::string("47"));
        QCOMPARE(TagOf(w, 26), std::string("03"));
        // From free cell 2 to the empty free cell 0: the count stays.
        DragTo(w, Centre(w, 26), FrameSpot(w, ElementKind::Hand, 0));
        QCOMPARE(TagOf(w, 26), std::string("01"));
        QCOMPARE(Board(0, 1), 26);
        QCOMPARE(Board(0, 3), 0);
        QCOMPARE(Board(0, 0), 2);
        // A covered card stays where it is.
        const int covered = Board(4, 3);
        DragTo(w, GrabPoint(w, covered), FrameSpot(w, ElementKind::Hand, 3));
        QCOMPARE(TagOf(w, covered), std::string("43"));
        QCOMPARE(Board(0, 4), 0);
    }

    void dropsOnFoundations() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        // A♦ dropped on the suit label "Ruter" goes to foundation 2; 2♦ follows by
        // itself, 3♦ is not safe while the black foundations are empty.
        DragTo(w, Centre(w, 27), Inside(w, {ElementKind::LblFarger, 2}));
        QCOMPARE(Board(9, 3), 28);
        QCOMPARE(RectOf(w, Kort(27)).left, 7440 + 40.0f);
        QCOMPARE(RectOf(w, Kort(27)).top, 30.0f);
        QVERIFY(!w.form().Enabled(27));
        QCOMPARE(TagOf(w, 29), std::string("84"));
        // A covered card dropped on its foundation stays where it is.
        const int covered = Board(3, 2);
        const std::string tag = TagOf(w, covered);
        DragTo(w, GrabPoint(w, covered),
               FrameSpot(w, ElementKind::Hog, funktioner::SuitOf(covered)));
        QCOMPARE(TagOf(w, covered), tag);
        QVERIFY(w.form().Enabled(covered));
        // 3♦ released over the disabled 2♦ lying on the foundation goes onto it.
        DragTo(w, Centre(w, 29), Centre(w, 28));
        QCOMPARE(Board(9, 3), 29);
        QVERIFY(!w.form().Enabled(29));
        QCOMPARE(w.form().scene().DepthOf(Kort(29)),
                 static_cast<int>(w.form().scene().DrawingOrder().size()) - 1);
    }

    void aceOnTheWrongFoundationIsPlayedByTheAutomaticPlay() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        DragTo(w, Centre(w, 27), FrameSpot(w, ElementKind::Hog, 1));
        QCOMPARE(Board(9, 2), 13);  // nothing on Klöver
        QCOMPARE(Board(9, 3), 28);  // A♦ and 2♦ went to Ruter by themselves
    }

    void runsMoveOrAreRefusedWithAMessage() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        // Six cards with four empty free cells and no empty column: refused.
        DragTo(w, GrabPoint(w, 51), Centre(w, 39));
        QCOMPARE(g.win->messages.seen.size(), size_t(1));
        const MessageRequest& m = g.win->messages.seen[0];
        QCOMPARE(m.text, std::string("Det går inte att göra denna förflyttning"));
        QCOMPARE(m.title, std::string("Wrong move"));
        QVERIFY(m.icon == Icon::Exclamation && m.buttons == Buttons::OK);
        QCOMPARE(TagOf(w, 51), std::string("12"));
        QCOMPARE(Board(1, 0), 7);
        QCOMPARE(Board(9, 3), 28);  // the automatic play ran after the refusal
        // Three cards (9♥ 8♠ 7♥) onto 10♣: they move, laid down in their order.
        DragTo(w, GrabPoint(w, 9), Centre(w, 23));
        QCOMPARE(Board(1, 0), 4);
        QCOMPARE(Board(6, 0), 9);
        QCOMPARE(TagOf(w, 9), std::string("67"));
        QCOMPARE(TagOf(w, 47), std::string("68"));
        QCOMPARE(TagOf(w, 7), std::string("69"));
        QCOMPARE(RectOf(w, Kort(7)).top, RectOf(w, Kort(23)).top + 900);
        QVERIFY(w.form().scene().DepthOf(Kort(7)) > w.form().scene().DepthOf(Kort(47)));
    }

    void peekShowsACoveredCardWhole() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        const TwipRect covered = RectOf(w, Kort(51));
        const auto board = BoardCopy();
        Press(w, GrabPoint(w, 51), Qt::RightButton);
        const SceneElement* peek = w.form().scene().Find(Kort(0));
        QVERIFY(peek->visible);
        QCOMPARE(peek->picture, 151);
        QCOMPARE(peek->rect, covered);
        QCOMPARE(w.form().scene().DepthOf(Kort(0)), static_cast<int>(w.form().scene().DrawingOrder().size()) - 1);
        // While it shows, a left drag does not start.
        MoveTo(w, GrabPoint(w, 51), Qt::RightButton);
        Release(w, GrabPoint(w, 51), Qt::RightButton);
        peek = w.form().scene().Find(Kort(0));
        QVERIFY(!peek->visible);
        QCOMPARE(peek->rect.left, -2000.0f);
        QCOMPARE(peek->rect.top, -2000.0f);
        QCOMPARE(w.form().scene().DepthOf(Kort(0)), 0);
        QVERIFY(BoardCopy() == board);
        QCOMPARE(RectOf(w, Kort(51)), covered);
    }

    void arrowsFollowThePointer() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        using K = ElementKind;
        Hover(w, FrameSpot(w, K::Hand, 1));
        QVERIFY(ArrowShown(w, K::PilV) && !ArrowShown(w, K::PilN) && !ArrowShown(w, K::PilH));
        Hover(w, FrameSpot(w, K::Hog, 3));
        QVERIFY(ArrowShown(w, K::PilH) && !ArrowShown(w, K::PilV) && !ArrowShown(w, K::PilN));
        Hover(w, Centre(w, 26));
        QVERIFY(ArrowShown(w, K::PilN) && !ArrowShown(w, K::PilH));
        Hover(w, FrameSpot(w, K::Hog, 0));
        // Over a suit label or the background the arrow stays as it is.
        Hover(w, Inside(w, {K::LblFarger, 1}));
        QVERIFY(ArrowShown(w, K::PilH));
        Hover(w, Background(w));
        QVERIFY(ArrowShown(w, K::PilH));
        // A card in a free cell points left.
        DragTo(w, Centre(w, 26), FrameSpot(w, K::Hand, 3));
        Hover(w, Centre(w, 26));
        QVERIFY(ArrowShown(w, K::PilV) && !ArrowShown(w, K::PilH) && !ArrowShown(w, K::PilN));
    }

    void doubleClicksParkCardsInTheLeftmostCell() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        DragTo(w, Centre(w, 26), FrameSpot(w, ElementKind::Hand, 1));
        DoubleClick(w, Centre(w, 39));
        QCOMPARE(TagOf(w, 39), std::string("01"));
        // From free cell 1 while free cell 0 is... full now; empty it first.
        DragTo(w, Centre(w, 39), FrameSpot(w, ElementKind::Hand, 3));
        DoubleClick(w, Centre(w, 26));  // free cell 1 -> 0
        QCOMPARE(TagOf(w, 26), std::string("01"));
        QCOMPARE(Board(0, 0), 2);
        DoubleClick(w, Centre(w, 52));
        QCOMPARE(TagOf(w, 52), std::string("02"));
        DoubleClick(w, Centre(w, 38));
        QCOMPARE(TagOf(w, 38), std::string("03"));
        QCOMPARE(Board(0, 0), 4);
        // All four full: nothing happens to the next one.
        DoubleClick(w, Centre(w, 12));
        QCOMPARE(TagOf(w, 12), std::string("56"));
        // A covered card is not parked.
        const int covered = Board(2, 2);
        DoubleClick(w, GrabPoint(w, covered));
        QCOMPARE(TagOf(w, covered), std::string("22"));
    }

    void inputDuringAutomaticPlayIsIgnored() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        w.SetPacing(true);
        int tries = 0;
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            if (!funktioner::AutoPlayActive || tries > 0) return;
            ++tries;
            // A drag, a double-click and a right press while A♦ flies.
            DragTo(w, Centre(w, 26), FrameSpot(w, ElementKind::Hand, 0));
            DoubleClick(w, Centre(w, 39));
            Press(w, GrabPoint(w, 51), Qt::RightButton);
            QVERIFY(!w.form().scene().Find(Kort(0))->visible);
            Release(w, GrabPoint(w, 51), Qt::RightButton);
        });
        const QPoint at = Centre(w, 52);
        Press(w, at);
        Release(w, at);  // a drop on itself: the automatic play takes A♦ and 2♦
        QCOMPARE(tries, 1);
        QCOMPARE(Board(9, 3), 28);
        QCOMPARE(TagOf(w, 26), std::string("27"));
        QCOMPARE(TagOf(w, 39), std::string("37"));
        QCOMPARE(Board(0, 0), 0);
        QVERIFY(!w.form().DragActive());
    }

    void doubleClickOutlastsTheAutomaticPlayItsFirstClickStarted() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        w.SetPacing(true);
        const QPoint at = Centre(w, 12);
        bool sent = false;
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            if (!funktioner::AutoPlayActive || sent) return;
            sent = true;  // the second click lands while A♦ flies home
            QTest::mouseDClick(w.view(), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(w.view(), Qt::LeftButton, Qt::NoModifier, at);
        });
        Press(w, at);
        Release(w, at);
        QVERIFY(sent);
        QCOMPARE(Board(9, 3), 28);                 // the automatic play ran first
        QCOMPARE(TagOf(w, 12), std::string("01"));  // then the double-click parked Q♥
        QVERIFY(!funktioner::gate().MoveInProgress());
    }

    void newGameDuringAMoveWaitsForItsEnd() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        w.SetPacing(true);
        int frames = 0;
        int lossesDuringMove = -1;
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            if (++frames == 3) {
                w.MenuItem(MenuCommand::NyttSpel)->trigger();
                lossesDuringMove = StoredStat(1);
            }
        });
        DragTo(w, Centre(w, 26), FrameSpot(w, ElementKind::Hand, 0));
        QCOMPARE(lossesDuringMove, 0);  // nothing dealt while the card flew
        QCOMPARE(StoredStat(1), 1);     // then the new game, counting one loss
        QCOMPARE(Board(0, 0), 0);
        QVERIFY(funktioner::GameInProgress);
    }

    void statisticsDuringAMoveOpenOnceItHasBeenLaidDown() {
        Game g = Deal(DropDeck());
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        w.SetPacing(true);
        int frames = 0;
        int opened = 0;
        bool openedDuringMove = false;
        // Closes the statistics window as soon as it shows, noting whether a move ran.
        QTimer closer;
        closer.setInterval(5);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                ++opened;
                openedDuringMove = funktioner::gate().MoveInProgress();
                dialog->close();
                closer.stop();
            }
        });
        closer.start();
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            if (++frames != 2) return;
            w.MenuItem(MenuCommand::Statistik)->trigger();
            QCOMPARE(opened, 0);  // not while the card flies
        });
        DragTo(w, Centre(w, 26), FrameSpot(w, ElementKind::Hand, 0));
        QTRY_COMPARE(opened, 1);
        QVERIFY(!openedDuringMove);
    }

    void wholeGameWonWithTheMouse_data() {
        QTest::addColumn<bool>("again");
        QTest::addColumn<bool>("askedDuringLastFlight");
        QTest::newRow("No: an empty table") << false << false;
        QTest::newRow("Yes: a new deal at once") << true << false;
        QTest::newRow("Yes, after Nytt spel during the last flight") << true << true;
    }
    void wholeGameWonWithTheMouse() {
        QFETCH(bool, again);
        QFETCH(bool, askedDuringLastFlight);
        // A fixed deal that the solver wins with single-card moves (found once).
        static std::optional<std::vector<PlayerMove>> plan;
        static std::array<int, 53> deck{};
        for (unsigned seed = 1; seed < 40 && !plan; ++seed) {
            deck = SeededDeck(seed);
            plan = Solve(TableModel::FromDeck(deck));
        }
        QVERIFY(plan.has_value());
        Game g = Deal(deck);
        QVERIFY(g.win);
        KarveloWindow& w = g.w();
        g.win->messages.answers.push_back(again ? Answer::Yes : Answer::No);

        TableModel model = TableModel::FromDeck(deck);
        bool asked = false;  // outlives the loop: the pacer keeps the waiter that sets it
        for (const PlayerMove& m : *plan) {
            QPoint to;
            switch (m.to.kind) {
            case test::Place::Kind::Column: {
                const int n = Board(m.to.index, 0);
                to = n ? Centre(w, Board(m.to.index, n)) : Inside(w, Kort(59 + m.to.index));
                break;
            }
            case test::Place::Kind::Cell: to = FrameSpot(w, ElementKind::Hand, m.to.index); break;
            case test::Place::Kind::Foundation: to = FrameSpot(w, ElementKind::Hog, m.to.index); break;
            }
            if (askedDuringLastFlight) {
                TableModel after = model;
                if (after.Apply(m) && after.Won()) {
                    // "Nytt spel" while the winning card flies waits; the Yes to the
                    // question then deals, and the waiting command must not deal again.
                    w.SetPacing(true);
                    w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
                        if (asked) return;
                        asked = true;
                        w.MenuItem(MenuCommand::NyttSpel)->trigger();
                    });
                }
            }
            DragTo(w, Centre(w, m.card), to);
            QVERIFY(model.Apply(m));
            if (model.Won()) break;
            // The table agrees with the plan after every drop and its automatic play.
            for (int c = 1; c <= 8; ++c) {
                const auto& col = model.columns[static_cast<size_t>(c)];
                QCOMPARE(Board(c, 0), static_cast<int>(col.size()));
                for (size_t r = 0; r < col.size(); ++r)
                    QCOMPARE(Board(c, static_cast<int>(r) + 1), col[r]);
            }
            for (int s = 0; s < 4; ++s)
                QCOMPARE(Board(0, s + 1), model.cells[static_cast<size_t>(s)]);
        }
        // The win: the question, then an empty table until "Nytt spel", or a new deal.
        const auto& seen = g.win->messages.seen;
        QVERIFY(!seen.empty());
        QVERIFY(seen.back().text.starts_with("WOW!!  Du klarade det för 1 gången i rad"));
        QVERIFY(seen.back().text.ends_with("\r\n\r\nVill du starta ett nytt spel?"));
        QVERIFY(seen.back().buttons == Buttons::YesNo);
        QCOMPARE(StoredStat(1), 1);
        QCOMPARE(StoredStat(2), 1);
        if (!again) {
            QVERIFY(!funktioner::GameInProgress);
            for (int code = 1; code <= 67; ++code) QVERIFY(!w.form().CardExists(code));
            QCOMPARE(Board(9, 0), 0);
            return;
        }
        QVERIFY(funktioner::GameInProgress);
        QCOMPARE(StoredStat(1), 1);  // the won game only: the new deal is not counted lost
        for (int code = 1; code <= 52; ++code) QVERIFY(w.form().CardExists(code));
        int onTable = Board(9, 0);
        for (int c = 1; c <= 8; ++c) onTable += Board(c, 0);
        QCOMPARE(onTable, 52);
        // The new game is played by mouse as any other.
        QVERIFY(!w.form().DragActive());
        QVERIFY(!funktioner::gate().MoveInProgress());
    }
};

KARVELO_UI_TEST_MAIN(MouseTest)
#include "tst_mouse.moc"
