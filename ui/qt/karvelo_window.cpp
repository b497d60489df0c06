#include "karvelo_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QWindow>

#include "keys.h"
#include "message_box.h"
#include "native_background.h"
#include "statistics_dialog.h"
#include "table_accessible.h"
#include "twips.h"
#include "window_icon.h"
#include "window_layout.h"

namespace karvelo {
namespace {

int Px(int twips) { return PixelsFromTwips(twips, kStandardDpi); }

QColor ColourOfValue(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t ValueOfColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

std::optional<int32_t> AskForColour(QWidget* parent, int32_t current) {
    // The dialog opens on the table's colour, so OK without a choice keeps it. It is
    // always Qt's own dialog with its custom colours shown: a desktop's native one
    // would speak the desktop's language instead of the program's Swedish.
    const QColor chosen = QColorDialog::getColor(ColourOfValue(current), parent,
                                                 QStringLiteral("Färg"),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return std::nullopt;
    return ValueOfColour(chosen);
}

}  // namespace

KarveloWindow::KarveloWindow(QWidget* parent, MessageAnswerer answerer)
    : QMainWindow(parent), form_(*this), answerer_(std::move(answerer)) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(WindowIcon());
    // A fixed single border: a minimize button but no maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    SetPacing(qEnvironmentVariable("KARVELO_NO_PACING") != QStringLiteral("1"));
    terminator_ = [] { QCoreApplication::exit(0); };

    view_ = new TableView(form_, this);
    view_->setFixedSize(Px(layout::kClientWidth), Px(layout::kClientHeight));
    setCentralWidget(view_);
    TableAccessibility::Attach(*view_, form_);  // made only when a screen reader asks
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    BuildMenus();
    PlaceOnScreen();
    // Logging off or shutting down: the session manager asks for the program's data,
    // which is the game in progress. Should the application quit by another road, its
    // last word is the same; after the window's own shut-down neither does anything.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { SessionEnding(); });
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, [this] { SessionEnding(); });
    form_.Form_Load();
}

KarveloWindow::~KarveloWindow() { form_.scene().SetDamageListener(nullptr); }

void KarveloWindow::BuildMenus() {
    // The tree lists each entry after the one it belongs under.
    QMenu* menus[4] = {};
    for (const MenuEntry& e : MenuTree()) {
        const QString caption = QString::fromUtf8(e.caption);
        if (e.command == MenuCommand::None) {
            menus[e.level] = e.level == 1 ? menuBar()->addMenu(caption)
                                          : menus[e.level - 1]->addMenu(caption);
            continue;
        }
        QAction* a = menus[e.level - 1]->addAction(caption);
        if (e.functionKey > 0) a->setShortcut(QKeySequence(Qt::Key_F1 + (e.functionKey - 1)));
        if (e.command == MenuCommand::Hastighet) a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, command = e.command, index = e.index] {
            form_.MenuChosen(command, index);
            // A checkable item ticks itself when chosen; the form says which one is.
            SpeedTickChanged(form_.TickedSpeedItem());
        });
        items_.push_back({a, e.command, e.index});
    }
}

QAction* KarveloWindow::MenuItem(MenuCommand command, int index) const {
    for (const Item& item : items_)
        if (item.command == command && item.index == index) return item.action;
    return nullptr;
}

void KarveloWindow::PlaceOnScreen() {
    // The table's top-left corner (below the menu bar) at its fixed place.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const int menuHeight = menuBar()->sizeHint().height();
    const QPoint at = origin + QPoint(Px(layout::kScreenLeft), Px(layout::kScreenTop) - menuHeight);
    adjustSize();
    setGeometry(QRect(at, size()));
}

// ---- Modal windows

Answer KarveloWindow::ShowMessage(const MessageRequest& request) {
    if (answerer_) return answerer_(request);
    return ShowMessageBox(this, request);
}

std::optional<int32_t> KarveloWindow::ChooseColour(int32_t current) {
    return chooser_ ? chooser_(current) : AskForColour(this, current);
}

void KarveloWindow::ShowStatistics(frmStatistik& window) {
    StatisticsDialog dialog(window, this);
    dialog.exec();
    window.cmdClose_Click();  // also when the close box ended it
}

NumberFormat KarveloWindow::UserNumberFormat() const {
    const QLocale locale = QLocale::system();
    NumberFormat format;
    format.decimalPoint = locale.decimalPoint().toStdString();
    format.groupSeparator = locale.numberOptions() & QLocale::OmitGroupSeparator
                                ? std::string()
                                : locale.groupSeparator().toStdString();
    return format;
}

// ---- Events

// Each step of a flight and of the growth is paced to one displayed frame (see
// WindowSystem::DoEvents): the window tells the form's frame clock about its screen and
// whether it can be seen, and the clock says whether the step waits; if so, the step is
// painted and the window handles input until then.
void KarveloWindow::DoEvents() {
    const bool changed = view_->HasUnshownChanges() || frameDue_;
    frameDue_ = false;
    FrameClock& clock = form_.frameClock();
    if (const QScreen* s = screen()) clock.SetRefreshRate(s->refreshRate());
    clock.SetVisible(Seen());
    const std::optional<FrameClock::Time> due = clock.StepDone(changed, pacer_.Now());
    if (!due) {
        QCoreApplication::processEvents();
        return;
    }
    view_->ShowChangesNow();
    pacer_.WaitUntil(*due);
}

bool KarveloWindow::Seen() const {
    const QWindow* handle = windowHandle();
    return view_->isVisible() && !isMinimized() && (!handle || handle->isExposed());
}

void KarveloWindow::BackColourChanged(int32_t colour) {
    view_->SetBackground(ColourOfValue(colour));
    SetNativeBackground(*this, ColourOfValue(colour));
}

void KarveloWindow::SpeedTickChanged(int item) {
    for (const Item& i : items_)
        if (i.command == MenuCommand::Hastighet) i.action->setChecked(i.index == item);
}

int KarveloWindow::OuterHeightTwips() const {
    return static_cast<int>(TwipsFromPixels(frameGeometry().height(), kStandardDpi));
}

void KarveloWindow::SetOuterHeightTwips(int twips) {
    const int frame = frameGeometry().height() - height();
    const int menu = height() - view_->height();
    const int outer = Px(twips);
    const int table = std::max(1, outer - frame - menu);
    if (table == view_->height()) return;
    view_->setFixedHeight(table);
    frameDue_ = true;
}

void KarveloWindow::Unload() {
    hide();
    if (terminator_) terminator_();
}

// ---- Qt's events

bool KarveloWindow::event(QEvent* event) {
    // When a message box or dialog closes, the keys come back to the table, also
    // where no window manager hands the focus back.
    if (event->type() == QEvent::WindowUnblocked && isVisible() && !form_.Terminated())
        activateWindow();
    // A key held when the window loses the keys is never released here.
    if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::WindowBlocked)
        form_.KeysLost();
    return QMainWindow::event(event);
}

void KarveloWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the shut-down hides the window itself
    form_.CloseRequested();
}

void KarveloWindow::keyPressEvent(QKeyEvent* event) {
    form_.KeyPressed(VirtualKeyOf(event->key(), event->modifiers()),
                     ShiftStateOf(event->modifiers()), event->isAutoRepeat());
    QMainWindow::keyPressEvent(event);
}

void KarveloWindow::keyReleaseEvent(QKeyEvent* event) {
    // A held key's repeats come as releases and presses; only the last release counts.
    if (!event->isAutoRepeat())
        form_.KeyReleased(VirtualKeyOf(event->key(), event->modifiers()),
                          ShiftStateOf(event->modifiers()));
    QMainWindow::keyReleaseEvent(event);
}

}  // namespace karvelo
