#include "ui_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <random>

#include "funktioner.h"
#include "regapi.h"
#include "settings.h"
#include "store_session.h"

namespace karvelo::test {

namespace {
std::optional<StoreSession> storeSession;
QtMessageHandler previousHandler = nullptr;
// The offscreen platform says on every fixed-size change that it cannot pass size
// hints on, and on every raise and pointer grab that it cannot do those; that says
// nothing about the window.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (previousHandler) previousHandler(type, context, text);
}
}  // namespace

int RunSuite(QObject& suite, int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("KARVELO_NO_PACING", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return QTest::qExec(&suite, argc, argv);
}

void FreshStart() {
    // Qt Test installs its own handler when the suite starts; ours goes in front.
    static const bool quiet = [] {
        previousHandler = qInstallMessageHandler(QuietHandler);
        return true;
    }();
    (void)quiet;
    // A new sitting of the store: its counters, failures and connection start afresh.
    storeSession.reset();
    storeSession.emplace();
    // No window yet, so no host: the store's complaints about missing keys go nowhere.
    const std::string app = RegAPI::kAppKey;
    for (const char* sub : {"\\Installningar", "\\Statistik", "\\StatistikTotal"})
        RegAPI::DeleteRegKey(RegAPI::HKEY_CURRENT_USER, app + sub);
    funktioner::ResetEngine();
}

void StoreSetting(const std::string& name, const std::string& type, const std::string& text) {
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, SettingsKey());
    RegAPI::SetNewValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), type, name, text);
}

std::string StoredSetting(const std::string& name) {
    return RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), name);
}

int StoredStat(int i) {
    const std::string key = std::string(RegAPI::kAppKey) + "\\Statistik";
    return RegAPI::TextToInt32(
        RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, key, "Stat " + std::to_string(i)));
}

KarveloWindow::MessageAnswerer Messages::Answerer() {
    return [this](const MessageRequest& r) {
        seen.push_back(r);
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        if (r.buttons == Buttons::OK) return Answer::OK;
        return r.defaultButton == DefaultButton::First ? Answer::Yes : Answer::No;
    };
}

std::unique_ptr<Window> OpenWindow() {
    auto win = std::make_unique<Window>();
    win->w = std::make_unique<KarveloWindow>(nullptr, win->messages.Answerer());
    Window* raw = win.get();
    win->w->SetTerminator([raw] { ++raw->terminations; });
    win->w->show();
    win->w->activateWindow();
    if (!QTest::qWaitForWindowActive(win->w.get())) return nullptr;
    return win;
}

QPoint Px(float x, float y) {
    return QPoint(static_cast<int>(FractionalPixels(x, kStandardDpi)),
                  static_cast<int>(FractionalPixels(y, kStandardDpi)));
}

TwipRect RectOf(const KarveloWindow& w, ElementId id) {
    const SceneElement* e = w.form().scene().Find(id);
    return e ? e->rect : TwipRect{};
}

QPoint GrabPoint(const KarveloWindow& w, int code) {
    const TwipRect r = RectOf(w, Kort(code));
    return Px(r.left + r.width / 2, r.top + 150);
}

QPoint Inside(const KarveloWindow& w, ElementId id) {
    const TwipRect r = RectOf(w, id);
    return Px(r.left + r.width / 2, r.top + r.height / 2);
}

namespace {
void Send(KarveloWindow& w, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QWidget* view = w.view();
    QMouseEvent e(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(view, &e);
}
}  // namespace

void Press(KarveloWindow& w, QPoint at, Qt::MouseButton button) {
    QTest::mousePress(w.view(), button, Qt::NoModifier, at);
}

void MoveTo(KarveloWindow& w, QPoint at, Qt::MouseButtons held) {
    Send(w, QEvent::MouseMove, at, Qt::NoButton, held);
}

void Release(KarveloWindow& w, QPoint at, Qt::MouseButton button) {
    QTest::mouseRelease(w.view(), button, Qt::NoModifier, at);
}

void Hover(KarveloWindow& w, QPoint at) { Send(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }

void DragTo(KarveloWindow& w, QPoint from, QPoint to) {
    Press(w, from);
    MoveTo(w, (from + to) / 2);
    MoveTo(w, to);
    Release(w, to);
}

void DoubleClick(KarveloWindow& w, QPoint at) {
    QTest::mousePress(w.view(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(w.view(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w.view(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(w.view(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace karvelo::test
