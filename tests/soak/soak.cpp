#include "soak.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "funktioner.h"
#include "layout.h"
#include "statistics.h"
#include "texts.h"

namespace karvelo::soak {
namespace {

constexpr size_t kTrailLength = 40;
constexpr int kSolverBudget = 3000;

const std::string kWinQuestionStart = "WOW!!  Du klarade det f\xC3\xB6r ";
const std::string kWinQuestionEnd =
    " g\xC3\xA5ngen i rad denna omg\xC3\xA5ngen\r\n\r\nVill du starta ett nytt spel?";
const std::string kTooLongRun = "Det g\xC3\xA5r inte att g\xC3\xB6ra denna f\xC3\xB6rflyttning";
const std::string kClearTotalQuestion = "Rensa?";
const std::string kClearCurrentQuestion =
    "\xC3\x84r du s\xC3\xA4ker p\xC3\xA5 att du vill rensa statistiken?";
const std::string kNoKeyToDelete = "Could not open key_DeleteRegKey";

}  // namespace

Soak::Soak(const Options& options)
    : options_(options),
      rng_(options.seed),
      decks_(options.seed * 2654435761u + 1),
      planner_(kSolverBudget) {
    injector_ = new QTimer(this);
    injector_->setInterval(0);
    connect(injector_, &QTimer::timeout, this, [this] { InjectWhileBusy(); });
    modalCloser_ = new QTimer(this);
    modalCloser_->setInterval(0);  // at the first pass of the modal loop: replays alike
    connect(modalCloser_, &QTimer::timeout, this, [this] { CloseModal(); });
}

Soak::~Soak() {
    between_.reset();
    window_.reset();
}

Summary Soak::Run() {
    modalCloser_->start();
    StartRun();
    while (summary_.events < options_.events && summary_.failure.empty()) {
        if (terminated_) {
            EndRun();
            StartRun();
        }
        Step();
    }
    // The player closes the program: a game still running counts as lost.
    if (summary_.failure.empty() && !terminated_) Close();
    if (summary_.failure.empty() && !terminated_) Fail("closing the window did not end the run");
    modalCloser_->stop();
    if (summary_.failure.empty()) {
        const std::string diff = model_.CompareWithStore();
        if (!diff.empty()) Fail("at the end the stored statistics differ:" + diff);
    }
    EndRun();
    summary_.wins = model_.wins();
    summary_.losses = model_.losses();
    summary_.easyDecks = decks_.easyDecks();
    summary_.solves = planner_.solves();
    return summary_;
}

// ---- Runs of the program

void Soak::StartRun() {
    terminated_ = false;
    splashGone_ = false;
    held_ = {};
    window_ = std::make_unique<KarveloWindow>(
        nullptr, [this](const MessageRequest& r) { return AnswerMessage(r); });
    window_->SetTerminator([this] { Terminated(); });
    window_->SetColourChooser([this](int32_t) -> std::optional<int32_t> {
        if (Chance(0.3)) return std::nullopt;  // cancelled
        const int red = Pick(256);
        const int green = Pick(256);
        const int blue = Pick(256);
        return red | green << 8 | blue << 16;
    });
    // The engine reaches the window through the soak, which counts the deals.
    between_.emplace(funktioner::Attachments{.table = this});
    funktioner::SetRandomSource(decks_.Source());
    model_.NewRun();
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get())) Fail("the window never became active");
    CheckNow();
}

void Soak::EndRun() {
    between_.reset();
    window_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ++summary_.restarts;
}

void Soak::Terminated() {
    // The run ends here; a game still running was recorded as lost.
    if (gameRunning_) model_.Loss();
    gameRunning_ = false;
    terminated_ = true;
    trail_.push_back("  (the run ended; " + std::to_string(model_.wins()) + " won, " +
                     std::to_string(model_.losses()) + " abandoned so far)");
}

void Soak::CreateCard(int index) {
    if (index == funktioner::layout::BaseIndex(1)) {
        // A deal. A game still running was abandoned: recorded as lost first.
        if (gameRunning_) model_.Loss();
        gameRunning_ = true;
        ++summary_.deals;
        planner_.NewDeal();
        trail_.push_back("  (a deal; " + std::to_string(model_.wins()) + " won, " +
                         std::to_string(model_.losses()) + " abandoned so far)");
    }
    w().form().CreateCard(index);
}

Answer Soak::AnswerMessage(const MessageRequest& r) {
    trail_.push_back("  message: " + r.text.substr(0, 60));
    if (r.text.starts_with(kWinQuestionStart)) {
        model_.Win();
        gameRunning_ = false;
        const std::string expected =
            kWinQuestionStart + std::to_string(model_.SeriesWinRun()) + kWinQuestionEnd;
        if (r.text != expected) Fail("the win question reads \"" + r.text + "\"");
        if (r.buttons != Buttons::YesNo || r.title != kAppTitle) Fail("the win question's box is wrong");
        return Chance(0.7) ? Answer::Yes : Answer::No;
    }
    if (r.text == kTooLongRun) {
        ++summary_.refusedRuns;
        if (r.title != "Wrong move" || r.icon != Icon::Exclamation) Fail("the refusal's box is wrong");
        return Answer::OK;
    }
    if (r.text == HelpText() || r.text == AboutText()) return Answer::OK;
    if (r.text == kClearTotalQuestion || r.text == kClearCurrentQuestion) {
        if (r.buttons != Buttons::YesNo || r.defaultButton != DefaultButton::Second)
            Fail("a clearing question does not default to No");
        if (!Chance(0.3)) return Answer::No;
        clearingAnswered_ = true;
        ++summary_.clearings;
        if (r.text == kClearTotalQuestion) {
            model_.ClearTotal();
        } else {
            model_.ClearCurrent();
        }
        return Answer::Yes;
    }
    // Clearing what is already gone says so; nothing else may complain.
    if (r.text == kNoKeyToDelete && clearingAnswered_) return Answer::OK;
    Fail("unexpected message \"" + r.text + "\"");
    return r.buttons == Buttons::OK ? Answer::OK : Answer::No;
}

// ---- Checks

void Soak::Event(const std::string& what) {
    ++summary_.events;
    if (injectDepth_ > 0) ++summary_.injected;
    trail_.push_back((injectDepth_ > 0 ? "  during a move: " : "") + what);
    while (trail_.size() > kTrailLength) trail_.pop_front();
}

void Soak::CheckInFlight() {
    if (!window_ || terminated_ || !summary_.failure.empty()) return;
    const std::string e = CheckBoard(w(), false);
    if (!e.empty()) Fail("between two steps of a move: " + e);
}

void Soak::CheckNow() {
    if (!window_ || terminated_ || !summary_.failure.empty()) return;
    std::string e = CheckBoard(w(), true);
    if (e.empty()) e = CheckPictures(w(), held_);
    if (!e.empty()) return Fail(e);
    const SceneElement* splash = w().form().scene().Find({ElementKind::Splash, 0});
    if (!splash) return Fail("the title picture is gone");
    if (splash->visible && splashGone_) return Fail("the title picture came back");
    if (!splash->visible) splashGone_ = true;
    if (splash->visible && funktioner::GameInProgress) return Fail("a game runs under the title picture");
    const std::string diff = model_.CompareWithStore();
    if (!diff.empty()) Fail("the stored statistics differ from the games seen:" + diff);
}

void Soak::Fail(const std::string& what) {
    if (!summary_.failure.empty()) return;
    std::string report = "after event " + std::to_string(summary_.events) + " (seed " +
                         std::to_string(options_.seed) + "): " + what + "\nlast events:\n";
    for (const auto& t : trail_) report += "  " + t + "\n";
    summary_.failure = report;
    injector_->stop();
}

}  // namespace karvelo::soak
