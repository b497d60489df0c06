#pragma once
// A recording stand-in for the statistics: counts the games the engine reports and
// keeps the series' run of wins, as the statistics record would.
#include <string>
#include <vector>

#include "game_results.h"

namespace enginetest {

class RecordingResults final : public funktioner::GameResults {
public:
    explicit RecordingResults(std::vector<std::string>* log = nullptr) : log_(log) {}

    void RecordGameResult(bool gameWon) override {
        ++played;
        if (gameWon) {
            ++won;
            ++winRun;
            lossRun = 0;
        } else {
            ++lossRun;
            winRun = 0;
        }
        if (log_) log_->push_back(gameWon ? "record won" : "record lost");
    }
    int32_t SeriesWinRun() const override { return winRun; }

    int played = 0;
    int won = 0;
    int winRun = 0;   // games won in a row
    int lossRun = 0;  // games lost in a row

private:
    std::vector<std::string>* log_;
};

}  // namespace enginetest
