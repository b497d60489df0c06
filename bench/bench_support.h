#pragma once
// What the benchmark programs share: clocks, medians, the figures of other processes,
// starting a program with a private store, and the rows of the table they print.
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bench {

long long MonotonicNs();
double Median(std::vector<double> values);
double Percentile(std::vector<double> values, double p);

// A fresh folder for one program's store (XDG_CONFIG_HOME), on the same disk as the
// working directory.
std::string FreshFolder(const std::string& name);

struct Child {
    pid_t pid = -1;
    int out = -1;  // the child's standard output
};
// Starts `program` with `env` added to the environment, its output on a pipe.
Child Start(const std::string& program, const std::vector<std::string>& env);
// The next line the child writes, or "" when it ends or `timeoutMs` passes.
std::string ReadLine(const Child& child, int timeoutMs);
// Ends the child (SIGKILL after `graceMs` if it has not ended by itself).
void Finish(Child& child, int graceMs);

// User plus system CPU time of a process, in milliseconds.
double CpuMs(pid_t pid);
// Voluntary and involuntary context switches of all of a process's threads.
long long Switches(pid_t pid, bool voluntary);

// A start-up comparison: the game against an empty window, each `runs` times.
struct Contenders {
    std::string game;
    std::string empty;
    int runs = 15;
};
// From the arguments <game> <empty-window> [runs]; nothing, having printed the usage,
// when they are not there.
std::optional<Contenders> ContendersFromArgs(int argc, char** argv);
// Runs `once(true, counted)` (the game) and `once(false, counted)` (the empty window)
// `runs` times each, alternating which starts first, so both see the same machine;
// one start each before, with counted false, brings the program files into the
// caches. False, with the failing program named, as soon as a counted run fails.
bool Alternate(const Contenders& c, const std::function<bool(bool game, bool counted)>& once);

// One row of the result table: what, measured, target, and whether it is met.
void Row(const std::string& figure, const std::string& measured, const std::string& target,
         bool met);
std::string Fixed(double v, int decimals);

}  // namespace bench
