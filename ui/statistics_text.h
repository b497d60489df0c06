#pragma once
// The text the statistics window shows: the series (when asked for), the current or
// combined record and the longest runs, as lines of TAB-separated figures with CR LF
// line breaks.
#include <cstdint>
#include <span>
#include <string>

namespace karvelo {

// How the user writes decimal numbers; the window takes it from the user's locale.
struct NumberFormat {
    std::string decimalPoint = ".";
    std::string groupSeparator;  // between groups of three digits; empty for none
};

// lngStat holds the entries from [1] on (lngStat[0] is entry [1]); entries past its
// end read as 0. lngAntal above 6 adds the series block, which reads [7] to [14].
std::string FormateraStatistiken(std::span<const int32_t> lngStat, int32_t lngAntal,
                                 const NumberFormat& format);

// What the window shows instead of figures when the stored record could not be read:
// never zeros for games that are kept but unreadable.
inline constexpr const char* kStatisticsUnreadable =
    "\r\nStatistiken kunde inte l\xC3\xA4sas.\r\n\r\n"
    "De sparade spelen finns kvar och\r\nvisas h\xC3\xA4r n\xC3\xA4r de kan l\xC3\xA4sas igen.";

// won / played as a percentage with one decimal: "66.7%". Without a division when
// won is 0 ("0%"), and also when played is 0, which the program never stores.
std::string Percentage(int64_t won, int64_t played, const NumberFormat& format);

}  // namespace karvelo
