#pragma once
// The soak: the real main window, offscreen and unpaced, driven by a long stream of
// random input (presses, drags that end anywhere, double-clicks, menu commands, keys,
// close attempts), some of it arriving in the middle of flights and of the window's
// growth. After every event the table is checked; the stored statistics are checked
// against the games seen won and abandoned. A close ends a run of the program; the
// soak then starts the next one, as a player would.
#include <QObject>
#include <QPoint>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "decks.h"
#include "karvelo_window.h"
#include "moves.h"
#include "stat_model.h"
#include "surroundings.h"
#include "table.h"
#include "table_check.h"

class QTimer;

namespace karvelo::soak {

struct Options {
    uint64_t seed = 1;
    long events = 5000;
};

struct Summary {
    long events = 0;
    long injected = 0;     // events sent while a move, deal or growth was going on
    long deals = 0;
    long restarts = 0;     // runs of the program ended by a close or "Avsluta"
    long plannedMoves = 0;
    long legalMoves = 0;
    long refusedRuns = 0;  // the "too long" message
    long modalsClosed = 0;
    long clearings = 0;    // statistics cleared (current or total) on a Yes
    long easyDecks = 0;    // decks laid out nearly in order
    long solves = 0;
    int wins = 0;
    int losses = 0;
    std::string failure;   // "" when every check held
};

// Forwards the engine's element operations to the window, watching the deals.
class Soak final : public QObject, public funktioner::Table {
public:
    explicit Soak(const Options& options);
    ~Soak() override;
    Summary Run();

    // ---- funktioner::Table, forwarded to the window.
    void CreateCard(int index) override;
    void DestroyCard(int index) override { w().form().DestroyCard(index); }
    bool CardExists(int index) const override { return w().form().CardExists(index); }
    void SetPicture(int index, int resource) override { w().form().SetPicture(index, resource); }
    void SetTag(int index, const std::string& tag) override { w().form().SetTag(index, tag); }
    std::string Tag(int index) const override { return w().form().Tag(index); }
    void SetSize(int index, float wd, float ht) override { w().form().SetSize(index, wd, ht); }
    void SetBorder(int index, bool b) override { w().form().SetBorder(index, b); }
    void SetEnabled(int index, bool e) override { w().form().SetEnabled(index, e); }
    bool Enabled(int index) const override { return w().form().Enabled(index); }
    void SetVisible(int index, bool v) override { w().form().SetVisible(index, v); }
    bool Visible(int index) const override { return w().form().Visible(index); }
    void BringToFront(int index) override { w().form().BringToFront(index); }
    void SendToBack(int index) override { w().form().SendToBack(index); }
    float Left(funktioner::Element e) const override { return w().form().Left(e); }
    float Top(funktioner::Element e) const override { return w().form().Top(e); }
    float Width(funktioner::Element e) const override { return w().form().Width(e); }
    float Height(funktioner::Element e) const override { return w().form().Height(e); }
    void Move(int index, float left, float top) override { w().form().Move(index, left, top); }

private:
    KarveloWindow& w() const { return *window_; }

    // ---- Runs of the program.
    void StartRun();
    void EndRun();
    karvelo::Answer AnswerMessage(const MessageRequest& request);
    void Terminated();

    // ---- Top-level input (soak_input.cpp).
    void Step();
    void InjectWhileBusy();  // from the 0 ms timer, at the window's event processing
    void CloseModal();       // from the modal timer
    void RandomDrag(bool endAnywhere);
    void LegalMove();
    void PlannedMove();
    void CarryOut(const Play& move);
    void Click();
    void DoubleClick(std::optional<int> card);
    void RightPress();
    void RightRelease();
    void Hover();
    void MenuCommand();
    void KeyCombination();
    void CloseAttempt();

    // ---- Primitive events; each counts as one event and is checked after it.
    void Press(QPoint at, Qt::MouseButton button);
    void MoveTo(QPoint at);
    void Release(QPoint at, Qt::MouseButton button);
    void SendDoubleClick(QPoint at);
    void Key(int key, Qt::KeyboardModifiers modifiers);
    void Trigger(QAction* action, const char* name);
    void Close();
    void Send(const std::string& what, const std::function<void()>& send);
    void Event(const std::string& what);  // log and count

    // ---- Points on the table, in the view's pixels.
    QPoint RandomPoint();
    QPoint CardPoint(int index);   // somewhere on the visible part of a picture
    QPoint TargetPoint(const Play& move);
    std::optional<int> RandomCard();
    static TwipRect RectOf(const KarveloWindow& window, ElementId id);

    // ---- Checks.
    void CheckNow();       // after a top-level event
    void CheckInFlight();  // at the window's event processing
    void Fail(const std::string& what);

    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    Options options_;
    std::mt19937_64 rng_;
    DeckSource decks_;
    std::unique_ptr<KarveloWindow> window_;
    // The engine reaches the window's table through the soak while a run lasts.
    std::optional<funktioner::Surroundings> between_;
    QTimer* injector_ = nullptr;
    QTimer* modalCloser_ = nullptr;
    Summary summary_;
    StatModel model_;
    Planner planner_;

    bool gameRunning_ = false;   // dealt and neither won nor abandoned
    bool terminated_ = false;    // the window ended its run
    bool splashGone_ = false;    // the title picture has been hidden in this run
    bool clearingAnswered_ = false;
    int injectDepth_ = 0;
    int topLevel_ = 0;           // > 0 while a top-level event is being sent
    Quiet held_;
    QPoint leftAt_;
    std::deque<std::string> trail_;  // the last events, for a failure report
};

}  // namespace karvelo::soak
