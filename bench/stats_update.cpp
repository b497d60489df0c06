// One statistics update after a game (RecordGameResult) on the SQLite store, in a folder
// on the working directory's disk: as the one transaction it is, beside the eight
// transactions (one for each value) it replaces, measured alternately in the same run
// on the same store.
//   bench_stats [updates]     (default 200 of each)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "reg_backend.h"
#include "regapi.h"
#include "registry_db.h"
#include "statistics.h"

namespace {

// The update as it was: the series is not handed to the store, so each of the eight
// writes is a transaction of its own, committed and synchronised before the next.
class EightTransactions final : public RegAPI::ForwardingBackend {
public:
    void BeginSeries() override {}
    RegAPI::Status EndSeries() override { return RegAPI::kSuccess; }
};

double UpdateMs(bool won) {
    const long long t0 = bench::MonotonicNs();
    karvelo::RecordGameResult(won);
    return static_cast<double>(bench::MonotonicNs() - t0) / 1e6;
}

std::string Figures(const std::vector<double>& ms) {
    return bench::Fixed(bench::Median(ms), 2) + " ms (90 %: " + bench::Fixed(bench::Percentile(ms, 0.9), 2) + ")";
}

}  // namespace

int main(int argc, char** argv) {
    const int updates = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string folder = bench::FreshFolder("stats");
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    karvelo::RecordGameResult(false);  // the store and its key exist from here on

    EightTransactions eight;
    std::vector<double> one, reference;
    for (int i = 0; i < updates; ++i) {
        one.push_back(UpdateMs(i % 3 != 0));
        RegAPI::SetBackend(&eight);
        reference.push_back(UpdateMs(i % 3 != 0));
        RegAPI::SetBackend(nullptr);
    }
    const uint64_t failures = RegAPI::FailuresShown();
    karvelo::CloseUserRegistry();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    const double median = bench::Median(one);
    bench::Row("statistics update, one transaction (" + std::to_string(updates) + ")",
               Figures(one), "<= 1.5 ms", median <= 1.5 && failures == 0);
    bench::Row("  reference: eight transactions, as before", Figures(reference), "-", true);
    std::printf("  (one transaction: %.1f times as fast as eight)\n", bench::Median(reference) / median);
    return failures == 0 ? 0 : 1;
}
