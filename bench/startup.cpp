// Start-up: from the moment the program is started to its first painted frame, and
// its peak resident memory, side by side with an empty main window, alternating the
// two so both see the same machine.
//   bench_startup <game> <empty-window> [runs]     (default 15 runs each)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

struct Start {
    double ms = -1;
    double peakMb = -1;
    double cpuMs = -1;
};

Start RunOnce(const std::string& program, const std::string& store, bool menu = false) {
    const long long t0 = bench::MonotonicNs();
    bench::Child child = bench::Start(
        program, {"KARVELO_BENCH_FIRST_FRAME=1", "XDG_CONFIG_HOME=" + store,
                  std::string("KARVELO_BENCH_EMPTY_MENU=") + (menu ? "1" : "0")});
    const std::string line = bench::ReadLine(child, 30000);
    bench::Finish(child, 5000);
    long long frameNs = 0;
    double sinceStart = 0;
    long peakKb = 0;
    double cpuMs = 0;
    if (std::sscanf(line.c_str(), "first-frame %lld %lf %ld %lf", &frameNs, &sinceStart, &peakKb,
                    &cpuMs) != 4)
        return {};
    return {static_cast<double>(frameNs - t0) / 1e6, static_cast<double>(peakKb) / 1024.0, cpuMs};
}

}  // namespace

int main(int argc, char** argv) {
    const auto contenders = bench::ContendersFromArgs(argc, argv);
    if (!contenders) return 2;
    const int runs = contenders->runs;
    const std::string gameStore = bench::FreshFolder("startup-game");
    const std::string emptyStore = bench::FreshFolder("startup-empty");

    // The uncounted first start of each also makes the game's store, which exists for
    // every start but the very first.
    std::vector<double> gameMs, emptyMs, gameMb, emptyMb, gameCpu, emptyCpu;
    const bool ran = bench::Alternate(*contenders, [&](bool isGame, bool counted) {
        const Start s = RunOnce(isGame ? contenders->game : contenders->empty,
                                isGame ? gameStore : emptyStore);
        if (!counted) return true;
        if (s.ms < 0) return false;
        (isGame ? gameMs : emptyMs).push_back(s.ms);
        (isGame ? gameMb : emptyMb).push_back(s.peakMb);
        (isGame ? gameCpu : emptyCpu).push_back(s.cpuMs);
        return true;
    });
    if (!ran) return 1;
    const double g = bench::Median(gameMs), e = bench::Median(emptyMs);
    const double gm = bench::Median(gameMb), em = bench::Median(emptyMb);
    bench::Row("start-up to first frame (median of " + std::to_string(runs) + ")",
               bench::Fixed(g, 1) + " ms vs " + bench::Fixed(e, 1) + " ms: " +
                   bench::Fixed(g / e, 2) + " x",
               "<= 1.3 x", g / e <= 1.3);
    // CPU time is what start-up costs the machine, over all its threads: the game
    // reads its fonts and decodes its title picture on helper threads while the
    // application connects to the window system, so it counts work the wall time
    // above does not wait for. Shown for reference: the first text any window draws
    // costs the font configuration (see the menu bar reference below).
    const double gc = bench::Median(gameCpu), ec = bench::Median(emptyCpu);
    bench::Row("  reference: CPU time until the first frame",
               bench::Fixed(gc, 1) + " ms vs " + bench::Fixed(ec, 1) + " ms: " +
                   bench::Fixed(gc / ec, 2) + " x",
               "-", true);
    // For reference: the same empty window with a one-item menu bar.
    std::vector<double> menuMs, menuCpu;
    for (int i = 0; i < runs; ++i) {
        const Start s = RunOnce(contenders->empty, emptyStore, true);
        if (s.ms >= 0) menuMs.push_back(s.ms), menuCpu.push_back(s.cpuMs);
    }
    bench::Row("  reference: empty window with a menu bar",
               bench::Fixed(bench::Median(menuMs), 1) + " ms, CPU " +
                   bench::Fixed(bench::Median(menuCpu), 1) + " ms",
               "-", true);
    bench::Row("peak resident memory (VmHWM)",
               bench::Fixed(gm, 1) + " MB vs " + bench::Fixed(em, 1) + " MB: +" +
                   bench::Fixed(gm - em, 1) + " MB",
               "<= +15 MB", gm - em <= 15);
    return 0;
}
