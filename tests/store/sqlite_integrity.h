#pragma once
// SQLite's own verdict on a store file, read-write as the next start of the game
// would open it: a copy killed inside a transaction leaves a journal that opening
// rolls back. "ok" for a sound file.
#include <sqlite3.h>

#include <string>

namespace karvelo::test {

inline std::string IntegrityCheck(const std::string& file) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr);
        result = sqlite3_step(s) == SQLITE_ROW
                     ? reinterpret_cast<const char*>(sqlite3_column_text(s, 0))
                     : sqlite3_errmsg(db);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return result;
}

}  // namespace karvelo::test
