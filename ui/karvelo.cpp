#include "karvelo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

#include "funktioner.h"
#include "keys.h"
#include "message_box.h"
#include "pictures.h"
#include "regapi.h"
#include "settings.h"
#include "statistics.h"
#include "statistics_bridge.h"
#include "statistics_keys.h"
#include "window_icon.h"
#include "window_layout.h"

namespace karvelo {
namespace {

constexpr int kLastCardIndex = 67;

ElementId Card(int index) { return {ElementKind::Kort, index}; }

ElementId ToElementId(funktioner::Element e) {
    switch (e.kind) {
    case funktioner::Kind::Hand: return {ElementKind::Hand, e.index};
    case funktioner::Kind::Hog: return {ElementKind::Hog, e.index};
    case funktioner::Kind::Kort: break;
    }
    return Card(e.index);
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

int Pixels(int twips) { return RoundHalfEven(twips / static_cast<double>(kTwipsPerPixel)); }

}  // namespace

Karvelo::Karvelo(QWidget* parent, MessageAnswerer answerer)
    : QMainWindow(parent), answerer_(std::move(answerer)) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(WindowIcon());
    // A fixed single border: a minimize button but no maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    pacing_ = qEnvironmentVariable("KARVELO_NO_PACING") != QStringLiteral("1");
    terminator_ = [] { QCoreApplication::exit(0); };

    view_ = new TableView(scene_, *this, this);
    view_->setFixedSize(Pixels(layout::kClientWidth), Pixels(layout::kClientHeight));
    setCentralWidget(view_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    BuildScene();
    BuildMenus();
    PlaceOnScreen();

    funktioner::SetTable(this);
    SetHost(this);
    Form_Load();
}

Karvelo::~Karvelo() {
    if (funktioner::HasTable() && &funktioner::table() == this) funktioner::SetTable(nullptr);
    if (&host() == this) SetHost(nullptr);
    scene_.SetDamageListener(nullptr);
}

void Karvelo::BuildScene() {
    namespace L = layout;
    // Back to front: each element added goes in front of those before it.
    for (int i = 0; i < 4; ++i)
        scene_.Add({{ElementKind::Hand, i}, L::Cell(i), 0, "", "", true, true, true});
    scene_.Add({Card(0), L::kTemplateCard, 0, "", "", false, false, true});
    for (int p = 0; p < 4; ++p)
        scene_.Add({{ElementKind::Hog, p}, L::Foundation(p), 0, "", "", true, true, true});
    for (int p = 0; p < 4; ++p)
        scene_.Add({{ElementKind::LblFarger, p}, L::kSuitLabels[p], 0, "", L::kSuitNames[p],
                    false, true, true});
    for (int i = 0; i < 4; ++i)
        scene_.Add({{ElementKind::LblHand, i}, L::kHandLabels[i], 0, "", L::kHandLetters[i],
                    false, true, true});
    for (ElementKind arrow : {ElementKind::PilV, ElementKind::PilH, ElementKind::PilN})
        scene_.Add({{arrow, 0}, L::kArrow, 0, "", "", false, false, true});
    scene_.Add({{ElementKind::Splash, 0}, L::kSplash, 0, "", "", false, true, true});
}

void Karvelo::PlaceOnScreen() {
    // The table's top-left corner (below the menu bar) at its fixed place.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const int menuHeight = menuBar()->sizeHint().height();
    const QPoint at = origin + QPoint(Pixels(layout::kScreenLeft),
                                      Pixels(layout::kScreenTop) - menuHeight);
    adjustSize();
    setGeometry(QRect(at, size()));
}

// ---- funktioner::Table

void Karvelo::CreateCard(int index) {
    if (index < 1 || index > kLastCardIndex || scene_.Contains(Card(index))) return;
    const SceneElement* model = scene_.Find(Card(0));
    SceneElement e = model ? *model : SceneElement{};
    e.id = Card(index);
    e.visible = false;
    scene_.Add(e);
}

void Karvelo::DestroyCard(int index) {
    if (index < 1 || index > kLastCardIndex) return;  // the template stays
    if (drag_ && drag_->card == index) CancelDrag();
    scene_.Remove(Card(index));
}

bool Karvelo::CardExists(int index) const { return scene_.Contains(Card(index)); }

void Karvelo::SetPicture(int index, int resource) {
    const SceneElement* e = scene_.Find(Card(index));
    if (!e) return;
    scene_.SetPicture(Card(index), resource);
    if (resource == 0) return;  // an empty picture keeps the element's size
    const QPixmap picture = LoadPicture(resource, 1.0);
    if (picture.isNull()) return;
    const QSizeF size = picture.deviceIndependentSize();
    scene_.SetRect(Card(index), {e->rect.left, e->rect.top,
                                 static_cast<float>(size.width()) * kTwipsPerPixel,
                                 static_cast<float>(size.height()) * kTwipsPerPixel});
}

void Karvelo::SetTag(int index, const std::string& tag) { scene_.SetTag(Card(index), tag); }

std::string Karvelo::Tag(int index) const {
    const SceneElement* e = scene_.Find(Card(index));
    return e ? e->tag : std::string();
}

void Karvelo::SetSize(int index, float width, float height) {
    const SceneElement* e = scene_.Find(Card(index));
    if (!e) return;
    scene_.SetRect(Card(index), {e->rect.left, e->rect.top, width, height});
}

void Karvelo::SetBorder(int index, bool singleLine) { scene_.SetBorder(Card(index), singleLine); }

void Karvelo::SetEnabled(int index, bool enabled) { scene_.SetEnabled(Card(index), enabled); }

bool Karvelo::Enabled(int index) const {
    const SceneElement* e = scene_.Find(Card(index));
    return e && e->enabled;
}

void Karvelo::SetVisible(int index, bool visible) { scene_.SetVisible(Card(index), visible); }

bool Karvelo::Visible(int index) const {
    const SceneElement* e = scene_.Find(Card(index));
    return e && e->visible;
}

void Karvelo::BringToFront(int index) { scene_.BringToFront(Card(index)); }
void Karvelo::SendToBack(int index) { scene_.SendToBack(Card(index)); }

TwipRect Karvelo::RectOf(funktioner::Element e) const {
    const SceneElement* s = scene_.Find(ToElementId(e));
    return s ? s->rect : TwipRect{};
}
float Karvelo::Left(funktioner::Element e) const { return RectOf(e).left; }
float Karvelo::Top(funktioner::Element e) const { return RectOf(e).top; }
float Karvelo::Width(funktioner::Element e) const { return RectOf(e).width; }
float Karvelo::Height(funktioner::Element e) const { return RectOf(e).height; }

void Karvelo::Move(int index, float left, float top) { scene_.Move(Card(index), left, top); }

// ---- Host

Answer Karvelo::MsgBox(const std::string& text, Buttons buttons, Icon icon,
                       DefaultButton defaultButton, const std::string& title) {
    const MessageRequest request{text, buttons, icon, defaultButton, title};
    if (answerer_) return answerer_(request);
    return ShowMessageBox(this, request);
}

void Karvelo::DoEvents() {
    const bool changed = view_->HasUnshownChanges() || frameDue_;
    frameDue_ = false;
    if (!pacing_ || !changed || !view_->isVisible()) {
        QCoreApplication::processEvents();
        return;
    }
    // One displayed frame: paint what changed, then wait for the next frame boundary
    // while handling input.
    if (const QScreen* s = screen()) pacer_.SetRefreshRate(s->refreshRate());
    view_->ShowChangesNow();
    pacer_.WaitForNextFrame();
}

// ---- Start and end of a run

void Karvelo::Form_Load() {
    funktioner::SeedRandomFromClock();
    scene_.SetVisible({ElementKind::PilN, 0}, true);
    funktioner::AutoPlayActive = false;
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, SettingsKey());
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, std::string(RegAPI::kAppKey) + "\\Statistik");
    DoEvents();

    const SpeedSetting speed = SpeedFromStored(
        Trimmed(RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), "Speed")));
    funktioner::AnimationSpeed = speed.steps;
    TickSpeedItem(speed.item);
    DoEvents();

    SetBackColour(ColourFromStored(
        RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), "Color")));
}

void Karvelo::Form_Terminate() {
    if (terminating_ || terminated_) return;
    terminating_ = true;
    funktioner::GateHold closing(funktioner::Hold::Deal);  // no move or deal while it ends
    if (drag_) CancelDrag();
    if (funktioner::GameInProgress) RecordGameResult(false);
    DoEvents();
    funktioner::Board.Clear();
    funktioner::Deck.Clear();
    funktioner::GameInProgress = false;
    StatCounters.Clear();
    DoEvents();
    hide();
    terminated_ = true;
    terminating_ = false;
    if (terminator_) terminator_();
}

bool Karvelo::event(QEvent* event) {
    // When a message box or dialog closes, the keys come back to the table, also
    // where no window manager hands the focus back.
    if (event->type() == QEvent::WindowUnblocked && isVisible() && !terminated_)
        activateWindow();
    return QMainWindow::event(event);
}

void Karvelo::closeEvent(QCloseEvent* event) {
    event->ignore();  // Form_Terminate hides the window itself
    if (terminating_ || terminated_) return;
    RunHandler([this] { mnuAvsluta_Click(); });  // closing the window is "Avsluta"
}

// ---- Keys

void Karvelo::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(VirtualKeyOf(event->key(), event->modifiers()),
                 ShiftStateOf(event->modifiers()));
    QMainWindow::keyPressEvent(event);
}

void Karvelo::Form_KeyDown(int KeyCode, int Shift) {
    if (StatisticsKeyFor(KeyCode, Shift) == KeyAction::None) return;
    RunStatistics([this, KeyCode, Shift] { StatisticsKeyDown(this, KeyCode, Shift); });
}

void Karvelo::RunStatistics(std::function<void()> command) {
    switch (funktioner::Admit(funktioner::PlayerInput::Statistics)) {
    case funktioner::Verdict::Run:
        RunHandler(command);
        break;
    case funktioner::Verdict::Defer:
        statisticsWaiting_ = std::move(command);
        break;
    case funktioner::Verdict::Ignore:
        break;
    }
}

// ---- Handlers that may reach the engine

void Karvelo::RunHandler(const std::function<void()>& handler) {
    ++handlerDepth_;
    handler();
    --handlerDepth_;
    RunWaitingCommands();
}

void Karvelo::RunWaitingCommands() {
    if (handlerDepth_ > 0 || terminated_ || funktioner::MoveInProgress()) return;
    if (quitWaiting_) {
        quitWaiting_ = false;
        newGameWaiting_ = false;
        doubleClickWaiting_.reset();
        statisticsWaiting_ = nullptr;
        mnuAvsluta_Click();
        return;
    }
    if (newGameWaiting_) {
        newGameWaiting_ = false;
        doubleClickWaiting_.reset();  // its card is gone with the old deal
        // A deal that came in between (Yes to the win question) already gave the
        // player the new game asked for; dealing again would count it as lost.
        if (funktioner::DealNumber() == newGameWaitingSince_) mnuNyttSpel_Click();
    }
    if (doubleClickWaiting_) {
        const int16_t index = *doubleClickWaiting_;
        doubleClickWaiting_.reset();
        imgKort_DblClick(index);
    }
    if (statisticsWaiting_ && !funktioner::MoveInProgress()) {
        const std::function<void()> command = std::move(statisticsWaiting_);
        statisticsWaiting_ = nullptr;
        RunHandler(command);
    }
}

}  // namespace karvelo
