#pragma once
// The per-user store that stands in for the registry where there is none: one SQLite
// database holding keys (by path, compared without regard to case) and their values
// (name, registry type number, raw bytes).
//
// The file is opened on first use and the connection kept. Every write is its own
// transaction, committed with full synchronisation before it returns, so a write that
// has returned survives the program being killed; concurrent copies wait for each
// other's short transactions instead of failing (see Patience). A file that turns out
// not to be a database of ours is renamed aside with a time stamp and a fresh store
// begun.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "reg_backend.h"

namespace karvelo {

struct RegValue {
    std::string name;
    uint32_t type = 0;
    std::string data;  // raw bytes
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

struct RegKey {
    std::string path;  // below HKEY_CURRENT_USER; "" is the root itself
    std::vector<RegValue> values;
    friend bool operator==(const RegKey&, const RegKey&) = default;
};

// One change of an import; a whole list is applied in a single transaction.
struct RegChange {
    enum class Kind { CreateKey, DeleteTree, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    std::string path;
    RegValue value;  // SetValue: all of it; DeleteValue: the name
};

class RegistryDb {
public:
    explicit RegistryDb(std::string file);
    ~RegistryDb();  // ends a series still open
    RegistryDb(const RegistryDb&) = delete;
    RegistryDb& operator=(const RegistryDb&) = delete;

    using Status = RegAPI::Status;

    Status FindKey(const std::string& path, int64_t* id);
    Status CreateKey(const std::string& path, int64_t* id);  // with missing parents
    Status GetValue(int64_t key, const std::string& name, uint32_t* type, std::string* data);
    Status SetValue(int64_t key, const std::string& name, uint32_t type, const std::string& data);
    Status DeleteKey(const std::string& path);  // refused while it has sub-keys
    Status DeleteValue(int64_t key, const std::string& name);

    // Every key, parents before children, with its values in the order written.
    Status ReadAll(std::vector<RegKey>* keys);
    // All or nothing.
    Status Apply(const std::vector<RegChange>& changes);

    // How long an operation waits while another program holds the file. A copy of the
    // game holds it for one short transaction at a time. A hold that outlasts `waitMs`
    // is taken to go on: for `rememberMs` after it, operations wait only
    // `afterHoldMs`, so that a long hold costs the player one long wait, not one for
    // every value of a series. The operation that gives up fails (kIoFailed).
    struct Patience {
        int waitMs = 5000;
        int afterHoldMs = 200;
        int rememberMs = 30000;
    };
    void SetPatience(const Patience& patience) { patience_ = patience; }

    // Holds "<file>.lock" for a series of operations that belong together, against
    // other processes; nested calls count as one. Waits for another holder as long as
    // an operation waits for the file; when the lock cannot be had the series goes on
    // without it (a copy stopped in its series must not stop this one).
    void BeginSeries();
    void EndSeries();

    // Closes the connection; the next call opens the file again.
    void Close();
    const std::string& file() const { return file_; }
    // Where the last unusable file was moved to ("" when none was).
    const std::string& setAside() const { return setAside_; }

    struct Impl;  // the connection and its statements

private:
    Status Open();
    static int OnBusy(void* self, int attempt);

    std::string file_;
    Patience patience_;
    int64_t waitStartedMs_ = 0;
    int64_t heldAtMs_ = -1;  // when a wait last gave up; -1: never
    int seriesDepth_ = 0;
    int seriesLock_ = -1;  // the lock file, while held
    std::string setAside_;
    std::unique_ptr<Impl> impl_;
};

// "$XDG_CONFIG_HOME/karvelo/registry.db", else "$HOME/.config/karvelo/registry.db".
std::string UserRegistryFile();
// The store of the current user, opened at its first use.
RegistryDb& UserRegistry();
// Drops the connection; the next use finds the file again from the environment.
void CloseUserRegistry();

// Splits a key path at its backslashes; false when a part is empty.
bool SplitKeyPath(const std::string& path, std::vector<std::string>* parts);

}  // namespace karvelo
