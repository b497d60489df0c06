#pragma once
// Registry files: the "Windows Registry Editor Version 5.00" text that Windows'
// registry editor reads and writes, for the keys and values of the per-user store.
#include <string>
#include <vector>

#include "registry_db.h"

namespace karvelo::regfile {

inline constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

// The whole store as a registry file: UTF-8, CR LF line ends. Strings that read back
// exactly are written quoted, 4-byte numbers as dword:, binaries as hex:, anything
// else as hex(type):, so every value of every type comes back byte for byte.
std::string Export(const std::vector<RegKey>& keys);

// UTF-16 little-endian with a byte-order mark, as the registry editor writes files.
std::string ToUtf16(const std::string& utf8);

struct Parsed {
    bool ok = false;
    std::string error;  // "line 7: ..." when not ok
    std::vector<RegChange> changes;
};

// Reads a registry file (UTF-8 with or without a byte-order mark, or UTF-16 LE)
// completely; any fault refuses the whole file. Only HKEY_CURRENT_USER keys are
// accepted; "[-key]" and "name"=- delete.
Parsed Parse(const std::string& file);

}  // namespace karvelo::regfile
