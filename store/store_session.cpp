// The store's state for one sitting, and which session is current.
#include "store_session.h"

#ifndef _WIN32
#include "registry_db.h"
#endif

namespace karvelo {
namespace {
StoreSession* current = nullptr;
}

StoreSession::StoreSession() : previous_(current) { current = this; }

StoreSession::~StoreSession() { current = previous_; }

StoreSession& session() {
    if (current) return *current;
    static StoreSession fallback;  // current from here on
    return fallback;
}

}  // namespace karvelo
