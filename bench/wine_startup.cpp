// Start-up under Wine: from the moment a Windows program is started to its first
// painted frame, which it reports by writing "first-frame" (KARVELO_BENCH_FIRST_FRAME=1,
// after which it closes), side by side with an empty window, alternating the two so
// both see the same machine. Each program is a launcher that execs Wine on it, with a
// Wine server already running, as a Windows desktop is.
//   bench_wine_startup <game> <empty-window> [runs]     (default 15 runs each)
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

double RunOnce(const std::string& launcher) {
    const long long t0 = bench::MonotonicNs();
    bench::Child child = bench::Start(launcher, {"KARVELO_BENCH_FIRST_FRAME=1"});
    const std::string line = bench::ReadLine(child, 30000);
    const long long t1 = bench::MonotonicNs();
    bench::Finish(child, 5000);
    return line == "first-frame" ? static_cast<double>(t1 - t0) / 1e6 : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto contenders = bench::ContendersFromArgs(argc, argv);
    if (!contenders) return 2;
    const int runs = contenders->runs;
    std::vector<double> gameMs, emptyMs;
    const bool ran = bench::Alternate(*contenders, [&](bool isGame, bool counted) {
        const double ms = RunOnce(isGame ? contenders->game : contenders->empty);
        if (!counted) return true;
        if (ms < 0) return false;
        (isGame ? gameMs : emptyMs).push_back(ms);
        return true;
    });
    if (!ran) return 1;
    const double g = bench::Median(gameMs), e = bench::Median(emptyMs);
    bench::Row("start-up to first frame (median of " + std::to_string(runs) + ")",
               bench::Fixed(g, 1) + " ms vs " + bench::Fixed(e, 1) + " ms: " + bench::Fixed(g / e, 2) +
                   " x",
               "<= 1.2 x", g / e <= 1.2);
    return 0;
}
