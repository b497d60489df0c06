// Any sequence of the store's own operations, series and their undoing among them,
// against a plain model of keys and values: whatever the store answers must be what
// the model says, and after the sequence (and after opening the file again) the store
// must hold exactly what the model holds, keys in order, names as first written.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz_support.h"
#include "name_fold.h"
#include "registry_db.h"

namespace {

using karvelo::RegKey;
using karvelo::RegValue;

struct Key {
    std::string path;             // as first written
    std::vector<RegValue> values; // in the order first written
};

// Keys by their folded parts, so that the map's order is the store's order.
using Model = std::map<std::vector<std::string>, Key>;

std::vector<std::string> Folded(const std::string& path) {
    std::vector<std::string> parts;
    karvelo::SplitKeyPath(karvelo::FoldName(path), &parts);
    return parts;
}

// A few names that differ only by case, accented letters among them.
const char* const kParts[] = {"a", "A", "b", "\xC3\xA4", "\xC3\x84", "Stat 1", "STAT 1"};

std::string PathFrom(fuzz::Bytes& in) {
    std::string path;
    const int depth = in.Byte() % 4;
    for (int i = 0; i < depth; ++i) path += (i ? "\\" : "") + std::string(kParts[in.Byte() % 7]);
    return path;
}

// A key and its missing parents, each named as written below its parent's name.
void MakeKey(Model& model, const std::string& path) {
    std::vector<std::string> parts;
    karvelo::SplitKeyPath(path, &parts);
    std::vector<std::string> folded;
    std::string parent;  // the parent's path as stored
    for (size_t i = 0; i <= parts.size(); ++i) {
        if (i) folded.push_back(karvelo::FoldName(parts[i - 1]));
        const std::string written = i == 0 ? "" : (i == 1 ? "" : parent + "\\") + parts[i - 1];
        parent = model.emplace(folded, Key{written, {}}).first->second.path;
    }
}

void Check(bool ok) {
    if (!ok) std::abort();
}

void Compare(karvelo::RegistryDb& db, const Model& model) {
    std::vector<RegKey> keys;
    Check(db.ReadAll(&keys) == RegAPI::kSuccess);
    Check(keys.size() == model.size());
    size_t i = 0;
    for (const auto& [parts, key] : model) {
        Check(keys[i].path == key.path);
        Check(keys[i].values == key.values);
        ++i;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseScratchStore();
    static const std::string file = (std::filesystem::path(fuzz::ScratchFolder()) /
                                     ("karvelo-fuzz-ops-" + std::to_string(getpid()) + ".db"))
                                        .string();
    for (const char* suffix : {"", "-journal", ".lock"}) std::remove((file + suffix).c_str());

    fuzz::Bytes in(data, size);
    Model model;
    MakeKey(model, "");
    Model atSeries;  // the model when the open series began
    int depth = 0;
    {
        karvelo::RegistryDb db(file);
        for (int steps = 0; steps < 64 && !in.empty(); ++steps) {
            const std::string path = PathFrom(in);
            const auto folded = Folded(path);
            int64_t id = 0;
            switch (in.Byte() % 8) {
            case 0:
                Check(db.CreateKey(path, &id) == RegAPI::kSuccess);
                MakeKey(model, path);
                break;
            case 1: {
                const RegValue v{kParts[in.Byte() % 7], static_cast<uint32_t>(in.Byte() % 5),
                                 in.Text(6)};
                Check(db.CreateKey(path, &id) == RegAPI::kSuccess);
                Check(db.SetValue(id, v.name, v.type, v.data) == RegAPI::kSuccess);
                MakeKey(model, path);
                auto& values = model[folded].values;
                bool found = false;
                for (RegValue& old : values) {
                    if (karvelo::FoldName(old.name) != karvelo::FoldName(v.name)) continue;
                    old.type = v.type;  // the name stays as first written
                    old.data = v.data;
                    found = true;
                }
                if (!found) values.push_back(v);
                break;
            }
            case 2: {
                const RegAPI::Status s = db.DeleteKey(path);
                const auto it = model.find(folded);
                const auto next = it == model.end() ? it : std::next(it);
                const bool hasChildren = next != model.end() && next->first.size() > folded.size() &&
                                         std::equal(folded.begin(), folded.end(), next->first.begin());
                if (path.empty()) {
                    Check(s == RegAPI::kAccessDenied);
                } else if (it == model.end()) {
                    Check(s == RegAPI::kFileNotFound);
                } else if (hasChildren) {
                    Check(s == RegAPI::kAccessDenied);
                } else {
                    Check(s == RegAPI::kSuccess);
                    model.erase(it);
                }
                break;
            }
            case 3: {
                const std::string name = kParts[in.Byte() % 7];
                const auto it = model.find(folded);
                if (it == model.end() || db.FindKey(path, &id) != RegAPI::kSuccess) {
                    Check(it == model.end() && db.FindKey(path, &id) == RegAPI::kFileNotFound);
                    break;
                }
                auto& values = it->second.values;
                const size_t before = values.size();
                std::erase_if(values, [&](const RegValue& v) {
                    return karvelo::FoldName(v.name) == karvelo::FoldName(name);
                });
                Check(db.DeleteValue(id, name) ==
                      (values.size() < before ? RegAPI::kSuccess : RegAPI::kFileNotFound));
                break;
            }
            case 4:
                if (depth++ == 0) atSeries = model;
                db.BeginSeries();
                break;
            case 5:
                if (depth == 0) break;
                --depth;
                Check(db.EndSeries() == RegAPI::kSuccess);
                break;
            case 6:
                if (depth == 0) break;
                Check(db.UndoSeries());
                model = atSeries;
                break;
            case 7: {
                const std::string name = kParts[in.Byte() % 7];
                const auto it = model.find(folded);
                const bool keyThere = db.FindKey(path, &id) == RegAPI::kSuccess;
                Check(keyThere == (it != model.end()));
                if (!keyThere) break;
                uint32_t type = 0;
                std::string bytes;
                const RegAPI::Status s = db.GetValue(id, name, &type, &bytes);
                const RegValue* expected = nullptr;
                for (const RegValue& v : it->second.values)
                    if (karvelo::FoldName(v.name) == karvelo::FoldName(name)) expected = &v;
                Check(expected ? s == RegAPI::kSuccess && type == expected->type &&
                                     bytes == expected->data
                               : s == RegAPI::kFileNotFound);
                break;
            }
            }
        }
        while (depth-- > 0) Check(db.EndSeries() == RegAPI::kSuccess);
        Compare(db, model);
    }
    {
        karvelo::RegistryDb again(file);  // everything that returned was kept
        Compare(again, model);
    }
    for (const char* suffix : {"", "-journal", ".lock"}) std::remove((file + suffix).c_str());
    return 0;
}
