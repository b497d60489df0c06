#pragma once
// What the files of the SQLite store share: SQLite helpers, the store's mark, the connection.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "registry_db.h"

namespace karvelo {
namespace registry_db_internal {

using RegAPI::Status;

// "KRVL": marks a database as this store, so a foreign one is never written into.
inline constexpr int kApplicationId = 0x4B52564C;
// 1: every key by its whole path; 2: every key by its parent and its own name.
inline constexpr int kSchemaVersion = 2;

// The tables of a new store and the conversion of an older one (registry_db_schema.cpp).
std::string Schema();
int Upgrade(sqlite3* db);

inline bool IsCorruption(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

inline Status MapResult(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return RegAPI::kSuccess;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return RegAPI::kAccessDenied;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return RegAPI::kBadDb;
    case SQLITE_CANTOPEN:
        return RegAPI::kCantOpen;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return RegAPI::kBusy;
    case SQLITE_CONSTRAINT:
        return RegAPI::kKeyDeleted;  // a value for a key that is gone
    default:
        return RegAPI::kIoFailed;
    }
}

// Resets a prepared statement when the step that used it is over.
class Use {
public:
    explicit Use(sqlite3_stmt* s) : s_(s) {}
    ~Use() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    sqlite3_stmt* operator*() const { return s_; }

private:
    sqlite3_stmt* s_;
};

inline void BindText(sqlite3_stmt* s, int i, const std::string& text) {
    sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

inline std::string ColumnBytes(sqlite3_stmt* s, int i) {
    const void* p = sqlite3_column_blob(s, i);
    const int n = sqlite3_column_bytes(s, i);
    if (!p || n <= 0) return {};
    return std::string(static_cast<const char*>(p), static_cast<size_t>(n));
}

// Whether a key path's depth and names are within the registry's limits.
inline bool WithinKeyLimits(const std::vector<std::string>& parts) {
    if (parts.size() > kMaxKeyDepth) return false;
    for (const std::string& part : parts)
        if (RegistryChars(part) > kMaxKeyNameChars) return false;
    return true;
}

inline std::string ColumnText(sqlite3_stmt* s, int i) {
    const unsigned char* p = sqlite3_column_text(s, i);
    const int n = sqlite3_column_bytes(s, i);
    if (!p || n <= 0) return {};
    return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
}

inline int Exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

inline int PragmaInt(sqlite3* db, const char* sql, int* out) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        *out = sqlite3_column_int(st, 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

}  // namespace registry_db_internal

// The connection and its statements; registry_db.cpp prepares them and runs them.
struct RegistryDb::Impl {
    sqlite3* db = nullptr;
    bool broken = false;  // a statement met a damaged file: reopen and check it
    int64_t root = 0;

    sqlite3_stmt* findChild = nullptr;
    sqlite3_stmt* insertKey = nullptr;
    sqlite3_stmt* findRoot = nullptr;
    sqlite3_stmt* getValue = nullptr;
    sqlite3_stmt* setValue = nullptr;
    sqlite3_stmt* hasChildren = nullptr;
    sqlite3_stmt* deleteKey = nullptr;
    sqlite3_stmt* deleteTree = nullptr;
    sqlite3_stmt* deleteValue = nullptr;
    sqlite3_stmt* allKeys = nullptr;
    sqlite3_stmt* allValues = nullptr;
    sqlite3_stmt* begin = nullptr;
    sqlite3_stmt* beginRead = nullptr;
    sqlite3_stmt* commit = nullptr;
    sqlite3_stmt* rollback = nullptr;

    ~Impl() {
        for (sqlite3_stmt* s : {findChild, insertKey, findRoot, getValue, setValue, hasChildren,
                                deleteKey, deleteTree, deleteValue, allKeys, allValues, begin,
                                beginRead, commit, rollback})
            sqlite3_finalize(s);
        sqlite3_close_v2(db);
    }

    int Prepare(const char* sql, sqlite3_stmt** s) {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, s, nullptr);
    }

    // Prepares the statements and finds the root; fails on a file whose tables are
    // not this version's.
    int Ready();
    int Run(sqlite3_stmt* s);
    // Follows the parts of a path down from the root: SQLITE_ROW with *id, SQLITE_DONE
    // when a part is missing (unless `make`, which adds it), or an error. Making needs
    // a write transaction.
    int Walk(const std::vector<std::string>& parts, bool make, int64_t* id);
    int Upsert(int64_t key, const RegValue& v);
    int RunOn(sqlite3_stmt* s, int64_t key, const std::string* name = nullptr);
};

// The transaction of one operation, rolled back unless committed; inside a series the
// operation joins the series' transaction instead.
class RegistryDb::Txn {
public:
    explicit Txn(RegistryDb& db) : db_(db) {}
    ~Txn() {
        if (own_) db_.impl_->Run(db_.impl_->rollback);
    }
    Txn(const Txn&) = delete;
    Txn& operator=(const Txn&) = delete;

    int Begin(bool write) {
        if (db_.seriesTransaction_) return SQLITE_OK;
        const int rc = db_.impl_->Run(write ? db_.impl_->begin : db_.impl_->beginRead);
        own_ = rc == SQLITE_OK;
        return rc;
    }
    int Commit() {
        if (!own_) return SQLITE_OK;
        const int rc = db_.impl_->Run(db_.impl_->commit);
        if (rc == SQLITE_OK) own_ = false;
        return rc;
    }

private:
    RegistryDb& db_;
    bool own_ = false;
};

}  // namespace karvelo
