#pragma once
// The per-user store that stands in for the registry where there is none: one SQLite
// database holding keys (each by its parent and its own name, compared without regard
// to case) and their values (name, registry type number, raw bytes).
//
// The file is opened on first use and the connection kept. A write is its own
// transaction, committed with full synchronisation before it returns, unless it
// belongs to a series (BeginSeries .. EndSeries): a series is one transaction, kept
// whole or not at all, and durable when EndSeries has returned. Concurrent copies wait
// for each other's short transactions instead of failing (see Patience). A file that
// cannot be opened as a store (damaged, foreign, a folder, a device...) is reported
// once (TakeNotice), and for the game moved aside with a time stamp and a fresh store
// begun (SetRecoverWhenUnusable).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "reg_backend.h"

namespace karvelo {

// The registry's own limits, which the store keeps too: characters of one part of a
// key path, of a value name, and parts of a key path.
inline constexpr size_t kMaxKeyNameChars = 255;
inline constexpr size_t kMaxValueNameChars = 16383;
inline constexpr size_t kMaxKeyDepth = 512;

// The length of a UTF-8 text in the registry's characters (UTF-16 units).
size_t RegistryChars(const std::string& utf8);

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

// A key of the whole store as a tree: its own name (the root's is ""), its parent's
// place in the same list (the root is its own parent) and its values. Each key's path
// is held once in the names of its chain, however deep it lies.
struct RegNode {
    size_t parent = 0;
    std::string name;
    bool hasSubKeys = false;
    std::vector<RegValue> values;
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
    ~RegistryDb();  // a series still open is dropped, not committed
    RegistryDb(const RegistryDb&) = delete;
    RegistryDb& operator=(const RegistryDb&) = delete;

    using Status = RegAPI::Status;

    Status FindKey(const std::string& path, int64_t* id);
    // With missing parents. Paths deeper than kMaxKeyDepth or with a part longer than
    // kMaxKeyNameChars are refused (kInvalidParameter).
    Status CreateKey(const std::string& path, int64_t* id);
    Status GetValue(int64_t key, const std::string& name, uint32_t* type, std::string* data);
    // A name longer than kMaxValueNameChars is refused (kInvalidParameter).
    Status SetValue(int64_t key, const std::string& name, uint32_t type, const std::string& data);
    Status DeleteKey(const std::string& path);  // refused while it has sub-keys
    Status DeleteValue(int64_t key, const std::string& name);

    // Every key, parents before children (the root first, each key's sub-keys after it
    // and its sub-keys' own), brothers in the order of their folded names, with its
    // values in the order written.
    Status ReadTree(std::vector<RegNode>* nodes);
    // The same with each key's whole path (which for deep keys takes far more memory).
    Status ReadAll(std::vector<RegKey>* keys);
    // All or nothing.
    Status Apply(const std::vector<RegChange>& changes);

    // Changes made one at a time in a single transaction, as an import reads them:
    // nothing of them is kept unless Commit() succeeds. While a batch is open the
    // store takes nothing else.
    class Batch {
    public:
        explicit Batch(RegistryDb& db);
        ~Batch();  // rolls back what was not committed
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        // The key later values go to, made with its parents.
        Status OpenKey(const std::string& path);
        // The key with everything below it; no key is open afterwards.
        Status DeleteTree(const std::string& path);
        Status SetValue(const RegValue& value);
        Status DeleteValue(const std::string& name);  // a missing one is no failure
        Status Commit();

    private:
        Status Failed(Status s);
        RegistryDb& db_;
        Status status_;
        bool active_ = false;
        int64_t key_ = -1;  // the open key; -1 none
    };

    // How long an operation waits while another program holds the file or its lock
    // file (one budget for both). A copy of the game holds them for one short
    // transaction at a time. A hold that outlasts `waitMs` is taken to go on: for
    // `rememberMs` after it (by default the rest of the sitting), waits last only
    // `afterHoldMs`, so that a long hold costs the player one long wait, not one for
    // every game. The operation that gives up fails (kBusy), and the player is told
    // once (TakeNotice).
    struct Patience {
        int waitMs = 5000;
        int afterHoldMs = 200;
        int rememberMs = 1 << 30;
    };
    void SetPatience(const Patience& patience) { patience_ = patience; }
    // The next wait is a full one again.
    void WaitInFullAgain() { heldAtMs_ = -1; }
    // Whether a wait beginning now would be a short one.
    bool WaitsAreShort() const;

    // A series of operations that belong together: one transaction, and "<file>.lock"
    // held against other processes so that another copy's series waits for this one.
    // Nested calls count as one. The lock is waited for as long as an operation waits
    // for the file; when it cannot be had the series goes on without it (a copy stopped
    // in its series must not stop this one). Once an operation of the series has met a
    // failure of the store, the rest of it fail at once and nothing of it is kept.
    void BeginSeries();
    // Ends the outermost series: kSuccess when all it wrote is now kept, else the
    // failure that lost it.
    Status EndSeries();
    // Takes back everything the open series has written, which then goes on afresh.
    bool UndoSeries();

    // What to do with a file that cannot be opened as a store. The game moves it aside
    // and begins a fresh store, or where it cannot be moved goes on with a store in
    // memory for the rest of the run, so that it can be played. By default (a tool
    // that backs the store up) the file is left alone and every operation fails.
    void SetRecoverWhenUnusable(bool on) { recover_ = on; }
    // What was found, and done, about a file that could not be opened as a store,
    // once: "" when nothing was.
    std::string TakeNotice();
    // SQLite's words for the last failure met ("database or disk is full").
    const std::string& lastError() const { return lastError_; }
    // The last failure met, for the player: what is wrong, naming the file ("The disk
    // holding ... is full.").
    const std::string& lastCause() const { return cause_; }

    // Closes the connection; the next call opens the file again.
    void Close();
    const std::string& file() const { return file_; }
    // Whether the game plays on in memory while a file it could not use stays where the
    // store belongs: what that file holds is not what the store shows.
    bool FileLeftUnread() const { return inMemory_ && fileLeftUnread_; }
    // Where the last unusable file was moved to ("" when none was).
    const std::string& setAside() const { return setAside_; }

    struct Impl;  // the connection and its statements

private:
    Status Open();
    Status OpenFile(std::string* why);
    Status OpenInMemory();
    // Before an operation: the connection, or the failure that ended the series.
    Status Enter();
    // A statement's result as a status; a failure inside a series ends it.
    Status Result(int rc);
    bool InSeriesTransaction() const { return seriesTransaction_; }
    static int OnBusy(void* self, int attempt);
    // Names the cause of a failure with SQLite's result code and the system's error.
    std::string FailureCause(int rc, int systemError) const;
    // How long a wait that began at `startMs` may last.
    int64_t WaitLimitMs(int64_t startMs) const;
    // A wait gave up at `nowMs`: later ones are short, and the player is told once.
    void GaveUp(int64_t nowMs);

    std::string file_;
    Patience patience_;
    int64_t waitStartedMs_ = 0;
    int64_t heldAtMs_ = -1;  // when a wait last gave up; -1: never
    bool toldHeld_ = false;
    int seriesDepth_ = 0;
    int seriesLock_ = -1;  // the lock file, while held
    bool seriesTransaction_ = false;
    Status seriesFailure_ = RegAPI::kSuccess;
    bool recover_ = false;
    bool inMemory_ = false;
    bool fileLeftUnread_ = false;
    std::string lastError_;
    std::string cause_;
    std::string setAside_;
    std::string notice_;
    std::string sideInTheWay_;  // what is no file where SQLite's journal belongs
    std::unique_ptr<Impl> impl_;

    class Txn;  // a transaction of one operation, or the series' own
};

// "$XDG_CONFIG_HOME/karvelo/registry.db", else "<home>/.config/karvelo/registry.db"
// with the home folder from $HOME or else the password database; "" when there is
// none.
std::string UserRegistryFile();
// The store of the current user, opened at its first use.
RegistryDb& UserRegistry();
// Drops the connection; the next use finds the file again from the environment.
void CloseUserRegistry();

// Splits a key path at its backslashes; false when a part is empty.
bool SplitKeyPath(const std::string& path, std::vector<std::string>* parts);

}  // namespace karvelo
