// One statistics update, the eight writes after a game (RecordGameResult), on the
// SQLite store in a folder on the working directory's disk.
//   bench_stats [updates]     (default 200)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "regapi.h"
#include "statistics.h"

int main(int argc, char** argv) {
    const int updates = argc > 1 ? std::atoi(argv[1]) : 200;
    ::setenv("XDG_CONFIG_HOME", bench::FreshFolder("stats").c_str(), 1);
    karvelo::RecordGameResult(false);  // the store and its key exist from here on

    std::vector<double> ms;
    for (int i = 0; i < updates; ++i) {
        const long long t0 = bench::MonotonicNs();
        karvelo::RecordGameResult(i % 3 != 0);
        ms.push_back(static_cast<double>(bench::MonotonicNs() - t0) / 1e6);
    }
    const uint64_t failures = RegAPI::FailuresShown();
    const double median = bench::Median(ms), p90 = bench::Percentile(ms, 0.9);
    bench::Row("statistics update, 8 writes (median of " + std::to_string(updates) + ")",
               bench::Fixed(median, 2) + " ms (90 %: " + bench::Fixed(p90, 2) + " ms)",
               "< 10 ms", median < 10.0 && failures == 0);
    return failures == 0 ? 0 : 1;
}
