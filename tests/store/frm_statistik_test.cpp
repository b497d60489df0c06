// The statistics window, offscreen.
#include "frm_statistik.h"

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <memory>

#include "recording_host.h"
#include "regapi.h"
#include "registry_db.h"
#include "statistics.h"

using namespace karvelo;
using karvelo::test::RecordingHost;

namespace {

const std::string kCurrent = std::string(RegAPI::kAppKey) + "\\Statistik";
const std::string kTotal = std::string(RegAPI::kAppKey) + "\\StatistikTotal";
const QString kNormalCaption = QString::fromUtf8("Statistik - Karvelo");
const QString kFullCaption =
    QString::fromUtf8("Den hemliga fullst\xC3\xA4ndiga statistiken - Karvelo");
const std::string kClearQuestion =
    "\xC3\x84r du s\xC3\xA4ker p\xC3\xA5 att du vill rensa statistiken?";

std::string Stored(const std::string& key, int i) {
    return RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, key, "Stat " + std::to_string(i));
}

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

}  // namespace

class FrmStatistikTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    RecordingHost host;
    std::unique_ptr<QWidget> owner;

    void PlayGames() {
        for (bool won : {true, false, true, true, false, false, false, true, true})
            RecordGameResult(won);
        host.boxes.clear();
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        ::setenv("XDG_CONFIG_HOME", dir->path().toLocal8Bit().constData(), 1);
        CloseUserRegistry();
        host = RecordingHost();
        SetHost(&host);
        StatCounters.Clear();
        RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, kCurrent);  // as start-up does
        owner = std::make_unique<QWidget>();
        owner->setGeometry(100, 80, 700, 560);
        owner->show();
    }

    void cleanup() {
        owner.reset();
        SetHost(nullptr);
        StatCounters.Clear();
        CloseUserRegistry();
        dir.reset();
    }

    void layoutFollowsTheDesign() {
        auto dialog = PrepareNormalView(owner.get());
        const double sx = dialog->logicalDpiX() / 1440.0, sy = dialog->logicalDpiY() / 1440.0;
        auto px = [](int twips, double scale) { return static_cast<int>(twips * scale + 0.5); };
        QCOMPARE(dialog->size(), QSize(px(4545, sx), px(4890, sy)));
        if (dialog->logicalDpiX() == 96) QCOMPARE(dialog->size(), QSize(303, 326));
        QCOMPARE(dialog->Text1->geometry(), QRect(px(240, sx), px(240, sy), px(4215, sx), px(4215, sy)));
        QCOMPARE(dialog->cmdClose->geometry(), QRect(px(600, sx), px(4320, sy), px(1215, sx), px(375, sy)));
        QCOMPARE(dialog->cmdRensaReg->geometry(),
                 QRect(px(2280, sx), px(4320, sy), px(1455, sx), px(375, sy)));
        QCOMPARE(dialog->cmdClose->text(), QString::fromUtf8("St\xC3\xA4ng"));
        QCOMPARE(dialog->cmdRensaReg->text(), QString("Rensa Statistiken"));

        const Qt::WindowFlags flags = dialog->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);

        QVERIFY(dialog->Text1->isReadOnly());
        QCOMPARE(dialog->Text1->palette().color(QPalette::Base),
                 QApplication::palette("QMenu").color(QPalette::Window));
        QCOMPARE(NextTabStop(dialog->Text1), dialog->cmdClose);
        QCOMPARE(NextTabStop(dialog->cmdClose), dialog->cmdRensaReg);
        QCOMPARE(NextTabStop(dialog->cmdRensaReg), dialog->Text1);

        // The captions fit their buttons.
        const QFontMetrics fm(dialog->cmdRensaReg->font());
        QVERIFY(fm.horizontalAdvance(dialog->cmdRensaReg->text()) < dialog->cmdRensaReg->width());
    }

    void eachViewHasItsCaptionAndButtons() {
        PlayGames();
        auto normal = PrepareNormalView(owner.get());
        QCOMPARE(normal->windowTitle(), kNormalCaption);
        QVERIFY(normal->cmdRensaReg->isVisibleTo(normal.get()));
        QVERIFY(normal->text().rfind("Denna omg\xC3\xA5ng:\r\n", 0) == 0);

        auto full = PrepareFullView(owner.get());
        QCOMPARE(full->windowTitle(), kFullCaption);
        QVERIFY(!full->cmdRensaReg->isVisibleTo(full.get()));
        QVERIFY(full->text().rfind("\r\nTotalt:\r\n", 0) == 0);
        QVERIFY(normal->Text1->toPlainText().indexOf('\r') < 0);  // line breaks, not glyphs
    }

    void figuresLineUpInAColumn() {
        PlayGames();
        auto dialog = PrepareNormalView(owner.get());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QPlainTextEdit* text = dialog->Text1;

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

    void clearingFromTheWindow() {
        PlayGames();
        const std::string fullBefore = PrepareFullView(owner.get())->text();
        auto dialog = PrepareNormalView(owner.get());
        host.boxes.clear();

        host.answers = {Answer::Yes};
        dialog->cmdRensaReg_Click();
        QCOMPARE(host.boxes.size(), size_t{1});
        const test::Box question = host.boxes[0];
        QCOMPARE(question.text, kClearQuestion);
        QVERIFY(question.buttons == Buttons::YesNo);
        QVERIFY(question.icon == Icon::Exclamation);
        QVERIFY(question.defaultButton == DefaultButton::Second);
        QCOMPARE(question.title, std::string("Karvelo"));

        // The window stays and shows zeros; the full view has not changed.
        const std::string& text = dialog->text();
        size_t zeroWon = 0;
        for (size_t at = 0; (at = text.find("Vunna: \t\t0\t0%\t", at)) != std::string::npos; ++at)
            ++zeroWon;
        QCOMPARE(zeroWon, size_t{2});
        QCOMPARE(text.find("Spelade: \t\t9"), std::string::npos);
        QCOMPARE(Stored(kCurrent, 1), std::string("0"));
        QCOMPARE(PrepareFullView(owner.get())->text(), fullBefore);

        // Again, without a game in between: the record is already gone.
        host.boxes.clear();
        host.answers = {Answer::Yes};
        dialog->cmdRensaReg_Click();
        QCOMPARE(host.Texts(), (std::vector<std::string>{kClearQuestion,
                                                         "Could not open key_DeleteRegKey"}));
        QCOMPARE(PrepareFullView(owner.get())->text(), fullBefore);
    }

    void noAnswersChangeNothing() {
        PlayGames();
        MergeTotalStatistics();  // some total to keep
        host.boxes.clear();
        auto dialog = PrepareNormalView(owner.get());
        const std::string shown = dialog->text();
        const std::string current = Stored(kCurrent, 1), total = Stored(kTotal, 1);

        host.answers = {Answer::No};
        dialog->cmdRensaReg_Click();
        QCOMPARE(dialog->text(), shown);
        host.answers = {Answer::No};
        StatisticsKeyDown(owner.get(), kVirtualKeyKeypadMinus, 7);
        QCOMPARE(host.Texts(), (std::vector<std::string>{kClearQuestion, "Rensa?"}));
        QCOMPARE(Stored(kCurrent, 1), current);
        QCOMPARE(Stored(kTotal, 1), total);

        // The default answer is No as well.
        host.boxes.clear();
        AskClearTotalStatistics();
        QCOMPARE(Stored(kTotal, 1), total);
        QVERIFY(host.boxes.at(0).defaultButton == DefaultButton::Second);
        QVERIFY(host.boxes.at(0).icon == Icon::Exclamation);

        host.answers = {Answer::Yes};
        AskClearTotalStatistics();
        QCOMPARE(Stored(kTotal, 1), std::string("0"));
        QCOMPARE(Stored(kCurrent, 1), current);
    }

    void onlyTheExactKeyCombinationsAct() {
        // Ctrl+Alt+Shift+T, Ctrl+T and Ctrl+Alt+Shift with the main keyboard's minus.
        StatisticsKeyDown(owner.get(), kVirtualKeyT, 7);
        StatisticsKeyDown(owner.get(), kVirtualKeyT, 2);
        StatisticsKeyDown(owner.get(), kVirtualKeyMinus, 7);
        StatisticsKeyDown(owner.get(), kVirtualKeyKeypadMinus, 6);
        QVERIFY(host.boxes.empty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        StatisticsKeyDown(owner.get(), kVirtualKeyKeypadMinus, 7);
        QCOMPARE(host.Texts(), std::vector<std::string>{"Rensa?"});
    }

    void entryPointsShowTheDialogModallyOverTheOwner() {
        PlayGames();
        for (const bool full : {false, true}) {
            QString caption;
            bool clearButton = false, centred = false, modal = false;
            QTimer::singleShot(0, [&] {
                auto* dialog = dynamic_cast<frmStatistik*>(QApplication::activeModalWidget());
                if (!dialog) return;
                modal = dialog->isModal();
                caption = dialog->windowTitle();
                clearButton = dialog->cmdRensaReg->isVisible();
                const QPoint delta = dialog->frameGeometry().center() - owner->frameGeometry().center();
                centred = delta.manhattanLength() <= 2;
                dialog->cmdClose->click();
            });
            if (full) {
                StatisticsKeyDown(owner.get(), kVirtualKeyT, 6);  // Ctrl+Alt+T
            } else {
                StatCounters.Clear();
                OpenStatistics(owner.get());
                QCOMPARE(StatCounters(1), 9);  // loaded from the store before showing
            }
            QVERIFY(modal);
            QCOMPARE(caption, full ? kFullCaption : kNormalCaption);
            QCOMPARE(clearButton, !full);
            QVERIFY(centred);
        }
        QVERIFY(!StatCounters(9));  // the series is not touched by looking at it
    }
};

QTEST_MAIN(FrmStatistikTest)
#include "frm_statistik_test.moc"
