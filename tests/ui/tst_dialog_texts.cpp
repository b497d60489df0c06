// What Qt draws on the game's dialogs speaks Swedish: the colour dialog, the message
// boxes and the statistics text's menu are opened as the player meets them and read,
// once without the Swedish translations and once with them. Whatever Qt still shows
// in English reads the same both times. The colour dialog also opens on the table's
// colour, and leaving it without a choice changes nothing.
#include <QApplication>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include "message_box.h"
#include "statistics_dialog.h"
#include "swedish_texts.h"
#include "texts.h"
#include "ui_test_support.h"

using namespace karvelo;
using namespace karvelo::test;

namespace {

// Calls `look` once with the first modal window that opens while this lives.
class ModalWatch {
public:
    explicit ModalWatch(std::function<void(QWidget*)> look) : look_(std::move(look)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            poll_.stop();
            seen_ = true;
            look_(modal);
        });
        poll_.start(0);
    }
    bool Seen() const { return seen_; }

private:
    std::function<void(QWidget*)> look_;
    QTimer poll_;
    bool seen_ = false;
};

void AddText(QStringList& texts, const QString& text) {
    // Texts without a letter ("", "\n", a number) are no language's.
    for (const QChar c : text)
        if (c.isLetter()) {
            texts << text;
            return;
        }
}

void AddMenu(QStringList& texts, const QMenu& menu) {
    for (const QAction* a : menu.actions()) AddText(texts, a->text());
}

// A spin box builds its menu as it opens it: read it from the open popup.
void AddSpinBoxMenu(QStringList& texts, QSpinBox* box) {
    QTimer::singleShot(0, [&texts] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            AddMenu(texts, *menu);
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &event);
}

// Every text a window shows: its title, labels, buttons, group titles, tool tips and
// the menus of its text fields.
QStringList TextsOn(QWidget* window) {
    QStringList texts;
    AddText(texts, window->windowTitle());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        AddText(texts, w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w)) AddText(texts, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) AddText(texts, button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w)) AddText(texts, group->title());
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
            AddMenu(texts, *menu);
        }
    }
    if (QSpinBox* box = window->findChild<QSpinBox*>()) AddSpinBoxMenu(texts, box);
    texts.removeDuplicates();
    return texts;
}

// Reads Qt's texts with `read` in English and then in Swedish, and returns those
// that stayed English: the texts read both times, apart from `notQts` (the program's
// own) and the few words Swedish shares with English.
QStringList EnglishLeft(const std::function<QStringList()>& read, const QStringList& notQts) {
    const QStringList english = read();
    QStringList swedish;
    {
        const SwedishQtTexts texts;
        if (texts.Catalogue().isEmpty()) return {QStringLiteral("(no Swedish catalogue of Qt's)")};
        swedish = read();
    }
    // Guards the comparison itself: the English pass must have found Qt's texts.
    if (english.size() <= notQts.size()) return {QStringLiteral("(no English texts read)")};
    const QStringList same = {QStringLiteral("OK"), QStringLiteral("&OK"), QStringLiteral("&HTML:")};
    QStringList left;
    for (const QString& text : swedish)
        if (english.contains(text) && !notQts.contains(text) && !same.contains(text)) left << text;
    return left;
}

// EnglishLeft of the modal window of kind Window that `open` opens: `readAndClose`
// reads it and closes it.
template <class Window>
QStringList EnglishLeftOn(const std::function<void()>& open,
                          const std::function<QStringList(Window&)>& readAndClose,
                          const QStringList& notQts) {
    return EnglishLeft(
        [&] {
            QStringList texts;
            ModalWatch watch([&](QWidget* modal) {
                if (auto* window = dynamic_cast<Window*>(modal)) texts = readAndClose(*window);
            });
            open();
            return watch.Seen() ? texts : QStringList();
        },
        notQts);
}

QString Listed(const QStringList& texts) { return texts.join(QStringLiteral(" | ")); }

enum class Leave { Ok, Cancel, Escape, CloseBox };

void LeaveColourDialog(QColorDialog* dialog, Leave how) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    switch (how) {
    case Leave::Ok: buttons->button(QDialogButtonBox::Ok)->click(); break;
    case Leave::Cancel: buttons->button(QDialogButtonBox::Cancel)->click(); break;
    case Leave::Escape: QTest::keyClick(dialog, Qt::Key_Escape); break;
    case Leave::CloseBox: dialog->close(); break;
    }
}

const QString kColourTitle = QStringLiteral("Färg");

}  // namespace

class DialogTextsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshStart(); }

    void colourDialogSpeaksSwedish() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        const QStringList left = EnglishLeftOn<QColorDialog>(
            [&] { w.MenuItem(MenuCommand::Color)->trigger(); },
            [](QColorDialog& dialog) {
                QStringList texts = TextsOn(&dialog);
                // Picking a colour from the screen shows how to stop it.
                const QString pickCaption =
                    QCoreApplication::translate("QColorDialog", "&Pick Screen Color");
                for (QPushButton* b : dialog.findChildren<QPushButton*>())
                    if (b->text() == pickCaption) b->click();
                for (QLabel* label : dialog.findChildren<QLabel*>()) AddText(texts, label->text());
                QTest::keyClick(&dialog, Qt::Key_Escape);  // ends the picking
                dialog.reject();
                return texts;
            },
            {kColourTitle});
        QVERIFY2(left.isEmpty(), qPrintable(Listed(left)));
        QCOMPARE(w.form().BackColour(), 32768);
    }

    void colourDialogOpensOnTheTableColour_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("how");
        QTest::addColumn<QColor>("shown");
        QTest::addColumn<QString>("storedAfter");
        const QColor green(0, 128, 0), custom(0x99, 0x66, 0x33);
        QTest::newRow("OK without a choice, standard green")
            << "" << int(Leave::Ok) << green << "32768";
        QTest::newRow("OK without a choice, a stored colour")
            << "3368601" << int(Leave::Ok) << custom << "3368601";
        QTest::newRow("Avbryt") << "" << int(Leave::Cancel) << green << "0";
        QTest::newRow("Escape") << "3368601" << int(Leave::Escape) << custom << "3368601";
        QTest::newRow("close box") << "" << int(Leave::CloseBox) << green << "0";
    }

    void colourDialogOpensOnTheTableColour() {
        QFETCH(QString, stored);
        QFETCH(int, how);
        QFETCH(QColor, shown);
        QFETCH(QString, storedAfter);
        if (!stored.isEmpty()) StoreSetting("Color", "Number", stored.toStdString());
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        const int32_t before = w.form().BackColour();
        QColor opened;
        bool native = true;
        ModalWatch watch([&](QWidget* modal) {
            auto* dialog = qobject_cast<QColorDialog*>(modal);
            if (!dialog) return;
            opened = dialog->currentColor();
            native = !dialog->testOption(QColorDialog::DontUseNativeDialog);
            LeaveColourDialog(dialog, Leave(how));
        });
        w.MenuItem(MenuCommand::Color)->trigger();
        QVERIFY(watch.Seen());
        QCOMPARE(opened, shown);
        QVERIFY(!native);
        QCOMPARE(w.form().BackColour(), before);
        QCOMPARE(w.view()->Background(), shown);
        QCOMPARE(QString::fromStdString(StoredSetting("Color")), storedAfter);
        QVERIFY(win->messages.seen.empty());
    }

    void messageBoxesSpeakSwedish_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("defaultCaption");
        QTest::newRow("OK alone (Hjälp)") << int(Buttons::OK) << int(Icon::None)
                                          << int(DefaultButton::First)
                                          << QString::fromStdString(HelpText()) << "OK";
        QTest::newRow("Ja and Nej, exclamation, Nej by default")
            << int(Buttons::YesNo) << int(Icon::Exclamation) << int(DefaultButton::Second)
            << "Rensa?" << "Nej";
        QTest::newRow("Ja and Nej, Ja by default")
            << int(Buttons::YesNo) << int(Icon::None) << int(DefaultButton::First)
            << "Vill du starta ett nytt spel?" << "Ja";
    }

    void messageBoxesSpeakSwedish() {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, defaultButton);
        QFETCH(QString, text);
        QFETCH(QString, defaultCaption);
        MessageRequest request;
        request.text = text.toStdString();
        request.buttons = Buttons(buttons);
        request.icon = Icon(icon);
        request.defaultButton = DefaultButton(defaultButton);
        request.title = kAppTitle;
        QString defaultShown;
        std::optional<Answer> escaped;
        const QStringList left = EnglishLeftOn<QMessageBox>(
            [&] { escaped = ShowMessageBox(nullptr, request); },
            [&](QMessageBox& box) {
                const QStringList texts = TextsOn(&box);
                defaultShown = box.defaultButton()->text().remove(QLatin1Char('&'));
                QTest::keyClick(&box, Qt::Key_Escape);
                return texts;
            },
            {QString::fromUtf8(kAppTitle), QString::fromStdString(DisplayText(request.text))});
        QVERIFY2(left.isEmpty(), qPrintable(Listed(left)));
        // The Swedish pass ran last: its default button and what Escape answers.
        QCOMPARE(defaultShown, defaultCaption);
        QVERIFY(escaped == (request.buttons == Buttons::OK ? Answer::OK : Answer::No));
    }

    void statisticsTextMenuSpeaksSwedish() {
        auto win = OpenWindow();
        QVERIFY(win);
        KarveloWindow& w = *win->w;
        const QStringList left = EnglishLeftOn<StatisticsDialog>(
            [&] { w.MenuItem(MenuCommand::Statistik)->trigger(); },
            [](StatisticsDialog& dialog) {
                QStringList texts;
                const std::unique_ptr<QMenu> menu(dialog.Text1->createStandardContextMenu());
                AddMenu(texts, *menu);
                dialog.cmdClose->click();
                return texts;
            },
            {});
        QVERIFY2(left.isEmpty(), qPrintable(Listed(left)));
    }
};

KARVELO_UI_TEST_MAIN(DialogTextsTest)
#include "tst_dialog_texts.moc"
