// Start-up under Wine: from the moment a Windows program is started to its first
// painted frame, which it reports by writing "first-frame" (KARVELO_BENCH_FIRST_FRAME=1,
// after which it closes), side by side with an empty window, alternating the two so
// both see the same machine. Each program is a launcher that execs Wine on it, with a
// Wine server already running, as a Windows desktop is.
//   bench_wine_startup <game> <empty-window> [runs]     (default 15 runs each)
#include <cstdio>
#include <cstdlib>
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
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <game> <empty-window> [runs]\n", argv[0]);
        return 2;
    }
    const std::string game = argv[1], empty = argv[2];
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    RunOnce(game);  // the program files into the page cache and Wine's own caches
    RunOnce(empty);
    std::vector<double> gameMs, emptyMs;
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const bool isGame = (k == 0) == (i % 2 == 0);
            const double ms = RunOnce(isGame ? game : empty);
            if (ms < 0) {
                std::fprintf(stderr, "%s did not report its first frame\n", (isGame ? game : empty).c_str());
                return 1;
            }
            (isGame ? gameMs : emptyMs).push_back(ms);
        }
    }
    const double g = bench::Median(gameMs), e = bench::Median(emptyMs);
    bench::Row("start-up to first frame (median of " + std::to_string(runs) + ")",
               bench::Fixed(g, 1) + " ms vs " + bench::Fixed(e, 1) + " ms: " + bench::Fixed(g / e, 2) +
                   " x",
               "<= 1.2 x", g / e <= 1.2);
    return 0;
}
