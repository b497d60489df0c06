#pragma once
// Registry files: the "Windows Registry Editor Version 5.00" text that Windows'
// registry editor reads and writes, for the keys and values of the per-user store.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "registry_db.h"

namespace karvelo::regfile {

inline constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

// The largest file that is read; a larger one is refused (before reading, where its
// size is known beforehand).
inline constexpr uint64_t kMaxFileBytes = uint64_t{16} << 20;

enum class Encoding {
    kUtf8,   // CR LF line ends, no byte-order mark
    kUtf16,  // little-endian with a byte-order mark, as the registry editor writes files
};

struct Exported {
    bool ok = false;
    std::string text;   // the file, when ok
    std::string error;  // why there is none, when not
};

// The whole store as a registry file that Read takes back to the same keys and values.
// Strings that read back exactly are written quoted, 4-byte numbers as dword:,
// binaries as hex:, anything else as hex(type):, so every value of every type comes
// back byte for byte. A key is written where it has values or no sub-keys; one that
// only leads to its sub-keys is implied by their paths, which Read creates with their
// parents, so a chain of keys costs one line and not one per level. Refused (and
// nothing made beyond the limit) when the file would be larger than kMaxFileBytes, or
// when a name cannot be carried by a registry file's lines (a line break in it, or
// text that is not UTF-8).
// `keys` as RegistryDb::ReadTree gives them.
Exported Export(const std::vector<RegNode>& keys, Encoding encoding = Encoding::kUtf8);

// UTF-16 little-endian with a byte-order mark, as the registry editor writes files.
std::string ToUtf16(const std::string& utf8);

// Where the changes of a file go, in the file's order; a call that returns false stops
// the reading.
class Sink {
public:
    virtual ~Sink() = default;
    virtual bool OpenKey(const std::string& path) = 0;     // [path]: later values go here
    virtual bool DeleteTree(const std::string& path) = 0;  // [-path]
    virtual bool SetValue(const RegValue& value) = 0;      // "name"=...
    virtual bool DeleteValue(const std::string& name) = 0; // "name"=-
};

// The bytes of a file, a piece at a time: fills up to `size` bytes at `buffer` and
// returns how many, 0 at the end of the file, -1 when it cannot be read.
using Source = std::function<long(char* buffer, size_t size)>;

// A file held in memory as a source, handed out in pieces of at most `piece` bytes.
// `text` must outlive the source.
Source TextSource(const std::string& text, size_t piece = SIZE_MAX);

struct Result {
    bool ok = false;
    std::string error;     // "line 7: ...", or what is wrong with the whole file
    bool stopped = false;  // the sink refused a change (and knows why)
    uint64_t values = 0;   // values set
};

// Reads a registry file (UTF-8 with or without a byte-order mark, or UTF-16 LE) a
// piece at a time and hands each change to `sink` as soon as its line is complete, so
// memory grows with the longest line, not with the file. Stops at the first fault:
// a file larger than kMaxFileBytes, a key deeper than kMaxKeyDepth, a key name longer
// than kMaxKeyNameChars, a value name longer than kMaxValueNameChars, or anything the
// format does not allow. A caller that must import all or nothing applies the changes
// in one transaction and drops them on a fault. Only HKEY_CURRENT_USER keys are
// accepted; "[-key]" and "name"=- delete.
Result Read(const Source& source, Sink& sink);

struct Parsed {
    bool ok = false;
    std::string error;  // "line 7: ..." when not ok
    std::vector<RegChange> changes;
};

// A file in memory read as above into a list of changes; none when it is refused.
Parsed Parse(const std::string& file);

}  // namespace karvelo::regfile
