// Any text converts to a number without undefined behaviour, and the number agrees
// with a plain reading of the text where that reading is simple.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "regapi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int32_t v = RegAPI::TextToInt32(text);

    // A short run of digits alone is read exactly.
    if (!text.empty() && text.size() <= 9 &&
        text.find_first_not_of("0123456789") == std::string::npos) {
        if (v != std::atoi(text.c_str())) std::abort();
    }
    return 0;
}
