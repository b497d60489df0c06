// Any counters, any count and any decimal separator give a text without "inf" or
// "nan" and without undefined behaviour; every percentage is finite.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "statistics_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    karvelo::NumberFormat format;
    format.decimalPoint = in.Byte() % 2 ? "," : ".";
    format.groupSeparator = in.Byte() % 2 ? "" : "\xC2\xA0";
    const int32_t count = in.Int32();
    std::vector<int32_t> counters;
    const size_t n = in.Byte() % 20;
    for (size_t i = 0; i < n; ++i) counters.push_back(in.Int32());

    const std::string text = karvelo::FormateraStatistiken(counters, count, format);
    if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos)
        std::abort();
    if (text.find("Totalt:") == std::string::npos) std::abort();
    return 0;
}
