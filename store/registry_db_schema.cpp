// The store's tables, its mark and version, and the conversion of older stores.
#include <sqlite3.h>

#include <string>

#include "name_fold.h"
#include "registry_db_internal.h"

namespace karvelo {
namespace registry_db_internal {
namespace {

// A key is its parent's id and its own name, so the store grows with the number of
// keys and the length of their names, not with the depth of their paths.
std::string KeysTable(const char* name) {
    return std::string("CREATE TABLE ") + name +
           "("
           "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
           "  parent INTEGER REFERENCES keys(id),"  // NULL for the root
           "  name TEXT NOT NULL,"                  // as first written
           "  fold TEXT NOT NULL,"                  // compared and looked up
           "  UNIQUE(parent, fold));";
}

}  // namespace

std::string Schema() {
    return KeysTable("keys") +
           "CREATE TABLE vals("
           "  key_id INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
           "  name TEXT NOT NULL,"
           "  fold TEXT NOT NULL,"
           "  type INTEGER NOT NULL,"
           "  data BLOB NOT NULL,"
           "  UNIQUE(key_id, fold));"
           "INSERT INTO keys(parent, name, fold) VALUES(NULL, '', '');"
           "PRAGMA application_id = " +
           std::to_string(kApplicationId) +
           ";"
           "PRAGMA user_version = " +
           std::to_string(kSchemaVersion) + ";";
}

namespace {

// Stores of the first version kept every key by its whole path, folded and as
// written, so a key's size grew with its depth. Each key keeps its id (its values
// refer to it), finds its parent by the folded path less its last part and keeps
// only that last part. Runs inside a write transaction with foreign keys off.
int ConvertPathKeys(sqlite3* db) {
    int rc = Exec(db, KeysTable("keys_by_parent"));
    if (rc != SQLITE_OK) return rc;
    sqlite3_stmt* rows = nullptr;
    sqlite3_stmt* byFold = nullptr;
    sqlite3_stmt* insert = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT id, path, fold FROM keys", -1, &rows, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "SELECT id FROM keys WHERE fold = ?1", -1, &byFold, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db,
                                "INSERT INTO keys_by_parent(id, parent, name, fold) "
                                "VALUES(?1, ?2, ?3, ?4)",
                                -1, &insert, nullptr);
    bool rootSeen = false;
    while (rc == SQLITE_OK && (rc = sqlite3_step(rows)) == SQLITE_ROW) {
        rc = SQLITE_OK;
        const int64_t id = sqlite3_column_int64(rows, 0);
        const std::string path = ColumnText(rows, 1);
        const std::string fold = ColumnText(rows, 2);
        sqlite3_bind_int64(insert, 1, id);
        if (fold.empty()) {
            rootSeen = true;
            sqlite3_bind_null(insert, 2);
            BindText(insert, 3, "");
            BindText(insert, 4, "");
        } else {
            const size_t cut = fold.rfind('\\');
            const std::string parentFold = cut == std::string::npos ? "" : fold.substr(0, cut);
            const std::string name = path.substr(path.rfind('\\') + 1);  // npos + 1 is 0
            BindText(byFold, 1, parentFold);
            const int found = sqlite3_step(byFold);
            const int64_t parent = sqlite3_column_int64(byFold, 0);
            sqlite3_reset(byFold);
            // Every parent was stored with its child; a missing one is damage.
            if (found != SQLITE_ROW) rc = found == SQLITE_DONE ? SQLITE_CORRUPT : found;
            sqlite3_bind_int64(insert, 2, parent);
            BindText(insert, 3, name);
            BindText(insert, 4, FoldName(name));
        }
        if (rc == SQLITE_OK && sqlite3_step(insert) != SQLITE_DONE) rc = sqlite3_errcode(db);
        sqlite3_reset(insert);
    }
    if (rc == SQLITE_DONE) rc = rootSeen ? SQLITE_OK : SQLITE_CORRUPT;
    sqlite3_finalize(rows);
    sqlite3_finalize(byFold);
    sqlite3_finalize(insert);
    if (rc == SQLITE_OK)
        rc = Exec(db, "DROP TABLE keys; ALTER TABLE keys_by_parent RENAME TO keys; "
                      "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";");
    return rc;
}

}  // namespace

// Brings a store of an earlier version up to this one; another copy of the game may
// be doing the same, so the version is read again inside the transaction.
int Upgrade(sqlite3* db) {
    Exec(db, "PRAGMA foreign_keys = OFF");  // tables are rebuilt under their references
    int rc = Exec(db, "BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) {
        int version = 0;
        rc = PragmaInt(db, "PRAGMA user_version", &version);
        if (rc == SQLITE_OK && version < 2) rc = ConvertPathKeys(db);
        if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
        if (rc != SQLITE_OK) Exec(db, "ROLLBACK");
    }
    Exec(db, "PRAGMA foreign_keys = ON");
    // The whole paths of deep keys may have left most of the file empty.
    int pages = 0, free = 0;
    if (rc == SQLITE_OK && PragmaInt(db, "PRAGMA page_count", &pages) == SQLITE_OK &&
        PragmaInt(db, "PRAGMA freelist_count", &free) == SQLITE_OK && free > 64 &&
        free > pages / 2)
        Exec(db, "VACUUM");
    return rc;
}

}  // namespace registry_db_internal
}  // namespace karvelo
