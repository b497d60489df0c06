#pragma once
// The registry primitives the five RegAPI operations are built on. They follow the
// Windows registry functions closely (handles, access masks, value types, result
// codes), so the operations themselves are written once for every platform. Names and
// paths are UTF-8; a backend converts them to whatever its store keeps.
#include <cstdint>
#include <string>

#include "regapi.h"

namespace RegAPI {

// Result codes, with the values Windows uses for them.
using Status = long;
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr Status kAccessDenied = 5;      // ERROR_ACCESS_DENIED
inline constexpr Status kInvalidHandle = 6;     // ERROR_INVALID_HANDLE
inline constexpr Status kInvalidParameter = 87; // ERROR_INVALID_PARAMETER
inline constexpr Status kBadPathname = 161;     // ERROR_BAD_PATHNAME
inline constexpr Status kBusy = 170;           // ERROR_BUSY: another program holds the store
inline constexpr Status kMoreData = 234;        // ERROR_MORE_DATA
inline constexpr Status kBadDb = 1009;          // ERROR_BADDB
inline constexpr Status kCantOpen = 1011;       // ERROR_CANTOPEN
inline constexpr Status kIoFailed = 1016;       // ERROR_REGISTRY_IO_FAILED
inline constexpr Status kKeyDeleted = 1018;     // ERROR_KEY_DELETED

// Access masks (named apart from the Windows macros, which they equal).
inline constexpr uint32_t kKeyQueryValue = 0x0001;   // KEY_QUERY_VALUE
inline constexpr uint32_t kKeySetValue = 0x0002;     // KEY_SET_VALUE
inline constexpr uint32_t kKeyAllAccess = 0xF003F;   // KEY_ALL_ACCESS

// Value types.
inline constexpr uint32_t kRegNone = 0;       // REG_NONE
inline constexpr uint32_t kRegSz = 1;         // REG_SZ
inline constexpr uint32_t kRegExpandSz = 2;   // REG_EXPAND_SZ
inline constexpr uint32_t kRegBinary = 3;     // REG_BINARY
inline constexpr uint32_t kRegDword = 4;      // REG_DWORD
inline constexpr uint32_t kRegMultiSz = 7;    // REG_MULTI_SZ

using KeyHandle = uintptr_t;

class Backend {
public:
    virtual ~Backend() = default;
    // Creates the key and any missing parents, or opens it when it exists.
    virtual Status CreateKey(RootKey root, const std::string& subKey, uint32_t access,
                             KeyHandle* key) = 0;
    virtual Status OpenKey(RootKey root, const std::string& subKey, uint32_t access,
                           KeyHandle* key) = 0;
    // As RegQueryValueEx: with data null only the type and the size are reported; with
    // a buffer of *size bytes the data is copied and *size set to its length, or
    // kMoreData returned (and *size set to the length needed) when it does not fit.
    // type may be null.
    virtual Status QueryValue(KeyHandle key, const std::string& name, uint32_t* type,
                              uint8_t* data, uint32_t* size) = 0;
    virtual Status SetValue(KeyHandle key, const std::string& name, uint32_t type,
                            const uint8_t* data, uint32_t size) = 0;
    // Deletes a key without sub-keys, with its values.
    virtual Status DeleteKey(RootKey root, const std::string& subKey) = 0;
    virtual Status DeleteValue(KeyHandle key, const std::string& name) = 0;
    virtual Status CloseKey(KeyHandle key) = 0;

    // Bracket a series of reads and writes that belong together (one game's update of
    // the statistics), so that another copy of the game cannot slip its own series in
    // between: each copy then reads what the other wrote instead of writing over it.
    // Nested brackets count as one. A store with transactions keeps a series whole or
    // not at all, and EndSeries of the outermost bracket tells which (a failure status
    // when nothing of it was kept). By default nothing is held and every write is kept
    // or refused on its own.
    virtual void BeginSeries() {}
    virtual Status EndSeries() { return kSuccess; }
    // Takes back everything the open series has written; false where the store cannot.
    virtual bool UndoSeries() { return false; }

    // What the store did about a file it could not use, to be told to the player once:
    // "" when there is nothing to tell.
    virtual std::string TakeNotice() { return {}; }

    // Where another program can hold the store (kBusy), waits after a long one are
    // short; the next wait is a full one again (before the program ends with games
    // still to write).
    virtual void WaitInFullAgain() {}

    // The cause of the last failure, for the player ("The disk holding ... is full."),
    // or "" where the store cannot tell one.
    virtual std::string FailureCause() { return {}; }

    // True while the store stands in for a file it could not read (it plays on in
    // memory beside it): its records are not what the player has stored.
    virtual bool StandsInForUnreadFile() { return false; }

    // The bytes a string value keeps for a UTF-8 text (without the terminating zero),
    // and the text back from such bytes.
    virtual std::string EncodeText(const std::string& utf8) { return utf8; }
    virtual std::string DecodeText(const std::string& stored) { return stored; }
};

// The backend of this build: the Windows registry, or the per-user SQLite store.
Backend& PlatformBackend();

// Hands every primitive to another backend (by default the platform's), series and
// notices included; a stand-in derives from it to change what it needs.
class ForwardingBackend : public Backend {
public:
    explicit ForwardingBackend(Backend* to = nullptr) : to_(to) {}
    Status CreateKey(RootKey root, const std::string& subKey, uint32_t access,
                     KeyHandle* key) override {
        return to().CreateKey(root, subKey, access, key);
    }
    Status OpenKey(RootKey root, const std::string& subKey, uint32_t access,
                   KeyHandle* key) override {
        return to().OpenKey(root, subKey, access, key);
    }
    Status QueryValue(KeyHandle key, const std::string& name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override {
        return to().QueryValue(key, name, type, data, size);
    }
    Status SetValue(KeyHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                    uint32_t size) override {
        return to().SetValue(key, name, type, data, size);
    }
    Status DeleteKey(RootKey root, const std::string& subKey) override {
        return to().DeleteKey(root, subKey);
    }
    Status DeleteValue(KeyHandle key, const std::string& name) override {
        return to().DeleteValue(key, name);
    }
    Status CloseKey(KeyHandle key) override { return to().CloseKey(key); }
    void BeginSeries() override { to().BeginSeries(); }
    Status EndSeries() override { return to().EndSeries(); }
    bool UndoSeries() override { return to().UndoSeries(); }
    std::string TakeNotice() override { return to().TakeNotice(); }
    void WaitInFullAgain() override { to().WaitInFullAgain(); }
    std::string FailureCause() override { return to().FailureCause(); }
    bool StandsInForUnreadFile() override { return to().StandsInForUnreadFile(); }
    std::string EncodeText(const std::string& utf8) override { return to().EncodeText(utf8); }
    std::string DecodeText(const std::string& stored) override { return to().DecodeText(stored); }

protected:
    Backend& to() { return to_ ? *to_ : PlatformBackend(); }

private:
    Backend* to_;
};

// The backend the operations use; tests may install another (null restores the
// platform's).
Backend& backend();
void SetBackend(Backend* b);

}  // namespace RegAPI
