// Building the statistics window's text.
#include "statistics_text.h"

namespace karvelo {
namespace {

const std::string kTab = "\t";
const std::string kNewLine = "\r\n";
const std::string kIndent = "\t          ";  // TAB and ten spaces

std::string Grouped(uint64_t value, const std::string& separator) {
    std::string digits = std::to_string(value);
    if (separator.empty()) return digits;
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

}  // namespace

std::string Percentage(int64_t won, int64_t played, const NumberFormat& format) {
    if (won == 0 || played == 0) return "0%";
    // Tenths of a per cent, rounded half away from zero, in integers: no inf or nan
    // whatever the counters hold.
    const bool negative = (won < 0) != (played < 0);
    const uint64_t a = won < 0 ? 0 - static_cast<uint64_t>(won) : static_cast<uint64_t>(won);
    const uint64_t b =
        played < 0 ? 0 - static_cast<uint64_t>(played) : static_cast<uint64_t>(played);
    // a and b come from 32-bit counters (or their difference), so a * 2000 fits.
    const uint64_t tenths = (a * 2000 / b + 1) / 2;
    std::string text = negative && tenths != 0 ? "-" : "";
    text += Grouped(tenths / 10, format.groupSeparator);
    text += format.decimalPoint;
    text += static_cast<char>('0' + tenths % 10);
    return text + "%";
}

std::string FormateraStatistiken(std::span<const int32_t> lngStat, int32_t lngAntal,
                                 const NumberFormat& format) {
    auto at = [&](int n) -> int64_t {
        const auto i = static_cast<size_t>(n - 1);
        return n >= 1 && i < lngStat.size() ? lngStat[i] : 0;
    };
    auto number = [](int64_t v) { return std::to_string(v); };
    auto line = [](const std::string& label, const std::string& tabs, const std::string& value) {
        return kIndent + label + tabs + value + kTab + kNewLine;
    };
    auto wonLine = [&](int won, int played) {
        const std::string pct = Percentage(at(won), at(played), format);
        return kIndent + "Vunna: " + kTab + kTab + number(at(won)) + kTab + pct + kTab + kNewLine;
    };
    const std::string two = kTab + kTab;

    std::string text;
    if (lngAntal > 6) {
        text += "Denna omg\xC3\xA5ng:" + kNewLine;
        text += line("Spelade: ", two, number(at(9)));
        text += wonLine(10, 9);
        text += line("F\xC3\xB6rlorade: ", two, number(at(9) - at(10)));
        text += kNewLine + "Nuvarande rader av:" + kNewLine;
        text += at(8) != 0 ? line("F\xC3\xB6rlorade: ", two, number(at(8)))
                           : line("Vunna: ", two, number(at(7)));
        text += at(14) != 0 ? line("F\xC3\xB6rlorade(omg\xC3\xA5ng):", kTab, number(at(14)))
                            : line("Vunna(omg\xC3\xA5ng): ", kTab, number(at(13)));
    }
    text += kNewLine + "Totalt:" + kNewLine;
    text += line("Spelade: ", two, number(at(1)));
    text += wonLine(2, 1);
    text += line("F\xC3\xB6rlorade: ", two, number(at(1) - at(2)));
    text += kNewLine + "Max rader av:" + kNewLine;
    text += line("Vunna: ", two, number(at(3)));
    text += line("F\xC3\xB6rlorade: ", two, number(at(4)));
    text += line("Vunna(omg\xC3\xA5ng): ", kTab, number(at(5)));
    text += line("F\xC3\xB6rlorade(omg\xC3\xA5ng): ", kTab, number(at(6)));
    return text;
}

}  // namespace karvelo
