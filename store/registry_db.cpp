// Operations on the store's keys and values: transactions, the series, busy waits.
#include "registry_db.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "name_fold.h"
#include "registry_db_internal.h"

namespace karvelo {
using namespace registry_db_internal;
namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
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

int RegistryDb::Impl::Ready() {
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

int RegistryDb::Impl::Run(sqlite3_stmt* s) {
    Use use(s);
    const int rc = sqlite3_step(s);
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int RegistryDb::Impl::Walk(const std::vector<std::string>& parts, bool make, int64_t* id) {
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

int RegistryDb::Impl::Upsert(int64_t key, const RegValue& v) {
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

int RegistryDb::Impl::RunOn(sqlite3_stmt* s, int64_t key, const std::string* name) {
    Use use(s);
    sqlite3_bind_int64(s, 1, key);
    if (name) BindText(s, 2, FoldName(*name));
    const int rc = sqlite3_step(s);
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

RegistryDb::RegistryDb(std::string file) : file_(std::move(file)) {}

RegistryDb::~RegistryDb() {
    impl_.reset();  // closing drops a transaction that was not committed
    if (seriesLock_ >= 0) ::close(seriesLock_);  // closing the file lets go of its lock
}

namespace {

// Whether the store's file cannot grow: its disk (nearly) full, or the file at the size
// the process may write. SQLite does not always keep the system's error for these.
bool NoRoomFor(const std::string& file) {
    const std::string folder = file.substr(0, file.rfind('/') + 1) + ".";
    struct statvfs disk {};
    if (::statvfs(folder.c_str(), &disk) == 0 &&
        static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize < 256 * 1024)
        return true;
    struct rlimit limit {};
    struct stat st {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
           ::stat(file.c_str(), &st) == 0 &&
           static_cast<uint64_t>(st.st_size) + 64 * 1024 > static_cast<uint64_t>(limit.rlim_cur);
}

}  // namespace

std::string RegistryDb::FailureCause(int rc, int systemError) const {
    const int primary = rc & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return "Another program is holding the store " + file_ + ".";
    if (primary == SQLITE_FULL || systemError == ENOSPC || systemError == EDQUOT ||
        systemError == EFBIG || (primary == SQLITE_IOERR && NoRoomFor(file_)))
        return "The disk holding the store " + file_ + " is full.";
    if (IsCorruption(rc)) return "The store " + file_ + " is damaged.";
    if (systemError == EISDIR)
        return "A folder stands where a file of the store " + file_ + " belongs.";
    if (systemError == EROFS)
        return "The store " + file_ + " is on a disk that may only be read.";
    if (primary == SQLITE_READONLY || primary == SQLITE_PERM || systemError == EACCES ||
        systemError == EPERM)
        return "The store " + file_ + " may not be written (no permission).";
    std::string cause = "The store " + file_ + " cannot be used: " + sqlite3_errstr(rc);
    if (systemError) cause += std::string(" (") + std::strerror(systemError) + ")";
    return cause + ".";
}

Status RegistryDb::Result(int rc) {
    const Status s = MapResult(rc);
    if (s != RegAPI::kSuccess) {
        lastError_ = sqlite3_errstr(rc);
        cause_ = FailureCause(rc, impl_ && impl_->db ? sqlite3_system_errno(impl_->db) : 0);
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
        const int64_t limit = WaitLimitMs(start);
        bool locked = true;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int64_t now = NowMs();
            if (errno != EWOULDBLOCK && errno != EINTR) {
                locked = false;
                break;
            }
            if (now - start >= limit) {
                GaveUp(now);
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
int64_t RegistryDb::WaitLimitMs(int64_t startMs) const {
    const bool heldLately = heldAtMs_ >= 0 && startMs - heldAtMs_ < patience_.rememberMs;
    return heldLately ? patience_.afterHoldMs : patience_.waitMs;
}

bool RegistryDb::WaitsAreShort() const {
    return patience_.afterHoldMs < patience_.waitMs && WaitLimitMs(NowMs()) == patience_.afterHoldMs;
}

void RegistryDb::GaveUp(int64_t nowMs) {
    heldAtMs_ = nowMs;
    if (toldHeld_) return;
    toldHeld_ = true;
    if (!notice_.empty()) notice_ += "\r\n";
    notice_ += "Another program is holding the store " + file_ +
               ". The game does not wait for it long again; a game it cannot record now is "
               "recorded as soon as the store is free.";
}

int RegistryDb::OnBusy(void* self, int attempt) {
    auto* db = static_cast<RegistryDb*>(self);
    const int64_t now = NowMs();
    if (attempt == 0) db->waitStartedMs_ = now;
    const int64_t patience = db->WaitLimitMs(db->waitStartedMs_);
    const int64_t waited = now - db->waitStartedMs_;
    if (waited >= patience) {
        db->GaveUp(now);
        return 0;
    }
    // Short sleeps first: a copy of the game is usually done within a few.
    const int64_t nap = std::min<int64_t>(attempt < 10 ? 1 : 10, patience - waited);
    std::this_thread::sleep_for(std::chrono::milliseconds(nap));
    return 1;
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

}  // namespace karvelo
