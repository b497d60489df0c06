// The card flight in the real window: the cost of one step (moving the card and
// painting what changed, one pass of the event loop), and with pacing on, how many
// frames are painted per step.
//   bench_flight step [--double]     one step at normal (or double) density
//   bench_flight pacing              painted frames per step, paced to the screen
#include <QAction>
#include <QApplication>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "flight_route.h"
#include "funktioner.h"
#include "karvelo_window.h"

namespace {

using funktioner::Board;

constexpr double kFrameMs = 1000.0 / 60.0;

bool WaitUntilExposed(QWidget& w) {
    const long long deadline = bench::MonotonicNs() + 10'000'000'000LL;
    while (bench::MonotonicNs() < deadline) {
        QCoreApplication::processEvents();
        if (w.windowHandle() && w.windowHandle()->isExposed()) return true;
    }
    return false;
}


}  // namespace

int main(int argc, char** argv) {
    const bool pacing = argc > 1 && std::strcmp(argv[1], "pacing") == 0;
    const bool dense = argc > 2 && std::strcmp(argv[2], "--double") == 0;
    if (dense) qputenv("QT_SCALE_FACTOR", "2");
    qputenv("XDG_CONFIG_HOME", bench::FreshFolder("flight").c_str());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    karvelo::KarveloWindow w(nullptr, [](const karvelo::MessageRequest&) { return karvelo::Answer::No; });
    w.SetTerminator([] {});
    w.show();
    if (!WaitUntilExposed(w)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    w.SetPacing(false);  // the window's growth need not take its hundred frames here
    w.MenuItem(karvelo::MenuCommand::NyttSpel)->trigger();
    const int card = Board(1, Board(1, 0));
    if (card == 0) return 1;

    if (!pacing) {
        for (int i = 0; i < 4; ++i) bench::Fly(card, i);  // pictures loaded, caches warm
        std::vector<double> perStepMs;
        for (int i = 0; i < 60; ++i) {
            const long long t0 = bench::MonotonicNs();
            bench::Fly(card, i);
            perStepMs.push_back(static_cast<double>(bench::MonotonicNs() - t0) / 1e6 / (bench::kFlightSteps + 1));
        }
        const double ms = bench::Median(perStepMs);
        const double share = ms / kFrameMs * 100.0;
        const std::string density = dense ? "double" : "normal";
        bench::Row("one flight step, " + density + " density (median)",
                   bench::Fixed(ms * 1000.0, 0) + " us, " + bench::Fixed(share, 1) +
                       " % of a 60 Hz frame",
                   dense ? "< 16.7 ms" : "< 1 ms", dense ? ms < kFrameMs : ms < 1.0);
    } else {
        w.SetPacing(true);
        bench::Fly(card, 0);
        const long long paints0 = w.view()->PaintCount();
        const long long t0 = bench::MonotonicNs();
        constexpr int kFlights = 10;
        for (int i = 1; i <= kFlights; ++i) bench::Fly(card, i);
        const double elapsedMs = static_cast<double>(bench::MonotonicNs() - t0) / 1e6;
        // Each flight has kFlightSteps changing positions (the first only yields).
        const double perStep = static_cast<double>(w.view()->PaintCount() - paints0) /
                               (kFlights * bench::kFlightSteps);
        bench::Row("painted frames per flight step, paced",
                   bench::Fixed(perStep, 2) + " (" +
                       bench::Fixed(elapsedMs / (kFlights * (bench::kFlightSteps + 1)), 1) + " ms a step)",
                   "1.0 to 1.1", perStep >= 1.0 && perStep <= 1.1);
    }
    return 0;
}
