// The SQLite file behind the registry operations on systems without a registry.
#include "registry_db.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <thread>

#include "name_fold.h"

namespace karvelo {
namespace {

using RegAPI::Status;

// "KRVL": marks a database as this store, so a foreign one is never written into.
constexpr int kApplicationId = 0x4B52564C;
constexpr int kSchemaVersion = 1;

const char* const kSchema =
    "CREATE TABLE keys("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  path TEXT NOT NULL,"            // as first written
    "  fold TEXT NOT NULL UNIQUE);"    // compared and looked up
    "CREATE TABLE vals("
    "  key_id INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL,"
    "  fold TEXT NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  UNIQUE(key_id, fold));"
    "INSERT INTO keys(path, fold) VALUES('', '');";

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

std::string JoinPath(const std::vector<std::string>& parts, size_t count) {
    std::string path;
    for (size_t i = 0; i < count; ++i) {
        if (i) path += '\\';
        path += parts[i];
    }
    return path;
}

bool Exists(const std::string& file) {
    struct stat st {};
    return ::lstat(file.c_str(), &st) == 0;
}

bool MakeDirectories(const std::string& dir) {
    if (dir.empty()) return true;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        const std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
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

}  // namespace

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

    sqlite3_stmt* findKey = nullptr;
    sqlite3_stmt* insertKey = nullptr;
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
        for (sqlite3_stmt* s : {findKey, insertKey, getValue, setValue, hasChildren, deleteKey,
                                deleteTree, deleteValue, allKeys, allValues, begin, beginRead,
                                commit, rollback})
            sqlite3_finalize(s);
        sqlite3_close_v2(db);
    }

    Status Fail(int rc) {
        if (IsCorruption(rc)) broken = true;
        return MapResult(rc);
    }

    int Prepare(const char* sql, sqlite3_stmt** s) {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, s, nullptr);
    }

    int PrepareAll() {
        const std::pair<const char*, sqlite3_stmt**> all[] = {
            {"SELECT id FROM keys WHERE fold = ?1", &findKey},
            {"INSERT INTO keys(path, fold) VALUES(?1, ?2) ON CONFLICT(fold) DO NOTHING",
             &insertKey},
            {"SELECT type, data FROM vals WHERE key_id = ?1 AND fold = ?2", &getValue},
            {"INSERT INTO vals(key_id, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
             "ON CONFLICT(key_id, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
             &setValue},
            {"SELECT 1 FROM keys WHERE fold > ?1 AND fold < ?2 LIMIT 1", &hasChildren},
            {"DELETE FROM keys WHERE id = ?1", &deleteKey},
            {"DELETE FROM keys WHERE fold <> '' AND (fold = ?1 OR (fold > ?2 AND fold < ?3))",
             &deleteTree},
            {"DELETE FROM vals WHERE key_id = ?1 AND fold = ?2", &deleteValue},
            {"SELECT id, path FROM keys", &allKeys},
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
        return SQLITE_OK;
    }

    int Run(sqlite3_stmt* s) {
        Use use(s);
        const int rc = sqlite3_step(s);
        return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
    }

    // Looks a folded path up: SQLITE_ROW with *id, SQLITE_DONE when missing, or an error.
    int Lookup(const std::string& fold, int64_t* id) {
        Use use(findKey);
        BindText(findKey, 1, fold);
        const int rc = sqlite3_step(findKey);
        if (rc == SQLITE_ROW) *id = sqlite3_column_int64(findKey, 0);
        return rc;
    }

    // Inserts the key and every missing parent; inside a write transaction.
    int InsertPath(const std::vector<std::string>& parts, int64_t* id) {
        for (size_t n = 1; n <= parts.size(); ++n) {
            const std::string path = JoinPath(parts, n);
            Use use(insertKey);
            BindText(insertKey, 1, path);
            BindText(insertKey, 2, FoldName(path));
            const int rc = sqlite3_step(insertKey);
            if (rc != SQLITE_DONE) return rc;
        }
        const int rc = Lookup(FoldName(JoinPath(parts, parts.size())), id);
        return rc == SQLITE_ROW ? SQLITE_OK : (rc == SQLITE_DONE ? SQLITE_CORRUPT : rc);
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
};

namespace {

// A transaction that is rolled back unless committed.
class Transaction {
public:
    explicit Transaction(RegistryDb::Impl& db) : db_(db) {}
    ~Transaction() {
        if (active_) db_.Run(db_.rollback);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    int Begin(bool write) {
        const int rc = db_.Run(write ? db_.begin : db_.beginRead);
        active_ = rc == SQLITE_OK;
        return rc;
    }
    int Commit() {
        const int rc = db_.Run(db_.commit);
        if (rc == SQLITE_OK) active_ = false;
        return rc;
    }

private:
    RegistryDb::Impl& db_;
    bool active_ = false;
};

}  // namespace

RegistryDb::RegistryDb(std::string file) : file_(std::move(file)) {}

RegistryDb::~RegistryDb() {
    if (seriesLock_ >= 0) ::close(seriesLock_);  // closing the file lets go of its lock
}

void RegistryDb::BeginSeries() {
    if (seriesDepth_++ > 0) return;
    const std::string lockFile = file_ + ".lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;  // no folder to lock in: the operations report that themselves
    const int64_t start = NowMs();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || NowMs() - start >= patience_.waitMs) {
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    seriesLock_ = fd;
}

void RegistryDb::EndSeries() {
    if (seriesDepth_ == 0 || --seriesDepth_ > 0) return;
    if (seriesLock_ >= 0) ::close(seriesLock_);
    seriesLock_ = -1;
}

void RegistryDb::Close() { impl_.reset(); }

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
        bool damaged = false;
        auto impl = std::make_unique<Impl>();
        const Status s = [&]() -> Status {
            const size_t slash = file_.rfind('/');
            if (slash != std::string::npos && !MakeDirectories(file_.substr(0, slash)))
                return RegAPI::kCantOpen;
            if (sqlite3_open_v2(file_.c_str(), &impl->db,
                                SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
                return RegAPI::kCantOpen;
            sqlite3_extended_result_codes(impl->db, 1);
            sqlite3_busy_handler(impl->db, &RegistryDb::OnBusy, this);
            sqlite3_exec(impl->db, "PRAGMA foreign_keys = ON; PRAGMA synchronous = FULL;",
                         nullptr, nullptr, nullptr);

            // Check the file through before trusting it.
            sqlite3_stmt* check = nullptr;
            int rc = impl->Prepare("PRAGMA quick_check", &check);
            bool ok = rc == SQLITE_OK;
            while (ok && (rc = sqlite3_step(check)) == SQLITE_ROW)
                if (ColumnText(check, 0) != "ok") damaged = true;
            sqlite3_finalize(check);
            if (IsCorruption(rc)) damaged = true;
            if (damaged) return RegAPI::kBadDb;
            if (rc != SQLITE_DONE) return MapResult(rc);

            auto pragmaInt = [&](const char* sql, int* out) {
                sqlite3_stmt* st = nullptr;
                int r = impl->Prepare(sql, &st);
                if (r == SQLITE_OK && (r = sqlite3_step(st)) == SQLITE_ROW) {
                    *out = sqlite3_column_int(st, 0);
                    r = SQLITE_OK;
                }
                sqlite3_finalize(st);
                return r;
            };
            int appId = 0, tables = 0;
            if ((rc = pragmaInt("PRAGMA application_id", &appId)) != SQLITE_OK ||
                (rc = pragmaInt("SELECT count(*) FROM sqlite_master", &tables)) != SQLITE_OK) {
                damaged = IsCorruption(rc);
                return MapResult(rc);
            }
            if (appId != kApplicationId) {
                if (tables != 0) {
                    damaged = true;  // some other database: keep it, start our own
                    return RegAPI::kBadDb;
                }
                // A new, empty file: lay the tables down, unless another copy of the
                // game has just done so.
                rc = sqlite3_exec(impl->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
                if (rc != SQLITE_OK) return MapResult(rc);
                rc = pragmaInt("PRAGMA application_id", &appId);
                if (rc == SQLITE_OK && appId != kApplicationId) {
                    const std::string sql = std::string(kSchema) +
                                            "PRAGMA application_id = " +
                                            std::to_string(kApplicationId) +
                                            "; PRAGMA user_version = " +
                                            std::to_string(kSchemaVersion) + ";";
                    rc = sqlite3_exec(impl->db, sql.c_str(), nullptr, nullptr, nullptr);
                }
                if (rc == SQLITE_OK) rc = sqlite3_exec(impl->db, "COMMIT", nullptr, nullptr, nullptr);
                if (rc != SQLITE_OK) {
                    sqlite3_exec(impl->db, "ROLLBACK", nullptr, nullptr, nullptr);
                    return MapResult(rc);
                }
            }
            rc = impl->PrepareAll();
            if (rc != SQLITE_OK) {
                // Our mark but not our tables: treat it as damaged.
                damaged = (rc & 0xFF) == SQLITE_ERROR || IsCorruption(rc);
                return damaged ? RegAPI::kBadDb : MapResult(rc);
            }
            return RegAPI::kSuccess;
        }();
        if (s == RegAPI::kSuccess) {
            impl_ = std::move(impl);
            return s;
        }
        impl.reset();  // the file must be closed before it is moved
        if (!damaged) return s;

        // Keep the damaged file (and its journal) under a new name and begin afresh.
        std::string target = file_ + ".corrupt-" + TimeStamp();
        for (int n = 2; Exists(target) && n < 1000; ++n)
            target = file_ + ".corrupt-" + TimeStamp() + "-" + std::to_string(n);
        if (std::rename(file_.c_str(), target.c_str()) != 0) return RegAPI::kBadDb;
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            const std::string side = file_ + suffix;
            if (Exists(side) && std::rename(side.c_str(), (target + suffix).c_str()) != 0)
                return RegAPI::kBadDb;  // a stale journal must never meet a new file
        }
        setAside_ = target;
        std::fprintf(stderr, "karvelo: %s was damaged; kept as %s, a new store begun\n",
                     file_.c_str(), target.c_str());
    }
    return RegAPI::kBadDb;
}

Status RegistryDb::FindKey(const std::string& path, int64_t* id) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return RegAPI::kFileNotFound;
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;
    const int rc = impl_->Lookup(FoldName(path), id);
    if (rc == SQLITE_ROW) return RegAPI::kSuccess;
    if (rc == SQLITE_DONE) return RegAPI::kFileNotFound;
    return impl_->Fail(rc);
}

Status RegistryDb::CreateKey(const std::string& path, int64_t* id) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return RegAPI::kBadPathname;
    const Status found = FindKey(path, id);
    if (found != RegAPI::kFileNotFound) return found;  // there already, or no store

    Transaction txn(*impl_);
    int rc = txn.Begin(true);
    if (rc == SQLITE_OK) rc = impl_->InsertPath(parts, id);
    if (rc == SQLITE_OK) rc = txn.Commit();
    return impl_->Fail(rc);
}

Status RegistryDb::GetValue(int64_t key, const std::string& name, uint32_t* type,
                            std::string* data) {
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;
    Use use(impl_->getValue);
    sqlite3_bind_int64(*use, 1, key);
    BindText(*use, 2, FoldName(name));
    const int rc = sqlite3_step(*use);
    if (rc == SQLITE_DONE) return RegAPI::kFileNotFound;
    if (rc != SQLITE_ROW) return impl_->Fail(rc);
    *type = static_cast<uint32_t>(sqlite3_column_int64(*use, 0));
    *data = ColumnBytes(*use, 1);
    return RegAPI::kSuccess;
}

Status RegistryDb::SetValue(int64_t key, const std::string& name, uint32_t type,
                            const std::string& data) {
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;
    Transaction txn(*impl_);
    int rc = txn.Begin(true);
    if (rc == SQLITE_OK) rc = impl_->Upsert(key, RegValue{name, type, data});
    if (rc == SQLITE_OK) rc = txn.Commit();
    return impl_->Fail(rc);
}

Status RegistryDb::DeleteKey(const std::string& path) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, &parts)) return RegAPI::kFileNotFound;
    if (parts.empty()) return RegAPI::kAccessDenied;  // the root stays
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;

    Transaction txn(*impl_);
    int rc = txn.Begin(true);
    if (rc != SQLITE_OK) return impl_->Fail(rc);
    const std::string fold = FoldName(path);
    int64_t id = 0;
    rc = impl_->Lookup(fold, &id);
    if (rc == SQLITE_DONE) return RegAPI::kFileNotFound;
    if (rc != SQLITE_ROW) return impl_->Fail(rc);
    {
        Use use(impl_->hasChildren);
        BindText(*use, 1, fold + "\\");
        BindText(*use, 2, fold + "]");  // ']' follows '\' directly
        rc = sqlite3_step(*use);
        if (rc == SQLITE_ROW) return RegAPI::kAccessDenied;
        if (rc != SQLITE_DONE) return impl_->Fail(rc);
    }
    {
        Use use(impl_->deleteKey);
        sqlite3_bind_int64(*use, 1, id);
        rc = sqlite3_step(*use);
        if (rc != SQLITE_DONE) return impl_->Fail(rc);
    }
    return impl_->Fail(txn.Commit());
}

Status RegistryDb::DeleteValue(int64_t key, const std::string& name) {
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;
    Transaction txn(*impl_);
    int rc = txn.Begin(true);
    if (rc != SQLITE_OK) return impl_->Fail(rc);
    {
        Use use(impl_->deleteValue);
        sqlite3_bind_int64(*use, 1, key);
        BindText(*use, 2, FoldName(name));
        rc = sqlite3_step(*use);
        if (rc != SQLITE_DONE) return impl_->Fail(rc);
    }
    if (sqlite3_changes(impl_->db) == 0) return RegAPI::kFileNotFound;
    return impl_->Fail(txn.Commit());
}

Status RegistryDb::ReadAll(std::vector<RegKey>* keys) {
    keys->clear();
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;
    Transaction txn(*impl_);
    int rc = txn.Begin(false);
    if (rc != SQLITE_OK) return impl_->Fail(rc);

    std::map<int64_t, RegKey> byId;
    {
        Use use(impl_->allKeys);
        while ((rc = sqlite3_step(*use)) == SQLITE_ROW)
            byId[sqlite3_column_int64(*use, 0)].path = ColumnText(*use, 1);
        if (rc != SQLITE_DONE) return impl_->Fail(rc);
    }
    {
        Use use(impl_->allValues);
        while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
            auto it = byId.find(sqlite3_column_int64(*use, 0));
            if (it == byId.end()) continue;
            it->second.values.push_back(
                RegValue{ColumnText(*use, 1), static_cast<uint32_t>(sqlite3_column_int64(*use, 2)),
                         ColumnBytes(*use, 3)});
        }
        if (rc != SQLITE_DONE) return impl_->Fail(rc);
    }
    rc = txn.Commit();
    if (rc != SQLITE_OK) return impl_->Fail(rc);

    // Parents before children: order by the folded parts of the path.
    std::vector<std::pair<std::vector<std::string>, RegKey>> sorted;
    for (auto& [id, key] : byId) {
        std::vector<std::string> parts;
        SplitKeyPath(FoldName(key.path), &parts);
        sorted.emplace_back(std::move(parts), std::move(key));
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& entry : sorted) keys->push_back(std::move(entry.second));
    return RegAPI::kSuccess;
}

Status RegistryDb::Apply(const std::vector<RegChange>& changes) {
    if (const Status s = Open(); s != RegAPI::kSuccess) return s;
    Transaction txn(*impl_);
    int rc = txn.Begin(true);
    for (size_t i = 0; rc == SQLITE_OK && i < changes.size(); ++i) {
        const RegChange& c = changes[i];
        std::vector<std::string> parts;
        if (!SplitKeyPath(c.path, &parts)) return RegAPI::kBadPathname;
        const std::string fold = FoldName(c.path);
        int64_t id = 0;
        switch (c.kind) {
        case RegChange::Kind::CreateKey:
            rc = impl_->InsertPath(parts, &id);
            break;
        case RegChange::Kind::SetValue:
            rc = impl_->InsertPath(parts, &id);
            if (rc == SQLITE_OK) rc = impl_->Upsert(id, c.value);
            break;
        case RegChange::Kind::DeleteTree: {
            if (parts.empty()) return RegAPI::kAccessDenied;  // the root stays
            Use use(impl_->deleteTree);
            BindText(*use, 1, fold);
            BindText(*use, 2, fold + "\\");
            BindText(*use, 3, fold + "]");
            rc = sqlite3_step(*use);
            rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
            break;
        }
        case RegChange::Kind::DeleteValue: {
            rc = impl_->Lookup(fold, &id);
            if (rc == SQLITE_DONE) {
                rc = SQLITE_OK;
                break;
            }
            if (rc != SQLITE_ROW) break;
            Use use(impl_->deleteValue);
            sqlite3_bind_int64(*use, 1, id);
            BindText(*use, 2, FoldName(c.value.name));
            rc = sqlite3_step(*use);
            rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
            break;
        }
        }
    }
    if (rc == SQLITE_OK) rc = txn.Commit();
    return impl_->Fail(rc);
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
