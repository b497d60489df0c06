// Reading registry files a piece at a time, within the registry's limits.
#include "regfile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "little_endian.h"
#include "regfile_text.h"

namespace karvelo::regfile {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
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
bool ParseHex32(std::string_view text, uint32_t* out) {
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

bool ParseHexBytes(std::string_view text, std::string* out) {
    out->clear();
    const std::string_view list = Trim(text);
    if (list.empty()) return true;
    out->reserve(list.size() / 3 + 1);
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        const std::string_view cell = Trim(list.substr(start, comma - start));
        if (cell.size() != 2 || HexDigit(cell[0]) < 0 || HexDigit(cell[1]) < 0) return false;
        out->push_back(static_cast<char>(HexDigit(cell[0]) << 4 | HexDigit(cell[1])));
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

// A quoted text starting at text[i] (the opening quote); leaves i after the closing one.
bool ParseQuoted(std::string_view text, size_t& i, std::string* out, std::string* error) {
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
    if (parts.size() > kMaxKeyDepth) {
        *error = "the key is deeper than " + std::to_string(kMaxKeyDepth) + " levels";
        return false;
    }
    for (const std::string& part : parts) {
        if (part.find_first_of("\r\n") != std::string::npos) {
            // No registry file could write such a key back out.
            *error = "a key name holds a line break";
            return false;
        }
        if (RegistryChars(part) > kMaxKeyNameChars) {
            *error = "a key name is longer than " + std::to_string(kMaxKeyNameChars) +
                     " characters";
            return false;
        }
    }
    *path = rest;
    return true;
}

bool ParseValue(std::string_view line, RegChange* change, std::string* error) {
    size_t i = 0;
    std::string name;
    if (line[0] == '@') {
        i = 1;
    } else if (!ParseQuoted(line, i, &name, error)) {
        return false;
    }
    if (name.find_first_of("\r\n") != std::string::npos) {
        *error = "a value name holds a line break";
        return false;
    }
    if (RegistryChars(name) > kMaxValueNameChars) {
        *error = "a value name is longer than " + std::to_string(kMaxValueNameChars) +
                 " characters";
        return false;
    }
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || line[i] != '=') {
        *error = "'=' expected after the value name";
        return false;
    }
    ++i;
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::string_view data = line.substr(i);

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
        change->value.data = RegAPI::LittleEndianText(u);
        return true;
    }
    std::string_view list;
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

namespace {

// The physical lines of a file as UTF-8, read a piece at a time: only the line being
// read and one piece of the file are held.
class LineReader {
public:
    explicit LineReader(const Source& source) : source_(source) {}

    // The next line, without its line end; false at the end of the file or on a fault
    // (error() says which). The text after the last line break is a last line.
    bool Next(std::string* line) {
        while (true) {
            const size_t end = text_.find('\n', start_);
            if (end == std::string::npos && !broken_.empty()) return Fail(broken_);
            if (end != std::string::npos || ended_) {
                if (end == std::string::npos) {
                    if (lastGiven_) return false;
                    lastGiven_ = true;
                }
                const size_t stop = end == std::string::npos ? text_.size() : end;
                line->assign(text_, start_, stop - start_);
                if (!line->empty() && line->back() == '\r') line->pop_back();
                start_ = stop + 1;
                ++number_;
                return true;
            }
            text_.erase(0, start_);
            start_ = 0;
            if (text_.capacity() > (size_t{1} << 20) && text_.capacity() > 4 * text_.size())
                text_.shrink_to_fit();  // a long line is behind us
            if (!Fill()) return false;
        }
    }

    const std::string& error() const { return error_; }
    int number() const { return number_; }

private:
    // Reads the next piece and adds its text; false on a fault.
    bool Fill() {
        char piece[64 * 1024];
        const long n = source_(piece, sizeof piece);
        if (n < 0) return Fail("the file cannot be read");
        if (n == 0) ended_ = true;
        bytes_ += static_cast<uint64_t>(n);
        if (bytes_ > kMaxFileBytes)
            return Fail("the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
        raw_.append(piece, static_cast<size_t>(n));
        if (!begun_) {
            if (raw_.size() < 3 && !ended_) return true;  // too little to tell the encoding
            begun_ = true;
            if (raw_.rfind("\xFF\xFE", 0) == 0) {
                utf16_ = true;
                raw_.erase(0, 2);
            } else if (raw_.rfind("\xEF\xBB\xBF", 0) == 0) {
                raw_.erase(0, 3);
            }
        }
        if (!utf16_) {
            text_ += raw_;  // checked line by line
            raw_.clear();
            return true;
        }
        // UTF-16 LE: whole units, and a surrogate pair only when both halves are here.
        // What comes before a fault is still read, as it would be in a UTF-8 file.
        auto unit = [&](size_t k) {
            return static_cast<char32_t>(static_cast<uint8_t>(raw_[k]) |
                                         static_cast<uint8_t>(raw_[k + 1]) << 8);
        };
        size_t i = 0;
        bool bad = false;
        while (i + 1 < raw_.size()) {
            char32_t c = unit(i);
            size_t used = 2;
            if (c >= 0xD800 && c <= 0xDBFF) {
                if (i + 3 >= raw_.size()) {
                    bad = ended_;
                    break;
                }
                const char32_t low = unit(i + 2);
                if (low < 0xDC00 || low > 0xDFFF) {
                    bad = true;
                    break;
                }
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                used = 4;
            } else if (c >= 0xDC00 && c <= 0xDFFF) {
                bad = true;
                break;
            }
            AppendUtf8(text_, c);
            i += used;
        }
        raw_.erase(0, i);
        if (bad || (ended_ && !raw_.empty())) {
            broken_ = "the file is not valid UTF-16";
            raw_.clear();
        }
        return true;
    }

    bool Fail(const std::string& what) {
        error_ = what;
        return false;
    }

    const Source& source_;
    std::string raw_;   // bytes not yet turned into text
    std::string text_;  // text not yet given out as lines, from start_
    size_t start_ = 0;
    uint64_t bytes_ = 0;
    bool begun_ = false;
    bool utf16_ = false;
    bool ended_ = false;
    bool lastGiven_ = false;
    int number_ = 0;
    std::string broken_;  // a fault found ahead of the lines given out so far
    std::string error_;
};

// Collects what a file holds into a list of changes.
class Collector final : public Sink {
public:
    bool OpenKey(const std::string& path) override {
        key_ = path;
        changes.push_back({RegChange::Kind::CreateKey, path, {}});
        return true;
    }
    bool DeleteTree(const std::string& path) override {
        changes.push_back({RegChange::Kind::DeleteTree, path, {}});
        return true;
    }
    bool SetValue(const RegValue& value) override {
        changes.push_back({RegChange::Kind::SetValue, key_, value});
        return true;
    }
    bool DeleteValue(const std::string& name) override {
        changes.push_back({RegChange::Kind::DeleteValue, key_, {name, 0, {}}});
        return true;
    }
    std::vector<RegChange> changes;

private:
    std::string key_;
};

}  // namespace

Result Read(const Source& source, Sink& sink) {
    Result result;
    LineReader lines(source);
    bool headerSeen = false;
    bool inKey = false;
    std::string line;
    std::string logical;  // a line with the continuations of a long hex list joined
    int logicalNumber = 0;
    bool continuing = false;
    auto fail = [&](int n, const std::string& what) {
        result.error = "line " + std::to_string(n) + ": " + what;
        return result;
    };
    while (lines.Next(&line)) {
        if (!ValidUtf8(line)) return fail(lines.number(), "the file is neither UTF-8 nor UTF-16");
        if (continuing) line = std::string(Trim(line));
        const bool next = !line.empty() && line.back() == '\\' &&
                          (continuing || line.find("=hex") != std::string::npos);
        if (next) line.pop_back();
        if (continuing) {
            logical += line;
        } else {
            logical.swap(line);
            logicalNumber = lines.number();
        }
        continuing = next;
        if (continuing) continue;

        const std::string_view text = Trim(logical);
        if (text.empty() || text[0] == ';') continue;
        if (!headerSeen) {
            if (text != kHeader)
                return fail(logicalNumber,
                            "the file does not begin with \"" + std::string(kHeader) + "\"");
            headerSeen = true;
            continue;
        }
        std::string error;
        if (text[0] == '[') {
            if (text.back() != ']') return fail(logicalNumber, "a key line must end with ']'");
            const bool remove = text.size() > 2 && text[1] == '-';
            const std::string inside(text.substr(remove ? 2 : 1, text.size() - (remove ? 3 : 2)));
            std::string key;
            if (!ParseKey(inside, &key, &error)) return fail(logicalNumber, error);
            if (remove && key.empty())
                return fail(logicalNumber, "the whole of HKEY_CURRENT_USER cannot be deleted");
            inKey = !remove;
            if (!(remove ? sink.DeleteTree(key) : sink.OpenKey(key))) {
                result.stopped = true;
                return result;
            }
            continue;
        }
        if (text[0] != '"' && text[0] != '@') return fail(logicalNumber, "neither a key nor a value");
        if (!inKey) return fail(logicalNumber, "a value outside a key");
        RegChange change;
        if (!ParseValue(text, &change, &error)) return fail(logicalNumber, error);
        const bool set = change.kind == RegChange::Kind::SetValue;
        if (!(set ? sink.SetValue(change.value) : sink.DeleteValue(change.value.name))) {
            result.stopped = true;
            return result;
        }
        if (set) ++result.values;
    }
    if (!lines.error().empty()) {
        result.error = lines.error();
        return result;
    }
    if (continuing) return fail(logicalNumber, "the file ends inside a value");
    if (!headerSeen) {
        result.error = "the file is empty";
        return result;
    }
    result.ok = true;
    return result;
}

Source TextSource(const std::string& text, size_t piece) {
    return [&text, piece, at = size_t{0}](char* buffer, size_t size) mutable {
        const size_t n = std::min({size, piece, text.size() - at});
        std::copy_n(text.data() + at, n, buffer);
        at += n;
        return static_cast<long>(n);
    };
}

Parsed Parse(const std::string& file) {
    Collector collector;
    const Result read = Read(TextSource(file), collector);
    Parsed parsed;
    parsed.ok = read.ok;
    parsed.error = read.error;
    if (read.ok) parsed.changes = std::move(collector.changes);
    return parsed;
}

}  // namespace karvelo::regfile
