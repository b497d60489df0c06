#pragma once
// Another program holding the store: an open SQLite transaction on a connection of its
// own, or the lock file the game's copies take turns with.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

namespace karvelo::test {

class Holder {
public:
    // "EXCLUSIVE" keeps readers out too; "IMMEDIATE" only writers.
    explicit Holder(const std::string& file, const char* mode = "EXCLUSIVE") {
        sqlite3_open(file.c_str(), &db_);
        ok_ = sqlite3_exec(db_, (std::string("BEGIN ") + mode).c_str(), nullptr, nullptr,
                           nullptr) == SQLITE_OK;
    }
    ~Holder() {
        Release();
        sqlite3_close(db_);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool holding() const { return ok_; }
    void Release() {
        if (ok_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        ok_ = false;
    }

private:
    sqlite3* db_ = nullptr;
    bool ok_ = false;
};

// flock on "<store>.lock" through a descriptor of its own, as `flock -x` would.
class LockFileHolder {
public:
    explicit LockFileHolder(const std::string& storeFile)
        : fd_(::open((storeFile + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        ok_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~LockFileHolder() { Release(); }
    LockFileHolder(const LockFileHolder&) = delete;
    LockFileHolder& operator=(const LockFileHolder&) = delete;
    bool holding() const { return ok_; }
    void Release() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        ok_ = false;
    }

private:
    int fd_;
    bool ok_ = false;
};

}  // namespace karvelo::test
