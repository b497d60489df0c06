// The main window as a player meets it: start-up from the stored settings, the
// elements of the table, the menus and their commands, the growth before the first
// deal, the end of a run, message boxes and the pacing of visible steps.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <csignal>

#include "funktioner.h"
#include "karvelo_version.h"
#include "session_signals.h"
#include "rounding.h"
#include "settings.h"
#include "texts.h"
#include "ui_test_support.h"
#include "window_layout.h"

using namespace karvelo;
using namespace karvelo::test;

namespace {

bool OnlyTicked(const KarveloWindow& w, int k) {
    for (int i = 0; i < kSpeedItems; ++i)
        if (w.SpeedItem(i)->isChecked() != (i == k)) return false;
    return true;
}

// The order of the named elements, back to front, as the scene holds them.
std::vector<ElementId> StartOrder(const KarveloWindow& w) {
    std::vector<ElementId> ids;
    for (const auto& e : w.form().scene().DrawingOrder()) ids.push_back(e.id);
    return ids;
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshStart(); }

    void firstStartUsesTheStandardSettings() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        QCOMPARE(w.form().BackColour(), 32768);
        QCOMPARE(w.view()->Background(), QColor(0, 128, 0));
        QCOMPARE(funktioner::AnimationSpeed, 17);
        QVERIFY(OnlyTicked(w, 2));
        QVERIFY(!funktioner::GameInProgress);
        QVERIFY(win->messages.seen.empty());
        // Start-up made sure both keys exist and stored nothing else.
        QCOMPARE(StoredSetting("Speed"), std::string("0"));
    }

    void startUpReadsStoredSettings_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("item");
        QTest::newRow("fastest") << "Number" << "1" << 1 << 0;
        QTest::newRow("slowest") << "Number" << "33" << 33 << 4;
        QTest::newRow("13 ticks the even item") << "Number" << "13" << 13 << 2;
        QTest::newRow("5 ticks item 0") << "Number" << "5" << 5 << 0;
        QTest::newRow("25") << "Number" << "25" << 25 << 3;
        QTest::newRow("zero means unset") << "Number" << "0" << 17 << 2;
        QTest::newRow("text with spaces") << "String" << "  9  " << 9 << 1;
        QTest::newRow("garbage") << "String" << "snabb" << 17 << 2;
        QTest::newRow("negative") << "Number" << "-8" << 17 << 2;
        QTest::newRow("item beyond 4") << "Number" << "41" << 17 << 2;
        QTest::newRow("huge") << "Number" << "2000000000" << 17 << 2;
        QTest::newRow("below one step") << "String" << "0.4" << 17 << 2;
    }
    void startUpReadsStoredSettings() {
        QFETCH(QString, type);
        QFETCH(QString, speed);
        QFETCH(int, steps);
        QFETCH(int, item);
        StoreSetting("Speed", type.toStdString(), speed.toStdString());
        auto win = OpenWindow();
        QVERIFY(win);
        QCOMPARE(funktioner::AnimationSpeed, steps);
        QVERIFY(OnlyTicked(*win->w, item));
    }

    void startUpReadsStoredColour_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("colour");
        QTest::newRow("red") << "Number" << "255" << 255;
        QTest::newRow("zero gives green") << "Number" << "0" << 32768;
        QTest::newRow("white") << "Number" << "16777215" << 0xFFFFFF;
        QTest::newRow("beyond a colour") << "Number" << "16777216" << 32768;
        QTest::newRow("negative") << "Number" << "-1" << 32768;
        QTest::newRow("not a number") << "String" << "blå" << 32768;
    }
    void startUpReadsStoredColour() {
        QFETCH(QString, type);
        QFETCH(QString, stored);
        QFETCH(int, colour);
        StoreSetting("Color", type.toStdString(), stored.toStdString());
        auto win = OpenWindow();
        QVERIFY(win);
        QCOMPARE(win->w->form().BackColour(), colour);
        const QColor c = win->w->view()->Background();
        QCOMPARE(c.red() | c.green() << 8 | c.blue() << 16, colour);
    }

    void windowHasItsSizePlaceAndDecoration() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Karvelo"));
        QCOMPARE(w.view()->size(), QSize(644, 385));
        QCOMPARE(w.minimumSize(), w.maximumSize());  // the player cannot resize it
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!w.windowIcon().isNull());
        // The table's top-left corner stands 1815, 1005 twips from the screen's.
        const QPoint corner = w.view()->mapToGlobal(QPoint(0, 0));
        const QPoint screen = w.screen()->geometry().topLeft();
        QCOMPARE(corner - screen, QPoint(121, 67));
    }

    void elementsStandAtTheirPlacesInTheirOrder() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        using K = ElementKind;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(RectOf(w, {K::Hand, i}), (TwipRect{1080.0f * i, 0, 1125, 1500}));
            QCOMPARE(RectOf(w, {K::Hog, i}), (TwipRect{5280 + 1080.0f * i, 0, 1125, 1500}));
            QVERIFY(w.form().scene().Find({K::Hand, i})->border);
            QVERIFY(w.form().scene().Find({K::Hog, i})->border);
        }
        QCOMPARE(RectOf(w, {K::LblHand, 2}), (TwipRect{2640, 480, 210, 360}));
        QCOMPARE(RectOf(w, {K::LblFarger, 1}), (TwipRect{6720, 480, 450, 195}));
        QCOMPARE(RectOf(w, {K::PilH, 0}), (TwipRect{4560, 480, 480, 480}));
        QCOMPARE(RectOf(w, {K::Splash, 0}), (TwipRect{0, 0, 9750, 6750}));
        QCOMPARE(RectOf(w, Kort(0)), (TwipRect{9120, 3240, 1065, 1440}));

        const char* letters[] = {"H", "A", "N", "D"};
        const char* suits[] = {"Hjärter", "Klöver", "Ruter", "Spader"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(w.form().scene().Find({K::LblHand, i})->text, std::string(letters[i]));
            QCOMPARE(w.form().scene().Find({K::LblFarger, i})->text, std::string(suits[i]));
        }
        QCOMPARE(w.view()->LetterFont().pointSizeF(), 13.5);

        // Only the down arrow and the title picture show among the optional ones.
        QVERIFY(w.form().scene().Find({K::PilN, 0})->visible);
        QVERIFY(!w.form().scene().Find({K::PilH, 0})->visible);
        QVERIFY(!w.form().scene().Find({K::PilV, 0})->visible);
        QVERIFY(!w.form().scene().Find(Kort(0))->visible);
        QVERIFY(w.form().scene().Find({K::Splash, 0})->visible);

        const std::vector<ElementId> expected = {
            {K::Hand, 0}, {K::Hand, 1}, {K::Hand, 2}, {K::Hand, 3}, Kort(0),
            {K::Hog, 0}, {K::Hog, 1}, {K::Hog, 2}, {K::Hog, 3},
            {K::LblFarger, 0}, {K::LblFarger, 1}, {K::LblFarger, 2}, {K::LblFarger, 3},
            {K::LblHand, 0}, {K::LblHand, 1}, {K::LblHand, 2}, {K::LblHand, 3},
            {K::PilV, 0}, {K::PilH, 0}, {K::PilN, 0}, {K::Splash, 0}};
        QVERIFY(StartOrder(w) == expected);
    }

    void menusHaveTheirTreeCaptionsAndKeys() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        QStringList titles;
        for (QAction* a : w.menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, (QStringList{"Meny", "Inställningar", "Hjälp"}));

        auto texts = [](QMenu* m) {
            QStringList t;
            for (QAction* a : m->actions()) t << a->text();
            return t;
        };
        const auto bar = w.menuBar()->actions();
        QCOMPARE(texts(bar[0]->menu()), (QStringList{"Nytt spel", "Statistik", "Avsluta"}));
        QMenu* settings = bar[1]->menu();
        QCOMPARE(texts(settings), (QStringList{"Ändra Animationshastigheten", "Bakgrundsfärg"}));
        QCOMPARE(texts(settings->actions()[0]->menu()),
                 (QStringList{"Hastighet 1 (snabbast)", "Hastighet 2", "Hastighet 3 (Standard)",
                              "Hastighet 4", "Hastighet 5 (långsammast)"}));
        QCOMPARE(texts(settings->actions()[1]->menu()), (QStringList{"Ändra", "Standard"}));
        QCOMPARE(texts(bar[2]->menu()), (QStringList{"Hjälp", "Om"}));

        QCOMPARE(w.MenuItem(MenuCommand::NyttSpel)->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(w.MenuItem(MenuCommand::Statistik)->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(w.MenuItem(MenuCommand::Help)->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(w.MenuItem(MenuCommand::Avsluta)->shortcut().isEmpty());
    }

    void speedChoiceTicksOneItemAndStoresIt() {
        {
            auto win = OpenWindow();
            QVERIFY(win);
            win->w->SpeedItem(4)->trigger();
            QVERIFY(OnlyTicked(*win->w, 4));
            QCOMPARE(funktioner::AnimationSpeed, 33);
            QCOMPARE(StoredSetting("Speed"), std::string("33"));
            // Choosing the ticked item again keeps it ticked.
            win->w->SpeedItem(4)->trigger();
            QVERIFY(OnlyTicked(*win->w, 4));
            win->w->SpeedItem(0)->trigger();
            QVERIFY(OnlyTicked(*win->w, 0));
            QCOMPARE(funktioner::AnimationSpeed, 1);
            QCOMPARE(StoredSetting("Speed"), std::string("1"));
            win->w->SpeedItem(4)->trigger();
        }
        funktioner::AnimationSpeed = 17;
        auto again = OpenWindow();
        QVERIFY(again);
        QVERIFY(OnlyTicked(*again->w, 4));
        QCOMPARE(funktioner::AnimationSpeed, 33);
    }

    void colourDialogAndStandard() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        // Cancelled: nothing changes and nothing is stored.
        w.SetColourChooser([](int32_t) { return std::optional<int32_t>(); });
        w.MenuItem(MenuCommand::Color)->trigger();
        QCOMPARE(w.form().BackColour(), 32768);
        QCOMPARE(StoredSetting("Color"), std::string("0"));
        // A chosen colour is stored blue-green-red, red in the low byte.
        w.SetColourChooser([](int32_t) { return std::optional<int32_t>(0x030201); });
        w.MenuItem(MenuCommand::Color)->trigger();
        QCOMPARE(w.form().BackColour(), 0x030201);
        QCOMPARE(w.view()->Background(), QColor(1, 2, 3));
        QCOMPARE(StoredSetting("Color"), std::to_string(0x030201));
        // Cancelling now keeps the custom colour and its stored value.
        w.SetColourChooser([](int32_t) { return std::optional<int32_t>(); });
        w.MenuItem(MenuCommand::Color)->trigger();
        QCOMPARE(w.form().BackColour(), 0x030201);
        QCOMPARE(StoredSetting("Color"), std::to_string(0x030201));
        w.MenuItem(MenuCommand::ColorStandard)->trigger();
        QCOMPARE(w.form().BackColour(), 32768);
        QCOMPARE(w.view()->Background(), QColor(0, 128, 0));
        QCOMPARE(StoredSetting("Color"), std::string("32768"));
    }

    void helpAndAboutTexts() {
        auto win = OpenWindow();
        QVERIFY(win);
        win->w->MenuItem(MenuCommand::Help)->trigger();
        QTest::keyClick(win->w.get(), Qt::Key_F1);
        win->w->MenuItem(MenuCommand::Om)->trigger();
        const auto& seen = win->messages.seen;
        QCOMPARE(seen.size(), size_t(3));
        const std::string help =
            "Hjälpfil saknas\t\r\n\t\r\nOm någon känner sig manad så tar\t\r\n"
            "jag gärna emot en hjälp fil ;)\t\r\n";
        for (int i : {0, 1}) {
            QCOMPARE(seen[size_t(i)].text, help);
            QCOMPARE(seen[size_t(i)].title, std::string("Karvelo"));
            QVERIFY(seen[size_t(i)].buttons == Buttons::OK);
            QVERIFY(seen[size_t(i)].icon == Icon::None);
        }
        const std::string& about = seen[2].text;
        QVERIFY(about.starts_with(std::string(16, ' ') + "Karvelo " + KARVELO_VERSION + "\t\r\n\t\r\n"));
        QVERIFY(about.ends_with("\t\r\n"));
        // Credit lines alternate with empty lines, every line ending in a tab and CR LF.
        QString body = QString::fromStdString(about.substr(16 + 11 + 3 + 3));
        QStringList lines = body.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QVERIFY(lines.size() >= 1 && lines.size() % 2 == 1);
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY(lines[i].endsWith('\t'));
            QCOMPARE(lines[i] == QStringLiteral("\t"), i % 2 == 1);
        }
        QVERIFY(seen[2].buttons == Buttons::OK && seen[2].icon == Icon::None);
    }

    void statisticsFromTheMenuAndTheHiddenKeys() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        // The statistics window is modal: note its caption and close it.
        QStringList captions;
        QTimer closer;
        closer.setInterval(5);
        connect(&closer, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top != &w && top->isVisible() && top->isModal()) {
                    captions << top->windowTitle();
                    top->close();
                    closer.stop();
                }
            }
        });
        auto closeWhenShown = [&] { closer.start(); };
        closeWhenShown();
        QTest::keyClick(&w, Qt::Key_F3);
        closeWhenShown();
        QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(captions.size(), 2);
        QVERIFY(captions[0] != captions[1]);  // the normal and the full view
        // Ctrl+T alone and Ctrl+Alt+Shift+T are no statistics keys.
        QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
        QCoreApplication::processEvents();
        QCOMPARE(captions.size(), 2);
        // Ctrl+Alt+Shift with the keypad minus asks before clearing the total.
        QTest::keyClick(&w, Qt::Key_Minus,
                        Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier);
        QCOMPARE(win->messages.seen.size(), size_t(1));
        QCOMPARE(win->messages.seen[0].text, std::string("Rensa?"));
        QVERIFY(win->messages.seen[0].defaultButton == DefaultButton::Second);
    }

    void firstNewGameHidesTheTitleGrowsAndDeals() {
        auto win = OpenWindow();
        QVERIFY(win);
        const auto deck = SeededDeck(7);
        funktioner::SetRandomSource(DeckSource(deck));
        KarveloWindow& w = *win->w;
        const int startOuter = w.OuterHeightTwips();
        const int width = w.frameGeometry().width();
        const int step = GrowthStep(startOuter, 9015, 100);
        QTest::keyClick(&w, Qt::Key_F2);

        QVERIFY(!w.form().scene().Find({ElementKind::Splash, 0})->visible);
        QCOMPARE(w.frameGeometry().width(), width);
        QCOMPARE(w.OuterHeightTwips(), RoundHalfEven((startOuter + 100 * step) / 15.0) * 15);
        QVERIFY(std::abs(w.OuterHeightTwips() - 9015) <= 60);
        QVERIFY(w.minimumSize() == w.maximumSize());

        QVERIFY(funktioner::GameInProgress);
        const int first = funktioner::Deck(1);
        const int last = funktioner::Deck(52);
        QCOMPARE(first, deck[1]);
        QCOMPARE(last, deck[52]);
        QCOMPARE(RectOf(w, Kort(first)), (TwipRect{120, 1680, 1065, 1440}));
        QCOMPARE(w.form().Tag(first), std::string("11"));
        QCOMPARE(RectOf(w, Kort(last)), (TwipRect{3720, 3480, 1065, 1440}));
        QCOMPARE(w.form().Tag(last), std::string("47"));
        for (int c = 1; c <= 8; ++c) {
            const SceneElement* base = w.form().scene().Find(Kort(59 + c));
            QVERIFY(base && base->visible && base->border && base->picture == 0);
            QCOMPARE(base->rect, (TwipRect{125 + 1200.0f * (c - 1), 1685, 1055, 1430}));
            QCOMPARE(base->tag, "9" + std::to_string(c));
        }
        for (int code = 1; code <= 52; ++code) {
            const SceneElement* card = w.form().scene().Find(Kort(code));
            QVERIFY(card && card->visible && card->enabled);
            QCOMPARE(card->picture, 100 + code);
        }
        QCOMPARE(StoredStat(1), 0);
    }

    void newGameDuringAGameCountsOneLoss() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        const int outer = w.OuterHeightTwips();
        QCOMPARE(StoredStat(1), 0);
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        QCOMPARE(StoredStat(1), 1);
        QCOMPARE(StoredStat(2), 0);
        QCOMPARE(StoredStat(8), 1);
        QCOMPARE(w.OuterHeightTwips(), outer);  // the window grows once per run
        QVERIFY(funktioner::GameInProgress);
        int cards = 0;
        for (int code = 1; code <= 52; ++code) cards += w.form().CardExists(code);
        QCOMPARE(cards, 52);
    }

    void quittingRecordsALossOnlyWhileAGameRuns() {
        {
            auto win = OpenWindow();
            QVERIFY(win);
            win->w->MenuItem(MenuCommand::Avsluta)->trigger();
            QCOMPARE(win->terminations, 1);
            QVERIFY(win->w->form().Terminated());
            QVERIFY(!win->w->isVisible());
            QCOMPARE(StoredStat(1), 0);
        }
        {
            auto win = OpenWindow();
            QVERIFY(win);
            win->w->MenuItem(MenuCommand::NyttSpel)->trigger();
            win->w->close();
            QCOMPARE(win->terminations, 1);
            QCOMPARE(StoredStat(1), 1);
            QCOMPARE(StoredStat(8), 1);
            // A second close of an ended run records nothing more.
            win->w->close();
            win->w->MenuItem(MenuCommand::Avsluta)->trigger();
            QCOMPARE(win->terminations, 1);
            QCOMPARE(StoredStat(1), 1);
            QCOMPARE(funktioner::Board(1, 0), 0);
            QVERIFY(!funktioner::GameInProgress);
        }
    }

    // Input that arrives while the window grows or a move is laid down.
    void newGameDuringGrowthIsRefusedAndClosingEndsTheRunWithoutADeal() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        w.SetPacing(true);
        int frame = 0;
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            ++frame;
            if (frame == 10) w.MenuItem(MenuCommand::NyttSpel)->trigger();  // refused: a deal is under way
            if (frame == 20) w.close();                    // waits for the growth
            QCOMPARE(win->terminations, 0);
        });
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        // The growth stopped, nothing was dealt and the run ended: a game never played
        // is not counted as lost.
        QVERIFY(frame >= 20 && frame < 100);
        QCOMPARE(win->terminations, 1);
        QVERIFY(!w.form().CardExists(1));
        QCOMPARE(StoredStat(1), 0);
    }

    void pacingMakesEveryStepAFrame() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        w.view()->ShowChangesNow();
        w.SetPacing(true);
        int frames = 0;
        std::vector<float> lefts;
        const int card = funktioner::Deck(1);
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
            ++frames;
            // Each step has been painted before the wait for the next one.
            QVERIFY(!w.view()->HasUnshownChanges());
            lefts.push_back(RectOf(w, Kort(card)).left);
        });
        // A flight of 17 steps over 1200 twips: the start position shows nothing new.
        funktioner::AnimateMove(funktioner::imgKort(card), funktioner::imgKort(card), 1200, 0, 17);
        QCOMPARE(frames, 17);
        QCOMPARE(lefts.back(), 1320.0f);
        for (size_t i = 1; i < lefts.size(); ++i) QVERIFY(lefts[i] > lefts[i - 1]);
        // Processing events with nothing changed on the table is no frame.
        w.DoEvents();
        QCOMPARE(frames, 17);
        // Switched off, steps are not paced at all.
        w.SetPacing(false);
        funktioner::AnimateMove(funktioner::imgKort(card), funktioner::imgHog(0), 40, 30, 11);
        QCOMPARE(frames, 17);
    }

    void onlyWhatChangedIsRepainted() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        w.view()->ShowChangesNow();
        QVERIFY(!w.view()->HasUnshownChanges());
        const int card = funktioner::Deck(52);
        const TwipRect from = RectOf(w, Kort(card));
        w.form().Move(card, from.left + 600, from.top + 300);
        const QRect expected = TableView::PixelBounds(from).united(
            TableView::PixelBounds(RectOf(w, Kort(card))));
        QCOMPARE(w.view()->UnshownRegion().boundingRect(), expected);
        const long long before = w.view()->PaintCount();
        w.view()->ShowChangesNow();
        QCOMPARE(w.view()->PaintCount(), before + 1);
        // Tags, enabled states and moves of hidden elements change nothing on screen.
        w.form().SetTag(card, "11");
        w.form().SetEnabled(card, false);
        w.form().Move(0, 100, 100);
        QVERIFY(!w.view()->HasUnshownChanges());
    }

    void aMinimisedWindowDoesNotPace() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        w.SetPacing(true);
        int frames = 0;
        w.pacer().SetWaiter([&](std::chrono::nanoseconds) { ++frames; });
        const int card = funktioner::Deck(1);
        w.showMinimized();
        QTRY_VERIFY(w.isMinimized());
        funktioner::AnimateMove(funktioner::imgKort(card), funktioner::imgHog(0), 40, 30, 11);
        QCOMPARE(frames, 0);
        QCOMPARE(RectOf(w, Kort(card)).left, RectOf(w, {ElementKind::Hog, 0}).left + 40);
        w.showNormal();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        funktioner::AnimateMove(funktioner::imgKort(card), funktioner::imgHog(1), 40, 30, 11);
        QCOMPARE(frames, 11);
    }

    // Logging off or shutting down with a game in progress is "Avsluta": one loss.
    void sessionEndRecordsTheGameInProgressOnce() {
        {
            auto win = OpenWindow();
            QVERIFY(win);
            win->w->MenuItem(MenuCommand::NyttSpel)->trigger();
            win->w->SessionEnding();
            QCOMPARE(win->terminations, 1);
            QVERIFY(!win->w->isVisible());
            QCOMPARE(StoredStat(1), 1);
            QCOMPARE(StoredStat(8), 1);
            win->w->SessionEnding();  // asked again as the application quits
            QCOMPARE(win->terminations, 1);
            QCOMPARE(StoredStat(1), 1);
        }
        {
            // In the middle of a flight: it waits for the move, as "Avsluta" does.
            auto win = OpenWindow();
            QVERIFY(win);
            KarveloWindow& w = *win->w;
            w.MenuItem(MenuCommand::NyttSpel)->trigger();
            w.SetPacing(true);
            int frames = 0, framesWhenAsked = -1;
            w.pacer().SetWaiter([&](std::chrono::nanoseconds) {
                if (++frames != 3) return;
                w.SessionEnding();
                QCOMPARE(win->terminations, 0);
                framesWhenAsked = frames;
            });
            // The last card of the first column to the first free cell, in 17 steps.
            funktioner::AnimationSpeed = 17;
            w.form().imgHand_DragDrop(0, funktioner::Board(1, funktioner::Board(1, 0)));
            QCOMPARE(framesWhenAsked, 3);
            QCOMPARE(frames, 3);  // the rest of the move waited for no frame
            QCOMPARE(win->terminations, 1);
            QCOMPARE(StoredStat(1), 2);
            QCOMPARE(StoredStat(8), 2);
        }
    }

    // Told to end by a signal (the session ends, the system shuts down): the same.
    void aSignalToEndIsTheEndOfTheSession() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        w.MenuItem(MenuCommand::NyttSpel)->trigger();
        struct sigaction before {};
        sigaction(SIGTERM, nullptr, &before);
        {
            SessionSignals ending([&w] { w.SessionEnding(); });
            QVERIFY(ending.Installed());
            {
                SessionSignals second([] {});  // one at a time: it takes nothing away
                QVERIFY(!second.Installed());
            }
            ::raise(SIGTERM);
            QTRY_COMPARE(win->terminations, 1);
            QCOMPARE(StoredStat(1), 1);
            ::raise(SIGHUP);
            QTest::qWait(20);
            QCOMPARE(win->terminations, 1);
            QCOMPARE(StoredStat(1), 1);
        }
        struct sigaction after {};
        sigaction(SIGTERM, nullptr, &after);
        QVERIFY(after.sa_handler == before.sa_handler);
    }
};

KARVELO_UI_TEST_MAIN(WindowTest)
#include "tst_window.moc"
