#pragma once
// Everything the store keeps in memory for one sitting of the program: the registry
// layer's counts and flags, the open database, the statistics counters and the games
// waiting for a held store. The program's wiring makes one when it starts and drops it
// when it ends; each test makes its own, so nothing carries over from one to the next.
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>

#include "statistics.h"

namespace RegAPI {
class Backend;

// The registry layer's state (regapi.cpp).
struct LayerState {
    Backend* installed = nullptr;  // a stand-in backend; null: the platform's
    uint64_t failures = 0;
    uint64_t unreadable = 0;
    uint64_t undeleted = 0;
    uint64_t held = 0;
    int seriesDepth = 0;
    bool failedInSeries = false;  // a failure was reported: nothing of the series is kept
    bool shownInSeries = false;   // the series' one failure message is out
    std::set<std::string> causesTold;  // each cause of failure is shown once
};
}  // namespace RegAPI

namespace karvelo {

class RegistryDb;

class StoreSession {
public:
    // Becomes the current session until it ends; the one before is current again then.
    StoreSession();
    ~StoreSession();
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

    RegAPI::LayerState layer;
    StatCounterArray counters;
    // Results of games the held store could not take, oldest first.
    std::deque<bool> heldGames;
#ifndef _WIN32
    // The user's store, opened at its first use (where the store is a SQLite file).
    std::unique_ptr<RegistryDb> userRegistry;
#endif

private:
    StoreSession* previous_;
};

// The current session; where the program made none (a tool), one of its own.
StoreSession& session();

}  // namespace karvelo
