// The registry primitives over the per-user SQLite store.
#include <map>

#include "reg_backend.h"
#include "registry_db.h"

namespace RegAPI {
namespace {

// The game's store: where the file cannot be used at all, the game goes on with a store
// in memory after telling the player once.
karvelo::RegistryDb& Db() {
    karvelo::RegistryDb& db = karvelo::UserRegistry();
    db.SetRecoverWhenUnusable(true);
    return db;
}

class SqliteBackend final : public Backend {
public:
    Status CreateKey(RootKey root, const std::string& subKey, uint32_t access,
                     KeyHandle* key) override {
        if (root != HKEY_CURRENT_USER) return kAccessDenied;  // only the user's own store
        int64_t id = 0;
        const Status s = Db().CreateKey(subKey, &id);
        if (s == kSuccess) *key = Issue(id, access);
        return s;
    }

    Status OpenKey(RootKey root, const std::string& subKey, uint32_t access,
                   KeyHandle* key) override {
        if (root != HKEY_CURRENT_USER) return kFileNotFound;
        int64_t id = 0;
        const Status s = Db().FindKey(subKey, &id);
        if (s == kSuccess) *key = Issue(id, access);
        return s;
    }

    Status QueryValue(KeyHandle key, const std::string& name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override {
        const auto it = open_.find(key);
        if (it == open_.end()) return kInvalidHandle;
        if (!(it->second.access & kKeyQueryValue)) return kAccessDenied;
        uint32_t storedType = 0;
        std::string bytes;
        const Status s = Db().GetValue(it->second.id, name, &storedType, &bytes);
        if (s != kSuccess) return s;
        if (type) *type = storedType;
        if (!size) return data ? kInvalidParameter : kSuccess;
        const auto length = static_cast<uint32_t>(bytes.size());
        if (data) {
            if (*size < length) {
                *size = length;
                return kMoreData;
            }
            std::copy(bytes.begin(), bytes.end(), data);
        }
        *size = length;
        return kSuccess;
    }

    void BeginSeries() override { Db().BeginSeries(); }
    Status EndSeries() override { return Db().EndSeries(); }
    bool UndoSeries() override { return Db().UndoSeries(); }
    std::string TakeNotice() override { return Db().TakeNotice(); }
    void WaitInFullAgain() override { Db().WaitInFullAgain(); }
    std::string FailureCause() override { return Db().lastCause(); }
    bool StandsInForUnreadFile() override { return Db().FileLeftUnread(); }

    Status SetValue(KeyHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                    uint32_t size) override {
        const auto it = open_.find(key);
        if (it == open_.end()) return kInvalidHandle;
        if (!(it->second.access & kKeySetValue)) return kAccessDenied;
        const std::string bytes = data ? std::string(reinterpret_cast<const char*>(data), size)
                                       : std::string();
        return Db().SetValue(it->second.id, name, type, bytes);
    }

    Status DeleteKey(RootKey root, const std::string& subKey) override {
        if (root != HKEY_CURRENT_USER) return kAccessDenied;
        return Db().DeleteKey(subKey);
    }

    Status DeleteValue(KeyHandle key, const std::string& name) override {
        const auto it = open_.find(key);
        if (it == open_.end()) return kInvalidHandle;
        if (!(it->second.access & kKeySetValue)) return kAccessDenied;
        return Db().DeleteValue(it->second.id, name);
    }

    Status CloseKey(KeyHandle key) override {
        return open_.erase(key) == 1 ? kSuccess : kInvalidHandle;
    }

private:
    struct OpenKeyInfo {
        int64_t id;
        uint32_t access;
    };

    KeyHandle Issue(int64_t id, uint32_t access) {
        const KeyHandle handle = next_++;
        open_[handle] = OpenKeyInfo{id, access};
        return handle;
    }

    std::map<KeyHandle, OpenKeyInfo> open_;
    KeyHandle next_ = 0x100;
};

}  // namespace

Backend& PlatformBackend() {
    static SqliteBackend instance;
    return instance;
}

}  // namespace RegAPI
