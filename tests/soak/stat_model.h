#pragma once
// What the stored statistics must hold after a known sequence of won and lost games:
// the same counting rules as the game, kept apart from it so the soak can compare.
#include <array>
#include <cstdint>
#include <string>

namespace karvelo::soak {

class StatModel {
public:
    void Win();
    void Loss();
    // The program was started again: the series begins afresh.
    void NewRun();
    // "Rensa Statistiken": the current record folded into the total, then cleared.
    void ClearCurrent();
    // Ctrl+Alt+Shift+keypad minus answered Yes: the total is gone.
    void ClearTotal();

    int32_t Stored(int i) const { return current_[static_cast<size_t>(i)]; }  // "Stat 1..8"
    int32_t Total(int i) const { return total_[static_cast<size_t>(i)]; }     // "Stat 1..6"
    int32_t SeriesWinRun() const { return seriesWins_; }
    int wins() const { return wins_; }
    int losses() const { return losses_; }

    // "" when the stored record matches, else what differs.
    std::string CompareWithStore() const;

private:
    std::array<int32_t, 9> current_{};
    std::array<int32_t, 7> total_{};
    int32_t seriesWins_ = 0;
    int32_t seriesLosses_ = 0;
    int wins_ = 0;
    int losses_ = 0;
};

}  // namespace karvelo::soak
