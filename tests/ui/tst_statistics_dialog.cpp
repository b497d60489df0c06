// The statistics window drawn by Qt, offscreen: its layout from the design, the
// figures lining up in columns, and the main window's entry points showing it modally
// over the table.
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "frm_statistik.h"
#include "statistics.h"
#include "statistics_dialog.h"
#include "surroundings.h"
#include "ui_test_support.h"

using namespace karvelo;
using namespace karvelo::test;

namespace {

const QString kNormalCaption = QString::fromUtf8(statistics_window::kNormalCaption);
const QString kFullCaption = QString::fromUtf8(statistics_window::kFullCaption);

// The next widget the TAB key moves to from w.
QWidget* NextTabStop(QWidget* w) {
    QWidget* next = w->nextInFocusChain();
    while (next != w && (!(next->focusPolicy() & Qt::TabFocus) || w->isAncestorOf(next)))
        next = next->nextInFocusChain();
    return next;
}

// The left edge, in pixels, of character `at` of line `line`.
int XAt(QPlainTextEdit* edit, int line, int at) {
    QTextCursor cursor(edit->document()->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + at);
    return edit->cursorRect(cursor).left();
}

void PlayGames() {
    for (bool won : {true, false, true, true, false, false, false, true, true})
        RecordGameResult(won);
}

}  // namespace

class StatisticsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { FreshStart(); }

    void layoutFollowsTheDesign() {
        auto window = PrepareNormalView(NumberFormat{});
        StatisticsDialog dialog(*window, nullptr);
        // Twips to Qt's logical pixels, 96 to the inch like the table's.
        QCOMPARE(dialog.size(), QSize(303, 326));
        QCOMPARE(dialog.Text1->geometry(), QRect(16, 16, 281, 281));
        QCOMPARE(dialog.cmdClose->geometry(), QRect(40, 288, 81, 25));
        QCOMPARE(dialog.cmdRensaReg->geometry(), QRect(152, 288, 97, 25));
        QCOMPARE(dialog.cmdClose->text(), QString::fromUtf8("St\xC3\xA4ng"));
        QCOMPARE(dialog.cmdRensaReg->text(), QString("Rensa Statistiken"));

        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);

        QVERIFY(dialog.Text1->isReadOnly());
        QCOMPARE(dialog.Text1->palette().color(QPalette::Base),
                 QApplication::palette("QMenu").color(QPalette::Window));
        QCOMPARE(NextTabStop(dialog.Text1), dialog.cmdClose);
        QCOMPARE(NextTabStop(dialog.cmdClose), dialog.cmdRensaReg);
        QCOMPARE(NextTabStop(dialog.cmdRensaReg), dialog.Text1);

        // The captions fit their buttons.
        const QFontMetrics fm(dialog.cmdRensaReg->font());
        QVERIFY(fm.horizontalAdvance(dialog.cmdRensaReg->text()) < dialog.cmdRensaReg->width());
        QVERIFY(dialog.Text1->toPlainText().indexOf('\r') < 0);  // line breaks, not glyphs
    }

    void figuresLineUpInAColumn() {
        PlayGames();
        auto window = PrepareNormalView(NumberFormat{});
        StatisticsDialog dialog(*window, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QPlainTextEdit* text = dialog.Text1;

        // Every line with a label: its figure follows the last TAB before the figure.
        std::vector<int> figures, percentages;
        const QTextDocument* doc = text->document();
        for (int line = 0; line < doc->blockCount(); ++line) {
            const QString s = doc->findBlockByNumber(line).text();
            if (!s.startsWith('\t')) continue;
            const int firstFigure = s.indexOf(QRegularExpression("\t[-0-9]"));
            QVERIFY(firstFigure > 0);
            figures.push_back(XAt(text, line, firstFigure + 1));
            if (s.contains('%')) percentages.push_back(XAt(text, line, s.indexOf('%') - 4));
        }
        QCOMPARE(static_cast<int>(figures.size()), 12);
        for (int x : figures) QCOMPARE(x, figures.front());
        QCOMPARE(static_cast<int>(percentages.size()), 2);
        QCOMPARE(percentages[0], percentages[1]);
        QVERIFY(percentages[0] > figures.front());
        // Nothing hides behind a scroll bar.
        QVERIFY(!text->horizontalScrollBar()->isVisible());
        QVERIFY(!text->verticalScrollBar()->isVisible());
    }

    void clearingShowsZerosInTheOpenWindow() {
        PlayGames();
        auto window = PrepareNormalView(NumberFormat{});
        StatisticsDialog dialog(*window, nullptr);
        QVERIFY(dialog.Text1->toPlainText().contains("Spelade: \t\t9"));
        // No window, no host: the question takes its default answer, No.
        dialog.cmdRensaReg->click();
        QVERIFY(dialog.Text1->toPlainText().contains("Spelade: \t\t9"));
        struct Yes final : Host {
            Answer MsgBox(const std::string&, Buttons, Icon, DefaultButton,
                          const std::string&) override { return Answer::Yes; }
            void DoEvents() override {}
        } yes;
        {
            const funktioner::Surroundings answering({.host = &yes});
            dialog.cmdRensaReg->click();
        }
        QVERIFY(!dialog.Text1->toPlainText().contains("Spelade: \t\t9"));
        QCOMPARE(dialog.Text1->toPlainText().count("Vunna: \t\t0\t0%"), 2);
    }

    void entryPointsShowTheDialogModallyOverTheTable() {
        PlayGames();
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        for (const bool full : {false, true}) {
            QString caption;
            bool clearButton = false, centred = false, modal = false;
            // Loading the record lets events run before the dialog opens: wait for it.
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                auto* dialog = dynamic_cast<StatisticsDialog*>(QApplication::activeModalWidget());
                if (!dialog) return;
                poll.stop();
                modal = dialog->isModal();
                caption = dialog->windowTitle();
                clearButton = dialog->cmdRensaReg->isVisible();
                const QPoint delta = dialog->frameGeometry().center() - w.frameGeometry().center();
                centred = delta.manhattanLength() <= 2;
                dialog->cmdClose->click();
            });
            poll.start(0);
            if (full) {
                QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
            } else {
                StatCounters.Clear();
                w.MenuItem(MenuCommand::Statistik)->trigger();
                QCOMPARE(StatCounters(kPlayed), 9);  // loaded from the store before showing
            }
            QVERIFY(modal);
            QCOMPARE(caption, full ? kFullCaption : kNormalCaption);
            QCOMPARE(clearButton, !full);
            QVERIFY(centred);
        }
        QVERIFY(!StatCounters(kSeriesPlayed));  // the series is not touched by looking at it
        QCOMPARE(win->messages.seen.size(), size_t{0});
    }
};

KARVELO_UI_TEST_MAIN(StatisticsDialogTest)
#include "tst_statistics_dialog.moc"
