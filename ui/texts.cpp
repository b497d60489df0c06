#include "texts.h"

#include "karvelo_version.h"

namespace karvelo {
namespace {

constexpr const char* kLineEnd = "\t\r\n";

}  // namespace

std::string HelpText() {
    std::string t;
    for (const char* line : {"Hjälpfil saknas", "", "Om någon känner sig manad så tar",
                             "jag gärna emot en hjälp fil ;)"}) {
        t += line;
        t += kLineEnd;
    }
    return t;
}

std::string AboutText() {
    std::string t = std::string(16, ' ') + "Karvelo " + KARVELO_VERSION + kLineEnd;
    t += kLineEnd;
    const char* credits[] = {
        "En patiens för skrivbordet",
        "Kortleken, pilarna och titelbilden är ritade för Karvelo",
        "Tack till alla som spelat och hittat fel!",
    };
    bool first = true;
    for (const char* line : credits) {
        if (!first) t += kLineEnd;
        first = false;
        t += line;
        t += kLineEnd;
    }
    return t;
}

std::string DisplayText(const std::string& text) {
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines += '\n';
        } else {
            lines += c;
        }
    }
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == '\t') {
            size_t j = i;
            while (j < lines.size() && lines[j] == '\t') ++j;
            if (j == lines.size() || lines[j] == '\n') {
                i = j - 1;  // tabs before a line end show nothing
                continue;
            }
        }
        out += lines[i];
    }
    return out;
}

}  // namespace karvelo
