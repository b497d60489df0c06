#include "stat_model.h"

#include <algorithm>

#include "regapi.h"

namespace karvelo::soak {
namespace {

const std::string kCurrentKey = std::string(RegAPI::kAppKey) + "\\Statistik";
const std::string kTotalKey = std::string(RegAPI::kAppKey) + "\\StatistikTotal";

int32_t StoredValue(const std::string& key, int i) {
    return RegAPI::TextToInt32(
        RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, key, "Stat " + std::to_string(i)));
}

}  // namespace

void StatModel::Win() {
    auto& c = current_;
    ++c[1], ++c[2], ++c[7];
    c[8] = 0;
    c[3] = std::max(c[3], c[7]);
    ++seriesWins_;
    seriesLosses_ = 0;
    c[5] = std::max(c[5], seriesWins_);
    ++wins_;
}

void StatModel::Loss() {
    auto& c = current_;
    ++c[1], ++c[8];
    c[7] = 0;
    c[4] = std::max(c[4], c[8]);
    ++seriesLosses_;
    seriesWins_ = 0;
    c[6] = std::max(c[6], seriesLosses_);
    ++losses_;
}

void StatModel::NewRun() {
    seriesWins_ = 0;
    seriesLosses_ = 0;
}

void StatModel::ClearCurrent() {
    for (size_t i = 1; i <= 6; ++i)
        total_[i] = i <= 2 ? total_[i] + current_[i] : std::max(total_[i], current_[i]);
    current_.fill(0);
    NewRun();
}

void StatModel::ClearTotal() { total_.fill(0); }

std::string StatModel::CompareWithStore() const {
    std::string diff;
    for (int i = 1; i <= 8; ++i) {
        const int32_t stored = StoredValue(kCurrentKey, i);
        if (stored != Stored(i))
            diff += " Stat " + std::to_string(i) + " stored " + std::to_string(stored) +
                    ", expected " + std::to_string(Stored(i)) + ";";
    }
    for (int i = 1; i <= 6; ++i) {
        const int32_t stored = StoredValue(kTotalKey, i);
        if (stored != Total(i))
            diff += " total Stat " + std::to_string(i) + " stored " + std::to_string(stored) +
                    ", expected " + std::to_string(Total(i)) + ";";
    }
    return diff;
}

}  // namespace karvelo::soak
