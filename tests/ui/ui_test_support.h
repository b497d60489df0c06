#pragma once
// What the window tests share: a private settings store per test program, message
// boxes answered by the test, a deck of the test's choosing, and pointer input in
// twips sent to the table as real mouse events.
#include <QObject>
#include <QPoint>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "karvelo_window.h"
#include "test_decks.h"

namespace karvelo::test {

// Runs a Qt Test suite with XDG_CONFIG_HOME pointing at a fresh temporary folder, so
// the player's own store is never touched, and with the pacing switched off.
int RunSuite(QObject& suite, int argc, char** argv);

#define KARVELO_UI_TEST_MAIN(Suite)                          \
    int main(int argc, char** argv) {                        \
        Suite suite;                                         \
        return karvelo::test::RunSuite(suite, argc, argv);   \
    }

// Empties the settings and statistics keys and puts the engine back to a fresh run.
void FreshStart();

void StoreSetting(const std::string& name, const std::string& type, const std::string& text);
std::string StoredSetting(const std::string& name);
int StoredStat(int i);  // "Stat i" of "\Statistik", 0 when missing

// Message boxes the window showed, answered from a queue (the default button when
// the queue is empty).
struct Messages {
    std::vector<MessageRequest> seen;
    std::deque<Answer> answers;
    KarveloWindow::MessageAnswerer Answerer();
};

// A window as a player sees it: shown, its boxes answered by `messages`, its end of
// run recorded instead of ending the process.
struct Window {
    Messages messages;
    int terminations = 0;
    std::unique_ptr<KarveloWindow> w;
};
std::unique_ptr<Window> OpenWindow();

// Twips of the table to a pixel of the view.
QPoint Px(float x, float y);
// A point inside the visible part of card `code` (its top strip).
QPoint GrabPoint(const KarveloWindow& w, int code);
// A point well inside an element.
QPoint Inside(const KarveloWindow& w, ElementId id);

// Real pointer input on the table.
void Press(KarveloWindow& w, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void MoveTo(KarveloWindow& w, QPoint at, Qt::MouseButtons held = Qt::LeftButton);
void Release(KarveloWindow& w, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Hover(KarveloWindow& w, QPoint at);
void DragTo(KarveloWindow& w, QPoint from, QPoint to);
void DoubleClick(KarveloWindow& w, QPoint at);

// The element's twip rectangle (empty when absent).
TwipRect RectOf(const KarveloWindow& w, ElementId id);
inline ElementId Kort(int i) { return {ElementKind::Kort, i}; }

}  // namespace karvelo::test
