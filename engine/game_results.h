#pragma once
// How the engine reports the end of a game. The program's wiring connects this to the
// statistics record (RecordGameResult, and counter 13 for the question after a win);
// the engine itself keeps no statistics and knows nothing of where they are stored.
#include <cstdint>

namespace funktioner {

class GameResults {
public:
    virtual ~GameResults() = default;
    // A game ended: won, or abandoned (a new deal, or the end of the program).
    virtual void RecordGameResult(bool won) = 0;
    // Games won in a row in this series, the one just recorded included.
    virtual int32_t SeriesWinRun() const = 0;
};

// The receiver in force (surroundings.h). Without one, results go nowhere and the
// run reads 0.
GameResults& results();

}  // namespace funktioner
