// Idle: the game's CPU time and wake-ups (the voluntary context switches of all its
// threads) over ten seconds without input, on the title picture or on a dealt table.
//   bench_idle <game> [--deal]      (needs an X display and xdotool for --deal)
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bench_support.h"

namespace {

std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> p(::popen(command.c_str(), "r"), ::pclose);
    if (!p) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p.get())) out += buffer;
    return out;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

int WindowHeight(const std::string& window) {
    const std::string g = Output("xdotool getwindowgeometry " + window + " 2>/dev/null");
    const auto x = g.find("Geometry: ");
    if (x == std::string::npos) return -1;
    int w = 0, h = 0;
    return std::sscanf(g.c_str() + x + 10, "%dx%d", &w, &h) == 2 ? h : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <game> [--deal]\n", argv[0]);
        return 2;
    }
    const bool deal = argc > 2 && std::strcmp(argv[2], "--deal") == 0;
    bench::Child game = bench::Start(
        argv[1], {"KARVELO_BENCH_FIRST_FRAME=2", "XDG_CONFIG_HOME=" + bench::FreshFolder("idle")});
    if (bench::ReadLine(game, 30000).rfind("first-frame", 0) != 0) {
        std::fprintf(stderr, "the game did not show its window\n");
        bench::Finish(game, 0);
        return 1;
    }
    if (deal) {
        // "Nytt spel" by its key: the window grows and the cards are dealt.
        const std::string window = FirstLine(Output(
            "xdotool search --sync --onlyvisible --pid " + std::to_string(game.pid) + " 2>/dev/null"));
        const int before = WindowHeight(window);
        Output("xdotool windowfocus --sync " + window + " key F2 2>/dev/null");
        ::sleep(4);
        if (window.empty() || WindowHeight(window) <= before) {
            std::fprintf(stderr, "the game did not deal (window %s)\n", window.c_str());
            bench::Finish(game, 0);
            return 1;
        }
    }
    ::sleep(2);  // whatever start-up or the deal left to do is done

    const double cpu0 = bench::CpuMs(game.pid);
    const long long woken0 = bench::Switches(game.pid, true);
    const long long forced0 = bench::Switches(game.pid, false);
    ::sleep(10);
    const double cpu = bench::CpuMs(game.pid) - cpu0;
    const long long woken = bench::Switches(game.pid, true) - woken0;
    const long long forced = bench::Switches(game.pid, false) - forced0;
    bench::Finish(game, 0);

    bench::Row(std::string("idle 10 s, ") + (deal ? "dealt table" : "title picture"),
               bench::Fixed(cpu, 0) + " ms CPU, " + std::to_string(woken) + " wake-ups (+" +
                   std::to_string(forced) + " preempted)",
               "no wake-ups", woken == 0);
    return 0;
}
