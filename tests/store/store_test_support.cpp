#include "store_test_support.h"


#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>

#include "registry_db.h"
#endif

namespace karvelo::test {

namespace {
std::string Tail(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

RegAPI::Status LoggingBackend::CreateKey(RegAPI::RootKey root, const std::string& subKey,
                                         uint32_t access, RegAPI::KeyHandle* key) {
    log_->push_back("create " + Tail(subKey));
    const auto s = RegAPI::PlatformBackend().CreateKey(root, subKey, access, key);
    if (s == RegAPI::kSuccess) names_[*key] = Tail(subKey);
    return s;
}
RegAPI::Status LoggingBackend::OpenKey(RegAPI::RootKey root, const std::string& subKey,
                                       uint32_t access, RegAPI::KeyHandle* key) {
    const auto s = RegAPI::PlatformBackend().OpenKey(root, subKey, access, key);
    if (s == RegAPI::kSuccess) names_[*key] = Tail(subKey);
    return s;
}
RegAPI::Status LoggingBackend::QueryValue(RegAPI::KeyHandle key, const std::string& name,
                                          uint32_t* type, uint8_t* data, uint32_t* size) {
    if (!data) log_->push_back("read " + names_[key] + "/" + name);
    return RegAPI::PlatformBackend().QueryValue(key, name, type, data, size);
}
RegAPI::Status LoggingBackend::SetValue(RegAPI::KeyHandle key, const std::string& name,
                                        uint32_t type, const uint8_t* data, uint32_t size) {
    log_->push_back("write " + names_[key] + "/" + name + "=" +
                    Hex(std::string(reinterpret_cast<const char*>(data), size)));
    return RegAPI::PlatformBackend().SetValue(key, name, type, data, size);
}
RegAPI::Status LoggingBackend::DeleteKey(RegAPI::RootKey root, const std::string& subKey) {
    log_->push_back("delete " + Tail(subKey));
    return RegAPI::PlatformBackend().DeleteKey(root, subKey);
}
RegAPI::Status LoggingBackend::DeleteValue(RegAPI::KeyHandle key, const std::string& name) {
    return RegAPI::PlatformBackend().DeleteValue(key, name);
}
RegAPI::Status LoggingBackend::CloseKey(RegAPI::KeyHandle key) {
    names_.erase(key);
    return RegAPI::PlatformBackend().CloseKey(key);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char cell[4];
    for (unsigned char b : bytes) {
        std::snprintf(cell, sizeof cell, "%02X", b);
        if (!out.empty()) out += ' ';
        out += cell;
    }
    return out;
}

void StoreTest::SetUp() {
#ifdef _WIN32
    DeleteUserKeyTree(kApp);
    DeleteUserKeyTree(kScratch);
#else
    std::string pattern =
        (std::filesystem::temp_directory_path() / "karvelo-store-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    ::chmod(pattern.c_str(), 0755);  // tests that drop privileges must still get in
    configDir = pattern;
    ::setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
#endif
    session.emplace();
}

void StoreTest::TearDown() {
    session.reset();
#ifndef _WIN32
    std::error_code ignored;
    std::filesystem::permissions(configDir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    if (std::filesystem::exists(configDir + "/karvelo", ignored))
        std::filesystem::permissions(configDir + "/karvelo", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(configDir, ignored);
#endif
}

void StoreTest::PutRaw(const std::string& key, const std::string& name, uint32_t type,
                       const std::string& bytes) {
    auto& reg = RegAPI::PlatformBackend();
    RegAPI::KeyHandle h = 0;
    ASSERT_EQ(reg.CreateKey(RegAPI::HKEY_CURRENT_USER, key, RegAPI::kKeyAllAccess, &h),
              RegAPI::kSuccess);
    EXPECT_EQ(reg.SetValue(h, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                           static_cast<uint32_t>(bytes.size())),
              RegAPI::kSuccess);
    reg.CloseKey(h);
}

bool StoreTest::GetRaw(const std::string& key, const std::string& name, uint32_t* type,
                       std::string* bytes) {
    auto& reg = RegAPI::PlatformBackend();
    RegAPI::KeyHandle h = 0;
    if (reg.OpenKey(RegAPI::HKEY_CURRENT_USER, key, RegAPI::kKeyQueryValue, &h) !=
        RegAPI::kSuccess)
        return false;
    uint32_t size = 0;
    bool found = reg.QueryValue(h, name, type, nullptr, &size) == RegAPI::kSuccess;
    if (found) {
        std::string data(size, '\0');
        found = reg.QueryValue(h, name, type, reinterpret_cast<uint8_t*>(data.data()), &size) ==
                RegAPI::kSuccess;
        data.resize(size);
        *bytes = data;
    }
    reg.CloseKey(h);
    return found;
}

bool StoreTest::KeyExists(const std::string& key) {
    auto& reg = RegAPI::PlatformBackend();
    RegAPI::KeyHandle h = 0;
    if (reg.OpenKey(RegAPI::HKEY_CURRENT_USER, key, RegAPI::kKeyQueryValue, &h) !=
        RegAPI::kSuccess)
        return false;
    reg.CloseKey(h);
    return true;
}

}  // namespace karvelo::test
