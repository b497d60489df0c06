// `karvelo-reg import` over arbitrary files: the reader either refuses a file with
// the line at fault or hands over changes that the store takes all or nothing; what
// the store then holds, exported and read back into another store, comes back
// exactly. The first byte says in what pieces the file is read a second time, which
// must make no difference.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz_support.h"
#include "regfile.h"
#include "registry_db.h"

namespace {

std::string ScratchFile(const char* name) {
    return (std::filesystem::path(fuzz::ScratchFolder()) /
            ("karvelo-fuzz-import-" + std::to_string(getpid()) + "-" + name + ".db"))
        .string();
}

void Remove(const std::string& file) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) std::remove((file + suffix).c_str());
}

// Hands the changes over as text, for comparing two readings of a file.
class Recorder final : public karvelo::regfile::Sink {
public:
    bool OpenKey(const std::string& path) override { return Add("K" + path); }
    bool DeleteTree(const std::string& path) override { return Add("T" + path); }
    bool SetValue(const karvelo::RegValue& v) override {
        return Add("S" + v.name + '\0' + std::to_string(v.type) + '\0' + v.data);
    }
    bool DeleteValue(const std::string& name) override { return Add("D" + name); }
    std::vector<std::string> seen;

private:
    bool Add(std::string what) {
        seen.push_back(std::move(what));
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseScratchStore();
    static const std::string first = ScratchFile("a"), second = ScratchFile("b");
    if (size == 0) return 0;
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto parsed = karvelo::regfile::Parse(file);

    // Read a few bytes at a time, as the tool reads a file, it reads the same.
    Recorder pieces;
    const auto read =
        karvelo::regfile::Read(karvelo::regfile::TextSource(file, data[0] % 13 + 1), pieces);
    if (read.ok != parsed.ok || read.error != parsed.error) std::abort();
    if (read.ok && pieces.seen.size() != parsed.changes.size()) std::abort();

    if (!parsed.ok) {
        if (parsed.error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    {
        karvelo::RegistryDb db(first);
        if (db.Apply(parsed.changes) == RegAPI::kSuccess) {
            std::vector<karvelo::RegKey> keys;
            if (db.ReadAll(&keys) != RegAPI::kSuccess) std::abort();
            std::vector<karvelo::RegNode> tree;
            if (db.ReadTree(&tree) != RegAPI::kSuccess) std::abort();
            const auto exported = karvelo::regfile::Export(tree);
            if (!exported.ok) std::abort();  // what one file made, one file holds
            const auto again = karvelo::regfile::Parse(exported.text);
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
