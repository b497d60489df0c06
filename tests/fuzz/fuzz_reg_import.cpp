// `karvelo-reg import` over arbitrary files: the reader either refuses a file with
// the line at fault or hands over changes that the store takes all or nothing; what
// the store then holds, exported and read back into another store, comes back
// exactly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "regfile.h"
#include "registry_db.h"

namespace {

std::string ScratchFile(const char* name) {
    return (std::filesystem::temp_directory_path() /
            ("karvelo-fuzz-import-" + std::to_string(getpid()) + "-" + name + ".db"))
        .string();
}

void Remove(const std::string& file) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) std::remove((file + suffix).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseScratchStore();
    static const std::string first = ScratchFile("a"), second = ScratchFile("b");
    const auto parsed = karvelo::regfile::Parse(std::string(reinterpret_cast<const char*>(data), size));
    if (!parsed.ok) {
        if (parsed.error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    {
        karvelo::RegistryDb db(first);
        if (db.Apply(parsed.changes) == RegAPI::kSuccess) {
            std::vector<karvelo::RegKey> keys;
            if (db.ReadAll(&keys) != RegAPI::kSuccess) std::abort();
            const auto again = karvelo::regfile::Parse(karvelo::regfile::Export(keys));
            if (!again.ok) std::abort();  // the store's own export must read back
            karvelo::RegistryDb copy(second);
            std::vector<karvelo::RegKey> copied;
            if (copy.Apply(again.changes) != RegAPI::kSuccess) std::abort();
            if (copy.ReadAll(&copied) != RegAPI::kSuccess || copied != keys) std::abort();
        } else {
            // Refused as a whole: nothing of it may be there.
            std::vector<karvelo::RegKey> keys;
            if (db.ReadAll(&keys) == RegAPI::kSuccess && keys.size() > 1) std::abort();
        }
    }
    Remove(first);
    Remove(second);
    return 0;
}
