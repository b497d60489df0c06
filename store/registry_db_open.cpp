// Opening the store's file: finding and checking it, setting it aside, telling the player.
#include "registry_db.h"

#include <limits.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "registry_db_internal.h"
#include "store_session.h"

namespace karvelo {
using namespace registry_db_internal;
namespace {

const char* const kDamaged = "it is damaged or not a store of this game";

// With `followed`, whether what a symbolic link points to exists.
bool Exists(const std::string& file, bool followed = false) {
    struct stat st {};
    return (followed ? ::stat(file.c_str(), &st) : ::lstat(file.c_str(), &st)) == 0;
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
        return "it is a symbolic link to " + to +
               (Exists(file, true) ? ", which cannot be opened" : ", which does not exist") + cause;
    }
    return "it cannot be opened" + cause;
}

}  // namespace

std::string RegistryDb::TakeNotice() {
    std::string notice;
    notice.swap(notice_);
    return notice;
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

        // Something that is no file where the journal belongs goes aside on its own:
        // the store itself is sound.
        if (attempt == 0 && !sideInTheWay_.empty()) {
            const std::string target = sideInTheWay_ + ".corrupt-" + TimeStamp();
            const bool moved = std::rename(sideInTheWay_.c_str(), target.c_str()) == 0;
            sideInTheWay_.clear();
            if (moved) {
                notice_ += told + "\r\nIt was kept as " + target + ".";
                continue;
            }
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
            fileLeftUnread_ = Exists(file_);
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
    if (file_.empty()) {
        *why = "there is no home folder to keep it in";
        return RegAPI::kCantOpen;
    }
    const size_t slash = file_.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : file_.substr(0, slash));
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
    // A symbolic link to nothing is never followed to make a store where it points.
    if (::lstat(file_.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && !Exists(file_, true)) {
        *why = CannotOpen(file_, ENOENT);
        return RegAPI::kCantOpen;
    }
    // Nor does the store begin where its folder may not be written: SQLite would say
    // only that the file cannot be opened.
    if (!Exists(file_, true) && ::access(folder.c_str(), W_OK | X_OK) != 0) {
        *why = "its folder may not be written (" + std::string(std::strerror(errno)) + ")";
        return RegAPI::kCantOpen;
    }
    // What stands where SQLite keeps its journal beside the store and is no file (a
    // folder, a device) makes every write fail; it is moved aside like the store.
    for (const char* suffix : {"-journal", "-wal"}) {
        const std::string side = file_ + suffix;
        if (::lstat(side.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            *why = side + " is " + (S_ISDIR(st.st_mode) ? "a folder" : "no file");
            sideInTheWay_ = side;
            return RegAPI::kCantOpen;
        }
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
        cause_ = FailureCause(code, sqlite3_system_errno(db));
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

std::string UserHome() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    // Never the current folder: where the store is must not depend on where the game
    // was started.
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

std::string UserRegistryFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const std::string home = UserHome();
        if (home.empty()) return {};
        base = (home == "/" ? "" : home) + "/.config";
    }
    return base + "/karvelo/registry.db";
}

RegistryDb& UserRegistry() {
    std::unique_ptr<RegistryDb>& user = session().userRegistry;
    if (!user) user = std::make_unique<RegistryDb>(UserRegistryFile());
    return *user;
}

void CloseUserRegistry() { session().userRegistry.reset(); }

}  // namespace karvelo
