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

}  // namespace karvelo::regfile
