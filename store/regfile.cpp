// Writing and reading registry files.
#include "regfile.h"

#include <cstdint>
#include <cstdio>

namespace karvelo::regfile {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";
constexpr size_t kLineWidth = 80;  // where long hex lists are broken, as the editor does

constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

// ---- UTF-8 and UTF-16.

// Decodes one UTF-8 sequence at text[i]; false when it is not valid UTF-8.
bool DecodeUtf8(const std::string& text, size_t& i, char32_t* c) {
    const auto b = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t b0 = b(i);
    size_t len = 0;
    char32_t value = 0;
    if (b0 < 0x80) {
        *c = b0;
        ++i;
        return true;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, value = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, value = b0 & 0x07;
    } else {
        return false;
    }
    if (i + len > text.size()) return false;
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return false;
        value = value << 6 | (b(i + k) & 0x3F);
    }
    const char32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    *c = value;
    i += len;
    return true;
}

bool ValidUtf8(const std::string& text) {
    size_t i = 0;
    char32_t c;
    while (i < text.size())
        if (!DecodeUtf8(text, i, &c)) return false;
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUnit(std::string& out, uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

// UTF-16 LE (after its byte-order mark) to UTF-8; false on an odd length or a lone
// surrogate.
bool Utf16ToUtf8(const std::string& bytes, size_t start, std::string* out) {
    if ((bytes.size() - start) % 2 != 0) return false;
    auto unit = [&](size_t k) {
        return static_cast<char32_t>(static_cast<uint8_t>(bytes[k]) |
                                     static_cast<uint8_t>(bytes[k + 1]) << 8);
    };
    for (size_t i = start; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 3 >= bytes.size()) return false;
            const char32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
        AppendUtf8(*out, c);
    }
    return true;
}

// ---- Writing.

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '\\' || ch == '"') out += '\\';
        out += ch;
    }
    return out + "\"";
}

// A string value is written quoted only when reading the quotes back gives the very
// same bytes: valid UTF-8, one terminating zero, no other zero, no line breaks.
bool PlainString(const std::string& data) {
    if (data.empty() || data.back() != '\0') return false;
    const std::string text = data.substr(0, data.size() - 1);
    if (text.find_first_of(std::string("\0\r\n", 3)) != std::string::npos) return false;
    return ValidUtf8(text);
}

// "hex:01,02,..." with lines broken after a comma as the registry editor does.
std::string HexList(const std::string& prefix, const std::string& data) {
    std::string out = prefix;
    size_t column = prefix.size();
    char cell[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%02x", static_cast<uint8_t>(data[i]));
        out += cell;
        column += 2;
        if (i + 1 < data.size()) {
            out += ',';
            ++column;
            if (column >= kLineWidth - 4) {
                out += "\\\r\n  ";
                column = 2;
            }
        }
    }
    return out;
}

std::string ValueLine(const RegValue& v) {
    const std::string name = v.name.empty() ? "@" : Quoted(v.name);
    if (v.type == kRegSz && PlainString(v.data))
        return name + "=" + Quoted(v.data.substr(0, v.data.size() - 1));
    if (v.type == kRegDword && v.data.size() == 4) {
        const uint32_t u = static_cast<uint8_t>(v.data[0]) |
                           static_cast<uint32_t>(static_cast<uint8_t>(v.data[1])) << 8 |
                           static_cast<uint32_t>(static_cast<uint8_t>(v.data[2])) << 16 |
                           static_cast<uint32_t>(static_cast<uint8_t>(v.data[3])) << 24;
        char text[16];
        std::snprintf(text, sizeof text, "%08x", u);
        return name + "=dword:" + text;
    }
    if (v.type == kRegBinary) return HexList(name + "=hex:", v.data);
    char type[16];
    std::snprintf(type, sizeof type, "%x", v.type);
    return HexList(name + "=hex(" + type + "):", v.data);
}

// ---- Reading.

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && IsBlank(s[a])) ++a;
    while (b > a && IsBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Up to eight hex digits as a 32-bit number.
bool ParseHex32(const std::string& text, uint32_t* out) {
    if (text.empty() || text.size() > 8) return false;
    uint32_t v = 0;
    for (char c : text) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        v = v << 4 | static_cast<uint32_t>(d);
    }
    *out = v;
    return true;
}

bool ParseHexBytes(const std::string& text, std::string* out) {
    out->clear();
    const std::string list = Trim(text);
    if (list.empty()) return true;
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        const std::string cell = Trim(list.substr(start, comma - start));
        if (cell.size() != 2 || HexDigit(cell[0]) < 0 || HexDigit(cell[1]) < 0) return false;
        out->push_back(static_cast<char>(HexDigit(cell[0]) << 4 | HexDigit(cell[1])));
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

// A quoted text starting at text[i] (the opening quote); leaves i after the closing one.
bool ParseQuoted(const std::string& text, size_t& i, std::string* out, std::string* error) {
    out->clear();
    ++i;
    while (i < text.size()) {
        const char c = text[i++];
        if (c == '"') return true;
        if (c == '\\') {
            if (i >= text.size() || (text[i] != '\\' && text[i] != '"')) {
                *error = "unknown escape in a quoted text (only \\\\ and \\\" are allowed)";
                return false;
            }
            out->push_back(text[i++]);
        } else {
            out->push_back(c);
        }
    }
    *error = "a quoted text is not closed";
    return false;
}

// "[HKEY_CURRENT_USER\path]" to its path below the root.
bool ParseKey(const std::string& inside, std::string* path, std::string* error) {
    std::string root = inside, rest;
    const size_t slash = inside.find('\\');
    if (slash != std::string::npos) {
        root = inside.substr(0, slash);
        rest = inside.substr(slash + 1);
    }
    if (root != kRoot && root != "HKCU") {
        *error = "only keys under HKEY_CURRENT_USER can be imported, not " + root;
        return false;
    }
    std::vector<std::string> parts;
    if ((slash != std::string::npos && rest.empty()) || !SplitKeyPath(rest, &parts)) {
        *error = "the key path has an empty part";
        return false;
    }
    *path = rest;
    return true;
}

bool ParseValue(const std::string& line, const std::string& key, RegChange* change,
                std::string* error) {
    size_t i = 0;
    std::string name;
    if (line[0] == '@') {
        i = 1;
    } else if (!ParseQuoted(line, i, &name, error)) {
        return false;
    }
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || line[i] != '=') {
        *error = "'=' expected after the value name";
        return false;
    }
    ++i;
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::string data = line.substr(i);

    change->path = key;
    change->value = RegValue{name, 0, {}};
    if (data == "-") {
        change->kind = RegChange::Kind::DeleteValue;
        return true;
    }
    change->kind = RegChange::Kind::SetValue;
    if (!data.empty() && data[0] == '"') {
        size_t j = 0;
        std::string text;
        if (!ParseQuoted(data, j, &text, error)) return false;
        if (!Trim(data.substr(j)).empty()) {
            *error = "text after the closing quote";
            return false;
        }
        change->value.type = kRegSz;
        change->value.data = text + '\0';
        return true;
    }
    if (data.rfind("dword:", 0) == 0) {
        uint32_t u = 0;
        if (!ParseHex32(Trim(data.substr(6)), &u)) {
            *error = "dword: needs one to eight hex digits";
            return false;
        }
        change->value.type = kRegDword;
        change->value.data = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                              static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
        return true;
    }
    std::string list;
    if (data.rfind("hex:", 0) == 0) {
        change->value.type = kRegBinary;
        list = data.substr(4);
    } else if (data.rfind("hex(", 0) == 0) {
        const size_t close = data.find("):");
        if (close == std::string::npos || !ParseHex32(data.substr(4, close - 4), &change->value.type)) {
            *error = "hex(type): needs the type as one to eight hex digits";
            return false;
        }
        list = data.substr(close + 2);
    } else {
        *error = "unknown kind of value (expected \"text\", dword:, hex:, hex(type): or -)";
        return false;
    }
    if (!ParseHexBytes(list, &change->value.data)) {
        *error = "hex bytes must be pairs of hex digits separated by commas";
        return false;
    }
    return true;
}

}  // namespace

std::string Export(const std::vector<RegKey>& keys) {
    std::string out = std::string(kHeader) + "\r\n\r\n";
    for (const RegKey& key : keys) {
        if (key.path.empty() && key.values.empty()) continue;  // the bare root
        out += "[" + std::string(kRoot) + (key.path.empty() ? "" : "\\" + key.path) + "]\r\n";
        for (const RegValue& v : key.values) out += ValueLine(v) + "\r\n";
        out += "\r\n";
    }
    return out;
}

std::string ToUtf16(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t c;
        if (!DecodeUtf8(utf8, i, &c)) {
            c = 0xFFFD;  // never produced by Export, whose text is valid UTF-8
            ++i;
        }
        if (c >= 0x10000) {
            AppendUnit(out, static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            AppendUnit(out, static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            AppendUnit(out, static_cast<uint16_t>(c));
        }
    }
    return out;
}

Parsed Parse(const std::string& file) {
    Parsed result;
    std::string text;
    if (file.rfind("\xFF\xFE", 0) == 0) {
        if (!Utf16ToUtf8(file, 2, &text)) {
            result.error = "the file is not valid UTF-16";
            return result;
        }
    } else {
        text = file.rfind("\xEF\xBB\xBF", 0) == 0 ? file.substr(3) : file;
        if (!ValidUtf8(text)) {
            result.error = "the file is neither UTF-8 nor UTF-16";
            return result;
        }
    }

    // Split into lines, joining the continuations of long hex lists.
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    size_t pos = 0;
    bool continuing = false;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++number;
        pos = end + 1;
        line = continuing ? Trim(line) : line;
        const bool next = !line.empty() && line.back() == '\\' &&
                          (continuing || line.find("=hex") != std::string::npos);
        if (next) line.pop_back();
        if (continuing)
            lines.back().second += line;
        else
            lines.emplace_back(number, line);
        continuing = next;
    }
    if (continuing) {
        result.error = "line " + std::to_string(lines.back().first) + ": the file ends inside a value";
        return result;
    }

    bool headerSeen = false;
    bool inKey = false;
    std::string key;
    for (const auto& [lineNumber, raw] : lines) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        auto fail = [&, n = lineNumber](const std::string& what) {
            result.error = "line " + std::to_string(n) + ": " + what;
            result.changes.clear();
            return result;
        };
        if (!headerSeen) {
            if (line != kHeader)
                return fail("the file does not begin with \"" + std::string(kHeader) + "\"");
            headerSeen = true;
            continue;
        }
        std::string error;
        if (line[0] == '[') {
            if (line.back() != ']') return fail("a key line must end with ']'");
            const bool remove = line.size() > 2 && line[1] == '-';
            std::string inside = line.substr(remove ? 2 : 1, line.size() - (remove ? 3 : 2));
            if (!ParseKey(inside, &key, &error)) return fail(error);
            if (remove) {
                if (key.empty()) return fail("the whole of HKEY_CURRENT_USER cannot be deleted");
                result.changes.push_back({RegChange::Kind::DeleteTree, key, {}});
                inKey = false;
            } else {
                result.changes.push_back({RegChange::Kind::CreateKey, key, {}});
                inKey = true;
            }
            continue;
        }
        if (line[0] != '"' && line[0] != '@') return fail("neither a key nor a value");
        if (!inKey) return fail("a value outside a key");
        RegChange change;
        if (!ParseValue(line, key, &change, &error)) return fail(error);
        result.changes.push_back(change);
    }
    if (!headerSeen) {
        result.error = "the file is empty";
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace karvelo::regfile
