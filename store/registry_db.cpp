// The SQLite file behind the registry operations on systems without a registry.
#include "registry_db.h"

#include <fcntl.h>
#include <limits.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <unordered_map>

#include "name_fold.h"

namespace karvelo {
namespace {

using RegAPI::Status;

// "KRVL": marks a database as this store, so a foreign one is never written into.
constexpr int kApplicationId = 0x4B52564C;
// 1: every key by its whole path; 2: every key by its parent and its own name.
constexpr int kSchemaVersion = 2;

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

const char* const kDamaged = "it is damaged or not a store of this game";

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool IsCorruption(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

Status MapResult(int rc) {
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
    case SQLITE_CONSTRAINT:
        return RegAPI::kKeyDeleted;  // a value for a key that is gone
    default:
        return RegAPI::kIoFailed;
    }
}

bool Exists(const std::string& file) {
    struct stat st {};
    return ::lstat(file.c_str(), &st) == 0;
}

bool MakeDirectories(const std::string& dir, int* error) {
    if (dir.empty()) return true;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        const std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            *error = errno;
            return false;
        }
    }
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) {
        *error = errno;
        return false;
    }
    *error = ENOTDIR;
    return S_ISDIR(st.st_mode);
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Why a file that SQLite could not open is no store, for the player.
std::string CannotOpen(const std::string& file, int error) {
    const std::string cause = error ? std::string(" (") + std::strerror(error) + ")" : "";
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) return "it cannot be made" + cause;
    if (S_ISLNK(st.st_mode)) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(file.c_str(), target, sizeof target - 1);
        const std::string to = n > 0 ? std::string(target, static_cast<size_t>(n)) : "?";
        return "it is a symbolic link to " + to + ", which cannot be opened" + cause;
    }
    return "it cannot be opened" + cause;
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

void BindText(sqlite3_stmt* s, int i, const std::string& text) {
    sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string ColumnBytes(sqlite3_stmt* s, int i) {
    const void* p = sqlite3_column_blob(s, i);
    const int n = sqlite3_column_bytes(s, i);
    if (!p || n <= 0) return {};
    return std::string(static_cast<const char*>(p), static_cast<size_t>(n));
}

std::string ColumnText(sqlite3_stmt* s, int i) {
    const unsigned char* p = sqlite3_column_text(s, i);
    const int n = sqlite3_column_bytes(s, i);
    if (!p || n <= 0) return {};
    return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
}

int Exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

int PragmaInt(sqlite3* db, const char* sql, int* out) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        *out = sqlite3_column_int(st, 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

bool WithinKeyLimits(const std::vector<std::string>& parts) {
    if (parts.size() > kMaxKeyDepth) return false;
    for (const std::string& part : parts)
        if (RegistryChars(part) > kMaxKeyNameChars) return false;
    return true;
}

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

}  // namespace

size_t RegistryChars(const std::string& utf8) {
    size_t n = 0;
    for (const char ch : utf8) {
        const auto b = static_cast<uint8_t>(ch);
        if ((b & 0xC0) != 0x80) ++n;  // a character begins
        if (b >= 0xF0) ++n;           // beyond the first plane: two UTF-16 units
    }
    return n;
}

bool SplitKeyPath(const std::string& path, std::vector<std::string>* parts) {
    parts->clear();
    if (path.empty()) return true;
    size_t start = 0;
    while (true) {
        const size_t end = path.find('\\', start);
        const std::string part = path.substr(start, end - start);
        if (part.empty()) return false;
        parts->push_back(part);
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

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
    int Ready() {
        const std::pair<const char*, sqlite3_stmt**> all[] = {
            {"SELECT id FROM keys WHERE parent = ?1 AND fold = ?2", &findChild},
            {"INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)", &insertKey},
            {"SELECT id FROM keys WHERE parent IS NULL ORDER BY id LIMIT 1", &findRoot},
            {"SELECT type, data FROM vals WHERE key_id = ?1 AND fold = ?2", &getValue},
            {"INSERT INTO vals(key_id, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
             "ON CONFLICT(key_id, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
             &setValue},
            {"SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1", &hasChildren},
            {"DELETE FROM keys WHERE id = ?1", &deleteKey},
            {"WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
             "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
             "DELETE FROM keys WHERE id IN (SELECT id FROM tree)",
             &deleteTree},
            {"DELETE FROM vals WHERE key_id = ?1 AND fold = ?2", &deleteValue},
            {"SELECT id, parent, name, fold FROM keys", &allKeys},
            {"SELECT key_id, name, type, data FROM vals ORDER BY rowid", &allValues},
            {"BEGIN IMMEDIATE", &begin},
            {"BEGIN", &beginRead},
            {"COMMIT", &commit},
            {"ROLLBACK", &rollback},
        };
        for (const auto& [sql, stmt] : all) {
            const int rc = Prepare(sql, stmt);
            if (rc != SQLITE_OK) return rc;
        }
        Use use(findRoot);
        const int rc = sqlite3_step(findRoot);
        if (rc == SQLITE_ROW) root = sqlite3_column_int64(findRoot, 0);
        return rc == SQLITE_ROW ? SQLITE_OK : (rc == SQLITE_DONE ? SQLITE_CORRUPT : rc);
    }

    int Run(sqlite3_stmt* s) {
        Use use(s);
        const int rc = sqlite3_step(s);
        return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
    }

    // Follows the parts of a path down from the root: SQLITE_ROW with *id, SQLITE_DONE
    // when a part is missing (unless `make`, which adds it), or an error. Making needs
    // a write transaction.
    int Walk(const std::vector<std::string>& parts, bool make, int64_t* id) {
        int64_t at = root;
        for (const std::string& part : parts) {
            const std::string fold = FoldName(part);
            int rc;
            {
                Use use(findChild);
                sqlite3_bind_int64(findChild, 1, at);
                BindText(findChild, 2, fold);
                rc = sqlite3_step(findChild);
                if (rc == SQLITE_ROW) at = sqlite3_column_int64(findChild, 0);
            }
            if (rc == SQLITE_DONE) {
                if (!make) return SQLITE_DONE;
                Use use(insertKey);
                sqlite3_bind_int64(insertKey, 1, at);
                BindText(insertKey, 2, part);
                BindText(insertKey, 3, fold);
                rc = sqlite3_step(insertKey);
                if (rc != SQLITE_DONE) return rc;
                at = sqlite3_last_insert_rowid(db);
            } else if (rc != SQLITE_ROW) {
                return rc;
            }
        }
        *id = at;
        return SQLITE_ROW;
    }

    int Upsert(int64_t key, const RegValue& v) {
        Use use(setValue);
        sqlite3_bind_int64(setValue, 1, key);
        BindText(setValue, 2, v.name);
        BindText(setValue, 3, FoldName(v.name));
        sqlite3_bind_int64(setValue, 4, v.type);
        sqlite3_bind_blob(setValue, 5, v.data.data(), static_cast<int>(v.data.size()),
                          SQLITE_TRANSIENT);
        const int rc = sqlite3_step(setValue);
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    }

    int RunOn(sqlite3_stmt* s, int64_t key, const std::string* name = nullptr) {
        Use use(s);
        sqlite3_bind_int64(s, 1, key);
        if (name) BindText(s, 2, FoldName(*name));
        const int rc = sqlite3_step(s);
        return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
    }
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

RegistryDb::RegistryDb(std::string file) : file_(std::move(file)) {}

RegistryDb::~RegistryDb() {
    impl_.reset();  // closing drops a transaction that was not committed
    if (seriesLock_ >= 0) ::close(seriesLock_);  // closing the file lets go of its lock
}

Status RegistryDb::Result(int rc) {
    const Status s = MapResult(rc);
    if (s != RegAPI::kSuccess) {
        lastError_ = sqlite3_errstr(rc);
        if (impl_ && IsCorruption(rc)) impl_->broken = true;
        if (seriesDepth_ > 0 && seriesFailure_ == RegAPI::kSuccess) seriesFailure_ = s;
    }
    return s;
}

Status RegistryDb::Enter() {
    if (seriesDepth_ > 0 && seriesFailure_ != RegAPI::kSuccess) return seriesFailure_;
    if (seriesTransaction_) return RegAPI::kSuccess;
    return Open();
}

void RegistryDb::BeginSeries() {
    if (seriesDepth_++ > 0) return;
    seriesFailure_ = RegAPI::kSuccess;

    const std::string lockFile = file_ + ".lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {  // without a folder to lock in, the operations report that themselves
        const int64_t start = NowMs();
        bool locked = true;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || NowMs() - start >= patience_.waitMs) {
                locked = false;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (locked)
            seriesLock_ = fd;
        else
            ::close(fd);
    }

    Status s = Open();
    if (s == RegAPI::kSuccess) s = Result(impl_->Run(impl_->begin));
    if (s != RegAPI::kSuccess) seriesFailure_ = s;
    seriesTransaction_ = s == RegAPI::kSuccess;
}

Status RegistryDb::EndSeries() {
    if (seriesDepth_ == 0 || --seriesDepth_ > 0) return RegAPI::kSuccess;
    Status result = seriesFailure_;
    if (seriesTransaction_) {
        seriesTransaction_ = false;
        if (result == RegAPI::kSuccess) {
            const int rc = impl_->Run(impl_->commit);
            if (rc != SQLITE_OK) result = Result(rc);
        }
        // After a failure SQLite may have rolled the transaction back by itself.
        if (!sqlite3_get_autocommit(impl_->db)) impl_->Run(impl_->rollback);
    }
    seriesFailure_ = RegAPI::kSuccess;
    if (seriesLock_ >= 0) ::close(seriesLock_);
    seriesLock_ = -1;
    return result;
}

bool RegistryDb::UndoSeries() {
    if (seriesDepth_ == 0) return false;
    if (!seriesTransaction_) return true;  // a failed series keeps nothing anyway
    const int rc = impl_->Run(impl_->rollback);
    if (rc != SQLITE_OK) {
        Result(rc);  // the series fails, and EndSeries rolls back again
        return true;
    }
    seriesTransaction_ = false;
    const Status s = Result(impl_->Run(impl_->begin));
    seriesTransaction_ = s == RegAPI::kSuccess;
    return true;
}

std::string RegistryDb::TakeNotice() {
    std::string notice;
    notice.swap(notice_);
    return notice;
}

void RegistryDb::Close() {
    impl_.reset();
    inMemory_ = false;
    if (seriesTransaction_) {
        seriesTransaction_ = false;
        seriesFailure_ = RegAPI::kIoFailed;  // what the series wrote went with the connection
    }
}

// SQLite calls this while another connection holds a lock this one needs: non-zero
// to wait and try again, zero to give up (the statement then fails as busy).
int RegistryDb::OnBusy(void* self, int attempt) {
    auto* db = static_cast<RegistryDb*>(self);
    const int64_t now = NowMs();
    if (attempt == 0) db->waitStartedMs_ = now;
    const bool heldLately =
        db->heldAtMs_ >= 0 && now - db->heldAtMs_ < db->patience_.rememberMs;
    const int64_t patience = heldLately ? db->patience_.afterHoldMs : db->patience_.waitMs;
    const int64_t waited = now - db->waitStartedMs_;
    if (waited >= patience) {
        db->heldAtMs_ = now;
        return 0;
    }
    // Short sleeps first: a copy of the game is usually done within a few.
    const int64_t nap = std::min<int64_t>(attempt < 10 ? 1 : 10, patience - waited);
    std::this_thread::sleep_for(std::chrono::milliseconds(nap));
    return 1;
}

Status RegistryDb::Open() {
    if (impl_ && inMemory_) return RegAPI::kSuccess;
    if (impl_ && !impl_->broken) {
        // Another program may have moved or deleted the file under us; writing on
        // into the old one would lose everything from here on.
        int moved = 0;
        if (sqlite3_file_control(impl_->db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) ==
                SQLITE_OK &&
            !moved)
            return RegAPI::kSuccess;
    }
    impl_.reset();

    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string why;  // set when the file cannot be a store at all
        const Status s = OpenFile(&why);
        if (s == RegAPI::kSuccess || why.empty()) return s;  // busy or failing: retried later
        const std::string told = "Could not open the store " + file_ + ": " + why + ".";
        if (!recover_) {
            notice_ = told;
            return s;
        }

        // Keep whatever is in the way (and its journal) under a new name and begin
        // afresh. A stale journal must never meet a new file.
        if (attempt == 0 && Exists(file_)) {
            std::string target = file_ + ".corrupt-" + TimeStamp();
            for (int n = 2; Exists(target) && n < 1000; ++n)
                target = file_ + ".corrupt-" + TimeStamp() + "-" + std::to_string(n);
            if (std::rename(file_.c_str(), target.c_str()) == 0) {
                bool clean = true;
                for (const char* suffix : {"-journal", "-wal", "-shm"}) {
                    const std::string side = file_ + suffix;
                    if (Exists(side) && std::rename(side.c_str(), (target + suffix).c_str()) != 0)
                        clean = false;
                }
                setAside_ = target;
                notice_ += told + "\r\nIt was kept as " + target;
                if (clean) {
                    notice_ += " and a new store begun.";
                    continue;
                }
                notice_ += ", but its journal could not be moved.";
            }
        }
        // Left as it is: the game goes on with a store in memory.
        if (OpenInMemory() == RegAPI::kSuccess) {
            if (notice_.empty())
                notice_ = told + (Exists(file_) ? "\r\nIt was left as it is, and settings"
                                                : "\r\nSettings");
            else
                notice_ += "\r\nSettings";
            notice_ += " and statistics are kept only until the game ends.";
            return RegAPI::kSuccess;
        }
        if (notice_.empty()) notice_ = told;
        return s;
    }
    return RegAPI::kBadDb;
}

Status RegistryDb::OpenFile(std::string* why) {
    const size_t slash = file_.rfind('/');
    if (slash != std::string::npos) {
        const std::string dir = file_.substr(0, slash);
        int error = 0;
        if (!MakeDirectories(dir, &error)) {
            *why = "its folder " + dir + " cannot be made (" + std::strerror(error) + ")";
            return RegAPI::kCantOpen;
        }
    }
    // Only a regular file can be a store: a device would take every write and keep
    // none, a FIFO would never answer a read.
    struct stat st {};
    if (::stat(file_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        *why = S_ISDIR(st.st_mode) ? "it is a folder" : "it is a device or other special file";
        return RegAPI::kCantOpen;
    }

    auto impl = std::make_unique<Impl>();
    int rc = sqlite3_open_v2(file_.c_str(), &impl->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc != SQLITE_OK) {
        *why = CannotOpen(file_, impl->db ? sqlite3_system_errno(impl->db) : 0);
        return RegAPI::kCantOpen;
    }
    sqlite3* db = impl->db;
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_handler(db, &RegistryDb::OnBusy, this);
    Exec(db, "PRAGMA foreign_keys = ON; PRAGMA synchronous = FULL;");

    // Check the file through before trusting it.
    bool damaged = false;
    sqlite3_stmt* check = nullptr;
    rc = impl->Prepare("PRAGMA quick_check", &check);
    bool ok = rc == SQLITE_OK;
    while (ok && (rc = sqlite3_step(check)) == SQLITE_ROW)
        if (ColumnText(check, 0) != "ok") damaged = true;
    sqlite3_finalize(check);
    auto refuse = [&](int code) {
        lastError_ = sqlite3_errstr(code);
        if (IsCorruption(code) || damaged) {
            *why = kDamaged;
            return RegAPI::kBadDb;
        }
        if ((code & 0xFF) == SQLITE_CANTOPEN) *why = CannotOpen(file_, sqlite3_system_errno(db));
        return MapResult(code);
    };
    if (damaged || rc != SQLITE_DONE) return refuse(rc);

    int appId = 0, tables = 0, version = 0;
    if ((rc = PragmaInt(db, "PRAGMA application_id", &appId)) != SQLITE_OK ||
        (rc = PragmaInt(db, "SELECT count(*) FROM sqlite_master", &tables)) != SQLITE_OK ||
        (rc = PragmaInt(db, "PRAGMA user_version", &version)) != SQLITE_OK)
        return refuse(rc);
    if (appId != kApplicationId) {
        if (tables != 0) {
            damaged = true;  // some other database: keep it, start our own
            return refuse(SQLITE_NOTADB);
        }
        // A new, empty file: lay the tables down, unless another copy of the game has
        // just done so.
        rc = Exec(db, "BEGIN IMMEDIATE");
        if (rc != SQLITE_OK) return refuse(rc);
        rc = PragmaInt(db, "PRAGMA application_id", &appId);
        if (rc == SQLITE_OK && appId != kApplicationId) rc = Exec(db, Schema());
        if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
        if (rc != SQLITE_OK) {
            Exec(db, "ROLLBACK");
            return refuse(rc);
        }
    } else if (version < kSchemaVersion) {
        rc = Upgrade(db);
        if (rc != SQLITE_OK) return refuse(rc);
    }
    rc = impl->Ready();
    if (rc != SQLITE_OK) {
        // Our mark but not our tables: treat it as damaged.
        damaged = (rc & 0xFF) == SQLITE_ERROR || IsCorruption(rc);
        return refuse(rc);
    }
    impl_ = std::move(impl);
    return RegAPI::kSuccess;
}

Status RegistryDb::OpenInMemory() {
    auto impl = std::make_unique<Impl>();
    if (sqlite3_open_v2(":memory:", &impl->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK ||
        Exec(impl->db, "PRAGMA foreign_keys = ON;" + Schema()) != SQLITE_OK ||
        impl->Ready() != SQLITE_OK)
        return RegAPI::kCantOpen;
    impl_ = std::move(impl);
    inMemory_ = true;
    return RegAPI::kSuccess;
}

Status RegistryDb::FindKey(const std::string& path, int64_t* id) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return RegAPI::kFileNotFound;
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;
    const int rc = impl_->Walk(parts, false, id);
    if (rc == SQLITE_ROW) return RegAPI::kSuccess;
    if (rc == SQLITE_DONE) return RegAPI::kFileNotFound;
    return Result(rc);
}

Status RegistryDb::CreateKey(const std::string& path, int64_t* id) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return RegAPI::kBadPathname;
    if (!WithinKeyLimits(parts)) return RegAPI::kInvalidParameter;
    const Status found = FindKey(path, id);
    if (found != RegAPI::kFileNotFound) return found;  // there already, or no store

    Txn txn(*this);
    int rc = txn.Begin(true);
    if (rc == SQLITE_OK) {
        rc = impl_->Walk(parts, true, id);
        if (rc == SQLITE_ROW) rc = txn.Commit();
    }
    return Result(rc);
}

Status RegistryDb::GetValue(int64_t key, const std::string& name, uint32_t* type,
                            std::string* data) {
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;
    Use use(impl_->getValue);
    sqlite3_bind_int64(*use, 1, key);
    BindText(*use, 2, FoldName(name));
    const int rc = sqlite3_step(*use);
    if (rc == SQLITE_DONE) return RegAPI::kFileNotFound;
    if (rc != SQLITE_ROW) return Result(rc);
    *type = static_cast<uint32_t>(sqlite3_column_int64(*use, 0));
    *data = ColumnBytes(*use, 1);
    return RegAPI::kSuccess;
}

Status RegistryDb::SetValue(int64_t key, const std::string& name, uint32_t type,
                            const std::string& data) {
    if (RegistryChars(name) > kMaxValueNameChars) return RegAPI::kInvalidParameter;
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;
    Txn txn(*this);
    int rc = txn.Begin(true);
    if (rc == SQLITE_OK) rc = impl_->Upsert(key, RegValue{name, type, data});
    if (rc == SQLITE_OK) rc = txn.Commit();
    return Result(rc);
}

Status RegistryDb::DeleteKey(const std::string& path) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return RegAPI::kFileNotFound;
    if (parts.empty()) return RegAPI::kAccessDenied;  // the root stays
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;

    Txn txn(*this);
    int rc = txn.Begin(true);
    if (rc != SQLITE_OK) return Result(rc);
    int64_t id = 0;
    rc = impl_->Walk(parts, false, &id);
    if (rc == SQLITE_DONE) return RegAPI::kFileNotFound;
    if (rc != SQLITE_ROW) return Result(rc);
    {
        Use use(impl_->hasChildren);
        sqlite3_bind_int64(*use, 1, id);
        rc = sqlite3_step(*use);
        if (rc == SQLITE_ROW) return RegAPI::kAccessDenied;
        if (rc != SQLITE_DONE) return Result(rc);
    }
    rc = impl_->RunOn(impl_->deleteKey, id);
    if (rc == SQLITE_OK) rc = txn.Commit();
    return Result(rc);
}

Status RegistryDb::DeleteValue(int64_t key, const std::string& name) {
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;
    Txn txn(*this);
    int rc = txn.Begin(true);
    if (rc == SQLITE_OK) rc = impl_->RunOn(impl_->deleteValue, key, &name);
    if (rc != SQLITE_OK) return Result(rc);
    if (sqlite3_changes(impl_->db) == 0) return RegAPI::kFileNotFound;
    return Result(txn.Commit());
}

Status RegistryDb::ReadAll(std::vector<RegKey>* keys) {
    keys->clear();
    if (const Status s = Enter(); s != RegAPI::kSuccess) return s;
    Txn txn(*this);
    int rc = txn.Begin(false);
    if (rc != SQLITE_OK) return Result(rc);

    struct Node {
        int64_t parent = -1;  // -1 for the root
        std::string name, fold;
        std::vector<RegValue> values;
        std::vector<int64_t> children;
    };
    std::unordered_map<int64_t, Node> nodes;
    {
        Use use(impl_->allKeys);
        while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
            Node& node = nodes[sqlite3_column_int64(*use, 0)];
            if (sqlite3_column_type(*use, 1) != SQLITE_NULL) node.parent = sqlite3_column_int64(*use, 1);
            node.name = ColumnText(*use, 2);
            node.fold = ColumnText(*use, 3);
        }
        if (rc != SQLITE_DONE) return Result(rc);
    }
    {
        Use use(impl_->allValues);
        while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
            auto it = nodes.find(sqlite3_column_int64(*use, 0));
            if (it == nodes.end()) continue;
            it->second.values.push_back(
                RegValue{ColumnText(*use, 1), static_cast<uint32_t>(sqlite3_column_int64(*use, 2)),
                         ColumnBytes(*use, 3)});
        }
        if (rc != SQLITE_DONE) return Result(rc);
    }
    rc = txn.Commit();
    if (rc != SQLITE_OK) return Result(rc);

    // Parents before children, brothers in the order of their folded names: the order
    // of the folded parts of their paths.
    for (auto& [id, node] : nodes) {
        auto parent = nodes.find(node.parent);
        if (parent != nodes.end() && id != impl_->root) parent->second.children.push_back(id);
    }
    std::vector<std::pair<int64_t, std::string>> stack{{impl_->root, ""}};
    while (!stack.empty()) {
        auto [id, path] = std::move(stack.back());
        stack.pop_back();
        Node& node = nodes[id];
        std::sort(node.children.begin(), node.children.end(), [&](int64_t a, int64_t b) {
            const Node& x = nodes[a];
            const Node& y = nodes[b];
            return x.fold != y.fold ? x.fold < y.fold : a < b;
        });
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
            const std::string& name = nodes[*child].name;
            stack.emplace_back(*child, path.empty() ? name : path + "\\" + name);
        }
        keys->push_back(RegKey{std::move(path), std::move(node.values)});
    }
    return RegAPI::kSuccess;
}

Status RegistryDb::Apply(const std::vector<RegChange>& changes) {
    Batch batch(*this);
    for (const RegChange& c : changes) {
        Status s = RegAPI::kSuccess;
        switch (c.kind) {
        case RegChange::Kind::CreateKey:
            s = batch.OpenKey(c.path);
            break;
        case RegChange::Kind::SetValue:
            s = batch.OpenKey(c.path);
            if (s == RegAPI::kSuccess) s = batch.SetValue(c.value);
            break;
        case RegChange::Kind::DeleteTree:
            s = batch.DeleteTree(c.path);
            break;
        case RegChange::Kind::DeleteValue:
            s = batch.OpenKey(c.path);
            if (s == RegAPI::kSuccess) s = batch.DeleteValue(c.value.name);
            break;
        }
        if (s != RegAPI::kSuccess) return s;
    }
    return batch.Commit();
}

RegistryDb::Batch::Batch(RegistryDb& db) : db_(db), status_(db.Enter()) {
    if (status_ == RegAPI::kSuccess) status_ = db_.Result(db_.impl_->Run(db_.impl_->begin));
    active_ = status_ == RegAPI::kSuccess;
}

RegistryDb::Batch::~Batch() {
    if (active_) db_.impl_->Run(db_.impl_->rollback);
}

Status RegistryDb::Batch::Failed(Status s) {
    if (status_ == RegAPI::kSuccess) status_ = s;
    return s;
}

Status RegistryDb::Batch::OpenKey(const std::string& path) {
    if (status_ != RegAPI::kSuccess) return status_;
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return Failed(RegAPI::kBadPathname);
    if (!WithinKeyLimits(parts)) return Failed(RegAPI::kInvalidParameter);
    const int rc = db_.impl_->Walk(parts, true, &key_);
    return rc == SQLITE_ROW ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::DeleteTree(const std::string& path) {
    if (status_ != RegAPI::kSuccess) return status_;
    key_ = -1;
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return Failed(RegAPI::kBadPathname);
    if (parts.empty()) return Failed(RegAPI::kAccessDenied);  // the root stays
    int64_t id = 0;
    int rc = db_.impl_->Walk(parts, false, &id);
    if (rc == SQLITE_DONE) return RegAPI::kSuccess;  // nothing to delete
    if (rc == SQLITE_ROW) rc = db_.impl_->RunOn(db_.impl_->deleteTree, id);
    return rc == SQLITE_OK ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::SetValue(const RegValue& value) {
    if (status_ != RegAPI::kSuccess) return status_;
    if (key_ < 0) return Failed(RegAPI::kInvalidHandle);
    if (RegistryChars(value.name) > kMaxValueNameChars) return Failed(RegAPI::kInvalidParameter);
    const int rc = db_.impl_->Upsert(key_, value);
    return rc == SQLITE_OK ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::DeleteValue(const std::string& name) {
    if (status_ != RegAPI::kSuccess) return status_;
    if (key_ < 0) return Failed(RegAPI::kInvalidHandle);
    const int rc = db_.impl_->RunOn(db_.impl_->deleteValue, key_, &name);
    return rc == SQLITE_OK ? RegAPI::kSuccess : Failed(db_.Result(rc));
}

Status RegistryDb::Batch::Commit() {
    if (status_ != RegAPI::kSuccess) return status_;
    const int rc = db_.impl_->Run(db_.impl_->commit);
    if (rc != SQLITE_OK) return Failed(db_.Result(rc));
    active_ = false;
    return RegAPI::kSuccess;
}

std::string UserRegistryFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && home[0] ? home : ".") + "/.config";
    }
    return base + "/karvelo/registry.db";
}

namespace {
std::unique_ptr<RegistryDb> user;
}

RegistryDb& UserRegistry() {
    if (!user) user = std::make_unique<RegistryDb>(UserRegistryFile());
    return *user;
}

void CloseUserRegistry() { user.reset(); }

}  // namespace karvelo
