// Writing registry files: the whole store as the registry editor writes it.
#include <cstdint>
#include <cstdio>

#include "little_endian.h"
#include "regfile.h"
#include "regfile_text.h"

namespace karvelo::regfile {
namespace {

constexpr size_t kLineWidth = 80;  // where long hex lists are broken, as the editor does

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

// A registry file's lines are UTF-8 (or UTF-16 made from it) and end at a line break:
// a name holding one, or bytes that are not UTF-8, would not come back.
bool Carried(const std::string& name) {
    return name.find_first_of("\r\n") == std::string::npos && ValidUtf8(name);
}

// A name for a message: quoted, its control and non-UTF-8 bytes as \xNN, cut short.
std::string Shown(const std::string& name) {
    std::string out = "\"";
    for (size_t i = 0; i < name.size() && out.size() < 200; ++i) {
        const auto b = static_cast<uint8_t>(name[i]);
        if (b < 0x20 || b >= 0x80) {
            char cell[8];
            std::snprintf(cell, sizeof cell, "\\x%02X", b);
            out += cell;
        } else {
            out += name[i];
        }
    }
    return out + (out.size() >= 200 ? "...\"" : "\"");
}

std::string ValueLine(const RegValue& v) {
    const std::string name = v.name.empty() ? "@" : Quoted(v.name);
    if (v.type == kRegSz && PlainString(v.data))
        return name + "=" + Quoted(v.data.substr(0, v.data.size() - 1));
    if (v.type == kRegDword && v.data.size() == 4) {
        const uint32_t u = RegAPI::FromLittleEndian(v.data);
        char text[16];
        std::snprintf(text, sizeof text, "%08x", u);
        return name + "=dword:" + text;
    }
    if (v.type == kRegBinary) return HexList(name + "=hex:", v.data);
    char type[16];
    std::snprintf(type, sizeof type, "%x", v.type);
    return HexList(name + "=hex(" + type + "):", v.data);
}

}  // namespace

Exported Export(const std::vector<RegNode>& keys, Encoding encoding) {
    Exported result;
    std::string& out = result.text;
    // The file's size as it will be written, counted as it grows: nothing is made
    // beyond the largest file that can be imported again.
    uint64_t size = encoding == Encoding::kUtf16 ? 2 : 0;
    const auto add = [&](const std::string& text) {
        size += encoding == Encoding::kUtf16 ? 2 * uint64_t{RegistryChars(text)} : text.size();
        if (size > kMaxFileBytes) return false;
        out += text;
        return true;
    };
    const auto refuse = [&](const std::string& why) {
        out.clear();
        out.shrink_to_fit();
        result.error = why;
        return result;
    };
    const std::string tooLarge =
        "the store is too large for one registry file: its export would pass " +
        std::to_string(kMaxFileBytes >> 20) + " MiB, the most that karvelo-reg import reads";

    add(std::string(kHeader) + "\r\n\r\n");
    // The path of the key at hand, made from its parent's: in the tree's order the path
    // before it is its parent's or one below its parent's.
    std::string path;
    std::vector<size_t> ends(keys.size(), 0);  // where each key's path ends
    for (size_t i = 0; i < keys.size(); ++i) {
        const RegNode& key = keys[i];
        if (i > 0) {
            path.resize(ends[key.parent]);
            path += (path.empty() ? "" : "\\") + key.name;
            if (!Carried(key.name))
                return refuse("the key " + Shown(path) + " has a name that a registry file cannot carry");
            ends[i] = path.size();
        }
        // A key that only leads to its sub-keys comes with them.
        if (key.values.empty() && (i == 0 || key.hasSubKeys)) continue;
        if (!add("[" + std::string(kRoot) + (path.empty() ? "" : "\\" + path) + "]\r\n"))
            return refuse(tooLarge);
        for (const RegValue& v : key.values) {
            if (!Carried(v.name))
                return refuse("the value " + Shown(v.name) + " of the key " + Shown(path) +
                              " has a name that a registry file cannot carry");
            if (!add(ValueLine(v) + "\r\n")) return refuse(tooLarge);
        }
        if (!add("\r\n")) return refuse(tooLarge);
    }
    if (encoding == Encoding::kUtf16) out = ToUtf16(out);
    result.ok = true;
    return result;
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

}  // namespace karvelo::regfile
