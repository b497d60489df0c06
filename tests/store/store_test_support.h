#pragma once
// What the store's tests share: a host that records message boxes and yields, and a
// fixture that gives every test an empty registry of its own (a fresh per-user
// folder with the SQLite store, or on Windows the program's keys removed) and
// statistics counters at zero.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "recording_host.h"
#include "reg_backend.h"
#include "regapi.h"
#include "surroundings.h"
#include "store_session.h"

namespace karvelo::test {

// Every registry operation the layer makes, as text, in order:
// "read <key tail>/<name>", "write <key tail>/<name>=<bytes>", "create <key tail>",
// "delete <key tail>", where the key tail is the path after the last backslash.
class LoggingBackend final : public RegAPI::Backend {
public:
    explicit LoggingBackend(std::vector<std::string>* log) : log_(log) {}
    RegAPI::Status CreateKey(RegAPI::RootKey root, const std::string& subKey, uint32_t access,
                             RegAPI::KeyHandle* key) override;
    RegAPI::Status OpenKey(RegAPI::RootKey root, const std::string& subKey, uint32_t access,
                           RegAPI::KeyHandle* key) override;
    RegAPI::Status QueryValue(RegAPI::KeyHandle key, const std::string& name, uint32_t* type,
                              uint8_t* data, uint32_t* size) override;
    RegAPI::Status SetValue(RegAPI::KeyHandle key, const std::string& name, uint32_t type,
                            const uint8_t* data, uint32_t size) override;
    RegAPI::Status DeleteKey(RegAPI::RootKey root, const std::string& subKey) override;
    RegAPI::Status DeleteValue(RegAPI::KeyHandle key, const std::string& name) override;
    RegAPI::Status CloseKey(RegAPI::KeyHandle key) override;

private:
    std::vector<std::string>* log_;
    std::map<RegAPI::KeyHandle, std::string> names_;
};

// The application key and a key of the tests' own, both emptied before each test.
inline const std::string kApp = RegAPI::kAppKey;
inline const std::string kCurrent = kApp + "\\Statistik";
inline const std::string kTotal = kApp + "\\StatistikTotal";
inline const std::string kScratch = "Software\\Karvelo Test";

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a value of any type and bytes straight through the registry primitives.
    static void PutRaw(const std::string& key, const std::string& name, uint32_t type,
                       const std::string& bytes);
    // Reads type and bytes straight back; false when the key or value is missing.
    static bool GetRaw(const std::string& key, const std::string& name, uint32_t* type,
                       std::string* bytes);
    static bool KeyExists(const std::string& key);
    static std::string Read(const std::string& key, const std::string& name) {
        return RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, key, name);
    }

    // A sitting of the store's own: counters, failures, the open database.
    std::optional<StoreSession> session;
    RecordingHost host;
    // The host above answers for the test's lifetime.
    funktioner::Surroundings surroundings{{.host = &host}};
    std::string configDir;  // the per-user folder of this test ("" on Windows)
};

#ifdef _WIN32
// Removes a key of HKEY_CURRENT_USER with everything below it.
void DeleteUserKeyTree(const std::string& path);
#endif

// Bytes as text for comparisons: "02 00 00 00".
std::string Hex(const std::string& bytes);

}  // namespace karvelo::test
