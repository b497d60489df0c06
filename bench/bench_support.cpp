#include "bench_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace bench {

long long MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double at = p * static_cast<double>(values.size() - 1);
    const auto below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}

double Median(std::vector<double> values) { return Percentile(std::move(values), 0.5); }

std::string FreshFolder(const std::string& name) {
    char pattern[4096];
    std::snprintf(pattern, sizeof pattern, "%s/bench-%s-XXXXXX",
                  std::getenv("KARVELO_BENCH_DIR") ? std::getenv("KARVELO_BENCH_DIR") : ".",
                  name.c_str());
    const char* made = ::mkdtemp(pattern);
    if (!made) return ".";
    // The store takes XDG_CONFIG_HOME only when it is absolute, else the user's own.
    char absolute[PATH_MAX];
    return ::realpath(made, absolute) ? absolute : made;
}

Child Start(const std::string& program, const std::vector<std::string>& env) {
    int out[2];
    if (::pipe(out) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        for (const auto& e : env) ::putenv(::strdup(e.c_str()));
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    return {pid, out[0]};
}

std::string ReadLine(const Child& child, int timeoutMs) {
    std::string line;
    const long long deadline = MonotonicNs() + static_cast<long long>(timeoutMs) * 1000000LL;
    while (true) {
        const long long left = (deadline - MonotonicNs()) / 1000000LL;
        if (left <= 0) return {};
        pollfd p{child.out, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) return {};
        char c;
        if (::read(child.out, &c, 1) != 1) return {};
        if (c == '\n') return line;
        line += c;
    }
}

void Finish(Child& child, int graceMs) {
    if (child.pid <= 0) return;
    int status = 0;
    for (int waited = 0; waited < graceMs; waited += 10) {
        if (::waitpid(child.pid, &status, WNOHANG) == child.pid) {
            child.pid = -1;
            break;
        }
        ::usleep(10000);
    }
    if (child.pid > 0) {
        ::kill(child.pid, SIGKILL);
        ::waitpid(child.pid, &status, 0);
        child.pid = -1;
    }
    if (child.out >= 0) ::close(child.out);
    child.out = -1;
}

double CpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stod(field);  // utime, stime
    return ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

long long Switches(pid_t pid, bool voluntary) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    const char* key = voluntary ? "voluntary_ctxt_switches:" : "nonvoluntary_ctxt_switches:";
    long long total = 0;
    DIR* dir = ::opendir(tasks.c_str());
    if (!dir) return -1;
    while (dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        std::ifstream status(tasks + "/" + e->d_name + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(key, 0) == 0) total += std::atoll(line.c_str() + std::strlen(key));
    }
    ::closedir(dir);
    return total;
}

std::optional<Contenders> ContendersFromArgs(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <game> <empty-window> [runs]\n", argv[0]);
        return std::nullopt;
    }
    return Contenders{argv[1], argv[2], argc > 3 ? std::atoi(argv[3]) : 15};
}

bool Alternate(const Contenders& c, const std::function<bool(bool game, bool counted)>& once) {
    once(true, false);
    once(false, false);
    for (int i = 0; i < c.runs; ++i) {
        for (bool game : {i % 2 == 0, i % 2 != 0}) {
            if (!once(game, true)) {
                std::fprintf(stderr, "%s did not report its first frame\n",
                             (game ? c.game : c.empty).c_str());
                return false;
            }
        }
    }
    return true;
}

void Row(const std::string& figure, const std::string& measured, const std::string& target,
         bool met) {
    std::printf("| %-44s | %-30s | %-14s | %-4s |\n", figure.c_str(), measured.c_str(),
                target.c_str(), met ? "met" : "MISS");
    std::fflush(stdout);
}

std::string Fixed(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

}  // namespace bench
